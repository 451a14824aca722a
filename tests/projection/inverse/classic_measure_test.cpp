// Shape measures of the maps that PROJ has no twin for: the conformal maps
// keep angles (Jacobian singular values equal), the equal-area square keeps
// areas, and the bent Peirce maps do not tear where their twist changes.
#include <gtest/gtest.h>

#include <cmath>

#include "classic_maps.h"

namespace {

using namespace classic_test;

bool Clear(PlaneMap map, double x, double y, double margin) {
  for (int k = 0; k < 16; ++k) {
    double p[3];
    const double a = k * 3.141592653589793 / 8.0;
    if (!map(x + margin * std::cos(a), y + margin * std::sin(a), p)) return false;
  }
  return true;
}

// Ratio of the larger to the smaller singular value of the map's Jacobian,
// by central differences; 0 when a probe falls off the map.
double SingularValueRatio(PlaneMap map, double x, double y, double h) {
  double px[3], mx[3], py[3], my[3];
  if (!map(x + h, y, px) || !map(x - h, y, mx) || !map(x, y + h, py) || !map(x, y - h, my)) return 0.0;
  double e = 0, f = 0, g = 0;
  for (int i = 0; i < 3; ++i) {
    const double a = (px[i] - mx[i]) / (2 * h), b = (py[i] - my[i]) / (2 * h);
    e += a * a;
    f += a * b;
    g += b * b;
  }
  const double half = (e + g) / 2, d = std::sqrt(std::fmax(0.0, half * half - (e * g - f * f)));
  return std::sqrt((half + d) / (half - d));
}

struct ConformalCase {
  const char* name;
  PlaneMap map;
  double x0, x1, y0, y1;  // the framing box of the map
  double margin;          // points this near an edge (fraction of width) are left out
};

const ConformalCase kConformal[] = {
    {"Peirce quincuncial", Peirce, -1, 1, -1, 1, 0.03},
    {"chevron", Chevron, -1.414213562373095, 1.414213562373095, -1.414213562373095, 0.7071067811865475, 0.03},
    {"bendy 0.5", Bendy92, -1, 1, -0.5, 0.5, 0.03},
    {"bendy 0.75", Bendy93, -1, 1, -0.944, 0.944, 0.03},
    {"bendy 1.25", Bendy95, -1, 1, -0.95, 0.95, 0.03},
    {"bendy 1.5", Bendy96, -1, 1, -0.867, 0.867, 0.03},
    {"Guyou", Guyou, -1, 1, -0.5, 0.5, 0.03},
    {"Adams 1", Adams<1>, -0.5, 0.5, -0.5, 0.5, 0.06},
    {"Adams 2", Adams<2>, -0.5, 0.5, -0.5, 0.5, 0.03},
    {"wide rectangle", Widerect, -0.5, 0.5, -0.25, 0.25, 0.03},
    {"ellipse", Ellipse, -0.6623, 0.6623, -0.4343, 0.4343, 0.03},
};

// The maps read a bilinear table of 49 cells a side, whose slope jumps from
// cell to cell; measured across about a cell (half a percent of the width)
// the map is conformal to well within 2 %. Points near the map's edge (its
// cone points and cuts) are left out: within 3 % of the width, and within 6 %
// where the corners are poles (Adams 1), around which a corner's quarter
// turn opens to a whole turn.
TEST(ClassicMeasure, ConformalMapsKeepAngles) {
  constexpr int kSteps = 60;
  for (const ConformalCase& c : kConformal) {
    const double width = c.x1 - c.x0;
    int measured = 0;
    double worst = 1.0;
    for (int i = 1; i < kSteps; ++i) {
      for (int j = 1; j < kSteps; ++j) {
        const double x = c.x0 + width * i / kSteps, y = c.y0 + (c.y1 - c.y0) * j / kSteps;
        if (!Clear(c.map, x, y, c.margin * width)) continue;
        const double r = SingularValueRatio(c.map, x, y, 0.005 * width);
        ASSERT_GT(r, 0.0) << c.name << " at " << x << ", " << y;
        EXPECT_LT(r, 1.02) << c.name << " at " << x << ", " << y;
        worst = std::fmax(worst, r);
        ++measured;
      }
    }
    EXPECT_GT(measured, 900) << c.name;
    std::printf("[ classic  ] %-20s %4d points, worst singular-value ratio %.4f\n", c.name, measured, worst);
  }
}

double Angle(const double a[3], const double b[3]) {
  const double c = (a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) /
                   std::sqrt((a[0] * a[0] + a[1] * a[1] + a[2] * a[2]) * (b[0] * b[0] + b[1] * b[1] + b[2] * b[2]));
  return std::acos(std::fmax(-1.0, std::fmin(1.0, c)));
}

struct TwistLine {
  const char* name;
  BendyParameters bendy;
  double t;    // the ray's angle in the turned plane, from its imaginary axis
  bool exact;  // points exactly on the ray must agree with their neighbours too
};

// Variants 5 (n = 1.25) and 6 (n = 1.5) raise the point to a power above 1,
// and twist back the sectors whose angle the power wraps: the map must be
// continuous across the rays where the wrap begins, and across the power's
// own cut (t = -pi/2), where points exactly on the ray count too. Exactly
// on a wrap ray the two sides meet within rounding; there the test looks a
// hair (1e-11 radians) to either side, narrower than the sliver that a
// boundary constant off by a few 1e-10 would leave untwisted.
const TwistLine kTwistLines[] = {
    {"bendy 1.25", kBendy95, -2.199114857512855, false},
    {"bendy 1.25", kBendy95, -1.5707963267948966, true},
    {"bendy 1.25", kBendy95, -0.9424777960769379, false},
    {"bendy 1.5", kBendy96, -2.6179938779914944, false},
    {"bendy 1.5", kBendy96, -1.5707963267948966, true},
    {"bendy 1.5", kBendy96, -0.5235987755982988, false},
};

// The plane point at radius r on the ray at angle t of the turned plane.
fcomplex OnRay(const BendyParameters& b, double t, double r) {
  const fcomplex z = Cmul(Complex(r * std::sin(t), r * std::cos(t)), Cspun(-b.turn));
  return {z.re * b.scale - b.dx, z.im * b.scale - b.dy};
}

TEST(ClassicMeasure, BentPeirceIsContinuousAcrossItsTwistLines) {
  for (const TwistLine& c : kTwistLines) {
    int compared = 0;
    for (int k = 1; k <= 40; ++k) {
      const double r = 0.025 * k;
      const fcomplex m = OnRay(c.bendy, c.t, r);
      const fcomplex l = OnRay(c.bendy, c.t - 1e-11, r);
      const fcomplex h = OnRay(c.bendy, c.t + 1e-11, r);
      double mid[3], low[3], high[3];
      if (!Bendy(c.bendy, m.re, m.im, mid) || !Bendy(c.bendy, l.re, l.im, low) ||
          !Bendy(c.bendy, h.re, h.im, high))
        continue;
      EXPECT_LT(Angle(low, high), 1e-6) << c.name << " ray " << c.t << " radius " << r;
      if (c.exact) {
        EXPECT_LT(Angle(mid, low), 1e-6) << c.name << " on the ray " << c.t << " radius " << r;
      }
      ++compared;
    }
    EXPECT_GT(compared, 10) << c.name << " ray " << c.t;
  }
}

// The n = 1.5 map's twist line is its vertical centre line, where every
// picture with an even number of columns has a column of pixel corners.
TEST(ClassicMeasure, BentPeirceCentreColumnHasNoTear) {
  for (int k = 1; k <= 80; ++k) {
    const double y = -0.86 + 1.72 * k / 81;
    double mid[3], left[3], right[3];
    if (!Bendy96(0.0, y, mid)) continue;
    ASSERT_TRUE(Bendy96(-1e-9, y, left) && Bendy96(1e-9, y, right)) << y;
    EXPECT_LT(Angle(mid, left), 1e-6) << y;
    EXPECT_LT(Angle(mid, right), 1e-6) << y;
  }
}

// Area of the spherical triangle of three unit vectors.
double SphericalTriangleArea(const double a[3], const double b[3], const double c[3]) {
  const double triple = a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                        a[2] * (b[0] * c[1] - b[1] * c[0]);
  const double ab = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  const double bc = b[0] * c[0] + b[1] * c[1] + b[2] * c[2];
  const double ca = c[0] * a[0] + c[1] * a[1] + c[2] * a[2];
  return 2.0 * std::atan2(std::fabs(triple), 1.0 + ab + bc + ca);
}

// Area on the sphere of the plane rectangle [x0, x1] x [y0, y1], summed over
// a fine grid of its cells, each as two spherical triangles (the image of a
// cell is curved, most of all where it crosses the diamond's edge, the
// equator, where the map has a crease).
double ImageArea(double x0, double x1, double y0, double y1) {
  constexpr int kSub = 8;
  double area = 0.0;
  for (int i = 0; i < kSub; ++i) {
    for (int j = 0; j < kSub; ++j) {
      const double a0 = x0 + (x1 - x0) * i / kSub, a1 = x0 + (x1 - x0) * (i + 1) / kSub;
      const double b0 = y0 + (y1 - y0) * j / kSub, b1 = y0 + (y1 - y0) * (j + 1) / kSub;
      double p00[3], p10[3], p01[3], p11[3];
      if (!Equalsquarea(a0, b0, p00) || !Equalsquarea(a1, b0, p10) || !Equalsquarea(a0, b1, p01) ||
          !Equalsquarea(a1, b1, p11))
        return 0.0;
      area += SphericalTriangleArea(p00, p10, p11) + SphericalTriangleArea(p00, p11, p01);
    }
  }
  return area;
}

// The square [-1, 1]^2 (area 4) covers the sphere (area 4 pi): every patch
// covers pi times its own area. The patches next to the centre and to the
// corners, where the map is a cone, are left out.
TEST(ClassicMeasure, EqualAreaSquareKeepsAreas) {
  constexpr int kPatches = 40;
  int measured = 0;
  double worst = 0.0;
  for (int i = 0; i < kPatches; ++i) {
    for (int j = 0; j < kPatches; ++j) {
      const double x0 = -1.0 + 2.0 * i / kPatches, x1 = -1.0 + 2.0 * (i + 1) / kPatches;
      const double y0 = -1.0 + 2.0 * j / kPatches, y1 = -1.0 + 2.0 * (j + 1) / kPatches;
      const double cx = std::fabs(x0 + x1) / 2, cy = std::fabs(y0 + y1) / 2;
      if (cx + cy < 0.1 || (1 - cx) + (1 - cy) < 0.1) continue;
      const double factor = ImageArea(x0, x1, y0, y1) / ((x1 - x0) * (y1 - y0)) / 3.141592653589793;
      EXPECT_NEAR(factor, 1.0, 0.01) << x0 << ", " << y0;
      worst = std::fmax(worst, std::fabs(factor - 1.0));
      ++measured;
    }
  }
  EXPECT_GT(measured, 1500);
  std::printf("[ classic  ] equal-area square    %4d patches, worst area factor off by %.4f\n", measured, worst);
}

// The rings |x| + |y| = r are the circles of latitude about the centre: the
// diamond of radius r (area 2 r^2) is the cap above z = 1 - r^2, and the
// far cap below z = (2 - r)^2 - 1 fills the corners beyond the ring. The
// four quadrants mirror one another.
TEST(ClassicMeasure, EqualAreaSquareRingsAndMirrors) {
  constexpr int kSteps = 40;
  for (int i = 0; i <= kSteps; ++i) {
    for (int j = 0; j <= kSteps; ++j) {
      const double x = static_cast<double>(i) / kSteps, y = static_cast<double>(j) / kSteps;
      double p[3], mx[3], my[3];
      ASSERT_TRUE(Equalsquarea(x, y, p) && Equalsquarea(-x, y, mx) && Equalsquarea(x, -y, my));
      const double r = x + y;
      const double z = r <= 1.0 ? 1.0 - r * r : (2.0 - r) * (2.0 - r) - 1.0;
      EXPECT_NEAR(p[2], z, 2e-3) << x << ", " << y;
      EXPECT_LE(p[0], 0.0) << x << ", " << y;
      EXPECT_LE(p[1], 0.0) << x << ", " << y;
      if (x > 0.0) {
        EXPECT_EQ(mx[0], -p[0]) << x << ", " << y;
      }
      if (y > 0.0) {
        EXPECT_EQ(my[1], -p[1]) << x << ", " << y;
      }
      EXPECT_EQ(mx[2], p[2]);
      EXPECT_EQ(my[2], p[2]);
    }
  }
}

}  // namespace
