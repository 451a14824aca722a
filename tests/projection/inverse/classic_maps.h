// The classic maps in one shape for the suites: a plane point in; true and
// the direction (as doubles) when the point is on the map. The bendy and
// chevron maps carry the parameters their output modes give them.
#pragma once

#include <cstdint>

#include "projection/inverse/classic_projections.h"
#include "projection/inverse/stereographic.h"

namespace classic_test {

using PlaneMap = bool (*)(double x, double y, double p[3]);

inline bool FromFloat(const float f[3], uint8_t outside, double p[3]) {
  for (int i = 0; i < 3; ++i) p[i] = f[i];
  return outside == 0;
}

inline bool Peirce(double x, double y, double p[3]) {
  float f[3] = {};
  uint8_t out = 9;
  TotalPeirce(x, y, &out, f, 1.0, 0.0);
  return FromFloat(f, out, p);
}

inline bool Chevron(double x, double y, double p[3]) {  // mode 128
  float f[3] = {};
  uint8_t out = 9;
  ChevronPeirce(x, y, &out, f, 0.0, -0.35355339059327373);
  return FromFloat(f, out, p);
}

struct BendyParameters {
  double n;
  int32_t variant;
  double turn, scale, dx, dy;
};

constexpr BendyParameters kBendy92 = {0.5, 2, 1.5707963267948966, 0.5, 0.0, 0.0};
constexpr BendyParameters kBendy93 = {0.75, 3, 0.5235987755, 0.727802037845706, 0.0, -0.21398305084745764};
constexpr BendyParameters kBendy95 = {1.25, 5, -0.3141592653, 0.7955812101910829, 0.0, -0.101};
constexpr BendyParameters kBendy96 = {1.5, 6, 0.5235987755, 0.7911392405063291, 0.0, 0.0};

inline bool Bendy(const BendyParameters& b, double x, double y, double p[3]) {
  float f[3] = {};
  uint8_t out = 9;
  BendyPeirce(x, y, &out, f, b.n, b.variant, b.turn, b.scale, b.dx, b.dy);
  return FromFloat(f, out, p);
}
inline bool Bendy92(double x, double y, double p[3]) { return Bendy(kBendy92, x, y, p); }
inline bool Bendy93(double x, double y, double p[3]) { return Bendy(kBendy93, x, y, p); }
inline bool Bendy95(double x, double y, double p[3]) { return Bendy(kBendy95, x, y, p); }
inline bool Bendy96(double x, double y, double p[3]) { return Bendy(kBendy96, x, y, p); }

inline bool Guyou(double x, double y, double p[3]) {
  float f[3] = {};
  uint8_t out = 9;
  TotalGuyou(x, y, &out, f, nullptr);
  return FromFloat(f, out, p);
}

template <int32_t kVariant>
bool Adams(double x, double y, double p[3]) {
  uint8_t out = 9;
  TotalAdams(x, y, &out, p, kVariant, nullptr);
  return out == 0;
}

inline bool Widerect(double x, double y, double p[3]) {
  uint8_t out = 9;
  TotalWiderect(x, y, &out, p);
  return out == 0;
}

inline bool Ellipse(double x, double y, double p[3]) {
  uint8_t out = 9;
  TotalEllipse(x, y, &out, p);
  return out == 0;
}

inline bool Equalsquarea(double x, double y, double p[3]) {
  float f[3] = {};
  uint8_t out = 9;
  TotalEqualsquarea(x, y, &out, f);
  return FromFloat(f, out, p);
}

inline bool Winkel(double x, double y, double p[3]) {
  float f[3] = {};
  uint8_t out = 9;
  TotalWinkel(x, y, f, &out);
  return FromFloat(f, out, p);
}

// The Lagrange maps with the exponents of their output modes (2 and 4/3),
// as their routes call them.
template <int kNumerator, int kDenominator>
bool Lagrange(double x, double y, double p[3]) {
  float f[3] = {};
  uint8_t out = 0;  // only ever set here, never cleared
  LagrangeInverse(Complex(x, y), double(kNumerator) / kDenominator, &out, f, 1);
  return FromFloat(f, out, p);
}

}  // namespace classic_test
