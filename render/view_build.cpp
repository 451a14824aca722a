#include "render/view_build.h"

#include <cmath>

#include "frame/globals.h"
#include "frame/scripting_sanitize.h"
#include "frame/task_pool.h"
#include "frame/view_coords.h"
#include "platform/plugin_api.h"
#include "projection/mollweide.h"
#include "projection/render_hint.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"
#include "pyramid/pyramid_descriptor.h"
#include "render/framing_modes.h"
#include "render/output_modes.h"
#include "render/vort.h"

namespace {

constexpr float kColorUnit = 1.5259022e-5f;  // 1 / 65535
constexpr float kMaxViewAngle = 360.0f;
constexpr float kViewPlaneClamp = 0.999f;
constexpr float kInputHintScale = 5.656854f;  // 2^2.5
constexpr int32_t kTiltMode = 60;
constexpr float kTiltLimit = 1.5393804f;
constexpr int32_t kTissotColumns = 18;
constexpr int32_t kTissotRows = 9;

void UnitColour(const uint16_t c[3], float out[4]) {
  for (int i = 0; i < 3; ++i) out[i] = float(c[i]) * kColorUnit;
  out[3] = 1.0f;
}

// Image-plane width of a rectilinear view spanning `fraction` of a half
// turn; held short of a half turn, where the plane would be infinite.
float ViewPlaneWidth(float fraction) {
  const float f = fraction < kViewPlaneClamp ? fraction : kViewPlaneClamp;
  return 2.0f * std::tan(f * kPiF * 0.5f);
}

bool ViewAngleIsValid(float angle) { return std::isfinite(angle) && angle >= 0.0f && angle <= kMaxViewAngle; }

bool HostHasEditableTransparency(const FilterRecord* fr) {
  return fr->filterCase == kFilterCaseEditableTransparencyNoSelection ||
         fr->filterCase == kFilterCaseEditableTransparencyWithSelection;
}

void ResetTaskHints(Globals* globals, const vort& view) {
  if (!globals->taskRecords) return;
  const float scale = std::exp2(view.viewAngle / 180.0f * 5.0f);
  for (int32_t i = 0; i < globals->taskRecordCount; ++i) {
    PerTaskStuffType& t = globals->taskRecords[i];
    t.outputHint.band = kNoBand;
    t.outputHint.outputMode = view.outputMode;
    t.outputHint.renderKind = view.renderKind;
    t.outputHint.scale = scale;
    t.tissotSearchStart = 0;
    FillInInputPolyHints(&t.inputHint);
  }
}

}  // namespace

bool PixelOutputSupports(int32_t imageMode, int32_t depth) {
  if ((imageMode == kImageModeGray || imageMode == kImageModeRGB) && depth <= 8 && depth > 0) return true;
  if ((imageMode == kImageModeGray16 || imageMode == kImageModeRGB48) && depth == 16) return true;
  return imageMode == kImageModeRGB96 || imageMode == kImageModeGray32 || depth == 32;
}

const char* ViewBuildStatusMessage(ViewBuildStatus status) {
  switch (status) {
    case ViewBuild_OK: return "";
    case ViewBuild_NoSettings: return "The settings are missing.";
    case ViewBuild_UnknownMode: return "There is no output mode of this number.";
    case ViewBuild_BadViewAngle: return "The view angle must be a number of degrees from 0 to 360.";
    case ViewBuild_BadImageMode: return "Images of this mode and depth cannot be filtered.";
    case ViewBuild_NoInput: return "The image has not been read.";
    case ViewBuild_ModeNotBuiltYet:
      return "This output mode is not built yet, so it cannot be rendered: it needs a polyhedron or the brick "
             "sphere.";
  }
  return "The view cannot be built.";
}

void FillInTwirlyMinusOne(Globals* globals, vort* view) {
  const TParameters* p = Params(globals);
  view->previewScale = p ? p->previewScale : 1;
  if (view->previewScale < 1) view->previewScale = 1;
  view->previewOffsetH = p ? p->previewOffsetH : 0;
  view->previewOffsetV = p ? p->previewOffsetV : 0;
  view->filterTable = globals->storage ? globals->storage->filterTable : nullptr;
  view->columnRecords = globals->columnRecords;
}

void FillInInputPolyHints(renderhinttype* hint) {
  hint->outputMode = 0;
  hint->renderKind = 0;
  hint->lastTab = 0;
  hint->lastFace = 0;
  hint->lastListIndex = 0;
  hint->scale = kInputHintScale;
  hint->band = kNoBand;
}

void FillInTissotSpots(vort* view) {
  int32_t n = 0;
  for (int32_t r = 1; r < kTissotRows; ++r) {
    const bool nearPole = r == 1 || r == kTissotRows - 1;
    for (int32_t c = 0; c < kTissotColumns; ++c) {
      if (nearPole && (c & 1)) continue;
      RectangularToSpherical(float(c) / float(kTissotColumns), float(r) / float(kTissotRows), view->tissotSpots[n++]);
    }
  }
  RectangularToSpherical(0.0f, 0.0f, view->tissotSpots[n++]);
  RectangularToSpherical(0.0f, 1.0f, view->tissotSpots[n++]);
  view->tissotSpotCount = n;
}

ViewBuildStatus BuildPrimaryView(Globals* globals, vort* view) {
  *view = vort{};
  TParameters* p = Params(globals);
  if (!p) return ViewBuild_NoSettings;
  const FilterRecord* fr = globals->filterRecord;
  if (!PixelOutputSupports(fr->imageMode, fr->depth)) return ViewBuild_BadImageMode;
  if (!ViewAngleIsValid(p->viewAngle)) return ViewBuild_BadViewAngle;
  if (!IsKnownOutputMode(p->outputMode)) return ViewBuild_UnknownMode;
  view->modeRow = FindOutputMode(p->outputMode);
  // Every mode that needs neither a polyhedron nor the brick sphere has a
  // route; the others wait for the solids.
  if (!view->modeRow || !view->modeRow->route) return ViewBuild_ModeNotBuiltYet;

  FillInTwirlyMinusOne(globals, view);
  view->inputPyramid = &globals->pyramids[kPyramidMain];
  if (!PyramidHasLevel(view->inputPyramid, 0)) return ViewBuild_NoInput;
  view->mollweideTable = MollweideThetaTable();  // built here, before any task reads it
  view->cachePyramid = &globals->pyramids[kPyramidScratch];
  view->altOutputMode = p->altOutputMode;
  view->mirrorInput = p->mirrorInput;

  view->viewAngle = p->viewAngle;
  view->twirlY = p->twirlY;
  view->twirlX = p->twirlX;
  view->twirlSpin = p->twirlSpin;
  if (p->outputMode == kTiltMode) {
    float t = p->twirlX * kPiF / 180.0f;
    t = t < -kTiltLimit ? -kTiltLimit : (t > kTiltLimit ? kTiltLimit : t);
    view->tiltSlope = std::tan(t);
    p->twirlX = 0.0f;
    view->twirlX = 0.0f;
  }

  UnitColour(p->colorA, view->colorAUnit);
  UnitColour(p->colorB, view->colorBUnit);
  for (int i = 0; i < 3; ++i) view->colorMidUnit[i] = (view->colorAUnit[i] + view->colorBUnit[i]) * 0.5f;
  view->colorMidUnit[3] = 1.0f;

  GetInputOutputProportions(globals, view);
  if (globals->storage) {
    view->polyhedron = &globals->storage->outputPolyhedron;
    view->polyhedron->owner = globals;
    view->legoBall = &globals->storage->brickSphere;
  }
  view->inputPolyhedron = globals->inputPolyhedron;
  if (view->inputPolyhedron) view->inputPolyhedron->owner = globals;
  view->inputMode = p->inputMode;
  view->outputMode = p->outputMode;
  InitTwirlTranformationForGyrelle(view->twirlY, view->twirlX, view->twirlSpin, &view->tumble);
  view->renderKind = p->anamorphic ? 1 : 0;

  // Modes with a route draw no polyhedron; the sheet solids of the
  // multi-view modes are not built, so their sheets hold no views.
  PrepBoundingBoxForNonPolyhedron(0, view, p->anamorphic, view->viewAngle);
  view->viewPlaneWidth = ViewPlaneWidth(view->viewAngle / 180.0f);
  view->halfAngleViewPlaneWidth = ViewPlaneWidth(view->viewAngle / 360.0f);

  ResetTaskHints(globals, *view);

  view->transparentBackground = (p->transparentBackground || p->transparentVoid) ? 1 : 0;
  view->transparentVoid = p->transparentVoid ? 1 : 0;
  if (!HostHasEditableTransparency(fr) && p->runMode != RunMode_ExportLayer) {
    view->transparentBackground = 0;
    view->transparentVoid = 0;
  }
  view->gridOn = p->graticule != Graticule_Off ? 1 : 0;
  view->edgesOn = p->edgesOn ? 1 : 0;
  view->tissotOn = p->tissotOn ? 1 : 0;
  if (view->tissotOn) FillInTissotSpots(view);
  return ViewBuild_OK;
}
