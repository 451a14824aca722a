// The final pass through the entry point: every row rendered once, through
// the selection, with progress and abort reaching the host as they should,
// and everything freed however the pass ends.
#include <gtest/gtest.h>

#include <vector>

#include "frame/globals.h"
#include "render/rows/column_record.h"
#include "support/driver_host.h"
#include "support/negate_renderer.h"

namespace {

std::vector<int32_t> RowsRendered(int32_t runMode) {
  std::vector<int32_t> rows;
  for (const RenderedRow& r : RenderedRows()) {
    if (r.runMode == runMode) rows.push_back(r.row);
  }
  return rows;
}

std::vector<int32_t> Iota(int32_t n) {
  std::vector<int32_t> v(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) v[size_t(i)] = i;
  return v;
}

void ExpectEverythingFreed(const DriverHost& host) {
  EXPECT_TRUE(host.RectsEmpty());
  EXPECT_EQ(host.globals()->storage, nullptr);
  EXPECT_EQ(host.globals()->inputPolyhedron, nullptr);
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

TEST(FinalPass, EveryRowOnce) {
  struct Case {
    const char* name;
    int width, height, planes;
    bool advanceState;
    int continueCalls;
  } cases[] = {
      {"whole pass in one continue", 7, 5, 3, true, 1},
      {"one-row image", 6, 1, 3, true, 1},
      {"grey with transparency", 5, 3, 2, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DriverHost host(c.width, c.height, c.planes);
    if (c.planes == 2) {
      host.record.imageMode = kImageModeGray;
      host.record.filterCase = kFilterCaseEditableTransparencyNoSelection;
      host.record.inLayerPlanes = host.record.outLayerPlanes = 1;
    }
    if (!c.advanceState) host.record.advanceState = nullptr;
    ClearRenderedRows();
    ASSERT_EQ(host.RunInvocation(), 0);
    EXPECT_EQ(host.continueCalls, c.continueCalls);
    EXPECT_EQ(RowsRendered(RunMode_Final), Iota(c.height));
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        for (int p = 0; p < c.planes; ++p) {
          const bool alpha = c.planes == 2 && p == 1;
          const int want = alpha ? host.Sample(x, y, p) : 255 - host.Sample(x, y, p);
          ASSERT_EQ(host.OutputSample(x, y, p), want) << x << "," << y << " plane " << p;
        }
    ExpectEverythingFreed(host);
  }
}

// The host's mask is read as a four-row band around each row; rows at the
// top and bottom edges of the image get the band cut to the image.
TEST(FinalPass, SelectionBlendsNegativeAndOriginal) {
  DriverHost host(5, 6, 3);
  host.record.haveMask = 1;
  host.mask.resize(5 * 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 5; ++x) host.mask[size_t(y) * 5 + x] = uint8_t((x * 60 + y * 37) % 256);
  ASSERT_EQ(host.RunInvocation(), 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 5; ++x) {
      const int m = host.mask[size_t(y) * 5 + x];
      for (int p = 0; p < 3; ++p) {
        const int v = host.Sample(x, y, p);
        const int want = int(v + (255 - 2 * v) * m / 255.0 + 0.5);
        ASSERT_EQ(host.OutputSample(x, y, p), want) << x << "," << y << " mask " << m;
      }
    }
  ExpectEverythingFreed(host);
}

// The pass reports its row 0 and then every 32nd row. The image was read
// for the dialog's preview, which reports nothing, so the final pass has no
// reading of its own to report.
TEST(FinalPass, ProgressAtRowZeroThenEvery32ndRow) {
  DriverHost host(3, 100, 3);
  ASSERT_EQ(host.RunInvocation(), 0);
  std::vector<std::pair<int32_t, int32_t>> got;
  for (const ProgressCall& c : host.progress) got.emplace_back(c.done, c.total);
  const std::vector<std::pair<int32_t, int32_t>> want = {{0, 100}, {32, 100}, {64, 100}, {96, 100}};
  EXPECT_EQ(got, want);
  EXPECT_EQ(host.abortPolls, 3);  // polls 32, 64 and 96 of 100
}

TEST(FinalPass, AbortAtThe64thPollEndsTheInvocation) {
  DriverHost host(3, 100, 3);
  host.abortAfterPolls = 1;  // the host's second poll, the plug-in's 64th
  ClearRenderedRows();
  EXPECT_EQ(host.RunInvocation(), -128);
  EXPECT_EQ(RowsRendered(RunMode_Final), Iota(64));
  ExpectEverythingFreed(host);
}

// When the first row is asked for, every column of it has its records
// sized and in their start state.
TEST(FinalPass, ColumnRecordsCoverTheWholeRow) {
  constexpr int kWidth = 300;
  DriverHost host(kWidth, 3, 3);
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  ASSERT_EQ(host.Call(kSelectorStart), 0);
  const Globals* g = host.globals();
  EXPECT_EQ(g->columnRecordCount, kWidth + 4);
  for (int i = 0; i < kWidth + 2; ++i) {
    ASSERT_EQ(g->columnRecords[i].reply[0].regionCode, -5) << i;
    ASSERT_EQ(g->columnRecords[i].reply[1].inputFace, -1) << i;
  }
  EXPECT_EQ(host.Call(kSelectorContinue), 0);
  ExpectEverythingFreed(host);
}

// An input solid made by the preroll is freed when the pass is aborted.
TEST(FinalPass, AbortedPassWithInputSolidLeaksNothing) {
  DriverHost host(3, 40, 3);
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  host.Settings()->inputMode = 29;
  host.abortAfterPolls = 0;
  ASSERT_EQ(host.Call(kSelectorStart), 0);
  ASSERT_NE(host.globals()->inputPolyhedron, nullptr);
  EXPECT_EQ(host.Call(kSelectorContinue), -128);
  ExpectEverythingFreed(host);
}

}  // namespace
