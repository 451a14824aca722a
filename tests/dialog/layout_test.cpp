// The parameter window's popups and layout: every named mode listed with
// the refused ones dimmed, the names `--list` prints, text boxes wide enough
// for their values, and a resize that grows the preview.
#include <gtest/gtest.h>

#include <cstring>

#include "dialog/associations.h"
#include "dialog/button_icons_table.h"
#include "dialog/window_services.h"
#include "dialog/dialog_controls.h"
#include "dialog/mode_menus.h"
#include "dialog/nib_gyre.h"
#include "dialog/window_layout.h"
#include "export/mode_names.h"
#include "frame/base/layout_names.h"
#include "platform/ui/icons.h"
#include "platform/ui/popup_menu.h"
#include "render/view_build.h"
#include "platform/ui/text_edit.h"
#include "platform/ui/window.h"
#include "tests/dialog/ui_fixture.h"

namespace {

struct Window {
  UiFixture fixture;
  UiWindow* w = UiCreateWindow(FindGyreWindow("xparams"));
  Window() { FillModePopups(w); }
  ~Window() { UiDisposeWindow(w); }
  UiControl* Item(int id) { return GetVarezItem(w, id); }
};

TEST(ModePopups, EveryNamedModeInTheTablesOrderWithTheRefusedOnesDimmed) {
  Window win;
  UiControl* out = win.Item(51);
  ASSERT_EQ(out->popupCount, OutputModeNameCount());
  EXPECT_EQ(out->max, OutputModeNameCount());
  for (int32_t item = 1; item <= out->popupCount; ++item) {
    const int32_t mode = OutputModeOfItem(item);
    EXPECT_STREQ(UiPopupItemText(out, item), GyrelleOutputModeName(mode)) << "item " << item;
    EXPECT_EQ(UiPopupItemEnabled(out, item), !OutputModeIsRefused(mode)) << "item " << item;
    EXPECT_EQ(ItemOfOutputMode(mode), item);
  }
  EXPECT_STREQ(UiPopupItemText(out, 290), "VivoDodecahedron");
  EXPECT_FALSE(UiPopupItemEnabled(out, 291));
  EXPECT_TRUE(UiPopupItemEnabled(out, 290));
  EXPECT_EQ(OutputModeOfItem(292), 1035) << "after 291 come the single-fragment variants";
  EXPECT_EQ(ItemOfOutputMode(1044), ItemOfOutputMode(1041)) << "a mode without a name shows the one below it";
  struct Named {
    int id;
    int32_t count;
    const char* const* names;
  } named[] = {{12, kInputModeNameCount, kInputModeNames}, {21, kGraticuleNameCount, kGraticuleNames}};
  for (const Named& n : named) {
    UiControl* c = win.Item(n.id);
    ASSERT_EQ(c->popupCount, n.count) << "popup " << n.id;
    for (int32_t i = 1; i <= n.count; ++i) EXPECT_STREQ(UiPopupItemText(c, i), n.names[i - 1]) << n.id << ":" << i;
  }
  EXPECT_STREQ(UiPopupItemText(win.Item(12), 2), "mirror ball");
  EXPECT_STREQ(UiPopupItemText(win.Item(21), 2), "every 5 degrees");
}

TEST(WindowLayout, TextBoxesHoldTheLongestValueOfTheirRange) {
  Window win;
  FitTextBoxesToTheirValues(win.w);
  for (int16_t item : {37, 57, 39, 103, 59, 61}) {
    AssociationRecord a;
    ASSERT_EQ(NiceGetAssociations(item, &a), ItemKind_Slider);
    const Rect box = win.Item(a.textBox)->bounds, slider = win.Item(item)->bounds;
    const int32_t room = box.right - box.left - 2 * kUiEditInset;
    EXPECT_GE(room, WidestSliderText(a.min, a.max)) << "box " << a.textBox;
    EXPECT_GE(room, UiTextWidth("-137.968")) << "box " << a.textBox;
    EXPECT_LT(slider.right, box.left) << "slider " << item << " makes room";
  }
  EXPECT_GE(WidestSliderText(-180, 180), UiTextWidth("-1.23457e-05"));
}

TEST(WindowLayout, AResizedWindowGrowsThePreviewAndKeepsItsLeastSize) {
  Window win;
  InstallWindowLayoutHandler(win.w);
  const Rect preview = win.Item(18)->bounds, ok = win.Item(2)->bounds, well = win.Item(98)->bounds;
  const Rect tilt = win.Item(37)->bounds;
  ASSERT_TRUE(UiResizeWindow(win.w, 1000, 700));
  EXPECT_EQ(win.w->canvas.width, 1000);
  EXPECT_EQ(win.Item(18)->bounds.right, preview.right + 140);
  EXPECT_EQ(win.Item(18)->bounds.bottom, preview.bottom + 102);
  EXPECT_EQ(win.Item(2)->bounds.left, ok.left + 140) << "the settings keep to the right edge";
  EXPECT_EQ(win.Item(2)->bounds.top, ok.top);
  EXPECT_EQ(win.Item(37)->bounds.left, tilt.left + 140);
  EXPECT_EQ(win.Item(98)->bounds.top, well.top + 102) << "the memory well keeps to the bottom";
  EXPECT_EQ(win.Item(98)->bounds.left, well.left);
  ASSERT_TRUE(UiResizeWindow(win.w, 300, 200));
  EXPECT_EQ(win.w->canvas.width, 860) << "no smaller than its least size";
  EXPECT_EQ(win.w->canvas.height, 598);
  EXPECT_EQ(win.Item(18)->bounds.right, preview.right);
  EXPECT_EQ(win.Item(2)->bounds.left, ok.left);
  const UiWindowDefinition fixed{"fixed", "", 100, 100, kUiWindowClassAlert, 0, nullptr, 0};
  UiWindow* alert = UiCreateWindow(&fixed);
  EXPECT_FALSE(UiResizeWindow(alert, 200, 200)) << "a window that is not resizable";
  UiDisposeWindow(alert);
}

// The twelve icons: each a full square picture, no two alike, and each on
// its button once the window is set up (the result's icon kept aside).
TEST(ButtonIcons, TwelveDistinctPicturesReachTheirButtons) {
  static_assert(kButtonIconCount == 12);
  static_assert(sizeof kButtonIcons[0].rgba == size_t(kButtonIconSize) * kButtonIconSize * 4);
  EXPECT_EQ(kButtonIconSize, 16);
  for (int i = 0; i < kButtonIconCount; ++i) {
    int opaque = 0;
    for (int k = 3; k < kButtonIconSize * kButtonIconSize * 4; k += 4) opaque += kButtonIcons[i].rgba[k] == 255;
    EXPECT_GT(opaque, 20) << kButtonIcons[i].file << " draws something";
    for (int j = 0; j < i; ++j)
      EXPECT_NE(std::memcmp(kButtonIcons[i].rgba, kButtonIcons[j].rgba, sizeof kButtonIcons[i].rgba), 0)
          << kButtonIcons[i].file << " and " << kButtonIcons[j].file;
  }
  Window win;
  DoGUIExperiments(win.w, CreateTWBundle());
  for (int id : {96, 75, 65, 83, 64, 46, 9, 72, 74, 35, 26}) {
    const UiIconImage* icon = UiFindIcon(win.Item(id)->contentIcon);
    ASSERT_NE(icon, nullptr) << "button " << id;
    EXPECT_EQ(icon->width, kButtonIconSize);
  }
  EXPECT_EQ(win.Item(40)->contentIcon, 0u) << "the result's icon is kept in a property, not shown";
  EXPECT_EQ(CreateIconRef_from_my_bundle("no such icon", MakeFourCC("none")), 0u);
}

// The view angle's range is one: the renderer's refusal names the range
// the window and the settings list offer.
TEST(ViewAngle, TheRefusalStatesTheOneRange) {
  EXPECT_STREQ(ViewBuildStatusMessage(ViewBuild_BadViewAngle),
               "The view angle must be a number of degrees above 0 and up to 180.");
  AssociationRecord a;
  NiceGetAssociations(103, &a);
  EXPECT_GT(a.min, kViewAngleAbove);
  EXPECT_EQ(a.max, kViewAngleMost);
}

}  // namespace
