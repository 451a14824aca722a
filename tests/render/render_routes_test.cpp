// The closed-formula routes, point by point: PROJ's inverse projections as
// the oracle over a grid of plane points (values where PROJ has a twin),
// then the edge cases each map has, one table of cases.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/proj_oracle.h"
#include "render/output_modes.h"
#include "render/routes/routes_closed.h"
#include "render/vort.h"

namespace {

// Region marks of calls whose marks a test does not read.
RouteMarks* Unread() {
  static RouteMarks marks;
  marks = RouteMarks{};
  return &marks;
}

constexpr double kPi = 3.141592653589793;
constexpr double kRoot2 = 1.4142135623730951;

vort ViewOf(int32_t mode, float aspect, float viewAngle = 120.0f) {
  vort v{};
  v.outputMode = mode;
  v.outputAspect = aspect;
  v.viewAngle = viewAngle;
  return v;
}

// The route's direction as PROJ's (lon, lat): our planes put east to the
// right and south down, and our routes give the direction whose mirror
// image the input reads, so PROJ's longitude is the route's with its sign
// turned.
void RouteLonLat(const float p[3], double* lon, double* lat) {
  const double q[3] = {-double(p[0]), double(p[1]), double(p[2])};
  LonLatFromDirection(q, lon, lat);
}

struct OracleCase {
  int32_t mode;
  OutputRoute route;
  const char* proj;
  double k;  // PROJ plane units per plane unit of the route
  double tolerance;  // radians
};

// Plane units: the framing boxes'. Mollweide and Hammer span 4·sqrt(2)
// across the box width 1; the square-box maps put their disc of diameter 1
// on PROJ's disc (radius 2 for the equal-area azimuthal, pi for the
// equidistant, 1 for the orthographic); the sinusoidal spans 2pi.
const OracleCase kOracleCases[] = {
    {46, Route_Mollweide, "+proj=moll +R=1", 4.0 * kRoot2, 2e-4},
    {11, Route_Hammer, "+proj=hammer +R=1", 4.0 * kRoot2, 2e-4},
    {13, Route_Sinusoidal, "+proj=sinu +R=1", 2.0 * kPi, 2e-4},
    {2, Route_MirrorBall, "+proj=laea +R=1", 4.0, 2e-4},
    {3, Route_Polar, "+proj=aeqd +R=1", 2.0 * kPi, 2e-4},
    {5, Route_Orthographic, "+proj=ortho +R=1", 2.0, 2e-4},
    // Read from a lookup table, as close as the table comes near the poles.
    {35, Route_WinkelTripel, "+proj=wintri +R=1", 1.0, 2.5e-3},
};

bool OnMap(const ProjOracle& proj, double x, double y, double* lon, double* lat) {
  double fx, fy;
  return proj.Inverse(x, y, lon, lat) && std::fabs(*lon) <= kPi && std::fabs(*lat) <= kPi / 2 &&
         proj.Forward(*lon, *lat, &fx, &fy) && std::hypot(fx - x, fy - y) < 1e-6;
}

TEST(ClosedRoutes, AgreeWithProjOverTheirWholePlane) {
  for (const OracleCase& c : kOracleCases) {
    ProjOracle proj(c.proj);
    ASSERT_TRUE(proj.valid()) << c.proj;
    const vort view = ViewOf(c.mode, 0.5f);
    int inside = 0;
    const double reach = c.mode == 35 ? 2.6 : 0.55;  // the Winkel Tripel's plane is PROJ's own
    for (double y = -reach; y <= reach; y += reach * 0.0223) {
      for (double x = -reach; x <= reach; x += reach * 0.0213) {
        float p[3] = {9, 9, 9};
        uint8_t outside = 7;
        c.route(Complex(x, y), view, p, &outside, Unread());
        ASSERT_TRUE(outside == 0 || outside == 1) << "mode " << c.mode;
        // Points on PROJ's map, and not within 2% of its outline, where
        // single precision and PROJ may disagree about the last hair.
        double lon, lat, outerLon, outerLat;
        if (!OnMap(proj, c.k * x, -c.k * y, &lon, &lat) ||
            !OnMap(proj, 1.02 * c.k * x, -1.02 * c.k * y, &outerLon, &outerLat))
          continue;
        if (outside) {
          ADD_FAILURE() << "mode " << c.mode << " outside at (" << x << ", " << y << ") where PROJ has a point";
          continue;
        }
        ++inside;
        double rlon, rlat;
        RouteLonLat(p, &rlon, &rlat);
        const double dlon = std::remainder(rlon - lon, 2.0 * kPi) * std::cos(lat);
        EXPECT_NEAR(dlon, 0.0, c.tolerance) << "mode " << c.mode << " at (" << x << ", " << y << ")";
        EXPECT_NEAR(rlat, lat, c.tolerance) << "mode " << c.mode << " at (" << x << ", " << y << ")";
        EXPECT_NEAR(p[0] * p[0] + p[1] * p[1] + p[2] * p[2], 1.0, 1e-5) << "mode " << c.mode;
      }
    }
    EXPECT_GT(inside, 500) << "mode " << c.mode;
  }
}

// Equirectangular in its own box (0, 0)-(1, 0.5): longitude across, north up.
TEST(ClosedRoutes, EquirectangularAgreesWithProjAndKeepsItsEdges) {
  ProjOracle proj("+proj=eqc +R=1");
  const vort view = ViewOf(1, 0.5f);
  for (double y = 0.0; y <= 0.5; y += 0.03125) {
    for (double x = 0.0; x <= 1.0; x += 0.0625) {
      float p[3];
      uint8_t outside = 7;
      Route_Equirectangular(Complex(x, y), view, p, &outside, Unread());
      ASSERT_EQ(outside, 0) << x << ", " << y;  // the box edges are inside
      double lon, lat, rlon, rlat;
      ASSERT_TRUE(proj.Inverse((x - 0.5) * 2.0 * kPi, (0.25 - y) * 2.0 * kPi, &lon, &lat));
      RouteLonLat(p, &rlon, &rlat);
      EXPECT_NEAR(rlat, lat, 1e-5);
      if (std::fabs(lat) < kPi / 2 - 1e-3) {
        EXPECT_NEAR(std::remainder(rlon - lon, 2.0 * kPi), 0.0, 1e-5);
      }
    }
  }
  // Left and right edges are one meridian; just past the box is outside.
  float a[3], b[3];
  uint8_t o = 7;
  Route_Equirectangular(Complex(0.0, 0.2), view, a, &o, Unread());
  Route_Equirectangular(Complex(1.0, 0.2), view, b, &o, Unread());
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[i], b[i], 1e-6);
  for (const fcomplex z : {Complex(-0.001, 0.2), Complex(1.001, 0.2), Complex(0.5, -0.001), Complex(0.5, 0.501),
                           Complex(NAN, 0.2), Complex(0.5, NAN)}) {
    o = 0;
    Route_Equirectangular(z, view, a, &o, Unread());
    EXPECT_EQ(o, 1) << z.re << ", " << z.im;
  }
}

// A pole corner keeps its meridian, so the first pixel row samples its own
// longitudes.
TEST(ClosedRoutes, EquirectangularPoleCornersKeepTheirMeridian) {
  const vort view = ViewOf(1, 0.5f);
  for (const double y : {0.0, 0.5}) {
    for (const double x : {0.1, 0.3, 0.8}) {
      float p[3];
      uint8_t o = 7;
      Route_Equirectangular(Complex(x, y), view, p, &o, Unread());
      ASSERT_EQ(o, 0);
      EXPECT_NEAR(std::fabs(p[1]), 1.0f, 1e-6f);
      double lon, lat;
      RouteLonLat(p, &lon, &lat);
      EXPECT_NEAR(std::remainder(lon - (x - 0.5) * 2.0 * kPi, 2.0 * kPi), 0.0, 1e-4) << x << ", " << y;
    }
  }
}

struct PointCase {
  const char* what;
  int32_t mode;
  OutputRoute route;
  float viewAngle;
  double x, y;  // plane point
  bool outside;
  float p[3];  // expected direction when inside
  float tolerance;
};

constexpr float kAny = 99.0f;  // an expected component that is not checked

const PointCase kPointCases[] = {
    {"mirror ball centre looks ahead", 2, Route_MirrorBall, 120, 0.0, 0.0, false, {0, 0, 1}, 1e-6f},
    {"mirror ball rim looks behind", 2, Route_MirrorBall, 120, 0.5, 0.0, false, {0, 0, -1}, 1e-3f},
    {"mirror ball beyond the disc", 2, Route_MirrorBall, 120, 0.36, 0.36, true, {}, 0},
    {"polar centre looks ahead", 3, Route_Polar, 120, 0.0, 0.0, false, {0, 0, 1}, 1e-5f},
    {"polar rim looks behind", 3, Route_Polar, 120, 0.0, 0.5, false, {0, 0, -1}, 1e-5f},
    {"polar beyond the disc", 3, Route_Polar, 120, 0.4, 0.4, true, {}, 0},
    {"magnipolar keeps its centre", 50, Route_Magnipolar, 120, 0.0, 0.0, false, {0, 0, 1}, 1e-5f},
    {"magnipolar keeps its rim", 50, Route_Magnipolar, 120, 0.5, 0.0, false, {0, 0, -1}, 1e-4f},
    {"annulus at 180 degrees has the north pole at its centre", 59, Route_Annulus, 180, 0.0, 0.0, false, {0, 1, 0},
     1e-5f},
    {"annulus at 0 degrees shows nothing", 59, Route_Annulus, 0, 0.3, 0.1, true, {}, 0},
    {"annulus hole", 59, Route_Annulus, 90, 0.1, 0.0, true, {}, 0},
    {"half polar: top middle is the north pole", 4, Route_HalfPolar, 120, 0.0, -0.25, false, {0, 1, 0}, 1e-5f},
    {"half polar: above the top edge", 4, Route_HalfPolar, 120, 0.1, -0.26, true, {}, 0},
    {"orthographic centre", 5, Route_Orthographic, 120, 0.0, 0.0, false, {0, 0, 1}, 0},
    {"orthographic beyond the disc", 5, Route_Orthographic, 120, 0.4, 0.4, true, {}, 0},
    {"sinusoidal north pole", 13, Route_Sinusoidal, 120, 0.0, -0.25, true, {}, 0},
    {"sinusoidal south pole", 13, Route_Sinusoidal, 120, 0.0, 0.25, true, {}, 0},
    {"sinusoidal centre", 13, Route_Sinusoidal, 120, 0.0, 0.0, false, {0, 0, 1}, 1e-6f},
    {"Werner: a unit distance from the pole", 12, Route_Werner, 120, 0.0, 1.0 / 1.2 - 0.4166666666666667 / 1.2,
     true, {}, 0},
    {"two circles: left centre looks ahead", 40, Route_TwoCircles, 120, -0.25, 0.0, false, {0, 0, 1}, 1e-5f},
    {"two circles: right centre looks behind", 40, Route_TwoCircles, 120, 0.25, 0.0, false, {0, 0, -1}, 1e-5f},
    {"two circles: between the circles", 40, Route_TwoCircles, 120, 0.0, 0.2, true, {}, 0},
    {"Mollweide row centre is longitude 0", 46, Route_Mollweide, 120, 0.0, 0.1, false, {0, kAny, kAny}, 1e-6f},
    {"Mollweide beyond the ellipse", 46, Route_Mollweide, 120, 0.45, 0.2, true, {}, 0},
    {"Hammer beyond the ellipse", 11, Route_Hammer, 120, 0.45, 0.2, true, {}, 0},
    {"cylindrical is never outside", 17, Route_Cylindrical, 120, 3.0, -7.0, false, {kAny, kAny, kAny}, 0},
};

TEST(ClosedRoutes, EdgeCases) {
  for (const PointCase& c : kPointCases) {
    const vort view = ViewOf(c.mode, 0.5f, c.viewAngle);
    float p[3] = {kAny, kAny, kAny};
    uint8_t outside = c.outside ? 0 : 1;  // the route must set it either way
    c.route(Complex(c.x, c.y), view, p, &outside, Unread());
    EXPECT_EQ(outside, c.outside ? 1 : 0) << c.what;
    if (c.outside || outside) continue;
    for (int i = 0; i < 3; ++i) {
      if (c.p[i] != kAny) {
        EXPECT_NEAR(p[i], c.p[i], c.tolerance) << c.what << ", component " << i;
      }
    }
  }
}

TEST(ClosedRoutes, MollweideRowEndsAreTheAntimeridian) {
  const vort view = ViewOf(46, 0.5f);
  for (const double y : {-0.2, 0.0, 0.15}) {
    const double half = std::sqrt(2.0 - std::pow(4.0 * kRoot2 * y, 2)) * 2.0 / (4.0 * kRoot2);
    for (const double x : {-half * 0.999999, half * 0.999999}) {
      float p[3];
      uint8_t o = 7;
      Route_Mollweide(Complex(x, y), view, p, &o, Unread());
      ASSERT_EQ(o, 0);
      double lon, lat;
      RouteLonLat(p, &lon, &lat);
      EXPECT_NEAR(std::fabs(lon), kPi, 1e-3) << x << ", " << y;
    }
  }
}

}  // namespace
