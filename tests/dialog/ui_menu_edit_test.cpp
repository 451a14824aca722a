// Popup menus, text-field editing, the clock under huge advances and the
// checking of dialog scripts, on the UI layer alone.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/ui/event_loop.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/script_check.h"
#include "platform/ui/window.h"
#include "tests/dialog/ui_fixture.h"

namespace {

constexpr FourCC kSig = MakeFourCC("TWPP");
constexpr Rect kPopupRect{40, 20, 62, 220};
constexpr Rect kFieldRect{80, 20, 102, 220};

const UiItemDefinition kItems[] = {
    {kSig, 51, kUiKindPopup, MakeFourCC("  51"), kPopupRect, 1, 1, 60, "", nullptr, 0},
    {kSig, 86, kUiKindEditText, MakeFourCC("  86"), kFieldRect, 0, 0, 1, "12345", nullptr, 0},
    {kSig, 2, kUiKindPushButton, kUiCommandOK, {120, 140, 142, 220}, 0, 0, 1, "OK", nullptr, 0},
};
const UiWindowDefinition kWindow{"menus", "", 240, 160, kUiWindowClassDocument, 0, kItems, 3};

struct Commands {
  std::vector<FourCC> seen;
};

UiStatus Record(UiHandlerCall*, UiEvent* e, void* data) {
  UiCommand cmd{};
  UiGetEventParameter(e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd);
  auto* c = static_cast<Commands*>(data);
  c->seen.push_back(cmd.commandID);
  if (cmd.commandID == kUiCommandOK || cmd.commandID == kUiCommandCancel)
    UiQuitAppModalLoopForWindow(UiFrontWindow());
  return kUiNoErr;
}

struct Window {
  UiWindow* w = nullptr;
  UiControl* popup = nullptr;
  UiControl* field = nullptr;
  Commands commands;
  Window() {
    w = UiCreateWindow(&kWindow);
    UiGetControlByID(w, UiControlID{kSig, 51}, &popup);
    UiGetControlByID(w, UiControlID{kSig, 86}, &field);
    for (int i = 1; i <= 60; ++i) {
      char text[32];
      std::snprintf(text, sizeof text, "%s %d", i % 10 == 7 ? "Seventh" : "Item", i);
      UiAppendPopupItem(popup, text);
    }
    UiSetPopupItemEnabled(popup, 5, false);
    const UiEventTypeSpec spec{kUiClassCommand, kUiCommandProcess};
    UiInstallEventHandler(&w->target, Record, 1, &spec, &commands, nullptr);
    UiShowWindow(w);
  }
  ~Window() { UiDisposeWindow(w); }
};

UiInput Key(int32_t key, uint32_t modifiers = 0) { return UiInput{kUiInputKey, nullptr, {0, 0}, modifiers, key, 0, {}, nullptr}; }
UiInput Text(const char* text) {
  UiInput in{kUiInputText, nullptr, {0, 0}, 0, 0, 0, {}, nullptr};
  std::snprintf(in.text, sizeof in.text, "%s", text);
  return in;
}
UiInput Mouse(UiInputType type, float x, float y, uint32_t modifiers = 0) {
  return UiInput{type, nullptr, {x, y}, modifiers, 0, 0, {}, nullptr};
}

// Each case starts with the popup at `start`, clicks it open and plays the
// steps; the menu's answer shows in the popup's value.
TEST(UiPopupMenu, KeysClicksAndTypingChooseOrLeaveTheItem) {
  const float px = 100, py = 51;
  struct Case {
    const char* what;
    int32_t start;
    std::vector<UiInput> steps;
    int32_t want;
    bool command;
  } cases[] = {
      {"Return takes the marked item", 3, {Key(kUiKeyReturn)}, 3, true},
      {"down then Return", 3, {Key(kUiKeyDown), Key(kUiKeyReturn)}, 4, true},
      {"a dimmed item is stepped over", 4, {Key(kUiKeyDown), Key(kUiKeyReturn)}, 6, true},
      {"Escape leaves the value", 3, {Key(kUiKeyDown), Key(kUiKeyEscape)}, 3, false},
      {"typing jumps to the first match", 1, {Text("sev"), Key(kUiKeyReturn)}, 7, true},
      {"End reaches the last item of a scrolled menu", 1, {Key(kUiKeyEnd), Key(kUiKeyReturn)}, 60, true},
      {"a click elsewhere closes it", 3, {Mouse(kUiInputMouseDown, 230, 150), Mouse(kUiInputMouseUp, 230, 150)}, 3,
       false},
  };
  for (const Case& c : cases) {
    UiFixture fixture;
    UiSetScreenBounds(Rect{0, 0, 400, 800});  // shorter than 60 rows: the menu scrolls
    Window win;
    UiSetControlValue(win.popup, c.start);
    fixture.pending = {Mouse(kUiInputMouseDown, px, py), Mouse(kUiInputMouseUp, px, py)};
    for (const UiInput& in : c.steps) fixture.pending.push_back(in);
    fixture.pending.push_back(Key(kUiKeyReturn));  // OK, once the menu is gone
    UiRunAppModalLoopForWindow(win.w);
    EXPECT_EQ(win.popup->value, c.want) << c.what;
    const bool sent = !win.commands.seen.empty() && win.commands.seen.front() == MakeFourCC("  51");
    EXPECT_EQ(sent, c.command) << c.what;
    EXPECT_EQ(UiOpenMenuWindow(), nullptr) << c.what;
    EXPECT_EQ(UiLiveWindowCount(), 1) << c.what << ": the menu's window is gone";
  }
  UiSetScreenBounds(Rect{0, 0, 1024, 1280});
}

// A click on a row chooses it; on a dimmed row nothing happens and the menu
// stays open. The menu fits the screen and scrolls to show the far items.
struct RowClicks {
  int step = 0;
  int32_t height = 0, firstVisible = 0;
  bool openAfterDimmedClick = false;
};

bool NextRowClick(void* self, UiInput* out, double) {
  auto* r = static_cast<RowClicks*>(self);
  UiWindow* menu = UiOpenMenuWindow();
  UiPoint at{0, 0};
  *out = UiInput{};
  switch (r->step++) {
    case 0: *out = Mouse(kUiInputMouseDown, 100, 51); return true;
    case 1: *out = Mouse(kUiInputMouseUp, 100, 51); return true;
    case 2:
      if (!menu) break;
      r->height = menu->bounds.bottom - menu->bounds.top;
      UiMenuItemPoint(5, &at);
      *out = UiInput{kUiInputMouseDown, menu, at, 0, 0, 0, {}, nullptr};
      return true;
    case 3:
      r->openAfterDimmedClick = menu != nullptr;
      if (!menu) break;
      UiMenuItemPoint(58, &at);
      r->firstVisible = UiMenuFirstVisibleItem();
      *out = UiInput{kUiInputMouseDown, menu, at, 0, 0, 0, {}, nullptr};
      return true;
    case 4: *out = Key(kUiKeyReturn); return true;
    default: break;
  }
  out->type = kUiInputEnd;
  return true;
}

TEST(UiPopupMenu, RowsAreChosenByClickAndTheMenuFitsTheScreen) {
  UiFixture fixture;
  UiSetScreenBounds(Rect{0, 0, 400, 800});
  Window win;
  RowClicks clicks;
  const UiFrontEnd fe{&clicks, NextRowClick, nullptr, nullptr, nullptr, false};
  UiSetFrontEnd(&fe);
  UiRunAppModalLoopForWindow(win.w);
  EXPECT_EQ(win.popup->value, 58);
  EXPECT_TRUE(clicks.openAfterDimmedClick) << "a dimmed row is not chosen";
  EXPECT_GT(clicks.height, 0);
  EXPECT_LE(clicks.height, 400 - 8) << "the menu fits the screen";
  EXPECT_GT(clicks.firstVisible, 1) << "scrolled to show item 58";
  UiSetScreenBounds(Rect{0, 0, 1024, 1280});
}

// A field's editing keys, each case from "12345" with the insertion point
// at its end (a click past the text).
TEST(UiTextField, EditingKeysSelectionAndClipboard) {
  const uint32_t kShift = kUiShiftKeyBit, kCtl = kUiControlKeyBit;
  struct Case {
    const char* what;
    std::vector<UiInput> steps;
    const char* want;
  } cases[] = {
      {"typing goes at the end", {Text("6")}, "123456"},
      {"Left twice then typing", {Key(kUiKeyLeft), Key(kUiKeyLeft), Text("x")}, "123x45"},
      {"Shift-Left selects, typing replaces", {Key(kUiKeyLeft), Key(kUiKeyLeft, kShift), Text("x")}, "123x5"},
      {"Home then Delete", {Key(kUiKeyHome), Key(kUiKeyDelete)}, "2345"},
      {"Backspace at the end", {Key(kUiKeyBackspace)}, "1234"},
      {"Shift-Home and Backspace erase it all", {Key(kUiKeyHome, kShift), Key(kUiKeyBackspace)}, ""},
      {"Home, Right, Shift-End, Delete", {Key(kUiKeyHome), Key(kUiKeyRight), Key(kUiKeyEnd, kShift), Key(kUiKeyDelete)},
       "1"},
      {"select all, copy, paste at the end", {Key('a', kCtl), Key('c', kCtl), Key(kUiKeyEnd), Key('v', kCtl)},
       "1234512345"},
      {"cut then paste twice", {Key('a', kCtl), Key('x', kCtl), Key('v', kCtl), Key('v', kCtl)}, "1234512345"},
      {"cut without a selection changes nothing", {Key('x', kCtl)}, "12345"},
      {"a drag selects, typing replaces",
       {Mouse(kUiInputMouseDown, float(kFieldRect.left + 4), 91), Mouse(kUiInputMouseMove, float(kFieldRect.left + 4 + 14), 91),
        Mouse(kUiInputMouseUp, float(kFieldRect.left + 4 + 14), 91), Text("9")},
       "9345"},
      {"Shift-click extends the selection",
       {Key(kUiKeyHome), Mouse(kUiInputMouseDown, 210, 91, kShift), Mouse(kUiInputMouseUp, 210, 91, kShift), Text("0")},
       "0"},
  };
  for (const Case& c : cases) {
    UiFixture fixture;
    Window win;
    fixture.pending = {Mouse(kUiInputMouseDown, 210, 91), Mouse(kUiInputMouseUp, 210, 91)};
    for (const UiInput& in : c.steps) fixture.pending.push_back(in);
    fixture.pending.push_back(Key(kUiKeyReturn));
    UiRunAppModalLoopForWindow(win.w);
    EXPECT_STREQ(win.field->title, c.want) << c.what;
  }
}

TEST(UiTimers, HugeAdvancesJumpFromTimerToTimerWithoutHanging) {
  UiFixture fixture;
  static int ticks, once;
  ticks = once = 0;
  UiTimer *repeating = nullptr, *late = nullptr;
  UiInstallTimer(0.1, 0.1, [](UiTimer*, void*) { ++ticks; }, nullptr, &repeating);
  UiInstallTimer(1e6, kUiForever, [](UiTimer*, void*) { ++once; }, nullptr, &late);
  UiAdvanceClock(1000);
  EXPECT_EQ(ticks, 10) << "an ordinary advance fires every tick";
  const auto start = std::chrono::steady_clock::now();
  UiAdvanceClock(9223372036854775807.0);
  UiAdvanceClock(1e23);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0) << "a debugger-slow machine still finishes";
  EXPECT_EQ(once, 1) << "the one-shot timer on the way fired";
  EXPECT_GT(ticks, 0);
  EXPECT_LE(ticks, 10 + 2 * 10002) << "missed ticks fire once, not each";
  const double now = UiNow();
  UiAdvanceClock(-1);
  UiAdvanceClock(std::nan(""));
  EXPECT_EQ(UiNow(), now) << "a negative or NaN advance does nothing";
  UiRemoveTimer(repeating);
  UiRemoveTimer(late);
}

TEST(UiScriptCheck, MalformedStepsAreRefusedWithTheirLineNumber) {
  struct Case {
    const char* line;
    const char* words;  // in the message
  } cases[] = {
      {"click-at abc def", "click-at needs X Y"},
      {"click-at 1e308 nan", "click-at needs X Y"},
      {"slide 51 nan", "slide needs ITEM VALUE"},
      {"slide 51 inf", "slide needs ITEM VALUE"},
      {"advance -1", "advance needs a number of milliseconds"},
      {"advance nan", "advance needs a number of milliseconds"},
      {"drag 1 2 3", "two points at least"},
      {"popup 51 x", "popup needs ITEM VALUE"},
      {"expect pixel 1 2 3 4", "expect pixel needs"},
      {"key return now", "key needs"},
      {"drop-file 10 10 /no/such/file", "there is no file /no/such/file"},
      {"drop-file 10 10 /tmp", "/tmp is not a file"},
      {"resize 0 10", "resize needs WIDTH HEIGHT"},
      {"frobnicate", "unknown step \"frobnicate\""},
  };
  for (const Case& c : cases) {
    std::string error;
    const std::string text = std::string("window xparams\r\n# a comment\n") + c.line + "\nclick 2\n";
    EXPECT_FALSE(UiCheckScript(text, "steps.txt", &error)) << c.line;
    EXPECT_NE(error.find("steps.txt:3: "), std::string::npos) << c.line << ": " << error;
    EXPECT_NE(error.find(c.words), std::string::npos) << c.line << ": " << error;
  }
  std::string error;
  EXPECT_TRUE(UiCheckScript("window xparams\r\nclick-at 10.5 -3 shift\r\nadvance 9223372036854775807\r\n"
                            "key control a\r\nmenu 51 46\r\nresize 900 700\r\nclick 2\r\n",
                            "steps.txt", &error))
      << error;
  EXPECT_FALSE(UiCheckScript(std::string("click 2\nclick\0 3\n", 18), "steps.txt", &error));
  EXPECT_NE(error.find("steps.txt:2: the line holds a NUL byte"), std::string::npos) << error;
  EXPECT_FALSE(UiCheckScript("echo " + std::string(5000, 'x') + "\n", "steps.txt", &error));
  EXPECT_NE(error.find("steps.txt:1: the line is longer than"), std::string::npos) << error;
}

TEST(UiScriptCheck, AnEndlessFileIsReadOnlyUpToTheLimit) {
  std::string text, error;
  EXPECT_FALSE(UiReadScriptFile("/dev/zero", &text, &error));
  EXPECT_NE(error.find("is larger than"), std::string::npos) << error;
  EXPECT_LE(int64_t(text.size()), kUiScriptMaxBytes);
  EXPECT_FALSE(UiReadScriptFile("/no/such/script", &text, &error));
  EXPECT_NE(error.find("cannot read the dialog script /no/such/script"), std::string::npos) << error;
}

}  // namespace

namespace {

// A window no one placed opens centred on the one in front of it; a menu
// or sheet keeps the place it was given.
TEST(UiWindows, AnUnplacedWindowOpensCentredOnItsParent) {
  UiFixture fixture;
  const UiWindowDefinition big{"parent", "", 800, 600, kUiWindowClassMovableModal, 0, nullptr, 0};
  const UiWindowDefinition small{"alert", "", 200, 100, kUiWindowClassAlert, 0, nullptr, 0};
  UiWindow* parent = UiCreateWindow(&big);
  UiSetWindowBounds(parent, Rect{100, 50, 700, 850});
  UiShowWindow(parent);
  UiWindow* alert = UiCreateWindow(&small);
  UiShowWindow(alert);
  EXPECT_EQ(alert->bounds.left, 50 + (800 - 200) / 2);
  EXPECT_EQ(alert->bounds.top, 100 + (600 - 100) / 2);
  EXPECT_EQ(alert->bounds.right - alert->bounds.left, 200);
  UiWindow* placed = UiCreateWindow(&small);
  UiSetWindowBounds(placed, Rect{5, 6, 105, 206});
  UiShowWindow(placed);
  EXPECT_EQ(placed->bounds.left, 6);
  UiDisposeWindow(placed);
  UiDisposeWindow(alert);
  UiDisposeWindow(parent);
}

}  // namespace
