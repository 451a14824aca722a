// Equirectangular to equirectangular through the whole filter, the same
// render at several thread counts, and the README's main-job command.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "render_e2e_util.h"

namespace {

using render_e2e::Sample;

constexpr int32_t kWidth = 256, kHeight = 128;

TEST(EquirectangularIdentity, ReproducesASmoothInputWithoutShift) {
  render_e2e::Scratch dir;
  const gyhost::HostImage in = render_e2e::SmoothPanorama(kWidth, kHeight);
  render_e2e::WriteImage(dir / "in.png", in);
  const auto run = render_e2e::RunGyrelle({"--set", "Foky=Fo01"}, dir / "in.png", dir / "out.png", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const gyhost::HostImage out = render_e2e::ReadImage(dir / "out.png");
  const double aligned = render_e2e::Psnr8(out, in, 0);
  EXPECT_GE(aligned, 35.0);
  // No shift: one column either way is worse than none.
  EXPECT_GT(aligned, render_e2e::Psnr8(out, in, 1));
  EXPECT_GT(aligned, render_e2e::Psnr8(out, in, -1));
}

TEST(EquirectangularIdentity, HalfTurnAboutTheVerticalRollsByHalfTheWidth) {
  render_e2e::Scratch dir;
  const gyhost::HostImage in = render_e2e::SmoothPanorama(kWidth, kHeight);
  render_e2e::WriteImage(dir / "in.png", in);
  const auto run =
      render_e2e::RunGyrelle({"--set", "Foky=Fo01", "--set", "0035=180"}, dir / "in.png", dir / "out.png", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const gyhost::HostImage out = render_e2e::ReadImage(dir / "out.png");
  EXPECT_GE(render_e2e::Psnr8(out, in, kWidth / 2), 35.0);
  EXPECT_LT(render_e2e::Psnr8(out, in, 0), 25.0);
}

// The float coordinates say it exactly: every pixel samples its own place,
// or the place half a turn away.
TEST(EquirectangularIdentity, CoordinatesComeBackAtEveryPixel) {
  render_e2e::Scratch dir;
  render_e2e::WriteImage(dir / "in.exr", render_e2e::CoordinateImage(kWidth, kHeight, false));
  for (const bool halfTurn : {false, true}) {
    std::vector<std::string> options = {"--set", "Foky=Fo01"};
    if (halfTurn) options.insert(options.end(), {"--set", "0035=180"});
    const auto run = render_e2e::RunGyrelle(options, dir / "in.exr", dir / "out.exr", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const gyhost::HostImage out = render_e2e::ReadImage(dir / "out.exr");
    double worst = 0.0;
    for (int32_t y = 1; y < kHeight - 1; ++y) {
      for (int32_t x = 2; x < kWidth - 2; ++x) {
        double u = (x + 0.5) / kWidth;
        if (halfTurn) u = std::fmod(u + 0.5, 1.0);
        // The half turn puts the input's seam down the middle of the output;
        // its coordinates jump there, so pixels within 2 px of it are skipped.
        if (halfTurn && std::fabs(x + 0.5 - kWidth / 2) < 2.0) continue;
        const double v = (y + 0.5) / kHeight;
        worst = std::max({worst, std::fabs(Sample(out, x, y, 0) - u), std::fabs(Sample(out, x, y, 1) - v)});
      }
    }
    EXPECT_LT(worst, 1e-3) << (halfTurn ? "half turn" : "identity");
  }
}

// Tasks share rows by columns; the split must not show in the result.
TEST(ThreadCounts, OneTwoAndSevenThreadsGiveTheSameBytes) {
  render_e2e::Scratch dir;
  render_e2e::WriteImage(dir / "in8.png", render_e2e::SmoothPanorama(kWidth, kHeight));
  render_e2e::WriteImage(dir / "inf.exr", render_e2e::CoordinateImage(kWidth, kHeight, true));
  struct Case {
    const char* input;
    const char* ext;
    std::vector<std::string> options;
  };
  const Case cases[] = {
      {"in8.png", ".png", {"--set", "Foky=Fo45", "--set", "0035=33", "--set", "0036=20"}},
      {"inf.exr", ".exr", {"--set", "Foky=Fo45", "--set", "0034=-40"}},
      {"in8.png", ".png", {"--set", "Foky=Fo03"}},
  };
  for (const Case& c : cases) {
    gyhost::HostImage reference;
    for (const char* threads : {"1", "2", "7"}) {
      std::vector<std::string> options = c.options;
      options.insert(options.end(), {"--threads", threads});
      const std::string out = dir / (std::string("out") + threads + c.ext);
      const auto run = render_e2e::RunGyrelle(options, dir / c.input, out, dir);
      ASSERT_EQ(run.status, 0) << run.err;
      const gyhost::HostImage image = render_e2e::ReadImage(out);
      if (reference.data.empty()) {
        reference = image;
        continue;
      }
      EXPECT_TRUE(image.data == reference.data) << c.input << " differs at " << threads << " threads";
    }
  }
}

// The main job as the README shows it: the built-in panorama through the
// default settings (equirectangular out) and as a Mollweide map.
TEST(ReadmeMainJob, RendersTheBuiltInPanorama) {
  render_e2e::Scratch dir;
  const std::string pano = std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png";
  const gyhost::HostImage in = render_e2e::ReadImage(pano);
  auto run = render_e2e::RunGyrelle({}, pano, dir / "result.png", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_GE(render_e2e::Psnr8(render_e2e::ReadImage(dir / "result.png"), in, 0), 30.0);

  run = render_e2e::RunGyrelle({"--set", "Foky=Fo45"}, pano, dir / "map.png", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const gyhost::HostImage map = render_e2e::ReadImage(dir / "map.png");
  for (int c = 0; c < 3; ++c) EXPECT_EQ(Sample(map, 0, 0, c), 255.0);  // white backdrop beyond the ellipse
  const int32_t cx = map.width / 2 + 3, cy = map.height / 2 + 40;
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(Sample(map, cx, cy, c), Sample(in, cx, cy, c), 12.0);
}

// The modes still refused change as solids are built: the first one found
// in the code table (from its end, where the solids wait) serves.
TEST(Refusals, AModeWithoutARouteIsRefusedAndWritesNothing) {
  render_e2e::Scratch dir;
  render_e2e::WriteImage(dir / "in.png", render_e2e::SmoothPanorama(64, 32));
  std::ifstream table(std::string(GYRELLE_SOURCE_DIR) + "/tests/frame/settings/data/output_mode_codes.txt");
  std::vector<std::string> codes;
  int number;
  std::string code;
  while (table >> number >> code) codes.push_back(code);
  ASSERT_FALSE(codes.empty());
  for (auto it = codes.rbegin(); it != codes.rend(); ++it) {
    const std::string out = dir / ("out_" + *it + ".png");
    const auto run = render_e2e::RunGyrelle({"--set", "Foky=" + *it}, dir / "in.png", out, dir);
    if (run.status == 0) continue;
    const bool said = run.err.find("cannot be rendered") != std::string::npos ||
                      run.err.find("nothing to draw") != std::string::npos;
    EXPECT_TRUE(said) << *it << ": " << run.err;
    EXPECT_FALSE(std::ifstream(out).good()) << *it << " wrote its output";
    return;
  }
  GTEST_SKIP() << "every output mode renders";
}

}  // namespace
