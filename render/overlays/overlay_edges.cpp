#include "render/overlays/overlay_edges.h"

#include "render/rows/adaptive_sampling.h"
#include "render/rows/column_record.h"
#include "render/overlays/overlays.h"

namespace {

constexpr float kEdgeWeight = 1.0f;

}  // namespace

EdgeDot EdgeDotOf(const SuperSamplerReply& reply) {
  EdgeDot dot;
  for (int k = 0; k < 4; ++k) {
    dot.cornerRegion[k] = reply.cornerRegion[k];
    dot.crossings[k] = reply.edgeCrossings[k];
  }
  return dot;
}

void draw_edge_dot(const EdgeDot& dot, ColumnRecord* records, int32_t x, int32_t slotNow, int32_t slotNext,
                   bool voidIsRegionZero) {
  int32_t c[4];
  for (int k = 0; k < 4; ++k) {
    c[k] = dot.cornerRegion[k];
    if (voidIsRegionZero && c[k] < 0) c[k] = 0;
  }
  // c0 lower-right, c1 lower-left, c2 upper-right, c3 upper-left; the
  // segments are written in pixel-local (x, y), y growing downwards.
  const float T = dot.crossings[0], B = dot.crossings[1], L = dot.crossings[2], R = dot.crossings[3];
  const auto segment = [&](float sx0, float sy0, float sx1, float sy1) {
    draw_Wu_segment(sx0, sy0, sx1, sy1, records, &ColumnRecord::edgeCoverage, x, slotNow, slotNext, kEdgeWeight);
  };
  const int32_t kind = (c[3] != c[0]) + 2 * (c[2] != c[0]) + 4 * (c[1] != c[0]);
  switch (kind) {
    case 1: segment(0.0f, L, T, 0.0f); break;  // the upper-left corner alone
    case 2: segment(T, 0.0f, 1.0f, R); break;  // the upper-right corner alone
    case 3:                                    // the upper pair against the lower one
      segment(0.0f, L, 1.0f, R);
      // Two regions above: their boundary runs down from the top side to
      // the horizontal edge.
      if (c[2] != c[3]) segment(T, 0.0f, T, (L + R) * 0.5f);
      break;
    case 4: segment(0.0f, L, B, 1.0f); break;  // the lower-left corner alone
    case 5:                                    // the left pair against the right one
      segment(T, 0.0f, B, 1.0f);
      if (c[1] != c[3]) segment(0.0f, L, (T + B) * 0.5f, L);
      break;
    case 6:  // diagonal: the lower-left and upper-right corners cut off
      segment(0.0f, L, B, 1.0f);
      segment(T, 0.0f, 1.0f, R);
      break;
    case 7:  // the lower-right corner differs from the other three
      if (c[2] == c[3]) {
        if (c[1] == c[3]) {
          segment(B, 1.0f, 1.0f, R);
        } else {
          segment(0.0f, L, 1.0f, R);
          segment(B, (L + R) * 0.5f, B, 1.0f);
        }
      } else if (c[1] != c[2]) {
        if (c[1] == c[3]) {
          segment(T, 0.0f, B, 1.0f);
          segment((T + B) * 0.5f, R, 1.0f, R);
        } else {
          segment(T, 0.0f, B, 1.0f);
          segment(0.0f, L, 1.0f, R);
        }
      } else {
        segment(0.0f, L, T, 0.0f);
        segment(B, 1.0f, 1.0f, R);
      }
      break;
    default: break;
  }
}
