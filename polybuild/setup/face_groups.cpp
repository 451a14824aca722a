#include "polybuild/setup/face_groups.h"

#include <algorithm>

#include "frame/globals.h"  // the cramming plan takes the whole invocation: its settings, storage and progress
#include "frame/base/host_suites.h"
#include "frame/base/progress_services.h"
#include "polybuild/setup/net_triangulation.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polybuild/setup/polyhedron_setup_steps.h"
#include "polyhedron/nets/net_fit.h"
#include "polyhedron/nets/net_tabs.h"
#include "polyhedron/nets/unfold_facegroups.h"
#include "polyhedron/nets/fragment_layout.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_record.h"

namespace {

// The fixed net method of export layouts: a computed net with one tab per
// glued edge.
constexpr int32_t kExportNetMethod = 3;
constexpr int32_t kCramUnitScales = 1;
constexpr float kTabDepthPerUnit = 0.005f;  // tab size setting to net units

// Curved-element solids carry element tags in their faces; their groups come
// from the tag tables of the curved-element builders.
bool IsCurvedElementShape(int32_t shape) { return shape >= 161 && shape <= 180; }

// Planning hundreds of groups is long work: the host shows how far it got
// and may stop it.
bool PlanStep(void* context, int32_t done, int32_t total) {
  auto* globals = static_cast<Globals*>(context);
  CCUpdateProgress_core(globals, done, total);
  return !CCTestAbort(globals);
}

}  // namespace

int32_t FacegroupOf3DFace_weirdo(int32_t face, const polyhedron* poly) { return VivoFacegroupOf3DFace(face, poly); }

int32_t FacegroupOf2DFace(int32_t face, const polyhedron* poly) {
  if (!poly) return 0;
  if (face < 0) return -1;
  if (poly->n2DFaces > 0) face = std::min(face, poly->n2DFaces - 1);
  if (IsCurvedElementShape(poly->shapeCode)) return FacegroupOf3DFace_weirdo(poly->faces[face].face3D, poly);
  return poly->facegroupTable ? poly->facegroupTable[face] : face;
}

int32_t NewCountFacegroupsInPoly(const polyhedron* poly) {
  if (!poly) return 1;
  int32_t largest = 0;
  // A net may lay a solid face out more than once (curved-element wings
  // join two pieces), so its faces can outnumber the solid's.
  const int32_t faces = std::max(poly->n3DFaces, poly->n2DFaces);
  for (int32_t f = 0; f < faces; ++f) largest = std::max(largest, FacegroupOf2DFace(f, poly));
  return 1 + largest;
}

int32_t highest_3D_vertex(const polyhedron* poly) {
  int32_t highest = -1;
  if (!poly) return highest;
  for (int32_t f = 0; f < poly->n3DFaces; ++f)
    for (int32_t c = 0; c < poly->faces[f].n3D && c < kPolyMaxCorners; ++c)
      highest = std::max(highest, poly->faces[f].vert3D[c]);
  return highest;
}

int32_t highest_2D_vertex_excluding_tabs(const polyhedron* poly) {
  int32_t highest = -1;
  if (!poly) return highest;
  for (int32_t f = 0; f < poly->n2DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    if (face.face3D < 0) continue;
    for (int32_t c = 0; c < face.n2D && c < kPolyMaxCorners; ++c) highest = std::max(highest, face.vert2D[c]);
  }
  return highest;
}

namespace {

// One group's candidate turns: the directions of its net face's edges, each
// also mirrored; one of them lies along the face's narrowest extent.
int32_t CandidateTurns(const polyhedron* poly, int32_t k, float candidates[2 * kPolyMaxCorners]) {
  int32_t count = 0;
  if (k < poly->n2DFaces) {
    const PolyFace& face = poly->faces[k];
    for (int32_t e = 0; e < face.n2D && e < kPolyMaxCorners; ++e) {
      candidates[count++] = face.edgeAngle2D[e];
      candidates[count++] = -face.edgeAngle2D[e];
    }
  }
  return count;
}

// How a trial turn is measured. A row that overrides the caller's turn
// builds every trial alike, so one build answers them all. Otherwise the
// net, its links and its tab marks do not depend on the turn, and of a
// set-up only the turn of the face corners, the triangles and their tabs
// place what a face's box takes in; that holds while the set-up turns and
// tabs the net itself, fits nothing afterwards (unit cram), borrows no tabs
// and ran without error. Any other solid is set up whole for every trial.
enum class TrialKind { SetUpWhole, TurnTheBuiltNet, SameForEveryTurn };

struct TurnTrials {
  TrialKind kind;
  int16_t netMethod;
  int32_t firstTabVertex;  // where the set-up's tab vertices start
};

bool SameChoice(const PolySetupChoice& a, const PolySetupChoice& b) {
  return a.netMethod == b.netMethod && a.cramMode == b.cramMode && a.angle == b.angle;
}

TurnTrials PrepareTurnTrials(int32_t outputMode, const polyhedron* poly) {
  PolyhedronParams row{};
  get_polyhedron_params_from_output_mode(outputMode, &row);
  const PolySetupChoice choice = ChoosePolySetupInputs(row, kExportNetMethod, kCramUnitScales, 0.0f);
  const PolySetupChoice turned = ChoosePolySetupInputs(row, kExportNetMethod, kCramUnitScales, 1.0f);
  TurnTrials t{TrialKind::SetUpWhole, choice.netMethod, std::clamp(poly->n2DVerts, 0, kPolyMax2DVerts)};
  if (SameChoice(choice, turned)) {
    t.kind = TrialKind::SameForEveryTurn;
    return t;
  }
  if (turned.angle != 1.0f || choice.cramMode != kCramUnitOnly || choice.netMethod == kNetMethodSolidOnly) return t;
  if (poly->errorCode != 0 || poly->exportPlanShape != -1) return t;
  const int32_t triangles = std::clamp(poly->nTriangles, 0, kPolyMaxTriangles);
  for (int32_t i = 0; i < triangles; ++i) {
    // A tab's first triangle runs from its edge's start to its first new
    // vertex, the first vertex the tabs added.
    if (poly->triangles[i].isTab && poly->triangles[i].face2D >= 0) {
      t.firstTabVertex = poly->triangles[i].vert2D[1];
      break;
    }
  }
  t.kind = TrialKind::TurnTheBuiltNet;
  return t;
}

// The set-up's own steps for the turn, on the solid already built: the face
// corners turned from their untouched coordinates, every face cut into
// triangles in the set-up's order and the tabs laid on them, so that face
// k's triangles hold the very bytes a whole set-up would give them.
void TurnBuiltNet(polyhedron* poly, const TurnTrials& t, float angle) {
  RotateNetAndSetRenderPoints(poly, double(angle));
  poly->nTriangles = 0;
  const int32_t faces = std::clamp(poly->n2DFaces, 0, kPolyMaxFaces);
  for (int32_t f = 0; f < faces; ++f) EarClip(f, poly);
  if (NetMethodHasTabs(t.netMethod)) {
    poly->n2DVerts = t.firstTabVertex;
    BuildTabsUponTriangles(poly);
  }
}

bool ReportPlanProgress(const CrammingPlan* plan, int32_t done, int32_t total) {
  return !plan->progress || plan->progress(plan->progressContext, done, total);
}

}  // namespace

double PlanCrammingForExportation_core(int32_t outputMode, int32_t groupCount, BufferProcs* procs, polyhedron* poly,
                                       float tabDepth, uint8_t fullDetail, CrammingPlan* plan) {
  if (!poly || !plan) return 0.0;
  if (groupCount <= 0) {
    plan->scale = 0.0f;
    return 0.0;
  }
  auto setUp = [&](float angle) {
    DarOzoPolySetup(outputMode, poly, 1.0f, tabDepth, kCramUnitScales, angle, kExportNetMethod, procs, fullDetail);
  };
  // The solid and its net are built once; the groups' trials turn it.
  poly->unfoldingIndex = 0;
  setUp(0.0f);
  const TurnTrials trials = PrepareTurnTrials(outputMode, poly);
  float maxWidth = 0.0f, maxHeight = 0.0f, lastTurn = 0.0f;
  bool stopped = false;
  for (int32_t k = 0; k < groupCount && !stopped; ++k) {
    if (!ReportPlanProgress(plan, k, groupCount)) {
      stopped = true;
      break;
    }
    poly->unfoldingIndex = k;
    if (trials.kind == TrialKind::SetUpWhole) setUp(0.0f);
    float candidates[2 * kPolyMaxCorners];
    const int32_t count = CandidateTurns(poly, k, candidates);
    float chosenWidth = 0.0f, chosenHeight = 0.0f;
    for (int32_t i = 0; i < count; ++i) {
      if (trials.kind == TrialKind::TurnTheBuiltNet)
        TurnBuiltNet(poly, trials, candidates[i]);
      else if (trials.kind == TrialKind::SetUpWhole)
        setUp(candidates[i]);
      lastTurn = candidates[i];
      float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
      Find2DBoundingBoxSpecial(poly, &xMin, &xMax, &yMin, &yMax, k, kBoxOfFace);
      const float width = xMax - xMin;
      if (i > 0 && !(width < chosenWidth)) continue;  // the earlier one wins ties
      chosenWidth = width;
      chosenHeight = yMax - yMin;
      plan->centreX[k] = (xMin + xMax) * 0.5f;
      plan->centreY[k] = (yMin + yMax) * 0.5f;
      plan->angle[k] = candidates[i];
    }
    if (count == 0) lastTurn = 0.0f;
    maxWidth = std::max(maxWidth, chosenWidth);
    maxHeight = std::max(maxHeight, chosenHeight);
  }
  // Turned trials leave a net of triangles only; the solid is set up whole
  // again for the last turn tried, as the renderer expects to find it.
  poly->unfoldingIndex = groupCount - 1;
  if (trials.kind == TrialKind::TurnTheBuiltNet) poly->setupCache.outputMode = kPolySetupCacheEmpty;
  if (trials.kind != TrialKind::SetUpWhole) setUp(lastTurn);
  if (stopped) maxWidth = 0.0f;
  // A plan with no width has no scale either; a render of it draws nothing
  // rather than dividing by zero.
  plan->scale = maxWidth > 0.0f ? 1.0f / maxWidth : 0.0f;
  return maxWidth > 0.0f ? double(maxHeight) / double(maxWidth) : 0.0;
}

double PlanCrammingForExportation(Globals* globals, int32_t outputMode, int32_t groupCount, BufferProcs* procs,
                                  polyhedron* poly) {
  TParameters* p = Params(globals);
  InvocationStorage* s = globals ? globals->storage : nullptr;
  if (!p || !s || !poly) return 0.0;
  groupCount = std::clamp(groupCount, 0, int32_t(kMaxFaceGroups));
  CrammingPlan plan{s->crammedCentreX, s->crammedCentreY, s->crammedAngle, 0.0f, PlanStep, globals};
  const float tabDepth = p->tabSize * kTabDepthPerUnit;
  const uint8_t fullDetail = p->runMode != RunMode_Preview ? 1 : 0;
  double ratio = 0.0;
  if (poly->exportPlanShape == -1) {
    ratio = PlanCrammingForExportation_core(outputMode, groupCount, procs, poly, tabDepth, fullDetail, &plan);
  } else {
    BufferID id = 0;
    void* block = RobustNewPtr(sizeof(polyhedron), &id, procs);
    if (!block) return 0.0;
    polyhedron* scratch = static_cast<polyhedron*>(block);
    NullifyPolyStorage(scratch);
    InitPoly(scratch, 1.0f, tabDepth);
    scratch->owner = globals;
    ratio = PlanCrammingForExportation_core(poly->exportPlanShape, groupCount, procs, scratch, tabDepth, fullDetail,
                                            &plan);
    DumpPolyStorage(scratch, procs);
    RobustDisposePtr(&block, &id, procs);
  }
  s->crammedScale = plan.scale;
  return ratio;
}
