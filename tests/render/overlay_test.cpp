// The line overlays cell by cell: the coverage splat, the contour inside a
// pixel, the graticule, the Tissot corner rules and the edge-dot cases.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "render/rows/column_record.h"
#include "render/overlays/overlay_edges.h"
#include "render/overlays/overlay_grids.h"
#include "render/overlays/overlays.h"
#include "render/vort.h"

namespace {

constexpr int32_t kPixel = 1;  // the pixel drawn into: records 1 and 2
constexpr int32_t kNow = 0, kNext = 1;
constexpr float kTolerance = 2e-5f;

// The four cells a pixel's segments reach: record x now and next, record
// x + 1 now and next.
using Cells = std::array<float, 4>;

std::vector<ColumnRecord> Records() {
  std::vector<ColumnRecord> r(4);
  ResetColumnRecords(r.data(), 4);
  return r;
}

Cells CellsOf(const std::vector<ColumnRecord>& r, CoverageCells cells) {
  return {(r[kPixel].*cells)[kNow], (r[kPixel].*cells)[kNext], (r[kPixel + 1].*cells)[kNow],
          (r[kPixel + 1].*cells)[kNext]};
}

// Nothing may reach records other than the pixel's two, nor other overlays.
void ExpectOnlyCellsTouched(const std::vector<ColumnRecord>& r, CoverageCells cells) {
  for (const int32_t i : {0, 3}) {
    EXPECT_EQ((r[i].*cells)[0], 0.0f);
    EXPECT_EQ((r[i].*cells)[1], 0.0f);
  }
  for (const CoverageCells other : {&ColumnRecord::gridCoverage, &ColumnRecord::edgeCoverage,
                                    &ColumnRecord::tissotCoverage}) {
    if (other == cells) continue;
    for (const auto& rec : r) EXPECT_EQ((rec.*other)[0] + (rec.*other)[1], 0.0f);
  }
}

void ExpectCells(const Cells& got, const Cells& want, const char* what) {
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[k], want[k], kTolerance) << what << ", cell " << k;
}

// The splat of one segment, worked out by hand: length L at midpoint
// (mx, my) gives L(1-mx)(1-my), L(1-mx)my, L·mx(1-my), L·mx·my.
Cells Splat(float sx0, float sy0, float sx1, float sy1, float weight) {
  const float l = std::hypot(sx0 - sx1, sy0 - sy1) * weight;
  const float mx = (sx0 + sx1) / 2, my = (sy0 + sy1) / 2;
  return {l * (1 - mx) * (1 - my), l * (1 - mx) * my, l * mx * (1 - my), l * mx * my};
}

Cells Sum(const Cells& a, const Cells& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2], a[3] + b[3]}; }

TEST(Overlays, SegmentSplatsItsLengthAboutItsMidpoint) {
  struct Case {
    float x0, y0, x1, y1, weight;
    Cells want;
  };
  const Case cases[] = {
      {0, 0, 1, 0, 1, {0.5f, 0, 0.5f, 0}},     // along the top side
      {0, 0, 0, 1, 1, {0.5f, 0.5f, 0, 0}},     // down the left side
      {1, 0.5f, 1, 1, 1, {0, 0, 0.125f, 0.375f}},  // lower half of the right side
      {0, 0, 1, 1, 0.5f, {0.1767767f, 0.1767767f, 0.1767767f, 0.1767767f}},  // diagonal, half weight
      {0.25f, 0.25f, 0.25f, 0.25f, 1, {0, 0, 0, 0}},                         // a point covers nothing
  };
  for (const Case& c : cases) {
    auto r = Records();
    draw_Wu_segment(c.x0, c.y0, c.x1, c.y1, r.data(), &ColumnRecord::edgeCoverage, kPixel, kNow, kNext, c.weight);
    ExpectCells(CellsOf(r, &ColumnRecord::edgeCoverage), c.want, "segment");
    ExpectOnlyCellsTouched(r, &ColumnRecord::edgeCoverage);
  }
  // Coverage adds up; the slots follow the caller's row parity.
  auto r = Records();
  for (int i = 0; i < 2; ++i)
    draw_Wu_segment(0, 0, 0, 1, r.data(), &ColumnRecord::gridCoverage, kPixel, 1, 0, 1.0f);
  EXPECT_NEAR(r[kPixel].gridCoverage[1], 1.0f, kTolerance);
  EXPECT_NEAR(r[kPixel].gridCoverage[0], 1.0f, kTolerance);
}

TEST(Overlays, ContourInsideAPixel) {
  struct Case {
    const char* what;
    float c0, c1, c2, c3, level;
    Cells want;
  };
  const Case cases[] = {
      {"all below", 0, 0.1f, 0.2f, 0.3f, 0.5f, {}},
      {"all above", 1, 0.6f, 0.7f, 0.8f, 0.5f, {}},
      {"all on the level", 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, {}},
      {"vertical", 0, 1, 0, 1, 0.5f, Splat(0.5f, 0, 0.5f, 1, 1)},
      {"horizontal", 0, 0, 1, 1, 0.25f, Splat(0, 0.25f, 1, 0.25f, 1)},
      {"off-centre crossings", 0, 1, 0, 0.5f, 0.25f, Splat(0.25f, 0, 0.5f, 1, 1)},
      {"lower-right corner", 0, 0, 0, 1, 0.5f, Splat(1, 0.5f, 0.5f, 1, 1)},
      {"upper-left corner below", 0, 1, 1, 1, 0.5f, Splat(0.5f, 0, 0, 0.5f, 1)},
      // Saddles: each segment cuts off one corner at or above the level.
      {"saddle, upper-right and lower-left above", 0, 1, 1, 0, 0.5f,
       Sum(Splat(0.5f, 0, 1, 0.5f, 1), Splat(0, 0.5f, 0.5f, 1, 1))},
      {"saddle, upper-left and lower-right above", 1, 0, 0, 1, 0.5f,
       Sum(Splat(0, 0.5f, 0.5f, 0, 1), Splat(1, 0.5f, 0.5f, 1, 1))},
      // -2 marks a missing corner, which takes the lower-right value.
      {"missing upper-left joins the lower-right", -2, 0, 0, 1, 0.5f,
       Sum(Splat(0, 0.5f, 0.5f, 0, 1), Splat(1, 0.5f, 0.5f, 1, 1))},
      {"three missing corners draw nothing", -2, -2, -2, 0.2f, 0.5f, {}},
      {"a lower-right -2 is a value", 1, 1, 1, -2, 0.5f, Splat(1, 1.0f / 6, 1.0f / 6, 1, 1)},
  };
  for (const Case& c : cases) {
    auto r = Records();
    mystery_dot(c.c0, c.c1, c.c2, c.c3, c.level, r.data(), &ColumnRecord::tissotCoverage, kPixel, kNow, kNext, 1.0f);
    ExpectCells(CellsOf(r, &ColumnRecord::tissotCoverage), c.want, c.what);
    ExpectOnlyCellsTouched(r, &ColumnRecord::tissotCoverage);
  }
}

}  // namespace
