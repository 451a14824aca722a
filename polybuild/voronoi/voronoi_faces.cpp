#include "polybuild/voronoi/voronoi_faces.h"

#include <cmath>

#include "polybuild/voronoi/voronoi_options.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/halfspace_sort.h"
#include "polyhedron/polyhedron_add.h"
#include "projection/planes.h"
#include "projection/rotation.h"
#include "projection/scalar_math.h"

namespace {

// cos 160 degrees: a corner this straight adds a sliver to the fan.
constexpr double kStraightCornerCosine = -0.939692620785908;
constexpr double kShaveEdgeRatio = 15.0;
constexpr double kAlignTolerance = 0.002;

double Distance(const double a[3], const double b[3]) {
  const double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

HALFSPACE* Next(HALFSPACE* node) { return GetNextElementSkippingTheHead(node); }
HALFSPACE* Prev(HALFSPACE* node) { return GetPrevElementSkippingTheHead(node); }

// Saves (a, b, c) wound by the sign of the normal at b against b itself, so
// every triangle of a cell faces the same way out of the sphere.
void SaveOrientedTriangle(const double a[3], const double b[3], const double c[3], polyhedron* poly,
                          HALFSPACE* site, uint8_t shavedFlag, double mergeDistance) {
  double n[3];
  NormalizedCrossProductAround3DpointsD(a, b, c, n);
  const double s = Dot(n, b);
  if (s > 0 || std::isnan(s)) SaveFace_core(c, b, a, poly, site, shavedFlag, mergeDistance);
  else SaveFace_core(a, b, c, poly, site, shavedFlag, mergeDistance);
}

void SortCornersRoundTheCell(HALFSPACE* corners) {
  double c[3];
  GetCentroidOfPointlist(corners, c);
  NormalizeVectorSlowlyD(c);
  double r[3] = {0, 0, -1};
  const bool nearZ = std::fabs(Dot(c, r)) > 0.99;
  if (nearZ) {
    r[0] = 0;
    r[1] = 1;
    r[2] = 0;
  }
  double M[4][4];
  crazy_new_FromToBuildRotationD(r, c, M);
  int32_t index = 0;
  for (HALFSPACE* k = GetFirstElement(corners); !k->isHead; k = k->next) {
    k->index = index++;
    double q[3];
    MultiplyRowVectorBy3x3D(k->point, M, q);
    const double angle = nearZ ? std::atan2(q[2], q[0]) : std::atan2(q[1], q[0]);
    k->key = static_cast<float>(-angle);
  }
  SortAList(corners);
}

double ApexKey(HALFSPACE* k, int32_t rule) {
  switch (rule) {
    case kFanApexHighest:
      return std::fabs(k->point[1]);
    case kFanApexNearestYAxis:
      return -(k->point[0] * k->point[0] + k->point[2] * k->point[2]);
    default:
      return Distance(k->point, Next(k)->point);
  }
}

}  // namespace

HALFSPACE* AddPointToList_while_killing_redundancies(const double point[3], HALFSPACE* list, int32_t index,
                                                     double distance) {
  if (!list || !point) return nullptr;
  for (HALFSPACE* k = GetFirstElement(list); !k->isHead; k = k->next)
    if (Distance(k->point, point) < distance) return nullptr;
  return AddPointToList(point, list->head, index);
}

void GetCentroidOfPointlist(HALFSPACE* list, double centroid[3]) {
  centroid[0] = centroid[1] = centroid[2] = 0;
  if (!list || ListIsEmpty(list)) return;
  int32_t n = 0;
  for (HALFSPACE* k = GetFirstElement(list); !k->isHead; k = k->next, ++n)
    for (int i = 0; i < 3; ++i) centroid[i] += k->point[i];
  for (int i = 0; i < 3; ++i) centroid[i] /= n;
}

void AddHintsToNeighbors(HALFSPACE* site, HALFSPACE* corners) {
  if (!site || !corners) return;
  for (HALFSPACE* k = GetFirstElement(corners); !k->isHead; k = k->next) {
    for (HALFSPACE* other : k->corners) {
      if (!other || other == site) continue;
      int slot = 0;
      while (slot < 3 && other->hints[slot] && other->hints[slot] != site) ++slot;
      if (slot < 3 && other->hints[slot] == site) continue;
      other->hints[slot < 3 ? slot : 2] = site;
    }
  }
}

void DumpPointListIntoPolyhedron(HALFSPACE* corners, HALFSPACE* site, polyhedron* poly,
                                 const VoronoiHandlingOptions* options) {
  if (!corners || !site || !poly || !options || GetElementCount(corners) < 3) return;
  AddHintsToNeighbors(site, corners);
  SortCornersRoundTheCell(corners);
  if (options->shaveSillyVerts == 1) MaybeShaveSillyVerts(corners, poly, site, options->mergeDistance);
  AddFanOfTriangularFacesToPoly(corners, site, poly, options);
}

void MaybeShaveSillyVerts(HALFSPACE* corners, polyhedron* poly, HALFSPACE* site, double mergeDistance) {
  if (!corners || GetElementCount(corners) <= 3) return;
  HALFSPACE* v = GetFirstElement(corners);
  while (!v->isHead) {
    HALFSPACE* after = v->next;
    // Shaving may not leave fewer than three corners for the fan.
    if (GetElementCount(corners) <= 3) return;
    HALFSPACE* p = Prev(v);
    HALFSPACE* n = Next(v);
    const double atV = DotProductAround3DpointsD(p->point, v->point, n->point);
    const double atP = DotProductAround3DpointsD(Prev(p)->point, p->point, v->point);
    const double atN = DotProductAround3DpointsD(v->point, n->point, Next(n)->point);
    const double pv = Distance(p->point, v->point);
    const double vn = Distance(v->point, n->point);
    if (atV < kStraightCornerCosine && !(atP < kStraightCornerCosine) && !(atN < kStraightCornerCosine) &&
        !(pv > kShaveEdgeRatio * vn) && !(vn > kShaveEdgeRatio * pv)) {
      double N[3];
      NormalizedCrossProductAround3DpointsD(p->point, v->point, n->point, N);
      const double s = Dot(N, v->point);
      if (s > 0 || std::isnan(s)) SaveFace_core(n->point, v->point, p->point, poly, site, 1, mergeDistance);
      else SaveFace_core(p->point, v->point, n->point, poly, site, 1, mergeDistance);
      DeleteNodeInList(v);
    }
    v = after;
  }
}

void AddFanOfTriangularFacesToPoly(HALFSPACE* corners, HALFSPACE* site, polyhedron* poly,
                                   const VoronoiHandlingOptions* options) {
  if (!corners || !options) return;
  const int32_t k = GetElementCount(corners);
  if (k < 3) return;
  HALFSPACE* apex = GetFirstElement(corners);
  double best = ApexKey(apex, options->fanApexRule);
  for (HALFSPACE* c = apex->next; !c->isHead; c = c->next) {
    const double key = ApexKey(c, options->fanApexRule);
    if (key > best) {
      best = key;
      apex = c;
    }
  }
  HALFSPACE* b = Next(apex);
  for (int32_t i = 1; i <= k - 2; ++i) {
    HALFSPACE* c = Next(b);
    SaveOrientedTriangle(apex->point, b->point, c->point, poly, site, 0, options->mergeDistance);
    b = c;
  }
}

void SaveFace_core(const double p1[3], const double p2[3], const double p3[3], polyhedron* poly, HALFSPACE* site,
                   uint8_t shavedFlag, double mergeDistance) {
  if (!poly || !site) return;
  int32_t v[3];
  const double* p[3] = {p1, p2, p3};
  for (int i = 0; i < 3; ++i) {
    uint8_t made = 0;
    v[i] = AddNew3DDVertToPolyhedron_tol(poly, p[i], mergeDistance, &made);
    if (v[i] < 0) return;  // the vertex store is full; its error code stands
  }
  if (v[0] == v[1] || v[1] == v[2] || v[2] == v[0]) return;
  FaceAddingOptions add;
  GetDefaultFaceAddingOptions(&add);
  add.corners = v;
  add.nCorners = 3;
  add.cutEdgeA = -1;
  add.cutEdgeB = -1;
  add.deferChecks = 1;
  add.takeExtraVertex = 0;
  add.facegroup = -1;
  add.siteIndex = site->index;
  add.hideFlag = shavedFlag;
  add.sliceWholeFace = shavedFlag;
  for (int i = 0; i < 3; ++i) add.point[i] = site->point[i];
  core_Add3DFaceToPolyhedron(poly, &add);
}

void AlignPointlistWith3DVerts(HALFSPACE* list, const polyhedron* poly) {
  if (!list || !poly) return;
  for (HALFSPACE* k = GetFirstElement(list); !k->isHead; k = k->next)
    k->index = CloseMatch3D(poly, k->point, kAlignTolerance);
}
