#include "polyhedron/nets/net_fit.h"

#include <algorithm>
#include <cmath>

#include "polyhedron/nets/fragment_layout.h"

namespace {

struct Box {
  float xMin, xMax, yMin, yMax;
};

// cramBounds holds this inverted box unless the shape gives bounds of its own.
bool IsEmptyBox(const Box& b) { return !(b.xMin < b.xMax) || !(b.yMin < b.yMax); }

bool UsableScale(float s) { return std::isfinite(s) && s > 0.0f; }

float Reciprocal(float extent) { return extent != 0.0f ? 1.0f / extent : 1.0f; }

// x' = (x - from) · s + to on every used net point and on the box.
void Place(polyhedron* poly, float fromX, float fromY, float s, float toX, float toY, const Box& bounds) {
  const int32_t end = std::clamp(poly->n2DVerts, 0, kPolyMax2DVerts);
  for (int32_t v = 0; v < end; ++v) {
    if (!poly->vert2DUsed[v]) continue;
    PolyVertex2D& p = poly->verts2D[v];
    p.x = (p.x - fromX) * s + toX;
    p.y = (p.y - fromY) * s + toY;
  }
  poly->netBounds[0] = (bounds.xMin - fromX) * s + toX;
  poly->netBounds[1] = (bounds.xMax - fromX) * s + toX;
  poly->netBounds[2] = (bounds.yMin - fromY) * s + toY;
  poly->netBounds[3] = (bounds.yMax - fromY) * s + toY;
}

}  // namespace

void CramPoints(polyhedron* poly, int32_t mode) {
  if (!poly) return;
  poly->unitScale[0] = poly->unitScale[1] = 1.0f;
  if (mode == kCramUnitOnly) return;
  if (poly->n2DVerts < 1) {
    poly->snugglingScale = 1.0f;
    return;
  }
  if (poly->cramMode) {
    poly->targetRect[0] = -1.0f;
    poly->targetRect[1] = 1.0f;
    poly->targetRect[2] = -1.0f;
    poly->targetRect[3] = 1.0f;
  }
  const float W = poly->targetRect[1] - poly->targetRect[0];
  const float H = poly->targetRect[3] - poly->targetRect[2];
  poly->centre[0] = (poly->targetRect[0] + poly->targetRect[1]) / 2.0f;
  poly->centre[1] = (poly->targetRect[2] + poly->targetRect[3]) / 2.0f;

  Box bounds{poly->cramBounds[0], poly->cramBounds[1], poly->cramBounds[2], poly->cramBounds[3]};
  // Given bounds that are still the empty box would turn the net inside out;
  // the measured ones stand in for them.
  if (!poly->cramMode2 || IsEmptyBox(bounds))
    Find2DBoundingBox(poly, &bounds.xMin, &bounds.xMax, &bounds.yMin, &bounds.yMax);
  const float boundsX = (bounds.xMin + bounds.xMax) / 2.0f;
  const float boundsY = (bounds.yMin + bounds.yMax) / 2.0f;
  poly->crammedSize[0] = boundsX;
  poly->crammedSize[1] = boundsY;
  const float sx = W / (bounds.xMax - bounds.xMin);
  const float sy = H / (bounds.yMax - bounds.yMin);

  if (mode == kCramPlanned) {
    poly->crammedSize[0] = poly->crammedSize[1] = 0.0f;
    const float s = poly->plannedPlacement[2];
    Place(poly, poly->plannedPlacement[0], poly->plannedPlacement[1], s, poly->centre[0], poly->centre[1], bounds);
    poly->snugglingScale = s;
    return;
  }
  if (mode != kCramFit) return;

  float s = 1.0f;
  if (UsableScale(sx) && UsableScale(sy)) {
    if (sy > sx) {
      s = sx;
      poly->unitScale[0] = Reciprocal(W);
    } else {
      s = sy;
      poly->unitScale[1] = Reciprocal(H);
    }
  } else if (UsableScale(sx)) {
    // A net without height (or width) is fitted by its other extent.
    s = sx;
    poly->unitScale[0] = Reciprocal(W);
  } else if (UsableScale(sy)) {
    s = sy;
    poly->unitScale[1] = Reciprocal(H);
  }
  poly->snugglingScale = s;
  Place(poly, boundsX, boundsY, s, poly->centre[0], poly->centre[1], bounds);
}
