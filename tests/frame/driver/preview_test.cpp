// The dialog's preview pass: rendered in one call without progress or abort
// polls, shown row by row in the preview item (the stand-in window's
// surface, dumped to PNG and cropped by ImageMagick), and cleaned up
// however it stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/render_passes.h"
#include "platform/preview_surface.h"
#include "support/driver_host.h"
#include "support/negate_renderer.h"
#include "support/scratch_dir.h"

namespace {

constexpr int16_t kPreviewItem = 18;
constexpr uint8_t kBackdrop = 128;

// A dialog window of w x h with the preview item at `item`.
struct DialogWindow {
  DialogWindow(int w, int h, const Rect& item) {
    EXPECT_TRUE(CreatePreviewSurface(&surface, w, h, kBackdrop));
    SetPreviewItem(&surface, kPreviewItem, &item);
  }
  ~DialogWindow() { DisposePreviewSurface(&surface); }
  const uint8_t* At(int x, int y) const { return surface.pixels + (size_t(y) * surface.width + x) * 3; }
  PreviewSurface surface;
};

int CountRows(int32_t runMode) {
  int n = 0;
  for (const RenderedRow& r : RenderedRows()) n += r.runMode == runMode;
  return n;
}

TEST(PreviewPass, AtScale2PaintsTheProxyCentredInTheItem) {
  DriverHost host(200, 120, 3);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x)
      for (int p = 0; p < 3; ++p) host.image[(size_t(y) * 200 + x) * 3 + p] = uint8_t(x + 2 * y + 50 * p);
  Globals* g = host.OpenInvocation();
  const Rect item{10, 20, 110, 180};
  DialogWindow window(240, 160, item);
  g->dialogWindow = &window.surface;
  host.SetUpPreview(item, 2);
  ASSERT_EQ(g->outputWidth, 100);
  ASSERT_EQ(g->outputHeight, 60);
  ClearRenderedRows();
  host.progress.clear();
  DoPreviewFiltration(g);
  EXPECT_EQ(g->result, 0);
  EXPECT_EQ(CountRows(RunMode_Preview), 60);
  EXPECT_TRUE(host.progress.empty()) << "the preview never reports progress";
  EXPECT_EQ(host.abortPolls, 0) << "the preview is never polled";

  // The 100 x 60 proxy sits in the middle of the 160 x 100 item: rows 30 to
  // 89, columns 50 to 149. Every row but the last was shown as it came.
  ScratchDir dir;
  const std::string png = dir / "surface.png";
  ASSERT_TRUE(WritePreviewSurfacePNG(&window.surface, png.c_str()));
  const std::string raw = dir / "crop.rgb";
  ASSERT_TRUE(RunConvert("'" + png + "' -crop 100x59+50+30 +repage -depth 8 'rgb:" + raw + "'"));
  const std::string shown = ReadWholeFile(raw);
  ASSERT_EQ(shown.size(), 100u * 59u * 3u);
  for (int y = 0; y < 59; ++y)
    for (int x = 0; x < 100; ++x)
      for (int p = 0; p < 3; ++p) {
        const int want = 255 - host.Sample(2 * x, 2 * y, p);
        ASSERT_EQ(uint8_t(shown[(size_t(y) * 100 + x) * 3 + p]), want) << x << "," << y;
      }
  EXPECT_EQ(window.At(60, 89)[0], kBackdrop) << "the last row waits for the dialog's redraw";
  // White margins inside the item, nothing outside it.
  struct Spot {
    int x, y;
    uint8_t grey;
  } spots[] = {{25, 15, 255}, {100, 95, 255}, {30, 50, 255}, {170, 70, 255},
               {15, 50, kBackdrop}, {100, 5, kBackdrop}, {190, 60, kBackdrop}, {100, 120, kBackdrop}};
  for (const Spot& s : spots) EXPECT_EQ(window.At(s.x, s.y)[1], s.grey) << s.x << "," << s.y;
  EXPECT_EQ(GetCurrentSurface(), nullptr) << "the port before the paint is current again";
  g->dialogWindow = nullptr;
  host.CloseInvocation();
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

// Slow hosts are painted after rows 99, 199, ...; every other host after
// every row, each time with the rows not shown yet.
TEST(PreviewPass, PaintsAfterEveryRowOrEveryHundredth) {
  struct Case {
    const char* sig;
    std::vector<std::pair<int32_t, int32_t>> bands;  // top and bottom of each band
  } cases[] = {{"8BIM", {{0, 99}, {99, 199}}}, {"8ELE", {{0, 99}, {99, 199}}}, {"GYRL", {}}};
  for (int i = 0; i < 249; ++i) cases[2].bands.emplace_back(i, i + 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sig);
    DriverHost host(40, 250, 3);
    host.record.hostSig = FourCC(uint8_t(c.sig[0])) << 24 | FourCC(uint8_t(c.sig[1])) << 16 |
                          FourCC(uint8_t(c.sig[2])) << 8 | FourCC(uint8_t(c.sig[3]));
    Globals* g = host.OpenInvocation();
    const Rect item{0, 0, 270, 60};
    DialogWindow window(60, 270, item);
    g->dialogWindow = &window.surface;
    host.SetUpPreview(item, 1);
    DoPreviewFiltration(g);
    std::vector<std::pair<int32_t, int32_t>> bands;
    for (const DisplayCall& d : host.displays) {
      bands.emplace_back(d.band.top, d.band.bottom);
      EXPECT_EQ(d.destRow, 10 + d.band.top);  // (270 - 250) / 2 above the image
      EXPECT_EQ(d.destColumn, 10);
      EXPECT_EQ(d.band.right - d.band.left, 40);
    }
    EXPECT_EQ(bands, c.bands);
    g->dialogWindow = nullptr;
    host.CloseInvocation();
  }
}

// An item smaller than the image shows its middle and never paints past the
// item's bottom.
TEST(PreviewPass, NeverPaintsOutsideASmallerItem) {
  DriverHost host(40, 100, 3);
  Globals* g = host.OpenInvocation();
  DialogWindow window(40, 100, Rect{0, 0, 50, 40});
  g->dialogWindow = &window.surface;
  host.SetUpPreview(Rect{0, 0, 108, 48}, 1);  // a preview area as large as the image
  ASSERT_EQ(g->outputHeight, 100);
  DoPreviewFiltration(g);
  ASSERT_FALSE(host.displays.empty());
  for (const DisplayCall& d : host.displays) EXPECT_LE(d.destRow + d.band.bottom - d.band.top, 50);
  EXPECT_EQ(host.displays.front().band.top, 25) << "the middle 50 of 100 rows";
  for (int y = 50; y < 100; ++y) ASSERT_EQ(window.At(5, y)[0], kBackdrop) << y;
  g->dialogWindow = nullptr;
  host.CloseInvocation();
}

// However a preview pass stops, it renders nothing it should not and the
// preroll's input solid is gone afterwards.
TEST(PreviewPass, StopsCleanly) {
  struct Case {
    const char* name;
    bool advanceState, displayPixels;
    Rect area;
  } cases[] = {
      {"no displayPixels", true, false, Rect{0, 0, 58, 48}},
      {"no advanceState", false, true, Rect{0, 0, 58, 48}},
      {"an empty preview area", true, true, Rect{0, 0, 8, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DriverHost host(40, 50, 3);
    Globals* g = host.OpenInvocation();
    host.Settings()->inputMode = 29;
    host.SetUpPreview(c.area, 1);
    if (!c.advanceState) host.record.advanceState = nullptr;
    if (!c.displayPixels) host.record.displayPixels = nullptr;
    ClearRenderedRows();
    CommenceMonolithic(g);
    EXPECT_EQ(CountRows(RunMode_Preview), 0);
    EXPECT_EQ(g->inputPolyhedron, nullptr);
    EXPECT_EQ(g->result, 0);
    host.CloseInvocation();
    EXPECT_EQ(host.OutstandingBuffers(), 0);
  }
}

}  // namespace
