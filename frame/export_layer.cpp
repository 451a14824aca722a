#include "frame/export_layer.h"

#include "dialog/dialog_services.h"
#include "export/brick/brick_plan.h"
#include "export/layer_renderers.h"
#include "export/psd/psd_doc.h"
#include "frame/globals.h"
#include "frame/pass_rects.h"
#include "frame/invocation.h"
#include "frame/preroll.h"
#include "frame/progress.h"
#include "frame/render_passes.h"
#include "frame/base/result_codes.h"
#include "pyramid/pyramid_copy.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

// Every eighth turn of the row loop skips the export's own abort poll.
constexpr int32_t kPollSkipMask = 7;

void BasicResultLayer(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel, PSDdoc*) {
  GenerateOneLayerOfBasicResult(globals, canvas, layer, cancel);
}

struct KindRenderer {
  int32_t kind;
  LayerRenderer render;  // null: that export writer has no layer renderer yet
};

void CubeLayer(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel, PSDdoc*) {
  GenerateOneLayerOfCube(globals, canvas, layer, cancel);
}
void FacesLayer(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel, PSDdoc*) {
  GenerateOneLayerOfExportFaces(globals, canvas, layer, cancel);
}
void EquiPolyMapLayer(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel, PSDdoc*) {
  GenerateOneLayerOfEquiPolyMap(globals, canvas, layer, cancel);
}

// Kind 5 does not exist. The brick layers (0) are the brick sphere's plans.
constexpr KindRenderer kKindRenderers[] = {
    {0, GenerateOneLayerOfLegoForDocument}, {1, CubeLayer},        {2, FacesLayer},        {3, BasicResultLayer},
    {4, BasicResultLayer}, {6, BasicResultLayer}, {7, EquiPolyMapLayer},
};

// The pass dimensions in Globals that an export layer replaces by the canvas's.
struct PassDimensions {
  int32_t outputWidth, outputHeight, firstRow, lastRow, lastColumn;
};

PassDimensions SaveDimensions(const Globals* g) {
  return PassDimensions{g->outputWidth, g->outputHeight, g->firstRow, g->lastRow, g->lastColumn};
}

void RestoreDimensions(Globals* g, const PassDimensions& d) {
  g->outputWidth = d.outputWidth;
  g->outputHeight = d.outputHeight;
  g->firstRow = d.firstRow;
  g->lastRow = d.lastRow;
  g->lastColumn = d.lastColumn;
}

}  // namespace

void GenerateOneLayerOfKind(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel,
                            int32_t exportKind, PSDdoc* doc) {
  // The kind is read once: exactly one renderer runs, whatever it changes.
  for (const KindRenderer& k : kKindRenderers) {
    if (k.kind != exportKind) continue;
    if (k.render) k.render(globals, canvas, layer, cancel, doc);
    return;
  }
}

void GenerateOneLayer(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel, PSDdoc* doc) {
  if (!doc) return;
  GenerateOneLayerOfKind(globals, canvas, layer, cancel, doc->exportKind, doc);
}

void GenerateOneLayerOfBasicResult(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel) {
  (void)layer;
  RenderExportLayerPass(globals, canvas, cancel, kPollSkipMask, true, nullptr, nullptr);
}

void EndExportLayers(Globals* globals) {
  if (globals && globals->storage) FreePolyUnfoldingSnapshot(&globals->storage->exportUnfolding, HostBuffers(globals));
}

void RenderExportLayerPass(Globals* globals, PyramidDescriptor* canvas, uint8_t* cancel, int32_t pollSkipMask,
                           bool startFromInput, ExportLayerConfigure configure, void* context) {
  FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  InvocationStorage* s = globals ? globals->storage : nullptr;
  TParameters* p = Params(globals);
  if (!canvas || !cancel || !fr || !s || !p) return;

  StateStructure state;
  PushRectAndPreviewState(&state, globals);
  // An export whose dialog never showed a preview has not read the image
  // yet: without this its layers would be drawn from an empty pyramid. The
  // image stays read afterwards, as after a preview.
  MaybeAllocatePyramids(globals);
  if (globals->result != kOK) {
    PopRectAndPreviewState(&state, globals);
    return;
  }
  TParameters savedSettings;
  Ferreting(&savedSettings, globals);
  const Rect savedFilter = fr->filterRect;
  const PassDimensions savedDimensions = SaveDimensions(globals);
  PyramidDescriptor* savedCanvas = s->exportCanvas;

  fr->filterRect = Rect{0, 0, int16_t(canvas->levelHeight[0]), int16_t(canvas->levelWidth[0])};
  // The row loop ends at the pass's last row: that of the canvas, not of the
  // preview that was on screen.
  CalcTemporaryDimensions(globals, &fr->filterRect, 1);
  // The canvas starts as the unfiltered image.
  if (startFromInput) CopyPyrAToB(&globals->pyramids[kPyramidMain], canvas);
  if (configure) configure(globals, context);
  UponFinalFiltrationTasks(globals);
  SetFullsizeRects(globals);
  p->runMode = RunMode_ExportLayer;
  s->exportCanvas = canvas;
  MakeTriangleWave(globals);
  PrerollManipulation(globals);

  for (int32_t turn = 0; *cancel == 0 && globals->moreToDo == 1 && globals->result == kOK; ++turn) {
    // An abort seen by the row step ends this export only, not the invocation.
    bool stop = Manipulate1Line(globals);
    if (!stop && (turn & pollSkipMask) != 0)
      stop = CCTestAbort(globals) || (globals->progressWindow && s->exportCancelled == 1);
    if (stop) {
      *cancel = 1;
      MondoProgressShowCancelling(globals);
    }
  }
  if (*cancel != 0 && globals->result == kUserCancelled) globals->result = kOK;

  Postroll(globals);
  fr->filterRect = savedFilter;
  RestoreDimensions(globals, savedDimensions);
  s->exportCanvas = savedCanvas;
  // Back in the preview this also asks the host for the proxy rectangle
  // again; outside it the caller's own rectangles stand as they were.
  PopRectAndPreviewState(&state, globals);
  UnFerreting(&savedSettings, globals);
}
