#include "polybuild/setup/net_triangulation.h"

#include <algorithm>

#include "polyhedron/nets/net_triangles.h"

namespace {

struct Point2F {
  float x, y;
};

Point2F CornerPoint(const temp2Dface* temp, int32_t corner) {
  return {float(temp->corners[corner].x), float(temp->corners[corner].y)};
}

// Strictly inside, by barycentrics in single precision: a point on an edge
// or a corner is not inside, and a degenerate triangle (zero or non-finite
// determinant) contains nothing, since NaN fails every comparison.
bool StrictlyInside(Point2F p, Point2F a, Point2F b, Point2F c) {
  const float det = (b.y - c.y) * (a.x - c.x) + (c.x - b.x) * (a.y - c.y);
  const float l0 = ((b.y - c.y) * (p.x - c.x) + (c.x - b.x) * (p.y - c.y)) / det;
  const float l1 = ((c.y - a.y) * (p.x - c.x) + (a.x - c.x) * (p.y - c.y)) / det;
  const float l2 = 1.0f - l0 - l1;
  return l0 > 0.0f && l1 > 0.0f && l2 > 0.0f;
}

// Twice the signed area of the first m corners: positive counter-clockwise.
float SignedArea(const temp2Dface* temp, int32_t m) {
  double sum = 0.0;
  for (int32_t k = 0; k < m; ++k) {
    const TempCorner& p = temp->corners[k];
    const TempCorner& q = temp->corners[(k + 1) % m];
    sum += p.x * q.y - q.x * p.y;
  }
  return float(sum);
}

// Positive when a, b, c turn counter-clockwise at b.
float Turn(Point2F a, Point2F b, Point2F c) { return (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x); }

enum class Strictness { ConvexAndEmpty, Empty, Any };

}  // namespace

int32_t EarClipCorners(const temp2Dface* temp, int32_t triangles[kEarClipMaxTriangles][3]) {
  int32_t m = std::clamp(temp->nCorners, 0, kPolyMaxCorners);
  if (m < 3) return 0;
  // The remaining corners as scratch-face corner numbers, in face order.
  int32_t remaining[kPolyMaxCorners];
  for (int32_t k = 0; k < m; ++k) remaining[k] = k;
  const float winding = SignedArea(temp, m);
  int32_t count = 0;
  int32_t cursor = 0;
  // Cutting a reflex corner would lay a triangle outside the face, over its
  // neighbours in the net, so an ear must turn the face's way. A face with no
  // such ear left (a self-crossing or degenerate outline) drops that demand
  // after a whole round, and after another round without a cut the candidate
  // at the cursor goes anyway: every face ends in m - 2 triangles.
  Strictness strictness = Strictness::ConvexAndEmpty;
  int32_t passesWithoutCut = 0;
  auto emit = [&](int32_t a, int32_t b, int32_t c) {
    triangles[count][0] = temp->corners[remaining[a]].cornerIndex;
    triangles[count][1] = temp->corners[remaining[b]].cornerIndex;
    triangles[count][2] = temp->corners[remaining[c]].cornerIndex;
    ++count;
  };
  while (m > 3) {
    const int32_t a = (cursor + 1) % m;
    const int32_t b = (a + 1) % m;
    const int32_t c = (b + 1) % m;
    cursor = a;
    const Point2F pa = CornerPoint(temp, remaining[a]);
    const Point2F pb = CornerPoint(temp, remaining[b]);
    const Point2F pc = CornerPoint(temp, remaining[c]);
    bool blocked = strictness == Strictness::ConvexAndEmpty && Turn(pa, pb, pc) * winding < 0.0f;
    if (strictness != Strictness::Any)
      for (int32_t p = (c + 1) % m; p != a && !blocked; p = (p + 1) % m)
        blocked = StrictlyInside(CornerPoint(temp, remaining[p]), pa, pb, pc);
    if (blocked) {
      if (++passesWithoutCut >= m) {
        strictness = strictness == Strictness::ConvexAndEmpty ? Strictness::Empty : Strictness::Any;
        passesWithoutCut = 0;
      }
      continue;
    }
    emit(a, b, c);
    std::copy(remaining + b + 1, remaining + m, remaining + b);
    --m;
    strictness = Strictness::ConvexAndEmpty;
    passesWithoutCut = 0;
  }
  emit(0, 1, 2);
  return count;
}

void EarClip(int32_t face2D, polyhedron* poly) {
  if (!poly) return;
  temp2Dface temp;
  PutNetfaceIntoTempface(&temp, face2D, poly);
  int32_t triangles[kEarClipMaxTriangles][3];
  const int32_t count = EarClipCorners(&temp, triangles);
  for (int32_t k = 0; k < count; ++k) {
    MakeNetTriangle(poly->nTriangles, poly, face2D, triangles[k][0], triangles[k][1], triangles[k][2]);
    // A refused triangle is not counted: nTriangles never passes the table.
    if (poly->nTriangles >= 0 && poly->nTriangles < kPolyMaxTriangles) ++poly->nTriangles;
  }
}
