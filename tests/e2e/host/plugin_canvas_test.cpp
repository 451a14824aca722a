// --canvas with the real plug-in: the result is rendered once at the
// canvas's size from the input at its own size, framed as the stretched
// in-place run frames it, glued with the input resampled to the canvas, at
// the input's depth and the same bytes on any thread count. A plug-in that
// cannot fill a canvas still gets the stretched run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "e2e_run.h"
#include "plugin_fixture.h"
#include "host/canvas.h"
#include "host/io/image_io.h"

namespace gyhost_e2e {
namespace {

using gyhost::HostImage;

HostImage Read(const std::string& path) {
  HostImage image;
  std::string error;
  EXPECT_TRUE(gyhost::ReadImageFile(path, &image, &error)) << path << ": " << error;
  return image;
}

void Write(const std::string& path, const HostImage& image) {
  std::string error;
  ASSERT_TRUE(gyhost::WriteImageFile(path, gyhost::FormatFromExtension(path), image, &error)) << error;
}

HostImage Resampled(const HostImage& in, int32_t w, int32_t h) {
  HostImage out;
  std::string error;
  EXPECT_TRUE(gyhost::ResampleImage(in, w, h, &out, &error)) << error;
  return out;
}

double MeanDifference(const HostImage& a, const HostImage& b) {
  EXPECT_EQ(a.data.size(), b.data.size());
  if (a.data.size() != b.data.size() || a.data.empty()) return 1e9;
  double sum = 0.0;
  for (size_t i = 0; i < a.data.size(); ++i) sum += std::abs(int(a.data[i]) - int(b.data[i]));
  return sum / double(a.data.size());
}

class CanvasRender : public PluginOnPlasma {};

// The oracle is the run a host without canvases gives: the input stretched
// to the canvas's shape, filtered in place and reduced. Rendering straight
// at the canvas's size frames the picture the same way and differs only by
// the filtering of the reduction (a frame off by a pixel's scale is tens of
// levels off).
TEST_F(CanvasRender, FramesTheResultAsTheStretchedRunDoes) {
  const HostImage input = Read(in_);
  const struct {
    const char* mode;
    int32_t w, h, stretchedW, stretchedH;
    double within;  // mean levels
  } cases[] = {
      {"Foky=Fo70", 200, 200, 400, 400, 1.0},  // little planet, a square from a 2:1 panorama
      {"Foky=Fo14", 150, 100, 400, 267, 1.0},  // rectilinear view, reduced
      // Mollweide, enlarged: sharper than the in-place run enlarged after it.
      {"Foky=Fo45", 800, 400, 400, 200, 2.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    const std::string size = std::to_string(c.w) + "x" + std::to_string(c.h);
    RunResult r = Run({"--set", c.mode, "--canvas", size, in_, dir_ / "direct.png"});
    ASSERT_EQ(r.status, 0) << r.err;
    Write(dir_ / "stretched.png", Resampled(input, c.stretchedW, c.stretchedH));
    r = Run({"--set", c.mode, dir_ / "stretched.png", dir_ / "in_place.png"});
    ASSERT_EQ(r.status, 0) << r.err;
    const HostImage direct = Read(dir_ / "direct.png");
    ASSERT_EQ(direct.width, c.w);
    ASSERT_EQ(direct.height, c.h);
    EXPECT_LT(MeanDifference(direct, Resampled(Read(dir_ / "in_place.png"), c.w, c.h)), c.within);
  }
}

// Darken and lighten keep the smaller and the larger of the result and the
// unfiltered pixel: the unfiltered picture must be the input resampled to
// the canvas, pixel for pixel.
TEST_F(CanvasRender, GlueBlendsWithTheInputResampledToTheCanvas) {
  const HostImage unfiltered = Resampled(Read(in_), 300, 300);
  for (const char* glue : {"GLUE=GL06", "GLUE=GL05"}) {
    SCOPED_TRACE(glue);
    const RunResult r = Run({"--set", "Foky=Fo70", "--set", glue, "--canvas", "300x300", in_, dir_ / "g.png"});
    ASSERT_EQ(r.status, 0) << r.err;
    const HostImage out = Read(dir_ / "g.png");
    ASSERT_EQ(out.data.size(), unfiltered.data.size());
    const bool darken = glue[8] == '6';
    size_t wrong = 0;
    for (size_t i = 0; i < out.data.size(); ++i)
      wrong += darken ? out.data[i] > unfiltered.data[i] : out.data[i] < unfiltered.data[i];
    EXPECT_EQ(wrong, 0u);
  }
}

TEST_F(CanvasRender, KeepsDepthAndGivesTheSameBytesOnAnyThreadCount) {
  const std::string deep = dir_ / "deep.png";
  Convert("-seed 3 -size 240x120 plasma: -depth 16 " + Quote(deep), dir_);
  for (const char* threads : {"1", "2", "8"}) {
    const RunResult r = Run({"--set", "Foky=Fo70", "--threads", threads, "--canvas", "150x170", deep,
                             dir_ / (std::string("t") + threads + ".png")});
    ASSERT_EQ(r.status, 0) << r.err;
  }
  const HostImage one = Read(dir_ / "t1.png");
  EXPECT_EQ(one.type, gyhost::SampleType::U16);
  EXPECT_EQ(one.width, 150);
  EXPECT_EQ(one.height, 170);
  EXPECT_TRUE(one.data == Read(dir_ / "t2.png").data);
  EXPECT_TRUE(one.data == Read(dir_ / "t8.png").data);
}

TEST_F(CanvasRender, APlugInThatOnlyWorksInPlaceGetsTheStretchedRun) {
  const RunResult r = RunGyrelle({"--canvas", "100x150", in_, dir_ / "n.png"}, dir_);
  ASSERT_EQ(r.status, 0) << r.err;
  const HostImage out = Read(dir_ / "n.png");
  EXPECT_EQ(out.width, 100);
  EXPECT_EQ(out.height, 150);
}

}  // namespace
}  // namespace gyhost_e2e
