#include "projection/scalar_math.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geom_test_util.h"

namespace {

TEST(ScalarMath, FastAcosEdgesAndAccuracy) {
  EXPECT_EQ(fast_acos(0.0f), 1.5707288f);  // the cubic's value, not pi/2
  EXPECT_EQ(fast_acos(1.0f), 0.0f);
  EXPECT_EQ(fast_acos(-1.0f), kPiF);
  double worst = 0.0;
  for (int i = -20000; i <= 20000; ++i) {
    const float x = i / 20000.0f;
    worst = std::fmax(worst, std::fabs(fast_acos(x) - std::acos(static_cast<double>(x))));
  }
  EXPECT_LT(worst, 7e-5);
}

struct AngleCase {
  float a, b;
  float want;
};

TEST(ScalarMath, XYtoRadians) {
  const AngleCase cases[] = {
      {0, 0, 1.5707964f}, {1, 0, 4.712389f}, {-1, 0, 1.5707964f}, {0, 1, kPiF}, {0, -1, 2 * kPiF},
  };
  for (const AngleCase& c : cases) EXPECT_EQ(XYtoRadians(c.a, c.b), c.want) << c.a << ", " << c.b;
  for (int i = 0; i < 64; ++i) {
    const double t = i * kTwoPi / 64 + 0.01;
    const float a = static_cast<float>(std::sin(t)), b = static_cast<float>(std::cos(t));
    EXPECT_NEAR(XYtoRadians(a, b), std::atan2(a, b) + kPi, 1e-6) << t;
  }
}

TEST(ScalarMath, RectangularToPolar) {
  const AngleCase cases[] = {
      {1, 0, 0.0f},  // x, y, angle
      {-1, 0, 3.1415925f},
      {0, 0, 3.1415925f},
      {0, -1, 4.712389f},
      {0, 1, 1.5707964f},
  };
  for (const AngleCase& c : cases) {
    float angle = -1, radius = -1;
    RectangularToPolar(c.a, c.b, &angle, &radius);
    EXPECT_NEAR(angle, c.want, 1e-6) << c.a << ", " << c.b;
    EXPECT_EQ(radius, std::hypot(c.a, c.b));
  }
  float angle, radius;
  RectangularToPolar(1, 0, &angle, &radius);
  EXPECT_FALSE(std::signbit(angle));
  // Round trip through the plane, every angle landing in [0, 2·pi).
  for (int i = 0; i < 100; ++i) {
    const float x0 = std::cos(i * 0.37f) * (1 + i % 3), y0 = std::sin(i * 0.37f) * (1 + i % 3);
    RectangularToPolar(x0, y0, &angle, &radius);
    EXPECT_GE(angle, 0.0f);
    EXPECT_LT(angle, kTwoPiF);
    float x, y;
    PolarToRectangular(&x, &y, angle, radius);
    EXPECT_NEAR(x, x0, 2e-6) << i;
    EXPECT_NEAR(y, y0, 2e-6) << i;
  }
}

TEST(ScalarMath, SquareRoots) {
  EXPECT_EQ(SqrtQuakeyDouble(2.0), std::sqrt(2.0));
  EXPECT_EQ(SqrtQuakeyFloat(2.0f), std::sqrt(2.0f));
  EXPECT_EQ(InvSqrtQuakey(4.0f), 0.5f);
  EXPECT_EQ(InvSqrtQuakey(3.0f), static_cast<float>(1.0 / std::sqrt(3.0)));
  EXPECT_EQ(InvSqrtQuakeyDouble(0.25), 2.0);
  EXPECT_TRUE(std::isnan(SqrtQuakeyDouble(-1.0)));
  EXPECT_EQ(SqrtFastSloppyFloat(0.0f), 0.0f);
  double worst = 0.0;
  for (double x = 1e-30; x < 1e30; x *= 1.01) {
    const float f = static_cast<float>(x);
    worst = std::fmax(worst, std::fabs(SqrtFastSloppyFloat(f) / std::sqrt(static_cast<double>(f)) - 1.0));
  }
  EXPECT_LT(worst, 1e-5);
}

TEST(ScalarMath, BiasAndGain) {
  for (float g : {0.2f, 0.5f, 0.8f}) {
    EXPECT_EQ(gain(0.0005f, g), 0.0f) << g;
    EXPECT_EQ(gain(0.9995f, g), 1.0f) << g;
    EXPECT_EQ(gain(0.5f, g), 0.5f) << g;
    for (float t = 0.05f; t < 0.5f; t += 0.05f) EXPECT_NEAR(gain(t, g) + gain(1.0f - t, g), 1.0f, 1e-6f) << t;
    EXPECT_EQ(bias(0.0f, g), 0.0f);
  }
  EXPECT_NEAR(gain(0.25f, 0.75f), 0.125f, 1e-7f);  // exponent -log2(0.25) = 2
  for (float t = 0.1f; t <= 1.0f; t += 0.1f) EXPECT_NEAR(bias(t, 0.5f), t, 1e-6f) << t;
  EXPECT_NEAR(bias(0.5f, 0.25f), 0.25f, 1e-6f);
  EXPECT_NEAR(bias(0.5f, 0.4f), 0.4f, 1e-6f);  // bias(1/2, b) = b
}

TEST(ScalarMath, NormalisersAndTheirZeroRule) {
  const float unitZ[3] = {0, 0, 1};
  using FloatNormaliser = void (*)(float*);
  for (FloatNormaliser f : {NormalizeVectorSlowly, NormalizeVector}) {
    float zero[3] = {0, 0, 0};
    f(zero);
    EXPECT_TRUE(Near3(zero, unitZ, 0));
    float v[3] = {3, 0, -4};
    f(v);
    const float want[3] = {0.6f, 0, -0.8f};
    EXPECT_TRUE(Near3(v, want, 1e-7));
  }
  using DoubleNormaliser = void (*)(double*);
  for (DoubleNormaliser f : {NormalizeVectorSlowlyD, NormalizeVectorD}) {
    double zero[3] = {0, 0, 0};
    f(zero);
    EXPECT_TRUE(Near3(zero, unitZ, 0));
    double v[3] = {2, -1, 2};
    f(v);
    const double want[3] = {2.0 / 3, -1.0 / 3, 2.0 / 3};
    EXPECT_TRUE(Near3(v, want, 1e-16));
  }
  float tiny[3] = {1e-30f, 0, 0};
  NormalizeVector(tiny);
  EXPECT_FLOAT_EQ(tiny[0], 1.0f);
  float v3[3] = {1, 2, 2};
  normalize3(v3);
  const float want3[3] = {1.0f / 3, 2.0f / 3, 2.0f / 3};
  EXPECT_TRUE(Near3(v3, want3, 1e-7));
  float v2[2] = {-3, 4};
  normalize2(v2);
  EXPECT_FLOAT_EQ(v2[0], -0.6f);
  EXPECT_FLOAT_EQ(v2[1], 0.8f);
}

}  // namespace
