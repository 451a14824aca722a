#include <gtest/gtest.h>

#include <cmath>

#include "pyramid/pyramid_overhang.h"
#include "pyramid/pyramid_sampling.h"
#include "tests/pyramid/sampling/sampling_fixtures.h"

namespace {

float Red(const PyramidDescriptor* p, int32_t level, float t) {
  float c[4];
  get_borked(p, level, t, 0.37f, 0.61f, &c[0], &c[1], &c[2], &c[3]);
  return c[0];
}

}  // namespace

// Level L holds 10 × L: the blend shows which levels a read took.
TEST(SamplingReads, TrilinearLevelChoice) {
  auto s = MakeSamplingPyramid(64, 48, PyramidDataKind_Packed8);
  ASSERT_TRUE(s);
  PyramidDescriptor* p = &s->pyramid;
  FillLevelsFlat(p, 0, 10, 255);
  const int32_t top = p->topLevel;
  struct Case {
    int32_t level;
    float t, expect;
  };
  const Case cases[] = {
      {0, 0.0f, 0},
      {2, 0.0f, 20},
      {2, 0.25f, 22.5f},
      {-3, 0.5f, 5},                       // below 0 reads from 0
      {top, 0.0f, 10.0f * (top - 1)},      // level top reads top - 1 ...
      {top, 0.5f, 10.0f * (top - 1) + 5},  // ... so that it can blend with top
      {top + 4, 0.5f, 10.0f * (top - 1) + 5},
  };
  for (const Case& c : cases) EXPECT_NEAR(Red(p, c.level, c.t), c.expect, 1e-4f) << c.level << " " << c.t;

  float unit[4];
  get_unitarycoord_unitary_color(p, 1, 0.5f, 0.2f, 0.9f, unit);
  EXPECT_NEAR(unit[0], 15.0f / 255.0f, 1e-6f);
  EXPECT_NEAR(unit[3], 1.0f, 1e-6f);
}

TEST(SamplingReads, GreyKindsKeepAFullAlphaWhileBlending) {
  auto s = MakeSamplingPyramid(32, 32, PyramidDataKind_Byte);
  FillLevelsFlat(&s->pyramid, 40, 20, 0);
  float c[4];
  get_borked(&s->pyramid, 0, 0.5f, 0.5f, 0.5f, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_NEAR(c[0], 50.0f, 1e-4f);
  EXPECT_EQ(c[1], c[0]);
  EXPECT_EQ(c[3], 255.0f);
  float unit[4];
  get_unitarycoord_unitary_color(&s->pyramid, 0, 0.0f, 0.5f, 0.5f, unit);
  EXPECT_NEAR(unit[0], 40.0f / 255.0f, 1e-6f);
  EXPECT_NEAR(unit[3], 1.0f, 1e-6f);
}

// A step edge at level 0 over a flat grey level 1: sharpening pushes each
// side away from the grey, and leaves alpha alone.
TEST(SamplingReads, SharpeningOvershootsTheStepButNotAlpha) {
  auto s = MakeSamplingPyramid(64, 64, PyramidDataKind_Packed8);
  PyramidDescriptor* p = &s->pyramid;
  FillLevel(p, 0, [](int32_t x, int32_t, float c[4]) {
    c[0] = c[1] = c[2] = x < 32 ? 50.0f : 200.0f;
    c[3] = x < 32 ? 100.0f : 200.0f;
  });
  for (int32_t L = 1; L <= p->topLevel; ++L)
    FillLevel(p, L, [](int32_t, int32_t, float c[4]) { c[0] = c[1] = c[2] = c[3] = 125.0f; });
  for (const float u : {0.2f, 0.8f}) {
    float plain[4], sharp[4];
    get_sharpened_color(p, 0, 0.0f, u, 0.5f, 0.0f, plain);
    get_sharpened_color(p, 0, 0.0f, u, 0.5f, 0.3f, sharp);
    const float side = u < 0.5f ? 50.0f : 200.0f;
    EXPECT_NEAR(plain[0] * 255.0f, side, 1e-3f);
    EXPECT_NEAR(sharp[0] * 255.0f, side + (side - 125.0f) * 0.3f, 1e-3f) << u;
    EXPECT_NEAR(sharp[2] * 255.0f, side + (side - 125.0f) * 0.3f, 1e-3f) << u;
    EXPECT_EQ(sharp[3], plain[3]) << u;
  }
}

TEST(SamplingReads, SharpenedReadsHonourTheOverhangMode) {
  auto s = MakeSamplingPyramid(16, 16, PyramidDataKind_Packed8, 0, OverhangMode_Empty);
  FillLevelsFlat(&s->pyramid, 90, 0, 255);
  float c[4];
  get_sharpened_color(&s->pyramid, 0, 0.0f, 0.5f, 1.0f, 0.0f, c);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(c[k], 0.0f);
  get_sharpened_color(&s->pyramid, 0, 0.0f, 0.5f, 0.99f, 0.0f, c);
  EXPECT_NEAR(c[3], 1.0f, 1e-6f);
  s->pyramid.overhangMode = OverhangMode_Clamp;
  get_sharpened_color(&s->pyramid, 0, 0.0f, -7.0f, 1.5f, 0.0f, c);
  EXPECT_NEAR(c[0], 90.0f / 255.0f, 1e-6f);
}

TEST(SamplingReads, RampedReadBlendsAcrossAWrappingSeam) {
  struct Case {
    int32_t wrap, overhang;
    float expectRed;  // at the left quarter of the way from the last column's centre
  };
  // Last column 200, first column 0, the rest 100; u a quarter pixel past
  // the last column's centre.
  const Case cases[] = {
      {2, OverhangMode_WrapX, 200.0f * 0.75f},
      {0, OverhangMode_Clamp, 200.0f},
  };
  for (const Case& c : cases) {
    auto s = MakeSamplingPyramid(8, 4, PyramidDataKind_Packed8, c.wrap, c.overhang);
    FillLevel(&s->pyramid, 0, [](int32_t x, int32_t, float px[4]) {
      px[0] = px[1] = px[2] = x == 7 ? 200.0f : (x == 0 ? 0.0f : 100.0f);
      px[3] = 255;
    });
    float out[4];
    get_unit_ramped_wrapped_pyramid_sample_point((7.5f + 0.25f) / 8.0f, 0.5f, &s->pyramid, 0, out);
    EXPECT_NEAR(out[0] * 255.0f, c.expectRed, 1e-3f) << c.wrap;
  }
}

TEST(SamplingReads, RampedReadRefusesWhatItCannotRead) {
  auto s = MakeSamplingPyramid(8, 8, PyramidDataKind_Packed8, 0, 0);  // mode 0 maps nothing
  FillLevelsFlat(&s->pyramid, 60, 0, 255);
  float out[4];
  get_unit_ramped_wrapped_pyramid_sample_point(NAN, 0.5f, &s->pyramid, 0, out);
  EXPECT_EQ(out[3], 0.0f);
  get_unit_ramped_wrapped_pyramid_sample_point(0.5f, 0.5f, &s->pyramid, s->pyramid.topLevel + 1, out);
  EXPECT_EQ(out[3], 0.0f);
  for (const float wild : {-1e30f, 1e30f, INFINITY, -INFINITY}) {
    get_unit_ramped_wrapped_pyramid_sample_point(wild, wild, &s->pyramid, 0, out);
    EXPECT_NEAR(out[0], 60.0f / 255.0f, 1e-6f) << wild;
  }
}

// The unsharpened reads of an 8-bit pyramid take a short path of their own;
// point by point they give the bits of the general one: the overhang mode,
// then the trilinear read scaled to unit colour. Points inside, beyond each
// edge and past a pole; levels below, inside and past the top; blends of
// zero and not.
TEST(SamplingReads, UnsharpenedEightBitReadsMatchTheGeneralSteps) {
  for (const int32_t overhang : {OverhangMode_Empty, OverhangMode_Clamp, OverhangMode_WrapBoth, OverhangMode_PoleFold}) {
    auto s = MakeSamplingPyramid(96, 48, PyramidDataKind_Packed8, 1, overhang);
    ASSERT_TRUE(s);
    PyramidDescriptor* p = &s->pyramid;
    for (int32_t L = 0; L <= p->topLevel; ++L) {
      FillLevel(p, L, [L](int32_t x, int32_t y, float c[4]) {
        const uint32_t n = SamplingNoise(uint32_t(x), uint32_t(y), uint32_t(L) + 11u);
        for (int k = 0; k < 4; ++k) c[k] = float((n >> (8 * k)) & 255u);
      });
    }
    const float points[][2] = {{0.37f, 0.61f}, {0.0f, 0.0f}, {1.0f, 0.999f}, {-0.2f, 0.5f},
                               {1.3f, 0.25f},  {0.5f, -0.1f}, {0.25f, 1.2f}, {0.013f, 0.987f}};
    const int32_t levels[] = {-2, 0, 1, 3, p->topLevel, p->topLevel + 3};
    const float blends[] = {0.0f, 0.375f, 0.9f};
    for (const int32_t L : levels) {
      for (const float t : blends) {
        double sum[4] = {0.0, 0.0, 0.0, 0.0}, want[4] = {0.0, 0.0, 0.0, 0.0};
        for (const auto& pt : points) {
          float u = pt[0], v = pt[1], ignored = 0.0f, general[4] = {0.0f, 0.0f, 0.0f, 0.0f}, fast[4];
          const bool inside = u >= 0.0f && u <= 1.0f && v >= 0.0f && v < 1.0f;
          if (inside || !OverhangizeCoordinates(&u, &v, &ignored, p->overhangMode, p))
            get_unitarycoord_unitary_color(p, L, t, u, v, general);
          get_sharpened_color(p, L, t, pt[0], pt[1], 0.0f, fast);
          for (int k = 0; k < 4; ++k) {
            ASSERT_EQ(fast[k], general[k]) << "mode " << overhang << " level " << L << " t " << t << " at "
                                           << pt[0] << ", " << pt[1];
            want[k] += double(general[k]);
          }
        }
        // The same points through the run reader, one read a call.
        for (const auto& pt : points) AddSharpenedColours(p, L, t, pt[0], pt[1], 0.0f, 0.0f, 1, 0.0f, sum);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(sum[k], want[k]) << "mode " << overhang << " level " << L;
      }
    }
    // A run with a real step: each read where the last one's point plus the
    // step, added in float, lands.
    double run[4] = {0.0, 0.0, 0.0, 0.0}, oneByOne[4] = {0.0, 0.0, 0.0, 0.0};
    AddSharpenedColours(p, 1, 0.25f, 0.9f, 0.2f, 0.031f, -0.017f, 9, 0.0f, run);
    float u = 0.9f, v = 0.2f;
    for (int i = 0; i < 9; ++i, u += 0.031f, v += -0.017f) {
      float c[4];
      get_sharpened_color(p, 1, 0.25f, u, v, 0.0f, c);
      for (int k = 0; k < 4; ++k) oneByOne[k] += double(c[k]);
    }
    for (int k = 0; k < 4; ++k) EXPECT_EQ(run[k], oneByOne[k]) << "mode " << overhang;
  }
}
