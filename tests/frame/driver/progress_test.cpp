// Progress reports and abort polls: what reaches the host in each run mode,
// how often, and what an export's progress window shows.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialog/dialog_services.h"
#include "frame/globals.h"
#include "frame/progress.h"
#include "support/driver_host.h"

namespace {

std::vector<int32_t> Reported(const DriverHost& host) {
  std::vector<int32_t> done;
  for (const ProgressCall& c : host.progress) done.push_back(c.done);
  return done;
}

TEST(Progress, HostHearsOnlyInTheFinalRunMode) {
  struct Case {
    int32_t runMode;
    std::vector<int32_t> calls;     // done values, in order
    std::vector<int32_t> reported;  // what reaches progressProc
  };
  std::vector<int32_t> rows(100);
  for (int32_t i = 0; i < 100; ++i) rows[i] = i;
  const Case cases[] = {
      {RunMode_Final, rows, {0, 32, 64, 96}},
      // A jump of more than 4 is reported at once and restarts the count.
      {RunMode_Final, {0, 1, 2, 8, 9, 10, 15, 16}, {0, 8, 15}},
      // done 0 is always reported.
      {RunMode_Final, {5, 0, 1, 0}, {5, 0, 0}},
      {RunMode_Preview, rows, {}},
      {RunMode_ExportLayer, rows, {}},
  };
  for (const Case& c : cases) {
    DriverHost host(4, 4, 3);
    Globals* g = host.OpenInvocation();
    host.Settings()->runMode = c.runMode;
    for (int32_t done : c.calls) CCUpdateProgressMulti(g, done, 100, 1);
    EXPECT_EQ(Reported(host), c.reported) << "run mode " << c.runMode << ", " << c.calls.size() << " calls";
    host.CloseInvocation();
  }
}

TEST(Progress, ExportLayerMovesTheProgressWindowOnEveryCall) {
  DriverHost host(4, 4, 3);
  Globals* g = host.OpenInvocation();
  ProgressWindowStandIn window{};
  g->progressWindow = &window;
  g->progressLayersDone = 1;
  host.Settings()->runMode = RunMode_ExportLayer;
  CCUpdateProgressMulti(g, 25, 100, 4);
  EXPECT_EQ(window.barValue, 312);  // (1 * 100 + 25) * 1000 / (100 * 4)
  CCUpdateProgressMulti(g, 26, 100, 4);
  EXPECT_EQ(window.barValue, 315);
  host.Settings()->runMode = RunMode_Final;
  CCUpdateProgressMulti(g, 90, 100, 4);
  EXPECT_EQ(window.barValue, 315) << "only an export layer moves the window";
  EXPECT_TRUE(host.progress.size() == 1 && host.progress[0].done == 90);
  g->progressWindow = nullptr;
  host.CloseInvocation();
}

TEST(Progress, CancellingFillsTheBarAndMarksTheExport) {
  DriverHost host(4, 4, 3);
  Globals* g = host.OpenInvocation();
  host.Settings()->runMode = RunMode_ExportLayer;
  MondoProgressShowCancelling(g);  // no window: nothing to mark
  EXPECT_EQ(g->storage->exportCancelled, 0);
  ProgressWindowStandIn window{};
  g->progressWindow = &window;
  MondoProgressShowCancelling(g);
  EXPECT_EQ(window.barValue, 1000);
  EXPECT_STREQ(window.text, "Cancelling...");
  EXPECT_EQ(g->storage->exportCancelled, 1);
  g->progressWindow = nullptr;
  host.CloseInvocation();
}

TEST(Progress, HostIsAskedAboutAbortOnEvery32ndPoll) {
  struct Case {
    int32_t runMode;
    int hostPolls;  // after 64 polls
  } cases[] = {{RunMode_Final, 2}, {RunMode_Preview, 0}, {RunMode_ExportLayer, 2}};
  for (const Case& c : cases) {
    DriverHost host(4, 4, 3);
    Globals* g = host.OpenInvocation();
    host.Settings()->runMode = c.runMode;
    host.abortAfterPolls = 1;
    int firstTrue = -1;
    for (int i = 1; i <= 64; ++i) {
      if (CCTestAbort(g) && firstTrue < 0) firstTrue = i;
    }
    EXPECT_EQ(host.abortPolls, c.hostPolls) << "run mode " << c.runMode;
    EXPECT_EQ(firstTrue, c.hostPolls == 2 ? 64 : -1) << "run mode " << c.runMode;
    // The preview does not even count its polls.
    if (c.runMode == RunMode_Preview) {
      EXPECT_EQ(g->storage->abortPollCounter, 0);
    }
    host.CloseInvocation();
  }
}

}  // namespace
