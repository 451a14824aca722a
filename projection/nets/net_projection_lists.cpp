#include "projection/nets/net_projection_lists.h"

#include <algorithm>

#include "polyhedron/mode_polyhedron_table.h"  // the one-face-group filter is the mode table's rule

namespace {

constexpr float kEmptyBandMinX = 100.0f;
constexpr float kEmptyBandMaxX = -100.0f;

struct BandBox {
  float xLow, xHigh, yLow, yHigh, margin;
};

// True when the three corners all lie beyond the same side of the band.
bool Culled(const polyhedron* poly, const NetTriangle& t, const BandBox& box) {
  bool below = true, above = true, left = true, right = true;
  for (int k = 0; k < 3; ++k) {
    const PolyVertex2D& p = poly->verts2D[t.vert2D[k]];
    below = below && p.y + box.margin < box.yLow;
    above = above && p.y - box.margin > box.yHigh;
    left = left && p.x + box.margin < box.xLow;
    right = right && p.x - box.margin > box.xHigh;
  }
  return below || above || left || right;
}

void WidenBand(const polyhedron* poly, const NetTriangle& t, renderhinttype* hint) {
  for (int k = 0; k < 3; ++k) {
    const float x = poly->verts2D[t.vert2D[k]].x;
    hint->bandMinX = std::min(hint->bandMinX, x);
    hint->bandMaxX = std::max(hint->bandMaxX, x);
  }
}

bool CornersExist(const NetTriangle& t) {
  for (int k = 0; k < 3; ++k)
    if (t.vert2D[k] < 0 || t.vert2D[k] >= kPolyMax2DVerts) return false;
  return true;
}

// Appends every kept triangle of one kind (tabs or faces) at faceList[first],
// then copies the run once behind itself; returns its length.
int32_t ListKind(const polyhedron* poly, bool tabs, int32_t first, int32_t selector, bool culling,
                 const BandBox& box, renderhinttype* hint) {
  const int32_t count = std::clamp(poly->nTriangles, 0, kPolyMaxTriangles);
  int32_t n = 0;
  for (int32_t i = 0; i < count; ++i) {
    const NetTriangle& t = poly->triangles[i];
    if ((t.isTab != 0) != tabs || !CornersExist(t)) continue;
    if (culling && Culled(poly, t, box)) continue;
    if (ShouldSuppressTriangle(poly, i, selector)) continue;
    hint->faceList[first + n++] = i;
    WidenBand(poly, t, hint);
  }
  std::copy_n(hint->faceList + first, n, hint->faceList + first + n);
  return n;
}

}  // namespace

// Both lists together hold at most every triangle twice.
static_assert(kShortTriListCapacity >= 2 * kPolyMaxTriangles, "room for every triangle twice");

void PrepareShortTriList(const polyhedron* poly, float bandYLow, float bandYHigh, int32_t facegroupSelector,
                         float margin, renderhinttype* hint, float bandXLow, float bandXHigh, bool culling) {
  if (!hint) return;
  hint->faceCount = 0;
  hint->tabCount = 0;
  hint->tabListStart = 0;
  hint->bandMinX = kEmptyBandMinX;
  hint->bandMaxX = kEmptyBandMaxX;
  hint->lastListIndex = 0;
  hint->lastTab = 0;
  hint->hitRegion = 0;
  hint->lastFace = 0;
  if (!poly) return;
  // The rows of a band may run against the plane's y axis: take the band as
  // a box whichever way its edges were handed in.
  const BandBox box = {std::min(bandXLow, bandXHigh), std::max(bandXLow, bandXHigh), std::min(bandYLow, bandYHigh),
                       std::max(bandYLow, bandYHigh), margin};
  hint->faceCount = ListKind(poly, false, 0, facegroupSelector, culling, box, hint);
  hint->tabListStart = 2 * hint->faceCount;
  hint->tabCount = ListKind(poly, true, hint->tabListStart, facegroupSelector, culling, box, hint);
}
