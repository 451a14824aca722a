#include <gtest/gtest.h>

#include <cmath>

#include "pyramid/pyramid_footprint.h"
#include "pyramid/pyramid_overhang.h"
#include "pyramid/pyramid_sampling.h"
#include "tests/pyramid/sampling/sampling_fixtures.h"

namespace {

constexpr float kMissing = kFootprintMissingU;
constexpr int32_t kSide = 256;

// Level L holds the stored value 10 × L, so a read tells its level.
SamplingPyramidPtr LevelCoded(int32_t overhang = OverhangMode_Clamp) {
  auto s = MakeSamplingPyramid(kSide, kSide, PyramidDataKind_Packed8, 0, overhang);
  FillLevelsFlat(&s->pyramid, 0, 10, 255);
  return s;
}

float Stored(const float c[4]) { return c[0] * 255.0f; }

using Sampler = void (*)(float, float, float, float, float, float, float, float, const PyramidDescriptor*, float*,
                         float, AnisoState*);
const Sampler kSamplers[] = {SampleAnisotropicallyColor_Centered_unitary, SampleUglyColor_Centered_unitary};

// Neighbours `pixels` level-0 pixels from the centre along u and v.
void Around(float u, float v, float pixels, float n[6]) {
  const float d = pixels / float(kSide);
  n[0] = u - d, n[1] = v, n[2] = u, n[3] = v - d, n[4] = u, n[5] = v;
}

}  // namespace

TEST(Footprint, FlatPictureReadsItsColourUnderAnyFootprint) {
  for (const int32_t kind : {PyramidDataKind_Packed8, PyramidDataKind_FourFloat}) {
    for (const int32_t overhang : {OverhangMode_Clamp, OverhangMode_WrapX, OverhangMode_PoleFold}) {
      auto s = MakeSamplingPyramid(300, 150, kind, 2, overhang);
      const float colour[4] = {0.8f, 0.4f, 0.2f, 1.0f};
      for (int32_t L = 0; L <= s->pyramid.topLevel; ++L)
        FillLevel(&s->pyramid, L, [&](int32_t, int32_t, float c[4]) {
          for (int k = 0; k < 4; ++k) c[k] = colour[k] * s->pyramid.fromUnitScale;
        });
      // Centre, neighbour A, neighbour B: round, long, turned, across the seam.
      const float cases[][6] = {
          {0.5f, 0.5f, 0.49f, 0.5f, 0.5f, 0.49f},      {0.5f, 0.5f, 0.4f, 0.45f, 0.505f, 0.49f},
          {0.3f, 0.7f, 0.3f, 0.5f, 0.31f, 0.7f},       {0.01f, 0.5f, 0.97f, 0.5f, 0.01f, 0.49f},
          {0.999f, 0.2f, 0.95f, 0.18f, 0.999f, 0.21f},
      };
      for (const auto& c : cases) {
        for (const Sampler sample : kSamplers) {
          AnisoState state{};
          float out[4];
          sample(c[2], c[3], c[4], c[5], c[0], c[1], c[0], c[1], &s->pyramid, out, 0.0f, &state);
          for (int k = 0; k < 4; ++k) EXPECT_NEAR(out[k], colour[k], 2e-3f) << kind << " " << overhang << " " << c[0];
        }
      }
    }
  }
}

// A flat level read along a long footprint averages several equal reads:
// the average must be the level itself, or the output step, which
// truncates, writes the level below (37 came back as 36).
TEST(Footprint, FlatLevelsSurviveTheAverageOfSeveralReads) {
  auto s = MakeSamplingPyramid(kSide, kSide, PyramidDataKind_Packed8);
  // Footprints 1 pixel wide and 2, 3, 7 and 30 long: 2, 3, 7 and 20 reads.
  const float lengths[] = {2.0f, 3.0f, 7.0f, 30.0f};
  for (int32_t level = 0; level < 256; ++level) {
    FillLevelsFlat(&s->pyramid, float(level), 0, 255);
    for (const float length : lengths) {
      AnisoState state{};
      float out[4];
      SampleAnisotropicallyColorCore_unitary(length / kSide, 0.0f, 0.0f, 1.0f / kSide, 0.5f, 0.5f, 0, &s->pyramid,
                                             out, 0.0f, &state);
      EXPECT_EQ(int32_t(out[0] * 255.0f), level) << "length " << length;
      EXPECT_EQ(out[3], 1.0f) << "length " << length;
    }
  }
}

// Columns alternately black and white: a footprint long across the columns
// averages them; one long along the columns stays on its column.
TEST(Footprint, ReadsAverageAlongTheLongSide) {
  auto s = MakeSamplingPyramid(kSide, kSide, PyramidDataKind_Packed8);
  FillLevel(&s->pyramid, 0, [](int32_t x, int32_t, float c[4]) {
    c[0] = c[1] = c[2] = (x & 1) ? 255.0f : 0.0f;
    c[3] = 255;
  });
  const float u = 101.5f / kSide, v = 0.5f, px = 1.0f / kSide;
  AnisoState state{};
  float across[4], along[4];
  SampleAnisotropicallyColor_Centered_unitary(u - 8 * px, v, u, v - px, u, v, u, v, &s->pyramid, across, 0.0f, &state);
  EXPECT_NEAR(state.level, 0.0f, 1e-4f);
  SampleAnisotropicallyColor_Centered_unitary(u - px, v, u, v - 8 * px, u, v, u, v, &s->pyramid, along, 0.0f, &state);
  EXPECT_NEAR(Stored(across), 127.5f, 12.0f);
  EXPECT_GT(Stored(along), 200.0f);
  // Turned by 45°: a circle still, one read at the level of its size.
  SampleAnisotropicallyColor_Centered_unitary(u - 4 * px, v - 4 * px, u + 4 * px, v - 4 * px, u, v, u, v, &s->pyramid,
                                              across, 0.0f, &state);
  EXPECT_NEAR(state.level, std::log2(std::sqrt(32.0f)), 1e-3f);
}

TEST(Footprint, LevelFromTheFootprintOrFromTheState) {
  auto s = LevelCoded();
  const PyramidDescriptor* p = &s->pyramid;
  const float u = 0.5f, v = 0.5f;
  struct Case {
    const char* what;
    float pixels;       // footprint size
    bool dropA, dropB;  // neighbours marked missing
    float stateLevel;
    uint8_t reuse;
    float expectLevel;              // what the anisotropic sampler leaves in the state
    float expectAniso, expectFast;  // stored values read
  };
  const float top = float(p->topLevel);
  const float l45 = std::log2(4.5f);
  const Case cases[] = {
      {"one pixel reads level 0", 1, false, false, 0, 0, 0, 0, 0},
      {"4.5 pixels blend levels 2 and 3", 4.5f, false, false, 0, 0, l45, 10 * l45, 20},
      // One vector for both axes: a line, one pixel wide, read along its length.
      {"one neighbour is enough", 4.5f, true, false, 0, 0, 0, 0, 20},
      {"the other one too", 4.5f, false, true, 0, 0, 0, 0, 20},
      {"both missing take the state", 4.5f, true, true, 3, 0, 3, 30, 30},
      {"reuse takes the state", 4.5f, false, false, 1.5f, 1, 1.5f, 15, 10},
      {"a state past the top reads the top", 1, true, true, 99, 0, 99, 10 * (top - 1), 10 * top},
      {"a NaN state reads level 0", 1, true, true, NAN, 0, NAN, 0, 0},
  };
  for (const Case& c : cases) {
    float n[6];
    Around(u, v, c.pixels, n);
    if (c.dropA) n[0] = kMissing;
    if (c.dropB) n[2] = kMissing;
    float out[4];
    AnisoState state{c.stateLevel, c.reuse, 0};
    SampleAnisotropicallyColor_Centered_unitary(n[0], n[1], n[2], n[3], n[4], n[5], u, v, p, out, 0.0f, &state);
    EXPECT_NEAR(Stored(out), c.expectAniso, 1e-3f) << c.what;
    if (!std::isnan(c.expectLevel)) {
      EXPECT_NEAR(state.level, c.expectLevel, 1e-4f) << c.what;
    }

    AnisoState fastState{c.stateLevel, c.reuse, 0};
    SampleUglyColor_Centered_unitary(n[0], n[1], n[2], n[3], n[4], n[5], u, v, p, out, 0.0f, &fastState);
    EXPECT_NEAR(Stored(out), c.expectFast, 1e-3f) << c.what;
    if (!std::isnan(c.stateLevel)) {
      EXPECT_EQ(fastState.level, c.stateLevel) << c.what;  // never written
    }
  }
}

TEST(Footprint, SharpenReadsAFinerLevel) {
  auto s = LevelCoded();
  float n[6], out[4];
  Around(0.5f, 0.5f, 8.0f, n);
  AnisoState state{};
  SampleAnisotropicallyColor_Centered_unitary(n[0], n[1], n[2], n[3], n[4], n[5], 0.5f, 0.5f, &s->pyramid, out, 1.0f,
                                              &state);
  EXPECT_NEAR(state.level, 2.0f, 1e-3f);
  EXPECT_NEAR(Stored(out), 20.0f, 1e-3f);
}

// NaN or infinite points read nothing; a non-finite neighbour counts as
// missing; enormous footprints read the coarsest level.
TEST(Footprint, NonFiniteInputsNeverReachAnIntegerConversion) {
  auto s = LevelCoded();
  const PyramidDescriptor* p = &s->pyramid;
  for (const Sampler sample : kSamplers) {
    for (const float bad : {NAN, INFINITY, -INFINITY}) {
      AnisoState state{};
      float out[4] = {1, 1, 1, 1};
      sample(0.4f, 0.5f, 0.5f, 0.4f, 0.5f, 0.5f, bad, 0.5f, p, out, 0.0f, &state);
      EXPECT_EQ(out[3], 0.0f);
      sample(0.4f, 0.5f, 0.5f, 0.4f, 0.5f, 0.5f, 0.5f, bad, p, out, 0.0f, &state);
      EXPECT_EQ(out[3], 0.0f);

      float marked[4], broken[4];
      AnisoState a{}, b{};
      sample(kMissing, 0.5f, 0.5f, 0.5f - 4.0f / kSide, 0.5f, 0.5f, 0.5f, 0.5f, p, marked, 0.0f, &a);
      sample(bad, 0.5f, 0.5f, 0.5f - 4.0f / kSide, 0.5f, 0.5f, 0.5f, 0.5f, p, broken, 0.0f, &b);
      EXPECT_EQ(Stored(marked), Stored(broken));
      EXPECT_EQ(a.level, b.level);
    }
    for (const float huge : {1e30f, -1e30f, 3e38f}) {
      AnisoState state{};
      float out[4];
      SamplingPyramid* sp = s.get();
      sp->pyramid.overhangMode = 0;  // differences left as they are
      sample(huge, 0.5f, 0.5f, -huge, 0.5f, 0.5f, 0.5f, 0.5f, p, out, 0.0f, &state);
      EXPECT_TRUE(std::isfinite(out[0]));
      EXPECT_GE(Stored(out), 10.0f * (p->topLevel - 1) - 1e-3f) << huge;
      sp->pyramid.overhangMode = OverhangMode_Clamp;
    }
  }
  AnisoState state{};
  float out[4];
  SampleAnisotropicallyColor_Centered_unitary(0.4f, 0.5f, 0.5f, 0.4f, 0.5f, 0.5f, 0.5f, 0.5f, nullptr, out, 0.0f,
                                              &state);
  EXPECT_EQ(out[3], 0.0f);
  SampleAnisotropicallyColorCore_unitary(0.01f, 0, 0, 0.01f, 0.5f, 0.5f, 0, p, out, 0.0f, nullptr);  // no state
  EXPECT_NEAR(out[3], 1.0f, 1e-6f);
}

TEST(Footprint, FastSamplerReadsTheNearestPixel) {
  auto s = MakeSamplingPyramid(16, 8, PyramidDataKind_Packed8, 0, OverhangMode_Clamp);
  FillLevel(&s->pyramid, 0, [](int32_t x, int32_t y, float c[4]) {
    c[0] = float(x * 10);
    c[1] = float(y * 10);
    c[2] = 0;
    c[3] = 255;
  });
  struct Case {
    float u, v;
    float expectX, expectY;
  };
  // No half-pixel shift: u = 0.5 is the left edge of column 8.
  const Case cases[] = {
      {0.5f, 0.5f, 8, 4}, {0.49f, 0.49f, 7, 3}, {1.0f, 0.0f, 15, 0}, {1.5f, 2.0f, 15, 7}, {-0.3f, 0.99f, 0, 7}};
  for (const Case& c : cases) {
    AnisoState state{};
    float out[4];
    SampleUglyColor_Centered_unitary(c.u - 0.001f, c.v, c.u, c.v - 0.001f, c.u, c.v, c.u, c.v, &s->pyramid, out, 0.0f,
                                     &state);
    EXPECT_NEAR(Stored(out), c.expectX * 10, 1e-3f) << c.u;
    EXPECT_NEAR(out[1] * 255.0f, c.expectY * 10, 1e-3f) << c.v;
  }
}

// A footprint that spans more than half of an image that does not wrap
// straddles it: one trilinear read of the point, no average across it.
TEST(Footprint, StraddlingFootprintReadsThePointAlone) {
  auto s = MakeSamplingPyramid(kSide, kSide, PyramidDataKind_Packed8, 0, OverhangMode_Clamp);
  FillLevel(&s->pyramid, 0, [](int32_t x, int32_t, float c[4]) {
    c[0] = c[1] = c[2] = x < kSide / 2 ? 0.0f : 255.0f;
    c[3] = 255;
  });
  AnisoState state{};
  float out[4], single[4];
  SampleAnisotropicallyColorCore_unitary(0.9f, 0.0f, 0.0f, 1.0f / kSide, 0.1f, 0.5f, 0, &s->pyramid, out, 0.0f, &state);
  EXPECT_NEAR(state.level, 0.0f, 1e-4f);
  get_unitarycoord_unitary_color(&s->pyramid, 0, 0.0f, 0.1f, 0.5f, single);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(out[k], single[k]);
  EXPECT_EQ(out[0], 0.0f);

  // The same footprint on a horizontally wrapping image is short the other
  // way round: 0.1 of the width, read as such.
  s->pyramid.overhangMode = OverhangMode_WrapX;
  SampleAnisotropicallyColorCore_unitary(0.9f, 0.0f, 0.0f, 1.0f / kSide, 0.1f, 0.5f, 0, &s->pyramid, out, 0.0f, &state);
  EXPECT_NEAR(state.level, 0.0f, 1e-4f);
  EXPECT_NEAR(Stored(out), 0.0f, 1e-3f);
}

// Reads that fall off an image whose outside is empty count as transparent.
TEST(Footprint, EmptyReadsCountInTheAverage) {
  auto s = MakeSamplingPyramid(kSide, kSide, PyramidDataKind_Packed8, 0, OverhangMode_Empty);
  FillLevelsFlat(&s->pyramid, 200, 0, 255);
  AnisoState state{};
  float out[4];
  const float u = 2.5f / kSide;
  // 40 pixels long along u: 20 reads 2 pixels apart, most of the left half outside.
  SampleAnisotropicallyColorCore_unitary(40.0f / kSide, 0.0f, 0.0f, 1.0f / kSide, u, 0.5f, 0, &s->pyramid, out, 0.0f,
                                         &state);
  EXPECT_GT(out[3], 0.3f);
  EXPECT_LT(out[3], 0.7f);
  EXPECT_NEAR(out[0] / out[3], 200.0f / 255.0f, 0.02f);
}
