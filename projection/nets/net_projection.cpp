#include "projection/nets/net_projection.h"

#include "polyhedron/nets/net_points.h"  // the net's inverse mapping queries the triangles the net set-up fills
#include "projection/complex_math.h"
#include "projection/nets/net_projection_core.h"
#include "projection/inverse/special_views.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr int32_t kSkewedTilingMode = 64;

// Where a search of a list of n entries starts: the remembered position, or
// the head when the position does not belong to the list (a hint that was
// never built, or built for a longer list).
int32_t StartOf(int32_t remembered, int32_t n) { return remembered >= 0 && remembered < n ? remembered : 0; }

int32_t Advance(int32_t start, int32_t n, int32_t count) {
  const int32_t i = start + n;
  return i >= count ? i - count : i;
}

// Written as the test for being on it, so that a point that is not a number
// is off: the barycentric test would let it through.
bool OffTheBand(const polyhedron* poly, float x, float y, const renderhinttype* hint) {
  const float* b = poly->netBounds;
  const bool on = x >= hint->bandMinX && x >= b[0] && x <= hint->bandMaxX && x <= b[1] && y <= b[3] && y >= b[2];
  return !on || (hint->faceCount <= 0 && hint->tabCount <= 0);
}

// The face triangle under the point whose transform takes it, or -1.
int32_t SearchFaces(float point[3], const polyhedron* poly, float x, float y, uint8_t* outside,
                    renderhinttype* hint) {
  const int32_t c = hint->faceCount;
  const int32_t start = StartOf(hint->lastListIndex, c);
  for (int32_t n = 0; n < c; ++n) {
    const int32_t triangle = hint->faceList[start + n];
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f;
    hint->hit = find_barycentrics(triangle, x, y, &b0, &b1, &b2, poly) ? 1 : 0;
    if (!hint->hit) continue;
    *outside = 0;
    DoPolyhedralTransformCore(poly, b0, b1, b2, triangle, x, y, point, outside, hint);
    if (*outside) {
      // The shape's warp has no picture here (off a curved face): a
      // neighbour in the list may still take the point.
      hint->hit = 0;
      continue;
    }
    hint->lastFace = triangle;
    hint->lastListIndex = Advance(start, n, c);
    return triangle;
  }
  return -1;
}

// The tab triangle under the point, or -1.
int32_t SearchTabs(float point[3], const polyhedron* poly, float x, float y, renderhinttype* hint) {
  const int32_t t = hint->tabCount;
  hint->tabHit = 0;
  const int32_t start = StartOf(hint->lastTab, t);
  for (int32_t n = 0; n < t; ++n) {
    const int32_t triangle = hint->faceList[hint->tabListStart + start + n];
    float b0, b1, b2;
    if (!find_barycentrics(triangle, x, y, &b0, &b1, &b2, poly)) continue;
    point[0] = 1.0f;
    point[1] = 1.0f;
    point[2] = 0.0f;
    hint->hit = 1;
    hint->tabHit = 1;
    hint->tabId = poly->triangles[triangle].face2D;
    hint->lastTab = Advance(start, n, t);
    return triangle;
  }
  return -1;
}

}  // namespace

void DoPolyhedralTransforms(float point[3], const polyhedron* poly, float x, float y, uint8_t* outside,
                            renderhinttype* hint) {
  if (hint->outputMode == kSkewedTilingMode)
    calc_skewed_coordinates(hint->scale, poly->netBounds[2], poly->netBounds[3], x, y, &x, &y, hint);
  hint->hit = 0;
  hint->tabId = -1;
  hint->tabHit = 0;
  hint->barycentrics = Triplex(1.0, 0.0, 0.0);

  // The triangle this search hit: the hide flag belongs to it, not to
  // whatever an earlier search left in lastFace.
  int32_t hitTriangle = -1;
  *outside = 1;
  if (!OffTheBand(poly, x, y, hint)) {
    hitTriangle = SearchFaces(point, poly, x, y, outside, hint);
    if (hitTriangle < 0 && hint->tabCount > 0) hitTriangle = SearchTabs(point, poly, x, y, hint);
  }

  if (poly->segmentStretch) SubstituteSphereSegment(point, poly->segmentStretchAlpha, outside);

  if (hint->hit && hitTriangle >= 0 && poly->triangles[hitTriangle].hideFlag) {
    *outside = 1;
    hint->hit = 0;
    hint->tabId = -1;
    hint->tabHit = 0;
  }
}
