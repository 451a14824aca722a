// The host rectangles of the current pass: one row high, the whole filter
// rectangle or the dialog's reduced preview, with the band words the
// renderer reads the input and the selection mask through.
#pragma once

#include <cstdint>

struct Globals;

void SetOneRowHighRects(Globals* globals);
void SetFullsizeRects(Globals* globals);
// Asks the host for the panned, reduced preview rectangle and, when the host
// answers 0, makes its size the size of the preview render.
void SetUpFilterRecordForProxy(Globals* globals, int32_t scale);

// Selection weight 0..255 of output pixel (x, y) of the current pass.
int32_t fetchMaskTruly_Always8(int32_t x, int32_t y, const Globals* globals);
