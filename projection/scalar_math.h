// Scalar helpers shared by the projections: a polynomial arccosine for the
// per-pixel path, angle and polar conversions, exact and approximate square
// roots, the in-place vector normalisers and the bias and gain curves.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

constexpr float kPiF = 3.1415927f;
constexpr float kTwoPiF = 6.2831855f;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// Abramowitz and Stegun 4.4.45 without the square-root factor.
inline float AcosPolynomial(float x) {
  return ((-0.0187293f * x + 0.074261f) * x - 0.2121144f) * x + 1.5707288f;
}

// Arccosine by a cubic times a square root (error at most 5e-5), in [0, pi].
// Not exact at 0: fast_acos(0) is 1.5707288. Inline: every corner of every
// output pixel of an equirectangular input asks once.
inline float fast_acos(float x) {
  // A NaN falls to the second branch like a negative value.
  if (x >= 0.0f) return AcosPolynomial(x) * std::sqrt(1.0f - x);
  const float m = -x;
  return kPiF - AcosPolynomial(m) * std::sqrt(1.0f - m);
}

// atan2(a, b) + pi in [0, 2·pi], except that (0, 0) gives pi/2.
float XYtoRadians(float a, float b);
void PolarToRectangular(float* x, float* y, float angle, float radius);
// Inverse of PolarToRectangular: angle in [0, 2·pi); the negative x axis
// gives 3.1415925, a float just below pi.
void RectangularToPolar(float x, float y, float* angle, float* radius);

double SqrtQuakeyDouble(double x);
float SqrtQuakeyFloat(float x);
// 1 / sqrt(x) in double precision, rounded to float.
float InvSqrtQuakey(float x);
double InvSqrtQuakeyDouble(double x);
// A bit-level estimate refined by two Newton steps; 0 gives 0.
inline float SqrtFastSloppyFloat(float x) {
  // Inline: the footprint sampler asks three times a pixel.
  if (x == 0.0f) return 0.0f;
  float r = std::bit_cast<float>(0x5F375A86u - (std::bit_cast<uint32_t>(x) >> 1));
  r = (1.5f - 0.5f * x * r * r) * r;
  r = (1.5f - 0.5f * x * r * r) * r;
  return r * x;
}

// t^(-log2 b); 0 when t is 0.
float bias(float t, float b);
// Two bias halves meeting at (0.5, 0.5); 0 below t = 0.001, 1 above 0.999.
float gain(float t, float g);

// In-place normalisers. normalize2 and normalize3 must not see a zero vector;
// the others turn one into (0, 0, 1).
void normalize2(float v[2]);
void normalize3(float v[3]);
void NormalizeVectorSlowly(float v[3]);
void NormalizeVector(float v[3]);
void NormalizeVectorSlowlyD(double v[3]);
void NormalizeVectorD(double v[3]);
