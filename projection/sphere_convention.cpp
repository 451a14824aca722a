#include "projection/sphere_convention.h"

#include <cmath>

#include "projection/scalar_math.h"

namespace {

constexpr double kInvPi = 0.3183098861837907;
constexpr double kInvTwoPi = 0.15915494309189535;
// Beyond |y| = 0.8 the south cap is measured from the south pole, as
// 1 - acos(-y)/pi, mirroring the north cap.
constexpr double kPolarBand = 0.8;

}  // namespace

void RectangularToSphericalD(double u, double v, double p[3]) {
  const double y = std::sin((v - 0.5) * -kPi);
  const double r = std::sqrt(1.0 - y * y);
  const double lon = (u - 0.5) * kTwoPi;
  p[0] = std::sin(lon) * r;
  p[1] = y;
  p[2] = r * std::cos(lon);
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
