// How the main colour pyramid treats its edges for each input mode: which
// axes wrap (a full-sphere panorama wraps in x) and how unit coordinates
// beyond the image are mapped back. The image intake and the pass preroll use
// the same two rules.
#pragma once

#include <cstdint>

// 0 no wrap, 1 wrap x and y, 2 wrap x only.
int32_t WrapModeFromGyrelleInputMode(int32_t inputMode);
// 1 to 7; 3 for every mode without a rule of its own.
int32_t OverhangModeFromGyrelleInputMode(int32_t inputMode);
