// The worker task pool: how jobs are cut into shares, that every share is
// done exactly once whether it runs on a task or on the main thread, and that
// start and shutdown handle whatever was (or was not) created.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "tasks_fixture.h"

namespace {

struct Span {
  int32_t first, last;
};

struct RowSplitCase {
  const char* name;
  int32_t first, last, processors, records;
  std::vector<Span> spans;
};

TEST(TaskPoolSplit, RowJobsAreCutIntoContiguousShares) {
  const RowSplitCase cases[] = {
      {"10 columns on 4", 0, 9, 4, 4, {{0, 1}, {2, 4}, {5, 6}, {7, 9}}},
      {"3 columns on 8", 0, 2, 8, 8, {{0, 0}, {1, 1}, {2, 2}}},
      {"offset range on 3", 10, 19, 3, 3, {{10, 12}, {13, 15}, {16, 19}}},
      {"one column", 7, 7, 4, 4, {{7, 7}}},
      {"capped at the records allocated", 0, 9, 8, 2, {{0, 4}, {5, 9}}},
      {"empty job", 5, 4, 4, 4, {}},
      {"inverted job", 9, 0, 4, 4, {}},
  };
  for (const RowSplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    PoolFixture pool(c.records, c.processors, /*inlineTasks=*/true);
    int job = 0;
    Bust_row_into_tasks(c.first, c.last, TaskKind_ResultRow, pool.g(), &job, 42, nullptr);
    ASSERT_EQ(pool.g()->taskCount, int32_t(c.spans.size()));
    for (size_t i = 0; i < c.spans.size(); ++i) {
      const PerTaskStuffType& r = pool.record(i);
      EXPECT_EQ(r.firstColumn, c.spans[i].first) << "share " << i;
      EXPECT_EQ(r.lastColumn, c.spans[i].last) << "share " << i;
      EXPECT_EQ(r.kind, TaskKind_ResultRow);
      EXPECT_EQ(r.row, 42);
      EXPECT_EQ(r.job, &job);
      EXPECT_EQ(r.globals, pool.g());
    }
    EXPECT_TRUE(pool.SpareRecordsUntouched());
  }
}

struct RectSplitCase {
  const char* name;
  Rect rect;
  int32_t processors;
  std::vector<Rect> strips;
};

TEST(TaskPoolSplit, RectangleJobsAreCutAlongTheirLongerSide) {
  const RectSplitCase cases[] = {
      {"100 x 300 on 4: horizontal strips",
       {0, 0, 300, 100},
       4,
       {{0, 0, 75, 100}, {75, 0, 150, 100}, {150, 0, 225, 100}, {225, 0, 300, 100}}},
      {"10 x 4 on 3: vertical strips", {5, 20, 9, 30}, 3, {{5, 20, 9, 23}, {5, 23, 9, 26}, {5, 26, 9, 30}}},
      {"square on 2 cuts along x", {0, 0, 4, 4}, 2, {{0, 0, 4, 2}, {0, 2, 4, 4}}},
      {"2 x 1 on 8: one strip per column", {0, 0, 1, 2}, 8, {{0, 0, 1, 1}, {0, 1, 1, 2}}},
      {"no height", {0, 0, 0, 50}, 4, {}},
      {"no width", {0, 0, 50, 0}, 4, {}},
      {"inverted", {10, 10, 0, 0}, 4, {}},
  };
  for (const RectSplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    PoolFixture pool(c.processors, c.processors, /*inlineTasks=*/true);
    Bust_rectangle_into_tasks(&c.rect, TaskKind_PyramidLevel, pool.g(), nullptr, nullptr);
    ASSERT_EQ(pool.g()->taskCount, int32_t(c.strips.size()));
    for (size_t i = 0; i < c.strips.size(); ++i) {
      const Rect& s = pool.record(i).strip;
      const Rect& e = c.strips[i];
      EXPECT_TRUE(s.top == e.top && s.left == e.left && s.bottom == e.bottom && s.right == e.right)
          << "strip " << i << ": " << s.top << "," << s.left << "," << s.bottom << "," << s.right;
      EXPECT_EQ(pool.record(i).kind, TaskKind_PyramidLevel);
    }
  }
}

// A job whose items each get a value that depends only on the item, and a
// count of how often each was done.
struct ItemJob {
  std::vector<uint32_t> value;
  std::vector<std::atomic<int32_t>> visits;
  std::atomic<int32_t> onMainThread{0};
  std::thread::id mainThread = std::this_thread::get_id();
  int32_t width = 0;
  explicit ItemJob(size_t n, int32_t w = 0) : value(n), visits(n), width(w) {}
};

uint32_t Mix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  return x;
}

void RowBody(PerTaskStuffType* t, int32_t kind) {
  auto* job = static_cast<ItemJob*>(t->job);
  if (std::this_thread::get_id() == job->mainThread) job->onMainThread.fetch_add(1);
  for (int32_t i = t->firstColumn; i <= t->lastColumn; ++i) {
    job->value[size_t(i)] = Mix(uint32_t(i) * 31u + uint32_t(t->row) * 7u + uint32_t(kind));
    job->visits[size_t(i)].fetch_add(1);
  }
}

void RectBody(PerTaskStuffType* t, int32_t kind) {
  auto* job = static_cast<ItemJob*>(t->job);
  for (int32_t y = t->strip.top; y < t->strip.bottom; ++y)
    for (int32_t x = t->strip.left; x < t->strip.right; ++x) {
      const size_t k = size_t(y * job->width + x);
      job->value[k] = Mix(uint32_t(k) ^ uint32_t(kind));
      job->visits[k].fetch_add(1);
    }
}

void ItemBody(void* context, int32_t item) {
  auto* job = static_cast<ItemJob*>(context);
  job->value[size_t(item)] = Mix(uint32_t(item) * 13u + 5u);
  job->visits[size_t(item)].fetch_add(1);
}

std::vector<uint32_t> RunSameOrders(bool inlineTasks) {
  PoolFixture pool(4, 4, inlineTasks);
  Start_multithreading(pool.g());
  EXPECT_EQ(pool.StartedTasks(), inlineTasks ? 0 : 4);
  std::vector<uint32_t> all;
  for (int32_t row = 0; row < 5; ++row) {
    ItemJob job(37);
    Bust_row_into_tasks(0, 36, row & 1, pool.g(), &job, row, nullptr);
    launch_and_finish_all_tasks_with(pool.g(), RowBody);
    for (size_t i = 0; i < job.value.size(); ++i) EXPECT_EQ(job.visits[i].load(), 1) << "item " << i;
    all.insert(all.end(), job.value.begin(), job.value.end());
  }
  ItemJob rect(30 * 17, 30);
  const Rect r{0, 0, 17, 30};
  Bust_rectangle_into_tasks(&r, TaskKind_PyramidLevelHQ, pool.g(), &rect, nullptr);
  launch_and_finish_all_tasks_with(pool.g(), RectBody);
  for (size_t i = 0; i < rect.value.size(); ++i) EXPECT_EQ(rect.visits[i].load(), 1) << "pixel " << i;
  all.insert(all.end(), rect.value.begin(), rect.value.end());
  // Items the tasks take in turn: many more than tasks, and fewer.
  for (int32_t count : {101, 3, 1}) {
    ItemJob items(count);
    RunItemsOnTasks(pool.g(), count, ItemBody, &items);
    for (size_t i = 0; i < items.value.size(); ++i) EXPECT_EQ(items.visits[i].load(), 1) << "item " << i;
    all.insert(all.end(), items.value.begin(), items.value.end());
  }
  return all;
}

TEST(TaskPool, InlineAndThreadedRunsGiveTheSameResult) {
  const std::vector<uint32_t> threaded = RunSameOrders(false);
  const std::vector<uint32_t> inlined = RunSameOrders(true);
  ASSERT_EQ(threaded.size(), inlined.size());
  EXPECT_EQ(0, std::memcmp(threaded.data(), inlined.data(), threaded.size() * sizeof(uint32_t)));
}

TEST(TaskPool, AnEmptyJobLaunchesNothing) {
  PoolFixture pool(4, 4, false);
  Start_multithreading(pool.g());
  ItemJob job(1);
  Bust_row_into_tasks(3, 2, TaskKind_SampleRow, pool.g(), &job, 0, nullptr);
  EXPECT_EQ(pool.g()->taskCount, 0);
  launch_and_finish_all_tasks_with(pool.g(), RowBody);
  EXPECT_EQ(job.visits[0].load(), 0);
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(pool.record(size_t(i)).launchStatus, kLaunchIdle);
}

TEST(TaskPool, SharesWhoseTaskCouldNotBeCreatedRunOnTheMainThread) {
  PoolFixture pool(4, 4, false);
  SetTaskCreationBudget(2);
  Start_multithreading(pool.g());
  EXPECT_EQ(pool.StartedTasks(), 2);
  EXPECT_EQ(pool.record(2).requestQueue, 0);
  ItemJob job(40);
  Bust_row_into_tasks(0, 39, TaskKind_ResultRow, pool.g(), &job, 0, nullptr);
  ASSERT_EQ(pool.g()->taskCount, 4);
  launch_and_finish_all_tasks_with(pool.g(), RowBody);
  for (size_t i = 0; i < job.visits.size(); ++i) EXPECT_EQ(job.visits[i].load(), 1) << "item " << i;
  // The caller's own share 0, and the two shares whose tasks do not exist.
  EXPECT_EQ(job.onMainThread.load(), 3);
  ItemJob items(57);
  RunItemsOnTasks(pool.g(), 57, ItemBody, &items);
  for (size_t i = 0; i < items.visits.size(); ++i) EXPECT_EQ(items.visits[i].load(), 1) << "item " << i;
  // Shutdown ends the two tasks that exist and nothing else.
  End_multithreading(pool.g());
  EXPECT_EQ(pool.StartedTasks(), 0);
  EXPECT_EQ(pool.g()->taskTerminationQueue, 0);
}

TEST(TaskPool, AFailedPostRunsTheShareInline) {
  PoolFixture pool(3, 3, false);
  Start_multithreading(pool.g());
  ASSERT_EQ(pool.StartedTasks(), 3);
  // A queue that has gone away refuses the post (and ends its task).
  MPDeleteQueue(pool.record(1).requestQueue);
  ItemJob job(9);
  Bust_row_into_tasks(0, 8, TaskKind_ResultRow, pool.g(), &job, 0, nullptr);
  launch_and_finish_all_tasks_with(pool.g(), RowBody);
  for (size_t i = 0; i < job.visits.size(); ++i) EXPECT_EQ(job.visits[i].load(), 1) << "item " << i;
  // The caller's own share 0 and the share whose post failed.
  EXPECT_EQ(job.onMainThread.load(), 2);
  End_multithreading(pool.g());
  EXPECT_EQ(pool.StartedTasks(), 0);
}

TEST(TaskPool, NeverStartsMoreTasksThanRecords) {
  PoolFixture pool(2, 8, false);
  Start_multithreading(pool.g());
  EXPECT_EQ(pool.StartedTasks(), 2);
  ItemJob job(10);
  Bust_row_into_tasks(0, 9, TaskKind_ResultRow, pool.g(), &job, 0, nullptr);
  EXPECT_EQ(pool.g()->taskCount, 2);
  launch_and_finish_all_tasks_with(pool.g(), RowBody);
  for (size_t i = 0; i < job.visits.size(); ++i) EXPECT_EQ(job.visits[i].load(), 1);
  EXPECT_TRUE(pool.SpareRecordsUntouched());
}

TEST(TaskPool, LaunchOnlyLetsTheMainThreadWorkUntilFinish) {
  PoolFixture pool(4, 4, false);
  Start_multithreading(pool.g());
  ItemJob job(100);
  Bust_row_into_tasks(0, 99, TaskKind_ResultRow, pool.g(), &job, 3, nullptr);
  launch_only_all_tasks_with(pool.g(), RowBody);
  int32_t posted = 0;
  for (int32_t i = 0; i < 4; ++i) posted += pool.record(size_t(i)).launchStatus == kLaunchPosted;
  EXPECT_EQ(posted, 4);
  finish_only_all_tasks(pool.g());
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(pool.record(size_t(i)).launchStatus, kLaunchIdle);
  for (size_t i = 0; i < job.visits.size(); ++i) EXPECT_EQ(job.visits[i].load(), 1);
  EXPECT_EQ(job.onMainThread.load(), 0);
}

TEST(TaskPool, ANewSplitWaitsForTheOrdersStillRunning) {
  PoolFixture pool(4, 4, false);
  Start_multithreading(pool.g());
  ItemJob first(64), second(64);
  Bust_row_into_tasks(0, 63, TaskKind_ResultRow, pool.g(), &first, 0, nullptr);
  launch_only_all_tasks_with(pool.g(), RowBody);
  // No finish here: the split must not rewrite records that tasks still read.
  Bust_row_into_tasks(0, 63, TaskKind_ResultRow, pool.g(), &second, 1, nullptr);
  launch_and_finish_all_tasks_with(pool.g(), RowBody);
  for (size_t i = 0; i < 64; ++i) {
    EXPECT_EQ(first.visits[i].load(), 1);
    EXPECT_EQ(second.visits[i].load(), 1);
  }
}

TEST(TaskPool, WithoutTasksEverythingRunsInlineAndShutdownIsHarmless) {
  PoolFixture pool(4, 4, true);
  Start_multithreading(pool.g());
  EXPECT_EQ(pool.StartedTasks(), 0);
  EXPECT_EQ(pool.g()->taskTerminationQueue, 0);
  ItemJob job(11);
  Bust_row_into_tasks(0, 10, TaskKind_ResultRow, pool.g(), &job, 0, nullptr);
  launch_only_all_tasks_with(pool.g(), RowBody);
  // Everything is already done when launch returns.
  for (size_t i = 0; i < job.visits.size(); ++i) EXPECT_EQ(job.visits[i].load(), 1);
  EXPECT_EQ(job.onMainThread.load(), 4);
  finish_only_all_tasks(pool.g());
  End_multithreading(pool.g());
  End_multithreading(pool.g());
}

TEST(TaskPool, ShutdownWithoutStartAndTwiceIsSafe) {
  PoolFixture pool(4, 4, false);
  End_multithreading(pool.g());
  Start_multithreading(pool.g());
  End_multithreading(pool.g());
  End_multithreading(pool.g());
  EXPECT_EQ(pool.StartedTasks(), 0);
  EXPECT_EQ(pool.g()->taskCount, 4);
  Globals noRecords{};
  End_multithreading(&noRecords);
  Start_multithreading(&noRecords);
  Bust_row_into_tasks(0, 9, TaskKind_ResultRow, &noRecords, nullptr, 0, nullptr);
  EXPECT_EQ(noRecords.taskCount, 0);
}

TEST(TaskPool, ProcessorCountFollowsTheForcedConfiguration) {
  PoolFixture pool(1, 6, false);
  EXPECT_EQ(GetMaximumProcessorCount(), 6);
  GyrellePlatformConfigure("processors", 0);
  EXPECT_GE(GetMaximumProcessorCount(), 1);
}

}  // namespace
