#include "render/rows/row_renderer.h"

#include <algorithm>
#include <cstdio>

#include "frame/globals.h"  // each row is rendered for the whole invocation: its settings, pyramids, tasks and host buffers
#include "frame/base/output_dimensions.h"
#include "frame/base/result_codes.h"
#include "frame/base/task_pool.h"
#include "platform/ui.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_footprint.h"
#include "pyramid/pyramid_intake.h"
#include "render/rows/adaptive_sampling.h"
#include "render/rows/column_record.h"
#include "render/output/compositing.h"
#include "render/rows/inverse_mapping.h"
#include "render/overlays/overlay_edges.h"
#include "render/overlays/overlay_grids.h"
#include "render/output/pixel_output.h"
#include "render/render_services.h"
#include "render/rows/rows_ahead.h"
#include "render/rows/scanline_setup.h"
#include "render/view_build.h"
#include "render/vort.h"

namespace {

// What the rows map onto: the output's pyramid, or for a final pass onto a
// canvas of another size than the picture, a frame of the canvas's size.
PyramidDescriptor* OutputFrame(Globals* globals) {
  PyramidDescriptor* p = GetPyr_with_output_dimensions(globals);
  const TParameters* params = Params(globals);
  InvocationStorage* s = globals->storage;
  const FilterRecord* fr = globals->filterRecord;
  if (!params || params->runMode != RunMode_Final || !s || !fr) return p;
  const int32_t w = int32_t(fr->filterRect.right) - fr->filterRect.left;
  const int32_t h = int32_t(fr->filterRect.bottom) - fr->filterRect.top;
  if (p->levelWidth[0] == w && p->levelHeight[0] == h) return p;
  // Set at the pass's first row, before any task is handed the frame; the
  // tasks rendering rows ahead read it while later rows come through here.
  PyramidDescriptor& frame = s->canvasFrame;
  if (frame.levelWidth[0] != w || frame.levelHeight[0] != h) {
    frame.levelWidth[0] = w;
    frame.levelHeight[0] = h;
  }
  return &frame;
}

constexpr float kPercent = 0.01f;
constexpr int32_t kFinalQuality = 3;
constexpr float kGraticuleStrength = 0.5f;
// The equirectangular poly-map draws its edges with every negative region
// counted as region 0.
constexpr int32_t kEquirectangularPolyMapMode = 1045;

// Records the block holds; the count the frame keeps may be smaller than
// the block it allocated.
int64_t ColumnRecordCapacity(const Globals* globals) {
  const int64_t held = globals->columnRecordsSize / kColumnRecordBytes;
  return held > globals->columnRecordCount ? held : globals->columnRecordCount;
}

float Clamp01(float c) { return c < 0.0f ? 0.0f : (c > 1.0f ? 1.0f : c); }

void CompositeBlack(float alpha, float colour[4], bool overOpaquePortion) {
  const float black[4] = {0.0f, 0.0f, 0.0f, alpha};
  if (overOpaquePortion)
    CompositeAoverOpaquePortionOfB(black, colour);
  else
    CompositeAoverB(black, colour);
}

void CompositeOverBackdrop(const vort& view, float colour[4]) {
  float backdrop[4];
  for (int i = 0; i < 4; ++i) backdrop[i] = view.colorBUnit[i];
  CompositeAoverB(colour, backdrop);
  for (int i = 0; i < 4; ++i) colour[i] = backdrop[i];
}

// The edge overlay of a pixel needs its left neighbour's dot, which another
// task may have sampled; with edges on, the dots are drawn here on the main
// thread after every task of the row is done, in column order, and each
// pixel takes its edge and backdrop once its own dot and its left
// neighbour's are in: the sums come out the same however the row was split.
void FinishPixelsSerially(const vort& view, ColumnRecord* records, int32_t width, int32_t y) {
  const float strength = 1.0f / float(view.previewScale);
  const int32_t now = y & 1, next = (y + 1) & 1;
  const bool voidIsRegionZero = view.outputMode == kEquirectangularPolyMapMode;
  for (int32_t x = 0; x < width; ++x) {
    draw_edge_dot(records[x].edgeDot, records, x, now, next, voidIsRegionZero);
    float* colour = records[x].pixelColor;
    CompositeBlack(Clamp01(records[x].edgeCoverage[y & 1]) * strength, colour, false);
    if (!view.transparentBackground) CompositeOverBackdrop(view, colour);
  }
}

// The overlays of a row rendered ahead, drawn here in row order into the
// shared column records as the row-by-row path draws them: the corner grid
// coordinates of the row's two corner rows come with the row, and so do
// its pixels' colours and edge dots.
void FinishBandedOverlays(const Globals* globals, vort& view, const RowAhead& row, ColumnRecord* records,
                          int32_t width, int32_t y);

// A pass starts with no coverage and every column's Tissot search at the
// first centre.
void StartColumns(ColumnRecord* records, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    ColumnRecord& r = records[i];
    r.gridCoverage[0] = r.gridCoverage[1] = 0.0f;
    r.edgeCoverage[0] = r.edgeCoverage[1] = 0.0f;
    r.tissotCoverage[0] = r.tissotCoverage[1] = 0.0f;
    r.tissotSpotHint = 0;
  }
}

void ClearNextCoverageSlot(ColumnRecord* records, int32_t count, int32_t y, const vort& view) {
  const int32_t next = (y + 1) & 1;
  for (int32_t i = 0; i < count; ++i) {
    if (view.gridOn) records[i].gridCoverage[next] = 0.0f;
    if (view.edgesOn) records[i].edgeCoverage[next] = 0.0f;
    if (view.tissotOn || view.polySpotsOn) records[i].tissotCoverage[next] = 0.0f;
  }
}

// The graticule and Tissot coverage of row y, from the two corner rows
// around it; on the main thread while no task runs.
void DrawCornerOverlays(const TParameters* p, const vort& view, ColumnRecord* records, int32_t width, int32_t y) {
  const int32_t now = y & 1, next = (y + 1) & 1;
  const int32_t s = view.replySlot, prev = s ^ 1;
  if (view.gridOn) {
    const int32_t graticule = p ? p->graticule : int32_t(Graticule_Off);
    for (int32_t x = 0; x < width; ++x) {
      const TransformationReply* c[4] = {&records[x].reply[prev], &records[x + 1].reply[prev], &records[x].reply[s],
                                         &records[x + 1].reply[s]};
      const float u[4] = {c[0]->gridU, c[1]->gridU, c[2]->gridU, c[3]->gridU};
      const float v[4] = {c[0]->gridV, c[1]->gridV, c[2]->gridV, c[3]->gridV};
      thegrid(u, v, y, x, width, now, next, graticule, records);
    }
  }
  if (view.tissotOn || view.polySpotsOn) {
    for (int32_t x = 0; x < width; ++x) thetissotgrid(s, x, now, next, records, view, TissotPass_Circles);
  }
  // The second pass draws the scissor marks of the output polyhedron.
  if (view.polySpotsOn && view.polyhedron) {
    for (int32_t x = 0; x < width; ++x) thetissotgrid(s, x, now, next, records, view, TissotPass_ScissorMarks);
  }
}

void FinishBandedOverlays(const Globals* globals, vort& view, const RowAhead& row, ColumnRecord* records,
                          int32_t width, int32_t y) {
  const int32_t now = y & 1, prev = now ^ 1;
  if (view.gridOn) {
    for (int32_t i = 0; i <= width; ++i) {
      records[i].reply[prev].gridU = row.gridCorners[i][0];
      records[i].reply[prev].gridV = row.gridCorners[i][1];
      records[i].reply[now].gridU = row.gridCorners[i][2];
      records[i].reply[now].gridV = row.gridCorners[i][3];
    }
  }
  view.replySlot = now;
  ClearNextCoverageSlot(records, width + 1, y, view);
  DrawCornerOverlays(Params(globals), view, records, width, y);
  const float zoom = float(view.previewScale);
  for (int32_t x = 0; x < width; ++x) {
    float* colour = records[x].pixelColor;
    for (int i = 0; i < 4; ++i) colour[i] = row.colours[x][i];
    if (view.gridOn)
      CompositeBlack(Clamp01(records[x + 1].gridCoverage[y & 1]) * kGraticuleStrength / zoom, colour, true);
    if (!view.edgesOn && !view.transparentBackground) CompositeOverBackdrop(view, colour);
    if (view.edgesOn) records[x].edgeDot = row.dots[x];
  }
  if (view.edgesOn) FinishPixelsSerially(view, records, width, y);
}

// Builds the view of the pass; false (with the result set) when it cannot be
// built.
bool BuildPassView(Globals* globals) {
  InvocationStorage* s = globals->storage;
  s->viewBuilt = 0;
  // Value-initialised at every build: nothing of an earlier pass survives.
  vort& view = s->view;
  const ViewBuildStatus status = BuildPrimaryView(globals, &view);
  if (status == ViewBuild_NoInput) {
    globals->result = kInputPyramidMissing;
    return false;
  }
  if (status != ViewBuild_OK) {
    char explanation[96];
    const TParameters* p = Params(globals);
    if (status == ViewBuild_UnknownMode && p)
      std::snprintf(explanation, sizeof explanation, "Output mode %d is not available; the filter was not applied.",
                    int(p->outputMode));
    else if (status == ViewBuild_SolidHasNoFaces && p)
      std::snprintf(explanation, sizeof explanation, "Output mode %d draws nothing; the filter was not applied.",
                    int(p->outputMode));
    else if (status == ViewBuild_ModeNotBuiltYet && p)
      std::snprintf(explanation, sizeof explanation, "Output mode %d is not built yet; the filter was not applied.",
                    int(p->outputMode));
    else if (status == ViewBuild_PolyMapNeedsSolid && p)
      std::snprintf(explanation, sizeof explanation, "Output mode %d has no solid; the filter was not applied.",
                    int(p->altOutputMode));
    else
      std::snprintf(explanation, sizeof explanation, "The filter was not applied.");
    PlatformShowAlert(ViewBuildStatusMessage(status), explanation);
    globals->result = kRefused;
    return false;
  }
  view.viewIndex = 0;
  return true;
}

// Maps the corner row above row y into the shared column records.
void StartRowByRow(Globals* globals, int32_t y, PyramidDescriptor* outputPyramid, int32_t width) {
  vort& view = globals->storage->view;
  view.replySlot = (y - 1) & 1 ? 0 : 1;  // the flip below lands corner row y - 1 in slot (y - 1) & 1
  StartColumns(globals->columnRecords, width + 1);
  build_sample_row(globals, &view, y - 1, outputPyramid);
}

// A net search starts where the task's last one hit, and a point on an edge
// shared by two triangles takes the first it meets; so every chunk of a row
// job starts its searches from the head of the lists, and which task (and
// what it mapped before) does the chunk cannot change a region code.
void ForgetLastSearch(renderhinttype* hint) {
  hint->lastTab = 0;
  hint->lastFace = 0;
  hint->lastListIndex = 0;
  hint->hitRegion = 0;
}

void StartChunk(PerTaskStuffType* task) {
  ForgetLastSearch(&task->outputHint);
  ForgetLastSearch(&task->inputHint);
  task->tissotSearchStart = 0;
}

}  // namespace

namespace {

// Splits corner row `row` among the tasks, flips the reply slot and prepares
// the shared caches; the caller launches the orders.
void SplitCornerRow(Globals* globals, vort* view, int32_t row, PyramidDescriptor* outputPyramid) {
  const int32_t width = WidthOfCurrentOutput(globals);
  Bust_row_into_tasks(-1, width - 1, TaskKind_SampleRow, globals, view, row, outputPyramid);
  view->replySlot ^= 1;
  DoOncePerScanlineSetup(globals, view, row);
  if (globals->taskCount > 0) Prefill_any_threadshared_caches(&globals->taskRecords[0]);
}

}  // namespace

void build_sample_row(Globals* globals, vort* view, int32_t row, PyramidDescriptor* outputPyramid) {
  SplitCornerRow(globals, view, row, outputPyramid);
  launch_and_finish_all_tasks(globals);
}

void MapCornerSpan(const vort& view, ColumnRecord* records, int32_t slot, PerTaskStuffType* task) {
  const int32_t s = slot;
  StartChunk(task);
  for (int32_t first = task->firstColumn; first <= task->lastColumn; first += kMapRunCapacity) {
    const int32_t n = std::min(task->lastColumn - first + 1, kMapRunCapacity);
    float px[kMapRunCapacity], py[kMapRunCapacity];
    TransformationReply* replies[kMapRunCapacity];
    int32_t hints[kMapRunCapacity];
    for (int32_t i = 0; i < n; ++i) {
      ColumnRecord& r = records[first + i + 1];
      r.cornerX[s] = px[i] = float(first + i);
      r.cornerY[s] = py[i] = float(task->row);
      replies[i] = &r.reply[s];
      hints[i] = r.tissotSpotHint;
    }
    MapPixelRun(px, py, n, task->outputPyramid, view, replies, hints, task);
    for (int32_t i = 0; i < n; ++i) {
      ColumnRecord& r = records[first + i + 1];
      r.tissotSpotHint = hints[i];
      const TransformationReply& reply = r.reply[s];
      r.outside[s] =
          (reply.inputU < 0.0f || reply.inputU > 1.0f || reply.inputV < 0.0f || reply.inputV > 1.0f) ? 1 : 0;
    }
  }
}

void SamplePixelSpan(const vort& view, ColumnRecord* records, int32_t slot, PerTaskStuffType* task,
                     float (*colours)[4], EdgeDot* dots) {
  const TParameters* p = Params(task->globals);
  const int32_t y = task->row;
  // Into the caller's rows, the overlays drawn across rows are the main
  // thread's, and so is the backdrop they go under.
  const bool overlaysLater = colours && (view.gridOn || view.edgesOn);
  StartChunk(task);
  AnisoState state{};  // this task's own sampler state
  PixelSampling job{};
  job.view = &view;
  job.outputPyramid = task->outputPyramid;
  job.records = records;
  job.replySlot = slot;
  job.sharpen = p ? p->sharpening * kPercent : 0.0f;
  job.quality = (p && p->runMode == RunMode_Preview) ? p->previewQuality : kFinalQuality;
  job.cubeFaces = task->globals ? &task->globals->pyramids[kPyramidFirstCubeFace] : nullptr;
  job.task = task;
  job.state = &state;
  const float zoom = float(view.previewScale);
  // Where mapping a point leaves no trace for the next, the centres of a
  // run of pixels are mapped ahead of their sampling, as a run.
  const bool centresAhead = ProbesLeaveNoTrace(view);
  TransformationReply centres[kMapRunCapacity];
  TransformationReply* ahead[kMapRunCapacity] = {};
  for (int32_t x = task->firstColumn; x <= task->lastColumn; ++x) {
    const int32_t k = (x - task->firstColumn) % kMapRunCapacity;
    if (centresAhead && k == 0) {
      int32_t xs[kMapRunCapacity];
      TransformationReply* targets[kMapRunCapacity];
      int32_t n = 0;
      for (int32_t c = x; c <= task->lastColumn && c < x + kMapRunCapacity; ++c) {
        const bool needed = NeedsMappedCentre(job, c);
        ahead[c - x] = needed ? &centres[c - x] : nullptr;
        if (needed) {
          xs[n] = c;
          targets[n++] = &centres[c - x];
        }
      }
      MapCentres(job, xs, n, y, targets);
    }
    float colour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    SuperSamplerReply ssr{};
    GetAdaptivelySampledColor(job, x, y, &ssr, colour, centresAhead ? ahead[k] : nullptr);
    ColumnRecord& own = records[x];
    if (overlaysLater) {
      for (int i = 0; i < 4; ++i) colours[x][i] = colour[i];
      if (view.edgesOn && dots) dots[x] = EdgeDotOf(ssr);
      continue;
    }
    ColumnRecord& right = records[x + 1];
    if (view.gridOn)
      CompositeBlack(Clamp01(right.gridCoverage[y & 1]) * kGraticuleStrength / zoom, colour, true);
    if (view.tissotOn || view.polySpotsOn) CompositeBlack(Clamp01(right.tissotCoverage[y & 1]), colour, true);
    if (!view.edgesOn && !view.transparentBackground) CompositeOverBackdrop(view, colour);
    float* out = colours ? colours[x] : own.pixelColor;
    for (int i = 0; i < 4; ++i) out[i] = colour[i];
    if (view.edgesOn) own.edgeDot = EdgeDotOf(ssr);
  }
}

void build_sample_row_segment(PerTaskStuffType* task) {
  const vort& view = *static_cast<const vort*>(task->job);
  MapCornerSpan(view, view.columnRecords, view.replySlot, task);
}

void build_results_pixel_row_segment(PerTaskStuffType* task) {
  const vort& view = *static_cast<const vort*>(task->job);
  SamplePixelSpan(view, view.columnRecords, view.replySlot, task, nullptr, nullptr);
}

void DoMyTask(PerTaskStuffType* task, int32_t kind) {
  if (!task || !task->job) return;
  if (kind == TaskKind_SampleRow)
    build_sample_row_segment(task);
  else if (kind == TaskKind_ResultRow)
    build_results_pixel_row_segment(task);
}

void DoSolarRect(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  // An export layer reads the pyramid and writes its canvas: the host's
  // buffers play no part in it, and a host may hand none over meanwhile.
  const TParameters* params = Params(globals);
  const bool exportLayer = params && params->runMode == RunMode_ExportLayer;
  if (!exportLayer && (!fr->inData || !fr->outData)) {
    globals->result = kOutOfMemory;
    return;
  }
  const int32_t width = WidthOfCurrentOutput(globals);
  const int32_t y = globals->drawingRow;
  if (width < 1) return;
  if (!globals->storage || !globals->columnRecords || ColumnRecordCapacity(globals) < width + 1 ||
      !globals->taskRecords) {
    globals->result = kWorkBuffersMissing;
    return;
  }
  PyramidDescriptor* outputPyramid = OutputFrame(globals);
  InvocationStorage* s = globals->storage;
  vort& view = s->view;
  ColumnRecord* records = globals->columnRecords;
  RowAhead row{};
  bool banded = TakeRowAhead(globals, y, &row);
  if (!banded && (y == 0 || !s->viewBuilt || view.bandedPass)) {
    // A new pass, or a row the bands did not render: the column records hold
    // no corner row of this pass, so it starts afresh here.
    EndRowsAhead(globals);
    finish_only_all_tasks(globals);
    if (!BuildPassView(globals)) return;
    const int32_t endRow = std::min(globals->outputHeight, globals->lastRow + 1);
    if (StartRowsAhead(globals, &view, y, endRow, width, outputPyramid)) {
      view.bandedPass = 1;
      StartColumns(records, width + 1);
      banded = TakeRowAhead(globals, y, &row);
    } else {
      StartRowByRow(globals, y, outputPyramid, width);
      view.rowAheadPlusOne = 0;
    }
    s->viewBuilt = 1;
  }
  if (banded) {
    PixelSink sink;
    if (!PreparePixelSink(globals, y, &sink)) {
      globals->result = kOutOfMemory;
      return;
    }
    if (view.gridOn || view.edgesOn) {
      FinishBandedOverlays(globals, view, row, records, width, y);
      for (int32_t x = 0; x < width; ++x) Output_a_Pixel(sink, x, records[x].pixelColor);
    } else {
      for (int32_t x = 0; x < width; ++x) Output_a_Pixel(sink, x, row.colours[x]);
    }
    ReleaseRowAhead(globals, y);
    return;
  }
  const bool ahead = y != 0 && view.rowAheadPlusOne == y + 1;
  if (ahead) {
    // The tasks rendered this row while the host copied the last one.
    finish_only_all_tasks(globals);
  } else {
    // Nothing the tasks may still be doing for another row survives.
    finish_only_all_tasks(globals);
    view.rowAheadPlusOne = 0;
    build_sample_row(globals, &view, y, outputPyramid);
    ClearNextCoverageSlot(records, width + 1, y, view);
    DrawCornerOverlays(Params(globals), view, records, width, y);
    Bust_row_into_tasks(0, width - 1, TaskKind_ResultRow, globals, &view, y, outputPyramid);
    launch_and_finish_all_tasks(globals);
  }
  view.rowAheadPlusOne = 0;
  if (view.edgesOn) FinishPixelsSerially(view, records, width, y);

  PixelSink sink;
  if (!PreparePixelSink(globals, y, &sink)) {
    globals->result = kOutOfMemory;
    return;
  }
  // The next row is rendered ahead: its corners are mapped while this row
  // goes into the host's buffer, and its pixels are sampled while the host
  // takes the row and hands over the next one. The pixel colours of this
  // row are read only here, before the next row's pixel orders start.
  const bool renderNext = y + 1 < globals->outputHeight && y + 1 <= globals->lastRow;
  if (renderNext) {
    SplitCornerRow(globals, &view, y + 1, outputPyramid);
    launch_only_all_tasks(globals);
  }
  for (int32_t x = 0; x < width; ++x) Output_a_Pixel(sink, x, records[x].pixelColor);
  if (!renderNext) return;
  finish_only_all_tasks(globals);
  ClearNextCoverageSlot(records, width + 1, y + 1, view);
  DrawCornerOverlays(Params(globals), view, records, width, y + 1);
  Bust_row_into_tasks(0, width - 1, TaskKind_ResultRow, globals, &view, y + 1, outputPyramid);
  launch_only_all_tasks(globals);
  view.rowAheadPlusOne = y + 2;
}
