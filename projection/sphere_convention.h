// The sphere convention of the whole system. A direction is a unit vector
// with y up, the picture centre at +z and positive longitude toward +x.
// Equirectangular unit coordinates (u across, v down, both in [0, 1]) stand
// for longitude (u - 0.5)·2·pi and latitude (0.5 - v)·pi, so (0.5, 0.5) is
// (0, 0, 1) and v = 0 is the north pole (0, 1, 0).
//
// The float pair runs for every corner of every output pixel; the double
// pair serves the set-up geometry.
//
// The float functions are defined here, inline, so that the routes and
// input layouts that call them per point do not pay a call for each.
#pragma once

#include <cmath>

#include "projection/float_atan.h"
#include "projection/scalar_math.h"

namespace sphere_convention_detail {
constexpr float kInvPiF = 0.31830987f;
constexpr float kInvTwoPiF = 0.15915494f;
}  // namespace sphere_convention_detail

// RectangularToSpherical in two steps, for layouts whose rows keep one
// latitude: the height y and radius r of the circle at v, then the point at
// u on it. Together they give RectangularToSpherical's bits.
inline void LatitudeCircle(float v, float* y, float* r) {
  const float h = std::sin((v - 0.5f) * -kPiF);
  *y = h;
  *r = std::sqrt(1.0f - h * h);
}

inline void OnLatitudeCircle(float u, float y, float r, float p[3]) {
  const float lon = (u - 0.5f) * kTwoPiF;
  p[0] = std::sin(lon) * r;
  p[1] = y;
  p[2] = r * std::cos(lon);
}

inline void RectangularToSpherical(float u, float v, float p[3]) {
  float y, r;
  LatitudeCircle(v, &y, &r);
  OnLatitudeCircle(u, y, r, p);
}

void RectangularToSphericalD(double u, double v, double p[3]);

// y is clamped to [-1, 1] on a local copy; the arccosine is the fast
// polynomial one, so (0, 0, 1) gives v = 0.49998, not 0.5. A v that is
// not a number becomes 0.
inline void SphericalToRectangular(const float p[3], float* u, float* v) {
  using namespace sphere_convention_detail;
  float y = p[1];
  if (y > 1.0f) y = 1.0f;
  if (y < -1.0f) y = -1.0f;
  float vv = fast_acos(y) * kInvPiF;
  if (std::isnan(vv)) vv = 0.0f;
  *v = vv;
  *u = (Atan2F(p[0], p[2]) + kPiF) * kInvTwoPiF;
}

// Exact arccosine. A y outside [-1, 1] is clamped and the clamped value is
// written back into p. Returns nonzero when u or v is not a number.
int SphericalToRectangularD(double p[3], double* u, double* v);
