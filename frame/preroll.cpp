#include "frame/preroll.h"

#include <algorithm>
#include <cstring>

#include "frame/globals.h"
#include "frame/base/host_rects.h"
#include "frame/base/host_suites.h"
#include "frame/invocation.h"
#include "frame/preroll_cubecross.h"
#include "frame/progress.h"
#include "frame/base/task_pool.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/net_fit.h"
#include "polyhedron/polyhedron.h"
#include "projection/input/input_mapping.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_filter_table.h"
#include "pyramid/pyramid_input_modes.h"
#include "pyramid/pyramid_levels.h"
#include "render/rows/column_record.h"

namespace {

constexpr int32_t kInputMode4x3Cross = 27;
constexpr int32_t kInputModeVerticalCross = 28;
constexpr int32_t kInputCategoryNeedsSolid = 1;
// Every polyhedral input mode reads its picture as the net of this output
// mode's solid.
constexpr int32_t kInputSolidOutputMode = 30;
// Two corner columns more than pixels: the renderer maps the corners on
// both sides of every pixel.
constexpr int32_t kExtraColumnRecords = 2;
constexpr float kOddsOfCertainty = 1e8f;

void PrepareInputPyramids(Globals* globals, int32_t inputMode) {
  if (inputMode == kInputMode4x3Cross) {
    Fill_4x3_cubecross(globals);
    return;
  }
  if (inputMode == kInputModeVerticalCross) {
    Fill_vertical_cubecross(globals);
    return;
  }
  DumpAnyCorpus(globals);
  // The levels depend on how the edges wrap; rebuild them only when that changed.
  PyramidDescriptor* main = &globals->pyramids[kPyramidMain];
  const int32_t wrap = WrapModeFromGyrelleInputMode(inputMode);
  const int32_t overhang = OverhangModeFromGyrelleInputMode(inputMode);
  if (wrap == main->wrapMode && overhang == main->overhangMode) return;
  main->wrapMode = wrap;
  main->overhangMode = overhang;
  if (PyramidHasLevel(main, 0)) paint_mipmap_of_pyramid(main);
}

void FreeInputPoly(Globals* globals) {
  BufferProcs* procs = HostBuffers(globals);
  DumpPolyStorage(globals->inputPolyhedron, procs);
  RobustDispose(&globals->inputPolyhedron, &globals->inputPolyhedronBufferID, procs);
}

// Rows of the pass: an export layer's canvas, else the rectangle being rendered.
int32_t RowsOfPass(const Globals* globals) {
  const TParameters* p = Params(globals);
  const InvocationStorage* s = globals->storage;
  if (p && p->runMode == RunMode_ExportLayer && s && s->exportCanvas) return s->exportCanvas->levelHeight[0];
  return globals->outputHeight;
}

}  // namespace

int32_t PrerollManipulation(Globals* globals) {
  TParameters* p = Params(globals);
  InvocationStorage* s = globals->storage;
  // A row an earlier pass rendered ahead may still be in the tasks' hands:
  // nothing they write may land in the buffers this pass sets up.
  finish_only_all_tasks(globals);
  if (p && s) FixBuffersThatDependOnOutputDimensions(globals);
  if (!p || !s || !globals->columnRecords) {
    globals->passPhase = 0;
    globals->moreToDo = 0;
    return globals->result;
  }
  initGaussianPyrTable_switchable(s->filterTable,
                                  p->gaussianKernel != 0 ? FilterKernel_Gaussian : FilterKernel_WindowedSinc);
  PrepareInputPyramids(globals, p->inputMode);
  if (InputModeCategory(p->inputMode) == kInputCategoryNeedsSolid) AlocateInputPoly(globals, p->inputMode);
  // Never past the block, whatever rectangle it was sized for.
  const int64_t capacity = globals->columnRecordsSize / kColumnRecordBytes;
  ResetColumnRecords(globals->columnRecords,
                     int32_t(std::min<int64_t>(globals->outputWidth + kExtraColumnRecords, capacity)));
  s->inverseParameterCache[0] = kLookupCacheNotBuilt;
  s->mollweideThetaCache[0] = kLookupCacheNotBuilt;

  globals->currentRow = 0;
  globals->passPhase = 1;
  globals->wantMask = 1;
  globals->progressTotal = RowsOfPass(globals);
  globals->progressDone = 0;
  // A pass without rows has nothing to render; the row loops must not start.
  globals->moreToDo = globals->progressTotal > 0 ? 1 : 0;
  RestartProgressThrottle(globals);
  return globals->result;
}

void AlocateInputPoly(Globals* globals, int32_t inputMode) {
  (void)inputMode;  // every polyhedral input mode shows the one net of kInputSolidOutputMode
  // A solid left by a pass that never reached its end would be lost otherwise.
  FreeInputPoly(globals);
  float width, height, ratio;
  GetInputProportions(&globals->savedFilterRect, &width, &height, &ratio);
  BufferProcs* procs = HostBuffers(globals);
  void* block = RobustNewPtr(sizeof(polyhedron), &globals->inputPolyhedronBufferID, procs);
  if (!block) return;
  // Zero-filled in place: a value-initialised temporary of this size could
  // land on the stack.
  std::memset(block, 0, sizeof(polyhedron));
  auto* poly = static_cast<polyhedron*>(block);
  globals->inputPolyhedron = poly;
  NullifyPolyStorage(poly);
  InitPoly(poly, ratio, 0.0f);
  PolyhedronParams params{};
  get_polyhedron_params_from_output_mode(kInputSolidOutputMode, &params);
  // The whole solid with its net linked to it and no tabs: the input mapping
  // reads the net and the solid alike.
  SetUpReallyGeneralPolyhedron(poly, params.shapeCode, kNetMethodComputed, kCramFit, 0.0, procs, 1);

  // A solid that could not be built would mislead the input mapping: none is
  // better, and the mapping accepts none.
  if (poly->errorCode != 0) FreeInputPoly(globals);
}

void MakeTriangleWave(Globals* globals) {
  InvocationStorage* s = globals->storage;
  if (!s) return;
  for (int32_t i = 0; i < 128; ++i) s->triangleWave[i] = 2 * i;
  for (int32_t i = 128; i < 256; ++i) s->triangleWave[i] = 511 - 2 * i;
  MakeOddsTable(s->oddsTable);
}

void MakeOddsTable(float table[256]) {
  table[0] = 0.0f;
  for (int32_t i = 1; i < 255; ++i) {
    const auto p = float(i * 0.003921568627451);
    table[i] = float(1.0 / (1.0 / double(p) - 1.0));
  }
  table[255] = kOddsOfCertainty;
}
