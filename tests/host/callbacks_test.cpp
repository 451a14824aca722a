// Abort polling (Ctrl-C, abort after N polls) and the options that test
// runs depend on.
#include "host/callbacks.h"

#include <gtest/gtest.h>

#include <csignal>

#include "host/cli/options.h"

namespace gyhost {
namespace {

TEST(AbortProc, AnswersAfterTheConfiguredPolls) {
  CallbackConfig config;
  config.abortAfterPolls = 2;
  config.quiet = true;
  ResetCallbacks(config);
  EXPECT_EQ(HostAbortProc(), 0);
  EXPECT_EQ(HostAbortProc(), 0);
  EXPECT_EQ(HostAbortProc(), 1);
  EXPECT_EQ(AbortPollCount(), 3);
  ResetCallbacks(CallbackConfig{});
  EXPECT_EQ(HostAbortProc(), 0);
}

TEST(AbortProc, CtrlCIsAnsweredThroughTheNextPoll) {
  ResetCallbacks(CallbackConfig{});
  InstallInterruptHandler();
  EXPECT_EQ(HostAbortProc(), 0);
  std::raise(SIGINT);
  EXPECT_TRUE(InterruptRequested());
  EXPECT_EQ(HostAbortProc(), 1);
  ClearInterrupt();
  std::signal(SIGINT, SIG_DFL);
}

TEST(Options, HiddenTestOptionsReachTheFaults) {
  const char* argv[] = {"gyrelle",
                        "--refuse-buffers",
                        "--buffer-suite-version=3",
                        "--handle-suite-count",
                        "7",
                        "--no-advance-state",
                        "--abort-after",
                        "5",
                        "--host-sig",
                        "PSP8",
                        "--multichannel",
                        "--invocations",
                        "3",
                        "--set",
                        "0011=1",
                        "in.png",
                        "out.tif"};
  HostOptions o;
  std::string error;
  ASSERT_TRUE(ParseOptions(int(std::size(argv)), argv, &o, &error)) << error;
  EXPECT_TRUE(o.faults.refuseBufferAllocate);
  EXPECT_EQ(o.faults.bufferSuiteVersion, 3);
  EXPECT_EQ(o.faults.handleSuiteCount, 7);
  EXPECT_TRUE(o.faults.noAdvanceState);
  EXPECT_EQ(o.faults.abortAfterPolls, 5);
  EXPECT_EQ(o.faults.hostSig, MakeFourCC("PSP8"));
  EXPECT_TRUE(o.faults.multichannel);
  EXPECT_EQ(o.invocations, 3);
  EXPECT_EQ(o.settings.size(), 1u);
  EXPECT_EQ(o.input, "in.png");
  EXPECT_EQ(o.output, "out.tif");
  EXPECT_EQ(UsageText().find("refuse"), std::string::npos);  // not advertised
}

TEST(Options, MistakesAreReported) {
  const std::vector<std::vector<const char*>> bad = {
      {"gyrelle", "in.png"},
      {"gyrelle", "a", "b", "c"},
      {"gyrelle", "--threads", "0", "a", "b"},
      {"gyrelle", "--threads"},
      {"gyrelle", "--set", "Foky", "a", "b"},
      {"gyrelle", "--colour", "a", "b"},
  };
  for (const auto& args : bad) {
    HostOptions o;
    std::string error;
    EXPECT_FALSE(ParseOptions(int(args.size()), args.data(), &o, &error)) << args[1];
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace gyhost
