// Input dispatch and the default behaviour of standard controls: clicks
// are tracked to a release, then a hit and the control's command follow.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/text_edit.h"
#include "platform/ui/window.h"

namespace {

UiPoint ViewPoint(const UiControl* c, UiPoint window) {
  return UiPoint{window.x - float(c->bounds.left), window.y - float(c->bounds.top)};
}

int32_t SliderValueAt(const UiControl* c, float x) {
  const float left = float(c->bounds.left) + 6, width = float(c->bounds.right - c->bounds.left) - 12;
  if (width <= 0) return c->value;
  const float t = std::clamp((x - left) / width, 0.0f, 1.0f);
  return c->min + int32_t(std::lround(t * float(c->max - c->min)));
}

void SetValueWithAction(UiControl* c, int32_t v) {
  const int32_t before = c->value;
  UiSetControlValue(c, v);
  if (c->value != before && c->action) c->action(c, 1);
}

int16_t TrackDefault(UiControl* c, UiPoint start) {
  UiWindow* w = c->window;
  UiPoint p = start;
  // A view that watched the press itself may hand over after the release.
  bool released = !UiStillDown();
  switch (c->kind) {
    case kUiKindSlider:
      SetValueWithAction(c, SliderValueAt(c, p.x));
      while (!released && UiTrackMouseLocation(w, &p, &released)) SetValueWithAction(c, SliderValueAt(c, p.x));
      return 1;
    case kUiKindPopup: {
      if (c->popupCount > 0) {
        const int32_t chosen = UiTrackPopupMenu(c);
        if (chosen == 0) return 0;
        SetValueWithAction(c, chosen);
        return 1;
      }
      // A popup without items shows a number: dragging up or down steps it.
      const int32_t first = c->value;
      const int32_t last = c->popupCount > 0 ? c->popupCount : c->max;
      UiHiliteControl(c, 1);
      while (!released && UiTrackMouseLocation(w, &p, &released))
        UiSetControlValue(c, std::clamp(first + int32_t(std::lround((p.y - start.y) / 6.0f)), 1, std::max(1, last)));
      UiHiliteControl(c, 0);
      return 1;
    }
    case kUiKindStaticText:
    case kUiKindProgressBar:
    case kUiKindGroup:
    case kUiKindRoot:
      return 0;
    default: {
      bool inside = UiPointInRect(p, c->bounds);
      UiHiliteControl(c, inside ? 1 : 0);
      while (!released && UiTrackMouseLocation(w, &p, &released)) {
        inside = UiPointInRect(p, c->bounds);
        UiHiliteControl(c, inside ? 1 : 0);
      }
      UiHiliteControl(c, 0);
      return inside ? 1 : 0;
    }
  }
}

void SendText(UiControl* c, const char* text) {
  // An event carries a few characters: longer text goes in pieces.
  const size_t piece = kUiEventParamBytes - 1;
  for (size_t at = 0, n = std::strlen(text); at < n; at += piece) {
    UiEvent e;
    UiInitEvent(&e, kUiClassText, kUiTextInputUnicodeForKey);
    char buffer[kUiEventParamBytes] = {};
    std::snprintf(buffer, sizeof buffer, "%.*s", int(std::min(piece, n - at)), text + at);
    UiSetEventParameter(&e, kUiParamText, kUiTypeText, uint32_t(std::strlen(buffer) + 1), buffer);
    UiSendEventToTarget(&e, &c->target);
  }
}

// Keys for the focused field; true when the field took the key.
bool FieldKey(UiControl* f, int32_t key, uint32_t modifiers) {
  const bool command = (modifiers & (kUiControlKeyBit | kUiCommandKeyBit)) != 0;
  if ((key >= 'a' && key <= 'z') && !command) return false;
  if (UiEditMove(f, key, modifiers)) return true;
  if (key == kUiKeyBackspace || key == kUiKeyDelete) {
    const char text[2] = {key == kUiKeyDelete ? kUiEditDelete : kUiEditBackspace, 0};
    SendText(f, text);
    return true;
  }
  if (key == 'x') {
    int32_t from = 0, to = 0;
    UiEditSelection(f, &from, &to);
    if (to > from) {
      UiEditMove(f, 'c', modifiers);
      SendText(f, "\b");
    }
    return true;
  }
  if (key == 'v') {
    char text[kUiTitleBytes];
    UiGetClipboardText(text, sizeof text);
    // One line of printable text goes in; a paste of nothing changes nothing.
    size_t n = 0;
    for (size_t i = 0; text[i] && text[i] != '\n' && text[i] != '\r'; ++i)
      if (uint8_t(text[i]) >= 32 && uint8_t(text[i]) != uint8_t(kUiEditDelete)) text[n++] = text[i];
    text[n] = 0;
    if (n > 0) SendText(f, text);
    return true;
  }
  return false;
}

void TrackControl(UiControl* c, UiPoint p, uint32_t modifiers) {
  UiEvent click;
  UiInitEvent(&click, kUiClassControl, kUiControlClick);
  UiSendEventToTarget(&click, &c->target);
  if (c->kind == kUiKindEditText) {
    // The press places the insertion point (Shift: extends the selection);
    // dragging selects.
    UiSetKeyboardFocus(c->window, c);
    UiEditSetCaret(c, UiEditOffsetAt(c, p.x), (modifiers & kUiShiftKeyBit) != 0);
    bool released = !UiStillDown();
    UiPoint at = p;
    while (!released && UiTrackMouseLocation(c->window, &at, &released)) UiEditSetCaret(c, UiEditOffsetAt(c, at.x), true);
    return;
  }
  UiEvent track;
  UiInitEvent(&track, kUiClassControl, kUiControlTrack);
  const UiPoint local = ViewPoint(c, p);
  UiSetEventParameter(&track, kUiParamMouseLocation, kUiTypePoint, sizeof local, &local);
  UiSetEventParameter(&track, kUiParamKeyModifiers, kUiTypeUInt32, sizeof modifiers, &modifiers);
  int16_t part = 0;
  if (UiSendEventToTarget(&track, &c->target) != kUiNoErr) return;
  UiGetEventParameter(&track, kUiParamPart, kUiTypeInt16, sizeof part, &part);
  if (part == 0) return;
  if (c->kind == kUiKindCheckbox) UiSetControlValue(c, c->value ? 0 : 1);
  UiEvent hit;
  UiInitEvent(&hit, kUiClassControl, kUiControlHit);
  UiSetEventParameter(&hit, kUiParamPart, kUiTypeInt16, sizeof part, &part);
  UiSetEventParameter(&hit, kUiParamKeyModifiers, kUiTypeUInt32, sizeof modifiers, &modifiers);
  // A view that handled its own hit has told its window what changed.
  if (UiSendEventToTarget(&hit, &c->target) == kUiNoErr && c->viewClass) return;
  // The hit may have closed the window's loop, never the window itself.
  UiSendControlCommand(c, modifiers);
}

void PressButton(UiControl* c, uint32_t modifiers) {
  if (c && c->active && c->enabled && UiIsControlVisible(c)) UiSendControlCommand(c, modifiers);
}

void FocusNextField(UiWindow* w) {
  int32_t start = 0;
  for (int32_t i = 1; i < w->controlCount; ++i)
    if (&w->controls[i] == w->focus) start = i;
  for (int32_t k = 1; k < w->controlCount; ++k) {
    UiControl* c = &w->controls[(start + k - 1) % (w->controlCount - 1) + 1];
    if (c->kind == kUiKindEditText && c->active && UiIsControlVisible(c)) {
      UiSetKeyboardFocus(w, c);
      UiEditSelectAll(c);  // a field reached by Tab has its text selected, to type over
      return;
    }
  }
}

void StepControl(UiControl* c, int32_t step, uint32_t modifiers) {
  if (!c || !c->active || (c->kind != kUiKindPopup && c->kind != kUiKindSlider)) return;
  const int32_t last = c->kind == kUiKindPopup && c->popupCount > 0 ? c->popupCount : c->max;
  const int32_t first = c->kind == kUiKindPopup ? 1 : c->min;
  int32_t to = std::clamp(c->value + step, first, last);
  // A popup steps over the items that cannot be chosen.
  while (c->kind == kUiKindPopup && c->popupCount > 0 && !UiPopupItemEnabled(c, to) && to + step >= first &&
         to + step <= last)
    to += step;
  if (c->kind == kUiKindPopup && c->popupCount > 0 && !UiPopupItemEnabled(c, to)) return;
  SetValueWithAction(c, to);
  UiSendControlCommand(c, modifiers);
}

void SendMouseEvent(UiWindow* w, uint32_t kind, UiPoint p, uint32_t modifiers, UiStatus* status) {
  UiEvent e;
  UiInitEvent(&e, kUiClassMouse, kind);
  e.modifiers = modifiers;
  UiSetEventParameter(&e, kUiParamMouseLocation, kUiTypePoint, sizeof p, &p);
  UiSetEventParameter(&e, kUiParamKeyModifiers, kUiTypeUInt32, sizeof modifiers, &modifiers);
  UiSetEventParameter(&e, kUiParamWindowRef, kUiTypeWindowRef, sizeof w, &w);
  const UiStatus st = UiSendEventToTarget(&e, &w->target);
  if (status) *status = st;
}

void UpdateTrackingAreas(UiWindow* w, UiPoint p) {
  for (int32_t i = 1; i < w->controlCount; ++i) {
    UiControl* c = &w->controls[i];
    if (!c->viewClass) continue;
    const bool inside = UiIsControlVisible(c) && UiPointInRect(p, c->bounds);
    if (inside == c->mouseInside) continue;
    c->mouseInside = inside;
    UiEvent e;
    UiInitEvent(&e, kUiClassControl, inside ? kUiControlTrackingAreaEntered : kUiControlTrackingAreaExited);
    UiSendEventToTarget(&e, &c->target);
  }
}

}  // namespace

UiStatus UiSendControlCommand(UiControl* c, uint32_t modifiers) {
  if (!c || c->command == 0) return kUiEventNotHandled;
  UiEvent e;
  UiInitEvent(&e, kUiClassCommand, kUiCommandProcess);
  e.modifiers = modifiers;
  const UiCommand cmd{kUiCommandFromControl, c->command, c};
  UiSetEventParameter(&e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd);
  UiSetEventParameter(&e, kUiParamKeyModifiers, kUiTypeUInt32, sizeof modifiers, &modifiers);
  return UiSendEventToTarget(&e, &c->target);
}

UiStatus UiStandardWindowHandler(UiHandlerCall*, UiEvent*, void*) { return kUiEventNotHandled; }

bool UiResizeWindow(UiWindow* w, int32_t width, int32_t height) {
  if (!(w = UiWindowFromRef(w)) || !(w->attributes & kUiWindowResizable)) return false;
  width = std::clamp<int32_t>(width, w->minWidth, 16384);
  height = std::clamp<int32_t>(height, w->minHeight, 16384);
  const Rect b = w->bounds;
  if (width != b.right - b.left || height != b.bottom - b.top)
    UiSetWindowBounds(w, Rect{b.top, b.left, int16_t(std::min(32767, b.top + height)), int16_t(std::min(32767, b.left + width))});
  // The drag has ended: the window's handlers lay it out for good.
  UiEvent done;
  UiInitEvent(&done, kUiClassWindow, kUiWindowResizeCompleted);
  UiSendEventToTarget(&done, &w->target);
  return true;
}

UiStatus UiStandardControlHandler(UiHandlerCall*, UiEvent* e, void* data) {
  auto* c = static_cast<UiControl*>(data);
  if (e->eventClass == kUiClassObject && e->kind == kUiObjectInitialize) return kUiNoErr;
  if (e->eventClass == kUiClassText && e->kind == kUiTextInputUnicodeForKey && c->kind == kUiKindEditText) {
    char text[kUiEventParamBytes + 1] = {};
    if (UiGetEventParameter(e, kUiParamText, kUiTypeText, kUiEventParamBytes, text) != kUiNoErr) return kUiParamErr;
    UiEditInsert(c, text);
    return kUiNoErr;
  }
  if (e->eventClass != kUiClassControl) return kUiEventNotHandled;
  switch (e->kind) {
    case kUiControlTrack: {
      UiPoint local{0, 0};
      UiGetEventParameter(e, kUiParamMouseLocation, kUiTypePoint, sizeof local, &local);
      const UiPoint start{local.x + float(c->bounds.left), local.y + float(c->bounds.top)};
      const int16_t part = TrackDefault(c, start);
      UiSetEventParameter(e, kUiParamPart, kUiTypeInt16, sizeof part, &part);
      return kUiNoErr;
    }
    case kUiControlHitTest: {
      UiPoint local{0, 0};
      UiGetEventParameter(e, kUiParamMouseLocation, kUiTypePoint, sizeof local, &local);
      const int16_t part = local.x >= 0 && local.y >= 0 && local.x < c->bounds.right - c->bounds.left &&
                                   local.y < c->bounds.bottom - c->bounds.top
                               ? 1
                               : 0;
      UiSetEventParameter(e, kUiParamPart, kUiTypeInt16, sizeof part, &part);
      return kUiNoErr;
    }
    case kUiControlDraw:
      return kUiNoErr;
    default:
      return kUiEventNotHandled;
  }
}

void UiDispatchInput(const UiInput& in) {
  if (UiMenuTakesInput(in)) return;
  UiWindow* w = in.window ? UiWindowFromRef(in.window) : UiFrontWindow();
  if (!w) return;
  switch (in.type) {
    case kUiInputMouseMove:
      UiNoteMouse(w, in.where, UiStillDown(), in.modifiers);
      SendMouseEvent(w, kUiMouseMoved, in.where, in.modifiers, nullptr);
      UpdateTrackingAreas(w, in.where);
      return;
    case kUiInputMouseUp:
      UiNoteMouse(w, in.where, false, in.modifiers);
      return;
    case kUiInputDropFile:
      if (in.path && UiWindowTakesInput(w)) UiDropFiles(w, in.where, &in.path, 1);
      return;
    case kUiInputResize:
      if (UiWindowTakesInput(w)) UiResizeWindow(w, int32_t(in.where.x), int32_t(in.where.y));
      return;
    case kUiInputMouseDown: {
      if (!UiWindowTakesInput(w) || !w->visible) {
        UiBeep();
        return;
      }
      UiNoteMouse(w, in.where, true, in.modifiers);
      UiStatus st = kUiEventNotHandled;
      SendMouseEvent(w, kUiMouseDown, in.where, in.modifiers, &st);
      if (st == kUiNoErr) return;
      UiControl* c = UiControlAt(w, in.where);
      if (!c || c->kind == kUiKindRoot || !c->active || !c->enabled) return;
      TrackControl(c, in.where, in.modifiers);
      return;
    }
    case kUiInputKey:
      if (!UiWindowTakesInput(w)) return;
      if (in.key == kUiKeyReturn) return PressButton(w->defaultButton, in.modifiers);
      if (in.key == kUiKeyEscape) return PressButton(w->cancelButton, in.modifiers);
      if (in.key == kUiKeyTab) return FocusNextField(w);
      if (w->focus && w->focus->kind == kUiKindEditText && FieldKey(w->focus, in.key, in.modifiers)) return;
      if (in.key == kUiKeyUp || in.key == kUiKeyDown) {
        UiControl* c = UiControlAt(w, in.where);
        return StepControl(c, in.key == kUiKeyDown ? 1 : -1, in.modifiers);
      }
      return;
    case kUiInputText:
      if (UiWindowTakesInput(w) && w->focus) SendText(w->focus, in.text);
      return;
    case kUiInputWheel:
      if (UiWindowTakesInput(w)) StepControl(UiControlAt(w, in.where), in.wheel, in.modifiers);
      return;
    default:
      return;
  }
}
