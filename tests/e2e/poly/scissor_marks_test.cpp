// Scissor marks through gyrelle: the curved tetrahedron's wings carry one
// mark each, paired with the edge pieces they close, and the second Tissot
// pass draws them as dark arcs on the net. A flat grey panorama leaves
// nothing else dark on these nets, so every dark pixel is a mark.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/host_image.h"
#include "host/io/image_io.h"
#include "poly_e2e_util.h"

namespace {

using gyhost::HostImage;
using polye2e::At;
using polye2e::Read;
using polye2e::RunGyrelle;
using polye2e::Scratch;

constexpr int32_t kWidth = 512, kHeight = 256;
constexpr uint8_t kGrey = 200;
// Below the grey: only the marks, composited black, darken a pixel.
constexpr double kDark = 170.0;

bool Dark(const HostImage& im, int32_t x, int32_t y) {
  return At(im, x, y, 0) < kDark && At(im, x, y, 1) < kDark && At(im, x, y, 2) < kDark;
}

// Dark pixels and their clusters (pixels within two of each other join:
// an anti-aliased arc may leave a faint gap).
void DarkClusters(const HostImage& im, int32_t* pixels, int32_t* clusters) {
  std::vector<uint8_t> seen(size_t(im.width) * size_t(im.height), 0);
  *pixels = 0;
  *clusters = 0;
  for (int32_t y = 0; y < im.height; ++y)
    for (int32_t x = 0; x < im.width; ++x) {
      if (seen[size_t(y) * im.width + x] || !Dark(im, x, y)) continue;
      ++*clusters;
      std::vector<std::pair<int32_t, int32_t>> stack{{x, y}};
      seen[size_t(y) * im.width + x] = 1;
      while (!stack.empty()) {
        const auto [px, py] = stack.back();
        stack.pop_back();
        ++*pixels;
        for (int32_t dy = -2; dy <= 2; ++dy)
          for (int32_t dx = -2; dx <= 2; ++dx) {
            const int32_t qx = px + dx, qy = py + dy;
            if (qx < 0 || qy < 0 || qx >= im.width || qy >= im.height) continue;
            uint8_t& s = seen[size_t(qy) * im.width + qx];
            if (s || !Dark(im, qx, qy)) continue;
            s = 1;
            stack.push_back({qx, qy});
          }
      }
    }
}

std::string FlatPanorama(const Scratch& dir) {
  HostImage flat;
  EXPECT_TRUE(gyhost::ResizeHostImage(&flat, kWidth, kHeight, 3, false, gyhost::SampleType::U8));
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x)
      for (int32_t c = 0; c < 3; ++c) gyhost::PixelAddress(flat, x, y)[c] = kGrey;
  std::string error;
  EXPECT_TRUE(gyhost::WriteImageFile(dir / "flat.png", gyhost::ImageFormat::Png, flat, &error)) << error;
  return dir / "flat.png";
}

TEST(ScissorMarks, TheCurvedTetrahedronShowsItsTwelveMarks) {
  Scratch dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string flat = FlatPanorama(dir);
  // Output mode 256: four Reuleaux pieces, six wings' marks on each pair.
  ASSERT_EQ(RunGyrelle(dir, {"Foky=Fr63"}, flat, dir / "one.png", 1), 0);
  ASSERT_EQ(RunGyrelle(dir, {"Foky=Fr63"}, flat, dir / "eight.png", 8), 0);
  const HostImage one = Read(dir / "one.png");
  ASSERT_EQ(one.width, kWidth);
  int32_t pixels = 0, clusters = 0;
  DarkClusters(one, &pixels, &clusters);
  EXPECT_EQ(clusters, 12);
  EXPECT_GT(pixels, 12 * 5) << "each mark an arc of a few pixels";
  EXPECT_LT(pixels, kWidth * kHeight / 100) << "marks, not lines across the net";
  // The marks are drawn on the main thread after the tasks' corners: the
  // same bytes at any task count.
  const HostImage eight = Read(dir / "eight.png");
  ASSERT_EQ(eight.width, kWidth);
  bool same = eight.height == one.height;
  for (int32_t y = 0; same && y < kHeight; ++y)
    for (int32_t x = 0; same && x < kWidth; ++x)
      for (int32_t c = 0; c < 3; ++c) same = same && At(one, x, y, c) == At(eight, x, y, c);
  EXPECT_TRUE(same);
}

TEST(ScissorMarks, NetsWithoutMarksStayUnmarked) {
  // The tetrahedron has no marks; the squircle box's wings are cut along
  // their smooth outline and record none.
  Scratch dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string flat = FlatPanorama(dir);
  for (const char* mode : {"Foky=Fo06", "Foky=Fr68"}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(RunGyrelle(dir, {mode}, flat, dir / "out.png"), 0);
    const HostImage out = Read(dir / "out.png");
    ASSERT_EQ(out.width, kWidth);
    int32_t pixels = 0, clusters = 0;
    DarkClusters(out, &pixels, &clusters);
    EXPECT_EQ(pixels, 0);
  }
}

}  // namespace
