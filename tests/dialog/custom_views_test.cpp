// The dialog's own views in a window of their own: the data they take and
// refuse, drops, focus and the space bar.
#include <gtest/gtest.h>

#include <cstring>

#include "dialog/controls/angle_control.h"
#include "dialog/ColorSwatchView/color_swatch.h"
#include "dialog/controls/custom_view_support.h"
#include "dialog/nib_gyre.h"
#include "platform/ui/color_picker.h"
#include "platform/ui/drag.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"
#include "tests/dialog/ui_fixture.h"

namespace {

const UiItemDefinition kSwatchItems[] = {
    {kItemSignature, 7, kUiKindCustom, ItemCommand(7), {10, 10, 32, 40}, 0, 0, 1, nullptr, kColorSwatchClassID, 0},
};
const UiWindowDefinition kSwatchWindow{"swatches", "", 100, 60, kUiWindowClassDocument, 0, kSwatchItems, 1};

int g_commands = 0;
UiStatus CountCommands(UiHandlerCall*, UiEvent*, void*) {
  ++g_commands;
  return kUiNoErr;
}

struct SwatchWindow {
  SwatchWindow() {
    HIColorSwatchRegisterType(&cls);
    w = UiCreateWindow(&kSwatchWindow);
    UiGetControlByID(w, UiControlID{kItemSignature, 7}, &swatch);
    const UiEventTypeSpec cmd{kUiClassCommand, kUiCommandProcess};
    UiInstallEventHandler(&w->target, CountCommands, 1, &cmd, nullptr, nullptr);
    UiShowWindow(w);
    g_commands = 0;
  }
  ~SwatchWindow() {
    UiDisposeWindow(w);
    UiUnregisterViewClass(cls);
  }
  RGBColor Colour() {
    RGBColor c{};
    HIColorSwatchGetColor(swatch, &c);
    return c;
  }
  UiViewClass* cls = nullptr;
  UiWindow* w = nullptr;
  UiControl* swatch = nullptr;
};

TEST(ColourSwatch, ItsColourIsSixBytesAndOnlyASixByteColourIsDropped) {
  UiFixture fixture;
  SwatchWindow sw;
  ASSERT_NE(sw.swatch, nullptr);
  ASSERT_NE(sw.swatch->instance, nullptr);
  EXPECT_EQ(HIColorSwatchSetColor(sw.swatch, RGBColor{1, 2, 3}), kUiNoErr);
  uint32_t small = 0, size = 0;
  EXPECT_EQ(UiGetControlData(sw.swatch, 0, kViewTagColour, sizeof small, &small, &size), kUiBadDataSize);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(UiSetControlData(sw.swatch, 0, kViewTagColour, 4, &small), kUiBadDataSize);
  EXPECT_EQ(UiSetControlData(sw.swatch, 0, kViewTagColour, 6, nullptr), kUiNoErr);
  EXPECT_EQ(sw.Colour().green, 2);

  const uint16_t eight[4] = {9, 9, 9, 9};
  UiDrag* drag = nullptr;
  UiNewDrag(&drag);
  UiAddDragItemFlavor(drag, 1, kUiFlavorColour, eight, sizeof eight, 0);
  EXPECT_NE(UiDeliverDrop(drag, sw.w, UiPoint{20, 20}), kUiNoErr);
  UiDisposeDrag(drag);
  EXPECT_EQ(sw.Colour().red, 1) << "an 8-byte colour is not a colour";
  EXPECT_EQ(g_commands, 0);

  // A second item carries the colour: found, dropped, announced.
  const RGBColor red{65535, 0, 0};
  UiNewDrag(&drag);
  UiAddDragItemFlavor(drag, 1, MakeFourCC("TEXT"), "x", 1, 0);
  UiAddDragItemFlavor(drag, 2, kUiFlavorColour, &red, sizeof red, 0);
  EXPECT_EQ(UiDeliverDrop(drag, sw.w, UiPoint{20, 20}), kUiNoErr);
  UiDisposeDrag(drag);
  EXPECT_EQ(sw.Colour().red, 65535);
  EXPECT_EQ(g_commands, 1);
  EXPECT_EQ(UiLiveDragCount(), 0);
}

TEST(ColourSwatch, FocusNeedsFocusEverythingAndSpaceOpensThePicker) {
  UiFixture fixture;
  SwatchWindow sw;
  auto* view = static_cast<ColorSwatch*>(sw.swatch->instance);
  int16_t part = -1;
  view->SetFocusPart(-1, 0, &part);
  EXPECT_EQ(part, 0) << "keyboard navigation without focus-everything passes it by";
  view->SetFocusPart(-1, 1, &part);
  EXPECT_EQ(part, kViewPartButton);
  view->SetFocusPart(0, 1, &part);
  EXPECT_EQ(part, 0);

  const uint16_t blue[3] = {0, 0, 65535};
  UiQueuePickerAnswer(blue);
  UiEvent e;
  UiInitEvent(&e, kUiClassText, kUiTextInputUnicodeForKey);
  UiSetEventParameter(&e, kUiParamText, kUiTypeText, 2, " ");
  EXPECT_EQ(UiSendEventToTarget(&e, &sw.swatch->target), kUiNoErr);
  EXPECT_EQ(UiQueuedPickerAnswers(), 0);
  EXPECT_EQ(sw.Colour().blue, 65535);
  EXPECT_EQ(g_commands, 1);
  UiSetEventParameter(&e, kUiParamText, kUiTypeText, 2, "a");
  EXPECT_EQ(UiSendEventToTarget(&e, &sw.swatch->target), kUiEventNotHandled);
}

const UiItemDefinition kBallItems[] = {
    {kPluginCreator, 1, kUiKindCustom, MakeFourCC("Ball"), {0, 0, 74, 74}, 0, 0, 1, nullptr, kBallControlClassID, 0},
    {kPluginCreator, 2, kUiKindCustom, MakeFourCC("Angl"), {0, 80, 74, 154}, 0, 0, 1, nullptr, kAngleControlClassID, 0},
};
const UiWindowDefinition kBallWindow{"balls", "", 160, 80, kUiWindowClassDocument, 0, kBallItems, 2};

struct BallWindow {
  BallWindow() {
    HIBallControlRegisterType(&ballClass);
    HIAngleControlRegisterType(&angleClass);
    w = UiCreateWindow(&kBallWindow);
    UiGetControlByID(w, UiControlID{kPluginCreator, 1}, &ball);
    UiGetControlByID(w, UiControlID{kPluginCreator, 2}, &dial);
    UiShowWindow(w);
  }
  ~BallWindow() {
    UiDisposeWindow(w);
    UiUnregisterViewClass(ballClass);
    UiUnregisterViewClass(angleClass);
  }
  UiViewClass *ballClass = nullptr, *angleClass = nullptr;
  UiWindow* w = nullptr;
  UiControl *ball = nullptr, *dial = nullptr;
};

TEST(BallAndDial, DegreesPointsAndTheirSizes) {
  UiFixture fixture;
  BallWindow bw;
  ASSERT_NE(bw.ball->instance, nullptr);
  ASSERT_NE(bw.dial->instance, nullptr);
  for (UiControl* c : {bw.ball, bw.dial}) {
    EXPECT_EQ(HIBallControlSetDegrees(c, 90), kUiNoErr);
    triplex p{};
    EXPECT_EQ(HIBallControlGetXYZ(c, &p), kUiNoErr);
    EXPECT_NEAR(p.x, 1, 1e-7);
    EXPECT_NEAR(p.y, 0, 1e-7);
    float degrees = 0;
    EXPECT_EQ(HIBallControlGetDegrees(c, &degrees), kUiNoErr);
    EXPECT_FLOAT_EQ(degrees, 90);
    // A point with a zero component leaves the angle at 0.
    EXPECT_EQ(HIBallControlSetXYZ(c, triplex{0, -1, 0}), kUiNoErr);
    HIBallControlGetDegrees(c, &degrees);
    EXPECT_EQ(degrees, 0);
    uint32_t size = 0;
    double small = 0;
    EXPECT_EQ(UiGetControlData(c, 0, kBallTagXYZ, sizeof small, &small, &size), kUiBadDataSize);
    EXPECT_EQ(size, 24u);
    EXPECT_EQ(UiSetControlData(c, 0, kBallTagDegrees, sizeof small, &small), kUiBadDataSize);
  }
  TControlKind kind{};
  UiGetControlData(bw.dial, 0, MakeFourCC("kind"), sizeof kind, &kind, nullptr);
  EXPECT_EQ(kind.kind, MakeFourCC("Angl"));
}

TEST(BallAndDial, APressOnTheDialsCentrePointsUp) {
  UiFixture fixture;
  BallWindow bw;
  // The dial's centre in view terms is (2.5 + 69*63/128, 2.5 + 69*60.5/128).
  static_cast<AngleControl*>(bw.dial->instance)->CopeWithTrackedPoint(UiPoint{2.5f + 69 * 63.0f / 128, 2.5f + 69 * 60.5f / 128});
  triplex p{};
  float degrees = 0;
  HIBallControlGetXYZ(bw.dial, &p);
  HIBallControlGetDegrees(bw.dial, &degrees);
  EXPECT_NEAR(p.x, 0, 1e-7);
  EXPECT_NEAR(p.y, -1, 1e-7);
  EXPECT_NEAR(degrees, 180, 1e-4);
}

}  // namespace
