// The Panini view (output mode 255) against Hugin's General Panini with the
// parameters "100 0 0" (compression 100, no squeeze), through Hugin's point
// mapper pano_trafo.
//
// Our view casts rays from a point of the unit cylinder through the image
// plane at the cylinder's axis, whose half width is viewPlaneWidth / 4 =
// tan(viewAngle / 2) / 2: a longitude phi lands at tan(phi / 2), the
// cylindrical stereographic projection (Panini with d = 1), so the output
// spans the horizontal field 4 atan(tan(viewAngle / 2) / 2), the field we
// give Hugin's panorama. Both pictures have square pixels on that plane.
//
// Conventions, as pano_trafo shows them: pixel centres lie on whole
// coordinates (the centre of a w-pixel row is (w - 1) / 2) and the outer
// edge of the panorama's edge pixels is at half the field of view; an
// equirectangular input with yaw 0 has longitude 0 at its middle column,
// east to the right, north up. Our unit coordinates put pixel x's centre at
// (x + 0.5) / w, so Hugin's coordinate is w * unit - 0.5 on both sides.
//
// The input is a float equirectangular picture whose red and green hold each
// pixel's own unit coordinates (render_e2e_util), so every rendered pixel
// tells which input point it sampled. pano_trafo carries that point forward
// into Hugin's panorama; its distance from the pixel's own centre is the
// disagreement in output pixels. The reverse mapping of the pixel centre
// gives the disagreement on the input side as well, for the message.
//
// What remains is not the route's formula (it is the exact d = 1
// projection) but two small offsets, both magnified by the view, which shows
// one input pixel over 3 to 4 output pixels (90 and 120 degrees) and up to
// about 9 (150 degrees, near the top):
// - the input filter reads a linear ramp 0.03 to 0.09 input pixels off (the
//   equirectangular identity shows the same offsets);
// - Hugin's compression 100 is d = 1.5 / 1.0001 - 1.5 / 3.0001 = 0.99987,
//   not 1: 0.02, 0.05 and 0.24 output pixels at 90, 120 and 150 degrees.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "render_e2e_util.h"

namespace {

using render_e2e::Sample;

constexpr double kPi = 3.141592653589793;
constexpr int32_t kSize = 2048;  // the output is square, as large as the input
constexpr int32_t kGridStep = 32;
// pano_trafo's equirectangular input: any size will do, as only its
// geometry is read; 2:1 keeps its pixels square, as Hugin assumes.
constexpr int32_t kHuginInputWidth = 4096, kHuginInputHeight = 2048;

struct PaniniCase {
  double viewAngle;        // degrees, setting 0037
  double tolerancePixels;  // output pixels
};

// The default view angle, a narrower and a wider one. At 150 degrees the two
// offsets above add up to 0.59 px at the top edge, where the view magnifies
// the input most: half a pixel is out of reach there without a finer input.
constexpr PaniniCase kCases[] = {{120.0, 0.5}, {90.0, 0.5}, {150.0, 0.75}};

void PrintTo(const PaniniCase& c, std::ostream* os) { *os << "view angle " << c.viewAngle; }

struct Point {
  double x, y;
};

bool PanoTrafoInstalled() { return std::system("command -v pano_trafo >/dev/null 2>&1") == 0; }

double HorizontalFieldDegrees(double viewAngle) {
  return 4.0 * std::atan(std::tan(viewAngle * kPi / 360.0) / 2.0) * 180.0 / kPi;
}

void WriteProject(const std::string& path, double fieldDegrees) {
  std::ofstream pto(path);
  char line[160];
  std::snprintf(line, sizeof line, "p f19 w%d h%d v%.12f P\"100 0 0\" n\"TIFF_m\"\n", kSize, kSize, fieldDegrees);
  pto << line << "m i0\n";
  std::snprintf(line, sizeof line, "i w%d h%d f4 v360 r0 p0 y0 n\"equirectangular.tif\"\n", kHuginInputWidth,
                kHuginInputHeight);
  pto << line;
  ASSERT_TRUE(pto.good()) << path;
}

// pano_trafo on every point: from the input image into the panorama, or
// (reverse) from the panorama into the input image.
std::vector<Point> PanoTrafo(const render_e2e::Scratch& dir, const std::vector<Point>& points, bool reverse) {
  {
    std::ofstream in(dir / "points.txt");
    char line[80];
    for (const Point& p : points) {
      std::snprintf(line, sizeof line, "%.9f %.9f\n", p.x, p.y);
      in << line;
    }
  }
  const std::string cmd = std::string("pano_trafo ") + (reverse ? "-r " : "") + "'" + (dir / "project.pto") + "' 0 <'" +
                          (dir / "points.txt") + "' >'" + (dir / "mapped.txt") + "' 2>'" + (dir / "trafo.err") + "'";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  std::vector<Point> out;
  std::ifstream mapped(dir / "mapped.txt");
  Point p;
  while (mapped >> p.x >> p.y) out.push_back(p);
  EXPECT_EQ(out.size(), points.size()) << "pano_trafo answered " << out.size() << " of " << points.size();
  return out;
}

class PaniniAgainstHugin : public ::testing::TestWithParam<PaniniCase> {};

TEST_P(PaniniAgainstHugin, EveryGridPixelSamplesHuginsInputPoint) {
  if (!PanoTrafoInstalled()) GTEST_SKIP() << "pano_trafo is not installed (Debian package hugin-tools)";
  const PaniniCase& c = GetParam();
  render_e2e::Scratch dir;
  render_e2e::WriteImage(dir / "in.exr", render_e2e::CoordinateImage(kSize, kSize, false));
  const auto run = render_e2e::RunGyrelle({"--set", "Foky=Fr62", "--set", "0037=" + std::to_string(c.viewAngle)},
                                          dir / "in.exr", dir / "out.exr", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const gyhost::HostImage out = render_e2e::ReadImage(dir / "out.exr");
  ASSERT_EQ(out.width, kSize);
  ASSERT_EQ(out.height, kSize);
  WriteProject(dir / "project.pto", HorizontalFieldDegrees(c.viewAngle));

  // The grid runs from the first pixel to the last, edges included.
  std::vector<int32_t> grid;
  for (int32_t i = 0; i < kSize; i += kGridStep) grid.push_back(i);
  grid.push_back(kSize - 1);
  std::vector<Point> pixels, sampled;
  for (int32_t py : grid) {
    for (int32_t px : grid) {
      pixels.push_back({double(px), double(py)});
      sampled.push_back(
          {Sample(out, px, py, 0) * kHuginInputWidth - 0.5, Sample(out, px, py, 1) * kHuginInputHeight - 0.5});
    }
  }
  const std::vector<Point> landed = PanoTrafo(dir, sampled, false);
  const std::vector<Point> expected = PanoTrafo(dir, pixels, true);
  ASSERT_EQ(landed.size(), pixels.size());
  ASSERT_EQ(expected.size(), pixels.size());

  double worstOut = 0.0, worstInDeg = 0.0, sumOut = 0.0;
  size_t worstAt = 0, wrong = 0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const double d = std::hypot(landed[i].x - pixels[i].x, landed[i].y - pixels[i].y);
    sumOut += d;
    if (d > c.tolerancePixels) ++wrong;
    if (d > worstOut) {
      worstOut = d;
      worstAt = i;
    }
    const double degPerInputPixel = 360.0 / kHuginInputWidth;
    worstInDeg =
        std::max(worstInDeg, degPerInputPixel * std::hypot(sampled[i].x - expected[i].x, sampled[i].y - expected[i].y));
  }
  std::ostringstream what;
  what << "view angle " << c.viewAngle << ", field " << HorizontalFieldDegrees(c.viewAngle) << " deg: " << pixels.size()
       << " pixels, mean " << sumOut / double(pixels.size()) << " px, worst " << worstOut << " px at ("
       << pixels[worstAt].x << ", " << pixels[worstAt].y << ") which landed at (" << landed[worstAt].x << ", "
       << landed[worstAt].y << "); worst on the input side " << worstInDeg << " deg";
  std::printf("[ panini   ] %s\n", what.str().c_str());
  EXPECT_EQ(wrong, 0u) << wrong << " pixels beyond " << c.tolerancePixels << " px; " << what.str();
}

INSTANTIATE_TEST_SUITE_P(ViewAngles, PaniniAgainstHugin, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PaniniCase>& info) {
                           return "angle" + std::to_string(int(info.param.viewAngle));
                         });

}  // namespace
