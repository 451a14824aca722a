// The export progress window: its bar follows the layers, its Cancel
// button is seen while the export pumps events, and it goes away whole.
#include <gtest/gtest.h>

#include "dialog/dialog_controls.h"
#include "dialog/dialog_services.h"
#include "dialog/window_services.h"
#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "platform/ui/window.h"
#include "support/fake_host.h"
#include "tests/dialog/ui_fixture.h"

namespace {

TEST(ProgressWindow, TheBarFollowsTheLayersAndCancelMarksTheExport) {
  UiFixture fixture;
  fixture.endWhenEmpty = false;  // an export waits for no one
  FakeHost host(8, 8, kImageModeRGB, 8, 3, false);
  SetDefaultSettings(host.Settings());
  Globals* g = host.globals;
  CreateMondoProgressWindow(g);
  UiWindow* w = UiWindowFromRef(g->progressWindow);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(UiModalDepth(), 1) << "app-modal without a loop";
  g->progressLayersDone = 1;
  MondoProgressUpdate(g, 3, 10, 4);
  EXPECT_EQ(GetControlValue_varez(w, 1), 325);  // (1 * 10 + 3) * 1000 / 40
  EXPECT_EQ(g->storage->exportCancelled, 0);
  // The user presses Cancel while the export runs; the next update pumps it.
  UiControl* cancel = w->cancelButton;
  ASSERT_NE(cancel, nullptr);
  fixture.Click(w, float(cancel->bounds.left + 5), float(cancel->bounds.top + 5));
  MondoProgressUpdate(g, 4, 10, 4);
  EXPECT_EQ(g->storage->exportCancelled, 1);
  EXPECT_EQ(g->progressWindow, w) << "the export takes the window down itself";
  host.Settings()->runMode = RunMode_ExportLayer;
  MondoProgressShowCancelling(g);
  char text[64];
  GetItemText(w, 2, text, sizeof text);
  EXPECT_STREQ(text, "Cancelling...");
  DestroyMondoProgress(g);
  EXPECT_EQ(g->progressWindow, nullptr);
  EXPECT_EQ(UiModalDepth(), 0);
  EXPECT_EQ(UiLiveWindowCount(), 0);
  EXPECT_EQ(UiLiveHandlerCount(), 0);
}

}  // namespace
