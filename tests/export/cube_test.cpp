// The cube map as six files: each a 90-degree rectilinear view along its
// axis, the same picture as the rectilinear mode turned the same way, and
// the user's settings untouched by the export.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "export/layer_renderers.h"
#include "export/psd/psd_writer.h"
#include "frame/globals.h"
#include "export_host.h"
#include "psd_reader.h"
#include "scratch.h"

namespace {

constexpr const char* kTags[6] = {"_d", "_u", "_l", "_b", "_r", "_f"};

// Red and green hold the source pixel's unit coordinates.
void CoordinateImage(ExportHost* host) {
  for (int y = 0; y < host->height; ++y)
    for (int x = 0; x < host->width; ++x) {
      host->SetSample(&host->image, x, y, 0, uint32_t(std::lround(255.0 * (x + 0.5) / host->width)));
      host->SetSample(&host->image, x, y, 1, uint32_t(std::lround(255.0 * (y + 0.5) / host->height)));
      host->SetSample(&host->image, x, y, 2, 128);
    }
  host->output = host->image;
}

std::vector<PsdFile> ExportCube(ExportHost& host, ScratchFolder& dir, int size) {
  EXPECT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* g = host.OpenInvocation();
  TParameters* p = host.Settings();
  p->exportKind = 1;
  p->cubeFaceSize = size;
  p->twirlX = 12.0f;
  p->twirlSpin = -7.0f;
  p->glueMode = 4;
  TParameters before = *p;
  const FSRef file = ScratchFolder::Ref(dir.Path("cube.psd"));
  uint8_t cancelled = 0;
  EXPECT_EQ(WriteImageFile(g, &file, &cancelled, kImageFormatPSD), 0);
  before.pyramidsFilled = p->pyramidsFilled;  // the export read the image
  EXPECT_EQ(std::memcmp(&before, p, sizeof before), 0) << "the settings are as they were";
  host.CloseInvocation();
  std::vector<PsdFile> faces(6);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(ReadPsd(ReadWholeFile(dir.Path(std::string("cube") + kTags[k] + ".psd")), &faces[k]), "");
  return faces;
}

// Where each face looks, as the unit coordinates of the equirectangular
// source: longitude as u, latitude as v.
TEST(CubeMap, EachFaceLooksAlongItsAxis) {
  ScratchFolder dir;
  ExportHost host(128, 64);
  CoordinateImage(&host);
  constexpr int S = 33;  // odd: one pixel sits on the axis
  const std::vector<PsdFile> faces = ExportCube(host, dir, S);
  auto centre = [&](int k, int plane) { return faces[k].composite[plane][size_t(S / 2) * S + S / 2] / 255.0; };
  auto at = [&](int k, int x, int plane) { return faces[k].composite[plane][size_t(S / 2) * S + x] / 255.0; };
  // Front, right and left lie on the equator a quarter turn apart; the back
  // looks at the panorama's seam, its left half at one end, its right half
  // at the other.
  const double front = centre(5, 0), right = centre(4, 0), left = centre(2, 0);
  for (int k : {2, 3, 4, 5}) EXPECT_NEAR(centre(k, 1), 0.5, 0.02) << kTags[k];
  EXPECT_NEAR(front, 0.5, 0.02) << "the front face looks at the middle of the panorama";
  EXPECT_NEAR(std::fabs(right - left), 0.5, 0.02);
  EXPECT_NEAR(std::fabs(right - front), 0.25, 0.02);
  const double backLeft = at(3, S / 2 - 4, 0), backRight = at(3, S / 2 + 4, 0);
  EXPECT_GT(std::max(backLeft, backRight), 0.9);
  EXPECT_LT(std::min(backLeft, backRight), 0.1);
  EXPECT_EQ(backLeft > backRight, right > front) << "the back continues the turn from the right";
  // Up and down look at the poles: the top and bottom rows of the source.
  EXPECT_LT(centre(1, 1), 0.05);
  EXPECT_GT(centre(0, 1), 0.95);
}

double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  double se = 0;
  for (size_t i = 0; i < a.size(); ++i) se += (double(a[i]) - b[i]) * (double(a[i]) - b[i]);
  return se == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * double(a.size()) / se);
}

// Each face file against the rectilinear mode rendered in place with the
// face's turn at 90 degrees, on a square image of the face's size.
TEST(CubeMap, FacesMatchTheRectilinearModeTurnedTheSameWay) {
  constexpr int S = 48;
  ScratchFolder dir;
  ExportHost host(S, S);
  const std::vector<PsdFile> faces = ExportCube(host, dir, S);
  for (int k = 0; k < 6; ++k) {
    ExportHost view(S, S);
    ASSERT_EQ(view.Call(kSelectorPrepare), 0);
    TParameters* p = view.Settings();
    const CubeFaceTurn t = CubeFaceTurnOf(k + 1);
    p->outputMode = 14;
    p->viewAngle = 90.0f;
    p->twirlX = t.twirlX;
    p->twirlY = t.twirlY;
    p->twirlSpin = t.twirlSpin;
    ASSERT_EQ(view.RunInvocation(), 0);
    for (int c = 0; c < 3; ++c) {
      std::vector<uint8_t> plane(size_t(S) * S);
      for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) plane[size_t(y) * S + x] = uint8_t(view.Sample(view.output, x, y, c));
      EXPECT_GE(Psnr(plane, faces[k].composite[c]), 40.0) << kTags[k] << " plane " << c;
    }
  }
}

}  // namespace
