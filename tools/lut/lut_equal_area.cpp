#include "lut_equal_area.h"

#include <cmath>

namespace lut {

void EqualAreaSquareToSphere(double x, double y, double p[3]) {
  double back = 1.0;
  if (x + y > 1.0) {
    const double mx = 1.0 - y, my = 1.0 - x;
    x = mx;
    y = my;
    back = -1.0;
  }
  const double r = x + y;
  const double t = r > 0.0 ? y / r : 0.0;
  const double cosTheta = 1.0 - r * r;
  const double sinTheta = r * std::sqrt(2.0 - r * r);
  const double psi = t * 1.5707963267948966;
  p[0] = -sinTheta * std::cos(psi);
  p[1] = -sinTheta * std::sin(psi);
  p[2] = back * cosTheta;
}

}  // namespace lut
