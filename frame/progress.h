// Progress reports to the host and polls of its abort callback, both
// throttled: the host hears about row 0 and then about every 32nd row, and
// is asked about an abort on every 32nd poll. The dialog's preview never
// reports and is never polled; an export layer reports to its own progress
// window instead of the host.
#pragma once

#include <cstdint>

#include "dialog/frame_services.h"
#include "frame/base/progress_services.h"

struct Globals;

// Starts the report throttle afresh, so that a pass reports its row 0 and
// then rows 32, 64, ... whatever was reported before it.
void RestartProgressThrottle(Globals* globals);
