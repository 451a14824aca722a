#include "platform/ui/script.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ui/color_picker.h"
#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/script_check.h"
#include "platform/ui/services.h"
#include "platform/ui/window.h"

struct UiScript {
  std::string name;
  std::vector<std::string> lines;
  size_t next = 0;
  std::vector<UiInput> pending;
  size_t pendingAt = 0;
  std::string window;  // empty: the front window
  int32_t failures = 0;
  int32_t commandFailuresSeen = 0;
  int32_t menuPick = 0;  // an item to click once the menu a "menu" step opened is up
  UiFrontEnd frontEnd;
};

namespace {

constexpr FourCC kItemSignature = MakeFourCC("TWPP");

void Fail(UiScript* s, const std::string& message) {
  UiSay((s->name + ":" + std::to_string(s->next) + ": " + message).c_str());
  ++s->failures;
}

UiWindow* Target(UiScript* s) {
  if (s->window.empty()) return UiFrontWindow();
  UiWindow* found = nullptr;
  for (int32_t i = 0; i < UiLiveWindowCount(); ++i) {
    UiWindow* w = UiWindowAt(i);
    if (w && s->window == w->name) found = w;  // the front-most of that name
  }
  return found;
}

uint32_t Modifiers(std::istringstream& in) {
  uint32_t m = 0;
  std::string word;
  while (in >> word) {
    if (word == "option") m |= kUiOptionKeyBit;
    if (word == "control") m |= kUiControlKeyBit;
    if (word == "shift") m |= kUiShiftKeyBit;
    if (word == "command") m |= kUiCommandKeyBit;
  }
  return m;
}

UiControl* Item(UiScript* s, UiWindow* w, int32_t id) {
  UiControl* c = nullptr;
  if (UiGetControlByID(w, UiControlID{kItemSignature, id}, &c) != kUiNoErr) {
    // The progress window's cancel button carries the creator's signature.
    for (int32_t i = 1; w && i < w->controlCount; ++i)
      if (w->controls[i].id.id == id) c = &w->controls[i];
  }
  if (!c) Fail(s, "no item " + std::to_string(id) + " in the window \"" + (w ? w->name : "") + "\"");
  return c;
}

UiPoint Centre(const UiControl* c) {
  return UiPoint{float(c->bounds.left + c->bounds.right) / 2, float(c->bounds.top + c->bounds.bottom) / 2};
}

// Typed text, in pieces as a keyboard sends it.
void PushText(UiScript* s, UiWindow* w, const std::string& text) {
  for (size_t at = 0; at < text.size(); at += 16) {
    UiInput t{kUiInputText, w, {0, 0}, 0, 0, 0, {}, nullptr};
    std::snprintf(t.text, sizeof t.text, "%s", text.substr(at, 16).c_str());
    s->pending.push_back(t);
  }
}

UiPoint FieldEnd(const UiControl* c) { return UiPoint{float(c->bounds.right - 3), Centre(c).y}; }

void Push(UiScript* s, UiInputType type, UiWindow* w, UiPoint p, uint32_t modifiers) {
  s->pending.push_back(UiInput{type, w, p, modifiers, 0, 0, {}, nullptr});
}

float SliderX(const UiControl* c, int32_t value) {
  const int32_t span = c->max - c->min;
  const float left = float(c->bounds.left) + 6, width = float(c->bounds.right - c->bounds.left) - 12;
  return left + (span ? width * float(value - c->min) / float(span) : 0.0f);
}

void Expect(UiScript* s, UiWindow* w, std::istringstream& in) {
  std::string what;
  in >> what;
  if (what == "command-ok") {
    if (UiCommandFailureCount() > s->commandFailuresSeen || s->failures > 0) {
      s->commandFailuresSeen = UiCommandFailureCount();
      Fail(s, "a command or step failed: the script stops here");
      s->next = s->lines.size();
    }
    return;
  }
  if (what == "window") {
    std::string name;
    std::getline(in >> std::ws, name);
    UiWindow* front = UiFrontWindow();
    if (!front || name != front->name) Fail(s, "the front window is \"" + std::string(front ? front->name : "") + "\", not \"" + name + "\"");
    return;
  }
  if (!w) return Fail(s, "no window to check");
  if (what == "pixel") {
    int32_t x, y, r, g, b, tolerance = 0;
    in >> x >> y >> r >> g >> b;
    if (!(in >> tolerance)) tolerance = 0;
    if (x < 0 || y < 0 || x >= w->canvas.width || y >= w->canvas.height)
      return Fail(s, "pixel " + std::to_string(x) + "," + std::to_string(y) + " lies outside the window \"" +
                         std::string(w->name) + "\" (" + std::to_string(w->canvas.width) + " by " +
                         std::to_string(w->canvas.height) + ")");
    UiDrawWindow(w);
    const UiColor c = UiPixelAt(&w->canvas, x, y);
    if (std::abs(c.r - r) > tolerance || std::abs(c.g - g) > tolerance || std::abs(c.b - b) > tolerance)
      Fail(s, "pixel " + std::to_string(x) + "," + std::to_string(y) + " is " + std::to_string(c.r) + " " +
                  std::to_string(c.g) + " " + std::to_string(c.b));
    return;
  }
  int32_t id = 0;
  in >> id;
  UiControl* c = Item(s, w, id);
  if (!c) return;
  if (what == "value") {
    int32_t v;
    in >> v;
    if (c->value != v) Fail(s, "item " + std::to_string(id) + " has the value " + std::to_string(c->value));
  } else if (what == "text") {
    std::string text;
    std::getline(in >> std::ws, text);
    // A popup shows the text of its current item.
    const char* shown = c->kind == kUiKindPopup && UiPopupItemText(c, c->value) ? UiPopupItemText(c, c->value) : c->title;
    if (text != shown) Fail(s, "item " + std::to_string(id) + " shows \"" + std::string(shown) + "\"");
  } else if (what == "colour") {
    uint16_t want[3] = {0, 0, 0}, got[3] = {0, 0, 0};
    in >> want[0] >> want[1] >> want[2];
    if (UiGetControlData(c, 0, MakeFourCC("colr"), sizeof got, got, nullptr) != kUiNoErr)
      Fail(s, "item " + std::to_string(id) + " has no colour");
    else if (std::memcmp(want, got, sizeof got) != 0)
      Fail(s, "item " + std::to_string(id) + " has the colour " + std::to_string(got[0]) + " " +
                  std::to_string(got[1]) + " " + std::to_string(got[2]));
  } else if (what == "active") {
    int32_t v;
    in >> v;
    if (c->active != (v != 0))
      Fail(s, "item " + std::to_string(id) + (c->active ? " is active" : " is dimmed") +
                  (!c->active && c->dimmedReason ? std::string(": ") + c->dimmedReason : std::string()));
  } else {
    Fail(s, "unknown expectation \"" + what + "\"");
  }
}

// A click on the item's row of the open menu.
void PickFromMenu(UiScript* s, int32_t value) {
  UiWindow* menu = UiOpenMenuWindow();
  if (!menu) return Fail(s, "no menu is open");
  UiPoint p{0, 0};
  if (!UiMenuItemPoint(value, &p)) return Fail(s, "the menu has no item " + std::to_string(value));
  Push(s, kUiInputMouseDown, menu, p, 0);
  Push(s, kUiInputMouseUp, menu, p, 0);
}

// Runs one line: input steps leave their events in `pending`.
void RunLine(UiScript* s, const std::string& raw) {
  const std::string line = raw.substr(0, raw.find('#'));
  std::istringstream in(line);
  std::string verb;
  if (!(in >> verb)) return;
  if (verb == "window") {
    std::getline(in >> std::ws, s->window);
    if (!Target(s)) Fail(s, "no window \"" + s->window + "\" is open");
    return;
  }
  if (verb == "advance") {
    UiAdvanceClock(std::strtod(UiScriptWords(raw)[1].c_str(), nullptr));
    return;
  }
  if (verb == "chooser-answer") {  // the next of the answers the host handed over as data
    if (!UiQueueHostChooserAnswer()) Fail(s, "no answer from the host is left for the chooser");
    return;
  }
  if (verb == "chooser") {
    std::string answer;
    std::getline(in >> std::ws, answer);
    if (answer == "window") return UiQueueChooserWindow();
    UiQueueChooserAnswer(answer == "cancel" ? nullptr : answer.c_str());
    return;
  }
  if (verb == "picker") {
    std::string first;
    in >> first;
    if (first == "cancel") return UiQueuePickerAnswer(nullptr);
    unsigned long r = std::strtoul(first.c_str(), nullptr, 10), g = 0, b = 0;
    if (!(in >> g >> b) || r > 65535 || g > 65535 || b > 65535) return Fail(s, "picker needs R G B (0..65535) or cancel");
    const uint16_t colour[3] = {uint16_t(r), uint16_t(g), uint16_t(b)};
    return UiQueuePickerAnswer(colour);
  }
  if (verb == "drop-folder") {
    std::string path;
    std::getline(in >> std::ws, path);
    UiSetDropFolder(path.c_str());
    return;
  }
  if (verb == "settle") return;
  if (verb == "seed") {
    unsigned long long seed = 0;
    if (!(in >> seed)) return Fail(s, "seed needs a number");
    if (!UiSeedRandom(seed)) Fail(s, "nothing takes a random seed here");
    return;
  }
  if (verb == "echo") {
    std::string text;
    std::getline(in >> std::ws, text);
    std::printf("%s\n", text.c_str());
    return;
  }
  UiWindow* w = Target(s);
  if (verb == "expect") return Expect(s, w, in);
  if (!w) return Fail(s, "no window for \"" + verb + "\"");
  if (verb == "drop-file") {
    // drop-file X Y PATH: a file from outside let go over the window.
    UiPoint p{0, 0};
    std::string path;
    if (!(in >> p.x >> p.y) || !std::getline(in >> std::ws, path) || path.empty())
      return Fail(s, "drop-file needs X Y PATH");
    const char* paths[] = {path.c_str()};
    UiDropFiles(w, p, paths, 1);
    return;
  }
  if (verb == "screenshot") {
    std::string path;
    std::getline(in >> std::ws, path);
    UiDrawWindow(w);
    UiWindow* menu = UiOpenMenuWindow();
    if (!menu || menu == w) {
      if (!UiWriteCanvasPNG(&w->canvas, path.c_str())) Fail(s, "cannot write " + path);
      return;
    }
    // An open menu lies over the window: the picture shows what a person sees.
    UiDrawWindow(menu);
    UiCanvas seen;
    if (!UiCanvasCreate(&seen, w->canvas.width, w->canvas.height, kUiWhite)) return Fail(s, "out of memory");
    const int16_t x = int16_t(menu->bounds.left - w->bounds.left), y = int16_t(menu->bounds.top - w->bounds.top);
    UiDrawImage(&seen, w->canvas.pixels, w->canvas.width, w->canvas.height, w->canvas.width * 4, 4,
                Rect{0, 0, int16_t(w->canvas.height), int16_t(w->canvas.width)});
    UiDrawImage(&seen, menu->canvas.pixels, menu->canvas.width, menu->canvas.height, menu->canvas.width * 4, 4,
                Rect{y, x, int16_t(y + menu->canvas.height), int16_t(x + menu->canvas.width)});
    if (!UiWriteCanvasPNG(&seen, path.c_str())) Fail(s, "cannot write " + path);
    UiCanvasDispose(&seen);
    return;
  }
  if (verb == "click" || verb == "focus") {
    int32_t id = 0;
    in >> id;
    UiControl* c = Item(s, w, id);
    if (!c) return;
    const uint32_t m = Modifiers(in);
    // Focus clicks at the end of a field, so typing goes after its text.
    const UiPoint at = verb == "focus" ? FieldEnd(c) : Centre(c);
    Push(s, kUiInputMouseDown, w, at, m);
    Push(s, kUiInputMouseUp, w, at, m);
    return;
  }
  if (verb == "fill") {
    int32_t id = 0;
    in >> id;
    std::string text;
    std::getline(in >> std::ws, text);
    UiControl* c = Item(s, w, id);
    if (!c) return;
    // Into the field, all of its text selected and erased.
    Push(s, kUiInputMouseDown, w, FieldEnd(c), 0);
    Push(s, kUiInputMouseUp, w, FieldEnd(c), 0);
    s->pending.push_back(UiInput{kUiInputKey, w, FieldEnd(c), kUiControlKeyBit, 'a', 0, {}, nullptr});
    s->pending.push_back(UiInput{kUiInputKey, w, FieldEnd(c), 0, kUiKeyBackspace, 0, {}, nullptr});
    PushText(s, w, text);
    return;
  }
  if (verb == "check") {
    int32_t id = 0, want = 0;
    in >> id >> want;
    UiControl* c = Item(s, w, id);
    if (!c) return;
    if ((c->value != 0) == (want != 0)) return;
    Push(s, kUiInputMouseDown, w, Centre(c), 0);
    Push(s, kUiInputMouseUp, w, Centre(c), 0);
    return;
  }
  if (verb == "click-at") {
    UiPoint p{0, 0};
    in >> p.x >> p.y;
    const uint32_t m = Modifiers(in);
    Push(s, kUiInputMouseDown, w, p, m);
    Push(s, kUiInputMouseUp, w, p, m);
    return;
  }
  if (verb == "move") {
    // The pointer goes there with the button up (hovering).
    UiPoint p{0, 0};
    if (!(in >> p.x >> p.y)) return Fail(s, "move needs X Y");
    Push(s, kUiInputMouseMove, w, p, 0);
    return;
  }
  if (verb == "drag") {
    std::vector<UiPoint> path;
    UiPoint p;
    while (in >> p.x >> p.y) path.push_back(p);
    if (path.size() < 2) return Fail(s, "a drag needs two points at least");
    Push(s, kUiInputMouseDown, w, path.front(), 0);
    for (size_t i = 1; i < path.size(); ++i) Push(s, kUiInputMouseMove, w, path[i], 0);
    Push(s, kUiInputMouseUp, w, path.back(), 0);
    return;
  }
  if (verb == "slide") {
    int32_t id = 0, value = 0;
    in >> id >> value;
    UiControl* c = Item(s, w, id);
    if (!c) return;
    const float y = Centre(c).y;
    Push(s, kUiInputMouseDown, w, UiPoint{SliderX(c, c->value), y}, 0);
    Push(s, kUiInputMouseMove, w, UiPoint{SliderX(c, value), y}, 0);
    Push(s, kUiInputMouseUp, w, UiPoint{SliderX(c, value), y}, 0);
    return;
  }
  if (verb == "popup") {
    int32_t id = 0, value = 0;
    in >> id >> value;
    UiControl* c = Item(s, w, id);
    if (!c) return;
    if (value < 1 || (c->popupCount > 0 && value > c->popupCount)) return Fail(s, "the popup has no item " + std::to_string(value));
    if (c->popupCount > 0 && !UiPopupItemEnabled(c, value))
      return Fail(s, "item " + std::to_string(value) + " of the popup is dimmed: it cannot be chosen");
    // As a choice from its menu: the value, then the command.
    UiSetControlValue(c, value);
    UiSendControlCommand(c, 0);
    return;
  }
  if (verb == "type") {
    std::string text;
    std::getline(in >> std::ws, text);
    PushText(s, w, text);
    return;
  }
  if (verb == "key") {
    const std::vector<std::string> words = UiScriptWords(raw);
    UiPoint at = UiLastMouse(nullptr);
    s->pending.push_back(UiInput{kUiInputKey, w, at, UiScriptModifierBits(words, 1), UiScriptKeyNamed(words.back()), 0, {}, nullptr});
    return;
  }
  if (verb == "resize") {
    const std::vector<std::string> words = UiScriptWords(raw);
    UiInput r{kUiInputResize, w, {std::strtof(words[1].c_str(), nullptr), std::strtof(words[2].c_str(), nullptr)}, 0, 0, 0, {}, nullptr};
    s->pending.push_back(r);
    return;
  }
  if (verb == "menu") {
    int32_t id = 0, value = 0;
    in >> id >> value;
    UiControl* c = Item(s, w, id);
    if (!c) return;
    if (c->kind != kUiKindPopup) return Fail(s, "item " + std::to_string(id) + " is not a popup");
    Push(s, kUiInputMouseDown, w, Centre(c), 0);
    Push(s, kUiInputMouseUp, w, Centre(c), 0);
    s->menuPick = value;
    return;
  }
  if (verb == "menu-pick") {
    int32_t value = 0;
    in >> value;
    return PickFromMenu(s, value);
  }
  Fail(s, "unknown step \"" + verb + "\"");
}

// "settle" waits while an export's progress window is up: the export pumps
// events, and the steps after it are meant for the dialog once it is done.
bool Holds(const std::string& raw) {
  std::istringstream in(raw.substr(0, raw.find('#')));
  std::string verb;
  if (!(in >> verb) || verb != "settle") return false;
  for (int32_t i = 0; i < UiLiveWindowCount(); ++i)
    if (UiWindow* w = UiWindowAt(i); w && std::strcmp(w->name, "progress") == 0) return true;
  return false;
}

bool Next(void* self, UiInput* out, double) {
  auto* s = static_cast<UiScript*>(self);
  *out = UiInput{};
  if (s->pendingAt < s->pending.size()) {
    *out = s->pending[s->pendingAt++];
    return true;
  }
  s->pending.clear();
  s->pendingAt = 0;
  if (s->menuPick > 0) {
    const int32_t value = s->menuPick;
    s->menuPick = 0;
    PickFromMenu(s, value);
    if (!s->pending.empty()) {
      *out = s->pending[s->pendingAt++];
      return true;
    }
  }
  // What the last step's input posted (a button's command) is handled
  // before the next step looks at its outcome.
  if (UiQueuedEventCount() > 0) return true;
  if (s->next >= s->lines.size()) {
    out->type = kUiInputEnd;
    return true;
  }
  const std::string& line = s->lines[s->next];
  // Nothing came: a pump (one per row of an export) stops here instead of
  // asking again up to its limit.
  if (Holds(line)) return false;
  ++s->next;
  RunLine(s, line);
  out->type = kUiInputNothing;
  return true;
}

}  // namespace

namespace {

UiScript* BuildScript(const std::string& all, const char* name) {
  std::string error;
  if (!UiCheckScript(all, name, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return nullptr;
  }
  auto* s = new UiScript;
  s->name = name ? name : "script";
  std::istringstream in(all);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    s->lines.push_back(line);
  }
  s->frontEnd = UiFrontEnd{s, Next, nullptr, nullptr, nullptr, false};
  return s;
}

}  // namespace

UiScript* UiParseScript(const char* text, const char* name) { return BuildScript(text ? text : "", name); }

UiScript* UiLoadScript(const char* path) {
  std::string text, error;
  if (!UiReadScriptFile(path, &text, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return nullptr;
  }
  return BuildScript(text, path);
}

const UiFrontEnd* UiScriptFrontEnd(UiScript* s) { return s ? &s->frontEnd : nullptr; }

int32_t UiFinishScript(UiScript* s) {
  if (!s) return 0;
  int32_t failed = s->failures;
  if (s->next < s->lines.size()) {
    // Steps after the dialog closed never ran: a script that expected more is wrong.
    size_t left = 0;
    for (size_t i = s->next; i < s->lines.size(); ++i) {
      std::istringstream in(s->lines[i].substr(0, s->lines[i].find('#')));
      std::string verb;
      left += bool(in >> verb);
    }
    if (left > 0) {
      UiSay((s->name + ": " + std::to_string(left) + " steps after line " + std::to_string(s->next) +
             " were not run: the dialog had closed").c_str());
      ++failed;
    }
  }
  delete s;
  return failed;
}
