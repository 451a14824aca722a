// What the plug-in asks of the host's rectangles for a final row, an export
// layer, an input tile and a preview proxy, and the small conversions that go
// with them.
#include <gtest/gtest.h>

#include <memory>

#include "frame/globals.h"
#include "frame/base/host_rects.h"
#include "frame/pass_rects.h"
#include "frame/view_coords.h"
#include "render/vort.h"

namespace {

constexpr Rect kFilter{10, 20, 110, 220};  // 200 wide, 100 high
constexpr Rect kUnused{0, 0, 0, 0};
constexpr int32_t kUntouched = 777;

int16_t g_advanceAnswer = 0;
OSErr16 FakeAdvanceState() { return g_advanceAnswer; }
OSErr16 FakeDisplayPixels(const PSPixelMap*, const VRect*, int32_t, int32_t, void*) { return 0; }

// A host record with a settings record of its own.
struct HostSetup {
  FilterRecord fr{};
  TParameters params{};
  char* paramsPtr = reinterpret_cast<char*>(&params);
  std::unique_ptr<Globals> g = std::make_unique<Globals>();
  HostSetup() {
    fr.parameters = &paramsPtr;
    fr.planes = 4;
    fr.filterRect = kFilter;
    g->filterRecord = &fr;
    g->savedFilterRect = kFilter;
  }
  void CanSample(bool yes) {
    fr.advanceState = FakeAdvanceState;
    fr.displayPixels = FakeDisplayPixels;
    fr.samplingSupport = yes ? 1 : 0;
  }
};

enum class Request { OneRow, Fullsize, InputChunk, Proxy };

struct RectCase {
  const char* name;
  Request request;
  // One row: the row; proxy: the zoom-out asked for.
  int32_t rowOrScale;
  bool haveMask, wantMask;
  Rect chunk;
  // Proxy only.
  bool canSample;
  const char* hostSig;
  int32_t offH, offV;
  Rect proxy;
  // Expected.
  Rect in, out, mask;
  Fixed16 rate;
  int32_t maskBandTop, maskBandBottom, inputBandTop, inputBandBottom;
  int32_t previewScale;  // after the request; kUntouched when not changed
};

bool Same(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

std::string Show(const Rect& r) {
  return "(" + std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) + "," +
         std::to_string(r.right) + ")";
}

constexpr Rect kBig{0, 0, 400, 400};

const RectCase kRectCases[] = {
    // Final rows: one row, with a four-row mask band around it.
    {"row 0: mask band starts at the top", Request::OneRow, 0, true, true, kUnused, false, "8BIM", 0, 0, kUnused,
     {10, 20, 11, 220}, {10, 20, 11, 220}, {10, 20, 12, 220}, 0x10000, 0, 1, 0, 0, 1},
    {"middle row: rows r-2 .. r+1", Request::OneRow, 50, true, true, kUnused, false, "8BIM", 0, 0, kUnused,
     {60, 20, 61, 220}, {60, 20, 61, 220}, {58, 20, 62, 220}, 0x10000, 48, 51, 50, 50, 1},
    {"last row: rows h-3 .. h-1", Request::OneRow, 99, true, true, kUnused, false, "8BIM", 0, 0, kUnused,
     {109, 20, 110, 220}, {109, 20, 110, 220}, {107, 20, 110, 220}, 0x10000, 97, 99, 99, 99, 1},
    {"row below 0 asks for row 0", Request::OneRow, -5, true, true, kUnused, false, "8BIM", 0, 0, kUnused,
     {10, 20, 11, 220}, {10, 20, 11, 220}, {10, 20, 12, 220}, 0x10000, 0, 1, 0, 0, 1},
    {"row past the end asks for the last", Request::OneRow, 500, true, true, kUnused, false, "8BIM", 0, 0, kUnused,
     {109, 20, 110, 220}, {109, 20, 110, 220}, {107, 20, 110, 220}, 0x10000, 97, 99, 99, 99, 1},
    {"no mask: empty mask at the top-left", Request::OneRow, 50, false, true, kUnused, false, "8BIM", 0, 0, kUnused,
     {60, 20, 61, 220}, {60, 20, 61, 220}, {10, 20, 10, 20}, 0x10000, 0, -1, 50, 50, 1},
    {"mask not wanted", Request::OneRow, 50, true, false, kUnused, false, "8BIM", 0, 0, kUnused,
     {60, 20, 61, 220}, {60, 20, 61, 220}, {10, 20, 10, 20}, 0x10000, 0, -1, 50, 50, 1},
    // Export layers: the whole filter rectangle.
    {"full size with mask", Request::Fullsize, 0, true, true, kUnused, false, "8BIM", 0, 0, kUnused,
     kFilter, kFilter, kFilter, 0x10000, 0, 99, 0, 99, kUntouched},
    {"full size without mask", Request::Fullsize, 0, false, true, kUnused, false, "8BIM", 0, 0, kUnused,
     kFilter, kFilter, {10, 20, 10, 20}, 0x10000, 0, -1, 0, 99, kUntouched},
    {"full size, mask not wanted", Request::Fullsize, 0, true, false, kUnused, false, "8BIM", 0, 0, kUnused,
     kFilter, kFilter, {10, 20, 10, 20}, 0x10000, 0, -1, 0, 99, kUntouched},
    // Image intake: one tile, relative to the filter rectangle; bands untouched.
    {"input tile", Request::InputChunk, 0, true, true, {0, 0, 100, 200}, false, "8BIM", 0, 0, kUnused,
     {10, 20, 110, 220}, {10, 20, 11, 21}, {10, 20, 10, 20}, 0x10000, kUntouched, kUntouched, kUntouched,
     kUntouched, kUntouched},
    {"second input tile", Request::InputChunk, 0, false, true, {50, 100, 100, 200}, false, "8BIM", 0, 0, kUnused,
     {60, 120, 110, 220}, {10, 20, 11, 21}, {10, 20, 10, 20}, 0x10000, kUntouched, kUntouched, kUntouched,
     kUntouched, kUntouched},
    // Preview proxies.
    {"proxy at zoom 2, whole image fits", Request::Proxy, 2, true, true, kUnused, true, "8BIM", 0, 0, kBig,
     {5, 10, 55, 110}, {10, 20, 60, 120}, {5, 10, 55, 110}, 2 << 16, -5, 44, -5, 44, 2},
    {"panned proxy cut to the preview area", Request::Proxy, 2, true, true, kUnused, true, "8BIM", 40, 20,
     {0, 0, 30, 60}, {15, 30, 45, 90}, {10, 20, 40, 80}, {15, 30, 45, 90}, 2 << 16, 5, 34, 5, 34, 2},
    {"'PSP8' moves the mask to the pan at zoom 2", Request::Proxy, 2, true, true, kUnused, true, "PSP8", 40, 20,
     {0, 0, 30, 60}, {15, 30, 45, 90}, {10, 20, 40, 80}, {10, 20, 40, 80}, 2 << 16, 0, 29, 5, 34, 2},
    {"'PSP8' pan divides toward zero", Request::Proxy, 2, true, true, kUnused, true, "PSP8", -5, -3, kBig,
     {5, 10, 53, 107}, {10, 20, 58, 117}, {-1, -2, 47, 95}, 2 << 16, -11, 36, -5, 42, 2},
    {"'PSP8' at zoom 1 keeps the mask", Request::Proxy, 1, true, true, kUnused, true, "PSP8", 40, 20,
     {0, 0, 30, 60}, {30, 60, 60, 120}, {10, 20, 40, 80}, {30, 60, 60, 120}, 1 << 16, 20, 49, 20, 49, 1},
    {"host that cannot sample: zoom forced to 1", Request::Proxy, 3, true, true, kUnused, false, "8BIM", 40, 20,
     {0, 0, 30, 60}, {30, 60, 60, 120}, {10, 20, 40, 80}, {30, 60, 60, 120}, 1 << 16, 20, 49, 20, 49, 1},
    {"zoom below 1 counts as 1", Request::Proxy, 0, true, true, kUnused, true, "8BIM", 0, 0, kBig,
     kFilter, kFilter, kFilter, 1 << 16, 0, 99, 0, 99, 1},
};

TEST(HostRects, EveryRequestSetsTheRectanglesRatesAndBands) {
  for (const RectCase& c : kRectCases) {
    SCOPED_TRACE(c.name);
    HostSetup h;
    h.fr.haveMask = c.haveMask;
    h.g->wantMask = c.wantMask;
    h.fr.hostSig = MakeFourCC(*reinterpret_cast<const char(*)[5]>(c.hostSig));
    h.g->maskBandTop = h.g->maskBandBottom = h.g->inputBandTop = h.g->inputBandBottom = kUntouched;
    h.params.previewScale = kUntouched;
    switch (c.request) {
      case Request::OneRow:
        h.g->currentRow = c.rowOrScale;
        SetOneRowHighRects(h.g.get());
        break;
      case Request::Fullsize:
        SetFullsizeRects(h.g.get());
        break;
      case Request::InputChunk:
        SetInputChunkRects(h.g->filterRecord, &c.chunk);
        break;
      case Request::Proxy:
        h.CanSample(c.canSample);
        g_advanceAnswer = 0;
        h.params.previewOffsetH = c.offH;
        h.params.previewOffsetV = c.offV;
        h.g->proxyRect = c.proxy;
        SetUpFilterRecordForProxy(h.g.get(), c.rowOrScale);
        break;
    }
    EXPECT_TRUE(Same(h.fr.inRect, c.in)) << "inRect " << Show(h.fr.inRect);
    EXPECT_TRUE(Same(h.fr.outRect, c.out)) << "outRect " << Show(h.fr.outRect);
    EXPECT_TRUE(Same(h.fr.maskRect, c.mask)) << "maskRect " << Show(h.fr.maskRect);
    EXPECT_EQ(h.fr.inputRate, c.rate);
    EXPECT_EQ(h.fr.maskRate, c.rate);
    EXPECT_EQ(h.g->maskBandTop, c.maskBandTop);
    EXPECT_EQ(h.g->maskBandBottom, c.maskBandBottom);
    EXPECT_EQ(h.g->inputBandTop, c.inputBandTop);
    EXPECT_EQ(h.g->inputBandBottom, c.inputBandBottom);
    EXPECT_EQ(h.params.previewScale, c.previewScale);
    EXPECT_EQ(h.fr.inLoPlane, 0);
    EXPECT_EQ(h.fr.inHiPlane, 3);
    EXPECT_EQ(h.fr.outLoPlane, 0);
    EXPECT_EQ(h.fr.outHiPlane, 3);
    EXPECT_EQ(h.fr.inputPadding, -1);
    EXPECT_EQ(h.fr.outputPadding, -1);
    EXPECT_EQ(h.fr.maskPadding, -1);
    if (c.request == Request::Proxy) {
      // The preview renders at the size of what the host was asked for.
      EXPECT_EQ(h.g->outputWidth, int32_t(c.in.right) - c.in.left);
      EXPECT_EQ(h.g->outputHeight, int32_t(c.in.bottom) - c.in.top);
    }
  }
}

TEST(HostRects, AProxyRefusedByTheHostKeepsItsErrorAndTheOldSize) {
  HostSetup h;
  h.CanSample(true);
  h.g->proxyRect = kBig;
  h.g->outputWidth = h.g->outputHeight = kUntouched;
  g_advanceAnswer = -108;
  SetUpFilterRecordForProxy(h.g.get(), 2);
  EXPECT_EQ(h.g->result, -108);
  EXPECT_EQ(h.g->outputWidth, kUntouched);
  EXPECT_EQ(h.g->outputHeight, kUntouched);
  g_advanceAnswer = 0;
  SetUpFilterRecordForProxy(nullptr, 2);  // no record: nothing happens
}

TEST(HostRects, MaskFetchAnswersByPositionBandAndHost) {
  uint8_t mask[4 * 8];
  for (int i = 0; i < 32; ++i) mask[i] = uint8_t(i * 3);
  struct {
    const char* name;
    bool haveMask, hasData;
    int32_t x, y, expected;
  } cases[] = {
      {"inside the band", true, true, 2, 11, (2 + 1 * 8) * 3},
      {"first band row", true, true, 7, 10, 7 * 3},
      {"last band row", true, true, 0, 13, 3 * 8 * 3},
      {"above the band", true, true, 2, 9, 0},
      {"below the band", true, true, 2, 14, 0},
      {"left of the output", true, true, -1, 11, 0},
      {"right of the output", true, true, 20, 11, 0},
      {"above the pass", true, true, 2, -1, 0},
      {"below the pass", true, true, 2, 30, 0},
      {"host without mask", false, true, 2, 5, 255},
      {"mask without data", true, false, 2, 5, 255},
      {"no mask, still outside", false, true, 2, 30, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HostSetup h;
    h.fr.haveMask = c.haveMask;
    h.fr.maskData = c.hasData ? mask : nullptr;
    h.fr.maskRowBytes = 8;
    h.g->firstRow = 0;
    h.g->lastRow = 29;
    h.g->lastColumn = 19;
    h.g->maskBandTop = 10;
    h.g->maskBandBottom = 13;
    EXPECT_EQ(fetchMaskTruly_Always8(c.x, c.y, h.g.get()), c.expected);
  }
}

TEST(HostRects, PreviewAreaAndDefaultZoom) {
  HostSetup h;
  Rect area{0, 0, 300, 400}, result{};
  const Rect smallImage{0, 0, 50, 100};
  DetermineBiggestProxyRect(&smallImage, &area, &result);
  EXPECT_TRUE(Same(result, Rect{4, 4, 54, 104})) << Show(result);
  DetermineBiggestProxyRect(&kFilter, &area, &result);
  EXPECT_TRUE(Same(result, Rect{4, 4, 104, 204})) << Show(result);
  const Rect bigImage{0, 0, 1000, 1000};
  DetermineBiggestProxyRect(&bigImage, &area, &result);
  EXPECT_TRUE(Same(result, Rect{4, 4, 296, 396})) << Show(result);

  struct {
    const char* name;
    Rect image, area;
    bool canSample;
    int32_t scale, defaultScale;
    Rect areaAfter;
  } cases[] = {
      {"1000 x 600 in 400 x 400", {0, 0, 600, 1000}, {0, 0, 400, 400}, true, 3, 3, {0, 0, 200, 333}},
      {"fits at full size", {0, 0, 100, 200}, {0, 0, 400, 400}, true, 1, 1, {0, 0, 100, 200}},
      {"host cannot sample", {0, 0, 600, 1000}, {0, 0, 400, 400}, false, 1, 3, {0, 0, 200, 333}},
      {"empty image", {0, 0, 0, 0}, {0, 0, 400, 400}, true, 1, 1, {0, 0, 400, 400}},
      {"empty area", {0, 0, 600, 1000}, {5, 5, 5, 5}, true, 1, 1, {5, 5, 5, 5}},
      {"inverted area", {0, 0, 600, 1000}, {10, 10, 0, 0}, true, 1, 1, {10, 10, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HostSetup s;
    s.CanSample(c.canSample);
    Rect a = c.area;
    int32_t scale = -1;
    CalcDefaultProxyScaleFactor(&c.image, &a, &scale, &s.g->defaultPreviewScale, s.g->filterRecord);
    EXPECT_EQ(scale, c.scale);
    EXPECT_EQ(s.g->defaultPreviewScale, c.defaultScale);
    EXPECT_TRUE(Same(a, c.areaAfter)) << Show(a);
  }
}

TEST(UnitCoordinates, PixelCentresCornersAndViewSizes) {
  float u = 0, v = 0;
  IntegerScanToUnitary2(0, 3, &u, &v, 4.0f, 8.0f);
  EXPECT_FLOAT_EQ(u, 0.125f);
  EXPECT_FLOAT_EQ(v, 7.0f / 16.0f);

  PyramidDescriptor pyr{};
  pyr.levelWidth[0] = 4;
  pyr.levelHeight[0] = 2;
  pyr.aspectX = 1.0f;
  pyr.aspectY = 0.5f;
  float cx = 0, cy = 0;
  PixelsToCorners(-1, -1, 1, 0, 0, &pyr, &u, &v, &cx, &cy, nullptr);
  EXPECT_FLOAT_EQ(u, 0.0f);
  EXPECT_FLOAT_EQ(v, 0.0f);
  EXPECT_FLOAT_EQ(cx, -0.5f);
  EXPECT_FLOAT_EQ(cy, -0.25f);
  PixelsToCorners(0, 0, 1, 0, 0, &pyr, &u, &v, &cx, &cy, nullptr);
  EXPECT_FLOAT_EQ(u, 0.25f);
  EXPECT_FLOAT_EQ(v, 0.5f);
  // Zoom and pan: corner after pixel 1 at zoom 2 panned by one pixel is
  // image position 2*1 + 1 + 0.5.
  PixelsToCorners(1, 0, 2, 1, 0, &pyr, &u, &v, &cx, &cy, nullptr);
  EXPECT_FLOAT_EQ(u, (2.0f * 3.5f + 1.0f) / 8.0f);
  // Centres sit half a zoomed pixel further on.
  PixelsToCenters(0, 0, 2, 0, 0, &pyr, &u, &v, &cx, &cy, nullptr);
  EXPECT_FLOAT_EQ(u, (2.0f * 1.5f + 1.0f) / 8.0f);
  // The view's unit offsets move only the centred pair.
  vort view{};
  view.unitOffsetX = 0.25f;
  view.unitOffsetY = -0.125f;
  PixelsToCorners(0, 0, 1, 0, 0, &pyr, &u, &v, &cx, &cy, &view);
  EXPECT_FLOAT_EQ(u, 0.25f);
  EXPECT_FLOAT_EQ(cx, (0.25f - 0.25f - 0.5f) * 1.0f);
  EXPECT_FLOAT_EQ(cy, (0.5f + 0.125f - 0.5f) * 0.5f);

  HostSetup h;
  float w = 0, hh = 0, ratio = 0;
  GetInputProportions(&h.g->savedFilterRect, &w, &hh, &ratio);
  EXPECT_EQ(w, 200.0f);
  EXPECT_EQ(hh, 100.0f);
  EXPECT_EQ(ratio, 0.5f);

  GetInputOutputProportions(h.g.get(), &view);
  EXPECT_EQ(view.outputWidth, 200.0f);
  EXPECT_EQ(view.outputHeight, 100.0f);
  EXPECT_EQ(view.outputAspect, 0.5f);
  EXPECT_EQ(view.invOutputWidth, 1.0f / 200.0f);
  EXPECT_EQ(view.imageAspect, 0.5f);
  // An export layer renders at its canvas's size; the image stays the host's.
  InvocationStorage* storage = new InvocationStorage{};
  PyramidDescriptor canvas{};
  canvas.levelWidth[0] = 64;
  canvas.levelHeight[0] = 128;
  storage->exportCanvas = &canvas;
  h.g->storage = storage;
  h.params.runMode = RunMode_ExportLayer;
  GetInputOutputProportions(h.g.get(), &view);
  EXPECT_EQ(view.outputWidth, 64.0f);
  EXPECT_EQ(view.outputHeight, 128.0f);
  EXPECT_EQ(view.outputAspect, 2.0f);
  EXPECT_EQ(view.invOutputHeight, 1.0f / 128.0f);
  EXPECT_EQ(view.imageWidth, 200.0f);
  EXPECT_EQ(view.imageHeight, 100.0f);
  h.g->storage = nullptr;
  delete storage;

  float x = 0, y = 0;
  Output_Pixels_to_Something(10, 20, 2, 8, 4, &x, &y, &view);
  EXPECT_FLOAT_EQ(x, (8.0f / 2 + 10) * (1.0f / 64) * 2);
  EXPECT_FLOAT_EQ(y, 2 * ((4.0f / 2 + 20) * (1.0f / 128)) * 2.0f);
}

}  // namespace
