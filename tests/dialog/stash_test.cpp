// Settings into the parameter window's controls and back, with the rules
// of the item table: ranges, text boxes, the graticule popup, the ferret.
#include <gtest/gtest.h>

#include <cstring>

#include "dialog/dialog_controls.h"
#include "dialog/item_rules.h"
#include "dialog/nib_gyre.h"
#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "platform/ui/window.h"
#include "support/fake_host.h"
#include "tests/dialog/ui_fixture.h"

namespace {

struct Dialog {
  Dialog() : host(40, 20, kImageModeRGB, 8, 3, false) {
    SetDefaultSettings(host.Settings());
    window = UiCreateWindow(FindGyreWindow("xparams"));
    EXPECT_NE(window, nullptr);
    UiControl* popup51 = GetVarezItem(window, 51);
    for (int i = 0; i < 289; ++i) UiAppendPopupItem(popup51, "mode");
    MakeEverythingUsable(host.globals);
  }
  ~Dialog() { UiDisposeWindow(window); }
  UiFixture fixture;
  FakeHost host;
  UiWindow* window;
  TParameters* p() { return host.Settings(); }
  const char* Text(int id) { return GetVarezItem(window, id)->title; }
};

TEST(Stash, SettingsGoIntoTheControlsAndComeBack) {
  Dialog d;
  d.p()->twirlX = 12.5f;
  d.p()->outputMode = 91;
  d.p()->mirrorInput = 1;
  d.p()->gridLegacy = 3;
  d.p()->graticule = 5;
  Settings2Controls(d.host.globals, d.window, 0);
  EXPECT_STREQ(d.Text(86), "12.5");
  EXPECT_EQ(GetControlValue_varez(d.window, 37), 12);
  EXPECT_EQ(GetControlValue_varez(d.window, 21), 5) << "the graticule is written last";
  EXPECT_STREQ(d.Text(76), d.p()->settingsName);
  EXPECT_FALSE(GetVarezItem(d.window, 103)->active) << "mode 91 dims the view angle";
  Controls2Settings(d.window, d.host.globals);
  EXPECT_EQ(d.p()->twirlX, 12.5f) << "the text box, not the slider, is the source";
  EXPECT_EQ(d.p()->gridLegacy, 5);
  EXPECT_EQ(d.p()->graticule, 5);
  EXPECT_EQ(d.p()->mirrorInput, 1);
}

TEST(Stash, TypedValuesArePulledIntoTheSliderRange) {
  Dialog d;
  struct Case {
    const char* typed;
    const char* shown;
    float value;
  } cases[] = {{"200", "90", 90}, {"-1000", "-90", -90}, {"-1e9", "-19", -19}, {"4x5", "45", 45}, {"", "0", 0}, {"7.25", "7.25", 7.25f}};
  for (const Case& c : cases) {
    SetControlTitleVarezCString(d.window, 86, c.typed);
    EXPECT_EQ(float(UnStashValue_core(d.window, 86)), c.value) << c.typed;
    // Text that needs no pulling is left as it was typed.
    if (c.value == 90 || c.value == -90) {
      EXPECT_STREQ(d.Text(86), c.shown) << c.typed;
    }
  }
  EXPECT_EQ(UnStashValue_core(nullptr, 86), 0.0);
  EXPECT_EQ(UnStashValue_core(nullptr, 48), -10.0);
  EXPECT_EQ(GetControlValue_varez(nullptr, 48), -10);
  EXPECT_EQ(GetControlValue_varez(d.window, 199), 0) << "no such control";
}

TEST(Stash, TheFerretCopiesOnlyWhatTheDialogEdits) {
  Dialog d;
  TParameters saved;
  std::memset(&saved, 0x5A, sizeof saved);
  d.p()->twirlSpin = 33;
  d.p()->previewQuality = 3;
  d.p()->cubeFaceSize = 512;
  DoTheFerret(&saved, d.host.globals, 0);
  EXPECT_EQ(saved.twirlSpin, 33);
  EXPECT_EQ(saved.outputMode, d.p()->outputMode);
  EXPECT_NE(saved.previewQuality, 3) << "not a ferreted field";
  d.p()->twirlSpin = -10;
  d.p()->previewQuality = 1;
  d.p()->cubeFaceSize = 64;
  DoTheFerret(&saved, d.host.globals, 1);
  EXPECT_EQ(d.p()->twirlSpin, 33);
  EXPECT_EQ(d.p()->previewQuality, 1) << "Cancel keeps the preview quality";
  EXPECT_EQ(d.p()->cubeFaceSize, 64);
}

TEST(ItemRules, NextButtonsWrapAndTheDiceStayInRange) {
  Dialog d;
  struct Case {
    int16_t item;
    int32_t TParameters::*field;
    int32_t before, after;
  } cases[] = {{81, &TParameters::glueMode, 62, 1},      {94, &TParameters::outputMode, 289, 1},
               {97, &TParameters::inputMode, 30, 1},     {13, &TParameters::graticule, 0, 2},
               {13, &TParameters::graticule, 7, 1},      {110, &TParameters::previewQuality, 3, 1}};
  for (const Case& c : cases) {
    d.p()->*c.field = c.before;
    uint8_t refresh = 0;
    RandomizeIt(d.host.globals, d.window, c.item, &refresh);
    EXPECT_EQ(d.p()->*c.field, c.after) << c.item;
    EXPECT_EQ(refresh, 1);
  }
  for (int i = 0; i < 50; ++i) {
    RandomizeSettingsConstrained(d.host.globals);
    EXPECT_EQ(int(d.p()->twirlX) % 90, 0);
    EXPECT_EQ(int(d.p()->twirlY) % 90, 0);
    RandomizeSettings(d.host.globals);
    EXPECT_GE(d.p()->twirlX, -90);
    EXPECT_LE(d.p()->twirlX, 90);
    EXPECT_GE(d.p()->twirlSpin, -180);
  }
  uint8_t refresh = 0;
  RandomizeIt(d.host.globals, d.window, 72, &refresh);
  EXPECT_STREQ(d.p()->settingsName, "random settings");
  EXPECT_STREQ(d.Text(76), "random settings");
}

TEST(ItemRules, RefreshAndUndoWorthinessByItem) {
  struct Case {
    int16_t item;
    int32_t undo, refresh, hard;
  } cases[] = {{37, 1, 1, 0}, {86, 1, 1, 0}, {48, 1, 1, 0},  {30, 0, 1, 0}, {2, 0, 0, 0},   {35, 2, 0, 1},
               {26, 0, 0, 1}, {18, 1, 1, 1}, {777, 1, 0, 1}, {76, 0, 0, 0}, {200, 0, 0, 0}, {32, 0, 1, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(UndoWorthy(c.item, nullptr), c.undo) << c.item;
    EXPECT_EQ(ProvokesRefresh(c.item), c.refresh) << c.item;
    EXPECT_EQ(WarrantsHardRefreshWhileAutoPreviewingIsOff(c.item), c.hard) << c.item;
  }
}

TEST(ItemRules, AThirtyTwoBitImageKeepsTheGlueControlsDimmed) {
  Dialog d;
  d.host.record.imageMode = kImageModeRGB96;
  SetGlueHilite(d.window, d.host.globals);
  SetHilites(0, d.window, d.host.globals);
  for (int id : {73, 70, 81}) EXPECT_FALSE(GetVarezItem(d.window, id)->active) << id;
}

}  // namespace
