// Building coarser levels: the 32-tap reduction per data kind against a
// reference made from single-pixel reads, the edge and wrap rules, the
// integer kinds' rounded mean, strips, the work-order dispatch, and the same
// bytes from any number of worker tasks.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_reads.h"
#include "pyramid/pyramid_reduce.h"
#include "pyramid_test_util.h"
#include "support/fake_host.h"

namespace {

void FillNoise(PyramidDescriptor* p, uint32_t salt) {
  for (int32_t y = 0; y < p->levelHeight[0]; ++y)
    for (int32_t x = 0; x < p->levelWidth[0]; ++x) {
      const uint32_t n = TestNoise(uint32_t(x), uint32_t(y), salt);
      uint8_t* at = PyramidPixelAddress(p, 0, x, y);
      switch (p->dataKind) {
        case PyramidDataKind_FourFloat:
          for (int c = 0; c < 4; ++c) {
            const float v = float((n >> (8 * c)) & 255u) / 97.0f;  // up to 2.6: high dynamic range
            std::memcpy(at + 4 * c, &v, 4);
          }
          break;
        case PyramidDataKind_GreyFloat: {
          const float v = float(n & 0xFFFFu) / 1000.0f;
          std::memcpy(at, &v, 4);
          break;
        }
        case PyramidDataKind_Four16:
          for (int c = 0; c < 4; ++c) {
            const uint16_t v = uint16_t(((n >> (8 * c)) & 255u) * 128u + (n >> 30));
            std::memcpy(at + 2 * c, &v, 2);
          }
          break;
        case PyramidDataKind_Grey16: {
          const uint16_t v = uint16_t(n % 32769u);
          std::memcpy(at, &v, 2);
          break;
        }
        default: std::memcpy(at, &n, size_t(p->bytesPerPixel));
      }
    }
}

// Channel c of source pixel (x, y), read through the single-pixel accessors,
// which fold coordinates by the rule each kind uses.
void PaintLevelSolid(PyramidDescriptor* p, int32_t level, int32_t v) {
  for (int32_t y = 0; y < p->levelHeight[level]; ++y)
    for (int32_t x = 0; x < p->levelWidth[level]; ++x) set_pyramid_sample_pointColor(x, y, p, level, v, v, v, v);
}

float SourceValue(const PyramidDescriptor* p, int32_t level, int32_t x, int32_t y, int c) {
  switch (p->dataKind) {
    case PyramidDataKind_Packed8:
    case PyramidDataKind_Four16: {
      int32_t v[4];
      get_pyramid_sample_pointColorcall(x, y, p, level, &v[0], &v[1], &v[2], &v[3]);
      return float(v[c]);
    }
    case PyramidDataKind_FourFloat: {
      float v[4];
      get_pyramid_sample_point128bit_HDRcomponent_call(x, y, p, level, &v[0], &v[1], &v[2], &v[3]);
      return v[c];
    }
    case PyramidDataKind_GreyFloat: return std::bit_cast<float>(get_pyramid_sample_pointGray(x, y, p, level));
    default: return float(get_pyramid_sample_pointGray(x, y, p, level));
  }
}

// The reduction of one destination channel, written out plainly.
float ReferencePixel(const PyramidDescriptor* p, int32_t level, int32_t X, int32_t Y, int c) {
  const bool isFloat = p->dataKind == PyramidDataKind_FourFloat || p->dataKind == PyramidDataKind_GreyFloat;
  int32_t isum = 0;
  double fsum = 0.0;
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) {
      const int32_t w = kReductionWeights[j][i];
      if (w == 0) continue;
      const float v = SourceValue(p, level, 2 * X - 2 + i, 2 * Y - 2 + j, c);
      if (isFloat)
        fsum += double(w) * double(v);
      else
        isum += w * int32_t(v);
    }
  if (isFloat) return float(std::clamp(fsum / kReductionWeightSum, 0.0, 65535.0));
  const float full = (p->dataKind == PyramidDataKind_Packed8 || p->dataKind == PyramidDataKind_Byte) ? 255.0f
                                                                                                     : 32768.0f;
  const float v = float((isum + kReductionWeightSum / 2) / kReductionWeightSum);
  return v >= full ? full : v;
}

// Every channel of every coarser level against the kernel written out; the
// first few mismatches are told.
void ExpectLevelsMatchReference(const PyramidDescriptor* p) {
  int mismatches = 0;
  for (int32_t L = 0; L < p->topLevel && mismatches < 5; ++L)
    for (int32_t Y = 0; Y < p->levelHeight[L + 1] && mismatches < 5; ++Y)
      for (int32_t X = 0; X < p->levelWidth[L + 1] && mismatches < 5; ++X)
        for (int ch = 0; ch < p->channels; ++ch) {
          const float want = ReferencePixel(p, L, X, Y, ch);
          const float got = SourceValue(p, L + 1, X, Y, ch);
          if (got != want) {
            ADD_FAILURE() << "level " << L + 1 << " (" << X << ", " << Y << ") channel " << ch << ": " << got
                          << " != " << want;
            ++mismatches;
          }
        }
}

TEST(PyramidLevels, ReductionMatchesTheKernelAcrossTilesAndEdges) {
  struct Case {
    int32_t kind, wrapMode;
  } cases[] = {{3, 0}, {3, 2}, {3, 1}, {4, 2}, {9, 1}, {0, 0}, {1, 0}, {5, 2}};
  // Level 1 is 516 wide (or high): strips cross a tile edge in the source and
  // in the destination, along each axis.
  const int32_t sizes[][2] = {{1030, 13}, {11, 1030}, {5, 5}};
  for (const Case& c : cases)
    for (const auto& size : sizes) {
      SCOPED_TRACE(testing::Message() << "kind " << c.kind << " wrap " << c.wrapMode << ", " << size[0] << " x "
                                      << size[1]);
      PyramidPtr p = MakePyramid(size[0], size[1], c.kind, c.wrapMode);
      ASSERT_TRUE(p);
      FillNoise(p.get(), uint32_t(c.kind * 7 + c.wrapMode));
      paint_mipmap_of_pyramid(p.get());
      ExpectLevelsMatchReference(p.get());
    }
}

// Every value a kind can store, not only the intake's: bytes at 0 and 255,
// 16-bit channels above the 32768 that the mean stops at (the widest sums),
// floats below 0 and above 65535 (both clamped). The float values are
// multiples of 1/64, so that every double sum is exact in any order.
void FillExtremes(PyramidDescriptor* p) {
  for (int32_t y = 0; y < p->levelHeight[0]; ++y)
    for (int32_t x = 0; x < p->levelWidth[0]; ++x) {
      const uint32_t n = TestNoise(uint32_t(x), uint32_t(y), 5);
      uint8_t* at = PyramidPixelAddress(p, 0, x, y);
      for (int c = 0; c < p->channels; ++c) {
        const uint32_t pick = (n >> (4 * c)) & 15u, bits = n >> (8 + 2 * c);
        switch (p->dataKind) {
          case PyramidDataKind_Packed8: at[c] = uint8_t(pick < 6 ? 255u : (pick < 9 ? 0u : bits)); break;
          case PyramidDataKind_Four16:
          case PyramidDataKind_Grey16: {
            const uint16_t v = uint16_t(pick < 6 ? 65535u : bits);
            std::memcpy(at + 2 * c, &v, 2);
            break;
          }
          default: {
            const float v = pick < 4 ? -2.0f : (pick < 8 ? 70000.0f : float(bits & 0x3FFFFFu) / 64.0f);
            std::memcpy(at + 4 * c, &v, 4);
          }
        }
      }
    }
}

TEST(PyramidLevels, ReductionMatchesTheKernelAtTheEndsOfEachKindsRange) {
  for (int32_t kind : {3, 4, 1, 9})
    for (int32_t wrapMode : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << " wrap " << wrapMode);
      // Odd sizes: runs of source columns end at a tile edge, at the level's
      // edge and within a chunk.
      PyramidPtr p = MakePyramid(1037, 21, kind, wrapMode);
      ASSERT_TRUE(p);
      FillExtremes(p.get());
      paint_mipmap_of_pyramid(p.get());
      ExpectLevelsMatchReference(p.get());
    }
}

TEST(PyramidLevels, UniformLevelsAcrossTheKinds) {
  struct Case {
    int32_t kind;
    float value;
    std::vector<float> levels;  // value of levels 1, 2, ...
  } cases[] = {
      // A uniform level stays as it is: the mean is rounded, not lifted.
      {3, 200, {200, 200, 200}},
      {3, 255, {255, 255, 255}},
      {3, 100, {100, 100, 100}},
      {3, 1, {1, 1, 1}},
      {0, 200, {200, 200}},
      {4, 32768, {32768, 32768}},
      {1, 30000, {30000, 30000}},
      {9, 0.5f, {0.5f, 0.5f, 0.5f}},
      // Floats that no power of two gives: kept to the bit.
      {9, 0.1f, {0.1f, 0.1f, 0.1f}},
      {9, 0.88823688f, {0.88823688f, 0.88823688f, 0.88823688f}},
      {5, 2.7182817f, {2.7182817f, 2.7182817f}},
      {9, 70000, {65535, 65535}},
      {5, 0.25f, {0.25f, 0.25f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " value " << c.value);
    PyramidPtr p = MakePyramid(9, 9, c.kind);
    for (int32_t y = 0; y < 9; ++y)
      for (int32_t x = 0; x < 9; ++x) {
        uint8_t* at = PyramidPixelAddress(p.get(), 0, x, y);
        for (int ch = 0; ch < p->channels; ++ch) {
          if (c.kind == 9 || c.kind == 5) {
            std::memcpy(at + 4 * ch, &c.value, 4);
          } else if (p->bytesPerChannel == 2) {
            const uint16_t v = uint16_t(c.value);
            std::memcpy(at + 2 * ch, &v, 2);
          } else {
            at[ch] = uint8_t(c.value);
          }
        }
      }
    paint_mipmap_of_pyramid(p.get());
    for (size_t i = 0; i < c.levels.size(); ++i)
      for (int ch = 0; ch < p->channels; ++ch)
        EXPECT_EQ(SourceValue(p.get(), int32_t(i) + 1, 1, 2, ch), c.levels[i]) << "level " << i + 1;
  }
}

TEST(PyramidLevels, OnePixelPyramidKeepsItsValueInItsSecondLevel) {
  PyramidPtr p = MakePyramid(1, 1, PyramidDataKind_Packed8);
  set_pyramid_sample_pointColor(0, 0, p.get(), 0, 200, 200, 200, 200);
  paint_mipmap_of_pyramid(p.get());
  uint32_t word;
  EXPECT_EQ(*get_pyramid_sample_point4_raw(0, 0, p.get(), 1, &word), 0xC8C8C8C8u);
}

// A bright right-hand column reaches the left edge of the next level only
// through a wrapping kind 3 pyramid; kind 9 repeats its edge in every mode.
TEST(PyramidLevels, WrapModeFoldsOnlyTheKind3Taps) {
  struct Case {
    int32_t kind, wrapMode;
    bool reachesLeft;
  } cases[] = {{3, 2, true}, {3, 1, true}, {3, 0, false}, {9, 2, false}};
  for (const Case& c : cases) {
    PyramidPtr p = MakePyramid(8, 4, c.kind, c.wrapMode);
    const int32_t on = c.kind == 9 ? std::bit_cast<int32_t>(1.0f) : 255;
    for (int32_t y = 0; y < 4; ++y)
      for (int32_t x = 0; x < 8; ++x)
        set_pyramid_sample_pointColor(x, y, p.get(), 0, x == 7 ? on : 0, 0, 0, 0);
    paint_mipmap_of_pyramid(p.get());
    EXPECT_EQ(SourceValue(p.get(), 1, 0, 1, 0) > 0.0f, c.reachesLeft) << "kind " << c.kind << " wrap " << c.wrapMode;
  }
}

TEST(PyramidLevels, ThreeSignedChannelsTakeABox) {
  PyramidPtr p = MakePyramid(3, 2, PyramidDataKind_ThreeSigned16);
  const int32_t px[3][3] = {{10, -10, 7}, {32767, -32767, 3}, {-3, 0, 1}};  // columns 0, 1, 2
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) set_pyramid_sample_pointColor(x, y, p.get(), 0, px[x][0], px[x][1], px[x][2], 0);
  paint_mipmap_of_pyramid(p.get());
  int32_t c[4];
  get_pyramid_sample_pointColorcall(0, 0, p.get(), 1, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 32767);   // (2 * 10 + 2 * 32767) / 2, clamped
  EXPECT_EQ(c[1], -32767);  // clamped at the other end
  EXPECT_EQ(c[2], 5);       // (14 + 6) / 4
  get_pyramid_sample_pointColorcall(1, 0, p.get(), 1, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], -6);  // column 3 clamps to column 2: 4 * -3 / 2
  EXPECT_EQ(c[2], 1);
}

TEST(PyramidLevels, StripsAreClippedToTheLevel) {
  PyramidPtr whole = MakePyramid(20, 10, PyramidDataKind_Packed8);
  FillNoise(whole.get(), 3);
  PyramidPtr part = MakePyramid(20, 10, PyramidDataKind_Packed8);
  FillNoise(part.get(), 3);
  paint_mipmap_of_pyramid(whole.get());
  // Level 1 is 10 x 6: five rows round up to six.
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 10; ++x) set_pyramid_sample_pointColor(x, y, part.get(), 1, 1, 2, 3, 4);

  Rect strip{-3, 5, 99, 99};
  UpdateNextSmallerLevel_core(part.get(), 0, &strip);
  EXPECT_EQ(strip.top, 0);
  EXPECT_EQ(strip.left, 5);
  EXPECT_EQ(strip.bottom, 6);
  EXPECT_EQ(strip.right, 10);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 10; ++x) {
      uint32_t a, b;
      get_pyramid_sample_point4_raw(x, y, part.get(), 1, &a);
      get_pyramid_sample_point4_raw(x, y, whole.get(), 1, &b);
      EXPECT_EQ(a, x < 5 ? 0x01020304u : b) << x << ", " << y;
    }
  // The top level has nothing above it to fill.
  Rect any{0, 0, 1, 1};
  UpdateNextSmallerLevel_core(part.get(), part->topLevel, &any);
  UpdateNextSmallerLevel_core(part.get(), -1, &any);
}

TEST(PyramidLevels, AnySplitIntoStripsGivesTheSameBytes) {
  for (int32_t kind : {3, 9}) {
    PyramidPtr whole = MakePyramid(700, 90, kind, 2);
    PyramidPtr split = MakePyramid(700, 90, kind, 2);
    FillNoise(whole.get(), 11);
    FillNoise(split.get(), 11);
    paint_mipmap_of_pyramid(whole.get());
    for (int32_t L = 0; L < split->topLevel; ++L) {
      const int32_t width = split->levelWidth[L + 1], height = split->levelHeight[L + 1];
      for (int32_t i = 0; i < 7; ++i) {
        Rect strip{0, int16_t(i * width / 7), int16_t(height), int16_t((i + 1) * width / 7)};
        UpdateNextSmallerLevel_core(split.get(), L, &strip);
      }
    }
    for (int32_t L = 1; L <= whole->topLevel; ++L)
      EXPECT_EQ(LevelBytes(split.get(), L), LevelBytes(whole.get(), L)) << "kind " << kind << " level " << L;
  }
}

TEST(PyramidLevels, WorkOrderDispatch) {
  PyramidPtr p = MakePyramid(6, 6, PyramidDataKind_Packed8);
  PaintLevelSolid(p.get(), 0, 90);
  PaintLevelSolid(p.get(), 1, 7);
  MipLevelJob job{p.get(), 0, Rect{0, 0, 3, 3}};
  PerTaskStuffType task{};
  task.job = &job;
  task.strip = job.destination;
  EXPECT_FALSE(DoStandardTasks(&task, -1002));
  EXPECT_FALSE(DoStandardTasks(&task, TaskKind_SampleRow));
  int32_t c[4];
  get_pyramid_sample_point4call(1, 1, p.get(), 1, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 7);  // untouched
  EXPECT_TRUE(DoStandardTasks(&task, TaskKind_PyramidLevel));
  get_pyramid_sample_point4call(1, 1, p.get(), 1, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 90);

  // The high-quality order reads bilinear unit colour at half-pixel steps: a
  // flat level stays flat (give or take the last unit of truncation).
  PaintLevelSolid(p.get(), 1, 7);
  task.strip = job.destination;
  EXPECT_TRUE(DoStandardTasks(&task, TaskKind_PyramidLevelHQ));
  get_pyramid_sample_point4call(2, 0, p.get(), 1, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_NEAR(c[0], 90, 1);
  EXPECT_NEAR(c[3], 90, 1);
}

// The pool's shares write disjoint strips of each level from a finished
// level below: every task count gives the bytes of the one-piece build.
TEST(PyramidLevels, WorkerTasksGiveTheSameBytesAsOnePiece) {
  for (int32_t kind : {3, 9, 4}) {
    PyramidPtr reference = MakePyramid(1100, 260, kind, 2);
    FillNoise(reference.get(), 5);
    paint_mipmap_of_pyramid(reference.get());
    for (int tasks : {1, 3, 8}) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << ", " << tasks << " tasks");
      FakeHost host(4, 4, kImageModeRGB, 8, 3, false);
      host.StartTasks(tasks);
      PyramidDescriptor& p = host.globals->pyramids[kPyramidMain];
      ASSERT_TRUE(TryToAllocatePyramid_2006(&p, 1100, 260, kind, 2));
      FillNoise(&p, 5);
      paint_mipmap_of_pyramid(&p);
      EXPECT_EQ(host.globals->taskCount, 1) << "the last level is one pixel";
      for (int32_t L = 1; L <= p.topLevel; ++L)
        EXPECT_EQ(LevelBytes(&p, L), LevelBytes(reference.get(), L)) << "level " << L;
    }
  }
}

}  // namespace
