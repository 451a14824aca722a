#include "polybuild/setup/origami_marks.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/nets/fragment_layout.h"

namespace {

constexpr float kLegFraction = 0.0625f;
// Room is kept below the record's last 2D vertex and triangle slot, as the
// glue tabs keep it.
constexpr int32_t kLast2DVertSlot = kPolyMax2DVerts - 1;

void AddMark(polyhedron* poly, const float corners[3][2]) {
  const int32_t n = poly->n2DVerts;
  if (n < 0 || n + 3 > kLast2DVertSlot) {
    poly->errorCode = kPolyErrorNoRoomForTabs;
    return;
  }
  for (int32_t k = 0; k < 3; ++k) {
    PolyVertex2D& v = poly->verts2D[n + k];
    v.x = corners[k][0];
    v.y = corners[k][1];
    v.renderX = v.renderY = v.renderZ = 1.0f;
    poly->vert2DUsed[n + k] = 1;
  }
  poly->n2DVerts = n + 3;
  if (poly->nTriangles < 0 || poly->nTriangles + 1 >= kPolyMaxTriangles) {
    poly->errorCode = kPolyErrorTooManyTriangles;
    return;
  }
  NetTriangle& t = poly->triangles[poly->nTriangles];
  t.vert2D[0] = n;
  t.vert2D[1] = n + 1;
  t.vert2D[2] = n + 2;
  t.face2D = -1;
  t.facegroup = -1;
  t.fragment = -1;
  t.isTab = 1;
  t.hideFlag = 0;
  t.fancyFace = 0;
  std::fill(std::begin(t.tabEdge), std::end(t.tabEdge), uint8_t{0});
  ++poly->nTriangles;
}

}  // namespace

void AddOrigamiTabs(polyhedron* poly) {
  if (!poly) return;
  struct {
    float xMin, xMax, yMin, yMax;
  } b;
  Find2DBoundingBox(poly, &b.xMin, &b.xMax, &b.yMin, &b.yMax);
  const float leg = kLegFraction * std::min(b.xMax - b.xMin, b.yMax - b.yMin);
  // Right angle at the box corner, legs along the box edges.
  const float marks[4][3][2] = {
      {{b.xMin, b.yMin}, {b.xMin + leg, b.yMin}, {b.xMin, b.yMin + leg}},
      {{b.xMax, b.yMin}, {b.xMax - leg, b.yMin}, {b.xMax, b.yMin + leg}},
      {{b.xMin, b.yMax}, {b.xMin + leg, b.yMax}, {b.xMin, b.yMax - leg}},
      {{b.xMax, b.yMax}, {b.xMax - leg, b.yMax}, {b.xMax, b.yMax - leg}},
  };
  for (const auto& mark : marks) AddMark(poly, mark);
}
