// The progress report and abort poll every floor may call while it works.
// The frame defines them; the floors below see only these declarations.
#pragma once

#include <cstdint>

struct Globals;

// Reports `done` of `total` to the host, throttled (see frame/progress.h).
void CCUpdateProgress_core(Globals* globals, int32_t done, int32_t total);

// True when the host says the user wants to stop.
bool CCTestAbort(Globals* globals);
