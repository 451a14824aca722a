// The whole dialog run in-process, three times in a row: OK keeps what the
// script changed, Cancel restores the settings and answers -128, no input
// accepts at once; each run leaves no window, handler, timer or class.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "dialog/dialog_services.h"
#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "platform/config.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"
#include "support/fake_host.h"

namespace {

struct Case {
  const char* what;
  const char* script;  // null: no script, the dialog accepts at once
  int16_t result;
  int32_t mirror;
  int32_t failures;
};

TEST(DialogRun, ThreeRunsInOneProcessLeaveNothingBehind) {
  FakeHost host(64, 32, kImageModeRGB, 8, 3, false);
  SetDefaultSettings(host.Settings());
  const Case cases[] = {
      {"OK", "window xparams\nclick 48\nexpect value 48 1\nclick 2\n", 0, 1, 0},
      {"Cancel", "window xparams\nclick 48\nexpect value 48 0\nclick 3\n", -128, 1, 0},
      {"wrong expectation, then OK", "window xparams\nexpect value 48 0\nclick 2\n", 0, 1, 1},
      {"no input", nullptr, 0, 1, 0},
  };
  const std::string path = std::string(testing::TempDir()) + "/dialog_run_script.txt";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int32_t failures = 0;
    if (c.script) {
      std::ofstream(path) << c.script;
      GyrellePlatformConfigure("dialog_script", int64_t(reinterpret_cast<intptr_t>(path.c_str())));
      GyrellePlatformConfigure("dialog_script_failures", int64_t(reinterpret_cast<intptr_t>(&failures)));
    }
    host.globals->result = 0;
    PromptUserForInput(host.globals);
    GyrellePlatformConfigure("dialog_script", 0);
    GyrellePlatformConfigure("dialog_script_failures", 0);
    EXPECT_EQ(host.globals->result, c.result);
    EXPECT_EQ(host.Settings()->mirrorInput, c.mirror);
    EXPECT_EQ(host.Settings()->runMode, RunMode_Preview) << "the start selector resets it";
    EXPECT_EQ(failures, c.failures);
    EXPECT_EQ(host.globals->dialogWindow, nullptr);
    EXPECT_EQ(UiLiveWindowCount(), 0);
    EXPECT_EQ(UiLiveHandlerCount(), 0);
    EXPECT_EQ(UiLiveTimerCount(), 0);
    EXPECT_EQ(UiRegisteredViewClassCount(), 0);
    EXPECT_EQ(UiModalDepth(), 0);
    EXPECT_EQ(UiGetFrontEnd(), nullptr);
    EXPECT_FALSE(UiClockIsVirtual());
  }
  std::remove(path.c_str());
}

}  // namespace
