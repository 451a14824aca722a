// Creating the settings record in the host's parameters handle, and the
// default of every setting.
#pragma once

struct Globals;
struct TParameters;

void ValidateParameters(Globals* globals);
void GrabDefaultSettings(Globals* globals);
void SetDefaultSettings(TParameters* p);
