// Float arctangents for the per-point path, inline. Every corner of every
// output pixel of an equirectangular input takes an atan2, and every
// footprint an atan: through the C library each is three calls deep
// (the error-reporting wrapper, the kernel, the one-argument atan).
//
// The argument reduction and the coefficients are the classic freely
// distributed ones that the C library of this system's target platform
// uses for its float atan and atan2, operation for operation, so the
// results are the same bits: a test compares every float with the
// library's atan and a wide spread of pairs with its atan2.
//
// Derived from:
// ====================================================
// Copyright (C) 1993 by Sun Microsystems, Inc. All rights reserved.
//
// Developed at SunPro, a Sun Microsystems, Inc. business.
// Permission to use, copy, modify, and distribute this
// software is freely granted, provided that this notice
// is preserved.
// ====================================================
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace float_atan_detail {

// atan(0.5), atan(1), atan(1.5), atan(inf), each split into a float and
// what the float leaves over.
constexpr float kAtanHi[4] = {4.6364760399e-01f, 7.8539812565e-01f, 9.8279368877e-01f, 1.5707962513e+00f};
constexpr float kAtanLo[4] = {5.0121582440e-09f, 3.7748947079e-08f, 3.4473217170e-08f, 7.5497894159e-08f};
constexpr float kAtanT[11] = {3.3333334327e-01f,  -2.0000000298e-01f, 1.4285714924e-01f, -1.1111110449e-01f,
                              9.0908870101e-02f,  -7.6918758452e-02f, 6.6610731184e-02f, -5.8335702866e-02f,
                              4.9768779427e-02f,  -3.6531571299e-02f, 1.6285819933e-02f};
constexpr float kAtanTiny = 1.0e-30f;
constexpr float kAtanPiOver4 = 7.8539818525e-01f;
constexpr float kAtanPiOver2 = 1.5707963705e+00f;
constexpr float kAtanPi = 3.1415927410e+00f;
constexpr float kAtanPiLo = -8.7422776573e-08f;

inline uint32_t Bits(float x) { return std::bit_cast<uint32_t>(x); }

}  // namespace float_atan_detail

// atan(x) in (-pi/2, pi/2); NaN stays NaN.
inline float AtanF(float x) {
  using namespace float_atan_detail;
  const uint32_t hx = Bits(x);
  const uint32_t ix = hx & 0x7fffffffu;
  const bool negative = (hx >> 31) != 0;
  if (ix >= 0x4c000000u) {  // |x| >= 2^25, or not a number
    if (ix > 0x7f800000u) return x + x;
    const float edge = kAtanHi[3] + kAtanLo[3];
    return negative ? -edge : edge;
  }
  int id = -1;
  if (ix < 0x3ee00000u) {  // |x| < 0.4375
    if (ix < 0x31000000u) return x;  // |x| < 2^-29: atan(x) rounds to x
  } else {
    x = std::fabs(x);
    if (ix < 0x3f980000u) {    // |x| < 1.1875
      if (ix < 0x3f300000u) {  // 7/16 <= |x| < 11/16
        id = 0;
        x = (2.0f * x - 1.0f) / (2.0f + x);
      } else {  // 11/16 <= |x| < 19/16
        id = 1;
        x = (x - 1.0f) / (x + 1.0f);
      }
    } else if (ix < 0x401c0000u) {  // |x| < 2.4375
      id = 2;
      x = (x - 1.5f) / (1.0f + 1.5f * x);
    } else {  // 2.4375 <= |x| < 2^25
      id = 3;
      x = -1.0f / x;
    }
  }
  const float z = x * x;
  const float w = z * z;
  // The series split into its odd and even terms.
  const float s1 =
      z * (kAtanT[0] + w * (kAtanT[2] + w * (kAtanT[4] + w * (kAtanT[6] + w * (kAtanT[8] + w * kAtanT[10])))));
  const float s2 = w * (kAtanT[1] + w * (kAtanT[3] + w * (kAtanT[5] + w * (kAtanT[7] + w * kAtanT[9]))));
  if (id < 0) return x - x * (s1 + s2);
  const float r = kAtanHi[id] - ((x * (s1 + s2) - kAtanLo[id]) - x);
  return negative ? -r : r;
}

// atan2(y, x) in [-pi, pi], with the C library's answers for zeros,
// infinities and NaN.
inline float Atan2F(float y, float x) {
  using namespace float_atan_detail;
  const int32_t hx = int32_t(Bits(x)), hy = int32_t(Bits(y));
  const int32_t ix = hx & 0x7fffffff, iy = hy & 0x7fffffff;
  if (ix > 0x7f800000 || iy > 0x7f800000) return x + y;
  if (hx == 0x3f800000) return AtanF(y);  // x == 1
  const int m = ((hy >> 31) & 1) | ((hx >> 30) & 2);  // 2·sign(x) + sign(y)
  if (iy == 0) {
    if (m < 2) return y;
    return m == 2 ? kAtanPi + kAtanTiny : -kAtanPi - kAtanTiny;
  }
  if (ix == 0) return hy < 0 ? -kAtanPiOver2 - kAtanTiny : kAtanPiOver2 + kAtanTiny;
  if (ix == 0x7f800000) {
    if (iy == 0x7f800000) {
      switch (m) {
        case 0: return kAtanPiOver4 + kAtanTiny;
        case 1: return -kAtanPiOver4 - kAtanTiny;
        case 2: return 3.0f * kAtanPiOver4 + kAtanTiny;
        default: return -3.0f * kAtanPiOver4 - kAtanTiny;
      }
    }
    switch (m) {
      case 0: return 0.0f;
      case 1: return -0.0f;
      case 2: return kAtanPi + kAtanTiny;
      default: return -kAtanPi - kAtanTiny;
    }
  }
  if (iy == 0x7f800000) return hy < 0 ? -kAtanPiOver2 - kAtanTiny : kAtanPiOver2 + kAtanTiny;
  const int32_t k = (iy - ix) >> 23;  // the exponent of |y / x|, about
  float z;
  if (k > 60) {
    z = kAtanPiOver2 + 0.5f * kAtanPiLo;
  } else if (hx < 0 && k < -60) {
    z = 0.0f;
  } else {
    z = AtanF(std::fabs(y / x));
  }
  switch (m) {
    case 0: return z;
    case 1: return -z;
    case 2: return kAtanPi - (z - kAtanPiLo);
    default: return (z - kAtanPiLo) - kAtanPi;
  }
}
