// The inverse of the Winkel Tripel projection (standard parallel
// acos(2/pi)) on the unit sphere, by Newton steps on its forward formulas:
//   x = (lambda * 2/pi + 2 cos(phi) sin(lambda/2) / sinc(alpha)) / 2
//   y = (phi + sin(phi) / sinc(alpha)) / 2,   cos(alpha) = cos(phi) cos(lambda/2).
// Its box is |x| <= pi/2 + 1, |y| <= pi/2; the map's outline is not the box.
// The pole is the segment y = pi/2, |x| <= 1, where lambda = pi x.
#pragma once

namespace lut {

void WinkelForward(double lambda, double phi, double* x, double* y);

// lambda, phi for the plane point (x, y) with x, y >= 0, starting from the
// guess in *lambda, *phi. Beyond the outline the same formulas go on with
// lambda > pi, and the solution found there is that continuation. Returns
// false when Newton fails.
bool WinkelInverse(double x, double y, double* lambda, double* phi);

}  // namespace lut
