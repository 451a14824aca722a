#include "projection/inverse/classic_cached.h"

#include <cmath>

#include "projection/complex_math.h"
#include "projection/lookup/lookup_fetch.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"

namespace {

// The Winkel Tripel's half width (pi/2 + 1) and half height (pi/2) on the
// unit sphere, which the table's unit grid spans.
constexpr double kWinkelHalfWidth = 2.570796326312263;
constexpr double kWinkelHalfHeight = 1.5707963267948966;
constexpr double kWinkelLongitudeLimit = 3.141592653;
constexpr double kInvTwoPi = 0.15915494309189535;
constexpr double kInvPi = 0.3183098861837907;

bool InUnitBox(double x, double y) { return x >= -1.0 && x <= 1.0 && y >= -1.0 && y <= 1.0; }

// The table holds one quadrant; the others are its mirror images.
double SignOf(double v) { return v < 0.0 ? -1.0 : 1.0; }

}  // namespace

void TotalEqualsquarea(double x, double y, uint8_t* outside, float point[3]) {
  *outside = 0;
  if (!InUnitBox(x, y)) {
    *outside = 1;
    point[0] = 0.0f;
    point[1] = 0.0f;
    point[2] = 1.0f;
    return;
  }
  const triplex t = FetchFromCache_Equalsquarea(Complex(std::fabs(x), std::fabs(y)));
  float v[3] = {static_cast<float>(t.x), static_cast<float>(t.y), static_cast<float>(t.z)};
  // The interpolated cell point lies a little inside the sphere.
  NormalizeVectorSlowly(v);
  point[0] = static_cast<float>(SignOf(x) * v[0]);
  point[1] = static_cast<float>(SignOf(y) * v[1]);
  point[2] = v[2];
}

void TotalWinkel(double x, double y, float point[3], uint8_t* outside) {
  *outside = 0;
  const double u = x / kWinkelHalfWidth;
  const double v = y / kWinkelHalfHeight;
  if (!InUnitBox(u, v)) {
    *outside = 1;
    return;
  }
  const fcomplex w = FetchFromCache_Winkel(Complex(std::fabs(u), std::fabs(v)));
  const float lambda = static_cast<float>(-SignOf(u) * w.re);
  const float phi = static_cast<float>(SignOf(v) * w.im);
  // The table runs on past the map's outline, where the longitude it gives
  // exceeds a half turn.
  if (std::isnan(lambda) || lambda < -kWinkelLongitudeLimit || lambda > kWinkelLongitudeLimit) {
    *outside = 1;
    return;
  }
  RectangularToSpherical(static_cast<float>(lambda * kInvTwoPi + 0.5), static_cast<float>(phi * kInvPi + 0.5), point);
}
