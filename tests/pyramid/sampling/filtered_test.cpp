#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "pyramid/pyramid_filtered.h"
#include "pyramid/pyramid_levels.h"
#include "tests/pyramid/sampling/sampling_fixtures.h"

namespace {

// x that falls on `phase` beyond the rounding boundary of pixel `centre`.
float AtPhase(int32_t centre, int32_t phase) { return float(centre) - 0.5f + (float(phase) + 0.5f) / 128.0f; }

void Read(const PyramidDescriptor* p, int32_t level, float x, float y, float c[4]) {
  gauss_pyramid_sampleColor(p, level, x, y, &c[0], &c[1], &c[2], &c[3]);
}

// The 5 x 5 read written the plain way: every pixel through the
// accessors, clamped or folded by the wrap mode, with the integer weights.
void Reference8(const PyramidDescriptor* p, int32_t level, float x, float y, float out[4]) {
  const int32_t cx = int32_t(x + 0.5f), cy = int32_t(y + 0.5f);
  const int32_t px = int32_t((x + 0.5f - float(cx)) * 128.0f), py = int32_t((y + 0.5f - float(cy)) * 128.0f);
  int64_t acc[4] = {0, 0, 0, 0};
  for (int j = -2; j <= 2; ++j) {
    int64_t row[4] = {0, 0, 0, 0};
    for (int i = -2; i <= 2; ++i) {
      int32_t c[4];
      get_pyramid_sample_pointColorcall(cx + i, cy + j, p, level, &c[0], &c[1], &c[2], &c[3]);
      const int32_t w = FilterTableInt(p->filterTable, kFilter2048Arrays + 2 - i, px);
      for (int k = 0; k < 4; ++k) row[k] += int64_t(w) * c[k];
    }
    const int32_t w = FilterTableInt(p->filterTable, kFilter2048Arrays + 2 - j, py);
    for (int k = 0; k < 4; ++k) acc[k] += w * row[k];
  }
  for (int k = 0; k < 4; ++k) out[k] = float(acc[k]) * 2.3841858e-7f;
}

}  // namespace

TEST(Filtered, FlatAreaReadsBackExactlyAtEveryPhase) {
  struct Case {
    int32_t kind;
    float value, alpha;
  };
  const Case cases[] = {
      {PyramidDataKind_Packed8, 200, 255},    {PyramidDataKind_Four16, 20000, 32768}, {PyramidDataKind_Byte, 200, 255},
      {PyramidDataKind_Grey16, 30001, 32768}, {PyramidDataKind_FourFloat, 0.75f, 1},
      // Floats that no sum of the taps meets by luck, and high dynamic range.
      {PyramidDataKind_FourFloat, 0.1f, 1},   {PyramidDataKind_FourFloat, 0.88823688f, 1},
      {PyramidDataKind_FourFloat, 17.3f, 1},
  };
  for (const int32_t kernel : {FilterKernel_WindowedSinc, FilterKernel_Gaussian}) {
    for (const Case& c : cases) {
      auto s = MakeSamplingPyramid(40, 30, c.kind, 0, 3, kernel);
      ASSERT_TRUE(s);
      FillLevelsFlat(&s->pyramid, c.value, 0, c.alpha);
      for (int32_t phase = 0; phase < kFilterPhases; ++phase) {
        float out[4];
        Read(&s->pyramid, 0, AtPhase(10, phase), AtPhase(20, 127 - phase), out);
        // Exact for the floats too: an alpha a step below 1 would let the
        // backdrop show through an opaque picture.
        EXPECT_EQ(out[0], c.value) << c.kind << " phase " << phase;
        EXPECT_EQ(out[2], c.value) << c.kind << " phase " << phase;
        EXPECT_EQ(out[3], c.alpha) << c.kind << " phase " << phase;
      }
    }
  }
}

// Windows inside one tile are read straight from it, windows across a tile
// boundary or an edge pixel by pixel: both must give the plain 5 x 5 sum.
TEST(Filtered, DirectTileReadsAgreeWithPixelByPixelReads) {
  for (const int32_t wrap : {0, 1, 2}) {
    auto s = MakeSamplingPyramid(1030, 530, PyramidDataKind_Packed8, wrap);
    ASSERT_TRUE(s);
    FillLevel(&s->pyramid, 0, [](int32_t x, int32_t y, float c[4]) {
      const uint32_t n = SamplingNoise(x, y, 3);
      for (int k = 0; k < 4; ++k) c[k] = float((n >> (8 * k)) & 255u);
    });
    const float xs[] = {-0.5f,  0.0f,   1.3f,   2.0f,    100.25f, 508.7f,  509.5f,  510.0f,  511.9f,
                        512.2f, 513.6f, 514.5f, 1019.9f, 1020.5f, 1023.0f, 1027.4f, 1029.0f, 1029.5f};
    const float ys[] = {-0.5f, 0.4f, 2.5f, 300.6f, 509.2f, 510.5f, 512.0f, 513.4f, 526.6f, 529.5f};
    for (const float x : xs) {
      for (const float y : ys) {
        float got[4], want[4];
        Read(&s->pyramid, 0, x, y, got);
        Reference8(&s->pyramid, 0, x, y, want);
        for (int k = 0; k < 4; ++k) ASSERT_EQ(got[k], want[k]) << "wrap " << wrap << " at " << x << ", " << y;
      }
    }
  }
}

// Every phase pair inside a tile, where the window is weighed straight from
// the tile: some phases give a row or a column no weight at all.
TEST(Filtered, EveryPhaseAgreesWithThePlainSum) {
  auto s = MakeSamplingPyramid(64, 48, PyramidDataKind_Packed8, 0);
  ASSERT_TRUE(s);
  FillLevel(&s->pyramid, 0, [](int32_t x, int32_t y, float c[4]) {
    const uint32_t n = SamplingNoise(x, y, 5);
    for (int k = 0; k < 4; ++k) c[k] = float((n >> (8 * k)) & 255u);
  });
  for (int32_t px = 0; px < kFilterPhases; ++px) {
    for (int32_t py = 0; py < kFilterPhases; py += 3) {
      const float x = AtPhase(30, px), y = AtPhase(20, py);
      float got[4], want[4];
      Read(&s->pyramid, 0, x, y, got);
      Reference8(&s->pyramid, 0, x, y, want);
      for (int k = 0; k < 4; ++k) ASSERT_EQ(got[k], want[k]) << "phases " << px << ", " << py;
    }
  }
}

// The other layouts against the 8-bit reader on the same picture: same
// weights, other number forms.
TEST(Filtered, LayoutsAgreeOnOnePicture) {
  auto p8 = MakeSamplingPyramid(600, 520, PyramidDataKind_Packed8);
  auto p16 = MakeSamplingPyramid(600, 520, PyramidDataKind_Four16);
  auto pf = MakeSamplingPyramid(600, 520, PyramidDataKind_FourFloat);
  ASSERT_TRUE(p8 && p16 && pf);
  auto pixel = [](int32_t x, int32_t y, float c[4]) {
    const uint32_t n = SamplingNoise(x, y, 9);
    for (int k = 0; k < 4; ++k) c[k] = float((n >> (8 * k)) & 255u);
  };
  FillLevel(&p8->pyramid, 0, pixel);
  FillLevel(&p16->pyramid, 0, [&](int32_t x, int32_t y, float c[4]) {
    pixel(x, y, c);
    for (int k = 0; k < 4; ++k) c[k] *= 128.0f;
  });
  FillLevel(&pf->pyramid, 0, [&](int32_t x, int32_t y, float c[4]) {
    pixel(x, y, c);
    for (int k = 0; k < 4; ++k) c[k] /= 255.0f;
  });
  for (const float x : {0.0f, 3.3f, 250.6f, 509.9f, 511.2f, 599.5f}) {
    for (const float y : {0.2f, 7.5f, 510.4f, 519.5f}) {
      float a[4], b[4], c[4];
      Read(&p8->pyramid, 0, x, y, a);
      Read(&p16->pyramid, 0, x, y, b);
      Read(&pf->pyramid, 0, x, y, c);
      for (int k = 0; k < 4; ++k) {
        // ×2048 weights are coarser than ×32768 ones: up to about
        // 2.5/2048 of full scale apart.
        EXPECT_NEAR(c[k] * 255.0f, a[k], 0.4f) << x << ", " << y;
        EXPECT_NEAR(c[k] * 255.0f, b[k] / 128.0f, 0.03f) << x << ", " << y;
      }
    }
  }
}

TEST(Filtered, EdgesWrapByTheWrapMode) {
  // Dark picture whose last two columns and last two rows are bright.
  auto make = [](int32_t wrap) {
    auto s = MakeSamplingPyramid(16, 16, PyramidDataKind_Packed8, wrap);
    FillLevel(&s->pyramid, 0, [](int32_t x, int32_t y, float c[4]) {
      c[0] = (x >= 14) ? 255.0f : 0.0f;
      c[1] = (y >= 14) ? 255.0f : 0.0f;
      c[2] = 0;
      c[3] = 255;
    });
    return s;
  };
  struct Case {
    int32_t wrap;
    bool columnsWrap, rowsWrap;
  };
  for (const Case c : {Case{0, false, false}, Case{1, true, true}, Case{2, true, false}}) {
    auto s = make(c.wrap);
    float out[4];
    Read(&s->pyramid, 0, 0.0f, 0.0f, out);
    // At a pixel centre the two columns beyond the left edge weigh
    // 0.0562 and -0.0077 (sinc): their sum of 0.0485 × 255 shows.
    if (c.columnsWrap)
      EXPECT_NEAR(out[0], 255.0f * (115 - 15) / 2048.0f, 0.01f) << c.wrap;
    else
      EXPECT_EQ(out[0], 0.0f) << c.wrap;
    if (c.rowsWrap)
      EXPECT_GT(out[1], 10.0f) << c.wrap;
    else
      EXPECT_EQ(out[1], 0.0f) << c.wrap;
  }
}

TEST(Filtered, SincLobesDipBelowZeroBesideABrightPixel) {
  auto s = MakeSamplingPyramid(24, 24, PyramidDataKind_Packed8);
  FillLevel(&s->pyramid, 0, [](int32_t x, int32_t y, float c[4]) {
    c[0] = c[1] = c[2] = (x == 10 && y == 10) ? 255.0f : 0.0f;
    c[3] = 255;
  });
  float out[4];
  Read(&s->pyramid, 0, 12.0f, 10.0f, out);
  EXPECT_LT(out[0], 0.0f);
  EXPECT_NEAR(out[0], 255.0f * -15 * 1737 / (2048.0f * 2048.0f), 1e-3f);
  Read(&s->pyramid, 0, 8.0f, 10.0f, out);
  EXPECT_NEAR(out[0], 255.0f * -27 * 1737 / (2048.0f * 2048.0f), 1e-3f);
  EXPECT_EQ(out[3], 255.0f);
}

// Kinds without a filtered reader are refused rather than read with a
// wider pixel than they store; grey kinds read as grey.
TEST(Filtered, DispatchByKind) {
  struct Case {
    int32_t kind;
    float stored;
    float expect[4];
  };
  const Case cases[] = {
      {PyramidDataKind_Byte, 100, {100, 100, 100, 255}}, {PyramidDataKind_Grey16, 12345, {12345, 12345, 12345, 32768}},
      {PyramidDataKind_GreyFloat, 0.5f, {0, 0, 0, 0}},   {PyramidDataKind_Single16, 7, {0, 0, 0, 0}},
      {PyramidDataKind_ThreeSigned16, 7, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    // Small enough that a 16-byte read of the last pixel would leave the tile.
    auto s = MakeSamplingPyramid(3, 3, c.kind);
    ASSERT_TRUE(s);
    FillLevelsFlat(&s->pyramid, c.stored, 0, c.stored);
    for (const float x : {0.0f, 1.0f, 2.0f}) {
      float out[4];
      Read(&s->pyramid, 0, x, 2.0f, out);
      for (int k = 0; k < 4; ++k) EXPECT_EQ(out[k], c.expect[k]) << "kind " << c.kind;
    }
  }
  // A member asked about a pyramid of another kind answers zeros too.
  auto s = MakeSamplingPyramid(8, 8, PyramidDataKind_Byte);
  FillLevelsFlat(&s->pyramid, 50, 0, 50);
  float out[4] = {1, 1, 1, 1};
  gauss_pyramid_sample128bit(&s->pyramid, 0, 3, 3, &out[0], &out[1], &out[2], &out[3]);
  EXPECT_EQ(out[0], 0.0f);
  EXPECT_EQ(gauss_pyramid_sample16bitgray(&s->pyramid, 0, 3, 3), 0.0f);
  EXPECT_EQ(gauss_pyramid_sample1(&s->pyramid, 0, 3, 3), 50.0f);
}

// Points far outside the level, infinities and NaN: never an undefined
// conversion; far points read the edge, NaN reads nothing.
TEST(Filtered, WildCoordinates) {
  auto s = MakeSamplingPyramid(20, 20, PyramidDataKind_Packed8, 2);
  FillLevelsFlat(&s->pyramid, 90, 0, 255);
  const float wild[] = {-0.9f, -3.0f, -1e9f, 1e9f, 3e38f, -3e38f, INFINITY, -INFINITY, 25.0f};
  for (const float x : wild) {
    for (const float y : wild) {
      float out[4];
      Read(&s->pyramid, 0, x, y, out);
      EXPECT_EQ(out[0], 90.0f) << x << ", " << y;
    }
  }
  for (const float bad : {NAN, -NAN}) {
    float out[4];
    Read(&s->pyramid, 0, bad, 3.0f, out);
    EXPECT_EQ(out[3], 0.0f);
    Read(&s->pyramid, 0, 3.0f, bad, out);
    EXPECT_EQ(out[3], 0.0f);
  }
  float out[4];
  Read(&s->pyramid, s->pyramid.topLevel + 1, 1.0f, 1.0f, out);  // no such level
  EXPECT_EQ(out[3], 0.0f);
  Read(&s->pyramid, -1, 1.0f, 1.0f, out);
  EXPECT_EQ(out[3], 0.0f);
}

// A run of reads on one level gives each point the bits of its own read:
// points inside, across tile and wrap edges, far outside and NaN; a level
// that is not there, or a pyramid of another kind, gives zeros throughout.
TEST(Filtered, ARunReadsEachPointAsAlone) {
  auto s = MakeSamplingPyramid(1030, 530, PyramidDataKind_Packed8, 1);
  FillLevel(&s->pyramid, 0, [](int32_t x, int32_t y, float c[4]) {
    const uint32_t n = SamplingNoise(uint32_t(x), uint32_t(y), 5);
    for (int k = 0; k < 4; ++k) c[k] = float((n >> (8 * k)) & 255u);
  });
  paint_mipmap_of_pyramid(&s->pyramid);
  std::vector<float> xs, ys;
  for (int i = 0; i < 40; ++i) {
    xs.push_back(505.0f + 0.37f * float(i));  // across a tile's edge
    ys.push_back(3.0f + 0.11f * float(i));
  }
  for (const float x : {-3.0f, -0.5f, 1029.7f, 1e9f, NAN, 511.99f}) {
    xs.push_back(x);
    ys.push_back(x == x ? 528.5f : 4.0f);
  }
  xs.push_back(20.0f);
  ys.push_back(NAN);
  const int32_t n = int32_t(xs.size());
  for (const bool wide : {true, false}) {
    gauss_pyramid_allow_wide_sums(wide);
    for (const int32_t level : {0, 1, 3}) {
      std::vector<float> run(size_t(n) * 4);
      gauss_pyramid_sample4_run(&s->pyramid, level, xs.data(), ys.data(), n,
                                reinterpret_cast<float(*)[4]>(run.data()));
      for (int32_t i = 0; i < n; ++i) {
        float alone[4];
        gauss_pyramid_sample4_rgba(&s->pyramid, level, xs[size_t(i)], ys[size_t(i)], alone);
        EXPECT_EQ(std::memcmp(alone, &run[size_t(i) * 4], sizeof alone), 0)
            << "level " << level << " point " << i << (wide ? " wide" : " narrow");
      }
    }
  }
  gauss_pyramid_allow_wide_sums(true);
  const float x[2] = {3.0f, 4.0f}, y[2] = {3.0f, 4.0f};
  float out[2][4] = {{1, 1, 1, 1}, {1, 1, 1, 1}};
  gauss_pyramid_sample4_run(&s->pyramid, s->pyramid.topLevel + 1, x, y, 2, out);
  EXPECT_EQ(out[1][3], 0.0f);
  auto other = MakeSamplingPyramid(8, 8, PyramidDataKind_Four16);
  out[0][0] = 1.0f;
  gauss_pyramid_sample4_run(&other->pyramid, 0, x, y, 2, out);
  EXPECT_EQ(out[0][0], 0.0f);
}
