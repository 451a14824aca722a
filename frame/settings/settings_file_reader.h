// Reading settings files of every version from 0 to 47, with the upgrades
// that give old values their current meaning. The readers are declared where
// their callers below the frame see them: export/export_services.h (the
// switchable reader and its modes) and dialog/frame_services.h.
#pragma once

#include "dialog/frame_services.h"
