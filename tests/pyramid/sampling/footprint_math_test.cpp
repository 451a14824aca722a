#include <gtest/gtest.h>

#include <cmath>

#include "pyramid/pyramid_footprint.h"

namespace {

// Footprint vectors of a w × h rectangle turned by `degrees`.
void Rotated(float w, float h, float degrees, float out[4]) {
  const float a = degrees * float(M_PI) / 180.0f;
  out[0] = w * std::cos(a);
  out[1] = w * std::sin(a);
  out[2] = -h * std::sin(a);
  out[3] = h * std::cos(a);
}

}  // namespace

TEST(FootprintMath, EqualSidesAreACircleAtAnyRotation) {
  for (const float degrees : {0.0f, 20.0f, 45.0f, 90.0f, 135.0f, 200.0f}) {
    float d[4];
    Rotated(6.0f, 6.0f, degrees, d);
    const FootprintEllipse e = FitFootprintEllipse(d[0], d[1], d[2], d[3], 0.0f);
    EXPECT_NEAR(e.ratio, 1.0f, 1e-3f) << degrees;
    EXPECT_NEAR(e.minor, 6.0f, 1e-3f) << degrees;
    EXPECT_NEAR(e.level, std::log2(6.0f), 1e-3f) << degrees;
    EXPECT_EQ(PlanFootprintSamples(e, 0.01f, 0.01f).count, 1) << degrees;
  }
}

TEST(FootprintMath, ZeroFootprintIsOnePixel) {
  struct Case {
    float sharpen, major, minor, level;
  };
  for (const Case c :
       {Case{0.0f, 1.0f, 1.0f, 0.0f}, Case{1.0f, 0.5f, 0.5f, -1.0f}, Case{0.4f, 0.8f, 0.8f, -0.321928f}}) {
    const FootprintEllipse e = FitFootprintEllipse(0, 0, 0, 0, c.sharpen);
    EXPECT_NEAR(e.major, c.major, 1e-5f) << c.sharpen;
    EXPECT_NEAR(e.minor, c.minor, 1e-5f) << c.sharpen;
    EXPECT_NEAR(e.level, c.level, 1e-5f) << c.sharpen;
  }
}

// A footprint `ratio` times as long as wide along u gives the reads the
// ratio asks for, spread over the long side.
TEST(FootprintMath, ReadCountAndSpacingFollowTheRatio) {
  struct Case {
    float ratio;
    int32_t count;
    float spread;
  };
  const Case cases[] = {
      {1.0f, 1, 1.0f}, {1.3f, 2, 0.2f}, {1.45f, 2, 0.8f},  {1.5f, 2, 1.0f},   {2.0f, 2, 1.0f},
      {2.6f, 3, 1.0f}, {7.0f, 7, 1.0f}, {19.6f, 20, 1.0f}, {30.0f, 20, 1.0f}, {1e6f, 20, 1.0f},
  };
  const float pixelU = 1.0f / 400.0f, pixelV = 1.0f / 200.0f;
  for (const Case& c : cases) {
    const FootprintEllipse e = FitFootprintEllipse(c.ratio, 0.0f, 0.0f, 1.0f, 0.0f);
    // The approximate square roots cost up to about 0.1% at ratio 30.
    if (c.ratio <= 30.0f) EXPECT_NEAR(e.ratio, c.ratio, c.ratio * 2e-3f);
    EXPECT_NEAR(e.level, 0.0f, 1e-5f);  // the short side is one pixel
    const FootprintSamples s = PlanFootprintSamples(e, pixelU, pixelV);
    EXPECT_EQ(s.count, c.count) << c.ratio;
    EXPECT_NEAR(s.spread, c.spread, 1e-4f) << c.ratio;
    // Regular spacing: the long side shared among the reads.
    EXPECT_NEAR(s.stepU, e.major / float(c.count) * s.spread * pixelU, 1e-6f * e.major) << c.ratio;
    EXPECT_NEAR(s.stepV, 0.0f, 1e-9f) << c.ratio;
  }
}

// The reads step along the long side of the footprint whichever way it
// points, 45° and its neighbours included.
TEST(FootprintMath, ReadsStepAlongTheLongSide) {
  for (float degrees = -180.0f; degrees <= 180.0f; degrees += 7.5f) {
    float d[4];
    Rotated(8.0f, 2.0f, degrees, d);
    const FootprintEllipse e = FitFootprintEllipse(d[0], d[1], d[2], d[3], 0.0f);
    EXPECT_NEAR(e.ratio, 4.0f, 1e-3f) << degrees;
    EXPECT_NEAR(e.level, 1.0f, 1e-4f) << degrees;
    const FootprintSamples s = PlanFootprintSamples(e, 1.0f, 1.0f);
    ASSERT_EQ(s.count, 4) << degrees;
    const float len = std::hypot(s.stepU, s.stepV);
    EXPECT_NEAR(len, 2.0f, 1e-3f) << degrees;
    // Parallel to the long vector (d[0], d[1]) up to sign.
    EXPECT_NEAR(std::fabs(s.stepU * d[1] - s.stepV * d[0]) / (len * 8.0f), 0.0f, 1e-4f) << degrees;
  }
}

TEST(FootprintMath, SharpeningShrinksTheFootprint) {
  const FootprintEllipse plain = FitFootprintEllipse(8.0f, 0.0f, 0.0f, 4.0f, 0.0f);
  const FootprintEllipse sharp = FitFootprintEllipse(8.0f, 0.0f, 0.0f, 4.0f, 1.0f);
  EXPECT_NEAR(plain.level, 2.0f, 1e-4f);
  EXPECT_NEAR(sharp.level, 1.0f, 1e-4f);
  EXPECT_NEAR(sharp.major, 4.0f, 1e-4f);
  EXPECT_NEAR(sharp.ratio, plain.ratio, 1e-4f);
}

TEST(FootprintMath, HugeAndDegenerateFootprintsStayFinite) {
  const float cases[][4] = {{1e6f, 1e6f, -1e6f, 1e6f}, {1e6f, 0, 1e6f, 0}, {3, 3, 3, 3}, {1e-30f, 0, 0, 1e-30f}};
  for (const auto& d : cases) {
    const FootprintEllipse e = FitFootprintEllipse(d[0], d[1], d[2], d[3], 0.0f);
    EXPECT_TRUE(std::isfinite(e.level) && std::isfinite(e.ratio)) << d[0];
    const FootprintSamples s = PlanFootprintSamples(e, 0.001f, 0.001f);
    EXPECT_TRUE(s.count >= 1 && s.count <= kFootprintMaxSamples);
    EXPECT_TRUE(std::isfinite(s.stepU) && std::isfinite(s.stepV)) << d[0];
  }
}

TEST(FootprintMath, FastLogarithm) {
  for (const float m : {1.0f, 2.0f, 4.0f, 1024.0f}) EXPECT_NEAR(FastLog2Sloppy(m), std::log2(m), 1e-5f) << m;
  for (float m = 1.0f; m < 5000.0f; m *= 1.07f) EXPECT_NEAR(FastLog2Sloppy(m), std::log2(m), 0.02f) << m;
}

// Equal diagonal terms put the axes at ±45°; the angle must come out of
// the cross term's sign, not of a division by zero.
TEST(FootprintMath, AxesAtFortyFiveDegreesExactly) {
  struct Case {
    float EB;
    float expectU, expectV;  // direction of the reads, up to sign
  };
  for (const Case c : {Case{-1.0f, 1.0f, 1.0f}, Case{1.0f, 1.0f, -1.0f}, Case{0.0f, 1.0f, 0.0f}}) {
    FootprintEllipse e{};
    e.EA = e.EC = 1.0f;
    e.EB = c.EB;
    e.major = 4.0f;
    e.minor = 1.0f;
    e.ratio = 4.0f;
    const FootprintSamples s = PlanFootprintSamples(e, 1.0f, 1.0f);
    ASSERT_TRUE(std::isfinite(s.stepU) && std::isfinite(s.stepV)) << c.EB;
    EXPECT_NEAR(s.stepU * c.expectV - s.stepV * c.expectU, 0.0f, 1e-5f) << c.EB;
    EXPECT_NEAR(std::hypot(s.stepU, s.stepV), 1.0f, 1e-5f) << c.EB;
  }
  // Check of the sign convention against a footprint: long along (1, 1).
  const FootprintEllipse e = FitFootprintEllipse(4.0f, 4.0f, -1.0f, 1.0f, 0.0f);
  EXPECT_EQ(e.EA, e.EC);
  const FootprintSamples s = PlanFootprintSamples(e, 1.0f, 1.0f);
  EXPECT_NEAR(s.stepU - s.stepV, 0.0f, 1e-5f);
}
