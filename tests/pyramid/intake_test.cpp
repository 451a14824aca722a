// Reading the host's image into the main colour pyramid: the kind and the
// four channels for every host mode and depth, the tile-by-tile requests, the
// edge modes of the input mode, and what a host error leaves behind.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "frame/globals.h"
#include "frame/base/result_codes.h"
#include "pyramid/pyramid_input_modes.h"
#include "pyramid/pyramid_intake.h"
#include "pyramid/pyramid_pixels.h"
#include "platform/memory.h"
#include "pyramid_test_util.h"
#include "support/fake_host.h"

namespace {

// Sample values in each format's own scale, different in every plane.
double HostValue(int x, int y, int plane, int16_t depth) {
  const uint32_t n = TestNoise(uint32_t(x), uint32_t(y), uint32_t(plane));
  if (depth == 32) return double(n % 3000u) / 1000.0 - 0.5;  // floats beyond 0..1 stay as they are
  if (depth == 16) return double(n % 32769u);
  return double(n & 255u);
}

void FillHostImage(FakeHost* host) {
  for (int y = 0; y < host->height; ++y)
    for (int x = 0; x < host->width; ++x)
      for (int plane = 0; plane < host->planes; ++plane)
        host->SetSample(x, y, plane, HostValue(x, y, plane, host->record.depth));
}

// The four channels of level-0 pixel (x, y) in the pyramid's stored scale.
void StoredPixel(const PyramidDescriptor* p, int x, int y, double out[4]) {
  if (p->dataKind == PyramidDataKind_FourFloat) {
    float f[4];
    get_pyramid_sample_point128bit_HDRcomponent_call(x, y, p, 0, &f[0], &f[1], &f[2], &f[3]);
    for (int i = 0; i < 4; ++i) out[i] = f[i];
    return;
  }
  int32_t c[4];
  get_pyramid_sample_pointColorcall(x, y, p, 0, &c[0], &c[1], &c[2], &c[3]);
  for (int i = 0; i < 4; ++i) out[i] = c[i];
}

int16_t ReadImage(FakeHost* host) {
  const int16_t allocated = AllocateColorPyramids(host->width, host->height, host->globals);
  if (allocated != 0) return allocated;
  host->globals->result = 0;
  host->globals->moreToDo = 1;
  FillPyramids(host->globals);
  return host->globals->result;
}

TEST(PyramidIntake, EveryHostFormatBecomesFourChannels) {
  struct Case {
    const char* name;
    int16_t mode, depth;
    int planes;
    bool transparency;
    int32_t kind;
    double fullAlpha;
  } cases[] = {
      {"8-bit RGB with transparency", kImageModeRGB, 8, 4, true, 3, 255},
      {"8-bit RGB", kImageModeRGB, 8, 3, false, 3, 255},
      {"8-bit grey", kImageModeGray, 8, 1, false, 3, 255},
      {"8-bit grey with transparency", kImageModeGray, 8, 2, true, 3, 255},
      {"16-bit RGB", kImageModeRGB48, 16, 3, false, 4, 32768},
      {"16-bit grey with transparency", kImageModeGray16, 16, 2, true, 4, 32768},
      {"float RGB with transparency", kImageModeRGB96, 32, 4, true, 9, 1.0},
      {"float grey", kImageModeGray32, 32, 1, false, 9, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHost host(600, 70, c.mode, c.depth, c.planes, c.transparency);
    FillHostImage(&host);
    ASSERT_EQ(ReadImage(&host), 0);
    const PyramidDescriptor* p = &host.globals->pyramids[kPyramidMain];
    ASSERT_EQ(p->dataKind, c.kind);
    const bool colour = c.mode == kImageModeRGB || c.mode == kImageModeRGB48 || c.mode == kImageModeRGB96;
    int bad = 0;
    for (int y = 0; y < 70 && bad < 5; ++y)
      for (int x = 0; x < 600 && bad < 5; ++x) {
        double got[4];
        StoredPixel(p, x, y, got);
        const double want[4] = {host.GetSample(x, y, 0), host.GetSample(x, y, colour ? 1 : 0),
                                host.GetSample(x, y, colour ? 2 : 0),
                                c.transparency ? host.GetSample(x, y, c.planes - 1) : c.fullAlpha};
        for (int i = 0; i < 4; ++i)
          if (got[i] != want[i]) {
            ADD_FAILURE() << "(" << x << ", " << y << ") channel " << i << ": " << got[i] << " != " << want[i];
            ++bad;
          }
      }
    EXPECT_EQ(host.Settings()->pyramidsFilled, 1);
  }
}

TEST(PyramidIntake, AsksForOneLevel0TileAtATime) {
  FakeHost host(600, 400, kImageModeRGB, 8, 4, true);
  host.record.inRect = Rect{1, 2, 3, 4};
  host.record.outRect = Rect{5, 6, 7, 8};
  host.record.maskRect = Rect{9, 9, 9, 9};
  host.Settings()->previewScale = 3;
  ASSERT_EQ(ReadImage(&host), 0);
  ASSERT_EQ(host.requests.size(), 2u);
  const Rect want[2] = {{0, 0, 400, 512}, {0, 512, 400, 600}};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(host.requests[size_t(i)].top, want[i].top);
    EXPECT_EQ(host.requests[size_t(i)].left, want[i].left);
    EXPECT_EQ(host.requests[size_t(i)].bottom, want[i].bottom);
    EXPECT_EQ(host.requests[size_t(i)].right, want[i].right);
  }
  // A final pass puts the host's rectangles and the preview scale back.
  EXPECT_EQ(host.record.inRect.right, 4);
  EXPECT_EQ(host.record.outRect.bottom, 7);
  EXPECT_EQ(host.record.maskRect.top, 9);
  EXPECT_EQ(host.Settings()->previewScale, 3);
}

// Only the dialog's preview goes back to the proxy request after the read.
TEST(PyramidIntake, APreviewAsksForItsProxyAgain) {
  FakeHost host(600, 400, kImageModeRGB, 8, 3, false);
  host.Settings()->runMode = RunMode_Preview;
  host.Settings()->previewScale = 1;
  host.globals->proxyRect = Rect{0, 0, 100, 150};
  ASSERT_EQ(ReadImage(&host), 0);
  ASSERT_EQ(host.requests.size(), 3u);
  EXPECT_EQ(host.requests[2].right, 150);
  EXPECT_EQ(host.requests[2].bottom, 100);
  EXPECT_EQ(host.globals->outputWidth, 150);  // the preview's size again
}

TEST(PyramidIntake, LevelsAndEdgeModesFollowTheInputMode) {
  struct Case {
    int32_t inputMode, wrapMode, overhangMode;
  } cases[] = {{1, 2, 7}, {24, 2, 7}, {5, 2, 4}, {12, 2, 4}, {20, 2, 4}, {25, 2, 4},
               {11, 1, 3}, {3, 0, 3},  {27, 0, 3}, {30, 0, 3}};
  for (const Case& c : cases) {
    EXPECT_EQ(WrapModeFromGyrelleInputMode(c.inputMode), c.wrapMode) << c.inputMode;
    EXPECT_EQ(OverhangModeFromGyrelleInputMode(c.inputMode), c.overhangMode) << c.inputMode;
  }
  FakeHost host(40, 20, kImageModeGray, 8, 1, false);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) host.SetSample(x, y, 0, 100);
  host.Settings()->inputMode = 5;
  ASSERT_EQ(ReadImage(&host), 0);
  const PyramidDescriptor* p = &host.globals->pyramids[kPyramidMain];
  EXPECT_EQ(p->wrapMode, 2);
  EXPECT_EQ(p->overhangMode, 4);
  int32_t c[4];
  get_pyramid_sample_pointColorcall(3, 1, p, p->topLevel, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 100);  // the levels were built
  EXPECT_EQ(c[3], 255);
}

TEST(PyramidIntake, AHostErrorEndsTheReadAtTheFailingTile) {
  FakeHost host(600, 30, kImageModeRGB, 8, 3, false);
  FillHostImage(&host);
  host.advanceErrorAtCall = 2;
  host.advanceError = -36;
  host.Settings()->inputMode = 1;
  ASSERT_EQ(AllocateColorPyramids(600, 30, host.globals), 0);
  PyramidDescriptor* p = &host.globals->pyramids[kPyramidMain];
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 600; ++x) set_pyramid_sample_pointColor(x, y, p, 0, 1, 2, 3, 4);
  host.globals->moreToDo = 1;
  FillPyramids(host.globals);
  EXPECT_EQ(host.globals->result, -36);
  EXPECT_EQ(host.globals->moreToDo, 0);
  EXPECT_EQ(host.Settings()->pyramidsFilled, 0);
  EXPECT_EQ(p->wrapMode, 0);
  EXPECT_EQ(p->overhangMode, 3);
  int32_t c[4];
  get_pyramid_sample_pointColorcall(511, 29, p, 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], int32_t(host.GetSample(511, 29, 0)));  // the first tile is in
  get_pyramid_sample_pointColorcall(512, 0, p, 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 1);  // the second is not
  // The host's rectangles stay as the failing request set them.
  EXPECT_EQ(host.record.inRect.left, 512);
}

TEST(PyramidIntake, CopiesNothingItCannotReadWhole) {
  FakeHost host(20, 10, kImageModeRGB, 8, 3, false);
  FillHostImage(&host);
  ASSERT_EQ(AllocateColorPyramids(20, 10, host.globals), 0);
  PyramidDescriptor* p = &host.globals->pyramids[kPyramidMain];
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 20; ++x) set_pyramid_sample_pointColor(x, y, p, 0, 1, 2, 3, 4);
  const std::vector<uint8_t> before = LevelBytes(p, 0);

  // A delivery smaller than the tile.
  host.record.inRect = Rect{0, 0, 9, 20};
  host.record.inLoPlane = 0;
  host.record.inHiPlane = 2;
  host.record.inputRate = 0x10000;
  host.record.advanceState();
  CopyInRectToTile(p, host.globals, 0);
  EXPECT_EQ(LevelBytes(p, 0), before);
  // A colour image delivered with fewer than three planes.
  host.record.inRect = Rect{0, 0, 10, 20};
  host.record.inHiPlane = 1;
  host.record.advanceState();
  CopyInRectToTile(p, host.globals, 0);
  EXPECT_EQ(LevelBytes(p, 0), before);
  // A pyramid of another kind than the host's image needs.
  host.record.inHiPlane = 2;
  host.record.advanceState();
  PyramidPtr wrongKind = MakePyramid(20, 10, PyramidDataKind_FourFloat);
  const std::vector<uint8_t> wrongBefore = LevelBytes(wrongKind.get(), 0);
  CopyInRectToTile(wrongKind.get(), host.globals, 0);
  EXPECT_EQ(LevelBytes(wrongKind.get(), 0), wrongBefore);
  CopyInRectToTile(p, host.globals, p->tileCount);  // no such tile
  // And a proper delivery is taken.
  CopyInRectToTile(p, host.globals, 0);
  EXPECT_NE(LevelBytes(p, 0), before);
}

TEST(PyramidIntake, TransparencyPlaneOutsideTheRequestLeavesAlphaFull) {
  FakeHost host(8, 8, kImageModeRGB, 8, 4, true);
  FillHostImage(&host);
  host.record.inLayerPlanes = 7;  // a host that names a plane it does not deliver
  ASSERT_EQ(ReadImage(&host), 0);
  int32_t c[4];
  get_pyramid_sample_pointColorcall(5, 5, &host.globals->pyramids[kPyramidMain], 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[3], 255);
}

TEST(PyramidIntake, OutputSizedPyramidIsTheExportCanvasInExportLayers) {
  FakeHost host(8, 8, kImageModeRGB, 8, 3, false);
  host.storage->exportCanvas = &host.storage->exportCanvasPyramid;
  for (int32_t mode : {0, 1, 2}) {
    host.Settings()->runMode = mode;
    EXPECT_EQ(GetPyr_with_output_dimensions(host.globals),
              mode == 2 ? &host.storage->exportCanvasPyramid : &host.globals->pyramids[kPyramidMain]);
  }
}

// The intake commits the tiles' pages before it writes them: committing
// must never change what a block holds, whatever its start and length.
TEST(PyramidIntake, CommittingPagesKeepsWhatTheBlockHolds) {
  std::vector<uint8_t> block(size_t(3) << 20);
  for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i * 7 + (i >> 12));
  const std::vector<uint8_t> before = block;
  struct Span {
    size_t start, bytes;
  } spans[] = {{0, block.size()}, {1, 100}, {4095, 4098}, {12345, (size_t(2) << 20) + 17}, {8, 0}};
  for (const Span& s : spans) CommitPagesForWriting(block.data() + s.start, int64_t(s.bytes));
  CommitPagesForWriting(nullptr, 4096);
  EXPECT_TRUE(block == before);
}

}  // namespace
