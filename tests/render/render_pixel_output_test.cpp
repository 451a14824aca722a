// Pixel output: every image format the host can hand us (8-, 16- and
// 32-bit, grey and RGB, with and without transparency) in every run mode
// (final, dialog preview, export canvas) in one table, then the rules of
// the integer paths case by case.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

#include "support/fake_host.h"
#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "render/output/pixel_output.h"

namespace {

constexpr int kWidth = 20, kHeight = 12;

struct Format {
  const char* name;
  int16_t imageMode, depth;
  int colours;
  bool alpha;
};

const Format kFormats[] = {
    {"grey 8", kImageModeGray, 8, 1, false},     {"grey 8 + alpha", kImageModeGray, 8, 1, true},
    {"RGB 8", kImageModeRGB, 8, 3, false},       {"RGB 8 + alpha", kImageModeRGB, 8, 3, true},
    {"grey 16", kImageModeGray16, 16, 1, false}, {"grey 16 + alpha", kImageModeGray16, 16, 1, true},
    {"RGB 16", kImageModeRGB48, 16, 3, false},   {"RGB 16 + alpha", kImageModeRGB48, 16, 3, true},
    {"grey 32", kImageModeGray32, 32, 1, false}, {"grey 32 + alpha", kImageModeGray32, 32, 1, true},
    {"RGB 32", kImageModeRGB96, 32, 3, false},   {"RGB 32 + alpha", kImageModeRGB96, 32, 3, true},
};

// A host whose output buffers hold the whole picture (preview) or one row
// (final), and an export canvas of the kind an export of this depth uses.
struct OutputHost {
  OutputHost(const Format& f, int32_t runMode)
      : format(f), host(kWidth, kHeight, f.imageMode, f.depth, f.colours + (f.alpha ? 1 : 0), f.alpha) {
    SetDefaultSettings(host.Settings());
    host.Settings()->runMode = runMode;
    FilterRecord& r = host.record;
    r.outRect = Rect{0, 0, int16_t(runMode == RunMode_Preview ? kHeight : 1), int16_t(kWidth)};
    r.outLoPlane = r.inLoPlane = 0;
    r.outHiPlane = r.inHiPlane = int16_t(host.planes - 1);
    r.outLayerPlanes = r.inLayerPlanes;
    const int rows = runMode == RunMode_Preview ? kHeight : 1;
    r.outRowBytes = r.inRowBytes = kWidth * host.planes * host.bytesPerSample;
    out.assign(size_t(r.outRowBytes) * rows, 0);
    in.assign(size_t(r.inRowBytes) * rows, 0);
    r.outData = out.data();
    r.inData = in.data();
    Globals* g = host.globals;
    g->firstRow = 0;
    g->lastRow = kHeight - 1;
    g->lastColumn = kWidth - 1;
    const int32_t kind = f.depth == 8 ? PyramidDataKind_Packed8
                                      : (f.depth == 16 ? PyramidDataKind_Four16 : PyramidDataKind_FourFloat);
    EXPECT_TRUE(TryToAllocatePyramid_2006(&host.storage->exportCanvasPyramid, kWidth, kHeight, kind, 0));
    host.storage->exportCanvas = &host.storage->exportCanvasPyramid;
  }
  void Put(int32_t x, int32_t y, const float colour[4]) {
    PixelSink sink;
    ASSERT_TRUE(PreparePixelSink(host.globals, y, &sink));
    Output_a_Pixel(sink, x, colour);
  }
  // Sample `plane` of pixel x of row y as stored (preview: row y; final: the one row).
  double Stored(int32_t x, int32_t y, int plane) const {
    const int row = host.Settings()->runMode == RunMode_Preview ? y : 0;
    const uint8_t* at = &out[size_t(row) * host.record.outRowBytes + (size_t(x) * host.planes + plane) * host.bytesPerSample];
    if (host.bytesPerSample == 1) return *at;
    if (host.bytesPerSample == 2) {
      uint16_t v;
      std::memcpy(&v, at, 2);
      return v;
    }
    float v;
    std::memcpy(&v, at, 4);
    return v;
  }
  const Format& format;
  FakeHost host;
  std::vector<uint8_t> out, in;
};

// The colour every case writes, and what each path makes of it.
constexpr float kColour[4] = {0.25f, 0.5f, 0.75f, 0.5f};

struct Scaled {
  double c[3];  // red (grey for one channel), green, blue
  double alpha;
  double full, alphaFull;
};

Scaled Expected(const Format& f) {
  if (f.depth == 32) {
    const double grey = (77.0 * 0.25 + 150.0 * 0.5 + 28.0 * 0.75) * 0.003921568627451;
    return {{f.colours == 1 ? grey : 0.25, 0.5, 0.75}, 0.5, 1.0, 1.0};
  }
  const double full = f.depth == 8 ? 255.0 : 32768.0;
  double c[3] = {std::trunc(0.25 * full), std::trunc(0.5 * full), std::trunc(0.75 * full)};
  const double alpha = std::trunc(0.5 * full * 1.007);
  if (f.colours == 1) c[0] = double((77 * int(c[0]) + 150 * int(c[1]) + 29 * int(c[2])) >> 8);
  return {{c[0], c[1], c[2]}, alpha, full, full};
}

TEST(PixelOutput, EveryFormatInEveryRunMode) {
  for (const Format& f : kFormats) {
    for (const int32_t runMode : {RunMode_Final, RunMode_Preview, RunMode_ExportLayer}) {
      OutputHost h(f, runMode);
      const int32_t x = 9, y = runMode == RunMode_Final ? 0 : 5;  // (9 ^ 5) & 8 is set: a dark square
      h.Put(x, y, kColour);
      const Scaled e = Expected(f);
      const std::string what = std::string(f.name) + " run mode " + std::to_string(runMode);
      if (runMode == RunMode_ExportLayer) {
        int32_t c[4];
        get_pyramid_sample_pointColorcall(x, y, &h.host.storage->exportCanvasPyramid, 0, &c[0], &c[1], &c[2], &c[3]);
        double got[4];
        for (int i = 0; i < 4; ++i) {
          float fl;
          std::memcpy(&fl, &c[i], 4);
          got[i] = f.depth == 32 ? double(fl) : double(c[i]);
        }
        EXPECT_NEAR(got[0], e.c[0], 1e-6) << what;
        EXPECT_NEAR(got[3], e.alpha, 1e-6) << what;
        // The host's buffer is not touched by an export layer.
        EXPECT_EQ(h.Stored(x, y, 0), 0.0) << what;
        continue;
      }
      double m = 1.0, checker = 0.0;
      double outAlpha = e.alpha;
      if (runMode == RunMode_Preview) {
        // No selection: the mask is full.
        if (f.depth == 8) {
          const int mask = f.alpha ? (256 * int(e.alpha)) >> 8 : 256;
          m = mask / 256.0;
          checker = 204;
          outAlpha = 255;
        } else if (f.depth == 16) {
          const int mask = f.alpha ? (255 * int(e.alpha)) >> 15 : 255;
          m = mask / 256.0;
          checker = 26112 * (255 - mask) / 256.0;
          outAlpha = 32768;
        } else {
          m = 255 * 0.003921568627451 * (f.alpha ? 0.5 : 1.0);
          checker = 0.8;
          outAlpha = m;
        }
      }
      for (int i = 0; i < f.colours; ++i) {
        double want = e.c[i];
        if (runMode == RunMode_Preview) {
          if (f.depth == 8) want = std::floor(((256 - m * 256) * checker + m * 256 * e.c[i]) / 256);
          if (f.depth == 16) want = std::floor(checker + m * e.c[i]);
          if (f.depth == 32) want = (1 - m) * checker + m * e.c[i];
        }
        EXPECT_NEAR(h.Stored(x, y, i), want, f.depth == 32 ? 1e-6 : 0.0) << what << " channel " << i;
      }
      if (f.alpha) {
        EXPECT_NEAR(h.Stored(x, y, f.colours), outAlpha, 1e-6) << what << " alpha";
      }
    }
  }
}

struct IntegerCase {
  const char* what;
  int16_t imageMode, depth;
  int colours;
  int32_t glueMode;
  float colour[4];
  int32_t x;
  int32_t storedAt;     // column the pixel lands in
  double expected[4];   // colours, then alpha when the format has it
};

const IntegerCase kIntegerCases[] = {
    {"red above full scale lends to green and blue", kImageModeRGB, 8, 3, 1, {1.2f, 0.5f, 0.5f, 1.0f}, 3, 3,
     {255, 132, 132}},
    {"white stays white in grey", kImageModeGray, 8, 1, 1, {1.0f, 1.0f, 1.0f, 1.0f}, 3, 3, {255}},
    {"16-bit white in grey", kImageModeGray16, 16, 1, 1, {1.0f, 1.0f, 1.0f, 1.0f}, 3, 3, {32768}},
    {"16-bit full scale is 32768", kImageModeRGB48, 16, 3, 1, {1.0f, 1.0f, 1.0f, 1.0f}, 3, 3, {32768, 32768, 32768}},
    {"negative channels become 0", kImageModeRGB, 8, 3, 1, {-0.5f, 0.0f, 1.0f, 1.0f}, 3, 3, {0, 0, 255}},
    {"a NaN channel stores 0", kImageModeRGB, 8, 3, 1, {NAN, 0.5f, 0.5f, 1.0f}, 3, 3, {0, 127, 127}},
    {"a far left column lands in column 0", kImageModeRGB, 8, 3, 1, {1.0f, 0.0f, 0.0f, 1.0f}, -3, 0, {255, 0, 0}},
    {"a far right column lands in the last", kImageModeRGB, 8, 3, 1, {1.0f, 0.0f, 0.0f, 1.0f}, kWidth + 5,
     kWidth - 1, {255, 0, 0}},
    {"glue mode 0 writes the result", kImageModeRGB, 8, 3, 0, {0.5f, 0.5f, 0.5f, 1.0f}, 3, 3, {127, 127, 127}},
    {"glue mode 63 writes the result", kImageModeRGB, 8, 3, 63, {0.5f, 0.5f, 0.5f, 1.0f}, 3, 3, {127, 127, 127}},
    {"glue mode 9 multiplies by the unfiltered 200", kImageModeRGB, 8, 3, 9, {0.5f, 0.5f, 0.5f, 1.0f}, 3, 3,
     {(127 * 200) >> 8, (127 * 200) >> 8, (127 * 200) >> 8}},
};

TEST(PixelOutput, IntegerPathRules) {
  for (const IntegerCase& c : kIntegerCases) {
    const Format f{c.what, c.imageMode, c.depth, c.colours, false};
    OutputHost h(f, RunMode_Final);
    h.host.Settings()->glueMode = c.glueMode;
    for (size_t i = 0; i < h.in.size(); ++i) h.in[i] = 200;  // the unfiltered picture (8-bit cases)
    h.Put(c.x, 0, c.colour);
    for (int i = 0; i < c.colours; ++i) EXPECT_EQ(h.Stored(c.storedAt, 0, i), c.expected[i]) << c.what << " " << i;
  }
}

// The 8-bit RGB final render takes its own short step; it stores what the
// general integer step stores, over- and under-range, NaN and every alpha.
TEST(PixelOutput, PlainRgb8StepStoresWhatTheGeneralStepStores) {
  const float colours[][4] = {
      {0.25f, 0.5f, 0.75f, 0.5f}, {1.2f, 0.5f, 0.5f, 1.0f},  {1.5f, 1.3f, 0.1f, 0.9f}, {2.0f, 2.0f, 2.0f, 1.2f},
      {-0.5f, 0.0f, 1.0f, -1.0f}, {NAN, 0.5f, 0.5f, NAN},    {0.999f, 0.001f, 0.5f, 0.993f},
      {1e30f, 0.2f, 0.3f, 1e30f}, {0.3f, 1.0001f, 0.7f, 0.0f}};
  for (const bool alpha : {false, true}) {
    const Format f{"RGB 8", kImageModeRGB, 8, 3, alpha};
    OutputHost h(f, RunMode_Final);
    PixelSink sink;
    ASSERT_TRUE(PreparePixelSink(h.host.globals, 0, &sink));
    ASSERT_TRUE(sink.plainRgb8);
    PixelSink general = sink;
    general.plainRgb8 = false;
    for (size_t i = 0; i < std::size(colours); ++i) {
      Output_a_Pixel(sink, int32_t(2 * i), colours[i]);
      Output_a_Pixel(general, int32_t(2 * i + 1), colours[i]);
    }
    for (size_t i = 0; i < std::size(colours); ++i)
      for (int plane = 0; plane < h.host.planes; ++plane)
        EXPECT_EQ(h.Stored(int32_t(2 * i), 0, plane), h.Stored(int32_t(2 * i + 1), 0, plane))
            << "colour " << i << " plane " << plane << (alpha ? " with alpha" : "");
  }
  // Glue, grey, 16 bits and the preview keep the general step.
  const Format grey{"grey 8", kImageModeGray, 8, 1, false}, deep{"RGB 16", kImageModeRGB48, 16, 3, false};
  const Format rgb{"RGB 8", kImageModeRGB, 8, 3, false};
  PixelSink sink;
  OutputHost g(grey, RunMode_Final), d(deep, RunMode_Final), preview(rgb, RunMode_Preview), glued(rgb, RunMode_Final);
  glued.host.Settings()->glueMode = 9;
  for (OutputHost* h : {&g, &d, &preview, &glued}) {
    ASSERT_TRUE(PreparePixelSink(h->host.globals, 0, &sink));
    EXPECT_FALSE(sink.plainRgb8) << h->format.name;
  }
}

TEST(PixelOutput, AlphaRoundsUpNearOpaque) {
  const Format f{"RGB 8 + alpha", kImageModeRGB, 8, 3, true};
  OutputHost h(f, RunMode_Final);
  const float nearlyOpaque[4] = {0, 0, 0, 0.995f};
  h.Put(1, 0, nearlyOpaque);
  EXPECT_EQ(h.Stored(1, 0, 3), 255.0);
  const float half[4] = {0, 0, 0, 0.5f};
  h.Put(2, 0, half);
  EXPECT_EQ(h.Stored(2, 0, 3), 128.0);
}

TEST(PixelOutput, FloatKeepsHighDynamicRangeAndIsNeverGlued) {
  const Format f{"RGB 32", kImageModeRGB96, 32, 3, false};
  OutputHost h(f, RunMode_Final);
  h.host.Settings()->glueMode = 9;
  const float bright[4] = {3.0f, 0.0f, 0.0f, 1.0f};
  h.Put(4, 0, bright);
  EXPECT_EQ(h.Stored(4, 0, 0), 3.0);
  EXPECT_EQ(h.Stored(4, 0, 1), 0.0);
}

TEST(PixelOutput, PreviewShowsTheCheckerboardWhereTheMaskIsEmpty) {
  const Format f{"RGB 8", kImageModeRGB, 8, 3, false};
  OutputHost h(f, RunMode_Preview);
  std::vector<uint8_t> mask(size_t(kWidth) * kHeight, 0);
  h.host.record.haveMask = 1;
  h.host.record.maskData = mask.data();
  h.host.record.maskRowBytes = kWidth;
  h.host.globals->maskBandTop = 0;
  h.host.globals->maskBandBottom = kHeight - 1;
  const float red[4] = {1, 0, 0, 1};
  h.Put(1, 1, red);   // (1 ^ 1) & 8 == 0: light
  h.Put(9, 1, red);   // (9 ^ 1) & 8 != 0: dark
  EXPECT_EQ(h.Stored(1, 1, 0), 255.0);
  EXPECT_EQ(h.Stored(1, 1, 1), 255.0);
  EXPECT_EQ(h.Stored(9, 1, 1), 204.0);
  mask[size_t(2) * kWidth + 3] = 255;
  h.Put(3, 2, red);  // a full mask shows the result unmixed
  EXPECT_EQ(h.Stored(3, 2, 0), 255.0);
  EXPECT_EQ(h.Stored(3, 2, 1), 0.0);
}

TEST(PixelOutput, SixteenBitExportIntoAnEightBitCanvas) {
  const Format f{"RGB 16", kImageModeRGB48, 16, 3, false};
  OutputHost h(f, RunMode_ExportLayer);
  DisposePyramidData(&h.host.storage->exportCanvasPyramid);
  ASSERT_TRUE(TryToAllocatePyramid_2006(&h.host.storage->exportCanvasPyramid, kWidth, kHeight, PyramidDataKind_Packed8, 0));
  const float colour[4] = {1.0f, 0.5f, 0.0f, 1.0f};
  h.Put(2, 3, colour);
  int32_t c[4];
  get_pyramid_sample_pointColorcall(2, 3, &h.host.storage->exportCanvasPyramid, 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 255);
  EXPECT_EQ(c[1], 128);
  EXPECT_EQ(c[2], 0);
  EXPECT_EQ(c[3], 255);
}

TEST(PixelOutput, NoBufferNoStore) {
  const Format f{"RGB 8", kImageModeRGB, 8, 3, false};
  OutputHost h(f, RunMode_Final);
  h.host.record.outData = nullptr;
  PixelSink sink;
  EXPECT_FALSE(PreparePixelSink(h.host.globals, 0, &sink));
  EXPECT_EQ(PixelPathOf(kImageModeRGB, 16), PixelPath_None);
  EXPECT_EQ(PixelPathOf(kImageModeGray32, 32), PixelPath_Float);
}

}  // namespace
