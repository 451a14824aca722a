// The classic maps against PROJ: each plane point goes through our inverse
// to the sphere, PROJ takes that direction forward, and the PROJ plane point,
// carried onto our plane, must land back on the one we started from.
//
// Our planes are PROJ's scaled, turned and (Guyou) shifted: ours = scale ·
// PROJ + offset, as complex numbers. K = K(1/sqrt 2) = 1.8540746773 is the
// complete elliptic integral that sizes every square of the Peirce family in
// PROJ (a hemisphere's square has side 2K there).
//
// Which Adams is which: variant 1 puts the poles at two opposite corners of
// the square, which is PROJ's adams_ws2 (PROJ stands that square on a
// corner, hence the 135-degree turn); variants 2 and 3 put them at the
// middles of the top and bottom edges, which is PROJ's adams_ws1.
//
// Seams: a band along the edge of the compared box is skipped (the outer
// edges of these maps are cut lines, where PROJ may answer with the twin
// point across the cut), and so are directions near the back meridian and
// the poles where a case names a limit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "classic_maps.h"
#include "support/proj_oracle.h"

namespace {

using classic_test::PlaneMap;

constexpr double kDegree = 3.141592653589793 / 180.0;
constexpr double kTwoK = 2.0 * 1.8540746773013719;
constexpr double kWinkelWidth = 2.0 * 2.570796326794897;

struct ProjCase {
  const char* name;
  const char* definition;
  PlaneMap map;
  double x0, x1, y0, y1;  // the part of our plane compared
  double width;           // the whole map's width on our plane
  fcomplex scale;         // ours = scale · PROJ + offset
  fcomplex offset;
  double margin;     // band skipped along the box edge, as a fraction of width
  double maxLonDeg;  // directions with |lon| or |lat| beyond these are skipped
  double maxLatDeg;
  double tolerance;  // as a fraction of width
};

// The tabled maps reach about 6e-5 of the map's width, the Lagrange maps
// float precision; the tolerances leave some room above that.
const ProjCase kCases[] = {
    // The equatorial Peirce quincuncial: ob_tran sets PROJ's polar map on
    // the equator and turns it an eighth, so that the cardinal directions
    // fall on the corners of the inner hemisphere as on ours.
    {"Peirce quincuncial", "+proj=ob_tran +o_proj=peirce_q +o_lat_p=0 +o_lon_p=45 +lon_0=180 +R=1",
     classic_test::Peirce, -1, 1, -1, 1, 2.0, {1 / kTwoK, -1 / kTwoK}, {0, 0}, 0.025, 180, 90, 1.5e-4},
    // PROJ's Guyou holds one hemisphere square; ours sets two side by side,
    // each centred on its own meridian.
    {"Guyou, east square", "+proj=guyou +lon_0=90 +R=1", classic_test::Guyou, -1, 0, -0.5, 0.5, 2.0,
     {-1 / kTwoK, 0}, {-0.5, 0}, 0.015, 180, 90, 1.5e-4},
    {"Guyou, west square", "+proj=guyou +lon_0=-90 +R=1", classic_test::Guyou, 0, 1, -0.5, 0.5, 2.0,
     {-1 / kTwoK, 0}, {0.5, 0}, 0.015, 180, 90, 1.5e-4},
    {"Adams variant 1 = adams_ws2", "+proj=adams_ws2 +R=1", classic_test::Adams<1>, -0.5, 0.5, -0.5, 0.5, 1.0,
     {-1 / (kTwoK * std::sqrt(2.0)), 1 / (kTwoK * std::sqrt(2.0))}, {0, 0}, 0.02, 180, 90, 1.5e-4},
    {"Adams variant 2 = adams_ws1", "+proj=adams_ws1 +R=1", classic_test::Adams<2>, -0.5, 0.5, -0.5, 0.5, 1.0,
     {-1 / kTwoK, 0}, {0, 0}, 0.02, 180, 90, 1.5e-4},
    {"Adams variant 3 = adams_ws1", "+proj=adams_ws1 +R=1", classic_test::Adams<3>, -0.5, 0.5, -0.5, 0.5, 1.0,
     {-1 / kTwoK, 0}, {0, 0}, 0.02, 180, 90, 1.5e-4},
    // The Lagrange plane is the stereographic coordinate's (half PROJ's).
    {"Lagrange, exponent 2", "+proj=lagrng +W=2 +R=1", classic_test::Lagrange<2, 1>, -1, 1, -1, 1, 2.0,
     {-kOnStereoCoordinatePlane, 0}, {0, 0}, 0.0, 170, 80, 1e-7},
    {"Lagrange, exponent 4/3", "+proj=lagrng +W=1.3333333333333333 +R=1", classic_test::Lagrange<4, 3>, -1.5,
     1.5, -1.5, 1.5, 3.0, {-kOnStereoCoordinatePlane, 0}, {0, 0}, 0.0, 170, 80, 1e-7},
    {"Winkel Tripel", "+proj=wintri +R=1", classic_test::Winkel, -kWinkelWidth / 2, kWinkelWidth / 2,
     -1.5707963267948966, 1.5707963267948966, kWinkelWidth, {-1, 0}, {0, 0}, 0.01, 175, 88, 1.5e-4},
};

TEST(ClassicAgainstProj, PlaneToSphereToPlaneRoundTrips) {
  constexpr int kSteps = 48;
  for (const ProjCase& c : kCases) {
    const ProjOracle proj(c.definition);
    ASSERT_TRUE(proj.valid()) << c.name;
    const double margin = c.margin * c.width;
    double worst = 0.0;
    int compared = 0, refused = 0;
    for (int i = 0; i <= kSteps; ++i) {
      for (int j = 0; j <= kSteps; ++j) {
        const double x = c.x0 + (c.x1 - c.x0) * i / kSteps;
        const double y = c.y0 + (c.y1 - c.y0) * j / kSteps;
        if (x - c.x0 < margin || c.x1 - x < margin || y - c.y0 < margin || c.y1 - y < margin) continue;
        double p[3];
        if (!c.map(x, y, p)) continue;
        double lon, lat;
        LonLatFromDirection(p, &lon, &lat);
        if (std::fabs(lon) > c.maxLonDeg * kDegree || std::fabs(lat) > c.maxLatDeg * kDegree) continue;
        double px, py;
        if (!proj.Forward(lon, lat, &px, &py)) {
          ++refused;
          continue;
        }
        const fcomplex back = Cadd(Cmul(c.scale, Complex(px, py)), c.offset);
        const double error = std::hypot(back.re - x, back.im - y) / c.width;
        worst = std::fmax(worst, error);
        EXPECT_LE(error, c.tolerance) << c.name << " at (" << x << ", " << y << ") back at (" << back.re << ", "
                                      << back.im << ")";
        ++compared;
      }
    }
    EXPECT_EQ(refused, 0) << c.name;
    EXPECT_GT(compared, 900) << c.name;
    std::printf("[ classic  ] %-28s %4d points, worst %.2e of the map width\n", c.name, compared, worst);
  }
}

}  // namespace
