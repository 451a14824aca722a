#include "frame/base/host_rects.h"

#include <algorithm>

#include "frame/base/host_suites.h"
#include "frame/base/rects.h"

Rect EmptyAtTopLeft(const Rect& filter) { return Rect{filter.top, filter.left, filter.top, filter.left}; }

void SetPlanesRatesPaddings(FilterRecord* fr) {
  fr->inLoPlane = fr->outLoPlane = 0;
  fr->inHiPlane = fr->outHiPlane = int16_t(fr->planes - 1);
  fr->inputRate = fr->maskRate = 0x10000;
  fr->inputPadding = fr->outputPadding = fr->maskPadding = -1;
}

void SetInputChunkRects(FilterRecord* fr, const Rect* chunk) {
  const Rect filter = fr->filterRect;
  fr->inRect = Rect{int16_t(chunk->top + filter.top), int16_t(chunk->left + filter.left),
                    int16_t(chunk->bottom + filter.top), int16_t(chunk->right + filter.left)};
  fr->maskRect = EmptyAtTopLeft(filter);
  fr->outRect = Rect{filter.top, filter.left, int16_t(filter.top + 1), int16_t(filter.left + 1)};
  SetPlanesRatesPaddings(fr);
}

void DetermineBiggestProxyRect(const Rect* image, const Rect* area, Rect* result) {
  Rect a = *area;
  ZorInsetRect(&a, 4, 4);
  const int32_t imageWidth = int32_t(image->right) - image->left;
  const int32_t imageHeight = int32_t(image->bottom) - image->top;
  if (imageWidth < int32_t(a.right) - a.left) a.right = int16_t(a.left + imageWidth);
  if (imageHeight < int32_t(a.bottom) - a.top) a.bottom = int16_t(a.top + imageHeight);
  *result = a;
}

void CalcDefaultProxyScaleFactor(const Rect* image, Rect* area, int32_t* scale, int32_t* defaultScale,
                                 const FilterRecord* fr) {
  const int32_t w = int32_t(image->right) - image->left;
  const int32_t h = int32_t(image->bottom) - image->top;
  const int32_t aw = std::min(w, int32_t(area->right) - area->left);
  const int32_t ah = std::min(h, int32_t(area->bottom) - area->top);
  int32_t s = 1;
  // Nothing to fit, or nowhere to fit it: show at full size.
  if (aw > 0 && ah > 0) {
    s = std::max((h + ah - 1) / ah, (w + aw - 1) / aw);
    *area = *image;
    ScaleRect_zor(area, 1, s);
  }
  *defaultScale = s;
  *scale = HostIsIncapableOfZooming(fr) ? 1 : s;
}

void IntegerScanToUnitary2(int32_t i, int32_t j, float* u, float* v, float width, float height) {
  *u = float(2 * i + 1) / (2.0f * width);
  *v = float(2 * j + 1) / (2.0f * height);
}

void GetInputProportions(const Rect* savedFilterRect, float* width, float* height, float* ratio) {
  const Rect& r = *savedFilterRect;
  *width = float(int32_t(r.right) - r.left);
  *height = float(int32_t(r.bottom) - r.top);
  *ratio = *height / *width;
}
