#include "frame/base/host_rects.h"

#include <algorithm>

#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/invocation.h"
#include "frame/base/rects.h"

namespace {

Rect EmptyAtTopLeft(const Rect& filter) { return Rect{filter.top, filter.left, filter.top, filter.left}; }

void SetPlanesRatesPaddings(FilterRecord* fr) {
  fr->inLoPlane = fr->outLoPlane = 0;
  fr->inHiPlane = fr->outHiPlane = int16_t(fr->planes - 1);
  fr->inputRate = fr->maskRate = 0x10000;
  fr->inputPadding = fr->outputPadding = fr->maskPadding = -1;
}

void SetBandWords(Globals* globals) {
  const FilterRecord* fr = globals->filterRecord;
  globals->maskBandTop = int32_t(fr->maskRect.top) - fr->filterRect.top;
  globals->maskBandBottom = int32_t(fr->maskRect.bottom) - fr->filterRect.top - 1;
  globals->inputBandTop = int32_t(fr->inRect.top) - fr->filterRect.top;
  globals->inputBandBottom = int32_t(fr->inRect.bottom) - fr->filterRect.top - 1;
}

}  // namespace

void SetOneRowHighRects(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  const Rect filter = fr->filterRect;
  CalcTemporaryDimensions(globals, &filter, 1);
  fr->inRect = fr->outRect = filter;
  fr->maskRect = EmptyAtTopLeft(filter);
  const int32_t height = int32_t(filter.bottom) - filter.top;
  const int32_t row = std::clamp(globals->currentRow, 0, std::max(0, height - 1));
  fr->inRect.top = fr->outRect.top = int16_t(filter.top + row);
  fr->inRect.bottom = fr->outRect.bottom = int16_t(filter.top + row + 1);
  if (fr->haveMask) {
    Rect m = filter;
    int32_t top = std::max<int32_t>(filter.top + row - 2, filter.top);
    int32_t bottom = std::min<int32_t>(filter.top + row + 2, filter.bottom);
    if (bottom <= top) bottom = top + 1;
    m.top = int16_t(top);
    m.bottom = int16_t(bottom);
    fr->maskRect = m;
  }
  if (!globals->wantMask) fr->maskRect = EmptyAtTopLeft(filter);
  SetPlanesRatesPaddings(fr);
  SetBandWords(globals);
}

void SetFullsizeRects(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  const Rect filter = fr->filterRect;
  fr->inRect = fr->outRect = filter;
  fr->maskRect = fr->haveMask ? filter : EmptyAtTopLeft(filter);
  if (!globals->wantMask) fr->maskRect = EmptyAtTopLeft(filter);
  SetPlanesRatesPaddings(fr);
  SetBandWords(globals);
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

void SetUpFilterRecordForProxy(Globals* globals, int32_t scale) {
  if (!globals) return;
  FilterRecord* fr = globals->filterRecord;
  TParameters* p = Params(globals);
  const Rect filter = fr->filterRect;
  SetPlanesRatesPaddings(fr);
  // A zoom-out below 1 would divide by zero or mirror the rectangle.
  if (scale < 1) scale = 1;
  if (HostIsIncapableOfZooming(fr)) {
    if (p) p->previewScale = 1;
    scale = 1;
  }
  const Fixed16 rate = Fixed16(scale) << 16;
  const int32_t offH = p ? p->previewOffsetH : 0;
  const int32_t offV = p ? p->previewOffsetV : 0;

  Rect in = filter;
  ZorOffsetRect(&in, offH, offV);
  ClipAAgainstB(&in, &filter);
  ScaleRect_zor(&in, 1, scale);
  const Rect& proxy = globals->proxyRect;
  if (int32_t(proxy.right) - proxy.left < int32_t(in.right) - in.left)
    in.right = int16_t(in.left + (int32_t(proxy.right) - proxy.left));
  if (int32_t(proxy.bottom) - proxy.top < int32_t(in.bottom) - in.top)
    in.bottom = int16_t(in.top + (int32_t(proxy.bottom) - proxy.top));
  fr->inRect = in;
  fr->outRect = fr->maskRect = in;
  ZorOffsetRect(&fr->outRect, int32_t(filter.left) - in.left, int32_t(filter.top) - in.top);
  // This host addresses the reduced mask from the origin of the panned view.
  if (fr->hostSig == MakeFourCC("PSP8") && scale >= 2) {
    Rect& m = fr->maskRect;
    m.right = int16_t(m.right - m.left);
    m.left = 0;
    m.bottom = int16_t(m.bottom - m.top);
    m.top = 0;
    ZorOffsetRect(&m, offH / scale, offV / scale);
  }
  fr->inputRate = fr->maskRate = rate;
  fr->inputPadding = fr->outputPadding = fr->maskPadding = -1;
  SetBandWords(globals);
  if (Advanceable(fr)) globals->result = int16_t(HostAdvanceState(fr->advanceState));
  if (globals->result == 0) CalcTemporaryDimensions(globals, &fr->inRect, scale);
}

int32_t fetchMaskTruly_Always8(int32_t x, int32_t y, const Globals* globals) {
  if (x < 0 || x > globals->lastColumn || y < globals->firstRow || y > globals->lastRow) return 0;
  const FilterRecord* fr = globals->filterRecord;
  if (!fr->haveMask || !fr->maskData) return 255;
  if (y < globals->maskBandTop || y > globals->maskBandBottom) return 0;
  const auto* mask = static_cast<const uint8_t*>(fr->maskData);
  return mask[x + int64_t(y - globals->maskBandTop) * fr->maskRowBytes];
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
