// The inverse Winkel Tripel table against PROJ's forward wintri: a plane
// point of the map, read through the table as the Winkel route reads it
// (quadrant by the signs, unit coordinates of the box), must come back to
// itself through PROJ.
#include <gtest/gtest.h>

#include <cmath>

#include "projection/lookup/lookup_fetch.h"
#include "support/proj_oracle.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180.0;
constexpr double kBoxX = kPi / 2.0 + 1.0;  // the map's box is 2 kBoxX by pi
constexpr double kBoxY = kPi / 2.0;

// (lambda, phi) of a plane point through the table.
void TableInverse(double x, double y, double* lambda, double* phi) {
  const fcomplex w = FetchFromCache_Winkel({std::fabs(x) / kBoxX, std::fabs(y) / kBoxY});
  *lambda = std::copysign(w.re, x);
  *phi = std::copysign(w.im, y);
}

TEST(LookupWinkel, PlanePointsComeBackThroughProj) {
  const ProjOracle wintri("+proj=wintri +R=1");
  ASSERT_TRUE(wintri.valid());
  const double tolerance = 1e-3 * 2.0 * kBoxX;  // a thousandth of the map's width
  double worst = 0.0;
  for (int lat = -89; lat <= 89; lat += 4) {
    for (int lon = -179; lon <= 179; lon += 4) {
      double x, y;
      ASSERT_TRUE(wintri.Forward(lon * kDegree, lat * kDegree, &x, &y)) << lon << ", " << lat;
      double lambda, phi;
      TableInverse(x, y, &lambda, &phi);
      EXPECT_LE(std::fabs(lambda), kPi + 1e-3) << lon << ", " << lat;
      double bx, by;
      ASSERT_TRUE(wintri.Forward(lambda, phi, &bx, &by)) << lon << ", " << lat;
      const double off = std::hypot(bx - x, by - y);
      worst = std::max(worst, off);
      EXPECT_LT(off, tolerance) << "at " << lon << ", " << lat;
    }
  }
  std::printf("Winkel Tripel round trip: worst %.2e of the map's width\n", worst / (2.0 * kBoxX));
}

TEST(LookupWinkel, LongitudeCrossesPiAtTheOutline) {
  // Beyond the outline the table carries the forward formulas on, so the
  // interpolated longitude passes pi where the outline is and the route's
  // test lambda > pi finds the edge; two grid steps in or out is decided.
  const ProjOracle wintri("+proj=wintri +R=1");
  ASSERT_TRUE(wintri.valid());
  const double step = 2.0 * kBoxX / 49.0;
  for (int lat = 0; lat <= 85; lat += 5) {
    double x, y;
    ASSERT_TRUE(wintri.Forward(kPi, lat * kDegree, &x, &y));
    double lambda, phi;
    TableInverse(x - step, y, &lambda, &phi);
    EXPECT_LT(lambda, kPi) << "inside at latitude " << lat;
    if (x + step <= kBoxX) {
      TableInverse(x + step, y, &lambda, &phi);
      EXPECT_GT(lambda, kPi) << "outside at latitude " << lat;
    }
  }
  double lambda, phi;
  TableInverse(kBoxX, kBoxY, &lambda, &phi);
  EXPECT_GT(lambda, kPi);
  TableInverse(kBoxX, 0.0, &lambda, &phi);
  EXPECT_NEAR(lambda, kPi, 1e-6);
}

}  // namespace
