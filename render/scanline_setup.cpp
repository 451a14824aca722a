#include "render/scanline_setup.h"

#include "frame/globals.h"
#include "frame/task_pool.h"
#include "frame/view_coords.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/input_mapping.h"
#include "projection/mollweide.h"
#include "projection/net_projection_core.h"
#include "projection/net_projection_lists.h"
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
  if (view.modeRow && view.modeRow->prefill) view.modeRow->prefill(view);
  if (view.inputMode == InputMode_Mollweide) MollweideThetaTable();
}
