// The glue mode chosen by its scripting key blends the rendered pixel with the
// unfiltered pixel of the host's image, through the whole filter.
#include <gtest/gtest.h>

#include <cstdlib>

#include "render_e2e_util.h"

namespace {

using render_e2e::Sample;

TEST(GlueThroughTheFilter, MultiplyBlendsTheMapWithTheOriginal) {
  constexpr int32_t kWidth = 200, kHeight = 100;
  render_e2e::Scratch dir;
  const gyhost::HostImage in = render_e2e::SmoothPanorama(kWidth, kHeight);
  render_e2e::WriteImage(dir / "in.png", in);
  auto run = render_e2e::RunGyrelle({"--set", "Foky=Fo45"}, dir / "in.png", dir / "plain.png", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  run = render_e2e::RunGyrelle({"--set", "Foky=Fo45", "--set", "GLUE=GL09"}, dir / "in.png", dir / "glued.png", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const gyhost::HostImage plain = render_e2e::ReadImage(dir / "plain.png");
  const gyhost::HostImage glued = render_e2e::ReadImage(dir / "glued.png");
  int differing = 0;
  // The middle of the map, well inside the ellipse.
  for (int32_t y = kHeight / 4; y < 3 * kHeight / 4; ++y)
    for (int32_t x = kWidth / 4; x < 3 * kWidth / 4; ++x)
      for (int32_t p = 0; p < 3; ++p) {
        const double rendered = Sample(plain, x, y, p), original = Sample(in, x, y, p);
        const double want = rendered * original / 255.0;
        ASSERT_NEAR(Sample(glued, x, y, p), want, 2.0) << x << "," << y << " plane " << p;
        differing += std::abs(Sample(glued, x, y, p) - rendered) > 2.0;
      }
  EXPECT_GT(differing, 100);  // the blend did something
}

}  // namespace
