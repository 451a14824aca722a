#include "render/overlays/overlays.h"

#include "projection/scalar_math.h"

namespace {

constexpr float kMissingValue = -2.0f;
constexpr float kMissingNudge = 0.00001f;

// Where the straight interpolation from value a to value b meets the
// level, as a fraction of the way from a to b. Only asked of sides whose
// corners lie on opposite sides of the level, so a != b.
float Crossing(float a, float b, float level) { return (a - level) / (a - b); }

}  // namespace

void draw_Wu_segment(float sx0, float sy0, float sx1, float sy1, ColumnRecord* records, CoverageCells cells,
                     int32_t x, int32_t slotNow, int32_t slotNext, float weight) {
  const float dx = sx0 - sx1, dy = sy0 - sy1;
  const float length = SqrtFastSloppyFloat(dx * dx + dy * dy) * weight;
  const float mx = (sx0 + sx1) * 0.5f, my = (sy0 + sy1) * 0.5f;
  const float a = length * (1.0f - mx), b = length * mx;
  float(&left)[2] = records[x].*cells;
  float(&right)[2] = records[x + 1].*cells;
  left[slotNow] += a * (1.0f - my);
  left[slotNext] += a * my;
  right[slotNow] += b * (1.0f - my);
  right[slotNext] += b * my;
}

void mystery_dot(float c0, float c1, float c2, float c3, float level, ColumnRecord* records, CoverageCells cells,
                 int32_t x, int32_t slotNow, int32_t slotNext, float weight) {
  if (c0 == kMissingValue) c0 = c3 + kMissingNudge;
  if (c1 == kMissingValue) c1 = c3 + kMissingNudge;
  if (c2 == kMissingValue) c2 = c3 + kMissingNudge;
  int32_t kind = (c0 >= level) + 2 * (c1 >= level) + 4 * (c2 >= level) + 8 * (c3 >= level);
  // Four corners exactly on or above the level may still hold a contour
  // through the ones that sit on it.
  if (kind == 15) kind = (c0 > level) + 2 * (c1 > level) + 4 * (c2 > level) + 8 * (c3 > level);
  if (kind == 0 || kind == 15) return;

  const bool top = ((kind >> 0) ^ (kind >> 1)) & 1;     // c0 - c1
  const bool bottom = ((kind >> 2) ^ (kind >> 3)) & 1;  // c2 - c3
  const bool left = ((kind >> 0) ^ (kind >> 2)) & 1;    // c0 - c2
  const bool right = ((kind >> 1) ^ (kind >> 3)) & 1;   // c1 - c3
  const float topX = top ? Crossing(c0, c1, level) : 0.0f;
  const float bottomX = bottom ? Crossing(c2, c3, level) : 0.0f;
  const float leftY = left ? Crossing(c0, c2, level) : 0.0f;
  const float rightY = right ? Crossing(c1, c3, level) : 0.0f;
  const auto segment = [&](float sx0, float sy0, float sx1, float sy1) {
    draw_Wu_segment(sx0, sy0, sx1, sy1, records, cells, x, slotNow, slotNext, weight);
  };

  if (kind == 6) {  // c1 and c2 above: cut off the upper-right and lower-left corners
    segment(topX, 0.0f, 1.0f, rightY);
    segment(0.0f, leftY, bottomX, 1.0f);
    return;
  }
  if (kind == 9) {  // c0 and c3 above: cut off the upper-left and lower-right corners
    segment(0.0f, leftY, topX, 0.0f);
    segment(1.0f, rightY, bottomX, 1.0f);
    return;
  }
  // Any other case crosses exactly two sides.
  float px[2], py[2];
  int32_t n = 0;
  if (top) px[n] = topX, py[n++] = 0.0f;
  if (left) px[n] = 0.0f, py[n++] = leftY;
  if (right) px[n] = 1.0f, py[n++] = rightY;
  if (bottom) px[n] = bottomX, py[n++] = 1.0f;
  if (n == 2) segment(px[0], py[0], px[1], py[1]);
}
