// The host rectangles that need nothing of the invocation: the input chunks
// of the intake, the sizing of the dialog's preview area and the
// pixel-to-unit conversions that need no view record. The rectangles of the
// current pass and the selection mask read through them are in
// frame/pass_rects.h.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

// An empty rectangle at the filter rectangle's top left: no mask rows.
Rect EmptyAtTopLeft(const Rect& filter);
// Every plane in and out, at full rate, with the host's default padding.
void SetPlanesRatesPaddings(FilterRecord* fr);
void SetInputChunkRects(FilterRecord* fr, const Rect* chunk);

// The preview area: `area` inset by 4 on every side, cut to the image's size.
void DetermineBiggestProxyRect(const Rect* image, const Rect* area, Rect* result);
// The smallest whole zoom-out at which the image fits the area; `area` becomes
// the image at that zoom. 1 (area untouched) when image or area is empty, and
// *scale is 1 when the host cannot sample (*defaultScale keeps the computed
// value).
void CalcDefaultProxyScaleFactor(const Rect* image, Rect* area, int32_t* scale, int32_t* defaultScale,
                                 const FilterRecord* fr);
// Centre of pixel (i, j) in unit coordinates.
void IntegerScanToUnitary2(int32_t i, int32_t j, float* u, float* v, float width, float height);
// Size of the saved filter rectangle and its height / width.
void GetInputProportions(const Rect* savedFilterRect, float* width, float* height, float* ratio);
