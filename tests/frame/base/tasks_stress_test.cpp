// Many small jobs through the pool, for the race detector as much as for the
// counts: every item of every job is done exactly once, with the main thread
// splitting, launching and waiting as the render loop does.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tasks_fixture.h"

namespace {

struct StressJob {
  std::vector<int32_t> visits;  // written only by the share that owns the item
  int32_t width = 0;
};

void StressRow(PerTaskStuffType* t, int32_t) {
  auto* job = static_cast<StressJob*>(t->job);
  for (int32_t i = t->firstColumn; i <= t->lastColumn; ++i) ++job->visits[size_t(i)];
}

void StressRect(PerTaskStuffType* t, int32_t) {
  auto* job = static_cast<StressJob*>(t->job);
  for (int32_t y = t->strip.top; y < t->strip.bottom; ++y)
    for (int32_t x = t->strip.left; x < t->strip.right; ++x) ++job->visits[size_t(y * job->width + x)];
}

bool AllOnce(const StressJob& job) {
  for (int32_t v : job.visits)
    if (v != 1) return false;
  return true;
}

TEST(TaskPoolStress, ManySmallJobsAreEachDoneExactlyOnce) {
  PoolFixture pool(8, 8, false);
  Start_multithreading(pool.g());
  std::mt19937 rng(1234);
  StressJob job;
  int32_t failures = 0;
  for (int32_t n = 0; n < 3000; ++n) {
    const bool rect = rng() % 4 == 0;
    if (rect) {
      const int32_t w = int32_t(rng() % 20), h = int32_t(rng() % 20);
      job.width = w;
      job.visits.assign(size_t(w * h), 0);
      const Rect r{0, 0, int16_t(h), int16_t(w)};
      Bust_rectangle_into_tasks(&r, TaskKind_PyramidLevel, pool.g(), &job, nullptr);
    } else {
      const int32_t items = int32_t(rng() % 40);
      job.visits.assign(size_t(items), 0);
      Bust_row_into_tasks(0, items - 1, TaskKind_SampleRow, pool.g(), &job, n, nullptr);
    }
    const TaskOrderBody body = rect ? StressRect : StressRow;
    if (rng() % 2) {
      launch_and_finish_all_tasks_with(pool.g(), body);
    } else {
      launch_only_all_tasks_with(pool.g(), body);
      finish_only_all_tasks(pool.g());
    }
    failures += !AllOnce(job);
  }
  EXPECT_EQ(failures, 0);
}

TEST(TaskPoolStress, RepeatedStartAndShutdown) {
  for (int32_t round = 0; round < 40; ++round) {
    PoolFixture pool(1 + round % 6, 1 + round % 6, false);
    Start_multithreading(pool.g());
    StressJob job;
    job.visits.assign(25, 0);
    Bust_row_into_tasks(0, 24, TaskKind_ResultRow, pool.g(), &job, 0, nullptr);
    launch_and_finish_all_tasks_with(pool.g(), StressRow);
    EXPECT_TRUE(AllOnce(job)) << "round " << round;
    End_multithreading(pool.g());
    EXPECT_EQ(pool.StartedTasks(), 0);
  }
}

}  // namespace
