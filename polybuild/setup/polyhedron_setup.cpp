#include "polybuild/setup/polyhedron_setup.h"

#include <algorithm>
#include <cstring>

#include "frame/base/host_suites.h"
#include "polybuild/setup/caller_faced_solid.h"
#include "polybuild/setup/net_triangulation.h"
#include "polybuild/setup/origami_marks.h"
#include "polybuild/setup/polyhedron_setup_tabs.h"
#include "polyhedron/catalogue.h"
#include "polyhedron/nets/net_fit.h"
#include "polyhedron/nets/net_points.h"
#include "polyhedron/nets/net_tabs.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/rind_faces.h"
#include "polyhedron/vertex_upkeep.h"

namespace {

constexpr int32_t kNoShape = -1;
constexpr int32_t kNoExportPlanShape = -1;
constexpr int32_t kOrigamiNever = 1;
constexpr int32_t kOrigamiAlways = 2;

int32_t BuildShape(polyhedron* poly, int32_t shapeCode, int16_t method, int32_t cramMode, double angle,
                   BufferProcs* procs, uint8_t fullDetail, bool nested);

bool WantsOrigamiMarks(const polyhedron* poly, int16_t method) {
  if (poly->origamiTabOption == kOrigamiNever) return false;
  if (poly->origamiTabOption == kOrigamiAlways) return true;
  return method == kNetMethodFixed;
}

// The tabs of another output mode's net drawn onto this one (a solid whose
// net is cut finer than the faces that get glued, such as the conformal
// dodecahedron, glues along the coarser solid's edges). That net is built in
// a scratch record of its own, unscaled and turned like this one, so its tab
// points land in this net's frame. Without memory for the record no tabs
// are drawn.
void DrawTabsOfOtherMode(polyhedron* poly, int16_t method, double angle, BufferProcs* procs, uint8_t fullDetail) {
  BufferID id = 0;
  void* block = RobustNewPtr(sizeof(polyhedron), &id, procs);
  if (!block) return;
  // The record is far too large for the stack; it is zero-filled in place.
  std::memset(block, 0, sizeof(polyhedron));
  auto* scratch = static_cast<polyhedron*>(block);
  PolyhedronParams params{};
  get_polyhedron_params_from_output_mode(poly->exportPlanShape, &params);
  NullifyPolyStorage(scratch);
  InitPoly(scratch, poly->targetRect[3], poly->tabDepth);
  scratch->owner = poly->owner;
  BuildShape(scratch, params.shapeCode, method, kCramUnitOnly, angle, procs, fullDetail, true);
  AppendTabTrianglesOf(poly, scratch);
  DumpPolyStorage(scratch, procs);
  RobustDisposePtr(&block, &id, procs);
}

// The first steps after the catalogue: the net's links and which of its
// edges get tabs. They read the net as unfolded, never its turn or fit.
void LinkNetAndMarkTabs(polyhedron* poly, int16_t method) {
  const bool ownTabs = poly->exportPlanShape == kNoExportPlanShape;
  if (NetMethodRebuildsLinks(method)) RebuildNetLinks(poly);
  if (method == kNetMethodFixed) Cleanse2DVertList(poly);
  if (NetMethodHasTabs(method) && ownTabs) {
    if (poly->tabDepth > 0.0f) {
      ClearTabFlags(poly);
      WalkNetOutlines(poly);
    }
    if (method == kNetMethodTabPerEdge) BalanceTabsAcrossSolidEdges(poly, false);
    if (method == kNetMethodGlued && poly->fragmentCount >= 2) BalanceTabsAcrossSolidEdges(poly, true);
  }
}

// The rest: the turn, the triangles and tabs, the fit and the render caches.
// A nested build is the scratch solid of borrowed tabs: it never borrows
// tabs in turn, so two shapes that name each other cannot recurse without
// end.
int32_t TurnCutAndFitNet(polyhedron* poly, int16_t method, int32_t cramMode, double angle, BufferProcs* procs,
                         uint8_t fullDetail, bool nested) {
  const bool ownTabs = poly->exportPlanShape == kNoExportPlanShape;
  if (method != kNetMethodSolidOnly) RotateNetAndSetRenderPoints(poly, angle);
  BuildScissorPlanes(poly);

  poly->nTriangles = 0;
  if (method != kNetMethodSolidOnly) {
    const int32_t faces = std::clamp(poly->n2DFaces, 0, kPolyMaxFaces);
    for (int32_t f = 0; f < faces; ++f) EarClip(f, poly);
  }
  if (NetMethodHasTabs(method)) {
    if (ownTabs)
      BuildTabsUponTriangles(poly);
    else if (!nested)
      DrawTabsOfOtherMode(poly, method, angle, procs, fullDetail);
  }
  if (WantsOrigamiMarks(poly, method)) AddOrigamiTabs(poly);

  CramPoints(poly, cramMode);
  poly->tabDepthBuilt = poly->tabDepth;
  poly->unfoldingBuilt = poly->unfoldingIndex;

  SetUpVector(poly, method);
  if (!NetMethodIsFixed(method)) SetFaceCentroids(poly);
  FillVert3DOfVert2D(poly);
  const int32_t triangles = std::clamp(poly->nTriangles, 0, kPolyMaxTriangles);
  for (int32_t t = 0; t < triangles; ++t) barycentrics_precalc(t, poly);
  Fill_in_rind_precalculables(poly);
  Prepare_vert_buffer(poly);
  return poly->nTriangles;
}

int32_t FinishBuild(polyhedron* poly, int16_t method, int32_t cramMode, double angle, BufferProcs* procs,
                    uint8_t fullDetail, bool nested) {
  LinkNetAndMarkTabs(poly, method);
  return TurnCutAndFitNet(poly, method, cramMode, angle, procs, fullDetail, nested);
}

// The solid and its net as the catalogue (and for one shape, the set-up)
// makes them: everything of a build before FinishBuild.
void LoadShape(polyhedron* poly, int32_t shapeCode, BufferProcs* procs, uint8_t fullDetail) {
  poly->fragmentCount = 0;
  WipeFaceInfo(poly);
  // Tab marks of the previous build would otherwise ride into this one
  // wherever no outline walk replaces them (tab depth 0, borrowed tabs).
  ClearTabFlags(poly);
  ReadFaceInfo(poly, shapeCode, 0, procs, fullDetail);
  // The catalogue leaves this shape's faces to its caller.
  if (shapeCode == kShapeCodeCallerFaces) SupplyCallerFaces(poly, procs);
}

int32_t BuildShape(polyhedron* poly, int32_t shapeCode, int16_t method, int32_t cramMode, double angle,
                   BufferProcs* procs, uint8_t fullDetail, bool nested) {
  if (!poly || shapeCode == kNoShape) return 0;
  LoadShape(poly, shapeCode, procs, fullDetail);
  return FinishBuild(poly, method, cramMode, angle, procs, fullDetail, nested);
}

}  // namespace

int32_t SetUpReallyGeneralPolyhedron(polyhedron* poly, int32_t shapeCode, int16_t netMethod, int32_t cramMode,
                                     double netAngle, BufferProcs* procs, uint8_t fullDetail) {
  return BuildShape(poly, shapeCode, netMethod, cramMode, netAngle, procs, fullDetail, false);
}

int32_t FinishGeneralPolyhedron(polyhedron* poly, int16_t netMethod, int32_t cramMode, double netAngle,
                                BufferProcs* procs, uint8_t fullDetail) {
  if (!poly) return 0;
  return FinishBuild(poly, netMethod, cramMode, netAngle, procs, fullDetail, false);
}

PolySetupChoice ChoosePolySetupInputs(const PolyhedronParams& row, int32_t netMethod, int32_t cramMode,
                                      float netAngle) {
  switch (row.overrideRule) {
    case PolyOverride_CallerChooses:
      return {int16_t(netMethod), cramMode, netAngle};
    case PolyOverride_CallerMethodOnly:
      return {int16_t(netMethod), cramMode, netMethod == kNetMethodTabPerEdge ? netAngle : row.angle};
    default:
      return {int16_t(row.netMethod), row.cramMode, row.angle};
  }
}

void DarOzoPolySetup(int32_t outputMode, polyhedron* poly, float aspect, float tabDepth, int32_t cramMode,
                     float netAngle, int32_t netMethod, BufferProcs* procs, uint8_t fullDetail) {
  DarOzoPolySetupReusing(nullptr, outputMode, poly, aspect, tabDepth, cramMode, netAngle, netMethod, procs,
                         fullDetail);
}

void DarOzoPolySetupReusing(PolyUnfoldingSnapshot* snapshot, int32_t outputMode, polyhedron* poly, float aspect,
                            float tabDepth, int32_t cramMode, float netAngle, int32_t netMethod, BufferProcs* procs,
                            uint8_t fullDetail) {
  if (!poly) return;
  const PolySetupCache& cache = poly->setupCache;
  if (cache.outputMode == outputMode && cache.aspect == aspect && cache.tabDepth == tabDepth &&
      cache.cramMode == uint32_t(cramMode) && cache.angle == netAngle && cache.netMethod == uint32_t(netMethod) &&
      cache.flagA == fullDetail)
    return;
  PolyhedronParams row{};
  get_polyhedron_params_from_output_mode(outputMode, &row);
  const PolySetupChoice choice = ChoosePolySetupInputs(row, netMethod, cramMode, netAngle);
  const PolyUnfoldingKey key =
      PolyUnfoldingKeyOf(poly, outputMode, row.shapeCode, choice.netMethod, aspect, tabDepth, fullDetail);
  if (row.shapeCode == kNoShape || !RestorePolyUnfoldingSnapshot(snapshot, poly, key, procs)) {
    poly->upVector[0] = poly->upVector[1] = poly->upVector[2] = 0.0;
    InitPoly(poly, aspect, tabDepth);
    if (row.shapeCode != kNoShape) {
      LoadShape(poly, row.shapeCode, procs, fullDetail);
      LinkNetAndMarkTabs(poly, choice.netMethod);
      TakePolyUnfoldingSnapshot(snapshot, poly, key, procs);
    }
  }
  if (row.shapeCode != kNoShape)
    TurnCutAndFitNet(poly, choice.netMethod, choice.cramMode, double(choice.angle), procs, fullDetail, false);
  PolySetupCache& stored = poly->setupCache;
  stored.outputMode = outputMode;
  stored.aspect = aspect;
  stored.tabDepth = tabDepth;
  stored.cramMode = uint32_t(cramMode);
  stored.angle = netAngle;
  stored.netMethod = uint32_t(netMethod);
  stored.flagA = fullDetail;
  stored.flagB = 0;
}
