#include "projection/scalar_math.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "projection/float_atan.h"

namespace {

constexpr float kHalfPiF = 1.5707964f;
constexpr float kThreeHalfPiF = 4.712389f;
// The float just below pi: the negative x axis of RectangularToPolar.
constexpr float kPiBelowF = 3.1415925f;
constexpr double kInvLn2AsFloat = -1.4426950216293335;  // -1/ln 2 rounded to float

// atan(a / b) moved into the quadrant of (a, b); b must not be 0.
float QuadrantAtan(float a, float b) {
  float t = AtanF(a / b);
  if (b < 0.0f) {
    t = a >= 0.0f ? t + kPiF : t - kPiF;
  }
  return t;
}

template <typename T>
void ScaleInPlace(T* v, int n, T k) {
  for (int i = 0; i < n; ++i) v[i] *= k;
}

}  // namespace

float XYtoRadians(float a, float b) {
  if (b == 0.0f) return a <= 0.0f ? kHalfPiF : kThreeHalfPiF;
  return QuadrantAtan(a, b) + kPiF;
}

void PolarToRectangular(float* x, float* y, float angle, float radius) {
  *x = std::cos(angle) * radius;
  *y = radius * std::sin(angle);
}

void RectangularToPolar(float x, float y, float* angle, float* radius) {
  float t;
  if (y != 0.0f) {  // a NaN y takes this branch too
    t = QuadrantAtan(x, y);
    t = t + kPiF - kThreeHalfPiF;
  } else {
    t = x > 0.0f ? 0.0f : -kPiBelowF;
  }
  float a = 0.0f - t;  // +0, not -0, on the positive x axis
  if (a < 0.0f) a += kTwoPiF;
  *angle = a;
  *radius = std::sqrt(x * x + y * y);
}

double SqrtQuakeyDouble(double x) { return std::sqrt(x); }

float SqrtQuakeyFloat(float x) { return std::sqrt(x); }

float InvSqrtQuakey(float x) { return static_cast<float>(1.0 / std::sqrt(static_cast<double>(x))); }

double InvSqrtQuakeyDouble(double x) { return 1.0 / std::sqrt(x); }

float bias(float t, float b) {
  if (t == 0.0f) return 0.0f;
  return static_cast<float>(std::pow(static_cast<double>(t), std::log(static_cast<double>(b)) * kInvLn2AsFloat));
}

float gain(float t, float g) {
  if (t < 0.001f) return 0.0f;
  if (t > 0.999f) return 1.0f;
  const float e = static_cast<float>(-std::log2(1.0 - static_cast<double>(g)));
  if (t < 0.5f) return 0.5f * std::pow(2.0f * t, e);
  return 1.0f - 0.5f * std::pow(2.0f - 2.0f * t, e);
}

void normalize2(float v[2]) { ScaleInPlace(v, 2, InvSqrtQuakey(v[0] * v[0] + v[1] * v[1])); }

void normalize3(float v[3]) { ScaleInPlace(v, 3, InvSqrtQuakey(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])); }

void NormalizeVectorSlowly(float v[3]) {
  const float sq = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
  if (sq == 0.0f) {
    v[0] = 0.0f, v[1] = 0.0f, v[2] = 1.0f;
    return;
  }
  ScaleInPlace(v, 3, InvSqrtQuakey(sq));
}

void NormalizeVector(float v[3]) {
  // The squared length in double keeps tiny vectors from underflowing to the
  // zero rule.
  const double x = v[0], y = v[1], z = v[2];
  const double sq = x * x + y * y + z * z;
  if (sq == 0.0) {
    v[0] = 0.0f, v[1] = 0.0f, v[2] = 1.0f;
    return;
  }
  ScaleInPlace(v, 3, static_cast<float>(1.0 / std::sqrt(sq)));
}

void NormalizeVectorSlowlyD(double v[3]) {
  const double sq = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
  if (sq == 0.0) {
    v[0] = 0.0, v[1] = 0.0, v[2] = 1.0;
    return;
  }
  ScaleInPlace(v, 3, InvSqrtQuakeyDouble(sq));
}

void NormalizeVectorD(double v[3]) {
  const double sq = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
  if (sq == 0.0) {
    v[0] = 0.0, v[1] = 0.0, v[2] = 1.0;
    return;
  }
  ScaleInPlace(v, 3, 1.0 / std::sqrt(sq));
}
