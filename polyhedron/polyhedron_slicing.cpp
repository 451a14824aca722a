#include "polyhedron/polyhedron_slicing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "polyhedron/halfspace.h"
#include "projection/planes.h"

namespace {

constexpr double kLengthStart = 99999999.0;
constexpr double kDotStart = 2.0;
constexpr double kElongatedRatio = 4.0;

int32_t Corners(const PolyFace& f) { return f.n3D >= 1 && f.n3D <= kPolyMaxCorners ? f.n3D : 0; }

void Cut(PolyFace& f, int32_t edge) {
  if (edge >= 0 && edge < kPolyMaxCorners) f.edgeFlags3D[edge] |= kEdgeFlagCut;
}

const PolyFace* Neighbour(const polyhedron* poly, const PolyFace& f, int32_t edge) {
  const int32_t g = f.nbrFace3D[edge];
  return g >= 0 && g < kPolyMaxFaces ? &poly->faces[g] : nullptr;
}

double Distance(const double a[3], const double b[3]) {
  const double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double EdgeLength(const polyhedron* poly, const PolyFace& f, int32_t edge) {
  return Distance(poly->coords3D[f.vert3D[edge]], poly->coords3D[f.vert3D[(edge + 1) % f.n3D]]);
}

bool SitesDiffer(const PolyFace& f, const PolyFace* g) { return g && g->siteIndex != f.siteIndex; }

void SliceByFacePoints(const polyhedron* poly, PolyFace& f) {
  const int32_t n = Corners(f);
  if (n == 0) return;
  double d[kPolyMaxCorners];
  double minD = kLengthStart, maxD = 0.0;
  int32_t same = 0;
  for (int32_t i = 0; i < n; ++i) {
    const PolyFace* g = Neighbour(poly, f, i);
    d[i] = -1.0;
    if (!g) continue;
    d[i] = Distance(f.point, g->point);
    minD = std::min(minD, d[i]);
    maxD = std::max(maxD, d[i]);
    if (g->siteIndex == f.siteIndex) ++same;
  }
  if (same >= n - 1) return;
  const double threshold = (maxD + minD) / 2.0;
  for (int32_t i = 0; i < n; ++i)
    if (d[i] >= 0.0 && d[i] > threshold) Cut(f, i);
}

void SliceShortestEdge(const polyhedron* poly, PolyFace& f, bool elongatedOnly) {
  const int32_t n = Corners(f);
  double minL = kLengthStart, maxL = 0.0;
  int32_t shortest = -1;
  for (int32_t i = 0; i < n; ++i) {
    const double len = EdgeLength(poly, f, i);
    if (len < minL) {
      minL = len;
      shortest = i;
    }
    maxL = std::max(maxL, len);
  }
  // A ratio that is not a number (0 / 0) does not stop the cut.
  if (elongatedOnly && maxL / minL < kElongatedRatio) return;
  if (f.sliceWholeFace) {
    for (int32_t i = 0; i < n; ++i)
      if (SitesDiffer(f, Neighbour(poly, f, i))) Cut(f, i);
    return;
  }
  if (shortest >= 0 && SitesDiffer(f, Neighbour(poly, f, shortest))) Cut(f, shortest);
}

void SliceBySiteNumbers(const polyhedron* poly, PolyFace& f, int32_t apart) {
  const int32_t n = Corners(f);
  const int32_t s = f.siteIndex;
  for (int32_t i = 0; i < n; ++i) {
    const PolyFace* g = Neighbour(poly, f, i);
    if (!g) continue;
    const int32_t t = g->siteIndex;
    const int64_t gap = std::llabs(int64_t(s) - t);
    if (f.sliceWholeFace) {
      if (gap > 1) Cut(f, i);
    } else if (gap > apart && s != kSliceUnseparatedSite && t != kSliceUnseparatedSite) {
      Cut(f, i);
    }
  }
}

void FacePlane(const polyhedron* poly, const PolyFace& f, PLANED* plane) {
  BuildPlaneFromThreePoints(poly->coords3D[f.vert3D[0]], poly->coords3D[f.vert3D[1]], poly->coords3D[f.vert3D[2]],
                            plane);
}

void SliceSharpestFold(const polyhedron* poly, PolyFace& f) {
  const int32_t n = Corners(f);
  if (n < 3) return;  // no plane and no ratio: nothing to compare
  double minL = kLengthStart, maxL = 0.0;
  for (int32_t i = 0; i < n; ++i) {
    const double len = EdgeLength(poly, f, i);
    minL = std::min(minL, len);
    maxL = std::max(maxL, len);
  }
  const double ratio = maxL / minL;
  PLANED own{};
  FacePlane(poly, f, &own);
  double best = kDotStart;
  int32_t sharpest = -1;
  for (int32_t i = 0; i < n; ++i) {
    const PolyFace* g = Neighbour(poly, f, i);
    if (!g || Corners(*g) < 3) continue;
    PLANED other{};
    FacePlane(poly, *g, &other);
    const double dot = Dot3D(own.normal, other.normal);
    if (dot < best) {
      best = dot;
      sharpest = i;
    }
  }
  if (ratio >= kElongatedRatio && sharpest >= 0) Cut(f, sharpest);
}

}  // namespace

void MaybeAddSlicing(polyhedron* poly) {
  if (!poly) return;
  const int32_t mode = poly->slicingMode;
  const bool needsCoords = mode == kSlicingShortestEdge || mode == kSlicingLongFaces || mode == kSlicingSharpestFold;
  if (needsCoords && !poly->coords3D) return;
  const int32_t count = std::clamp(poly->n3DFaces, 0, kPolyMaxFaces);
  for (int32_t f = 0; f < count; ++f) {
    PolyFace& face = poly->faces[f];
    switch (mode) {
      case kSlicingSitesApart:
        SliceBySiteNumbers(poly, face, 1);
        break;
      case kSlicingFacePoints:
        SliceByFacePoints(poly, face);
        break;
      case kSlicingShortestEdge:
        SliceShortestEdge(poly, face, false);
        break;
      case kSlicingLongFaces:
        SliceShortestEdge(poly, face, true);
        break;
      case kSlicingSharpestFold:
        SliceSharpestFold(poly, face);
        break;
      case kSlicingSitesFarApart:
        SliceBySiteNumbers(poly, face, 3);
        break;
      default:
        return;
    }
  }
}

int32_t FindSliceMatch(const HALFSPACE* pointList, const HALFSPACE* sliceNode, polyhedron* poly) {
  (void)pointList;
  if (!poly || !sliceNode || !sliceNode->parentA || !sliceNode->parentB) return 0;
  const int32_t A = sliceNode->parentA->index;
  const int32_t B = sliceNode->parentB->index;
  const int32_t count = std::clamp(poly->n3DFaces, 0, kPolyMaxFaces);
  for (int32_t f = 0; f < count; ++f) {
    PolyFace& face = poly->faces[f];
    const int32_t n = Corners(face);
    for (int32_t j = 0; j < n; ++j) {
      if (face.vert3D[j] != A) continue;
      int32_t e = -1;
      if (face.vert3D[(j + 1) % n] == B) e = j;
      else if (face.vert3D[(j - 1 + n) % n] == B) e = (j - 1 + n) % n;
      if (e < 0) continue;
      Cut(face, e);
      if (sliceNode->sliceSeed) {
        face.edgeFlags3D[e] |= kEdgeFlagSliceA;
        poly->sliceMatchFlag = 1;
        face.isSeed = 1;
      }
      if (sliceNode->sliceMark) face.edgeFlags3D[e] |= kEdgeFlagSliceB;
      if (sliceNode->sliceSeed) face.edgeFlags3D[(e - 1 + n) % n] |= kEdgeFlagDisdained;
      return 1;
    }
  }
  return 0;
}
