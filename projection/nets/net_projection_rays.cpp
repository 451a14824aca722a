#include "projection/nets/net_projection_rays.h"

#include "projection/complex_math.h"
#include "projection/ray_geometry.h"

namespace {

int32_t StartOf(int32_t remembered, int32_t n) { return remembered >= 0 && remembered < n ? remembered : 0; }

int32_t RaySearch(const double direction[3], const polyhedron* poly, uint8_t* outside, renderhinttype* hint) {
  hint->hit = 0;
  hint->tabId = -1;
  hint->tabHit = 0;
  *outside = 1;
  const int32_t c = hint->faceCount;
  if (c < 1) return -1;
  const int32_t start = StartOf(hint->lastListIndex, c);
  for (int32_t n = 0; n < c; ++n) {
    const int32_t triangle = hint->faceList[start + n];
    const NetTriangle& t = poly->triangles[triangle];
    if (!DoesIntersect(t.corner3D[0], t.corner3D[1], t.corner3D[2], direction)) continue;
    hint->hit = 1;
    *outside = 0;
    hint->lastFace = triangle;
    const int32_t i = start + n;
    hint->lastListIndex = i >= c ? i - c : i;
    return triangle;
  }
  return -1;
}

// Barycentrics of the ray's line in the triangle from the three triple
// products of the hit test: they are the ray's coordinates in the cone of
// the corners, up to one common factor. Serves where the intersection
// proper reports no hit for a triangle the test passed: seen nearly
// edge-on, or so small that its determinant falls below the edge-on limit,
// or a hit on an edge that the two tests round differently.
void ConeBarycentrics(const double a[3], const double b[3], const double c[3], const double d[3], double bary[3]) {
  double cb[3], ac[3], ba[3];
  Cross3D(c, b, cb);
  Cross3D(a, c, ac);
  Cross3D(b, a, ba);
  bary[0] = Dot3D(cb, d);
  bary[1] = Dot3D(ac, d);
  bary[2] = Dot3D(ba, d);
  const double sum = bary[0] + bary[1] + bary[2];
  if (sum == 0.0) {
    bary[0] = bary[1] = bary[2] = 1.0 / 3.0;
    return;
  }
  for (int k = 0; k < 3; ++k) bary[k] /= sum;
}

}  // namespace

int32_t IntersectRayWithPoly(const double direction[3], const polyhedron* poly, uint8_t* outside,
                             renderhinttype* hint) {
  return RaySearch(direction, poly, outside, hint);
}

int32_t IntersectRayWithPoly_ReturningBarycentrics(const double direction[3], const polyhedron* poly,
                                                   uint8_t* outside, renderhinttype* hint, double* b0, double* b1,
                                                   double* b2) {
  const int32_t triangle = RaySearch(direction, poly, outside, hint);
  if (triangle < 0) return triangle;
  const NetTriangle& t = poly->triangles[triangle];
  constexpr double kOrigin[3] = {0.0, 0.0, 0.0};
  double dist = 0.0, u = 0.0, v = 0.0;
  if (intersect_triangle2(kOrigin, direction, t.corner3D[0], t.corner3D[1], t.corner3D[2], &dist, &u, &v)) {
    *b0 = 1.0 - u - v;
    *b1 = u;
    *b2 = v;
    hint->barycentrics = RTmul(dist, TFromVECTOR3D(direction));
    return triangle;
  }
  double bary[3], p[3];
  ConeBarycentrics(t.corner3D[0], t.corner3D[1], t.corner3D[2], direction, bary);
  D_Gets_Barycentric_of_A_B_C(bary[0], bary[1], bary[2], t.corner3D[0], t.corner3D[1], t.corner3D[2], p);
  *b0 = bary[0];
  *b1 = bary[1];
  *b2 = bary[2];
  hint->barycentrics = TFromVECTOR3D(p);
  return triangle;
}
