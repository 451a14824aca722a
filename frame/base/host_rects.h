// Every request the plug-in makes of the host's in, out and mask rectangles,
// the sizing of the dialog's preview area, the host's selection mask and the
// pixel-to-unit conversions that need no view record.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;

void SetOneRowHighRects(Globals* globals);
void SetFullsizeRects(Globals* globals);
void SetInputChunkRects(FilterRecord* fr, const Rect* chunk);

// The preview area: `area` inset by 4 on every side, cut to the image's size.
void DetermineBiggestProxyRect(const Rect* image, const Rect* area, Rect* result);
// The smallest whole zoom-out at which the image fits the area; `area` becomes
// the image at that zoom. 1 (area untouched) when image or area is empty, and
// *scale is 1 when the host cannot sample (*defaultScale keeps the computed
// value).
void CalcDefaultProxyScaleFactor(const Rect* image, Rect* area, int32_t* scale, int32_t* defaultScale,
                                 const FilterRecord* fr);
// Asks the host for the panned, reduced preview rectangle and, when the host
// answers 0, makes its size the size of the preview render.
void SetUpFilterRecordForProxy(Globals* globals, int32_t scale);

// Selection weight 0..255 of output pixel (x, y) of the current pass.
int32_t fetchMaskTruly_Always8(int32_t x, int32_t y, const Globals* globals);

// Centre of pixel (i, j) in unit coordinates.
void IntegerScanToUnitary2(int32_t i, int32_t j, float* u, float* v, float width, float height);
// Size of the saved filter rectangle and its height / width.
void GetInputProportions(const Rect* savedFilterRect, float* width, float* height, float* ratio);
