#include <cstring>

#include "frame/globals.h"
#include "frame/result_codes.h"
#include "render/render_services.h"

// Until the renderer lands, a row is the input row passed through unchanged.
void DoSolarRect(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  if (!fr->inData || !fr->outData) {
    globals->result = kOutOfMemory;
    return;
  }
  const int32_t width = int32_t(fr->outRect.right) - fr->outRect.left;
  const int32_t planes = int32_t(fr->outHiPlane) - fr->outLoPlane + 1;
  const int32_t bytes = width * planes * (fr->depth / 8);
  if (bytes > 0) std::memcpy(fr->outData, fr->inData, size_t(bytes));
}

void DoMyTask(PerTaskStuffType*, int32_t) {}
void SetGSpots(long) {}
void SetPSpots(long) {}
void Prefill_any_threadshared_caches(Globals*) {}
