#include "polyhedron/nets/net_tabs.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/nets/net_triangles.h"

namespace {

bool InRange(int32_t i, int32_t limit) { return i >= 0 && i < limit; }

void SetTabVertex(polyhedron* poly, int32_t v, float x, float y) {
  PolyVertex2D& p = poly->verts2D[v];
  p.x = x;
  p.y = y;
  p.renderX = p.renderY = p.renderZ = 1.0f;
  poly->vert2DUsed[v] = 1;
}

void SetTabTriangle(polyhedron* poly, int32_t slot, int32_t a, int32_t b, int32_t c, int16_t face2D) {
  NetTriangle& t = poly->triangles[slot];
  t.vert2D[0] = a;
  t.vert2D[1] = b;
  t.vert2D[2] = c;
  t.isTab = 1;
  t.hideFlag = 0;
  t.face2D = face2D;
  t.facegroup = NetTriangleFacegroup(poly, face2D);
  // A slot may hold a face triangle of an earlier build: a tab carries no
  // tab marks of its own and belongs to no fragment or curved face.
  t.fragment = 0;
  t.fancyFace = 0;
  std::fill(std::begin(t.tabEdge), std::end(t.tabEdge), uint8_t(0));
}

}  // namespace

void BuildTabsUponTriangles(polyhedron* poly) {
  if (!poly) return;
  const int32_t count = std::clamp(poly->nTriangles, 0, kPolyMaxTriangles);
  for (int32_t t = 0; t < count; ++t)
    for (int32_t k = 0; k < 3; ++k) MaybeBuildTab(poly, t, k);
}

void MaybeBuildTab(polyhedron* poly, int32_t triangle, int32_t k) {
  if (!poly || !InRange(triangle, kPolyMaxTriangles) || !InRange(k, 3)) return;
  const NetTriangle& t = poly->triangles[triangle];
  if (!t.tabEdge[k]) return;
  const int32_t vb = t.vert2D[k];
  const int32_t va = t.vert2D[(k + 1) % 3];
  if (!InRange(vb, kPolyMax2DVerts) || !InRange(va, kPolyMax2DVerts)) return;
  const PolyVertex2D b = poly->verts2D[vb];
  const PolyVertex2D a = poly->verts2D[va];
  const float dx = a.x - b.x, dy = a.y - b.y;
  const float D = poly->tabDepth;
  const float S = D * (poly->tabStyle == 1 ? kTabSideFactorSteep : kTabSideFactor);

  const int32_t n = poly->n2DVerts;
  if (n < 0 || n + 2 > kPolyMax2DVerts - 1) {
    poly->errorCode = kPolyErrorNoRoomForTabs;
    return;
  }
  // Test the triangle table before adding the vertices: two used vertices
  // without their triangles would still widen every box taken over the net.
  const int32_t slot = poly->nTriangles;
  if (slot < 0 || slot + 2 > kPolyMaxTriangles - 1) {
    poly->errorCode = kPolyErrorTooManyTriangles;
    return;
  }
  SetTabVertex(poly, n, b.x + dy * D + dx * S, b.y - dx * D + dy * S);
  SetTabVertex(poly, n + 1, a.x + dy * D - dx * S, a.y - dx * D - dy * S);
  poly->n2DVerts = n + 2;
  const int16_t face2D = t.face2D;
  SetTabTriangle(poly, slot, vb, n, va, face2D);
  SetTabTriangle(poly, slot + 1, n, n + 1, va, face2D);
  poly->nTriangles = slot + 2;
}
