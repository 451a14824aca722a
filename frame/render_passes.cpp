#include "frame/render_passes.h"

#include "export/brick/lego_structure.h"
#include "frame/globals.h"
#include "frame/pass_rects.h"
#include "frame/base/host_suites.h"
#include "frame/invocation.h"
#include "frame/preroll.h"
#include "frame/progress.h"
#include "frame/progressive_preview.h"
#include "frame/base/result_codes.h"
#include "frame/base/task_pool.h"
#include "platform/config.h"
#include "polyhedron/polyhedron.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_intake.h"
#include "render/render_services.h"

namespace {

constexpr int32_t kOutputModeBrickSphere = 45;

// This plug-in's final pass fills the host's canvas (FinalPassFrame).
[[maybe_unused]] const bool kCanvasHonoured = PlatformHonourCanvas();

// The rectangle the final pass fills: the host's filter rectangle, or the
// canvas the host set up for the result. The picture is still read at its
// own size; the rows are then asked for and delivered in the canvas's
// coordinates, so the result is rendered once at the size the user wants.
Rect FinalPassFrame(const Globals* globals) {
  const Rect& image = globals->savedFilterRect;
  int32_t w = 0, h = 0;
  if (!PlatformCanvasSize(&w, &h)) return image;
  if (w == int32_t(image.right) - image.left && h == int32_t(image.bottom) - image.top) return image;
  return Rect{0, 0, int16_t(h), int16_t(w)};
}

}  // namespace

int32_t CommenceLineByLine(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  UponFinalFiltrationTasks(globals);
  MakeTriangleWave(globals);
  MaybeAllocatePyramids(globals);
  fr->filterRect = FinalPassFrame(globals);
  CalcTemporaryDimensions(globals, &fr->filterRect, 1);
  // The preroll sizes the column records from the host's input rectangle,
  // which still holds the image intake's last request: ask for row 0 first.
  SetOneRowHighRects(globals);
  PrerollManipulation(globals);
  if (globals->result != kOK) return globals->result;
  globals->wantMask = 1;
  SetOneRowHighRects(globals);
  // Without advanceState the host hands row 0's buffers to the first continue.
  if (!Advanceable(globals->filterRecord)) return kOK;
  globals->result = int16_t(HostAdvanceState(fr->advanceState));
  return globals->result;
}

void MaybeAllocatePyramids(Globals* globals) {
  TParameters* p = Params(globals);
  if (!p || p->pyramidsFilled) return;
  const Rect& image = globals->savedFilterRect;
  const int16_t allocated =
      AllocateColorPyramids(int32_t(image.right) - image.left, int32_t(image.bottom) - image.top, globals);
  if (allocated != kOK) {
    globals->result = allocated;
    return;
  }
  globals->currentRow = 0;
  globals->passPhase = 1;
  globals->wantMask = 1;
  globals->progressTotal = globals->outputHeight;
  globals->progressDone = 0;
  globals->moreToDo = 1;
  // The image arrives only through advanceState requests; a host without it
  // leaves the pyramid unread rather than being called through a null pointer.
  if (Advanceable(globals->filterRecord)) FillPyramids(globals);
}

void CommenceMonolithic(Globals* globals) {
  MaybeAllocatePyramids(globals);
  globals->maskBandTop = globals->inputBandTop = globals->firstRow;
  globals->maskBandBottom = globals->inputBandBottom = globals->lastRow;
  MakeTriangleWave(globals);
  PrerollManipulation(globals);
  // Whatever stops the pass now, the preroll's input solid must not outlive it.
  if (globals->result == kOK && uses_previews(globals->filterRecord) && globals->filterRecord->inData)
    DriveMonolithically(globals);
  Postroll(globals);
}

void DoPreviewFiltration(Globals* globals) {
  globals->storage->progressivePreviewRows = 0;
  if (uses_previews(globals->filterRecord)) CommenceMonolithic(globals);
}

void DriveMonolithically(Globals* globals) {
  if (globals->result != kOK) {
    globals->moreToDo = 0;
    return;
  }
  while (globals->result == kOK && globals->moreToDo == 1) Manipulate1Line(globals);
}

bool Manipulate1Line(Globals* globals) {
  CCUpdateProgressMulti(globals, globals->progressDone, globals->progressTotal, globals->progressLayerCount);
  ++globals->progressDone;
  globals->drawingRow = globals->currentRow;
  if (globals->passPhase == 1) {
    DoSolarRect(globals);
    MaybeUpdateProgressivePreview(globals, globals->drawingRow);
    if (globals->currentRow >= globals->outputHeight - 1) {
      globals->moreToDo = 0;
      globals->currentRow = 0;
    } else {
      ++globals->currentRow;
    }
  }
  const bool aborted = CCTestAbort(globals);
  if (aborted) globals->result = kUserCancelled;
  return aborted;
}

void Postroll(Globals* globals) {
  // Nothing a task may still read is freed before every task is idle; tasks
  // rendering rows ahead stop within their current row.
  EndRowsAhead(globals);
  finish_only_all_tasks(globals);
  BufferProcs* procs = HostBuffers(globals);
  InvocationStorage* s = globals->storage;
  const TParameters* p = Params(globals);
  if (s && p && p->outputMode == kOutputModeBrickSphere) DestroyLegoBall(&s->brickSphere, globals);
  if (s) DumpPolyStorage(&s->outputPolyhedron, procs);
  DumpPolyStorage(globals->inputPolyhedron, procs);
  RobustDispose(&globals->inputPolyhedron, &globals->inputPolyhedronBufferID, procs);
}

void UponFinalFiltrationTasks(Globals* globals) {
  if (TParameters* p = Params(globals)) p->previewOffsetH = p->previewOffsetV = 0;
}

void PushRectAndPreviewState(StateStructure* save, Globals* globals) {
  const FilterRecord* fr = globals->filterRecord;
  const TParameters* p = Params(globals);
  *save = StateStructure{};
  if (p) {
    save->previewOffsetH = p->previewOffsetH;
    save->previewOffsetV = p->previewOffsetV;
    save->runMode = p->runMode;
    save->previewScale = p->previewScale;
  }
  save->inRect = fr->inRect;
  save->outRect = fr->outRect;
  save->maskRect = fr->maskRect;
  save->currentRow = globals->currentRow;
  save->filterTop = fr->filterRect.top;
}

void PopRectAndPreviewState(const StateStructure* save, Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  TParameters* p = Params(globals);
  if (p) {
    p->previewOffsetH = save->previewOffsetH;
    p->previewOffsetV = save->previewOffsetV;
    p->runMode = save->runMode;
    p->previewScale = save->previewScale;
  }
  fr->inRect = save->inRect;
  fr->outRect = save->outRect;
  fr->maskRect = save->maskRect;
  globals->currentRow = save->currentRow;
  if (save->runMode == RunMode_Preview) SetUpFilterRecordForProxy(globals, save->previewScale);
}
