#include "lut_winkel.h"

#include <cmath>

namespace lut {
namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kTwoOverPi = 0.6366197723675814;

double Sinc(double a) { return std::fabs(a) < 1e-8 ? 1.0 - a * a / 6.0 : std::sin(a) / a; }

}  // namespace

void WinkelForward(double lambda, double phi, double* x, double* y) {
  const double c = std::cos(phi) * std::cos(0.5 * lambda);
  const double alpha = std::acos(std::fmax(-1.0, std::fmin(1.0, c)));
  const double s = Sinc(alpha);
  *x = 0.5 * (lambda * kTwoOverPi + 2.0 * std::cos(phi) * std::sin(0.5 * lambda) / s);
  *y = 0.5 * (phi + std::sin(phi) / s);
}

bool WinkelInverse(double x, double y, double* lambda, double* phi) {
  if (std::fabs(y - kHalfPi) < 1e-15) {
    *lambda = 3.141592653589793 * x;
    *phi = kHalfPi;
    return true;
  }
  double l = *lambda, p = *phi;
  for (int iteration = 0; iteration < 200; ++iteration) {
    double fx, fy;
    WinkelForward(l, p, &fx, &fy);
    const double ex = fx - x, ey = fy - y;
    const double residual = std::hypot(ex, ey);
    if (residual < 1e-14) {
      *lambda = l;
      *phi = p;
      return true;
    }
    // Central differences: the analytic Jacobian has removable 0/0 points
    // on the equator and the central meridian.
    const double h = 1e-7;
    double x1, y1, x2, y2, x3, y3, x4, y4;
    WinkelForward(l + h, p, &x1, &y1);
    WinkelForward(l - h, p, &x2, &y2);
    WinkelForward(l, p + h, &x3, &y3);
    WinkelForward(l, p - h, &x4, &y4);
    const double a = (x1 - x2) / (2 * h), b = (x3 - x4) / (2 * h);
    const double c = (y1 - y2) / (2 * h), d = (y3 - y4) / (2 * h);
    const double det = a * d - b * c;
    if (!(std::fabs(det) > 1e-300)) return false;
    const double dl = (d * ex - b * ey) / det, dp = (a * ey - c * ex) / det;
    // Damped: never past the pole, and only steps that reduce the residual.
    double t = 1.0;
    bool moved = false;
    for (int tries = 0; tries < 50; ++tries, t *= 0.5) {
      const double nl = l - t * dl, np = std::fmin(kHalfPi, p - t * dp);
      double gx, gy;
      WinkelForward(nl, np, &gx, &gy);
      if (std::hypot(gx - x, gy - y) < residual) {
        l = nl;
        p = np;
        moved = true;
        break;
      }
    }
    if (!moved) break;
  }
  double fx, fy;
  WinkelForward(l, p, &fx, &fy);
  *lambda = l;
  *phi = p;
  return std::hypot(fx - x, fy - y) < 1e-11;
}

}  // namespace lut
