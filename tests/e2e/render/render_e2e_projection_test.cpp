// Rendered maps against PROJ. The input is a float equirectangular picture
// whose red and green channels hold each pixel's own unit coordinates, so a
// rendered pixel, read back, tells which input point the renderer sampled
// there. PROJ's inverse of the pixel's plane point tells which it should
// have sampled: longitude lambda and latitude phi are the input point
// (0.5 + lambda / 2pi, 0.5 - phi / pi) (east to the right, north up).
//
// Plane points: each map's picture is fitted into the 2:1 output at one
// scale, centred; `spanX` is the width of PROJ's plane that spans the
// output, so pixel (px, py) lies at PROJ (spanX·(U - 0.5), -spanX/2·(V - 0.5))
// with (U, V) its unit centre.
#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <string>

#include "render_e2e_util.h"

namespace {

using render_e2e::Sample;

constexpr double kPi = 3.141592653589793;
constexpr double kRoot2 = 1.4142135623730951;
constexpr double kHalfPeirceSide = 1.8540746773013719;  // K(1/sqrt 2)
constexpr int32_t kWidth = 512, kHeight = 256;
constexpr double kTolerance = 1e-3;
constexpr double kMarginPixels = 2.5;  // "more than 2 px from the rim and the seam"
// The input's red channel jumps from 1 to 0 at the seam; its filtered reads
// ring for this many input pixels on either side.
constexpr double kSeamReachInputPixels = 3.0;

struct MapCase {
  const char* code;  // scripting code of the output mode
  int mode;
  const char* proj;
  double spanX;  // PROJ plane width across the output
  double tolerance = kTolerance;
  // Pixels whose direction lies nearer a pole are not compared: where a map
  // squeezes the pole into a point, the input's filter footprint there
  // spans rows the plain inverse does not see.
  double maxLatDeg = 90.0;
  // Where PROJ's inverse refuses a pixel, the backdrop must show; false for
  // the maps whose inverse PROJ does not answer everywhere on the map (the
  // cut squares of the Peirce family, whose far parts do not come back to
  // themselves).
  bool refusalIsBackdrop = true;
};

// R = 1 throughout; the square-box maps (mirror ball, polar, orthographic)
// fill the output's height, so their span is twice the disc's diameter.
constexpr MapCase kMaps[] = {
    {"Fo01", 1, "+proj=eqc +R=1", 2.0 * kPi},
    {"Fo02", 2, "+proj=laea +R=1", 8.0},
    {"Fo03", 3, "+proj=aeqd +R=1", 4.0 * kPi},
    {"Fo05", 5, "+proj=ortho +R=1", 4.0},
    {"Fo11", 11, "+proj=hammer +R=1", 4.0 * kRoot2},
    {"Fo13", 13, "+proj=sinu +R=1", 2.0 * kPi},
    {"Fo45", 46, "+proj=moll +R=1", 4.0 * kRoot2},
    {"TW46", 35, "+proj=wintri +R=1", 2.0 * kPi},  // its box is taller than 2:1: it fills the height
    // The Lagrange planes are half PROJ's; the square and the 4.832 by 2.832
    // box fill the height.
    {"Fo69", 69, "+proj=lagrng +W=2 +R=1", 8.0, kTolerance, 85.0},
    {"Fo85", 84, "+proj=lagrng +W=1.3333333333333333 +R=1", 4.0 * 2.832},
    // Our Robinson box is exactly 2:1, PROJ's 0.8487 pi by 1.3523: the
    // affine step stretches PROJ's height to match. Our inverse interpolates
    // the latitude table linearly, PROJ's by splines.
    {"Fo81", 80, "+proj=pipeline +step +proj=robin +R=1 +step +proj=affine +s22=0.9858277324188419",
     2.0 * 2.6662696851, 2e-3},
    // The Peirce family's squares are 2K a hemisphere on PROJ's plane
    // (K = K(1/sqrt 2) = 1.8540746773); ours are turned against PROJ's
    // (the quincuncial by 135 degrees, Adams with its poles at the corners by
    // 45), which the affine step turns back. The square boxes fill the height.
    {"Fo95", 94,
     "+proj=pipeline +step +proj=ob_tran +o_proj=peirce_q +o_lat_p=0 +o_lon_p=45 +lon_0=180 +R=1 "
     "+step +proj=affine +s11=-0.7071067811865476 +s12=-0.7071067811865476 +s21=0.7071067811865476 "
     "+s22=-0.7071067811865476",
     4.0 * kRoot2 * kHalfPeirceSide, kTolerance, 85.0, false},
    {"Fo91", 90,
     "+proj=pipeline +step +proj=adams_ws2 +R=1 +step +proj=affine +s11=0.7071067811865476 "
     "+s12=-0.7071067811865476 +s21=0.7071067811865476 +s22=0.7071067811865476",
     4.0 * kHalfPeirceSide, kTolerance, 85.0, false},
};

class Proj {
 public:
  explicit Proj(const char* def) : ctx_(proj_context_create()) {
    pj_ = proj_create(ctx_, def);
  }
  ~Proj() {
    if (pj_) proj_destroy(pj_);
    proj_context_destroy(ctx_);
  }
  bool valid() const { return pj_ != nullptr; }
  // The point of the map under plane point (x, y): false off the map (PROJ
  // refuses, or the point does not come back to itself).
  bool Inverse(double x, double y, double* lon, double* lat) const {
    PJ_COORD c = proj_coord(x, y, 0, 0);
    proj_errno_reset(pj_);
    const PJ_COORD g = proj_trans(pj_, PJ_INV, c);
    if (proj_errno(pj_) || !std::isfinite(g.lp.lam) || !std::isfinite(g.lp.phi)) return false;
    if (std::fabs(g.lp.lam) > kPi + 1e-9 || std::fabs(g.lp.phi) > kPi / 2 + 1e-9) return false;
    const PJ_COORD back = proj_trans(pj_, PJ_FWD, g);
    if (proj_errno(pj_) || std::hypot(back.xy.x - x, back.xy.y - y) > 1e-6) return false;
    *lon = g.lp.lam;
    *lat = g.lp.phi;
    return true;
  }

 private:
  PJ_CONTEXT* ctx_;
  PJ* pj_ = nullptr;
};

void PlanePoint(const MapCase& m, double px, double py, double* x, double* y) {
  const double scale = m.spanX / kWidth;  // plane units per pixel, both ways
  *x = (px - kWidth * 0.5) * scale;
  *y = -(py - kHeight * 0.5) * scale;
}

// The input point PROJ gives for pixel centre (px, py), when the pixel lies
// more than the margin inside the map and away from its seam.
bool ExpectedInput(const Proj& proj, const MapCase& m, int32_t px, int32_t py, double* u, double* v) {
  double x, y, lon, lat;
  PlanePoint(m, px + 0.5, py + 0.5, &x, &y);
  if (!proj.Inverse(x, y, &lon, &lat)) return false;
  if (std::fabs(lat) > m.maxLatDeg * kPi / 180.0) return false;
  // The ring around the pixel must stay on the map and on one side of the
  // seam, and the input's filters must not reach across the seam from it:
  // near some rims a few output pixels hold less than one input pixel.
  const double seamReach = kSeamReachInputPixels * 2.0 * kPi / kWidth;
  double lo = lon, hi = lon;
  for (int k = 0; k < 16; ++k) {
    const double a = kPi * k / 8.0;
    double rx, ry, rlon, rlat;
    PlanePoint(m, px + 0.5 + kMarginPixels * std::cos(a), py + 0.5 + kMarginPixels * std::sin(a), &rx, &ry);
    if (!proj.Inverse(rx, ry, &rlon, &rlat)) return false;
    if (kPi - std::fabs(rlon) < seamReach) return false;
    lo = std::min(lo, rlon);
    hi = std::max(hi, rlon);
  }
  if (hi - lo > kPi) return false;  // the ring crosses the seam
  *u = 0.5 + lon / (2.0 * kPi);
  *v = 0.5 - lat / kPi;
  return true;
}

class RenderedMapAgainstProj : public ::testing::TestWithParam<MapCase> {};

TEST_P(RenderedMapAgainstProj, SamplesTheInputPointOfEveryPixel) {
  const MapCase& m = GetParam();
  Proj proj(m.proj);
  ASSERT_TRUE(proj.valid()) << m.proj;
  render_e2e::Scratch dir;
  render_e2e::WriteImage(dir / "in.exr", render_e2e::CoordinateImage(kWidth, kHeight, false));
  const auto run = render_e2e::RunGyrelle({"--set", std::string("Foky=") + m.code}, dir / "in.exr", dir / "out.exr", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const gyhost::HostImage out = render_e2e::ReadImage(dir / "out.exr");
  ASSERT_EQ(out.width, kWidth);
  ASSERT_EQ(out.height, kHeight);

  int64_t checked = 0, wrong = 0, backdrop = 0;
  double worst = 0.0;
  std::string firstWrong;
  for (int32_t py = 0; py < kHeight; ++py) {
    for (int32_t px = 0; px < kWidth; ++px) {
      double u, v;
      if (ExpectedInput(proj, m, px, py, &u, &v)) {
        ++checked;
        const double du = Sample(out, px, py, 0) - u, dv = Sample(out, px, py, 1) - v;
        const double err = std::max(std::fabs(du), std::fabs(dv));
        worst = std::max(worst, err);
        if (err > m.tolerance && wrong++ == 0)
          firstWrong = "pixel (" + std::to_string(px) + ", " + std::to_string(py) + ") got (" +
                       std::to_string(Sample(out, px, py, 0)) + ", " + std::to_string(Sample(out, px, py, 1)) +
                       ") for (" + std::to_string(u) + ", " + std::to_string(v) + ")";
        continue;
      }
      // Well off the map the backdrop (the second colour, white) shows:
      // this image has no transparency to keep.
      double x, y, lon, lat;
      PlanePoint(m, px + 0.5, py + 0.5, &x, &y);
      bool near = proj.Inverse(x, y, &lon, &lat);
      for (int k = 0; k < 16 && !near; ++k) {
        double rx, ry;
        PlanePoint(m, px + 0.5 + kMarginPixels * std::cos(kPi * k / 8), py + 0.5 + kMarginPixels * std::sin(kPi * k / 8),
                   &rx, &ry);
        near = proj.Inverse(rx, ry, &lon, &lat);
      }
      if (near || !m.refusalIsBackdrop) continue;
      ++backdrop;
      for (int c = 0; c < 3; ++c) ASSERT_EQ(Sample(out, px, py, c), 1.0) << "backdrop at " << px << ", " << py;
    }
  }
  EXPECT_GT(checked, kWidth * kHeight / 8);
  EXPECT_EQ(wrong, 0) << wrong << " of " << checked << " pixels beyond " << m.tolerance << ", worst " << worst
                      << "; first: " << firstWrong;
  if (m.mode != 1 && m.refusalIsBackdrop) {
    EXPECT_GT(backdrop, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(ClosedFormulaMaps, RenderedMapAgainstProj, ::testing::ValuesIn(kMaps),
                         [](const ::testing::TestParamInfo<MapCase>& info) {
                           return "mode" + std::to_string(info.param.mode);
                         });

// With an editable transparency plane the area off the map stays
// transparent (the settings' default), and the map itself is opaque.
TEST(RenderedMapTransparency, OffTheMapIsTransparentWhenTheImageHasAlpha) {
  render_e2e::Scratch dir;
  render_e2e::WriteImage(dir / "in.exr", render_e2e::CoordinateImage(kWidth, kHeight, true));
  const auto run = render_e2e::RunGyrelle({"--set", "Foky=Fo45"}, dir / "in.exr", dir / "out.exr", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const gyhost::HostImage out = render_e2e::ReadImage(dir / "out.exr");
  ASSERT_TRUE(out.hasAlpha);
  EXPECT_EQ(Sample(out, 0, 0, 3), 0.0);                      // corner: off the ellipse
  EXPECT_EQ(Sample(out, kWidth - 1, kHeight - 1, 3), 0.0);
  EXPECT_NEAR(Sample(out, kWidth / 2, kHeight / 2, 3), 1.0, 1e-6);  // centre of the map
}

}  // namespace
