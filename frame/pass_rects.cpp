#include "frame/pass_rects.h"

#include <algorithm>

#include "frame/base/host_rects.h"
#include "frame/base/host_suites.h"
#include "frame/base/rects.h"
#include "frame/globals.h"
#include "frame/invocation.h"

namespace {

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
