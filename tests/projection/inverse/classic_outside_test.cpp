// Where the classic maps end, and the directions of their landmark points.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "classic_maps.h"
#include "projection/inverse/robinson.h"

namespace {

using namespace classic_test;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One of the two maps is set: the float or the double form.
struct OutsideCase {
  const char* name;
  void (*floatMap)(float p[3], uint8_t* out);
  void (*doubleMap)(double p[3], uint8_t* out);
  bool becomesPole;  // the point is set to (0, 0, 1)
};

const OutsideCase kOutside[] = {
    {"Peirce at the square's corner", [](float p[3], uint8_t* out) { TotalPeirce(1.0, 1.0, out, p, 1.0, 0.0); },
     nullptr, true},
    {"Peirce right of the square", [](float p[3], uint8_t* out) { TotalPeirce(1.01, 0.0, out, p, 1.0, 0.0); },
     nullptr, true},
    {"Peirce at a point that is not a number",
     [](float p[3], uint8_t* out) { TotalPeirce(kNaN, 0.0, out, p, 1.0, 0.0); }, nullptr, true},
    {"chevron in its notch",
     [](float p[3], uint8_t* out) { ChevronPeirce(0.0, 0.5, out, p, 0.0, -0.35355339059327373); }, nullptr, false},
    {"Guyou right of the sheet", [](float p[3], uint8_t* out) { TotalGuyou(1.01, 0.0, out, p, nullptr); }, nullptr,
     false},
    {"Guyou below the sheet", [](float p[3], uint8_t* out) { TotalGuyou(0.0, 0.51, out, p, nullptr); }, nullptr,
     false},
    {"equal-area square above it", [](float p[3], uint8_t* out) { TotalEqualsquarea(0.0, -1.01, out, p); }, nullptr,
     true},
    {"Winkel at x = 2.6 on the equator", [](float p[3], uint8_t* out) { TotalWinkel(2.6, 0.0, p, out); }, nullptr,
     false},
    {"Winkel at x = 2.6 at y = -1", [](float p[3], uint8_t* out) { TotalWinkel(2.6, -1.0, p, out); }, nullptr,
     false},
    {"Winkel at x = -2.6 at y = 1.5", [](float p[3], uint8_t* out) { TotalWinkel(-2.6, 1.5, p, out); }, nullptr,
     false},
    {"Winkel inside its box, past the outline", [](float p[3], uint8_t* out) { TotalWinkel(2.5, 1.5, p, out); },
     nullptr, false},
    // Robinson: the parallel at this height is only about 0.67 long.
    {"Robinson at (0.9, 0.45)",
     [](float*, uint8_t* out) {
       float x = 0.9f, y = 0.45f;
       RobinsonInverse(&x, &y, out, RobinsonInverseTable());
     },
     nullptr, false},
    {"Adams right of the square", nullptr,
     [](double p[3], uint8_t* out) { TotalAdams(0.51, 0.0, out, p, 1, nullptr); }, false},
    {"wide rectangle beyond its end", nullptr, [](double p[3], uint8_t* out) { TotalWiderect(0.6, 0.0, out, p); },
     false},
    {"wide rectangle below it", nullptr, [](double p[3], uint8_t* out) { TotalWiderect(0.0, 0.3, out, p); }, false},
    {"ellipse beyond its end", nullptr, [](double p[3], uint8_t* out) { TotalEllipse(0.67, 0.0, out, p); }, false},
    {"ellipse above it", nullptr, [](double p[3], uint8_t* out) { TotalEllipse(0.0, -0.44, out, p); }, false},
    // A plane point that is not a number is off every map.
    {"bendy at a point that is not a number",
     [](float p[3], uint8_t* out) { BendyPeirce(kNaN, 0.1, out, p, 1.5, 6, 0.5, 0.8, 0.0, 0.0); }, nullptr, false},
    {"Guyou at a point that is not a number", [](float p[3], uint8_t* out) { TotalGuyou(0.1, kNaN, out, p, nullptr); },
     nullptr, false},
    {"equal-area square at a point that is not a number",
     [](float p[3], uint8_t* out) { TotalEqualsquarea(kNaN, 0.0, out, p); }, nullptr, true},
    {"Winkel at a point that is not a number", [](float p[3], uint8_t* out) { TotalWinkel(0.0, kNaN, p, out); },
     nullptr, false},
    {"ellipse at a point that is not a number", nullptr,
     [](double p[3], uint8_t* out) { TotalEllipse(kNaN, 0.0, out, p); }, false},
    {"wide rectangle at a point that is not a number", nullptr,
     [](double p[3], uint8_t* out) { TotalWiderect(0.0, kNaN, out, p); }, false},
};

TEST(ClassicOutside, EveryCaseIsReportedOutside) {
  for (const OutsideCase& c : kOutside) {
    // Start from a point that is not the pole, so that a map which should
    // write the pole is seen doing it.
    double p[3] = {0.5, 0.5, 0.5};
    uint8_t out = 0;
    if (c.floatMap != nullptr) {
      float f[3] = {0.5f, 0.5f, 0.5f};
      c.floatMap(f, &out);
      for (int i = 0; i < 3; ++i) p[i] = f[i];
    } else {
      c.doubleMap(p, &out);
    }
    EXPECT_EQ(out, 1) << c.name;
    if (c.becomesPole) {
      EXPECT_EQ(p[0], 0.0) << c.name;
      EXPECT_EQ(p[1], 0.0) << c.name;
      EXPECT_EQ(p[2], 1.0) << c.name;
    }
  }
}

struct Landmark {
  const char* name;
  PlaneMap map;
  double x, y;
  double want[3];
};

const Landmark kLandmarks[] = {
    {"Peirce centre", Peirce, 0.0, 0.0, {0, 0, 1}},
    {"Peirce right corner of the diamond", Peirce, 0.999, 0.0, {-1, 0, 0}},
    {"Peirce lower corner of the diamond", Peirce, 0.0, 0.999, {0, -1, 0}},
    {"Peirce near the square's corner", Peirce, 0.999, 0.999, {0, 0, -1}},
    {"Guyou centre of the left square", Guyou, -0.5, 0.0, {1, 0, 0}},
    {"Guyou centre of the right square", Guyou, 0.5, 0.0, {-1, 0, 0}},
    {"Guyou centre", Guyou, 0.0, 0.0, {0, 0, 1}},
    {"Guyou north pole of the left square", Guyou, -0.5, -0.499, {0, 1, 0}},
    {"Adams 1 centre", Adams<1>, 0.0, 0.0, {0, 0, 1}},
    {"Adams 1 north corner", Adams<1>, -0.499, -0.499, {0, 1, 0}},
    {"Adams 1 south corner", Adams<1>, 0.499, 0.499, {0, -1, 0}},
    {"Adams 2 north edge", Adams<2>, 0.0, -0.499, {0, 1, 0}},
    {"Adams 2 right edge", Adams<2>, 0.499, 0.0, {0, 0, -1}},
    {"wide rectangle centre", Widerect, 0.0, 0.0, {0, 0, 1}},
    {"wide rectangle north edge", Widerect, 0.0, -0.249, {0, 1, 0}},
    {"ellipse centre", Ellipse, 0.0, 0.0, {0, 0, 1}},
    {"ellipse south end", Ellipse, 0.0, 0.434, {0, -1, 0}},
    {"equal-area square centre", Equalsquarea, 0.0, 0.0, {0, 0, 1}},
    {"equal-area square right corner of the diamond", Equalsquarea, 1.0, 0.0, {-1, 0, 0}},
    {"equal-area square corner", Equalsquarea, -1.0, 1.0, {0, 0, -1}},
    {"Winkel centre", Winkel, 0.0, 0.0, {0, 0, 1}},
    {"Winkel west end of the equator", Winkel, 2.5707, 0.0, {0, 0, -1}},
    {"Winkel south pole line", Winkel, 0.0, 1.5707963267948966, {0, -1, 0}},
};

TEST(ClassicOutside, LandmarksLandWhereTheMapPutsThem) {
  for (const Landmark& c : kLandmarks) {
    double p[3] = {0.5, 0.5, 0.5};
    ASSERT_TRUE(c.map(c.x, c.y, p)) << c.name;
    // The plane points a hair inside an edge are a few thousandths of a
    // radian from the landmark itself.
    const double d = std::hypot(p[0] - c.want[0], p[1] - c.want[1], p[2] - c.want[2]);
    EXPECT_LT(d, 1e-2) << c.name << ": (" << p[0] << ", " << p[1] << ", " << p[2] << ")";
  }
}

// The inner diamond of the quincuncial square is the near hemisphere, the
// four corner triangles the far one; the square within its rim is on the
// map (the rim itself is not: the factor a hair above one half that keeps
// the corners off the map keeps the rim off too).
TEST(ClassicOutside, PeirceCornerTrianglesAreTheFarHemisphere) {
  constexpr int kSteps = 60;
  for (int i = 0; i <= kSteps; ++i) {
    for (int j = 0; j <= kSteps; ++j) {
      const double x = -1.0 + 2.0 * i / kSteps, y = -1.0 + 2.0 * j / kSteps;
      if (std::fabs(x) == 1.0 || std::fabs(y) == 1.0) continue;
      double p[3];
      ASSERT_TRUE(Peirce(x, y, p)) << x << ", " << y;
      const double r = std::fabs(x) + std::fabs(y);
      if (r < 0.98) {
        EXPECT_GT(p[2], 0.0) << x << ", " << y;
      } else if (r > 1.02) {
        EXPECT_LT(p[2], 0.0) << x << ", " << y;
      }
    }
  }
}

// The chevron is the quincuncial square opened by the power 4/3 with one
// quarter cut away: outside exactly where the turned point's angle lies in
// the notch, and inside elsewhere on the square.
TEST(ClassicOutside, ChevronNotchIsExactlyTheCutQuarter) {
  constexpr int kSteps = 80;
  int notch = 0, kept = 0;
  for (int i = 0; i <= kSteps; ++i) {
    for (int j = 0; j <= kSteps; ++j) {
      const double x = -1.42 + 2.84 * i / kSteps, y = -1.42 + 2.14 * j / kSteps;
      const fcomplex z = Cmul(Complex(x, y - 0.35355339059327373), Cspun(0.78539816325));
      const double t = std::atan2(z.re, z.im);
      double p[3];
      const bool inside = Chevron(x, y, p);
      if (t > -1.5707963265 + 1e-9 && t < -1e-9) {
        EXPECT_FALSE(inside) << x << ", " << y;
        ++notch;
      } else if (std::fabs(z.re) < 0.99 && std::fabs(z.im) < 0.99) {
        EXPECT_TRUE(inside) << x << ", " << y;
        ++kept;
      }
    }
  }
  EXPECT_GT(notch, 100);
  EXPECT_GT(kept, 1500);
}

TEST(ClassicOutside, DiskPointsOfGuyouAndAdams) {
  fcomplex aux = {9, 9};
  float f[3];
  uint8_t out = 0;
  TotalGuyou(1.5, 0.0, &out, f, &aux);
  EXPECT_EQ(out, 1);
  EXPECT_EQ(aux.re, 0.0);
  EXPECT_EQ(aux.im, 0.0);

  aux = {9, 9};
  double p[3];
  TotalAdams(0.0, 0.7, &out, p, 2, &aux);
  EXPECT_EQ(out, 1);
  EXPECT_EQ(aux.re, 0.0);
  EXPECT_EQ(aux.im, 0.0);

  // The square's centre is the disk's, its edges the rim: the square-fish
  // outputs read the rim as the far pole.
  TotalAdams(0.0, 0.0, &out, p, 2, &aux);
  EXPECT_EQ(out, 0);
  EXPECT_NEAR(Cmag(aux), 0.0, 1e-6);
  const double rim[][2] = {{0.5, 0.0}, {-0.5, 0.0}, {0.0, 0.3 - 0.8}, {0.2, 0.5}, {0.5, 0.5}};
  for (const auto& q : rim) {
    aux = {9, 9};
    TotalAdams(q[0], q[1], &out, p, 2, &aux);
    EXPECT_NEAR(Cmag(aux), 1.0, 1e-3) << q[0] << ", " << q[1];
  }
  for (int i = 0; i <= 10; ++i) {
    const double x = -0.45 + 0.09 * i;
    TotalGuyou(x, 0.3, &out, f, &aux);
    ASSERT_EQ(out, 0);
    EXPECT_LE(Cmag(aux), 1.0 + 1e-6) << x;
  }
}

}  // namespace
