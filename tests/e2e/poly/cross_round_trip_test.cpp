// The cube crosses the right way up: the built-in panorama, stretched to the
// cross's canvas so that the cross fills it, is rendered as the horizontal
// (4:3) or the vertical (3:4) cross, read back through the matching cross
// input layout and rendered as an equirectangular map. The map (letterboxed
// in the same canvas) must give back the panorama over the band between 45
// degrees south and north, and be far closer to it than to the panorama
// turned a half turn, which is what a cross laid upside down gives back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "host/host_image.h"
#include "host/io/image_io.h"
#include "poly_e2e_util.h"

namespace {

using gyhost::HostImage;
using polye2e::At;
using polye2e::Read;
using polye2e::RunGyrelle;
using polye2e::Scratch;

constexpr double kMinPsnrDb = 30.0;
// The half-turned panorama must score at least this much lower.
constexpr double kMinMarginDb = 15.0;

// Bilinear resampling of an 8-bit RGB(A) image to width x height, RGB kept,
// pixel centres mapped onto pixel centres, edges clamped (the panorama's
// seam is blended by nothing here: the columns next to it are far from the
// band's grid lines).
HostImage Resized(const HostImage& src, int32_t width, int32_t height) {
  HostImage out;
  EXPECT_TRUE(gyhost::ResizeHostImage(&out, width, height, 3, false, gyhost::SampleType::U8));
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const double sx = std::clamp((x + 0.5) * src.width / width - 0.5, 0.0, src.width - 1.0);
      const double sy = std::clamp((y + 0.5) * src.height / height - 0.5, 0.0, src.height - 1.0);
      const int32_t x0 = int32_t(sx), y0 = int32_t(sy);
      const int32_t x1 = std::min(x0 + 1, src.width - 1), y1 = std::min(y0 + 1, src.height - 1);
      const double fx = sx - x0, fy = sy - y0;
      for (int32_t c = 0; c < 3; ++c) {
        const double v = (1 - fy) * ((1 - fx) * At(src, x0, y0, c) + fx * At(src, x1, y0, c)) +
                         fy * ((1 - fx) * At(src, x0, y1, c) + fx * At(src, x1, y1, c));
        gyhost::PixelAddress(out, x, y)[c] = uint8_t(std::lround(v));
      }
    }
  return out;
}

// PSNR of the band 45 S..45 N of the map letterboxed in `got` against
// `want` (a map of got.width x got.width / 2), optionally turned a half turn.
double BandPsnr(const HostImage& got, const HostImage& want, bool turned) {
  const int32_t mapHeight = got.width / 2;
  const int32_t top = (got.height - mapHeight) / 2;
  double sum = 0;
  int64_t n = 0;
  for (int32_t y = mapHeight / 4; y < 3 * mapHeight / 4; ++y)
    for (int32_t x = 0; x < got.width; ++x)
      for (int32_t c = 0; c < 3; ++c) {
        const double w = turned ? At(want, want.width - 1 - x, mapHeight - 1 - y, c) : At(want, x, y, c);
        const double d = At(got, x, top + y, c) - w;
        sum += d * d;
        ++n;
      }
  const double mse = sum / double(n);
  return mse > 0 ? 10.0 * std::log10(255.0 * 255.0 / mse) : 99.0;
}

struct CrossCase {
  const char* name;
  const char* crossOutput;  // output mode 172 or 173
  const char* crossInput;   // input mode 27 or 28
  int32_t width, height;
};

TEST(CrossRoundTrip, ThePanoramaComesBackUpright) {
  const CrossCase cases[] = {
      {"horizontal cross", "Foky=Fp84", "Fiky=Fi28", 2048, 1536},
      {"vertical cross", "Foky=Fp85", "Fiky=Fi29", 1536, 2048},
  };
  const HostImage panorama = Read(std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png");
  ASSERT_GT(panorama.width, 0);
  for (const CrossCase& c : cases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    ASSERT_FALSE(dir.path.empty());
    std::string error;
    ASSERT_TRUE(gyhost::WriteImageFile(dir / "stretched.png", gyhost::ImageFormat::Png,
                                       Resized(panorama, c.width, c.height), &error))
        << error;
    ASSERT_EQ(RunGyrelle(dir, {c.crossOutput}, dir / "stretched.png", dir / "cross.png"), 0);
    ASSERT_EQ(RunGyrelle(dir, {c.crossInput, "Foky=Fo01"}, dir / "cross.png", dir / "back.png"), 0);
    const HostImage back = Read(dir / "back.png");
    ASSERT_EQ(back.width, c.width);
    ASSERT_EQ(back.height, c.height);
    const HostImage want = Resized(panorama, c.width, c.width / 2);
    const double upright = BandPsnr(back, want, false), turned = BandPsnr(back, want, true);
    EXPECT_GE(upright, kMinPsnrDb);
    EXPECT_GE(upright - turned, kMinMarginDb) << "upright " << upright << " dB, turned " << turned << " dB";
  }
}

}  // namespace
