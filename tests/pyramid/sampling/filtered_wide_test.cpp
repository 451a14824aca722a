#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pyramid/pyramid_filtered.h"
#include "pyramid/pyramid_filtered_wide.h"
#include "tests/pyramid/sampling/sampling_fixtures.h"

namespace {

float AtPhase(int32_t centre, int32_t phase) { return float(centre) - 0.5f + (float(phase) + 0.5f) / 128.0f; }

struct Point {
  float x, y;
};

// Every point read twice, through the wide and the 128-bit sums; the
// bits must agree.
void ExpectSameBits(const PyramidDescriptor* p, int32_t level, const std::vector<Point>& points, const char* what) {
  std::vector<float> wide(points.size() * 4), narrow(points.size() * 4);
  ASSERT_TRUE(gauss_pyramid_allow_wide_sums(true));
  for (size_t i = 0; i < points.size(); ++i) gauss_pyramid_sample4_rgba(p, level, points[i].x, points[i].y, &wide[4 * i]);
  ASSERT_FALSE(gauss_pyramid_allow_wide_sums(false));
  for (size_t i = 0; i < points.size(); ++i)
    gauss_pyramid_sample4_rgba(p, level, points[i].x, points[i].y, &narrow[4 * i]);
  gauss_pyramid_allow_wide_sums(true);
  for (size_t i = 0; i < points.size(); ++i)
    ASSERT_EQ(std::memcmp(&wide[4 * i], &narrow[4 * i], 16), 0)
        << what << " at " << points[i].x << ", " << points[i].y << ": " << wide[4 * i] << " against " << narrow[4 * i];
}

class FilteredWide : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gauss_pyramid_allow_wide_sums(true)) GTEST_SKIP() << "this processor (or build) has no AVX2 sums";
  }
};

}  // namespace

// Noise, and the extremes that carry the sums furthest: every byte full
// (the largest positive sums) and a bright pixel on black beside each
// negative lobe.
TEST_F(FilteredWide, SameBitsAsTheNarrowSums) {
  struct Picture {
    const char* name;
    uint32_t (*pixel)(int32_t x, int32_t y);
  };
  const Picture pictures[] = {
      {"noise", [](int32_t x, int32_t y) { return SamplingNoise(x, y, 11); }},
      {"full", [](int32_t, int32_t) { return 0xFFFFFFFFu; }},
      {"lobes", [](int32_t x, int32_t y) { return ((x + 3 * y) % 7 == 0) ? 0xFFFFFFFFu : 0x000000FFu; }},
  };
  for (const int32_t kernel : {FilterKernel_WindowedSinc, FilterKernel_Gaussian}) {
    for (const int32_t wrap : {0, 1, 2}) {
      for (const Picture& pic : pictures) {
        auto s = MakeSamplingPyramid(1030, 530, PyramidDataKind_Packed8, wrap, 3, kernel);
        ASSERT_TRUE(s);
        FillLevel(&s->pyramid, 0, [&](int32_t x, int32_t y, float c[4]) {
          const uint32_t n = pic.pixel(x, y);
          for (int k = 0; k < 4; ++k) c[k] = float((n >> (8 * k)) & 255u);
        });
        std::vector<Point> points;
        // Every phase pair (rows in steps) inside a tile.
        for (int32_t px = 0; px < kFilterPhases; ++px)
          for (int32_t py = 0; py < kFilterPhases; py += 5) points.push_back({AtPhase(300, px), AtPhase(200, py)});
        // Windows across the tiles' edges, at the level's edges (clamped
        // or wrapped) and beyond them.
        const float xs[] = {-3.0f,  -0.5f,  0.0f,   1.3f,    2.0f,    100.25f, 508.7f,  509.5f,  510.0f,
                            511.9f, 512.2f, 513.6f, 514.5f,  1019.9f, 1023.0f, 1024.6f, 1027.4f, 1029.5f,
                            1031.0f, 2000.0f};
        const float ys[] = {-0.5f, 0.4f, 2.5f, 300.6f, 509.2f, 510.5f, 512.0f, 513.4f, 526.6f, 529.5f, 540.0f};
        for (const float x : xs)
          for (const float y : ys)
            for (const int32_t phase : {0, 37, 64, 127})
              points.push_back({x + float(phase) / 256.0f, y + float(phase) / 512.0f});
        ExpectSameBits(&s->pyramid, 0, points, pic.name);
        // A coarser level: other tiles, other widths.
        std::vector<Point> coarse;
        for (const Point& q : points) coarse.push_back({q.x / 4.0f, q.y / 4.0f});
        FillLevel(&s->pyramid, 2, [&](int32_t x, int32_t y, float c[4]) {
          const uint32_t n = pic.pixel(y, x);
          for (int k = 0; k < 4; ++k) c[k] = float((n >> (8 * k)) & 255u);
        });
        ExpectSameBits(&s->pyramid, 2, coarse, pic.name);
      }
    }
  }
}

// The float read through the pyramid: every channel in its lane, and
// windows across each kind of edge.
TEST_F(FilteredWide, FloatReadsGiveTheNarrowSumsBits) {
  auto s = MakeSamplingPyramid(1030, 530, PyramidDataKind_FourFloat, 1, 3, FilterKernel_WindowedSinc);
  ASSERT_TRUE(s);
  FillLevel(&s->pyramid, 0, [](int32_t x, int32_t y, float c[4]) {
    const uint32_t n = SamplingNoise(x, y, 5);
    c[0] = float(n & 1023u) / 7.0f;
    c[1] = -float((n >> 10) & 255u) * 1.0e-3f;
    c[2] = (n & 1u) ? float((n >> 8) & 0xFFFFu) * 1.0e4f : float((n >> 12) & 0xFFFu) * 1.0e-8f;
    c[3] = (n >> 31) ? 1.0f : 1.0e-7f;
  });
  std::vector<Point> points;
  for (int32_t px = 0; px < kFilterPhases; px += 3)
    for (int32_t py = 0; py < kFilterPhases; py += 7) points.push_back({AtPhase(300, px), AtPhase(200, py)});
  for (const float x : {-3.0f, 0.0f, 1.3f, 509.5f, 511.9f, 512.2f, 1027.4f, 1029.5f, 2000.0f})
    for (const float y : {-0.5f, 2.5f, 510.5f, 512.0f, 529.5f, 540.0f}) points.push_back({x + 0.37f, y + 0.61f});
  std::vector<float> wide(points.size() * 4), narrow(points.size() * 4);
  const auto read = [&](std::vector<float>* out) {
    for (size_t i = 0; i < points.size(); ++i) {
      float* c = &(*out)[4 * i];
      gauss_pyramid_sample128bit(&s->pyramid, 0, points[i].x, points[i].y, &c[0], &c[1], &c[2], &c[3]);
    }
  };
  ASSERT_TRUE(gauss_pyramid_allow_wide_sums(true));
  read(&wide);
  ASSERT_FALSE(gauss_pyramid_allow_wide_sums(false));
  read(&narrow);
  gauss_pyramid_allow_wide_sums(true);
  for (size_t i = 0; i < points.size(); ++i)
    ASSERT_EQ(std::memcmp(&wide[4 * i], &narrow[4 * i], 16), 0)
        << "at " << points[i].x << ", " << points[i].y << ": " << wide[4 * i] << " against " << narrow[4 * i];
}

// The doubles themselves, before the read rounds them to float (which
// hides most differences in their last bits): the scalar loops' order,
// from zero, one term after another. Neighbours twelve orders apart, so
// that any other order of the adds shows.
TEST_F(FilteredWide, FloatSumsAreTheScalarLoopsDoubles) {
  constexpr ptrdiff_t kRowBytes = 7 * 16;
  alignas(16) float window[5 * 7 * 4];
  for (int trial = 0; trial < 200; ++trial) {
    for (int i = 0; i < 5 * 7 * 4; ++i) {
      const uint32_t n = SamplingNoise(uint32_t(i), uint32_t(trial), 3);
      window[i] = (n & 1u) ? float(n >> 9) * 1.0e4f : -float(n >> 20) * 1.0e-8f;
    }
    double wx[5], wy[5];
    for (int k = 0; k < 5; ++k) {
      wx[k] = double(float(SamplingNoise(uint32_t(k), uint32_t(trial), 8) >> 8) / 16777216.0f - 0.2f);
      wy[k] = double(float(SamplingNoise(uint32_t(k), uint32_t(trial), 9) >> 8) / 16777216.0f - 0.2f);
    }
    double want[4] = {0.0, 0.0, 0.0, 0.0};
    for (int j = 0; j < 5; ++j) {
      double row[4] = {0.0, 0.0, 0.0, 0.0};
      for (int i = 0; i < 5; ++i)
        for (int c = 0; c < 4; ++c) row[c] += wx[i] * double(window[j * 7 * 4 + i * 4 + c]);
      for (int c = 0; c < 4; ++c) want[c] += wy[j] * row[c];
    }
    double got[4];
    Sum128Wide(reinterpret_cast<const uint8_t*>(window), kRowBytes, wx, wy, got);
    ASSERT_EQ(std::memcmp(got, want, sizeof got), 0) << "trial " << trial << ": " << got[0] << " against " << want[0];
  }
}
