// --canvas: the stretch keeps every input pixel's detail on both axes, and
// the reduction is an area filter.
#include <gtest/gtest.h>

#include "host/canvas.h"

namespace gyhost {
namespace {

TEST(Canvas, TheStretchNeverShrinksAnAxis) {
  const struct {
    int32_t w, h, cw, ch, sw, sh;
  } cases[] = {
      {4096, 2048, 2048, 2048, 4096, 4096},  // little planet from a panorama
      {4096, 2048, 1024, 1024, 4096, 4096},
      {2048, 2048, 4096, 2048, 4096, 2048},
      {1000, 500, 300, 100, 1500, 500},
      {4096, 2048, 8192, 4096, 4096, 2048},  // same aspect: no stretch
      {30000, 1000, 1000, 1000, 30000, 30000},
      {30000, 10000, 1, 2, 16384, 32767},  // held to what a host rectangle holds
  };
  for (const auto& c : cases) {
    int32_t w = 0, h = 0;
    StretchedSize(c.w, c.h, c.cw, c.ch, &w, &h);
    EXPECT_EQ(w, c.sw) << c.w << "x" << c.h << " for " << c.cw << "x" << c.ch;
    EXPECT_EQ(h, c.sh) << c.w << "x" << c.h << " for " << c.cw << "x" << c.ch;
  }
}

HostImage Stripes(int32_t w, int32_t h) {
  HostImage image;
  EXPECT_TRUE(ResizeHostImage(&image, w, h, 1, false, SampleType::U8));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) *PixelAddress(image, x, y) = (x % 2) ? 200 : 0;
  return image;
}

TEST(Canvas, StretchingKeepsDetailAndReductionAveragesAreas) {
  std::string error;
  // Stretching the other axis leaves one-pixel stripes as sharp as they were.
  const HostImage in = Stripes(8, 4);
  HostImage tall;
  ASSERT_TRUE(ResampleImage(in, 8, 8, &tall, &error)) << error;
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(*PixelAddress(tall, x, y), (x % 2) ? 200 : 0) << x << "," << y;
  // Halving averages each pair; a third of the width averages 8/3 pixels.
  HostImage half;
  ASSERT_TRUE(ResampleImage(tall, 4, 4, &half, &error)) << error;
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(*PixelAddress(half, x, y), 100);
  HostImage third;
  ASSERT_TRUE(ResampleImage(Stripes(9, 1), 3, 1, &third, &error)) << error;
  EXPECT_EQ(*PixelAddress(third, 0, 0), 67);   // 0, 200, 0
  EXPECT_EQ(*PixelAddress(third, 1, 0), 133);  // 200, 0, 200
  // Metadata and depth travel along.
  HostImage tagged = Stripes(4, 2);
  tagged.meta.icc = {1, 2, 3};
  HostImage out;
  ASSERT_TRUE(ResampleImage(tagged, 2, 2, &out, &error)) << error;
  EXPECT_EQ(out.meta.icc, tagged.meta.icc);
}

}  // namespace
}  // namespace gyhost
