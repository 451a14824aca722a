// Render passes: the final pass row by row through the host's buffers, the
// dialog's preview pass in one call, and the end-of-pass clean-up.
#pragma once

struct Globals;

void CommenceLineByLine(Globals* globals);
void CommenceMonolithic(Globals* globals);
void Manipulate1Line(Globals* globals);
void Postroll(Globals* globals);
