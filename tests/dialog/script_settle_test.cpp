// "settle" holds a dialog script while an export's progress window is up.
// The export pumps events once a row; a held script must answer that
// nothing came, or every pump asks it again up to its limit (256 times a
// row, most of a long export's time).
#include <gtest/gtest.h>

#include "platform/ui/event_loop.h"
#include "platform/ui/script.h"
#include "platform/ui/window.h"

namespace {

TEST(ScriptSettle, AHeldStepAnswersThatNothingCame) {
  UiScript* script = UiParseScript("settle\n", "settle steps");
  ASSERT_NE(script, nullptr);
  const UiFrontEnd* frontEnd = UiScriptFrontEnd(script);
  const UiWindowDefinition progress{"progress", "Progress", 200, 80, 0, 0, nullptr, 0};
  UiWindow* window = UiCreateWindow(&progress);
  ASSERT_NE(window, nullptr);
  UiInput input{};
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(frontEnd->next(frontEnd->self, &input, 0)) << "ask " << i;
  UiDisposeWindow(window);
  // Once the window is gone the step runs, and the steps end.
  EXPECT_TRUE(frontEnd->next(frontEnd->self, &input, 0));
  EXPECT_EQ(input.type, kUiInputNothing);
  EXPECT_TRUE(frontEnd->next(frontEnd->self, &input, 0));
  EXPECT_EQ(input.type, kUiInputEnd);
  EXPECT_EQ(UiFinishScript(script), 0);
}

}  // namespace
