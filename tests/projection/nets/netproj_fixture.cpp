#include "netproj_fixture.h"

#include <algorithm>
#include <cmath>

#include "polyhedron/nets/net_points.h"
#include "polyhedron/nets/net_tabs.h"
#include "polyhedron/nets/unfold.h"
#include "projection/complex_math.h"
#include "projection/nets/net_projection_lists.h"

HintPtr NewHint() {
  HintPtr h(new renderhinttype{});
  h->band = kNoBand;
  return h;
}

HintPtr WholeNetHint(const polyhedron* poly) {
  HintPtr h = NewHint();
  PrepareShortTriList(poly, 0.0f, 0.0f, -1, 0.0f, h.get(), 0.0f, 0.0f, false);
  return h;
}

void FinishNet(polyhedron* poly) {
  for (int32_t t = 0; t < poly->nTriangles; ++t) barycentrics_precalc(t, poly);
  Prepare_vert_buffer(poly);
  float b[4] = {1e30f, -1e30f, 1e30f, -1e30f};
  for (int32_t t = 0; t < poly->nTriangles; ++t)
    for (int k = 0; k < 3; ++k) {
      const PolyVertex2D& v = poly->verts2D[poly->triangles[t].vert2D[k]];
      b[0] = std::min(b[0], v.x), b[1] = std::max(b[1], v.x);
      b[2] = std::min(b[2], v.y), b[3] = std::max(b[3], v.y);
    }
  std::copy(b, b + 4, poly->netBounds);
  std::copy(b, b + 4, poly->targetRect);
  poly->unitScale[0] = 1.0f / (b[1] - b[0]);
  poly->unitScale[1] = 1.0f / (b[3] - b[2]);
  poly->sphericalFlag = 1;
}

PolyPtr CubeCrossPoly(float tabDepth) {
  PolyPtr p = NewOwningPoly();
  BuildCubeCrossNet(p.get());
  if (tabDepth > 0.0f) MarkAlternateOutlineTabs(p.get());
  FanTriangulate(p.get());
  if (tabDepth > 0.0f) {
    p->tabDepth = tabDepth;
    BuildTabsUponTriangles(p.get());
  }
  FinishNet(p.get());
  return p;
}

PolyPtr UnfoldedPoly(const std::function<void(polyhedron*)>& build) {
  PolyPtr p = NewOwningPoly();
  build(p.get());
  Build2DNet(p.get());
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    if (!p->vert2DUsed[v]) continue;
    PolyVertex2D& q = p->verts2D[v];
    q.x = float(p->coords2D[v][0]);
    q.y = float(p->coords2D[v][1]);
    const double* c = p->coords3D[p->vert3DOf2D[v]];
    q.renderX = float(c[0]);
    q.renderY = float(-c[1]);
    q.renderZ = float(c[2]);
  }
  p->n2DVerts = FindHighest2DVert(p.get()) + 1;
  FanTriangulate(p.get());
  FinishNet(p.get());
  return p;
}

double CornerWinding(const polyhedron* poly, int32_t triangle) {
  const NetTriangle& t = poly->triangles[triangle];
  double c[3];
  Cross3D(t.corner3D[1], t.corner3D[2], c);
  return Dot3D(t.corner3D[0], c);
}

void NetBarys(const polyhedron* poly, int32_t triangle, double x, double y, double b[3]) {
  const NetTriangle& t = poly->triangles[triangle];
  double px[3], py[3];
  for (int k = 0; k < 3; ++k) {
    px[k] = poly->verts2D[t.vert2D[k]].x;
    py[k] = poly->verts2D[t.vert2D[k]].y;
  }
  const double area = (px[1] - px[0]) * (py[2] - py[0]) - (px[2] - px[0]) * (py[1] - py[0]);
  for (int k = 0; k < 3; ++k) {
    const int i = (k + 1) % 3, j = (k + 2) % 3;
    b[k] = ((px[i] - x) * (py[j] - y) - (px[j] - x) * (py[i] - y)) / area;
  }
}

Cover CoverOf(const polyhedron* poly, int32_t triangle, double x, double y) {
  constexpr double kMargin = 1e-4;
  double b[3];
  NetBarys(poly, triangle, x, y, b);
  const double least = std::min({b[0], b[1], b[2]});
  return least > kMargin ? Cover::In : least < -kMargin ? Cover::Out : Cover::Edge;
}

void DirectionOf(const polyhedron* poly, int32_t triangle, const double b[3], double out[3]) {
  const NetTriangle& t = poly->triangles[triangle];
  for (int i = 0; i < 3; ++i) {
    out[i] = 0.0;
    for (int k = 0; k < 3; ++k) {
      const PolyVertex2D& v = poly->verts2D[t.vert2D[k]];
      const double r[3] = {v.renderX, v.renderY, v.renderZ};
      out[i] += b[k] * r[i];
    }
  }
  const double n = std::sqrt(Dot3D(out, out));
  for (int i = 0; i < 3; ++i) out[i] /= n;
}

double AngleBetween(const double a[3], const double b[3]) {
  double c[3];
  Cross3D(a, b, c);
  return std::atan2(std::sqrt(Dot3D(c, c)), Dot3D(a, b));
}

double AngleBetween(const float a[3], const double b[3]) {
  const double d[3] = {a[0], a[1], a[2]};
  return AngleBetween(d, b);
}
