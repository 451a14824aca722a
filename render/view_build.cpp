#include "render/view_build.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "frame/globals.h"  // the view is built from the whole invocation: its settings, pyramids, sizes and solid
#include "frame/base/layout_names.h"
#include "frame/base/task_pool.h"
#include "frame/view_coords.h"  // the view's sizes are the invocation's: the export canvas or the host's rectangles
#include "platform/plugin_api.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/net_fit.h"
#include "polyhedron/polyhedron.h"
#include "projection/inverse/mollweide.h"
#include "projection/render_hint.h"
#include "projection/scalar_math.h"
#include "projection/inverse/special_views.h"
#include "projection/sphere_convention.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_descriptor.h"
#include "render/routes/crammed_floret.h"
#include "render/framing_modes.h"
#include "render/output_modes.h"
#include "render/render_services.h"
#include "render/routes/routes_brick.h"
#include "render/vort.h"

namespace {

constexpr float kColorUnit = 1.5259022e-5f;  // 1 / 65535
constexpr float kViewPlaneClamp = 0.999f;
constexpr float kInputHintScale = 5.656854f;  // 2^2.5
constexpr int32_t kTiltMode = 60;
constexpr float kTiltLimit = 1.5393804f;
constexpr int32_t kTissotColumns = 18;
constexpr int32_t kTissotRows = 9;
constexpr float kTabDepthPerUnit = 0.005f;  // tab size setting to net units
constexpr int32_t kBrickSphereMode = 45;
constexpr int32_t kPolyMapMode = 1045;
constexpr int32_t kLegoModePolyMap = 2;
constexpr int32_t kSkewedTilingMode = 64;
constexpr int32_t kNetMethodFromTable = 1;
constexpr int32_t kNetMethodTabPerEdge = 3;  // the net method the export plan measured

// The solid each multi-view sheet shows one view per face of, by the output
// mode that draws that solid: sheets of 4, 12, 24, 60 and 72 views.
constexpr int32_t kFirstSheetMode = 75;
constexpr int32_t kSheetSolidModes[] = {6, 9, 27, 33, 54};

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

// Settings take view angles up to kViewAngleMost (and the refusal says so);
// records read from files may hold up to a full turn, which still renders.
constexpr float kMostRenderedViewAngle = 360.0f;

bool ViewAngleIsValid(float angle) {
  return std::isfinite(angle) && angle > kViewAngleAbove && angle <= kMostRenderedViewAngle;
}

bool HostHasEditableTransparency(const FilterRecord* fr) {
  return fr->filterCase == kFilterCaseEditableTransparencyNoSelection ||
         fr->filterCase == kFilterCaseEditableTransparencyWithSelection;
}

// Builds the solid of `solidMode` into the view's polyhedron with the net
// the mode table gives it, unturned and fitted plainly; false when the
// catalogue cannot make the shape (the record is then empty).
bool SetUpViewSolid(Globals* globals, const TParameters& p, vort* view, int32_t solidMode) {
  polyhedron* poly = view->polyhedron;
  if (!poly) return false;
  const uint8_t fullDetail = p.runMode == RunMode_Preview ? 0 : 1;
  DarOzoPolySetup(solidMode, poly, view->outputAspect, p.tabSize * kTabDepthPerUnit, 0, 0.0f, kNetMethodFromTable,
                  HostBuffers(globals), fullDetail);
  return poly->errorCode != kPolyErrorShapeNotAvailable && poly->n3DFaces > 0 && poly->n2DFaces > 0 &&
         poly->nTriangles > 0;
}

// A shape the catalogue knows and builds without error, but with no face.
bool SolidDefinedEmpty(const polyhedron* poly) {
  return poly && poly->errorCode == kPolyErrorNone && poly->n3DFaces == 0;
}

// One face group of a layered export: the solid is built with the group's
// planned turn and the net method the plan measured, and placed at the
// group's planned centre at the plan's common scale. The set-up's cache
// does not know the placement, so a build of another group is forced even
// when the two share a turn; the groups share one unfolding, which the
// export keeps for its layers.
bool SetUpPlannedSolid(Globals* globals, const TParameters& p, vort* view) {
  polyhedron* poly = view->polyhedron;
  InvocationStorage* s = globals->storage;
  if (!poly || !s) return false;
  const int32_t k = std::clamp(poly->unfoldingIndex, int32_t(0), int32_t(kMaxFaceGroups - 1));
  poly->unfoldingIndex = k;
  poly->plannedPlacement[0] = s->crammedCentreX[k];
  poly->plannedPlacement[1] = s->crammedCentreY[k];
  poly->plannedPlacement[2] = s->crammedScale;
  if (poly->unfoldingBuilt != k) poly->setupCache.outputMode = kPolySetupCacheEmpty;
  const uint8_t fullDetail = p.runMode == RunMode_Preview ? 0 : 1;
  DarOzoPolySetupReusing(&s->exportUnfolding, p.outputMode, poly, view->outputAspect, p.tabSize * kTabDepthPerUnit,
                         kCramPlanned, s->crammedAngle[k], kNetMethodTabPerEdge, HostBuffers(globals), fullDetail);
  return poly->errorCode != kPolyErrorShapeNotAvailable && poly->n3DFaces > 0 && poly->n2DFaces > 0 &&
         poly->nTriangles > 0;
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

// Worded from the one range the renderer, the dialog and `--list` share.
static const char* BadViewAngleMessage() {
  struct Text {
    char chars[96];
    Text() {
      std::snprintf(chars, sizeof chars, "The view angle must be a number of degrees above %g and up to %g.",
                    double(kViewAngleAbove), double(kViewAngleMost));
    }
  };
  static const Text text;  // made once, safely from any thread
  return text.chars;
}

const char* ViewBuildStatusMessage(ViewBuildStatus status) {
  switch (status) {
    case ViewBuild_OK: return "";
    case ViewBuild_NoSettings: return "The settings are missing.";
    case ViewBuild_UnknownMode: return "There is no output mode of this number.";
    case ViewBuild_BadViewAngle: return BadViewAngleMessage();
    case ViewBuild_BadImageMode: return "Images of this mode and depth cannot be filtered.";
    case ViewBuild_NoInput: return "The image has not been read.";
    case ViewBuild_PolyMapNeedsSolid:
      return "The polyhedron map draws the solid of another output mode, and the mode it was given has none.";
    case ViewBuild_SolidHasNoFaces:
      return "This output mode's solid has no faces, so there is nothing to draw.";
    case ViewBuild_ModeNotBuiltYet:
      return "This output mode is not built yet, so it cannot be rendered: its solid or the brick sphere cannot be "
             "made yet.";
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
  // A polyhedral mode is drawn by its net, the brick sphere by its own
  // route; every other mode needs a route. The poly-map draws the solid of
  // the mode it stands in for, which must have one.
  const bool polyMap = p->outputMode == kPolyMapMode;
  const int32_t solidMode = polyMap ? p->altOutputMode : p->outputMode;
  if (polyMap && !IsPolyhedron(solidMode)) return ViewBuild_PolyMapNeedsSolid;
  const bool polyhedral = IsPolyhedron(solidMode);
  const bool brick = p->outputMode == kBrickSphereMode;
  if (!polyhedral && !brick && (!view->modeRow || !view->modeRow->route)) return ViewBuild_ModeNotBuiltYet;

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
  view->isPolyhedral = polyhedral ? 1 : 0;
  if (brick) SetUpBrickView(globals, *p, view);

  if (polyhedral) {
    // The net's own fit frames the output; a net read through petals (a
    // crammed fit) is framed by its floret's canvas. A shape the catalogue
    // cannot make yet is not drawn.
    const bool planned = view->polyhedron && view->polyhedron->unfoldingIndex != -1;
    if (!(planned ? SetUpPlannedSolid(globals, *p, view) : SetUpViewSolid(globals, *p, view, solidMode)))
      return SolidDefinedEmpty(view->polyhedron) ? ViewBuild_SolidHasNoFaces : ViewBuild_ModeNotBuiltYet;
    FetchPolySnuggling(view->polyhedron, &view->snuggle);
    // The poly-map meets the solid by rays and reads no net, crammed or not;
    // its regions are the faces, so it always shows them.
    if (polyMap) view->legoMode = kLegoModePolyMap;
    if (!polyMap && view->polyhedron->cramMode != 0 && !SetUpCrammedFloretView(view))
      return ViewBuild_ModeNotBuiltYet;
    view->falseColors = p->falseColors || polyMap ? 1 : 0;
    if (p->anamorphic) view->renderKind = 3;
    view->polySpotsOn = view->polyhedron->scissorMarkCount > 0 ? 1 : 0;
  } else {
    int32_t sheetViews = 0;
    if (IsMultiview(p->outputMode)) {
      // Each cell of the sheet looks through one face of the solid.
      if (!SetUpViewSolid(globals, *p, view, kSheetSolidModes[p->outputMode - kFirstSheetMode]))
        return ViewBuild_ModeNotBuiltYet;
      sheetViews = view->polyhedron->n3DFaces;
    }
    PrepBoundingBoxForNonPolyhedron(sheetViews, view, p->anamorphic, view->viewAngle);
  }
  // An anamorphic tiling is bent at the sphere point, as the flat maps are,
  // not by the net's up vector.
  if (p->outputMode == kSkewedTilingMode && p->anamorphic) view->renderKind = 1;
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
