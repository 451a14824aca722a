// Spinning net fragments: each style's attitude on hand-made fragments, the
// styles and nets that are never spun, and the vertices no spin may touch.
#include "polyhedron/nets/fragment_spin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "polyhedron/nets/hull_calipers.h"
#include "polyhedron/polyhedron_access.h"
#include "support/poly_fixture.h"

namespace {

struct Pt {
  double x, y;
};

// A 2 x 1 rectangle turned by `turn` radians about (5, 3), as the vertices
// first.. of fragment `fragment`.
void AddRectangle(polyhedron* p, int32_t first, int32_t fragment, double turn) {
  const Pt corners[4] = {{-1, -0.5}, {1, -0.5}, {1, 0.5}, {-1, 0.5}};
  for (int32_t i = 0; i < 4; ++i) {
    const double x = 5 + corners[i].x * std::cos(turn) - corners[i].y * std::sin(turn);
    const double y = 3 + corners[i].x * std::sin(turn) + corners[i].y * std::cos(turn);
    Set2DPoint(first + i, DPoint{x, y, -1, fragment, first + i, 1}, p);
  }
}

// Corner `corner` of the fragment made of the first `n` net points ends
// straight below their mean.
void ExpectStraightBelowTheMean(const polyhedron* p, int32_t n, int32_t corner) {
  double mx = 0, my = 0;
  for (int32_t i = 0; i < n; ++i) {
    mx += p->coords2D[i][0] / n;
    my += p->coords2D[i][1] / n;
  }
  EXPECT_NEAR(p->coords2D[corner][0], mx, 1e-9);
  EXPECT_LT(p->coords2D[corner][1], my);
}

void Box(const polyhedron* p, int32_t fragment, double* w, double* h) {
  double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    if (!p->vert2DUsed[v] || p->fragmentOf2D[v] != fragment) continue;
    x0 = std::min(x0, p->coords2D[v][0]);
    x1 = std::max(x1, p->coords2D[v][0]);
    y0 = std::min(y0, p->coords2D[v][1]);
    y1 = std::max(y1, p->coords2D[v][1]);
  }
  *w = x1 - x0;
  *h = y1 - y0;
}

TEST(FragmentSpin, CaliperStylesSetTheNarrowestWidth) {
  const double s = std::sqrt(0.5) * 3;  // the box of a 2 x 1 rectangle at 45 degrees
  struct Case {
    int32_t style;
    double width, height;
  } cases[] = {{0, 1, 2}, {5, 2, 1}, {6, s / 1.0, s / 1.0}};
  for (const Case& c : cases)
    for (const double turn : {0.0, 0.3, 1.2, 2.9}) {
      SCOPED_TRACE("style " + std::to_string(c.style) + " turn " + std::to_string(turn));
      PolyPtr p = NewOwningPoly();
      p->spinStyle = c.style;
      AddRectangle(p.get(), 0, 1, turn);
      AddRectangle(p.get(), 4, 2, turn + 0.5);
      SpinFragmentsFelicitously(p.get(), 1, 2);
      for (const int32_t f : {1, 2}) {
        double w = 0, h = 0;
        Box(p.get(), f, &w, &h);
        EXPECT_NEAR(w, c.width, 1e-9) << "fragment " << f;
        EXPECT_NEAR(h, c.height, 1e-9) << "fragment " << f;
      }
    }
}

TEST(FragmentSpin, SomeStylesAndNetsAreNeverSpun) {
  struct Case {
    int32_t style, last;
  } cases[] = {{1, 2}, {2, 2}, {0, 19}, {5, 19}};
  for (const Case& c : cases) {
    SCOPED_TRACE("style " + std::to_string(c.style) + " last " + std::to_string(c.last));
    PolyPtr p = NewOwningPoly();
    p->spinStyle = c.style;
    p->fragmentSpin[1] = 0.7;  // left alone as well
    AddRectangle(p.get(), 0, 1, 0.4);
    std::vector<double> before(p->coords2D[0], p->coords2D[0] + 8);
    SpinFragmentsFelicitously(p.get(), 1, c.last);
    EXPECT_EQ(std::memcmp(before.data(), p->coords2D[0], 8 * sizeof(double)), 0);
    EXPECT_EQ(p->fragmentSpin[1], 0.7);
  }
}

TEST(FragmentSpin, UnknownStylesClearTheSpins) {
  PolyPtr p = NewOwningPoly();
  p->spinStyle = 9;
  p->fragmentSpin[1] = 0.7;
  AddRectangle(p.get(), 0, 1, 0.4);
  const double x = p->coords2D[2][0];
  SpinFragmentsFelicitously(p.get(), 1, 1);
  EXPECT_EQ(p->fragmentSpin[1], 0.0);
  EXPECT_EQ(p->coords2D[2][0], x);
}

TEST(FragmentSpin, TheFarthestCornerEndsBelowTheMean) {
  // A kite: its long tip is the corner farthest from the mean of the hull.
  PolyPtr p = NewOwningPoly();
  p->spinStyle = 4;
  const Pt kite[4] = {{0, 0}, {2, -1}, {5, 0}, {2, 1}};
  for (int32_t i = 0; i < 4; ++i) Set2DPoint(i, DPoint{kite[i].x, kite[i].y, -1, 1, i, 1}, p.get());
  SpinFragmentsFelicitously(p.get(), 1, 1);
  ExpectStraightBelowTheMean(p.get(), 4, 2);
}

TEST(FragmentSpin, TheCornerNearestAPoleEndsBelowTheMean) {
  PolyPtr p = NewOwningPoly();
  p->spinStyle = 3;
  const double solid[4][3] = {{1, 0, 0}, {0, 0.2, 1}, {0, 0.9, 0.1}, {-1, -0.3, 0}};
  const Pt net[4] = {{0, 0}, {2, 0}, {2, 1}, {0, 1}};
  for (int32_t i = 0; i < 4; ++i) {
    MutableCoords3D(p.get())[i][0] = solid[i][0];
    MutableCoords3D(p.get())[i][1] = solid[i][1];
    MutableCoords3D(p.get())[i][2] = solid[i][2];
    Set2DPoint(i, DPoint{net[i].x, net[i].y, i, 1, i, 1}, p.get());
  }
  p->n3DVerts = 4;
  uint8_t upper = 9;
  HALFSPACE list;
  InitEmptyList(&list);
  CollectFragmentPoints(p.get(), 1, &list);
  const HALFSPACE* best = Find3DVerticalExtremumAmongPointlist(p.get(), &list, &upper);
  ASSERT_NE(best, nullptr);
  EXPECT_EQ(best->index, 2);
  EXPECT_EQ(upper, 1);
  DisposeListExceptForHead(&list);
  SpinFragmentsFelicitously(p.get(), 1, 1);
  ExpectStraightBelowTheMean(p.get(), 4, 2);
}

TEST(FragmentSpin, NearTiesGoToTheSmallerAngle) {
  // Two corners within half a percent of the same distance from the centre:
  // the one whose own position has the smaller hull angle wins, whichever
  // comes first.
  for (const bool swapped : {false, true}) {
    HALFSPACE list;
    InitEmptyList(&list);
    const double a[3] = {-1.0, 0.2, 0}, b[3] = {1.0, 0.2, 0};  // hull angles ~ 1.77 and ~ 4.51
    AddPointToList(swapped ? a : b, &list, swapped ? 0 : 1);
    AddPointToList(swapped ? b : a, &list, swapped ? 1 : 0);
    const HALFSPACE* best = Find2DDistanceExtremumAmongPointlist(nullptr, &list, Complex(0.0, 0.0));
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(best->index, 0);
    DisposeListExceptForHead(&list);
  }
}

TEST(FragmentSpin, VerticesOutsideTheFragmentSlotsStay) {
  PolyPtr p = NewOwningPoly();
  for (int32_t k = 0; k < kPolyFragmentSlots; ++k) p->fragmentSpin[k] = 1.0;
  Set2DPoint(0, DPoint{1, 0, -1, 20, 0, 1}, p.get());
  Set2DPoint(1, DPoint{1, 0, -1, -1, 1, 1}, p.get());
  Set2DPoint(2, DPoint{1, 0, -1, 3, 2, 1}, p.get());
  SpinAllFragments(p.get());
  EXPECT_EQ(p->coords2D[0][0], 1.0);
  EXPECT_EQ(p->coords2D[1][0], 1.0);
  EXPECT_NEAR(p->coords2D[2][0], std::cos(1.0), 1e-15);
  EXPECT_NEAR(p->coords2D[2][1], std::sin(1.0), 1e-15);
  EXPECT_EQ(p->fragmentOf2D[2], 3);
  EXPECT_EQ(p->vert2DUsed[2], 1);
}

}  // namespace
