// Rows rendered ahead: while the host copies one row, the worker tasks
// render the next one into the column records. The bytes must be those of
// rows rendered one at a time in turn, and a pass given up or restarted
// midway must leave nothing of the row that was being rendered ahead.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "frame/settings/tparameters.h"
#include "platform/config.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_levels.h"
#include "render/render_services.h"
#include "support/row_render_harness.h"

namespace {

constexpr int kWidth = 61, kHeight = 23;

struct AheadHost : RowRenderHarness {
  AheadHost(int tasks, int32_t outputMode, bool ahead, int rows = kHeight) : RowRenderHarness(kWidth, rows, tasks) {
    Settings()->outputMode = outputMode;
    // The frame's row count of the pass: rows beyond the current one exist,
    // so the renderer may start the next while the host copies this one.
    globals()->outputHeight = ahead ? rows : 0;
    EXPECT_TRUE(PaintInput([](int x, int y, float c[4]) {
      c[0] = float(x) / kWidth;
      c[1] = float(y) / kHeight;
      c[2] = 0.5f + 0.4f * std::sin(x * 0.9f + y * 0.7f);
    }));
  }

  // Rows 0..rows-1 of a final pass into `picture` (kWidth * kHeight * 3).
  void RenderRows(int rows, std::vector<uint8_t>* picture) {
    picture->assign(size_t(kWidth) * height * 3, 0);
    std::vector<uint8_t> in(size_t(kWidth) * 3, 0);
    FilterRecord& r = host.record;
    r.outRect = Rect{0, 0, 1, int16_t(kWidth)};
    r.inData = in.data();
    for (int y = 0; y < rows; ++y) {
      r.outData = &(*picture)[size_t(y) * kWidth * 3];
      globals()->drawingRow = y;
      DoSolarRect(globals());
      ASSERT_EQ(globals()->result, 0) << "row " << y;
    }
  }

  // One row of a pass into its place in `picture`.
  void RenderRow(int y, std::vector<uint8_t>* picture) {
    std::vector<uint8_t> in(size_t(kWidth) * 3, 0);
    FilterRecord& r = host.record;
    r.outRect = Rect{0, 0, 1, int16_t(kWidth)};
    r.inData = in.data();
    r.outData = &(*picture)[size_t(y) * kWidth * 3];
    globals()->drawingRow = y;
    DoSolarRect(globals());
    ASSERT_EQ(globals()->result, 0) << "row " << y;
  }

  bool TasksIdle() const {
    const Globals* g = globals();
    for (int i = 0; i < g->taskRecordCount; ++i)
      if (g->taskRecords[i].launchStatus == kLaunchPosted) return false;
    return true;
  }
};

struct Overlays {
  const char* what;
  bool edges, tissot;
  int32_t graticule;
};

// Every overlay that keeps coverage from row to row is among the cases:
// the row ahead must not draw into the cells the current row still reads.
TEST(RowsAhead, GiveTheBytesOfRowsRenderedInTurn) {
  const Overlays overlays[] = {{"none", false, false, 1},
                               {"edges", true, false, 1},
                               {"graticule", false, false, 4},
                               {"graticule and edges", true, false, 4},
                               {"all", true, true, 4}};
  for (const int32_t mode : {46, 16, 1}) {
    for (const Overlays& o : overlays) {
      std::vector<uint8_t> inTurn;
      {
        AheadHost h(1, mode, false);
        h.Settings()->edgesOn = o.edges;
        h.Settings()->tissotOn = o.tissot;
        h.Settings()->graticule = o.graticule;
        h.RenderRows(kHeight, &inTurn);
      }
      for (const int tasks : {1, 4}) {
        AheadHost h(tasks, mode, true);
        h.Settings()->edgesOn = o.edges;
        h.Settings()->tissotOn = o.tissot;
        h.Settings()->graticule = o.graticule;
        std::vector<uint8_t> ahead;
        h.RenderRows(kHeight, &ahead);
        EXPECT_TRUE(ahead == inTurn) << "mode " << mode << ", overlays " << o.what << ", " << tasks << " tasks";
        // The last row starts nothing further.
        EXPECT_TRUE(h.TasksIdle()) << "mode " << mode;
      }
    }
  }
}

// A pass stopped after a few rows (a cancel) leaves the next row in the
// tasks' hands until the end of the pass waits for it; a new pass started
// at row 0 on the same invocation is not disturbed by it.
TEST(RowsAhead, APassStoppedMidwayThenRestartedRendersAfresh) {
  AheadHost h(3, 46, true);
  std::vector<uint8_t> part, whole, fresh;
  h.RenderRows(5, &part);
  EXPECT_FALSE(h.TasksIdle());  // row 5 is on its way
  h.RenderRows(kHeight, &whole);
  EXPECT_TRUE(h.TasksIdle());
  AheadHost other(3, 46, true);
  other.RenderRows(kHeight, &fresh);
  EXPECT_TRUE(whole == fresh);
  for (size_t i = 0; i < size_t(kWidth) * 5 * 3; ++i) ASSERT_EQ(part[i], whole[i]) << "byte " << i;
  // Stopped again midway: the end of a pass takes the row back and frees
  // the bands, as the pass's end does.
  h.RenderRows(7, &part);
  EndRowsAhead(h.globals());
  finish_only_all_tasks(h.globals());
  EXPECT_TRUE(h.TasksIdle());
}

// Bands rendered ahead that the pass gives up (the end of a pass, a cancel)
// stop and are freed at once; a row asked for out of turn is rendered
// afresh, and so is every row after it.
TEST(RowsAhead, BandsGivenUpOrLeftOutOfTurnLeaveTheRowsAsRenderedInTurn) {
  std::vector<uint8_t> reference;
  {
    AheadHost h(1, 46, false);
    h.RenderRows(kHeight, &reference);
  }
  AheadHost h(4, 46, true);
  std::vector<uint8_t> picture(size_t(kWidth) * kHeight * 3, 0);
  for (int y = 0; y < 5; ++y) h.RenderRow(y, &picture);
  EXPECT_NE(h.globals()->storage->rowsAhead, nullptr);
  EndRowsAhead(h.globals());
  EXPECT_EQ(h.globals()->storage->rowsAhead, nullptr);
  EXPECT_TRUE(h.TasksIdle());

  picture.assign(picture.size(), 0);
  for (int y = 0; y < 5; ++y) h.RenderRow(y, &picture);
  for (int y = 9; y < kHeight; ++y) h.RenderRow(y, &picture);
  for (int y = 2; y < 5; ++y) h.RenderRow(y, &picture);
  EndRowsAhead(h.globals());
  EXPECT_TRUE(h.TasksIdle());
  for (size_t i = 0; i < picture.size(); ++i) {
    const size_t row = i / (size_t(kWidth) * 3);
    if (row >= 5 && row < 9) continue;
    ASSERT_EQ(picture[i], reference[i]) << "row " << row;
  }
}

// Another job of the task pool between two rows (here the input's levels
// built again, the same) waits for the bands' orders and rewrites the task
// records; the bands go on afterwards with the bytes of rows in turn. The
// picture is taller than the ring, so the tasks are started again later.
TEST(RowsAhead, BandsGoOnAfterAnotherJobOfThePool) {
  constexpr int kRows = 150;
  std::vector<uint8_t> reference;
  {
    AheadHost h(1, 46, false, kRows);
    h.RenderRows(kRows, &reference);
  }
  AheadHost h(2, 46, true, kRows);
  std::vector<uint8_t> picture(size_t(kWidth) * kRows * 3, 0);
  for (int y = 0; y < kRows; ++y) {
    h.RenderRow(y, &picture);
    if (y == 3 || y == 60) paint_mipmap_of_pyramid(&h.globals()->pyramids[kPyramidMain]);
  }
  EXPECT_TRUE(h.TasksIdle());
  EXPECT_TRUE(picture == reference);
}

// Where no task can run, the bands are rendered on the main thread as the
// host asks for their rows, with the same bytes.
TEST(RowsAhead, BandsWithoutTasksRenderOnTheMainThread) {
  std::vector<uint8_t> reference, withoutTasks;
  {
    AheadHost h(1, 16, false);
    h.RenderRows(kHeight, &reference);
  }
  GyrellePlatformConfigure("withoutTaskstasks", 1);
  {
    AheadHost h(3, 16, true);
    h.RenderRows(kHeight, &withoutTasks);
    EXPECT_EQ(h.globals()->storage->rowsAhead, nullptr);  // ended with the last row
  }
  GyrellePlatformConfigure("withoutTaskstasks", 0);
  EXPECT_TRUE(withoutTasks == reference);
}

}  // namespace
