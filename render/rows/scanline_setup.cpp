#include "render/rows/scanline_setup.h"

#include "frame/globals.h"  // the per-row set-up reads the invocation's settings, pyramids and task records
#include "frame/base/task_pool.h"
#include "frame/view_coords.h"  // the pixel-to-plane conversions sit with the view sizes the frame takes from the invocation
#include "polyhedron/polyhedron_record.h"
#include "projection/input/input_mapping.h"
#include "projection/lookup/lookup_cache.h"
#include "projection/lookup/lookup_fetch.h"
#include "projection/inverse/mollweide.h"
#include "projection/nets/net_projection_core.h"
#include "projection/nets/net_projection_lists.h"
#include "projection/task_record.h"
#include "render/output_modes.h"
#include "render/vort.h"

namespace {

constexpr int32_t kRowsPerBand = 8;
constexpr int32_t kPolyMapMode = 1045;
constexpr int32_t kSkewedTilingMode = 64;
constexpr int32_t kAllFacegroups = -1;
// The dummy point of the prefill: inside any triangle.
constexpr float kPrefillBarys[3] = {0.3f, 0.3f, 0.4f};

// Net x of the centres of the pixels just beyond the task's row job. The
// pool deals a job out in interleaved chunks across the whole job, so the
// lists must cover all of it, not the task's contiguous share.
void JobRangeX(const vort& view, const PerTaskStuffType& task, float* xLow, float* xHigh) {
  const float zoom = float(view.previewScale);
  const float offH = float(view.previewOffsetH), offV = float(view.previewOffsetV);
  float v, cx, cy;
  PixelsToCenters(float(task.spanFirst - 1), 0.0f, zoom, offH, offV, task.outputPyramid, xLow, &v, &cx, &cy, &view);
  PixelsToCenters(float(task.spanLast + 1), 0.0f, zoom, offH, offV, task.outputPyramid, xHigh, &v, &cx, &cy, &view);
}

void PrepareLists(const Globals* globals, const vort& view, PerTaskStuffType* task, int32_t row) {
  // Division toward zero: corner rows -1 and 0 share band 0.
  const int32_t band = row / kRowsPerBand;
  const float zoom = float(view.previewScale);
  const float offH = float(view.previewOffsetH), offV = float(view.previewOffsetV);
  float x, yLow, yHigh;
  Output_Pixels_to_Something(0.0f, float(band * kRowsPerBand), zoom, offH, offV, &x, &yLow, &view);
  Output_Pixels_to_Something(0.0f, float(band * kRowsPerBand + kRowsPerBand - 1), zoom, offH, offV, &x, &yHigh, &view);
  const float rowHeight = zoom * view.invOutputHeight * view.outputAspect;

  const polyhedron* output = view.isPolyhedral ? view.polyhedron : nullptr;
  const polyhedron* input = InputModeCategory(view.inputMode) == 1 ? globals->inputPolyhedron : nullptr;
  // The poly-map's rays and the tiling's wrapped points land anywhere on the
  // net, whatever the row: their lists keep every triangle.
  const bool culling =
      output && output->bandCulling && view.outputMode != kPolyMapMode && view.outputMode != kSkewedTilingMode;
  PerTaskStuffType& t = *task;
  float xLow = 0.0f, xHigh = 0.0f;
  if ((output || input) && t.outputPyramid) JobRangeX(view, t, &xLow, &xHigh);
  if (output)
    PrepareShortTriList(output, yLow, yHigh, output->unfoldingIndex, rowHeight, &t.outputHint, xLow, xHigh, culling);
  // Every direction must find its face: the input lists are never culled.
  if (input) PrepareShortTriList(input, 0.0f, 0.0f, kAllFacegroups, rowHeight, &t.inputHint, xLow, xHigh, false);
  t.outputHint.band = band;
}

}  // namespace

int32_t PrefilledLookupCache(int32_t outputMode) {
  switch (outputMode) {
    case 35: return LookupCache_Winkel;
    case 51: case 83: case 87: case 251: case 252: return LookupCache_SphereCube;
    case 90: case 91: case 92: case 93: case 94: case 95: case 96: case 99: case 118: case 119: case 121: case 128:
    case 141: case 142: case 164: case 165: case 260: case 262: case 1039: case 1041: return LookupCache_Peirce;
    case 140: return LookupCache_Equalsquarea;
    default: return 0;
  }
}

void DoOncePerScanlineSetup(Globals* globals, vort* view, int32_t row) {
  if (!globals->taskRecords || globals->taskCount < 1) return;
  // Every task keeps the lists of the same band.
  if (row / kRowsPerBand == globals->taskRecords[0].outputHint.band) return;
  for (int32_t i = 0; i < globals->taskCount; ++i) PrepareLists(globals, *view, &globals->taskRecords[i], row);
}

void PrepareTaskForRow(const Globals* globals, const vort& view, PerTaskStuffType* task, int32_t row) {
  if (row / kRowsPerBand != task->outputHint.band) PrepareLists(globals, view, task, row);
}

void Prefill_any_threadshared_caches(PerTaskStuffType* first) {
  if (!first || !first->job) return;
  const vort& view = *static_cast<const vort*>(first->job);
  if (view.isPolyhedral && view.polyhedron && view.polyhedron->nTriangles > 0) {
    float point[3] = {0.0f, 0.0f, 1.0f};
    uint8_t outside = 0;
    // Every point of a search writes the hint fields this lookup touches
    // before reading them, so the task's own hint serves.
    DoPolyhedralTransformCore(view.polyhedron, kPrefillBarys[0], kPrefillBarys[1], kPrefillBarys[2], 0, 0.0f, 0.0f,
                              point, &outside, &first->outputHint);
  }
  // One lookup at the plane's origin unpacks the mode's grid here rather
  // than in the first task that reads it. Any thread may unpack a grid (the
  // first caller does it once while others wait) and the grid is the same
  // whoever does, so this moves only the one-time cost, never a result.
  const fcomplex origin{0.0, 0.0};
  switch (PrefilledLookupCache(view.outputMode)) {
    case LookupCache_Winkel: FetchFromCache_Winkel(origin); break;
    case LookupCache_SphereCube: {
      float point[3];
      FetchFromCache_spherecube(origin, point);
      break;
    }
    case LookupCache_Peirce: FetchFromCache_Peirce(origin); break;
    case LookupCache_Equalsquarea: FetchFromCache_Equalsquarea(origin); break;
    default: break;
  }
  // The tunable gores build their shared arc-length table here, and only
  // here: their look-ups never write it. Robinson's inverse table and the
  // Mollweide angle table are built once as the library loads, so neither
  // has anything left to build (the call below only states the dependency).
  if (view.modeRow && view.modeRow->prefill) view.modeRow->prefill(view);
  if (view.inputMode == InputMode_Mollweide) MollweideThetaTable();
}
