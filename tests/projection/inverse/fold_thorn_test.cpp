#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "projection/inverse/special_views_fold.h"
#include "projection/inverse/special_views_thorn.h"
#include "views_test_util.h"

namespace {

struct FoldResult {
  float p[3];
  uint8_t outside;
  int32_t region;
  int32_t glue;
};

FoldResult Fold(float x, float y, float n = 12.0f, float p = 1.0f) {
  FoldResult r{{9, 9, 9}, 9, 9, 9};
  GetZorFoldingSphere(x, y, n, p, r.p, &r.outside, &r.region, &r.glue);
  return r;
}

TEST(FoldingSphere, SizesOfTheSheet) {
  EXPECT_FLOAT_EQ(spheretabwidth(12.0f, 1.0f), 1.0f / 36.0f);
  EXPECT_FLOAT_EQ(GetZorFoldingSphereCompleteHeight(12.0f, 1.0f), 0.5f / 3.0f + 0.037f);
  EXPECT_FLOAT_EQ(GetZorFoldingSphereCompleteHeight(-5.0f, 0.5f), 0.25f + 0.037f);
}

TEST(FoldingSphere, RegionsOfTheSheet) {
  const float n = 12.0f, h = 0.5f / 3.0f, H = h + 0.037f, w = spheretabwidth(n, 1.0f) * 0.5f;
  // The tab count 12 and glue proportion 1 put tab k between
  // x = k/12 - 0.5 + w and (k+1)/12 - 0.5 + w, the glue strip in its first
  // third (f < 0 on the middle line).
  const float tab0 = -0.5f + w;
  const struct {
    const char* what;
    float x, y;
    uint8_t outside;
    int32_t region;
    int32_t glue;
  } cases[] = {
      {"above the sheet", 0.0f, H * 0.5f + 1e-4f, 1, kFoldRegionNothing, kFoldGlueNone},
      {"below the sheet", 0.0f, -H * 0.5f - 1e-4f, 1, kFoldRegionNothing, kFoldGlueNone},
      {"margin before the first tab", tab0 - 1e-4f, 0.0f, 1, kFoldRegionMargin, kFoldGlueNone},
      {"far left of the margin", tab0 - 2.5f * w, 0.0f, 1, kFoldRegionNothing, kFoldGlueNone},
      {"beyond the last tab", 0.5f + w + 1e-3f, 0.0f, 1, kFoldRegionNothing, kFoldGlueNone},
      {"glue strip, middle line", tab0 + 0.1f / n, 0.0f, 0, kFoldRegionGlue, kFoldGlueStrip},
      {"tab picture, middle line", tab0 + 0.5f / n, 0.0f, 0, kFoldRegionTab, kFoldGlueNone},
      // At sy = 0.5 the glue strip reaches f < 0.5: tab position 0.45 of 3.
      {"glue strip reaches further at the tab's top", tab0 + 1.45f / 3.0f / n, h * 0.5f, 0, kFoldRegionGlue,
       kFoldGlueStrip},
      {"picture just past it", tab0 + 1.55f / 3.0f / n, h * 0.5f, 0, kFoldRegionTab, kFoldGlueNone},
      {"glue band above the strip", tab0 + 0.9f / n, h * 0.5f + 0.01f, 0, kFoldRegionTab, kFoldGlueNone},
      {"NaN", NAN, 0.0f, 1, kFoldRegionNothing, kFoldGlueNone},
  };
  for (const auto& c : cases) {
    const FoldResult r = Fold(c.x, c.y, n);
    EXPECT_EQ(r.outside, c.outside) << c.what;
    EXPECT_EQ(r.region, c.region) << c.what;
    EXPECT_EQ(r.glue, c.glue) << c.what;
    if (!r.outside) {
      EXPECT_NEAR(std::hypot(r.p[0], r.p[1], r.p[2]), 1.0, 1e-5) << c.what;
    }
  }
}

// A tab is three units wide: its glue strip (f < 0 on the middle line,
// reaching f < 0.5 at the strip's top and bottom), the gore itself
// (0 <= f <= 1) and an overlap that the next tab's glue strip covers. The
// gores close up when folded: tab k's right gore edge and tab k+1's left
// gore edge are the same meridian, and a glue strip repeats the picture of
// the tab it is glued under.
TEST(FoldingSphere, NeighbouringTabsMeet) {
  const float n = 8.0f, w = spheretabwidth(n, 1.0f) * 0.5f;
  const float tab0 = -0.5f + w;
  const float unit = 1.0f / 3.0f / n;  // one unit of f on the sheet
  const float d = 0.002f;              // off the edge, clear of the glue curve
  for (int k = 0; k + 1 < 8; ++k) {
    for (float y : {-0.004f, 0.0f, 0.003f}) {
      const float edge = tab0 + (k + 1) / n;
      const FoldResult left = Fold(edge - unit - d * unit, y, n);   // tab k, f = 1 - d
      const FoldResult right = Fold(edge + unit + d * unit, y, n);  // tab k+1, f = d
      ASSERT_EQ(left.region, kFoldRegionTab);
      ASSERT_EQ(right.region, kFoldRegionTab);
      EXPECT_TRUE(Near3(left.p, right.p, 4e-3)) << k << " " << y;
    }
  }
  // A glue strip at f shows its left neighbour at 1 - f.
  for (float f : {-0.6f, -0.2f}) {
    const FoldResult glue = Fold(tab0 + 1.0f / n + (1.0f + f) * unit, 0.02f, n);
    const FoldResult under = Fold(tab0 + (1.0f - f + 1.0f) * unit, 0.02f, n);
    ASSERT_EQ(glue.region, kFoldRegionGlue);
    ASSERT_EQ(under.region, kFoldRegionTab);
    EXPECT_TRUE(Near3(glue.p, under.p, 1e-5)) << f;
  }
}

struct ThornResult {
  float p[3];
  uint8_t outside;
};

ThornResult Core(float x, float y, uint8_t firstLayout, int32_t columns = 4, int32_t rows = 4) {
  ThornResult r{{9, 9, 9}, 9};
  GetThornViewCore(x, y, columns, rows, r.p, &r.outside, firstLayout);
  return r;
}

// The centre of cell (row, column) of a 4 x 4 grid centred on 0.
float CellX(int column) { return column - 2 + 0.5f; }
float CellY(int row) { return row - 2 + 0.5f; }

TEST(ThornView, CellsShownByLayout) {
  for (uint8_t layout : {0, 1}) {
    std::set<std::array<int, 3>> faces;
    for (int cell = 0; cell < 16; ++cell) {
      const ThornCell& c = ThornCellAt(cell);
      const bool shown = c.kind == ThornCell_Both || c.kind == (layout ? ThornCell_First : ThornCell_Second);
      const ThornResult r = Core(CellX(cell % 4), CellY(cell / 4), layout);
      EXPECT_EQ(r.outside, shown ? 0 : 1) << "cell " << cell << " layout " << int(layout);
      if (!shown) continue;
      // A cell's centre is its face's centre.
      EXPECT_TRUE(Near3(r.p, c.face, 1e-5)) << "cell " << cell;
      faces.insert({int(std::lround(r.p[0])), int(std::lround(r.p[1])), int(std::lround(r.p[2]))});
    }
    EXPECT_EQ(faces.size(), 6u) << "each layout shows the six faces of the cube";
  }
}

TEST(ThornView, OutsideTheGrid) {
  for (const auto& xy : {std::array<float, 2>{-2.0f, 0.3f}, {2.0f, 0.3f}, {0.3f, 2.0f}, {0.3f, -2.01f}, {NAN, 0}}) {
    EXPECT_EQ(Core(xy[0], xy[1], 1).outside, 1) << xy[0] << " " << xy[1];
  }
}

// Grid neighbours in a layout are cube neighbours: the edge they share maps
// to the same cube edge from both sides.
TEST(ThornView, NeighbouringCellsMeet) {
  for (uint8_t layout : {0, 1}) {
    int seams = 0;
    for (int cell = 0; cell < 16; ++cell) {
      const int row = cell / 4, column = cell % 4;
      for (const auto& step : {std::array<int, 2>{0, 1}, {1, 0}}) {
        const int r2 = row + step[0], c2 = column + step[1];
        if (r2 > 3 || c2 > 3) continue;
        for (float t : {-0.35f, 0.0f, 0.4f}) {
          const float ex = step[1] ? column - 1.0f : CellX(column) + t;
          const float ey = step[0] ? row - 1.0f : CellY(row) + t;
          const ThornResult a = Core(ex - step[1] * 1e-5f, ey - step[0] * 1e-5f, layout);
          const ThornResult b = Core(ex + step[1] * 1e-5f, ey + step[0] * 1e-5f, layout);
          if (a.outside || b.outside) continue;
          ++seams;
          EXPECT_TRUE(Near3(a.p, b.p, 1e-3))
              << "layout " << int(layout) << " cells " << cell << " and " << r2 * 4 + c2 << " at " << t;
        }
      }
    }
    EXPECT_EQ(seams, 5 * 3) << "a cube net of six faces has five inner edges";
  }
}

// The back face (0, 0, -1) is the front face turned a half-turn about x.
TEST(ThornView, BackFaceIsAHalfTurnAboutX) {
  const ThornResult r = Core(CellX(1) + 0.3f, CellY(2) - 0.2f, 1);  // cell 9
  ASSERT_EQ(r.outside, 0);
  EXPECT_LT(r.p[2], -0.5f);
  const ThornResult centre = Core(CellX(1), CellY(2), 1);
  const float back[3] = {0, 0, -1};
  EXPECT_TRUE(Near3(centre.p, back, 1e-6));
}

// Cells are found row by row, `columns` to a row. On a grid of 4 columns
// and 2 rows, the cell at row 1, column 2 is cell 6 (shown in both
// layouts), not cell 1·2 + 2 = 4 (empty).
TEST(ThornView, CellsIndexedByColumnsOnANonSquareGrid) {
  const ThornResult r = Core(0.5f, 0.5f, 1, 4, 2);
  EXPECT_EQ(r.outside, 0);
  const float up[3] = {0, 1, 0};
  EXPECT_TRUE(Near3(r.p, up, 1e-5));
}

TEST(ThornView, WarpedSheet) {
  // The sheet's origin lies on the warp's fixed point, the corner of four
  // cells; points around it land in cells of the net.
  ThornResult r{{9, 9, 9}, 9};
  GetThornView(0.3f, 0.2f, 4, 4, r.p, &r.outside, 1, 0);
  EXPECT_EQ(r.outside, 0);
  EXPECT_NEAR(std::hypot(r.p[0], r.p[1], r.p[2]), 1.0, 1e-5);
  // Far beyond the grid.
  GetThornView(9.0f, 9.0f, 4, 4, r.p, &r.outside, 1, 0);
  EXPECT_EQ(r.outside, 1);
  // Centring moves the sheet by a fixed offset before the warp.
  ThornResult a{{0, 0, 0}, 9}, b{{0, 0, 0}, 9};
  GetThornView(0.1f, 0.1f, 4, 4, a.p, &a.outside, 1, 1);
  GetThornView(0.295f, 0.24f, 4, 4, b.p, &b.outside, 1, 0);
  EXPECT_EQ(a.outside, b.outside);
  EXPECT_TRUE(Near3(a.p, b.p, 1e-6));
}

}  // namespace
