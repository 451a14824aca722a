#include "frame/host_rects.h"

#include <algorithm>

#include "frame/globals.h"
#include "frame/invocation.h"

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

void SetInputChunkRects(Globals* globals, const Rect* chunk) {
  FilterRecord* fr = globals->filterRecord;
  const Rect filter = fr->filterRect;
  fr->inRect = Rect{int16_t(chunk->top + filter.top), int16_t(chunk->left + filter.left),
                    int16_t(chunk->bottom + filter.top), int16_t(chunk->right + filter.left)};
  fr->maskRect = EmptyAtTopLeft(filter);
  fr->outRect = Rect{filter.top, filter.left, int16_t(filter.top + 1), int16_t(filter.left + 1)};
  SetPlanesRatesPaddings(fr);
}
