#include "projection/inverse/stereographic.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geom_test_util.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"

namespace {

// Grid directions on 10-degree steps, the poles and the back meridian left
// out (their longitude is ambiguous).
template <typename F>
void ForGridDirections(F f) {
  for (int lat = -80; lat <= 80; lat += 10) {
    for (int lon = -170; lon <= 170; lon += 10) {
      double p[3];
      RectangularToSphericalD(lon / 360.0 + 0.5, 0.5 - lat / 180.0, p);
      f(p, lon, lat);
    }
  }
}

TEST(Stereographic, EdgeValues) {
  float f[3];
  StereoIntersect(0, 0, f);
  const float front[3] = {0, 0, 1};
  EXPECT_TRUE(Near3(f, front, 0));
  double d[3];
  StereoIntersect_NiceD(1, 0, d);
  const double west[3] = {-1, 0, 0};
  EXPECT_TRUE(Near3(d, west, 0));
  const double antipode[3] = {0, 0, -1};
  EXPECT_TRUE(NearC(StereographicCoordinateD(antipode), {0, 0}, 0));
}

// The tangent-plane inverse at twice the distance and the exact inverse on
// the equatorial plane name the same point, and the stereographic coordinate
// undoes the exact inverse.
TEST(Stereographic, InversesAgreeAndRoundTrip) {
  for (double u = -3; u <= 3; u += 0.375) {
    for (double v = -3; v <= 3; v += 0.375) {
      double nice[3], ray[3];
      StereoIntersect_NiceD(u, v, nice);
      StereoIntersectD(2 * u, 2 * v, ray);
      EXPECT_TRUE(Near3(ray, nice, 1e-15)) << u << ", " << v;
      float rayf[3];
      StereoIntersect(float(2 * u), float(2 * v), rayf);
      EXPECT_TRUE(Near3(rayf, nice, 1e-6)) << u << ", " << v;
      EXPECT_TRUE(NearC(StereographicCoordinateD(nice), {u, v}, 1e-14)) << u << ", " << v;
    }
  }
}

// Opening the lune of width 2·pi·alpha: a point is inside when its angle
// about the y axis from the front is below pi·alpha, and the opening
// multiplies that angle by 1/alpha.
TEST(Stereographic, LuneSubstitution) {
  for (double alpha : {0.5, 1.0 / 3, 0.25, 0.75}) {
    ForGridDirections([&](const double* p, int lon, int lat) {
      const double lonRad = std::atan2(p[0], p[2]);
      const double margin = std::fabs(std::fabs(lonRad) - kPi * alpha);
      if (margin < 1e-9) return;  // on the lune's edge
      double q[3] = {p[0], p[1], p[2]};
      uint8_t outside = 0;
      SubstituteSphereSegmentD(q, alpha, &outside);
      EXPECT_EQ(outside != 0, std::fabs(lonRad) > kPi * alpha) << alpha << ": " << lon << ", " << lat;
      EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2], 1.0, 1e-14);
      if (lat == 0 && outside == 0) {
        EXPECT_NEAR(std::atan2(q[0], q[2]), lonRad / alpha, 1e-12) << alpha << ": " << lon;
        EXPECT_NEAR(q[1], 0.0, 1e-15);
      }
    });
  }
  double p[3] = {0.6, 0, 0.8};
  uint8_t outside = 1;
  SubstituteSphereSegmentD(p, 0.5, &outside);
  EXPECT_EQ(outside, 1);  // only ever set, never cleared

  float pf[3] = {0.6f, 0.48f, 0.64f};
  double pd[3] = {pf[0], pf[1], pf[2]};
  uint8_t of = 0, od = 0;
  SubstituteSphereSegment(pf, 0.5, &of);
  SubstituteSphereSegmentD(pd, 0.5, &od);
  EXPECT_TRUE(Near3(pf, pd, 6e-8));
}

// The north variant opens a lune about the z axis whose middle is straight up.
TEST(Stereographic, NorthLuneSubstitution) {
  ForGridDirections([&](const double* p, int lon, int lat) {
    if (lat == 0) return;
    double q[3] = {p[0], p[1], p[2]};
    uint8_t outside = 0;
    SubstituteSphereSegment_northD(q, 0.5, &outside);
    EXPECT_EQ(outside != 0, p[1] < 0) << lon << ", " << lat;
  });
}

TEST(Stereographic, ShiftedLuneAddsTheDiskMove) {
  ForGridDirections([&](const double* p, int lon, int lat) {
    double shifted[3] = {p[0], p[1], p[2]}, steps[3] = {p[0], p[1], p[2]};
    uint8_t o1 = 0, o2 = 0;
    SubstituteSphereSegment_NiceD(shifted, 0.5, &o1, 0.2);
    SubstituteSphereSegment_NiceD(steps, 0.5, &o2, 0.0);
    automorphicDisk_prettily_on_sphere(steps, 0.2);
    EXPECT_TRUE(Near3(shifted, steps, 0)) << lon << ", " << lat;
    EXPECT_EQ(o1, o2);
  });
}

TEST(Stereographic, DiskAndParabolicMoves) {
  double p[3] = {0.48, 0.6, -0.64};
  double q[3] = {p[0], p[1], p[2]};
  automorphicDisk_prettily_on_sphere(q, 0.0);
  EXPECT_TRUE(Near3(q, p, 0));
  EXPECT_TRUE(std::signbit(q[2]));

  double pole[3] = {0, 0, -1};
  parabolic_mobius_on_sphere(pole, {0.3, 0.1});
  const double poleWant[3] = {0, 0, -1};
  EXPECT_TRUE(Near3(pole, poleWant, 0));

  ForGridDirections([&](const double* g, int lon, int lat) {
    double m[3] = {g[0], g[1], g[2]};
    parabolic_mobius_on_sphere(m, {0.3, -0.1});
    const fcomplex s = StereographicCoordinateD(g);
    EXPECT_TRUE(NearC(StereographicCoordinateD(m), {s.re + 0.3, s.im - 0.1}, 1e-12)) << lon << ", " << lat;

    // The disk move works on the near hemisphere and keeps each point on its
    // own side, moving the near side by the automorphism of (0, shift).
    double a[3] = {g[0], g[1], g[2]};
    automorphicDisk_prettily_on_sphere(a, 0.25);
    EXPECT_NEAR(a[0] * a[0] + a[1] * a[1] + a[2] * a[2], 1.0, 1e-14);
    if (std::fabs(g[2]) > 1e-9) {
      EXPECT_EQ(a[2] < 0, g[2] < 0) << lon << ", " << lat;
    }
    if (g[2] > 0) {
      const fcomplex want = automorphicDisk(s, {0, 0.25});
      EXPECT_TRUE(NearC(StereographicCoordinateD(a), want, 1e-14)) << lon << ", " << lat;
    }
  });
}

TEST(Stereographic, LagrangeInverseOutsideFlag) {
  uint8_t outside = 0;
  double p[3];
  // Beyond the unit circle the hemisphere of the exponent-2 map is left.
  LagrangeInverse_AvantGarde({1.5, 0.2}, 2.0, &outside, p, 1);
  EXPECT_EQ(outside, 1);
  outside = 1;
  LagrangeInverse_AvantGarde({1.5, 0.2}, 2.0, &outside, p, 0);
  EXPECT_EQ(outside, 0);  // keep 0 always reports inside
  outside = 0;
  LagrangeInverse_AvantGarde({0.3, 0.2}, 2.0, &outside, p, 1);
  EXPECT_EQ(outside, 0);

  float pf[3];
  LagrangeInverse({0.3, 0.2}, 2.0, &outside, pf, 1);
  EXPECT_TRUE(Near3(pf, p, 6e-8));
}

// Forward with 1/W, then inverse with W, returns every direction.
TEST(Stereographic, LagrangeRoundTrip) {
  for (double w : {2.0, 4.0 / 3, 1.0, 3.0}) {
    ForGridDirections([&](const double* p, int lon, int lat) {
      double q[3] = {p[0], p[1], p[2]};
      const fcomplex z = LagrangeForward_AvantGarde(q, 1.0 / w);
      uint8_t outside = 0;
      double back[3];
      LagrangeInverse_AvantGarde(z, w, &outside, back, 1);
      EXPECT_EQ(outside, 0) << w << ": " << lon << ", " << lat;
      EXPECT_TRUE(Near3(back, p, 1e-12)) << w << ": " << lon << ", " << lat;
    });
  }
}

}  // namespace
