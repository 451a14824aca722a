#include "support/negate_renderer.h"

#include <cstring>

#include "frame/globals.h"
#include "frame/pass_rects.h"
#include "frame/base/result_codes.h"
#include "polybuild/voronoi/voronoi_spots.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_reads.h"
#include "render/render_services.h"
#include "render/rows/spot_record.h"
#include "render/view_build.h"

namespace {

std::vector<RenderedRow> g_rows;

template <class T>
T Load(const uint8_t* at) {
  T v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

template <class T>
void Store(uint8_t* at, T v) {
  std::memcpy(at, &v, sizeof v);
}

// One sample: full - v inside the selection, v outside, blended between.
double Negated(double v, double full, int32_t mask) { return v + (full - 2.0 * v) * mask / 255.0; }

void NegateHostRow(Globals* g, int32_t bufferRow) {
  FilterRecord* fr = g->filterRecord;
  const int32_t inStride = int32_t(fr->inHiPlane) - fr->inLoPlane + 1;
  const int32_t outStride = int32_t(fr->outHiPlane) - fr->outLoPlane + 1;
  const int32_t bytes = fr->depth == 32 ? 4 : (fr->depth == 16 ? 2 : 1);
  const bool alpha = fr->filterCase == kFilterCaseEditableTransparencyNoSelection ||
                     fr->filterCase == kFilterCaseEditableTransparencyWithSelection;
  const uint8_t* in = static_cast<const uint8_t*>(fr->inData) + int64_t(bufferRow) * fr->inRowBytes;
  uint8_t* out = static_cast<uint8_t*>(fr->outData) + int64_t(bufferRow) * fr->outRowBytes;
  for (int32_t x = 0; x <= g->lastColumn; ++x) {
    const int32_t mask = fetchMaskTruly_Always8(x, g->drawingRow, g);
    for (int32_t plane = 0; plane < outStride && plane < inStride; ++plane) {
      const uint8_t* s = in + (int64_t(x) * inStride + plane) * bytes;
      uint8_t* d = out + (int64_t(x) * outStride + plane) * bytes;
      const bool keep = alpha && plane == fr->outLayerPlanes;
      if (bytes == 4) {
        const float v = Load<float>(s);
        Store<float>(d, keep ? v : (mask == 255 ? 1.0f - v : float(Negated(v, 1.0, mask))));
      } else if (bytes == 2) {
        const uint16_t v = Load<uint16_t>(s);
        Store<uint16_t>(d, keep ? v : uint16_t(Negated(v, 32768.0, mask) + 0.5));
      } else {
        *d = keep ? *s : uint8_t(Negated(*s, 255.0, mask) + 0.5);
      }
    }
  }
}

void NegateCanvasRow(Globals* g) {
  PyramidDescriptor* canvas = g->storage ? g->storage->exportCanvas : nullptr;
  if (!canvas || !canvas->tileTable || g->drawingRow >= canvas->levelHeight[0]) return;
  const bool floats = canvas->dataKind == PyramidDataKind_FourFloat;
  const auto full = int32_t(canvas->fromUnitScale);
  for (int32_t x = 0; x < canvas->levelWidth[0]; ++x) {
    if (floats) {
      float c[4];
      get_intcoord_unitary_color(x, g->drawingRow, canvas, 0, c);
      for (int i = 0; i < 3; ++i) c[i] = 1.0f - c[i];
      set_unitary_color(x, g->drawingRow, canvas, 0, c);
    } else {
      int32_t c[4];
      get_pyramid_sample_pointColorcall(x, g->drawingRow, canvas, 0, &c[0], &c[1], &c[2], &c[3]);
      set_pyramid_sample_pointColor(x, g->drawingRow, canvas, 0, full - c[0], full - c[1], full - c[2], c[3]);
    }
  }
}

}  // namespace

void ClearRenderedRows() { g_rows.clear(); }
const std::vector<RenderedRow>& RenderedRows() { return g_rows; }

void DoSolarRect(Globals* globals) {
  const TParameters* p = Params(globals);
  const int32_t mode = p ? p->runMode : RunMode_Final;
  g_rows.push_back(RenderedRow{globals->drawingRow, mode});
  if (mode == RunMode_ExportLayer) return NegateCanvasRow(globals);
  const FilterRecord* fr = globals->filterRecord;
  if (!fr->inData || !fr->outData) {
    globals->result = kOutOfMemory;
    return;
  }
  // A preview's buffers hold the whole proxy; a final pass's only its row.
  NegateHostRow(globals, mode == RunMode_Preview ? globals->drawingRow : 0);
}

void DoMyTask(PerTaskStuffType*, int32_t) {}
void EndRowsAhead(Globals*) {}
void SetGSpots(long) {}
void SetPSpots(long) {}
// The Voronoi solids record their sites through the renderer's spot record.
void DumpOneGSpot(const double[3], int32_t) {}
void Prefill_any_threadshared_caches(Globals*) {}
// The polyhedron-map export asks for a view; this renderer has none to give.
ViewBuildStatus BuildPrimaryView(Globals*, vort*) { return ViewBuild_ModeNotBuiltYet; }
