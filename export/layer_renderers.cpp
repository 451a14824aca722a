#include "export/layer_renderers.h"

#include <algorithm>
#include <cmath>

#include "frame/export_layer.h"  // the layer is rendered by the frame's export-layer pass, which drives the whole invocation
#include "frame/globals.h"  // the layer renderers set the invocation's settings for each layer and render through it
#include "pyramid/pyramid_copy.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

// Rows whose number is a multiple of 4 skip the abort poll, so a one-row
// layer never polls.
constexpr int32_t kPollSkipMask = 3;
constexpr int32_t kOutputModeRectilinear = 14;
constexpr int32_t kOutputModePolyhedronEquiMap = 1045;
constexpr double kDegreesPerRadian = 57.2957795129;

constexpr CubeFaceTurn kCubeTurns[6] = {
    {-90.0f, -90.0f, -90.0f},  // _d
    {90.0f, 90.0f, -90.0f},    // _u
    {0.0f, -90.0f, 0.0f},      // _l
    {0.0f, 180.0f, 0.0f},      // _b
    {0.0f, 90.0f, 0.0f},       // _r
    {0.0f, 0.0f, 0.0f},        // _f
};

struct CubeContext {
  int32_t layer;
  int32_t width;
};

void PlainResult(TParameters* p) { p->glueMode = 1; }

void ConfigureCube(Globals* globals, void* context) {
  const CubeContext* c = static_cast<const CubeContext*>(context);
  TParameters* p = Params(globals);
  PlainResult(p);
  p->outputMode = kOutputModeRectilinear;
  // A square face seen from the centre spans 2·atan(1): 90 degrees.
  p->viewAngle = float(2.0 * std::atan(double(c->width) / double(c->width)) * kDegreesPerRadian);
  const CubeFaceTurn t = CubeFaceTurnOf(c->layer);
  p->twirlX = t.twirlX;
  p->twirlY = t.twirlY;
  p->twirlSpin = t.twirlSpin;
}

void ConfigureFaces(Globals* globals, void* context) {
  PlainResult(Params(globals));
  globals->storage->outputPolyhedron.unfoldingIndex = *static_cast<const int32_t*>(context) - 1;
}

void ConfigureEquiPolyMap(Globals* globals, void*) {
  TParameters* p = Params(globals);
  PlainResult(p);
  globals->storage->outputPolyhedron.unfoldingIndex = -1;
  p->altOutputMode = p->outputMode;
  p->outputMode = kOutputModePolyhedronEquiMap;
}

bool Ready(Globals* globals, const PyramidDescriptor* canvas, const uint8_t* cancelled) {
  return globals && globals->storage && Params(globals) && canvas && cancelled && PyramidHasLevel(canvas, 0);
}

}  // namespace

CubeFaceTurn CubeFaceTurnOf(int32_t layer) { return kCubeTurns[std::clamp(layer, 1, 6) - 1]; }

// The pass restores the preview's rectangles itself (the host is asked for
// the proxy again when the dialog is up).
void GenerateOneLayerOfExportFaces(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled) {
  if (!Ready(globals, canvas, cancelled)) return;
  RenderExportLayerPass(globals, canvas, cancelled, kPollSkipMask, false, ConfigureFaces, &layer);
  globals->storage->outputPolyhedron.unfoldingIndex = -1;
}

void GenerateOneLayerOfEquiPolyMap(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled) {
  (void)layer;
  if (!Ready(globals, canvas, cancelled)) return;
  RenderExportLayerPass(globals, canvas, cancelled, kPollSkipMask, false, ConfigureEquiPolyMap, nullptr);
  globals->storage->outputPolyhedron.unfoldingIndex = -1;
}

void GenerateOneLayerOfCube(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled) {
  if (!Ready(globals, canvas, cancelled)) return;
  // Rows a cancel leaves unrendered show the pattern, not an older face.
  PaintTestPattern(canvas);
  CubeContext c{layer, canvas->levelWidth[0]};
  RenderExportLayerPass(globals, canvas, cancelled, kPollSkipMask, false, ConfigureCube, &c);
}
