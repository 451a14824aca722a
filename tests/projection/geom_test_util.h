// Comparisons of small vectors for the geometry suites, and an independent
// rotation to check the matrix code against.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "projection/complex_math.h"

template <typename A, typename B>
::testing::AssertionResult Near3(const A* got, const B* want, double tol) {
  bool ok = true;
  double worst = 0.0;
  for (int i = 0; i < 3; ++i) {
    const double d = std::fabs(static_cast<double>(got[i]) - static_cast<double>(want[i]));
    if (!(d <= tol)) ok = false;
    if (!(d <= worst)) worst = d;
  }
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got (" << got[0] << ", " << got[1] << ", " << got[2] << ") want ("
                                       << want[0] << ", " << want[1] << ", " << want[2] << "), off by " << worst;
}

inline ::testing::AssertionResult NearC(fcomplex got, fcomplex want, double tol) {
  if (std::fabs(got.re - want.re) <= tol && std::fabs(got.im - want.im) <= tol) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "got (" << got.re << ", " << got.im << ") want (" << want.re << ", "
                                       << want.im << ")";
}

inline ::testing::AssertionResult NearT(triplex got, triplex want, double tol) {
  const double g[3] = {got.x, got.y, got.z};
  const double w[3] = {want.x, want.y, want.z};
  return Near3(g, w, tol);
}

// p turned by `angle` about the unit `axis`, right-handed (counter-clockwise
// seen from the axis tip), by Rodrigues' formula.
inline void RodriguesTurn(const double p[3], const double axis[3], double angle, double out[3]) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double kp = axis[0] * p[0] + axis[1] * p[1] + axis[2] * p[2];
  const double kxp[3] = {axis[1] * p[2] - axis[2] * p[1], axis[2] * p[0] - axis[0] * p[2],
                         axis[0] * p[1] - axis[1] * p[0]};
  for (int i = 0; i < 3; ++i) out[i] = p[i] * c + kxp[i] * s + axis[i] * kp * (1.0 - c);
}
