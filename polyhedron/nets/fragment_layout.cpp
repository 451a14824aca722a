#include "polyhedron/nets/fragment_layout.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "polyhedron/nets/fragment_spin.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_predicates.h"
#include "polyhedron/nets/unfold_facegroups.h"
#include "polyhedron/vertex_maps.h"
#include "polyhedron/nets/wedge_joins.h"

namespace {

// Box arrays by fragment number 0..20; a number without vertices keeps this
// value in all four bounds.
constexpr int32_t kBoxSlots = 21;
constexpr float kNoBox = -2.22f;
constexpr double kRowGap = 0.03;  // of the wider neighbour
constexpr double kLastFragmentPad = 1.03;
constexpr double kStackGap = 0.03;  // of the upper fragment's height

// Shapes whose fragments are stacked: (upper, lower) fragment numbers.
struct Stacking {
  int32_t shapeCode, a, b;
};
constexpr Stacking kStackings[] = {{165, 1, 5}, {167, 1, 4}, {169, 1, 7}};
// Shapes whose renderer reads three key vertices of fragment 1 and three of
// fragment 2.
constexpr int32_t kKeyVertexShapes[] = {174, 176, 178, 180};
constexpr int32_t kKeyVerticesPerFragment = 3;

// Shapes whose fragments are turned before the row is laid.
bool SpinsFragments(int32_t code) {
  return ShapecodeIsARollout(code) || code == 153 || code == 154 || ShapecodeIsACurvedOrigamiStandard(code) ||
         ShapecodeIsATruchetDual(code);
}

// The wedge shapes join their gores and cap into one strip: after the first
// join (fragment 2 onto fragment 1), each wedge onto the one before it, then
// the cap onto the last wedge.
void JoinWedgeStrip(polyhedron* poly) {
  const int32_t code = poly->shapeCode;
  if (code != 71 && code != 72 && code != 150) return;
  JoinFirstWedge(poly);
  JoinWedges(poly, 2, 4, 2, 3);
  if (code == 71) {
    JoinLastWedgeToLastCap(poly, 4, 6, 3, 4);
    return;
  }
  JoinWedges(poly, 4, 6, 3, 4);
  JoinWedges(poly, 6, 8, 4, 5);
  JoinLastWedgeToLastCap(poly, 8, 10, 5, 6);
}

// Vertices of any other fragment number are left where they are.
bool LaidOutFragment(int32_t f) { return f >= 0 && f <= kPolyMaxFragments; }

struct Boxes {
  float xMin[kBoxSlots], xMax[kBoxSlots], yMin[kBoxSlots], yMax[kBoxSlots];
};

void MeasureBoxes(const polyhedron* poly, int32_t first, int32_t last, Boxes* boxes) {
  for (int32_t f = first; f <= last; ++f)
    Find2DBoundingBoxPointsAndFragment(poly, &boxes->xMin[f], &boxes->xMax[f], &boxes->yMin[f], &boxes->yMax[f], f);
}

// Moves every used 2D vertex by the offset its fragment number gives.
template <typename Offset>
void MoveVertices(polyhedron* poly, Offset offset) {
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    if (!poly->vert2DUsed[v]) continue;
    DPoint p;
    Grab2DPoint(v, &p, poly);
    double dx = 0.0, dy = 0.0;
    if (!offset(p.fragment, &dx, &dy)) continue;
    p.x += dx;
    p.y += dy;
    Set2DPoint(v, p, poly);
  }
}

}  // namespace

int32_t LayOutFragments(polyhedron* poly) {
  if (!poly) return 0;
  int32_t first = kPolyMax2DVerts, top = -1;
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    if (!poly->vert2DUsed[v]) continue;
    first = std::min<int32_t>(first, poly->fragmentOf2D[v]);
    top = std::max<int32_t>(top, poly->fragmentOf2D[v]);
  }
  const int32_t last = std::min(top, kPolyMaxFragments);
  first = std::max(first, 0);
  if (SpinsFragments(poly->shapeCode)) SpinFragmentsFelicitously(poly, first, last);

  Boxes boxes;
  std::fill(std::begin(boxes.xMin), std::end(boxes.xMin), kNoBox);
  std::fill(std::begin(boxes.xMax), std::end(boxes.xMax), kNoBox);
  std::fill(std::begin(boxes.yMin), std::end(boxes.yMin), kNoBox);
  std::fill(std::begin(boxes.yMax), std::end(boxes.yMax), kNoBox);
  MeasureBoxes(poly, first, last, &boxes);
  MoveVertices(poly, [&](int32_t f, double* dx, double* dy) {
    if (!LaidOutFragment(f)) return false;
    *dx = -double(boxes.xMin[f]);
    *dy = -double(boxes.yMin[f]);
    return true;
  });

  MeasureBoxes(poly, first, last, &boxes);
  double height[kBoxSlots] = {};
  double maxHeight = 0.0;
  for (int32_t f = first; f <= last; ++f) {
    height[f] = std::fabs(double(boxes.yMax[f]) - double(boxes.yMin[f]));
    maxHeight = std::max(maxHeight, height[f]);
  }
  for (int32_t f = first; f <= last; ++f) {
    const double w = boxes.xMax[f];
    const double shift = f == last ? w * kLastFragmentPad : w + kRowGap * std::max(w, double(boxes.xMax[f + 1]));
    const double rise = -0.5 * height[f] + 0.5 * maxHeight;
    MoveVertices(poly, [&](int32_t g, double* dx, double* dy) {
      if (!LaidOutFragment(g)) return false;
      if (g > f) *dx = shift;
      if (g == f) *dy = rise;
      return g >= f;
    });
  }

  for (const Stacking& s : kStackings)
    if (poly->shapeCode == s.shapeCode) Layout_PutBUnderA(s.a, s.b, poly);
  JoinWedgeStrip(poly);

  if (std::find(std::begin(kKeyVertexShapes), std::end(kKeyVertexShapes), poly->shapeCode) !=
      std::end(kKeyVertexShapes)) {
    for (int32_t i = 0; i < 2 * kKeyVerticesPerFragment; ++i) {
      const int32_t half = i < kKeyVerticesPerFragment ? 1 : 2;
      poly->key2DVerts[i] = NetVertexInPeirceHalf(poly, poly->key3DVerts[i], half);
    }
  }
  return 0;
}

void Find2DBoundingBoxPointsAndFragment(const polyhedron* poly, float* xMin, float* xMax, float* yMin, float* yMax,
                                        int32_t fragment) {
  if (!poly || !poly->coords2D) return;
  bool seen = false;
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    if (!poly->vert2DUsed[v] || poly->fragmentOf2D[v] != fragment) continue;
    const float x = float(poly->coords2D[v][0]), y = float(poly->coords2D[v][1]);
    if (!seen) {
      *xMin = *xMax = x;
      *yMin = *yMax = y;
      seen = true;
      continue;
    }
    *xMin = std::min(*xMin, x);
    *xMax = std::max(*xMax, x);
    *yMin = std::min(*yMin, y);
    *yMax = std::max(*yMax, y);
  }
}

void Layout_PutBUnderA(int32_t a, int32_t b, polyhedron* poly) {
  if (!poly) return;
  float axMin = 0, axMax = 0, ayMin = 0, ayMax = 0, bxMin = 0, bxMax = 0, byMin = 0, byMax = 0;
  Find2DBoundingBoxPointsAndFragment(poly, &axMin, &axMax, &ayMin, &ayMax, a);
  Find2DBoundingBoxPointsAndFragment(poly, &bxMin, &bxMax, &byMin, &byMax, b);
  const float dx = axMin - bxMin;
  const float dy = float((ayMax - byMin) + kStackGap * std::fabs(ayMin - ayMax));
  MoveVertices(poly, [&](int32_t g, double* mx, double* my) {
    if (g >= b) *mx = dx;
    if ((a == 1 && g >= b) || (a == 0 && g == b - 1)) *my = dy;
    return true;
  });
}

void Find2DBoundingBox(const polyhedron* poly, float* xMin, float* xMax, float* yMin, float* yMax) {
  *xMin = *xMax = *yMin = *yMax = 0.0f;
  if (!poly) return;
  int32_t v = 0;
  while (v < kPolyMax2DVerts && !poly->vert2DUsed[v]) ++v;
  if (v == kPolyMax2DVerts) return;
  *xMin = *xMax = poly->verts2D[v].x;
  *yMin = *yMax = poly->verts2D[v].y;
  const int32_t end = std::clamp(poly->n2DVerts, 0, kPolyMax2DVerts);
  for (; v < end; ++v) {
    if (!poly->vert2DUsed[v]) continue;
    *xMin = std::min(*xMin, poly->verts2D[v].x);
    *xMax = std::max(*xMax, poly->verts2D[v].x);
    *yMin = std::min(*yMin, poly->verts2D[v].y);
    *yMax = std::max(*yMax, poly->verts2D[v].y);
  }
}

void Find2DBoundingBoxSpecial(const polyhedron* poly, float* xMin, float* xMax, float* yMin, float* yMax, int32_t id,
                              uint16_t mode) {
  if (!poly) return;
  bool seen = false;
  for (int32_t t = 0; t < std::clamp(poly->nTriangles, 0, kPolyMaxTriangles); ++t) {
    const NetTriangle& tri = poly->triangles[t];
    const bool chosen =
        (mode == kBoxOfFace && tri.face2D == id) || (mode == kBoxOfFragment && tri.fragment == id) || mode == kBoxOfAll;
    if (!chosen) continue;
    for (const int32_t v : tri.vert2D) {
      if (v < 0 || v >= kPolyMax2DVerts) continue;
      const float x = poly->verts2D[v].x, y = poly->verts2D[v].y;
      if (!seen) {
        *xMin = *xMax = x;
        *yMin = *yMax = y;
        seen = true;
        continue;
      }
      *xMin = std::min(*xMin, x);
      *xMax = std::max(*xMax, x);
      *yMin = std::min(*yMin, y);
      *yMax = std::max(*yMax, y);
    }
  }
}
