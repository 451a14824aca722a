// Single-pixel reads and writes: coordinate rules, kind checks (no access
// beyond a pixel's bytes), unit-colour stores and the 8-bit conversions.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "frame/globals.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_reads.h"
#include "pyramid_test_util.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Kind 3 pixel (x, y) holds red x, green y.
PyramidPtr CoordinatePyramid(int32_t width, int32_t height, int32_t wrapMode) {
  PyramidPtr p = MakePyramid(width, height, PyramidDataKind_Packed8, wrapMode);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) set_pyramid_sample_pointColor(x, y, p.get(), 0, x, y, 0, 255);
  return p;
}

TEST(PyramidPixels, WrapAndClampRules) {
  struct Case {
    int32_t wrapMode, x, y, wantX, wantY;
  } cases[] = {
      {2, -1, 3, 99, 3},  {2, 100, 3, 0, 3},  {2, 250, 3, 99, 3}, {2, -150, 3, 0, 3},
      {2, 5, -1, 5, 0},   {2, 5, 50, 5, 49},  {1, 5, -1, 5, 49},  {1, 5, 50, 5, 0},
      {1, -1, -1, 99, 49}, {0, -1, -1, 0, 0}, {0, 100, 50, 99, 49}, {7, -1, 60, 0, 49},
  };
  for (const Case& c : cases) {
    PyramidPtr p = CoordinatePyramid(100, 50, c.wrapMode);
    int32_t r, g, b, a;
    get_pyramid_sample_point4call(c.x, c.y, p.get(), 0, &r, &g, &b, &a);
    EXPECT_EQ(r, c.wantX) << "wrap " << c.wrapMode << " at " << c.x << ", " << c.y;
    EXPECT_EQ(g, c.wantY) << "wrap " << c.wrapMode << " at " << c.x << ", " << c.y;
  }
}

TEST(PyramidPixels, OnlyTheKind3ReaderWraps) {
  PyramidPtr p = MakePyramid(10, 4, PyramidDataKind_Four16, 2);
  set_pyramid_sample_point64bit(9, 0, p.get(), 0, 1, 2, 3, 4);
  set_pyramid_sample_point64bit(0, 0, p.get(), 0, 5, 6, 7, 8);
  int32_t r, g, b, a;
  get_pyramid_sample_pointColorcall(-1, 0, p.get(), 0, &r, &g, &b, &a);
  EXPECT_EQ(r, 5);  // clamped to column 0
  get_pyramid_sample_point64bitcall(12, -3, p.get(), 0, &r, &g, &b, &a);
  EXPECT_EQ(a, 4);
}

TEST(PyramidPixels, WritersIgnorePointsOutsideTheLevel) {
  PyramidPtr p = CoordinatePyramid(6, 4, 2);
  const std::vector<uint8_t> before = LevelBytes(p.get(), 0);
  const int32_t points[][2] = {{6, 0}, {-1, 0}, {0, 4}, {0, -1}};
  for (const auto& pt : points) {
    set_pyramid_sample_pointColor(pt[0], pt[1], p.get(), 0, 9, 9, 9, 9);
    set_pyramid_sample_point4(pt[0], pt[1], p.get(), 0, 9, 9, 9, 9);
    const float unit[4] = {1, 1, 1, 1};
    set_unitary_color(pt[0], pt[1], p.get(), 0, unit);
  }
  EXPECT_EQ(LevelBytes(p.get(), 0), before);
  // A level that does not exist is no level at all.
  set_pyramid_sample_pointColor(0, 0, p.get(), p->topLevel + 1, 9, 9, 9, 9);
  int32_t r, g, b, a;
  get_pyramid_sample_pointColorcall(0, 0, p.get(), -1, &r, &g, &b, &a);
  EXPECT_EQ(r + g + b + a, 0);
}

// Pyramids of 1 x 1 pixels, whose tiles hold exactly one pixel's bytes: an
// accessor that moved more bytes than the kind has would be caught by the
// address sanitizer.
TEST(PyramidPixels, AccessorsRefuseKindsWithSmallerPixels) {
  for (int32_t kind : {0, 1, 2, 5}) {
    SCOPED_TRACE(testing::Message() << "kind " << kind);
    PyramidPtr p = MakePyramid(1, 1, kind);
    ASSERT_TRUE(p);
    std::memset(PyramidPixelAddress(p.get(), 0, 0, 0), 0x5A, size_t(p->bytesPerPixel));
    int32_t c[4] = {1, 1, 1, 1};
    get_pyramid_sample_pointColorcall(0, 0, p.get(), 0, &c[0], &c[1], &c[2], &c[3]);
    EXPECT_EQ(c[0] | c[1] | c[2] | c[3], 0);
    get_pyramid_sample_point4call(0, 0, p.get(), 0, &c[0], &c[1], &c[2], &c[3]);
    get_pyramid_sample_point64bitcall(0, 0, p.get(), 0, &c[0], &c[1], &c[2], &c[3]);
    EXPECT_EQ(c[0] | c[1] | c[2] | c[3], 0);
    float f[4];
    get_pyramid_sample_point128bit_HDRcomponent_call(0, 0, p.get(), 0, &f[0], &f[1], &f[2], &f[3]);
    uint32_t word = 1;
    get_pyramid_sample_point4_raw(0, 0, p.get(), 0, &word);
    EXPECT_EQ(word, 0u);
    if (kind != PyramidDataKind_GreyFloat) {
      EXPECT_EQ(get_pyramid_sample_point_grey32_as_long(0, 0, p.get(), 0), 0);
    }

    set_pyramid_sample_pointColor(0, 0, p.get(), 0, 1, 2, 3, 4);
    set_pyramid_sample_point_unclampedColorcall(0, 0, p.get(), 0, 1, 2, 3, 4);
    set_pyramid_sample_point4(0, 0, p.get(), 0, 1, 2, 3, 4);
    set_pyramid_sample_point64bit(0, 0, p.get(), 0, 1, 2, 3, 4);
    set_pyramid_sample_point128bit_floats(0, 0, p.get(), 0, 1, 2, 3, 4);
    const float unit[4] = {1, 1, 1, 1};
    set_unitary_color(0, 0, p.get(), 0, unit);
    if (kind != PyramidDataKind_Byte) set_pyramid_sample_point1(0, 0, p.get(), 0, 1);
    const uint8_t* at = PyramidPixelAddress(p.get(), 0, 0, 0);
    for (int i = 0; i < p->bytesPerPixel; ++i) EXPECT_EQ(at[i], 0x5A) << "byte " << i;
  }
}

TEST(PyramidPixels, ColourRoundTripsPerKind) {
  PyramidPtr k4 = MakePyramid(3, 3, PyramidDataKind_Four16);
  set_pyramid_sample_pointColor(1, 2, k4.get(), 0, 0, 32768, 65535 + 7, 12345);
  int32_t c[4];
  get_pyramid_sample_pointColorcall(1, 2, k4.get(), 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[1], 32768);
  EXPECT_EQ(c[2], 6);  // the low 16 bits
  EXPECT_EQ(c[3], 12345);

  PyramidPtr k7 = MakePyramid(3, 3, PyramidDataKind_ThreeSigned16);
  set_pyramid_sample_pointColor(2, 0, k7.get(), 0, -5, 32767, -32768, 99);
  c[3] = 77;
  get_pyramid_sample_pointColorcall(2, 0, k7.get(), 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], -5);
  EXPECT_EQ(c[1], 32767);
  EXPECT_EQ(c[2], -32768);
  EXPECT_EQ(c[3], 77);  // three channels: alpha untouched

  PyramidPtr k9 = MakePyramid(3, 3, PyramidDataKind_FourFloat);
  set_pyramid_sample_pointColor(0, 1, k9.get(), 0, std::bit_cast<int32_t>(1.5f), std::bit_cast<int32_t>(-2.0f),
                                0, std::bit_cast<int32_t>(1.0f));
  float f[4];
  get_pyramid_sample_point128bitcall(0, 1, k9.get(), 0, &f[0], &f[1], &f[2], &f[3]);
  EXPECT_EQ(f[0], 1.5f);
  EXPECT_EQ(f[1], -2.0f);
  EXPECT_EQ(f[3], 1.0f);

  PyramidPtr k3 = MakePyramid(3, 3, PyramidDataKind_Packed8);
  set_pyramid_sample_pointColor(2, 2, k3.get(), 0, 1, 2 + 256, 3, 4);
  uint32_t word;
  EXPECT_EQ(*get_pyramid_sample_point4_raw(2, 2, k3.get(), 0, &word), 0x01020304u);
  EXPECT_EQ(uint32_t(get_pyramid_sample_point_grey32_as_long(5, 5, k3.get(), 0)), 0x01020304u);

  PyramidPtr k0 = MakePyramid(3, 3, PyramidDataKind_Byte);
  set_pyramid_sample_point1(1, 1, k0.get(), 0, 200);
  EXPECT_EQ(get_pyramid_sample_pointGray(1, 1, k0.get(), 0), 200);
  PyramidDescriptor unallocated{};
  set_pyramid_sample_point1(0, 0, &unallocated, 0, 1);
  EXPECT_EQ(get_pyramid_sample_point_grey32_as_long(0, 0, &unallocated, 0), 0);
  EXPECT_EQ(get_pyramid_sample_pointGray(0, 0, &unallocated, 0), 0);
}

TEST(PyramidPixels, UnitColourStoresClampIntoTheStoredRange) {
  struct Case {
    int32_t kind;
    float unit[4];
    int32_t want[4];
  } cases[] = {
      {3, {1.0f, 0.5f, 0.0f, 1.0f}, {255, 127, 0, 255}},
      {3, {-0.01f, 1.01f, kNaN, 0.5f}, {0, 255, 0, 127}},
      {3, {kInf, -kInf, 0.999f, 0.004f}, {255, 0, 254, 1}},
      {4, {-0.01f, 1.5f, 0.5f, 1.0f}, {0, 32768, 16384, 32768}},
      {4, {kNaN, 0.25f, 1e30f, 0.0f}, {0, 8192, 32768, 0}},
  };
  for (const Case& c : cases) {
    PyramidPtr p = MakePyramid(2, 2, c.kind);
    set_unitary_color(1, 0, p.get(), 0, c.unit);
    int32_t got[4];
    get_pyramid_sample_pointColorcall(1, 0, p.get(), 0, &got[0], &got[1], &got[2], &got[3]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i], c.want[i]) << "kind " << c.kind << " channel " << i;
  }
  PyramidPtr f = MakePyramid(2, 2, PyramidDataKind_FourFloat);
  const float hdr[4] = {-0.01f, 70000.0f, 0.5f, 1.0f};
  set_unitary_color(0, 0, f.get(), 0, hdr);
  float got[4];
  get_intcoord_unitary_color(0, 0, f.get(), 0, got);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i], hdr[i]);
}

TEST(PyramidPixels, EightBitConversions) {
  struct Case {
    float f;
    int plain, preview;
  } cases[] = {
      {0.0f, 0, 0},     {1.0f, 255, 255}, {0.5f, 127, 180}, {0.25f, 63, 127}, {4.0f, 255, 255},
      {-1.0f, 0, 0},    {-0.01f, 0, 0},   {kNaN, 0, 0},     {kInf, 255, 255}, {-kInf, 0, 0},
      {1e30f, 255, 255}, {0.999f, 254, 254},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(make8from32f(c.f), c.plain) << c.f;
    EXPECT_EQ(make8from32f_for_little_previews(c.f), c.preview) << c.f;
  }
}

TEST(PyramidPixels, IntegerCoordinateUnitReads) {
  PyramidPtr grey = MakePyramid(4, 4, PyramidDataKind_Byte);
  set_pyramid_sample_point1(3, 3, grey.get(), 0, 51);
  float c[4];
  get_intcoord_unitary_color(9, 9, grey.get(), 0, c);  // clamped to (3, 3)
  EXPECT_FLOAT_EQ(c[0], 0.2f);
  EXPECT_EQ(c[0], c[2]);
  EXPECT_EQ(c[3], 1.0f);

  PyramidPtr k3 = CoordinatePyramid(8, 2, 2);
  get_intcoord_unitary_color(-1, 0, k3.get(), 0, c);  // wraps to column 7
  EXPECT_EQ(c[0], 7.0f * k3->toUnitScale);

  PyramidPtr k5 = MakePyramid(2, 2, PyramidDataKind_GreyFloat);
  const float v = 3.25f;
  std::memcpy(PyramidPixelAddress(k5.get(), 0, 1, 1), &v, sizeof v);
  get_intcoord_unitary_color(1, 1, k5.get(), 0, c);
  EXPECT_EQ(c[1], 3.25f);
}

TEST(PyramidPixels, TransparencyIsCopiedForEditableTransparencyOnly) {
  Globals g{};
  FilterRecord fr{};
  g.filterRecord = &fr;
  for (int16_t filterCase = 1; filterCase <= 7; ++filterCase) {
    fr.filterCase = filterCase;
    EXPECT_EQ(ShouldCopyTransparencyForPyramid(&g), filterCase == 4 || filterCase == 5) << filterCase;
  }
  EXPECT_FALSE(ShouldCopyTransparencyForPyramid(nullptr));
}

}  // namespace
