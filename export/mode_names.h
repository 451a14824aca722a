// The words the system uses for its layouts: the display name of every
// output mode, the second word (synonym) some modes carry, and the keyword
// of every glue mode. The dialog, `gyrelle --list`, the galleries, STL
// headers and the keywords of exported files all print these.
#pragma once

#include <cstdint>

// The name of output mode `mode`; the empty string for a number without
// one (0, 1042..1046, anything outside 1..291, 1035..1041, 1047..1049).
// Never null.
const char* GyrelleOutputModeName(int32_t mode);

// The synonym of output mode `mode`: an explicit word, "conformal" for the
// conformal maps, "sphericon" for any rollout, else the empty string.
// Never null.
const char* GyrelleOutputModeNameSynonym(int32_t mode);

// The keyword of glue mode `glueMode` (1 "normal" .. 62 "screendim"); the
// empty string outside 1..62. Never null.
const char* GlueModeKeyword(int32_t glueMode);

// The named output modes in ascending order, for listing them all:
// index 0 .. OutputModeNameCount() - 1; OutputModeNumberAt gives 0 for an
// index out of range.
int32_t OutputModeNameCount();
int32_t OutputModeNumberAt(int32_t index);
