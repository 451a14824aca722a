#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "pyramid/pyramid_footprint.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_overhang.h"
#include "tests/pyramid/sampling/sampling_fixtures.h"

namespace {

constexpr int kPoints = 4000;

// A scatter of footprints over the picture, seams included; each task keeps
// its own state, sets reuse for every fourth point as the renderer does at
// region boundaries, and must get the bytes one task alone gets.
void SampleRun(const PyramidDescriptor* p, int first, int count, std::vector<float>* out) {
  AnisoState state{};
  for (int i = first; i < first + count; ++i) {
    const uint32_t n = SamplingNoise(i, 7, 11);
    const float u = float(n & 1023u) / 1023.0f, v = float((n >> 10) & 1023u) / 1023.0f;
    const float du = float(((n >> 20) & 63u)) / 2000.0f, dv = float(((n >> 26) & 63u)) / 4000.0f;
    state.reuseLevel = (i % 4 == 3) ? 1 : 0;
    float c[4];
    if (i & 1)
      SampleAnisotropicallyColor_Centered_unitary(u - du, v - dv, u + dv, v - du, u, v, u, v, p, c, 0.2f, &state);
    else
      SampleUglyColor_Centered_unitary(u - du, v, u, v - dv, u, v, u, v, p, c, 0.0f, &state);
    for (int k = 0; k < 4; ++k) (*out)[size_t(i) * 4 + k] = c[k];
  }
}

}  // namespace

TEST(SamplingThreads, TasksWithTheirOwnStateMatchOneTask) {
  auto s = MakeSamplingPyramid(700, 350, PyramidDataKind_Packed8, 2, OverhangMode_PoleFold);
  ASSERT_TRUE(s);
  FillLevel(&s->pyramid, 0, [](int32_t x, int32_t y, float c[4]) {
    const uint32_t n = SamplingNoise(x, y, 5);
    for (int k = 0; k < 4; ++k) c[k] = float((n >> (8 * k)) & 255u);
  });
  paint_mipmap_of_pyramid(&s->pyramid);

  // One task walks all points in order; tasks split them into spans. The
  // reuse points read the level left by the point before, which lies in the
  // same span except at span starts: spans start at multiples of 4, where
  // reuse is off.
  std::vector<float> alone(size_t(kPoints) * 4), split(size_t(kPoints) * 4);
  SampleRun(&s->pyramid, 0, kPoints, &alone);
  constexpr int kTasks = 8;
  std::vector<std::thread> tasks;
  for (int t = 0; t < kTasks; ++t)
    tasks.emplace_back(SampleRun, &s->pyramid, t * (kPoints / kTasks), kPoints / kTasks, &split);
  for (std::thread& t : tasks) t.join();
  EXPECT_EQ(alone, split);
}
