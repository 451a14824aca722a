// Every input layout that has a twin in PROJ, on a 7.5-degree grid without
// the poles and the back meridian: our (u, v) equals PROJ's forward plane
// point placed on the picture by the fixed frame of support/proj_oracle.h
// (half-turn, the PROJ extent the picture spans, where PROJ's origin lies).
// Closed forms must agree to 1e-5; layouts that measure angles through the
// cubic arccosine of the sphere converter (error up to 5e-5 rad) to 1e-4.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "inputmap_util.h"
#include "projection/inverse/robinson.h"
#include "support/proj_oracle.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180.0;
constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kWinkelHalfWidth = kPi / 2.0 + 1.0;
constexpr double kClosedForm = 1e-5;
constexpr double kThroughFastAcos = 1e-4;
constexpr double kNoDomain = -2.0;  // every z allowed
constexpr double kEdgeBand = 1e-3;  // too near an edge or a domain limit to judge

struct Twin {
  int32_t mode;
  const char* definition;
  InputPictureFrame frame;
  float aspect;
  double minZ;  // our layout's own limit: directions with z below it are outside
  double tolerance;
};

constexpr InputPictureFrame Centred(double across, double down) { return {across, down, 0.5, 0.5}; }

const Twin kTwins[] = {
    {InputMode_Equirectangular, "+proj=eqc +R=1", Centred(2 * kPi, kPi), 0.5f, kNoDomain, kThroughFastAcos},
    {InputMode_MirrorBall, "+proj=laea +lat_0=0 +R=1", Centred(4, 4), 0.5f, kNoDomain, kClosedForm},
    {InputMode_Polar, "+proj=aeqd +lat_0=0 +R=1", Centred(2 * kPi, 2 * kPi), 0.5f, kNoDomain, kThroughFastAcos},
    {InputMode_Orthographic, "+proj=ortho +lat_0=0 +R=1", Centred(2, 2), 0.5f, 0.0, kClosedForm},
    // tan(lat) of 4 fills the height of a square picture.
    {InputMode_Cylindrical, "+proj=cc +R=1", Centred(2 * kPi, 8), 1.0f, kNoDomain, kThroughFastAcos},
    {InputMode_Mollweide, "+proj=moll +R=1", Centred(4 * kSqrt2, 2 * kSqrt2), 0.5f, kNoDomain, kThroughFastAcos},
    {InputMode_HalfPolar, "+proj=aeqd +lat_0=0 +R=1", Centred(kPi, kPi), 0.5f, 0.0, kThroughFastAcos},
    // The image circle reaches the corners of a 4:3 frame: its diagonal is
    // a half-turn of arc.
    {InputMode_FullFrameFisheye, "+proj=aeqd +lat_0=0 +R=1", Centred(0.8 * kPi, 0.6 * kPi), 0.75f, kNoDomain,
     kThroughFastAcos},
    {InputMode_Rectilinear, "+proj=gnom +lat_0=0 +R=1", Centred(2, 2), 0.5f, 0.3, kClosedForm},
    {InputMode_EquirectangularHalf, "+proj=eqc +R=1", Centred(kPi, kPi), 0.5f, kNoDomain, kThroughFastAcos},
    {InputMode_Stereographic, "+proj=stere +lat_0=0 +R=1", Centred(4, 4), 0.5f, 0.0, kThroughFastAcos},
    // A quarter turn of longitude, its centre 15 degrees west of the front.
    {InputMode_EquirectangularQuarter, "+proj=eqc +R=1", {kPi / 2, kPi, 1.0 / 3.0, 0.5}, 0.5f, kNoDomain,
     kThroughFastAcos},
    {InputMode_Mercator, "+proj=merc +R=1", Centred(2 * kPi, 2 * kPi), 1.0f, kNoDomain, kThroughFastAcos},
    {InputMode_Lagrange, "+proj=lagrng +W=2 +R=1", Centred(4, 4), 0.5f, kNoDomain, kClosedForm},
    {InputMode_WinkelTripel, "+proj=wintri +R=1", Centred(2 * kWinkelHalfWidth, kPi), 0.5f, kNoDomain,
     kThroughFastAcos},
    {InputMode_Hammer, "+proj=hammer +R=1", Centred(4 * kSqrt2, 2 * kSqrt2), 0.5f, kNoDomain, kThroughFastAcos},
    {InputMode_EqualAreaCylinder, "+proj=cea +R=1", Centred(2 * kPi, 2), 0.5f, kNoDomain, kThroughFastAcos},
    {InputMode_Oval, "+proj=ortel +R=1", Centred(2 * kPi, kPi), 0.5f, kNoDomain, kThroughFastAcos},
};

// lon -172.5..172.5 and lat -82.5..82.5 in 7.5-degree steps.
template <typename F>
void ForGrid(F f) {
  for (int j = -11; j <= 11; ++j) {
    for (int i = -23; i <= 23; ++i) f(i * 7.5, j * 7.5);
  }
}

bool Inside(double x) { return x >= kEdgeBand && x <= 1.0 - kEdgeBand; }
bool Beyond(double x) { return x < -kEdgeBand || x > 1.0 + kEdgeBand; }

struct Tally {
  int inside = 0;
  int outside = 0;
};

// One grid point: ours against PROJ's point (x, y) on the affine map.
void Judge(double tolerance, const std::string& where, const Mapped& m, double eu, double ev, Tally* tally) {
  if (Inside(eu) && Inside(ev)) {
    EXPECT_EQ(m.outside, 0) << where << " " << m;
    EXPECT_NEAR(m.u, eu, tolerance) << where;
    EXPECT_NEAR(m.v, ev, tolerance) << where;
    ++tally->inside;
  } else if (Beyond(eu) || Beyond(ev)) {
    EXPECT_EQ(m.outside, 1) << where << " expected (" << eu << ", " << ev << ") " << m;
    ++tally->outside;
  }
}

TEST(InputMappingAgainstProj, EveryTwinOnTheGrid) {
  for (const Twin& t : kTwins) {
    const ProjOracle proj(t.definition);
    ASSERT_TRUE(proj.valid()) << t.definition;
    Tally tally;
    ForGrid([&](double lonDeg, double latDeg) {
      double p[3];
      DirectionFromLonLat(lonDeg * kDegree, latDeg * kDegree, p);
      const std::string where = "mode " + std::to_string(t.mode) + " (" + t.definition + ") at lon " +
                                std::to_string(lonDeg) + " lat " + std::to_string(latDeg);
      const Mapped m = MapInputD(t.mode, p, 0, t.aspect);
      if (p[2] < t.minZ - kEdgeBand) {
        EXPECT_EQ(m.outside, 1) << where;
        ++tally.outside;
        return;
      }
      if (p[2] < t.minZ + kEdgeBand) return;
      double x, y;
      ASSERT_TRUE(proj.Forward(lonDeg * kDegree, latDeg * kDegree, &x, &y)) << where;
      double eu, ev;
      InputPointFromProj(x, y, t.frame, &eu, &ev);
      Judge(t.tolerance, where, m, eu, ev, &tally);
    });
    EXPECT_GE(tally.inside, 100) << t.definition;
    // The mirror flag flips u and nothing else.
    double p[3];
    DirectionFromLonLat(0.3, 0.2, p);
    const Mapped plain = MapInputD(t.mode, p, 0, t.aspect);
    const Mapped mirrored = MapInputD(t.mode, p, 1, t.aspect);
    EXPECT_FLOAT_EQ(mirrored.u, 1.0f - plain.u) << t.definition;
    EXPECT_EQ(mirrored.v, plain.v) << t.definition;
  }
}

struct GoreTwin {
  int32_t mode;
  int n;
  double centre;
};

// Each gore is a polyconic map about its own central meridian: PROJ's poly
// with lon_0 at the gore's centre (our mirrored longitude turned back).
TEST(InputMappingAgainstProj, GoresArePolyconicAboutTheirMeridians) {
  for (const GoreTwin g : {GoreTwin{InputMode_Gores12, 12, 5.5}, GoreTwin{InputMode_Gores6, 6, 2.5}}) {
    const double width = 360.0 / g.n;
    Tally tally;
    ForGrid([&](double lonDeg, double latDeg) {
      if (std::fmod(lonDeg, width) == 0.0) return;  // a cut between gores
      const int k = static_cast<int>(std::floor(g.n * (0.5 - lonDeg / 360.0)));
      const double offset = k - g.centre;
      const double lon0 = -width * offset;
      const std::string definition = "+proj=poly +R=1 +lon_0=" + std::to_string(lon0);
      const ProjOracle proj(definition.c_str());
      ASSERT_TRUE(proj.valid()) << definition;
      double p[3], x, y;
      DirectionFromLonLat(lonDeg * kDegree, latDeg * kDegree, p);
      ASSERT_TRUE(proj.Forward(lonDeg * kDegree, latDeg * kDegree, &x, &y));
      const Mapped m = MapInputD(g.mode, p);
      const std::string where = "mode " + std::to_string(g.mode) + " " + definition + " at lon " +
                                std::to_string(lonDeg) + " lat " + std::to_string(latDeg);
      // PROJ's x is measured from the gore's meridian, ours from the front.
      double eu, ev;
      InputPointFromProj(x + lon0 * kDegree, y, Centred(2 * kPi, kPi), &eu, &ev);
      Judge(kThroughFastAcos, where, m, eu, ev, &tally);
      if (m.outside == 0) {
        EXPECT_EQ(m.layer, static_cast<int32_t>(offset)) << where;
      }
    });
    EXPECT_GE(tally.inside, 500) << g.mode;
  }
}

// Robinson's table holds only its nodes; between them we interpolate
// linearly where PROJ uses a spline, so the two agree at the nodes only.
// The forward map of exact node fractions equals PROJ's robin (normalised by
// the equator's length and the pole's distance) to float rounding.
TEST(InputMappingAgainstProj, RobinsonAtTheNodes) {
  const ProjOracle proj("+proj=robin +R=1");
  ASSERT_TRUE(proj.valid());
  double xEquator, yPole, unused;
  ASSERT_TRUE(proj.Forward(kPi, 0.0, &xEquator, &unused));
  ASSERT_TRUE(proj.Forward(0.0, kPi / 2, &unused, &yPole));
  for (int node = -18; node <= 18; ++node) {
    for (int i = -8; i <= 8; ++i) {
      const double lonFraction = i / 8.0;
      double x, y;
      ASSERT_TRUE(proj.Forward(lonFraction * kPi, node * 5.0 * kDegree, &x, &y));
      float mx, my;
      // Our x runs mirrored and our y downward.
      const uint8_t out = RobinsonForward(static_cast<float>(-lonFraction), static_cast<float>(-node / 18.0), &mx,
                                          &my);
      EXPECT_EQ(out, 0);
      EXPECT_NEAR(mx, -x / xEquator, 2e-7) << "node " << node << " lon " << lonFraction;
      EXPECT_NEAR(my, -y / yPole, 2e-7) << "node " << node << " lon " << lonFraction;
    }
  }
  // The whole layout at the grid's node latitudes (0, 15, ..., 75 degrees),
  // through the sphere converter.
  int compared = 0;
  ForGrid([&](double lonDeg, double latDeg) {
    if (std::fmod(latDeg, 5.0) != 0.0) return;
    double p[3], x, y;
    DirectionFromLonLat(lonDeg * kDegree, latDeg * kDegree, p);
    ASSERT_TRUE(proj.Forward(lonDeg * kDegree, latDeg * kDegree, &x, &y));
    const Mapped m = MapInputD(InputMode_Robinson, p);
    EXPECT_EQ(m.outside, 0);
    double eu, ev;
    InputPointFromProj(x, y, Centred(2 * xEquator, 2 * yPole), &eu, &ev);
    EXPECT_NEAR(m.u, eu, kThroughFastAcos) << lonDeg << ", " << latDeg;
    EXPECT_NEAR(m.v, ev, kThroughFastAcos) << lonDeg << ", " << latDeg;
    ++compared;
  });
  EXPECT_EQ(compared, 47 * 11);
}

// The forward Winkel Tripel itself, in double, without the converter.
TEST(InputMappingAgainstProj, WinkelTripelForward) {
  const ProjOracle proj("+proj=wintri +R=1");
  ASSERT_TRUE(proj.valid());
  ForGrid([&](double lonDeg, double latDeg) {
    double x, y;
    ASSERT_TRUE(proj.Forward(lonDeg * kDegree, latDeg * kDegree, &x, &y));
    const fcomplex z = WinkelTripelForward({lonDeg * kDegree, latDeg * kDegree});
    EXPECT_NEAR(z.re, x, 1e-12) << lonDeg << ", " << latDeg;
    EXPECT_NEAR(z.im, y, 1e-12) << lonDeg << ", " << latDeg;
  });
  EXPECT_NEAR(WinkelTripelForward({kPi, 0.0}).re, kWinkelHalfWidth, 1e-15);
  EXPECT_EQ(WinkelTripelForward({0.0, 0.0}).re, 0.0);
}

}  // namespace
