// The stereographic, gnomonic and Lagrange maps against PROJ on a 10-degree
// grid, through the one correspondence of support/proj_oracle.h.
#include <gtest/gtest.h>

#include <cmath>

#include "geom_test_util.h"
#include "projection/inverse/stereographic.h"
#include "support/proj_oracle.h"

namespace {

constexpr double kDegree = 3.141592653589793 / 180.0;

// lon -170..170 and lat -80..80: PROJ's Lagrange has no plane point for the
// poles, and the back meridian is the seam of every map here.
template <typename F>
void ForGrid(F f) {
  for (int lat = -80; lat <= 80; lat += 10) {
    for (int lon = -170; lon <= 170; lon += 10) {
      double p[3];
      DirectionFromLonLat(lon * kDegree, lat * kDegree, p);
      f(p, lon, lat);
    }
  }
}

struct LagrangeCase {
  const char* definition;
  double w;
};

constexpr LagrangeCase kLagrange[] = {
    {"+proj=lagrng +W=2 +R=1", 2.0},
    {"+proj=lagrng +W=1.3333333333333333 +R=1", 4.0 / 3.0},
};

TEST(AgainstProj, LagrangeForwardAndInverse) {
  for (const LagrangeCase& c : kLagrange) {
    const ProjOracle proj(c.definition);
    ASSERT_TRUE(proj.valid()) << c.definition;
    int compared = 0;
    ForGrid([&](const double* p, int lon, int lat) {
      double x, y;
      ASSERT_TRUE(proj.Forward(lon * kDegree, lat * kDegree, &x, &y)) << lon << ", " << lat;
      const fcomplex want = OurPlaneFromProj(x, y, kOnStereoCoordinatePlane);
      double q[3] = {p[0], p[1], p[2]};
      EXPECT_TRUE(NearC(LagrangeForward_AvantGarde(q, 1.0 / c.w), want, 1e-9))
          << c.definition << " at " << lon << ", " << lat;

      uint8_t outside = 0;
      double back[3];
      LagrangeInverse_AvantGarde(want, c.w, &outside, back, 1);
      EXPECT_EQ(outside, 0);
      EXPECT_TRUE(Near3(back, p, 1e-9)) << c.definition << " at " << lon << ", " << lat;
      ++compared;
    });
    EXPECT_EQ(compared, 35 * 17);
  }
}

struct PlaneCase {
  const char* name;
  const char* definition;
  double minZ;  // directions compared: z above this
  double k;     // our plane's scale against PROJ's
  void (*inverse)(double u, double v, double p[3]);
};

void Gnomonic(double u, double v, double p[3]) { StereoIntersectCoreD(u, v, p, 0.0); }

constexpr PlaneCase kPlanes[] = {
    {"stereographic onto the tangent plane", "+proj=stere +lat_0=0 +lon_0=0 +k_0=1 +R=1", -0.95, kOnTangentPlane,
     StereoIntersectD},
    {"exact stereographic", "+proj=stere +lat_0=0 +lon_0=0 +k_0=1 +R=1", -0.95, kOnStereoCoordinatePlane,
     StereoIntersect_NiceD},
    {"gnomonic core", "+proj=gnom +lat_0=0 +lon_0=0 +R=1", 0.1, kOnTangentPlane, Gnomonic},
};

TEST(AgainstProj, StereographicAndGnomonicInverses) {
  for (const PlaneCase& c : kPlanes) {
    const ProjOracle proj(c.definition);
    ASSERT_TRUE(proj.valid()) << c.definition;
    int compared = 0;
    ForGrid([&](const double* p, int lon, int lat) {
      if (p[2] <= c.minZ) return;
      double x, y;
      ASSERT_TRUE(proj.Forward(lon * kDegree, lat * kDegree, &x, &y)) << c.name << " at " << lon << ", " << lat;
      const fcomplex z = OurPlaneFromProj(x, y, c.k);
      double got[3];
      c.inverse(z.re, z.im, got);
      EXPECT_TRUE(Near3(got, p, 1e-9)) << c.name << " at " << lon << ", " << lat;
      ++compared;
    });
    EXPECT_GT(compared, 200) << c.name;
  }

  // Forward: the stereographic coordinate is PROJ's plane on the half scale.
  const ProjOracle stere("+proj=stere +lat_0=0 +lon_0=0 +k_0=1 +R=1");
  ForGrid([&](const double* p, int lon, int lat) {
    if (p[2] <= -0.95) return;
    double x, y;
    ASSERT_TRUE(stere.Forward(lon * kDegree, lat * kDegree, &x, &y));
    EXPECT_TRUE(NearC(StereographicCoordinateD(p), OurPlaneFromProj(x, y, kOnStereoCoordinatePlane), 1e-9))
        << lon << ", " << lat;
  });
}

// The float ray-cast inverse, which the per-pixel routes use.
TEST(AgainstProj, FloatStereographicInverse) {
  const ProjOracle stere("+proj=stere +lat_0=0 +lon_0=0 +k_0=1 +R=1");
  ForGrid([&](const double* p, int lon, int lat) {
    if (p[2] <= 0.0) return;
    double x, y;
    ASSERT_TRUE(stere.Forward(lon * kDegree, lat * kDegree, &x, &y));
    const fcomplex z = OurPlaneFromProj(x, y, kOnTangentPlane);
    float got[3];
    StereoIntersect(static_cast<float>(z.re), static_cast<float>(z.im), got);
    EXPECT_TRUE(Near3(got, p, 1e-6)) << lon << ", " << lat;
  });
}

}  // namespace
