// Recording and replaying the settings through the host's scripting
// descriptor.
#pragma once

#include <cstdint>

struct Globals;

bool ScriptingParamsAreComing(Globals* globals);
// Answers the new show-dialog flag.
int32_t ReadScriptParams_zor(Globals* globals);
int32_t WriteScriptParams_zor(Globals* globals);
