#include "projection/sphere_convention.h"

#include <cmath>

#include "projection/scalar_math.h"

namespace {

constexpr float kInvPiF = 0.31830987f;
constexpr float kInvTwoPiF = 0.15915494f;
constexpr double kInvPi = 0.3183098861837907;
constexpr double kInvTwoPi = 0.15915494309189535;
// Beyond |y| = 0.8 the south cap is measured from the south pole, as
// 1 - acos(-y)/pi, mirroring the north cap.
constexpr double kPolarBand = 0.8;

}  // namespace

void LatitudeCircle(float v, float* y, float* r) {
  const float h = std::sin((v - 0.5f) * -kPiF);
  *y = h;
  *r = std::sqrt(1.0f - h * h);
}

void OnLatitudeCircle(float u, float y, float r, float p[3]) {
  const float lon = (u - 0.5f) * kTwoPiF;
  p[0] = std::sin(lon) * r;
  p[1] = y;
  p[2] = r * std::cos(lon);
}

void RectangularToSpherical(float u, float v, float p[3]) {
  float y, r;
  LatitudeCircle(v, &y, &r);
  OnLatitudeCircle(u, y, r, p);
}

void RectangularToSphericalD(double u, double v, double p[3]) {
  const double y = std::sin((v - 0.5) * -kPi);
  const double r = std::sqrt(1.0 - y * y);
  const double lon = (u - 0.5) * kTwoPi;
  p[0] = std::sin(lon) * r;
  p[1] = y;
  p[2] = r * std::cos(lon);
}

void SphericalToRectangular(const float p[3], float* u, float* v) {
  float y = p[1];
  if (y > 1.0f) y = 1.0f;
  if (y < -1.0f) y = -1.0f;
  float vv = fast_acos(y) * kInvPiF;
  if (std::isnan(vv)) vv = 0.0f;
  *v = vv;
  *u = (std::atan2(p[0], p[2]) + kPiF) * kInvTwoPiF;
}

int SphericalToRectangularD(double p[3], double* u, double* v) {
  double vv;
  if (p[1] > kPolarBand) {
    if (p[1] > 1.0) p[1] = 1.0;
    // 0·x + y + 0·z: a non-finite x or z spoils v, as it spoils u.
    vv = std::acos(0.0 * p[0] + p[1] + 0.0 * p[2]) * kInvPi;
  } else if (p[1] < -kPolarBand) {
    if (p[1] < -1.0) p[1] = -1.0;
    vv = 1.0 - std::acos(-p[1]) * kInvPi;
  } else {
    vv = std::acos(p[1]) * kInvPi;
  }
  const double uu = (std::atan2(p[0], p[2]) + kPi) * kInvTwoPi;
  *u = uu;
  *v = vv;
  return (std::isnan(uu) || std::isnan(vv)) ? 1 : 0;
}
