// Export layers rendered in the middle of the dialog: into the canvas, all
// of the canvas's rows, leaving the host's request and the settings as they
// were; an abort or a cancelled progress window ends that export alone.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialog/dialog_services.h"
#include "frame/export_layer.h"
#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/render_passes.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "support/driver_host.h"
#include "support/negate_renderer.h"

namespace {

constexpr int kWidth = 40, kHeight = 64;

// A dialog with its preview up at zoom-out 2 (a 20 x 32 proxy) and the
// image read; the export canvas is allocated at the size asked for.
struct DialogWithExport {
  explicit DialogWithExport(int canvasWidth = kWidth, int canvasHeight = kHeight) : host(kWidth, kHeight, 3) {
    g = host.OpenInvocation();
    host.SetUpPreview(Rect{0, 0, 100, 100}, 2);
    DoPreviewFiltration(g);
    canvas = &g->storage->exportCanvasPyramid;
    EXPECT_TRUE(TryToAllocatePyramid_2006(canvas, canvasWidth, canvasHeight, PyramidDataKind_Packed8, 0));
    ClearRenderedRows();
  }
  ~DialogWithExport() {
    g->progressWindow = nullptr;
    host.CloseInvocation();
    EXPECT_EQ(host.OutstandingBuffers(), 0);
  }
  std::vector<int32_t> ExportRows() const {
    std::vector<int32_t> rows;
    for (const RenderedRow& r : RenderedRows()) {
      if (r.runMode == RunMode_ExportLayer) rows.push_back(r.row);
    }
    return rows;
  }
  DriverHost host;
  Globals* g = nullptr;
  PyramidDescriptor* canvas = nullptr;
};

std::vector<int32_t> Iota(int32_t n) {
  std::vector<int32_t> v;
  for (int32_t i = 0; i < n; ++i) v.push_back(i);
  return v;
}

bool SameRect(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

TEST(ExportLayer, RendersTheCanvasAndLeavesEverythingAsFound) {
  DialogWithExport d;
  const FilterRecord before = d.host.record;
  const TParameters settings = *d.host.Settings();
  const int32_t rowBefore = d.g->currentRow;
  const int advances = d.host.advanceCalls;
  uint8_t cancel = 0;
  GenerateOneLayerOfBasicResult(d.g, d.canvas, 1, &cancel);

  EXPECT_EQ(cancel, 0);
  EXPECT_EQ(d.g->result, 0);
  EXPECT_EQ(d.ExportRows(), Iota(kHeight));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      int32_t c[4];
      get_pyramid_sample_point4(x, y, d.canvas, 0, &c[0], &c[1], &c[2], &c[3]);
      for (int p = 0; p < 3; ++p) ASSERT_EQ(c[p], 255 - d.host.Sample(x, y, p)) << x << "," << y;
      ASSERT_EQ(c[3], 255);
    }

  const FilterRecord& after = d.host.record;
  EXPECT_TRUE(SameRect(after.inRect, before.inRect));
  EXPECT_TRUE(SameRect(after.outRect, before.outRect));
  EXPECT_TRUE(SameRect(after.maskRect, before.maskRect));
  EXPECT_TRUE(SameRect(after.filterRect, before.filterRect));
  EXPECT_EQ(after.inputRate, before.inputRate);
  EXPECT_EQ(after.maskRate, before.maskRate);
  EXPECT_EQ(std::memcmp(d.host.Settings(), &settings, sizeof settings), 0) << "the settings changed";
  EXPECT_EQ(d.g->currentRow, rowBefore);
  EXPECT_EQ(d.g->outputHeight, kHeight / 2) << "the preview's dimensions are back";
  EXPECT_EQ(d.host.advanceCalls, advances + 1) << "the preview's data asked for again, once";
  EXPECT_EQ(d.g->inputPolyhedron, nullptr);
}

// The pass runs over the canvas's rows, whatever the preview's size.
TEST(ExportLayer, CanvasOfAnotherSizeGetsAllItsRows) {
  struct Size {
    int width, height;
  } sizes[] = {{25, 130}, {30, 7}};
  for (const Size& s : sizes) {
    DialogWithExport d(s.width, s.height);
    uint8_t cancel = 0;
    GenerateOneLayerOfBasicResult(d.g, d.canvas, 1, &cancel);
    EXPECT_EQ(d.ExportRows(), Iota(s.height)) << s.width << " x " << s.height;
  }
}

TEST(ExportLayer, CancelledBeforeItStartsRendersNothingButCleansUp) {
  DialogWithExport d;
  d.host.Settings()->inputMode = 29;
  const TParameters settings = *d.host.Settings();
  uint8_t cancel = 1;
  GenerateOneLayerOfBasicResult(d.g, d.canvas, 1, &cancel);
  EXPECT_TRUE(d.ExportRows().empty());
  EXPECT_EQ(d.g->inputPolyhedron, nullptr);
  EXPECT_EQ(std::memcmp(d.host.Settings(), &settings, sizeof settings), 0);
}

// The row step's own poll finds the abort (turn 17, the 32nd poll): the
// export stops there, is marked cancelled, and the invocation goes on, also
// on a host whose proxy request after the export would not reset the result.
TEST(ExportLayer, AbortEndsTheExportNotTheInvocation) {
  for (bool advanceState : {true, false}) {
    SCOPED_TRACE(advanceState ? "with advanceState" : "without advanceState");
    DialogWithExport d;
    if (!advanceState) d.host.record.advanceState = nullptr;
    ProgressWindowStandIn window{};
    d.g->progressWindow = &window;
    d.host.abortAfterPolls = 0;
    uint8_t cancel = 0;
    GenerateOneLayerOfBasicResult(d.g, d.canvas, 1, &cancel);
    EXPECT_EQ(cancel, 1);
    EXPECT_EQ(d.ExportRows(), Iota(18));
    EXPECT_EQ(d.g->result, 0) << "a cancelled export must not cancel the invocation";
    EXPECT_STREQ(window.text, "Cancelling...");
    EXPECT_EQ(d.g->storage->exportCancelled, 1);
    if (!advanceState) continue;
    d.host.abortAfterPolls = -1;
    ClearRenderedRows();
    DoPreviewFiltration(d.g);
    EXPECT_EQ(RenderedRows().size(), size_t(kHeight / 2)) << "the preview still renders";
  }
}

TEST(ExportLayer, CancelledProgressWindowStopsAtTheNextPoll) {
  DialogWithExport d;
  ProgressWindowStandIn window{};
  d.g->progressWindow = &window;
  d.g->storage->exportCancelled = 1;
  uint8_t cancel = 0;
  GenerateOneLayerOfBasicResult(d.g, d.canvas, 1, &cancel);
  EXPECT_EQ(cancel, 1);
  EXPECT_EQ(d.ExportRows(), Iota(2)) << "turn 0 is never polled, turn 1 is";
}

TEST(ExportLayer, KindsPickTheirRenderer) {
  struct Case {
    int32_t kind;
    bool rendered;
  } cases[] = {{3, true}, {4, true}, {6, true}, {5, false}, {-1, false}, {8, false}};
  for (const Case& c : cases) {
    DialogWithExport d;
    uint8_t cancel = 0;
    GenerateOneLayerOfKind(d.g, d.canvas, 1, &cancel, c.kind, nullptr);
    EXPECT_EQ(d.ExportRows().size(), c.rendered ? size_t(kHeight) : 0u) << "kind " << c.kind;
    EXPECT_EQ(cancel, 0);
  }
}

TEST(ExportLayer, NoCanvasDoesNothing) {
  DialogWithExport d;
  uint8_t cancel = 0;
  const int advances = d.host.advanceCalls;
  GenerateOneLayerOfBasicResult(d.g, nullptr, 1, &cancel);
  EXPECT_TRUE(RenderedRows().empty());
  EXPECT_EQ(d.host.advanceCalls, advances);
}

}  // namespace
