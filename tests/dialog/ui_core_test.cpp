// The UI layer's core: clipping, handler chains, queued input through
// nested modal loops, timers on the virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/canvas.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/events.h"
#include "platform/ui/window.h"
#include "tests/dialog/ui_fixture.h"

namespace {

TEST(UiCanvas, DrawingStaysInsideNestedClips) {
  UiCanvas cv;
  ASSERT_TRUE(UiCanvasCreate(&cv, 40, 30, kUiWhite));
  UiPushClip(&cv, Rect{5, 5, 25, 35});
  UiPushClip(&cv, Rect{0, 20, 30, 40});  // narrows to columns 20..34
  UiFillRect(&cv, Rect{0, 0, 30, 40}, kUiBlack);
  UiPopClip(&cv);
  UiFillEllipse(&cv, Rect{-10, -10, 50, 50}, UiColor{255, 0, 0, 255});  // only rows 5..24, columns 5..34
  UiPopClip(&cv);
  struct Probe {
    int x, y;
    UiColor want;
  } probes[] = {{21, 6, {255, 0, 0, 255}}, {34, 24, {255, 0, 0, 255}}, {4, 10, kUiWhite},  {36, 10, kUiWhite},
                {20, 4, kUiWhite},         {20, 25, kUiWhite},         {6, 6, {255, 0, 0, 255}}};
  for (const Probe& p : probes) {
    const UiColor c = UiPixelAt(&cv, p.x, p.y);
    EXPECT_EQ(c.r, p.want.r) << p.x << "," << p.y;
    EXPECT_EQ(c.g, p.want.g) << p.x << "," << p.y;
  }
  UiCanvasDispose(&cv);
}

TEST(UiCanvas, TextIsDrawnFromTheBuiltInFont) {
  UiCanvas cv;
  ASSERT_TRUE(UiCanvasCreate(&cv, 60, 20, kUiWhite));
  EXPECT_EQ(UiTextWidth(""), 0);
  EXPECT_GT(UiTextWidth("W"), UiTextWidth("i"));
  UiDrawText(&cv, 2, 14, "Hi", kUiBlack);
  int dark = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) dark += UiPixelAt(&cv, x, y).r == 0;
  EXPECT_GT(dark, 10);
  for (int x = 0; x < 60; ++x) EXPECT_EQ(UiPixelAt(&cv, x, 17).r, 255) << "nothing below the descent";
  UiCanvasDispose(&cv);
}

struct Trace {
  std::vector<int> calls;
};

UiStatus First(UiHandlerCall* call, UiEvent* e, void* data) {
  auto* t = static_cast<Trace*>(data);
  t->calls.push_back(1);
  const UiStatus next = UiCallNextEventHandler(call, e);
  t->calls.push_back(next == kUiNoErr ? 10 : 11);
  return kUiEventNotHandled;  // the rest already ran: not run again
}

UiStatus Second(UiHandlerCall*, UiEvent*, void* data) {
  static_cast<Trace*>(data)->calls.push_back(2);
  return kUiNoErr;
}

UiStatus Passes(UiHandlerCall*, UiEvent*, void* data) {
  static_cast<Trace*>(data)->calls.push_back(3);
  return kUiEventNotHandled;
}

TEST(UiEvents, HandlersRunNewestFirstAndCallNextRunsTheRestOnce) {
  UiTarget parent{}, child{};
  child.parent = &parent;
  Trace t;
  const UiEventTypeSpec cmd{kUiClassCommand, kUiCommandProcess};
  const UiEventTypeSpec draw{kUiClassControl, kUiControlDraw};
  UiHandler *h2, *h1, *hp;
  ASSERT_EQ(UiInstallEventHandler(&parent, Second, 1, &cmd, &t, &hp), kUiNoErr);
  ASSERT_EQ(UiInstallEventHandler(&child, Passes, 1, &cmd, &t, &h2), kUiNoErr);
  ASSERT_EQ(UiInstallEventHandler(&child, First, 1, &cmd, &t, &h1), kUiNoErr);
  UiEvent e;
  UiInitEvent(&e, kUiClassCommand, kUiCommandProcess);
  EXPECT_EQ(UiSendEventToTarget(&e, &child), kUiNoErr);
  EXPECT_EQ(t.calls, (std::vector<int>{1, 3, 2, 10})) << "commands travel up to the parent";
  t.calls.clear();
  UiInitEvent(&e, kUiClassControl, kUiControlDraw);
  UiAddEventTypesToHandler(h2, 1, &draw);
  EXPECT_EQ(UiSendEventToTarget(&e, &child), kUiEventNotHandled);
  EXPECT_EQ(t.calls, (std::vector<int>{3})) << "control events stay with the control";
  for (UiHandler* h : {h1, h2, hp}) EXPECT_EQ(UiRemoveEventHandler(h), kUiNoErr);
  EXPECT_EQ(UiRemoveEventHandler(h1), kUiParamErr);
}

TEST(UiEvents, ParametersAreTypedAndBounded) {
  UiEvent e;
  UiInitEvent(&e, kUiClassControl, kUiControlHit);
  const int16_t part = 10;
  ASSERT_EQ(UiSetEventParameter(&e, kUiParamPart, kUiTypeInt16, 2, &part), kUiNoErr);
  int16_t got = 0;
  EXPECT_EQ(UiGetEventParameter(&e, kUiParamPart, kUiTypeInt16, 2, &got), kUiNoErr);
  EXPECT_EQ(got, 10);
  EXPECT_EQ(UiGetEventParameter(&e, kUiParamPart, kUiTypeUInt32, 4, &got), kUiParamWrongType);
  EXPECT_EQ(UiGetEventParameter(&e, kUiParamText, kUiTypeText, 4, &got), kUiParamNotFound);
  uint8_t big[64] = {};
  EXPECT_EQ(UiSetEventParameter(&e, kUiParamText, kUiTypeText, sizeof big, big), kUiParamErr);
}

void CountFire(UiTimer*, void* data) { ++*static_cast<int*>(data); }

TEST(UiTimers, FireOnTheVirtualClockInOrderAndForeverMeansNever) {
  UiFixture fixture;
  int once = 0, repeating = 0, dormant = 0;
  UiTimer *a, *b, *c;
  ASSERT_EQ(UiInstallTimer(1.0, kUiForever, CountFire, &once, &a), kUiNoErr);
  ASSERT_EQ(UiInstallTimer(0.1, 0.1, CountFire, &repeating, &b), kUiNoErr);
  ASSERT_EQ(UiInstallTimer(kUiForever, kUiForever, CountFire, &dormant, &c), kUiNoErr);
  UiAdvanceClock(999);
  EXPECT_EQ(once, 0);
  EXPECT_EQ(repeating, 9);
  UiAdvanceClock(1);
  EXPECT_EQ(once, 1);
  UiAdvanceClock(5000);
  EXPECT_EQ(once, 1);
  EXPECT_EQ(dormant, 0);
  UiSetTimerNextFireTime(c, 1.0);  // armed: fires once, a second after now
  UiAdvanceClock(1000);
  EXPECT_EQ(dormant, 1);
  for (UiTimer* t : {a, b, c}) UiRemoveTimer(t);
  EXPECT_EQ(UiLiveTimerCount(), 0);
}

// An OK button and a Cancel button; each quits its window's loop.
const UiItemDefinition kOkCancel[] = {
    {MakeFourCC("TWPP"), 1, kUiKindPushButton, kUiCommandOK, {60, 110, 80, 180}, 0, 0, 1, "OK", nullptr, 0},
    {MakeFourCC("TWPP"), 2, kUiKindPushButton, kUiCommandCancel, {60, 20, 80, 90}, 0, 0, 1, "Cancel", nullptr, 0},
    {MakeFourCC("TWPP"), 3, kUiKindCheckbox, MakeFourCC("   3"), {10, 10, 30, 150}, 0, 0, 1, "Check", nullptr, 0},
};
const UiWindowDefinition kSmall{"small", "Small", 200, 100, kUiWindowClassMovableModal, 0, kOkCancel, 3};

struct Loop {
  UiWindow* window;
  FourCC last;
  UiWindow* nested;
};

UiStatus QuitOnOkCancel(UiHandlerCall*, UiEvent* e, void* data) {
  auto* loop = static_cast<Loop*>(data);
  UiCommand cmd{};
  UiGetEventParameter(e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd);
  loop->last = cmd.commandID;
  if (cmd.commandID == MakeFourCC("   3") && loop->nested) {
    // A second modal window over the first, run from inside its handler.
    Loop inner{loop->nested, 0, nullptr};
    UiHandler* h;
    const UiEventTypeSpec spec{kUiClassCommand, kUiCommandProcess};
    UiInstallEventHandler(&loop->nested->target, QuitOnOkCancel, 1, &spec, &inner, &h);
    UiShowWindow(loop->nested);
    UiSelectWindow(loop->nested);
    UiRunAppModalLoopForWindow(loop->nested);
    UiRemoveEventHandler(h);
    UiHideWindow(loop->nested);
    return kUiNoErr;
  }
  if (cmd.commandID != kUiCommandOK && cmd.commandID != kUiCommandCancel) return kUiEventNotHandled;
  UiQuitAppModalLoopForWindow(loop->window);
  return kUiNoErr;
}

TEST(UiModalLoop, NestedLoopReturnsToTheOuterWindowAndInputEndsInCancel) {
  UiFixture fixture;
  UiWindow* outer = UiCreateWindow(&kSmall);
  UiWindow* inner = UiCreateWindow(&kSmall);
  ASSERT_TRUE(outer && inner);
  Loop loop{outer, 0, inner};
  const UiEventTypeSpec spec{kUiClassCommand, kUiCommandProcess};
  UiInstallEventHandler(&outer->target, QuitOnOkCancel, 1, &spec, &loop, nullptr);
  UiShowWindow(outer);
  // Click the checkbox (opens the inner window), a click on the outer
  // window while the inner is modal (refused), OK on the inner, then the
  // checkbox's value shows in the outer one and the input runs out.
  fixture.Click(outer, 20, 20);
  fixture.Click(outer, 150, 70);
  fixture.Click(inner, 150, 70);
  UiRunAppModalLoopForWindow(outer);
  EXPECT_EQ(loop.last, kUiCommandCancel) << "the input ran out: the window was cancelled";
  EXPECT_EQ(UiBeepCount(), 1) << "the click outside the modal window beeped";
  UiControl* check;
  ASSERT_EQ(UiGetControlByID(outer, UiControlID{MakeFourCC("TWPP"), 3}, &check), kUiNoErr);
  EXPECT_EQ(check->value, 1);
  UiDisposeWindow(inner);
  UiDisposeWindow(outer);
  EXPECT_EQ(UiLiveWindowCount(), 0);
}

TEST(UiControls, SliderDragCallsTheActionAndSendsTheCommandOnRelease) {
  UiFixture fixture;
  const UiItemDefinition items[] = {
      {MakeFourCC("TWPP"), 37, kUiKindSlider, MakeFourCC("  37"), {10, 10, 30, 190}, 0, -90, 90, "", nullptr, 0}};
  const UiWindowDefinition def{"slider", "", 200, 40, kUiWindowClassDocument, 0, items, 1};
  UiWindow* w = UiCreateWindow(&def);
  UiShowWindow(w);
  static int actions;
  actions = 0;
  UiControl* s;
  ASSERT_EQ(UiGetControlByID(w, UiControlID{MakeFourCC("TWPP"), 37}, &s), kUiNoErr);
  s->action = [](UiControl*, int16_t) { ++actions; };
  Loop loop{w, 0, nullptr};
  const UiEventTypeSpec spec{kUiClassCommand, kUiCommandProcess};
  UiInstallEventHandler(&w->target, QuitOnOkCancel, 1, &spec, &loop, nullptr);
  fixture.Drag(w, {{100, 20}, {130, 20}, {190, 20}});
  UiRunAppModalLoopForWindow(w);
  EXPECT_EQ(s->value, 90) << "pulled to the maximum past the right end";
  EXPECT_EQ(actions, 2) << "the start point is the middle already";
  UiDisposeWindow(w);
}

}  // namespace
