#include "projection/sphere_convention.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/proj_oracle.h"
#include "projection/scalar_math.h"
#include "geom_test_util.h"

namespace {

struct ToSphereCase {
  double u, v;
  double want[3];
};

TEST(SphereConvention, LandmarksOfTheSphere) {
  const ToSphereCase cases[] = {
      {0.5, 0.5, {0, 0, 1}},   // picture centre
      {0.5, 0.0, {0, 1, 0}},   // north pole
      {0.5, 1.0, {0, -1, 0}},  // south pole
      {0.75, 0.5, {1, 0, 0}},  // positive longitude turns toward +x
      {0.25, 0.5, {-1, 0, 0}},
      {0.0, 0.5, {0, 0, -1}},
  };
  for (const ToSphereCase& c : cases) {
    double pd[3];
    RectangularToSphericalD(c.u, c.v, pd);
    EXPECT_TRUE(Near3(pd, c.want, 1e-15)) << c.u << ", " << c.v;
    float pf[3];
    RectangularToSpherical(static_cast<float>(c.u), static_cast<float>(c.v), pf);
    EXPECT_TRUE(Near3(pf, c.want, 3e-7)) << c.u << ", " << c.v;
  }
}

TEST(SphereConvention, FloatBackConversionEdges) {
  float u, v;
  const float centre[3] = {0, 0, 1};
  SphericalToRectangular(centre, &u, &v);
  EXPECT_EQ(u, 0.5f);
  EXPECT_EQ(v, 1.5707288f * 0.31830987f);  // the cubic arccosine's value, about 0.49998

  const float belowSouth[3] = {0, -1.0000001f, 0};
  SphericalToRectangular(belowSouth, &u, &v);
  EXPECT_EQ(v, 1.0f);
  const float aboveNorth[3] = {0, 1.0000001f, 0};
  SphericalToRectangular(aboveNorth, &u, &v);
  EXPECT_EQ(v, 0.0f);
  EXPECT_EQ(u, 0.5f);  // a pole has u = 0.5

  const float notANumber[3] = {0, NAN, 1};
  SphericalToRectangular(notANumber, &u, &v);
  EXPECT_EQ(v, 0.0f);
}

TEST(SphereConvention, DoubleBackConversionClampsAndReports) {
  double p[3] = {0, 1.5, 0};
  double u, v;
  EXPECT_EQ(SphericalToRectangularD(p, &u, &v), 0);
  EXPECT_EQ(p[1], 1.0);  // the clamp is written back
  EXPECT_EQ(v, 0.0);
  double q[3] = {0, -1.25, 0};
  EXPECT_EQ(SphericalToRectangularD(q, &u, &v), 0);
  EXPECT_EQ(q[1], -1.0);
  EXPECT_EQ(v, 1.0);
  double bad[3] = {NAN, 0.2, 1};
  EXPECT_NE(SphericalToRectangularD(bad, &u, &v), 0);
}

// Every grid point goes to the direction of its longitude and latitude (the
// same correspondence that the PROJ comparisons rest on) and comes back.
TEST(SphereConvention, RoundTripOnAGrid) {
  for (int i = 1; i < 36; ++i) {
    for (int j = 1; j < 18; ++j) {
      const double u = i / 36.0, v = j / 18.0;
      double p[3], want[3];
      RectangularToSphericalD(u, v, p);
      DirectionFromLonLat((u - 0.5) * kTwoPi, (0.5 - v) * kPi, want);
      ASSERT_TRUE(Near3(p, want, 2e-16)) << u << ", " << v;
      double u2, v2;
      ASSERT_EQ(SphericalToRectangularD(p, &u2, &v2), 0);
      EXPECT_NEAR(u2, u, 1e-15) << u << ", " << v;
      EXPECT_NEAR(v2, v, 1e-15) << u << ", " << v;

      float pf[3], uf, vf;
      RectangularToSpherical(static_cast<float>(u), static_cast<float>(v), pf);
      EXPECT_TRUE(Near3(pf, want, 5e-7)) << u << ", " << v;
      SphericalToRectangular(pf, &uf, &vf);
      EXPECT_NEAR(uf, u, 1e-6) << u << ", " << v;
      EXPECT_NEAR(vf, v, 3e-5) << u << ", " << v;  // the polynomial arccosine
    }
  }
}

}  // namespace
