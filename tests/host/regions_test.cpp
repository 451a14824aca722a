// Delivery of requested rectangles: clipping, padding, planes, rates, and
// writing back only what lies inside the image.
#include "host/regions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace gyhost {
namespace {

// 4 x 3 RGB, 8-bit: sample = 100 * plane + 10 * row + column.
HostImage MakeSource(SampleType type = SampleType::U8) {
  HostImage image;
  EXPECT_TRUE(ResizeHostImage(&image, 4, 3, 3, false, type));
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      for (int32_t p = 0; p < 3; ++p) {
        const int v = 100 * p + 10 * y + x;
        uint8_t* at = PixelAddress(image, x, y) + p * BytesPerSample(type);
        if (type == SampleType::U8) *at = uint8_t(v);
        if (type == SampleType::U16) {
          const uint16_t s = uint16_t(v);
          std::memcpy(at, &s, 2);
        }
      }
    }
  }
  return image;
}

std::vector<int> Samples8(const RegionBuffer& b) { return std::vector<int>(b.bytes.begin(), b.bytes.end()); }

struct DeliveryCase {
  const char* name;
  Rect rect;
  int16_t lo, hi;
  Fixed16 rate;
  int16_t padding;
  std::vector<int> expected;  // rows top to bottom, pixels left to right, planes interleaved
};

RegionRequest RequestOf(const DeliveryCase& c) {
  RegionRequest r;
  r.rect = c.rect;
  r.loPlane = c.lo;
  r.hiPlane = c.hi;
  r.rate = c.rate;
  r.padding = c.padding;
  return r;
}

TEST(RegionDelivery, ClipsPadsAndSamples) {
  const DeliveryCase cases[] = {
      {"inside, all planes", Rect{1, 1, 2, 3}, 0, 2, kUnitRate, -1, {11, 111, 211, 12, 112, 212}},
      {"over the top-right corner, edge replicated",
       Rect{-1, 2, 1, 5},
       1,
       1,
       kUnitRate,
       -1,
       {102, 103, 103, 102, 103, 103}},
      {"over the top-right corner, filled", Rect{-1, 2, 1, 5}, 1, 1, kUnitRate, 7, {7, 7, 7, 102, 103, 7}},
      {"wholly outside below-right, replicated", Rect{10, 10, 11, 12}, 2, 2, kUnitRate, -1, {223, 223}},
      {"planes 1..2 only", Rect{2, 0, 3, 1}, 1, 2, kUnitRate, -1, {120, 220}},
      {"half rate", Rect{0, 0, 2, 2}, 0, 0, 2 * kUnitRate, -1, {0, 2, 20, 22}},
      {"half rate past the edge", Rect{1, 1, 2, 3}, 0, 0, 2 * kUnitRate, 0, {22, 0}},
      {"negative coordinates at half rate", Rect{-1, -1, 0, 0}, 0, 0, 2 * kUnitRate, -1, {0}},
  };
  const HostImage source = MakeSource();
  for (const DeliveryCase& c : cases) {
    const RegionRequest r = RequestOf(c);
    RegionBuffer b;
    ASSERT_EQ(DeliverRegion(source, r, &b), 0) << c.name;
    EXPECT_EQ(b.width, c.rect.right - c.rect.left) << c.name;
    EXPECT_EQ(b.rowBytes, b.width * (c.hi - c.lo + 1)) << c.name;
    EXPECT_EQ(Samples8(b), c.expected) << c.name;
  }
  // The input's delivery gives the same samples, lent or copied, and one
  // buffer used for both never keeps pointing into the image after a copy.
  RegionBuffer reused;
  for (const DeliveryCase& c : cases) {
    ASSERT_EQ(LendOrDeliverRegion(source, RequestOf(c), &reused), 0) << c.name;
    const auto* data = static_cast<const uint8_t*>(RegionData(&reused));
    ASSERT_NE(data, nullptr) << c.name;
    const int32_t pixelBytes = c.hi - c.lo + 1;
    const bool lent = data >= source.data.data() && data < source.data.data() + source.data.size();
    EXPECT_EQ(lent, std::string(c.name) == "inside, all planes") << c.name;
    std::vector<int> got;
    for (int32_t y = 0; y < reused.height; ++y)
      for (int32_t i = 0; i < reused.width * pixelBytes; ++i) got.push_back(data[size_t(y) * reused.rowBytes + i]);
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

TEST(RegionDelivery, FillLevelIsScaledToTheDepth) {
  const HostImage source = MakeSource(SampleType::U16);
  RegionRequest r;
  r.rect = Rect{-1, 0, 0, 1};
  r.padding = 255;
  RegionBuffer b;
  ASSERT_EQ(DeliverRegion(source, r, &b), 0);
  uint16_t v;
  std::memcpy(&v, b.bytes.data(), 2);
  EXPECT_EQ(v, kHost16Max);
}

TEST(RegionDelivery, RefusesWhatItCannotServe) {
  const HostImage source = MakeSource();
  RegionBuffer b;
  RegionRequest badPlanes;
  badPlanes.rect = Rect{0, 0, 1, 1};
  badPlanes.hiPlane = 3;  // RGB without alpha has planes 0..2
  EXPECT_EQ(DeliverRegion(source, badPlanes, &b), kRequestBadParameter);
  RegionRequest reversed = badPlanes;
  reversed.loPlane = 2;
  reversed.hiPlane = 1;
  EXPECT_EQ(DeliverRegion(source, reversed, &b), kRequestBadParameter);
  RegionRequest huge;
  huge.rect = Rect{-32768, -32768, 32767, 32767};
  huge.hiPlane = 2;
  EXPECT_EQ(DeliverRegion(source, huge, &b), kRequestTooLarge);
  EXPECT_EQ(RegionData(&b), nullptr);
}

TEST(RegionDelivery, EmptyRectangleGivesNoData) {
  const HostImage source = MakeSource();
  RegionRequest r;
  r.rect = Rect{2, 2, 2, 3};
  RegionBuffer b;
  EXPECT_EQ(DeliverRegion(source, r, &b), 0);
  EXPECT_EQ(RegionData(&b), nullptr);
  EXPECT_EQ(b.rowBytes, 0);
}

TEST(RegionCommit, WritesOnlyInsideTheImageAndOnlyItsPlanes) {
  HostImage dest = MakeSource();
  const HostImage before = dest;
  RegionRequest r;
  r.rect = Rect{2, 3, 4, 6};  // covers (3, 2) inside; the rest is outside
  r.loPlane = r.hiPlane = 1;
  RegionBuffer b;
  ASSERT_EQ(DeliverRegion(dest, r, &b), 0);
  std::fill(b.bytes.begin(), b.bytes.end(), uint8_t(9));
  CommitRegion(b, &dest);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      for (int32_t p = 0; p < 3; ++p) {
        const int expected = (x == 3 && y == 2 && p == 1) ? 9 : PixelAddress(before, x, y)[p];
        EXPECT_EQ(PixelAddress(dest, x, y)[p], expected) << x << "," << y << " plane " << p;
      }
    }
  }
}

TEST(RegionCommit, ReducedRateBuffersAreNotWrittenBack) {
  HostImage dest = MakeSource();
  const SampleBytes before = dest.data;
  RegionRequest r;
  r.rect = Rect{0, 0, 1, 2};
  r.rate = 2 * kUnitRate;
  RegionBuffer b;
  ASSERT_EQ(DeliverRegion(dest, r, &b), 0);
  std::fill(b.bytes.begin(), b.bytes.end(), uint8_t(1));
  CommitRegion(b, &dest);
  EXPECT_EQ(dest.data, before);
}

}  // namespace
}  // namespace gyhost
