// The popups that name layouts: output modes (every named mode, in the name
// table's order, those the renderer refuses dimmed), input modes, glue
// modes, graticules and preview quality, with the words `gyrelle --list`
// prints. Output items are not mode numbers past the 291st: the table goes
// on with the single-fragment variants (1035...).
#pragma once

#include <cstdint>

#include "platform/ui/window.h"

void FillModePopups(UiWindow* window);

// The output mode of popup item `item` (from 1); 0 for none.
int32_t OutputModeOfItem(int32_t item);
// The popup item that shows `mode`: its own, or for a mode without a name
// the item of the nearest named mode below it (1 at least).
int32_t ItemOfOutputMode(int32_t mode);
// Modes whose solid has no faces: listed, dimmed, never chosen.
bool OutputModeIsRefused(int32_t mode);
