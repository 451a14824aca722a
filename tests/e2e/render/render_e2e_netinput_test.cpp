// The polyhedron-net input layout through the whole filter. The input is
// the net of the input solid (output mode 30's soccer ball, built here by
// the same calls the plug-in makes for an input of this size), each net
// pixel holding the unit direction of the solid point it shows, encoded
// 0.5 + 0.5·d so that every channel stays in [0, 1]. Rendered as an
// equirectangular map, every output pixel must show the direction it
// stands for.
//
// Which direction that is follows from the equirectangular identity: the
// equirectangular input reads direction p at u = 1 - s(p), and an identity
// render puts input column u at output column u, so output pixel (U, V)
// asks for p = RectangularToSphericalD(1 - U, V).
//
// Where a pixel's direction lands on the net is found here by a plain
// two-sided ray test against every face triangle, not by the plug-in's
// search. Pixels whose net point lies near a cut of the net (or the net's
// rim) are counted apart: the input filter there mixes in pixels of an
// unrelated face or of the empty area.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/net_fit.h"
#include "polyhedron/nets/net_points.h"
#include "polyhedron/polyhedron.h"
#include "projection/sphere_convention.h"
#include "render_e2e_util.h"

namespace {

using render_e2e::Sample;

constexpr int32_t kWidth = 1024, kHeight = 512;
constexpr int32_t kInputSolidOutputMode = 30;
constexpr const char* kNetInputCode = "Fi30";   // input mode 29
constexpr const char* kNetOutputCode = "Fo29";  // output mode 30
constexpr double kRadToDeg = 57.29577951308232;
// A jump between neighbouring net pixels beyond this many times the usual
// step marks a cut (the two pixels show faces that do not meet there).
constexpr double kCutJump = 4.0;
// Input pixels this close (in either axis) to a cut or to the empty area
// are counted apart: the filter around an output pixel's footprint reaches
// that far into the net.
constexpr int32_t kCutReach = 2;
// Angle between shown and expected direction away from the cuts, degrees.
// An output pixel spans 0.35 degrees; the render's own rounding leaves a
// steady 0.04 or so.
constexpr double kMedianToleranceDeg = 0.06;
constexpr double kP95ToleranceDeg = 0.1;
constexpr double kWorstToleranceDeg = 0.3;
// The soccer ball's net has a long outline; the pixels near it (about a
// tenth of the map at this size) may not be many more.
constexpr double kMaxNearCutShare = 0.12;

struct PolyDeleter {
  void operator()(polyhedron* p) const {
    DumpPolyStorage(p, nullptr);
    delete p;
  }
};
using PolyPtr = std::unique_ptr<polyhedron, PolyDeleter>;

// The input solid as the plug-in builds it for a picture of width by height.
PolyPtr InputSolid(int32_t width, int32_t height) {
  PolyPtr p(new polyhedron{});
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), float(height) / float(width), 0.0f);
  PolyhedronParams params{};
  get_polyhedron_params_from_output_mode(kInputSolidOutputMode, &params);
  SetUpReallyGeneralPolyhedron(p.get(), params.shapeCode, kNetMethodComputed, kCramFit, 0.0, nullptr, 1);
  return p;
}

bool IsFace(const polyhedron* p, int32_t t) { return !p->triangles[t].isTab && !p->triangles[t].hideFlag; }

void Normalise(double d[3]) {
  const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  for (int k = 0; k < 3; ++k) d[k] /= n;
}

double AngleBetween(const double a[3], const double b[3]) {
  const double c[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  return std::atan2(std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]), a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
}

// The net of the input solid as a picture: per pixel the unit direction of
// the solid point under its centre, or nothing off the net.
struct NetPicture {
  int32_t width = 0, height = 0;
  std::vector<double> dir;    // 3 per pixel
  std::vector<uint8_t> onNet;
  std::vector<uint8_t> nearCut;  // within kCutReach of a cut or the empty area
};

void NetPointOfPixel(const polyhedron* p, const NetPicture& n, int32_t x, int32_t y, float* nx, float* ny) {
  *nx = float(p->targetRect[0] + ((x + 0.5) / n.width) / p->unitScale[0]);
  *ny = float(p->targetRect[2] + ((y + 0.5) / n.height) / p->unitScale[1]);
}

NetPicture PaintNet(const polyhedron* p, int32_t width, int32_t height) {
  NetPicture n;
  n.width = width;
  n.height = height;
  const size_t count = size_t(width) * size_t(height);
  n.dir.assign(3 * count, 0.0);
  n.onNet.assign(count, 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      float nx, ny;
      NetPointOfPixel(p, n, x, y, &nx, &ny);
      for (int32_t t = 0; t < p->nTriangles; ++t) {
        float b0, b1, b2;
        if (!IsFace(p, t) || !find_barycentrics(t, nx, ny, &b0, &b1, &b2, p)) continue;
        double* d = &n.dir[3 * (size_t(y) * width + x)];
        Get3DPointFromFaceAndBarys(t, b0, b1, b2, d, p);
        Normalise(d);
        n.onNet[size_t(y) * width + x] = 1;
        break;
      }
    }
  }
  // The usual step between neighbours, then every pixel next to a jump.
  std::vector<double> steps;
  std::vector<uint8_t> cut(count, 0);
  for (int pass = 0; pass < 2; ++pass) {
    double limit = 0.0;
    if (pass == 1 && !steps.empty()) {
      std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
      limit = kCutJump * steps[steps.size() / 2];
    }
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const size_t i = size_t(y) * width + x;
        // Past the picture's edge is empty area too: a net that the fit
        // lays against the edge is read there from clamped pixels.
        const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
        if (!n.onNet[i] || edge) {
          cut[i] = 1;
          if (!n.onNet[i]) continue;
        }
        const size_t next[2] = {x + 1 < width ? i + 1 : i, y + 1 < height ? i + width : i};
        for (const size_t j : next) {
          if (j == i) continue;
          if (!n.onNet[j]) continue;
          const double a = AngleBetween(&n.dir[3 * i], &n.dir[3 * j]);
          if (pass == 0) steps.push_back(a);
          else if (a > limit) cut[i] = cut[j] = 1;
        }
      }
    }
  }
  n.nearCut.assign(count, 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      if (!cut[size_t(y) * width + x]) continue;
      for (int32_t yy = std::max(0, y - kCutReach); yy <= std::min(height - 1, y + kCutReach); ++yy)
        for (int32_t xx = std::max(0, x - kCutReach); xx <= std::min(width - 1, x + kCutReach); ++xx)
          n.nearCut[size_t(yy) * width + xx] = 1;
    }
  }
  return n;
}

gyhost::HostImage NetImage(const NetPicture& n) {
  gyhost::HostImage image;
  EXPECT_TRUE(gyhost::ResizeHostImage(&image, n.width, n.height, 3, false, gyhost::SampleType::F32));
  for (int32_t y = 0; y < n.height; ++y) {
    for (int32_t x = 0; x < n.width; ++x) {
      const size_t i = size_t(y) * n.width + x;
      float px[3] = {0.0f, 0.0f, 0.0f};
      if (n.onNet[i])
        for (int k = 0; k < 3; ++k) px[k] = float(0.5 + 0.5 * n.dir[3 * i + k]);
      std::memcpy(gyhost::PixelAddress(image, x, y), px, sizeof px);
    }
  }
  return image;
}

// The net pixel where the ray from the centre along d leaves the solid:
// false when no face triangle takes it.
bool NetPixelOfDirection(const polyhedron* p, const NetPicture& n, const double d[3], int32_t* x, int32_t* y) {
  for (int32_t t = 0; t < p->nTriangles; ++t) {
    if (!IsFace(p, t)) continue;
    double c[3][3];
    for (int k = 0; k < 3; ++k) convert_triangle_vertex_to_3D_vectorD(t, k, c[k], p);
    double e1[3], e2[3];
    for (int k = 0; k < 3; ++k) {
      e1[k] = c[1][k] - c[0][k];
      e2[k] = c[2][k] - c[0][k];
    }
    const double nrm[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
    const double nd = nrm[0] * d[0] + nrm[1] * d[1] + nrm[2] * d[2];
    if (nd == 0.0) continue;
    const double s = (nrm[0] * c[0][0] + nrm[1] * c[0][1] + nrm[2] * c[0][2]) / nd;
    if (s <= 0.0) continue;
    const double w[3] = {s * d[0] - c[0][0], s * d[1] - c[0][1], s * d[2] - c[0][2]};
    const double nn = nrm[0] * nrm[0] + nrm[1] * nrm[1] + nrm[2] * nrm[2];
    const double we2[3] = {w[1] * e2[2] - w[2] * e2[1], w[2] * e2[0] - w[0] * e2[2], w[0] * e2[1] - w[1] * e2[0]};
    const double e1w[3] = {e1[1] * w[2] - e1[2] * w[1], e1[2] * w[0] - e1[0] * w[2], e1[0] * w[1] - e1[1] * w[0]};
    const double b1 = (we2[0] * nrm[0] + we2[1] * nrm[1] + we2[2] * nrm[2]) / nn;
    const double b2 = (e1w[0] * nrm[0] + e1w[1] * nrm[1] + e1w[2] * nrm[2]) / nn;
    const double b0 = 1.0 - b1 - b2;
    constexpr double kEdge = -1e-9;
    if (b0 < kEdge || b1 < kEdge || b2 < kEdge) continue;
    double net[3];
    Get2DPointFromTriangleAndBarys(t, float(b0), float(b1), float(b2), net, p);
    const double u = (net[0] - p->targetRect[0]) * p->unitScale[0];
    const double v = (net[1] - p->targetRect[2]) * p->unitScale[1];
    *x = std::clamp(int32_t(std::floor(u * n.width)), 0, n.width - 1);
    *y = std::clamp(int32_t(std::floor(v * n.height)), 0, n.height - 1);
    return true;
  }
  return false;
}

// The direction output pixel (x, y) of an equirectangular map stands for.
void DirectionOfMapPixel(int32_t x, int32_t y, int32_t width, int32_t height, double d[3]) {
  RectangularToSphericalD(1.0 - (x + 0.5) / width, (y + 0.5) / height, d);
}

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0.0;
  const size_t k = std::min(v.size() - 1, size_t(q * double(v.size())));
  std::nth_element(v.begin(), v.begin() + k, v.end());
  return v[k];
}

TEST(NetInput, EveryMapPixelShowsItsDirection) {
  const PolyPtr solid = InputSolid(kWidth, kHeight);
  ASSERT_EQ(solid->errorCode, 0);
  ASSERT_GT(solid->nTriangles, 0);
  const NetPicture net = PaintNet(solid.get(), kWidth, kHeight);

  render_e2e::Scratch dir;
  render_e2e::WriteImage(dir / "net.exr", NetImage(net));
  const auto run = render_e2e::RunGyrelle({"--set", std::string("Fiky=") + kNetInputCode, "--set", "Foky=Fo01"},
                                          dir / "net.exr", dir / "map.exr", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const gyhost::HostImage out = render_e2e::ReadImage(dir / "map.exr");
  ASSERT_EQ(out.width, kWidth);
  ASSERT_EQ(out.height, kHeight);

  std::vector<double> errors;
  int64_t nearCut = 0, noFace = 0, mirrored = 0, opposite = 0;
  double worst = 0.0;
  std::string worstAt;
  for (int32_t y = 0; y < out.height; ++y) {
    for (int32_t x = 0; x < out.width; ++x) {
      double d[3];
      DirectionOfMapPixel(x, y, out.width, out.height, d);
      int32_t nx, ny;
      if (!NetPixelOfDirection(solid.get(), net, d, &nx, &ny)) {
        ++noFace;
        continue;
      }
      if (net.nearCut[size_t(ny) * net.width + nx]) {
        ++nearCut;
        continue;
      }
      double shown[3];
      for (int k = 0; k < 3; ++k) shown[k] = 2.0 * Sample(out, x, y, k) - 1.0;
      const double err = AngleBetween(shown, d) * kRadToDeg;
      errors.push_back(err);
      // Evidence for the usual faults: the map turned about the vertical
      // (longitude negated) or the opposite face read.
      const double flipped[3] = {-d[0], d[1], d[2]}, back[3] = {-d[0], -d[1], -d[2]};
      if (err > kWorstToleranceDeg && AngleBetween(shown, flipped) * kRadToDeg < kWorstToleranceDeg) ++mirrored;
      if (err > kWorstToleranceDeg && AngleBetween(shown, back) * kRadToDeg < kWorstToleranceDeg) ++opposite;
      if (err > worst) {
        worst = err;
        worstAt = "(" + std::to_string(x) + ", " + std::to_string(y) + ") at net pixel (" + std::to_string(nx) +
                  ", " + std::to_string(ny) + ")";
      }
    }
  }
  const double total = double(out.width) * out.height;
  const double median = Percentile(errors, 0.5), p95 = Percentile(errors, 0.95);
  RecordProperty("median_deg", std::to_string(median));
  RecordProperty("p95_deg", std::to_string(p95));
  RecordProperty("near_cut_share", std::to_string(nearCut / total));
  std::cout << "net input: " << errors.size() << " pixels compared, median " << median << " deg, 95th percentile "
            << p95 << " deg, worst " << worst << " deg at " << worstAt << "; near cuts " << nearCut << " ("
            << 100.0 * nearCut / total << "%)\n";
  EXPECT_EQ(noFace, 0) << "directions that meet no face of the solid";
  EXPECT_LE(nearCut / total, kMaxNearCutShare);
  EXPECT_EQ(mirrored, 0) << "pixels showing the direction mirrored across the vertical plane";
  EXPECT_EQ(opposite, 0) << "pixels showing the opposite direction";
  EXPECT_LT(median, kMedianToleranceDeg);
  EXPECT_LT(p95, kP95ToleranceDeg);
  EXPECT_LT(worst, kWorstToleranceDeg) << "worst at " << worstAt;
}

// A panorama laid out as the input solid's net and read back: the same
// picture away from the cuts.
TEST(NetInput, PanoramaThroughTheNetAndBack) {
  const PolyPtr solid = InputSolid(kWidth, kHeight);
  ASSERT_EQ(solid->errorCode, 0);
  const NetPicture net = PaintNet(solid.get(), kWidth, kHeight);

  render_e2e::Scratch dir;
  const gyhost::HostImage pano = render_e2e::SmoothPanorama(kWidth, kHeight);
  render_e2e::WriteImage(dir / "pano.png", pano);
  auto run = render_e2e::RunGyrelle({"--set", std::string("Foky=") + kNetOutputCode, "--set", "0038=0"},
                                    dir / "pano.png", dir / "net.png", dir);
  if (run.status != 0 && run.err.find("not built yet") != std::string::npos)
    GTEST_SKIP() << "output mode 30 is not rendered yet: " << run.err;
  ASSERT_EQ(run.status, 0) << run.err;
  run = render_e2e::RunGyrelle({"--set", std::string("Fiky=") + kNetInputCode, "--set", "Foky=Fo01"},
                               dir / "net.png", dir / "back.png", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const gyhost::HostImage back = render_e2e::ReadImage(dir / "back.png");
  ASSERT_EQ(back.width, kWidth);
  ASSERT_EQ(back.height, kHeight);

  double sum = 0.0;
  int64_t n = 0;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      double d[3];
      DirectionOfMapPixel(x, y, kWidth, kHeight, d);
      int32_t nx, ny;
      if (!NetPixelOfDirection(solid.get(), net, d, &nx, &ny) || net.nearCut[size_t(ny) * net.width + nx]) continue;
      for (int32_t c = 0; c < 3; ++c) {
        const double e = Sample(back, x, y, c) - Sample(pano, x, y, c);
        sum += e * e;
        ++n;
      }
    }
  }
  ASSERT_GT(n, 0);
  const double psnr = sum > 0.0 ? 10.0 * std::log10(255.0 * 255.0 * double(n) / sum) : 99.0;
  std::cout << "panorama through the net and back: " << psnr << " dB away from the cuts\n";
  EXPECT_GE(psnr, 30.0);
}

}  // namespace
