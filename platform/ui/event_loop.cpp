#include "platform/ui/event_loop.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/ui/color_picker.h"
#include "platform/ui/drag.h"
#include "platform/ui/services.h"
#include "platform/ui/window.h"

struct UiTimer {
  UiTimerProc proc;
  void* userData;
  double fireAt;    // ms; negative: dormant
  double interval;  // ms; negative: once
  bool live;
};

namespace {

UiTarget g_application;

// ---- clock ----
bool g_virtualClock = false;
double g_virtualNow = 0;
const auto g_start = std::chrono::steady_clock::now();

constexpr int kTimerPool = 16;
UiTimer g_timers[kTimerPool];

// ---- queue ----
constexpr int kQueueSize = 64;
struct Queued {
  UiEvent event;
  UiTarget* target;
};
Queued g_queue[kQueueSize];
int32_t g_queueHead = 0, g_queueCount = 0;

// ---- loops ----
constexpr int kModalDepth = 16;
UiWindow* g_modal[kModalDepth];
int32_t g_modalCount = 0;
bool g_inputEnded = false;

UiFrontEnd g_frontEnd;
bool g_haveFrontEnd = false;

// ---- mouse, cursor ----
bool g_buttonDown = false;
UiPoint g_mouse{0, 0};
UiWindow* g_mouseWindow = nullptr;
uint32_t g_modifiers = 0;
int32_t g_cursor = kUiCursorArrow;
int32_t g_beeps = 0;

double Seconds(double s) { return s < 0 ? -1.0 : s * 1000.0; }

constexpr int32_t kMostFiringsPerAdvance = 10000;

// Fires the earliest timer due at or before `now`; false when none is.
bool FireOneDue(double now) {
  UiTimer* due = nullptr;
  for (UiTimer& t : g_timers)
    if (t.live && t.fireAt >= 0 && t.fireAt <= now && (!due || t.fireAt < due->fireAt)) due = &t;
  if (!due) return false;
  due->fireAt = due->interval > 0 ? due->fireAt + due->interval : -1.0;
  due->proc(due, due->userData);
  return true;
}

double NextDue() {
  double next = -1;
  for (const UiTimer& t : g_timers)
    if (t.live && t.fireAt >= 0 && (next < 0 || t.fireAt < next)) next = t.fireAt;
  return next;
}

void RedrawDirty() {
  for (int32_t i = 0; i < UiLiveWindowCount(); ++i) {
    UiWindow* w = UiWindowAt(i);
    if (w && w->visible && w->needsDraw) {
      UiDrawWindow(w);
      UiFrontEndWindowChanged(w);
    }
  }
}

// One step of a loop: a queued event, a due timer or one input. False when
// nothing happened within the wait.
bool ProcessOnce(double waitMs) {
  if (g_queueCount > 0) {
    Queued q = g_queue[g_queueHead];
    g_queueHead = (g_queueHead + 1) % kQueueSize;
    --g_queueCount;
    UiSendEventToTarget(&q.event, q.target);
    return true;
  }
  if (!g_virtualClock && FireOneDue(UiNow())) return true;
  RedrawDirty();
  if (!g_haveFrontEnd || g_inputEnded) {
    g_inputEnded = true;
    return false;
  }
  if (!g_virtualClock) {
    const double due = NextDue();
    if (due >= 0) {
      const double until = due - UiNow();
      waitMs = waitMs < 0 ? until : (until < waitMs ? until : waitMs);
      if (waitMs < 0) waitMs = 0;
    }
  }
  UiInput in{};
  if (!g_frontEnd.next(g_frontEnd.self, &in, waitMs)) return false;
  if (in.type == kUiInputEnd) {
    g_inputEnded = true;
    return true;
  }
  if (in.type != kUiInputNothing) UiDispatchInput(in);
  return true;
}

// The input ran out while a window waits for an answer: it is cancelled,
// as a user closing it would.
void CancelForLackOfInput(UiWindow* w) {
  UiSay((std::string("the dialog input ended while the window \"") + w->name + "\" was open: cancelling it").c_str());
  if (w->cancelButton) {
    UiSendControlCommand(w->cancelButton, 0);
  } else {
    UiEvent e;
    UiInitEvent(&e, kUiClassCommand, kUiCommandProcess);
    const UiCommand cmd{0, kUiCommandCancel, nullptr};
    UiSetEventParameter(&e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd);
    UiSendEventToTarget(&e, &w->target);
  }
  while (g_queueCount > 0) ProcessOnce(0);
  w->quitLoop = true;
}

void PushModal(UiWindow* w) {
  if (g_modalCount < kModalDepth) g_modal[g_modalCount++] = w;
}

void PopModal(UiWindow* w) {
  for (int32_t i = g_modalCount - 1; i >= 0; --i)
    if (g_modal[i] == w) {
      for (int32_t k = i; k + 1 < g_modalCount; ++k) g_modal[k] = g_modal[k + 1];
      --g_modalCount;
      return;
    }
}

}  // namespace

UiTarget* UiApplicationTarget() { return &g_application; }

double UiNow() {
  if (g_virtualClock) return g_virtualNow;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - g_start).count();
}

void UiUseVirtualClock(bool useVirtual) {
  if (useVirtual && !g_virtualClock) g_virtualNow = 0;
  g_virtualClock = useVirtual;
}

bool UiClockIsVirtual() { return g_virtualClock; }

void UiAdvanceClock(double ms) {
  if (!g_virtualClock || !(ms >= 0)) return;
  const double end = std::isfinite(g_virtualNow + ms) ? g_virtualNow + ms : g_virtualNow;
  // The clock jumps from one due timer to the next. A repeating timer that
  // would fire more often than this on the way fires once more for all the
  // ticks it missed, as on a busy system, and then waits for its next tick
  // after the end.
  int32_t fired = 0, collapses = 0;
  for (;;) {
    const double due = NextDue();
    if (due < 0 || due > end) break;
    if (due > g_virtualNow) g_virtualNow = due;
    if (++fired > kMostFiringsPerAdvance) {
      // Far clocks are coarse: a tick added to them may not move them, so
      // the next tick is put past the end outright.
      g_virtualNow = end;
      for (UiTimer& t : g_timers) {
        if (!t.live || t.interval <= 0 || t.fireAt < 0 || t.fireAt > end) continue;
        double next = t.fireAt + t.interval * (std::floor((end - t.fireAt) / t.interval) + 1.0);
        if (!(next > end)) next = std::nextafter(end, HUGE_VAL);
        t.fireAt = next;
        t.proc(&t, t.userData);
        while (g_queueCount > 0) ProcessOnce(0);
      }
      fired = 0;
      // Timers that keep arming themselves at once cannot hold the clock.
      if (++collapses > 4) break;
      continue;
    }
    FireOneDue(g_virtualNow);
    // What the timer posted runs at its moment, before later timers.
    while (g_queueCount > 0) ProcessOnce(0);
  }
  g_virtualNow = end;
}

UiStatus UiInstallTimer(double delay, double interval, UiTimerProc proc, void* userData, UiTimer** out) {
  if (out) *out = nullptr;
  if (!proc) return kUiParamErr;
  for (UiTimer& t : g_timers) {
    if (t.live) continue;
    t = UiTimer{proc, userData, delay < 0 ? -1.0 : UiNow() + Seconds(delay), Seconds(interval), true};
    if (out) *out = &t;
    return kUiNoErr;
  }
  return kUiNoMemory;
}

UiStatus UiSetTimerNextFireTime(UiTimer* t, double delay) {
  if (!t || !t->live) return kUiParamErr;
  t->fireAt = delay < 0 ? -1.0 : UiNow() + Seconds(delay);
  return kUiNoErr;
}

UiStatus UiRemoveTimer(UiTimer* t) {
  if (!t || !t->live) return kUiParamErr;
  *t = UiTimer{};
  return kUiNoErr;
}

int32_t UiLiveTimerCount() {
  int32_t n = 0;
  for (const UiTimer& t : g_timers) n += t.live;
  return n;
}

UiStatus UiPostEvent(const UiEvent* event, UiTarget* target) {
  if (!event || !target) return kUiParamErr;
  if (g_queueCount == kQueueSize) return -9876;  // queue full
  g_queue[(g_queueHead + g_queueCount) % kQueueSize] = Queued{*event, target};
  ++g_queueCount;
  return kUiNoErr;
}

int32_t UiQueuedEventCount() { return g_queueCount; }

void UiSetFrontEnd(const UiFrontEnd* frontEnd) {
  g_haveFrontEnd = frontEnd != nullptr;
  g_frontEnd = frontEnd ? *frontEnd : UiFrontEnd{};
  g_inputEnded = false;
}

const UiFrontEnd* UiGetFrontEnd() { return g_haveFrontEnd ? &g_frontEnd : nullptr; }

UiStatus UiRunAppModalLoopForWindow(UiWindow* w) {
  if (!(w = UiWindowFromRef(w))) return kUiParamErr;
  const bool outerInLoop = w->inModalLoop;
  w->inModalLoop = true;
  w->quitLoop = false;
  PushModal(w);
  while (!w->quitLoop) {
    if (ProcessOnce(-1)) continue;
    if (g_inputEnded && g_queueCount == 0 && !w->quitLoop) CancelForLackOfInput(w);
  }
  PopModal(w);
  w->quitLoop = false;
  w->inModalLoop = outerInLoop;
  return kUiNoErr;
}

UiStatus UiQuitAppModalLoopForWindow(UiWindow* w) {
  if (!(w = UiWindowFromRef(w)) || !w->inModalLoop) return kUiParamErr;
  w->quitLoop = true;
  return kUiNoErr;
}

UiStatus UiBeginAppModalStateForWindow(UiWindow* w) {
  if (!(w = UiWindowFromRef(w))) return kUiParamErr;
  w->modalState = true;
  PushModal(w);
  return kUiNoErr;
}

UiStatus UiEndAppModalStateForWindow(UiWindow* w) {
  if (!(w = UiWindowFromRef(w)) || !w->modalState) return kUiParamErr;
  w->modalState = false;
  PopModal(w);
  return kUiNoErr;
}

int32_t UiModalDepth() { return g_modalCount; }

bool UiWindowTakesInput(const UiWindow* w) {
  if (!w) return false;
  if (g_modalCount == 0) return true;
  const UiWindow* top = g_modal[g_modalCount - 1];
  return w == top || w->sheetParent == top;
}

void UiPumpEvents() {
  for (int guard = 0; guard < 256 && ProcessOnce(0); ++guard) {
  }
}

bool UiTrackMouseLocation(UiWindow* window, UiPoint* where, bool* released) {
  *released = true;
  if (where) *where = g_mouse;
  if (!g_haveFrontEnd || g_inputEnded) return false;
  for (;;) {
    UiInput in{};
    if (!g_frontEnd.next(g_frontEnd.self, &in, -1)) continue;
    if (in.type == kUiInputEnd) {
      g_inputEnded = true;
      g_buttonDown = false;
      return false;
    }
    if (in.type != kUiInputMouseMove && in.type != kUiInputMouseUp) continue;
    UiWindow* w = in.window ? in.window : UiFrontWindow();
    UiPoint p = in.where;
    // Points of another window are taken in this window's coordinates.
    if (w && window && w != window) {
      p.x += float(w->bounds.left - window->bounds.left);
      p.y += float(w->bounds.top - window->bounds.top);
    }
    g_mouse = p;
    g_mouseWindow = window;
    g_modifiers = in.modifiers;
    *released = in.type == kUiInputMouseUp;
    if (*released) g_buttonDown = false;
    if (where) *where = p;
    RedrawDirty();
    return true;
  }
}

bool UiStillDown() { return g_buttonDown; }

UiPoint UiLastMouse(UiWindow** window) {
  if (window) *window = g_mouseWindow;
  return g_mouse;
}

uint32_t UiCurrentModifiers() { return g_modifiers; }

void UiNoteMouse(UiWindow* w, UiPoint p, bool down, uint32_t modifiers) {
  g_mouseWindow = w;
  g_mouse = p;
  g_buttonDown = down;
  g_modifiers = modifiers;
}

namespace {
char g_clipboard[kUiTitleBytes];
}  // namespace

void UiSetClipboardText(const char* text) {
  if (!text) text = "";
  if (g_haveFrontEnd && g_frontEnd.setClipboard && g_frontEnd.setClipboard(g_frontEnd.self, text)) return;
  std::snprintf(g_clipboard, sizeof g_clipboard, "%s", text);
}

void UiGetClipboardText(char* text, int32_t size) {
  if (!text || size <= 0) return;
  text[0] = 0;
  if (g_haveFrontEnd && g_frontEnd.getClipboard && g_frontEnd.getClipboard(g_frontEnd.self, text, size)) return;
  std::snprintf(text, size_t(size), "%s", g_clipboard);
}

void UiSetThemeCursor(int32_t cursor) {
  if (cursor == g_cursor) return;
  g_cursor = cursor;
  if (g_haveFrontEnd && g_frontEnd.cursorChanged) g_frontEnd.cursorChanged(g_frontEnd.self, cursor);
}

int32_t UiCurrentCursor() { return g_cursor; }

void UiBeep() { ++g_beeps; }
int32_t UiBeepCount() { return g_beeps; }

void UiFrontEndWindowChanged(UiWindow* w) {
  if (g_haveFrontEnd && g_frontEnd.windowChanged) g_frontEnd.windowChanged(g_frontEnd.self, w);
}

void UiWindowWillGo(UiWindow* w) {
  PopModal(w);
  if (g_mouseWindow == w) g_mouseWindow = nullptr;
  // Events for a window that is gone are dropped.
  for (int32_t i = 0; i < g_queueCount; ++i) {
    Queued& q = g_queue[(g_queueHead + i) % kQueueSize];
    if (q.target == &w->target) q.target = &g_application;
    for (int32_t k = 0; k < w->controlCount; ++k)
      if (q.target == &w->controls[k].target) q.target = &g_application;
  }
  if (g_haveFrontEnd && g_frontEnd.windowGone) g_frontEnd.windowGone(g_frontEnd.self, w);
}

void UiResetForTests() {
  for (UiTimer& t : g_timers) t = UiTimer{};
  g_queueHead = g_queueCount = 0;
  g_modalCount = 0;
  g_inputEnded = false;
  g_buttonDown = false;
  g_cursor = kUiCursorArrow;
  g_beeps = 0;
  g_clipboard[0] = 0;
  UiRemoveAllHandlers(&g_application);
  // Answers and a drop folder a test left behind do not reach the next one.
  while (UiPeekChooserAnswer() != kUiChooserNone) UiTakeChooserAnswer(nullptr, 0);
  UiForgetPickerAnswers();
  UiSetDropFolder("");
}
