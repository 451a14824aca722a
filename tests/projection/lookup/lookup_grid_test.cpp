// Unpacking of packed tables into grids, the two interpolating readers and
// the octant fold, on small synthetic tables.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "projection/complex_math.h"
#include "projection/lookup/lookup_fold.h"
#include "projection/lookup/lookup_grid.h"
#include "projection/lookup/lookup_readers.h"

namespace {

std::unique_ptr<LookupGrid> NewGrid() { return std::make_unique<LookupGrid>(); }

// A packed table whose k-th float is k + 1, so every value says where it
// was read from.
std::vector<float> Counting(int32_t floats) {
  std::vector<float> t(floats);
  for (int32_t k = 0; k < floats; ++k) t[k] = float(k + 1);
  return t;
}

struct ShapeCase {
  int32_t n, shape, form, floats;
};

TEST(LookupGrid, EachShapeAndFormConsumesItsExactLength) {
  const ShapeCase cases[] = {
      {50, LookupShape_TrianglePlusDiagonal, LookupForm_Pair, 2648},
      {51, LookupShape_TrianglePlusDiagonal, LookupForm_Pair, 2752},
      {50, LookupShape_Triangle, LookupForm_PairToo, 2550},
      {50, LookupShape_Square, LookupForm_Pair, 5000},
      {50, LookupShape_Square, LookupForm_Triple, 7500},
      {30, LookupShape_TriangleTopDown, LookupForm_Pair, 930},
      {50, LookupShape_LowerHalf, LookupForm_MirroredPair, 2550},
      {50, 7, LookupForm_Pair, 0},
  };
  for (const ShapeCase& c : cases) {
    EXPECT_EQ(LookupTableFloats(c.n, c.shape, c.form), c.floats) << "shape " << c.shape << " N " << c.n;
    if (c.floats == 0) continue;
    // The unpacking reads exactly that many: the largest stored value is the
    // table's last float.
    const std::vector<float> t = Counting(c.floats);
    auto g = NewGrid();
    ASSERT_TRUE(FillGeneralTable(g.get(), c.n, c.shape, t.data(), c.floats, c.form));
    float largest = 0.0f;
    for (int y = 0; y < c.n; ++y) {
      for (int x = 0; x < c.n; ++x) {
        for (int ch = 0; ch < 3; ++ch) largest = std::max(largest, g->cell[y][x][ch]);
      }
    }
    EXPECT_EQ(largest, float(c.floats)) << "shape " << c.shape;
    EXPECT_EQ(g->size, c.n);
    EXPECT_EQ(g->lastIndex, float(c.n - 1));
  }
}

TEST(LookupGrid, CellsOutsideTheShapeAndChannelThreeStayZero) {
  const int32_t n = 6;
  const std::vector<float> t = Counting(LookupTableFloats(n, LookupShape_Triangle, LookupForm_Triple));
  auto g = NewGrid();
  ASSERT_TRUE(FillGeneralTable(g.get(), n, LookupShape_Triangle, t.data(), int32_t(t.size()), LookupForm_Triple));
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      EXPECT_EQ(g->cell[y][x][3], 0.0f);
      if (x + y > n - 1) {
        EXPECT_EQ(g->cell[y][x][0], 0.0f) << x << ", " << y;
      }
    }
  }
  // Rows rise, columns rise: cell (1, 0) is the second triple.
  EXPECT_EQ(g->cell[0][1][0], 4.0f);
  EXPECT_EQ(g->cell[0][1][2], 6.0f);
}

TEST(LookupGrid, TopDownShapeBeginsWithTheOneCellRow) {
  const int32_t n = 30;
  const std::vector<float> t = Counting(930);
  auto g = NewGrid();
  ASSERT_TRUE(FillGeneralTable(g.get(), n, LookupShape_TriangleTopDown, t.data(), 930, LookupForm_Pair));
  EXPECT_EQ(g->cell[29][0][0], 1.0f);   // first entry: cell (0, 29)
  EXPECT_EQ(g->cell[28][0][0], 3.0f);   // then row 28
  EXPECT_EQ(g->cell[28][1][0], 5.0f);
  EXPECT_EQ(g->cell[0][29][1], 930.0f);  // last: cell (29, 0)
}

TEST(LookupGrid, MirroredFormFillsBothHalvesAndSwapsTheDiagonal) {
  const int32_t n = 5;
  const std::vector<float> t = Counting(LookupTableFloats(n, LookupShape_LowerHalf, LookupForm_MirroredPair));
  auto g = NewGrid();
  ASSERT_TRUE(
      FillGeneralTable(g.get(), n, LookupShape_LowerHalf, t.data(), int32_t(t.size()), LookupForm_MirroredPair));
  // Entry 1 of the table is cell (0, 1) = (3, 4); its mirror (1, 0) = (4, 3).
  EXPECT_EQ(g->cell[1][0][0], 3.0f);
  EXPECT_EQ(g->cell[1][0][1], 4.0f);
  EXPECT_EQ(g->cell[0][1][0], 4.0f);
  EXPECT_EQ(g->cell[0][1][1], 3.0f);
  // Entry 2 is the diagonal cell (1, 1) = (5, 6), which keeps the swapped pair.
  EXPECT_EQ(g->cell[1][1][0], 6.0f);
  EXPECT_EQ(g->cell[1][1][1], 5.0f);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) EXPECT_NE(g->cell[y][x][0] + g->cell[y][x][1], 0.0f) << x << ", " << y;
  }
}

TEST(LookupGrid, AWrongDescriptionReadsNothing) {
  // A table one pair short must not be read past its end: the grid stays
  // empty, and readers give zeros.
  const std::vector<float> t = Counting(2548);
  auto g = NewGrid();
  EXPECT_FALSE(FillGeneralTable(g.get(), 50, LookupShape_TrianglePlusDiagonal, t.data(), 2548, LookupForm_Pair));
  EXPECT_EQ(g->size, 0);
  EXPECT_FALSE(FillGeneralTable(g.get(), 52, LookupShape_Square, t.data(), 2548, LookupForm_Pair));
  EXPECT_FALSE(FillGeneralTable(g.get(), 50, LookupShape_Square, nullptr, 5000, LookupForm_Pair));
  EXPECT_FALSE(FillGeneralTable(g.get(), 50, LookupShape_Square, t.data(), 5000, 9));
  float a = 1.0f, b = 1.0f;
  get_simplicial_cache_values(3.0f, 4.0f, *g, &a, &b);
  EXPECT_EQ(a, 0.0f);
  EXPECT_EQ(b, 0.0f);
}

// A full grid holding a linear function of the cell: channel 0 = 2x - 3y + 1,
// channel 1 = 0.5x + y, channel 2 = x + y.
std::unique_ptr<LookupGrid> LinearGrid(int32_t n) {
  std::vector<float> t;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      t.push_back(2.0f * x - 3.0f * y + 1.0f);
      t.push_back(0.5f * x + y);
      t.push_back(float(x + y));
    }
  }
  auto g = NewGrid();
  FillGeneralTable(g.get(), n, LookupShape_Square, t.data(), int32_t(t.size()), LookupForm_Triple);
  return g;
}

TEST(LookupReaders, BothReadersAreExactOnLinearData) {
  auto g = LinearGrid(9);
  const float points[][2] = {{0.0f, 0.0f}, {8.0f, 8.0f}, {2.25f, 3.5f}, {0.75f, 0.75f}, {7.9f, 0.1f},
                             {4.5f, 4.5f}, {3.0f, 6.25f}, {0.2f, 7.7f}, {5.6f, 2.3f}};
  for (const auto& p : points) {
    const float x = p[0], y = p[1];
    float a, b, c;
    get_simplicial_cache_values(x, y, *g, &a, &b);
    EXPECT_NEAR(a, 2 * x - 3 * y + 1, 1e-5) << x << ", " << y;
    EXPECT_NEAR(b, 0.5 * x + y, 1e-5) << x << ", " << y;
    get_three_simplicial_cache_values(x, y, *g, &a, &b, &c);
    EXPECT_NEAR(c, x + y, 1e-5) << x << ", " << y;
    get_ramped_cache_values(x, y, *g, &a, &b);
    EXPECT_NEAR(a, 2 * x - 3 * y + 1, 1e-5) << x << ", " << y;
    EXPECT_NEAR(b, 0.5 * x + y, 1e-5) << x << ", " << y;
  }
}

TEST(LookupReaders, OutsideAndNonFiniteCoordinatesReadTheClampedEdge) {
  auto g = LinearGrid(9);
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float x, y;     // asked
    float cx, cy;   // read
  } cases[] = {
      {9.6f, -2.4f, 8.0f, 0.0f}, {-5.0f, 3.5f, 0.0f, 3.5f}, {1e30f, 1e30f, 8.0f, 8.0f},
      {inf, -inf, 8.0f, 0.0f},   {nan, 2.0f, 0.0f, 2.0f},   {4.0f, nan, 4.0f, 0.0f},
  };
  for (const Case& c : cases) {
    float a, b, ra, rb;
    get_simplicial_cache_values(c.x, c.y, *g, &a, &b);
    get_simplicial_cache_values(c.cx, c.cy, *g, &ra, &rb);
    EXPECT_EQ(a, ra) << c.x << ", " << c.y;
    EXPECT_EQ(b, rb) << c.x << ", " << c.y;
    get_ramped_cache_values(c.x, c.y, *g, &a, &b);
    EXPECT_EQ(a, ra) << c.x << ", " << c.y;
  }
}

TEST(LookupReaders, SimplicialReadsOfATriangleNeverTouchCellsBeyondIt) {
  // Poison everything past the hypotenuse x + y = N - 1; points of the
  // triangle must not see it.
  const int32_t n = 10;
  std::vector<float> t;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      t.push_back(x + y <= n - 1 ? 1.0f : 1e6f);
      t.push_back(0.0f);
    }
  }
  auto g = NewGrid();
  ASSERT_TRUE(FillGeneralTable(g.get(), n, LookupShape_Square, t.data(), int32_t(t.size()), LookupForm_Pair));
  for (float x = 0.0f; x <= 9.0f; x += 0.37f) {
    for (float y = 0.0f; x + y <= 9.0f; y += 0.29f) {
      float a, b;
      get_simplicial_cache_values(x, y, *g, &a, &b);
      EXPECT_NEAR(a, 1.0f, 1e-5) << x << ", " << y;
    }
  }
}

struct FoldCase {
  fcomplex in;
  fcomplex folded;
  int32_t flags;
};

TEST(LookupFold, FoldsIntoTheOctantAndBack) {
  const FoldCase cases[] = {
      {{-0.2, 0.5}, {0.5, 0.2}, 5},   {{0.5, 0.2}, {0.5, 0.2}, 0},   {{0.2, -0.5}, {0.5, 0.2}, 6},
      {{-0.5, -0.2}, {0.5, 0.2}, 3},  {{-0.2, -0.5}, {0.5, 0.2}, 7}, {{0.3, 0.3}, {0.3, 0.3}, 0},
      {{0.0, 0.0}, {0.0, 0.0}, 0},    {{0.0, 0.7}, {0.7, 0.0}, 4},   {{-0.7, 0.0}, {0.7, 0.0}, 1},
  };
  for (const FoldCase& c : cases) {
    fcomplex z = c.in;
    int32_t flags = -1;
    fold_octants(&z, &flags);
    EXPECT_EQ(flags, c.flags) << c.in.re << ", " << c.in.im;
    EXPECT_EQ(z.re, c.folded.re);
    EXPECT_EQ(z.im, c.folded.im);
    unfold_octants(&z, flags);
    EXPECT_EQ(z.re, c.in.re);
    EXPECT_EQ(z.im, c.in.im);
  }
}

}  // namespace
