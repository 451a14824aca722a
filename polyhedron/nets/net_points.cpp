#include "polyhedron/nets/net_points.h"

#include <algorithm>

#include "projection/ray_geometry.h"

namespace {

bool InRange(int32_t i, int32_t limit) { return i >= 0 && i < limit; }

bool CornersExist(const NetTriangle& t) {
  return InRange(t.vert2D[0], kPolyMax2DVerts) && InRange(t.vert2D[1], kPolyMax2DVerts) &&
         InRange(t.vert2D[2], kPolyMax2DVerts);
}

void RenderPoint(const polyhedron* poly, int32_t v, double out[3]) {
  const PolyVertex2D& p = poly->verts2D[v];
  out[0] = p.renderX;
  out[1] = p.renderY;
  out[2] = p.renderZ;
}

}  // namespace

void barycentrics_precalc(int32_t triangle, polyhedron* poly) {
  if (!poly || !InRange(triangle, kPolyMaxTriangles)) return;
  NetTriangle& t = poly->triangles[triangle];
  if (!CornersExist(t)) return;
  const PolyVertex2D& p0 = poly->verts2D[t.vert2D[0]];
  const PolyVertex2D& p1 = poly->verts2D[t.vert2D[1]];
  const PolyVertex2D& p2 = poly->verts2D[t.vert2D[2]];
  const double x0 = p0.x, y0 = p0.y, x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y;
  const double det = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
  t.invDet = det == 0.0 ? 1.0f : float(1.0 / det);
}

bool find_barycentrics(int32_t triangle, float x, float y, float* b0, float* b1, float* b2,
                       const polyhedron* poly) {
  const NetTriangle& t = poly->triangles[triangle];
  const PolyVertex2D& p0 = poly->verts2D[t.vert2D[0]];
  const PolyVertex2D& p1 = poly->verts2D[t.vert2D[1]];
  const PolyVertex2D& p2 = poly->verts2D[t.vert2D[2]];
  const float D = t.invDet;
  const float x0 = p0.x - x, y0 = p0.y - y;
  const float x1 = p1.x - x, y1 = p1.y - y;
  const float x2 = p2.x - x, y2 = p2.y - y;
  *b0 = (x1 * y2 - x2 * y1) * D;
  if (*b0 < kBarycentricTolerance) return false;
  *b1 = (x2 * y0 - x0 * y2) * D;
  if (*b1 < kBarycentricTolerance) return false;
  *b2 = (x0 * y1 - x1 * y0) * D;
  return !(*b2 < kBarycentricTolerance);
}

void convert_triangle_vertex_to_3D_vectorD(int32_t triangle, int32_t k, double out[3], const polyhedron* poly) {
  RenderPoint(poly, poly->triangles[triangle].vert2D[k], out);
}

void Prepare_vert_buffer(polyhedron* poly) {
  if (!poly) return;
  const int32_t count = std::clamp(poly->nTriangles, 0, kPolyMaxTriangles);
  for (int32_t i = 0; i < count; ++i) {
    NetTriangle& t = poly->triangles[i];
    if (t.isTab || !CornersExist(t)) continue;
    for (int k = 0; k < 3; ++k) RenderPoint(poly, t.vert2D[k], t.corner3D[k]);
  }
}

void Get2DPointFromTriangleAndBarys(int32_t triangle, float b0, float b1, float b2, double out[3],
                                    const polyhedron* poly) {
  const NetTriangle& t = poly->triangles[triangle];
  const float b[3] = {b0, b1, b2};
  out[0] = out[1] = out[2] = 0.0;
  for (int k = 0; k < 3; ++k) {
    const PolyVertex2D& p = poly->verts2D[t.vert2D[k]];
    out[0] += b[k] * double(p.x);
    out[1] += b[k] * double(p.y);
  }
}

void Get3DPointFromFaceAndBarys(int32_t triangle, float b0, float b1, float b2, double out[3],
                                const polyhedron* poly) {
  double corner[3][3];
  for (int k = 0; k < 3; ++k) convert_triangle_vertex_to_3D_vectorD(triangle, k, corner[k], poly);
  Get3DPointFromCornersAndBarys(corner[0], corner[1], corner[2], b0, b1, b2, poly->fancyPointMode, out);
}

void Get3DPointFromFaceAndBarysF(int32_t triangle, float b0, float b1, float b2, float out[3],
                                 const polyhedron* poly) {
  double p[3];
  Get3DPointFromFaceAndBarys(triangle, b0, b1, b2, p, poly);
  for (int k = 0; k < 3; ++k) out[k] = float(p[k]);
}
