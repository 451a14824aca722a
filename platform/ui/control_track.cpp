// Input dispatch and the default behaviour of standard controls: clicks
// are tracked to a release, then a hit and the control's command follow.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
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
      // Dragging up or down steps through the items; the release picks one.
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

void InsertText(UiControl* c, const char* text) {
  size_t n = std::strlen(c->title);
  for (const char* s = text; *s; ++s) {
    if (*s == '\b') {
      if (n > 0) c->title[--n] = 0;
    } else if (uint8_t(*s) >= 32 && n + 1 < sizeof c->title) {
      c->title[n++] = *s;
      c->title[n] = 0;
    }
  }
  UiInvalidateControl(c);
}

void SendText(UiControl* c, const char* text) {
  UiEvent e;
  UiInitEvent(&e, kUiClassText, kUiTextInputUnicodeForKey);
  char buffer[kUiEventParamBytes] = {};
  std::snprintf(buffer, sizeof buffer, "%s", text);
  UiSetEventParameter(&e, kUiParamText, kUiTypeText, uint32_t(std::strlen(buffer) + 1), buffer);
  UiSendEventToTarget(&e, &c->target);
}

void TrackControl(UiControl* c, UiPoint p, uint32_t modifiers) {
  UiEvent click;
  UiInitEvent(&click, kUiClassControl, kUiControlClick);
  UiSendEventToTarget(&click, &c->target);
  if (c->kind == kUiKindEditText) {
    UiSetKeyboardFocus(c->window, c);
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
      return;
    }
  }
}

void StepControl(UiControl* c, int32_t step, uint32_t modifiers) {
  if (!c || !c->active || (c->kind != kUiKindPopup && c->kind != kUiKindSlider)) return;
  const int32_t last = c->kind == kUiKindPopup && c->popupCount > 0 ? c->popupCount : c->max;
  const int32_t first = c->kind == kUiKindPopup ? 1 : c->min;
  SetValueWithAction(c, std::clamp(c->value + step, first, last));
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

UiStatus UiStandardControlHandler(UiHandlerCall*, UiEvent* e, void* data) {
  auto* c = static_cast<UiControl*>(data);
  if (e->eventClass == kUiClassObject && e->kind == kUiObjectInitialize) return kUiNoErr;
  if (e->eventClass == kUiClassText && e->kind == kUiTextInputUnicodeForKey && c->kind == kUiKindEditText) {
    char text[kUiEventParamBytes + 1] = {};
    if (UiGetEventParameter(e, kUiParamText, kUiTypeText, kUiEventParamBytes, text) != kUiNoErr) return kUiParamErr;
    InsertText(c, text);
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
      if (in.key == kUiKeyBackspace && w->focus) return SendText(w->focus, "\b");
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
