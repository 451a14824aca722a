#include "dialog/controls/custom_view_support.h"

#include <cstring>

#include "dialog/HIFramework/t_carbon_event.h"
#include "dialog/HIFramework/t_view.h"
#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/window.h"

UiStatus SendViewChangedCommand(UiControl* c) {
  UiWindow* w = UiControlOwner(c);
  if (!c || !w) return kUiParamErr;
  UiEvent e;
  UiInitEvent(&e, kUiClassCommand, kUiCommandProcess);
  const UiCommand cmd{0, c->command, c};
  UiStatus st = UiSetEventParameter(&e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd);
  if (st != kUiNoErr) return st;
  return UiSendEventToTarget(&e, &w->target);
}

int16_t NextFocusPart(int16_t part, uint8_t focusEverything, int16_t current) {
  if (part == kViewPartButton) return kViewPartButton;
  if ((part == -1 || part == -2) && focusEverything && current == 0) return kViewPartButton;
  return 0;
}

UiStatus SpaceBarClicks(UiControl* c, TCarbonEvent& event) {
  if (event.GetKind() != kUiTextInputUnicodeForKey) return kUiEventNotHandled;
  char text[kUiEventParamBytes + 1] = {};
  event.GetParameter(kUiParamText, kUiTypeText, kUiEventParamBytes, text);
  if (text[0] != ' ') return kUiEventNotHandled;
  SimulateClick(c, kViewPartButton);
  return kUiNoErr;
}

void StoreRegion(void* region, const Rect& r) {
  if (region) std::memcpy(region, &r, sizeof r);
}

void SimulateClick(UiControl* c, int16_t part) {
  if (!c) return;
  UiHiliteControl(c, part);
  UiHiliteControl(c, 0);
  UiEvent hit;
  UiInitEvent(&hit, kUiClassControl, kUiControlHit);
  const uint32_t modifiers = 0;
  UiSetEventParameter(&hit, kUiParamPart, kUiTypeInt16, sizeof part, &part);
  UiSetEventParameter(&hit, kUiParamKeyModifiers, kUiTypeUInt32, sizeof modifiers, &modifiers);
  if (UiSendEventToTarget(&hit, &c->target) != kUiNoErr) UiSendControlCommand(c, 0);
}

UiStatus ButtonViewRegion(const TView& view, int16_t part, void* region) {
  const TRectF b = view.Bounds();
  const Rect whole{0, 0, int16_t(b.height), int16_t(b.width)};
  if (part == -2 || part == -1 || part == kViewPartButton) {
    StoreRegion(region, whole);
    return kUiNoErr;
  }
  if (part == kViewPartContent) {
    StoreRegion(region, Rect{5, 5, int16_t(whole.bottom - 5), int16_t(whole.right - 5)});
    return kUiNoErr;
  }
  return kUiInvalidPartCode;
}

int16_t ButtonViewHitTest(const TView& view, const UiPoint& p) {
  const TRectF b = view.Bounds();
  return p.x >= 0 && p.y >= 0 && p.x < b.width && p.y < b.height ? kViewPartButton : 0;
}

UiStatus MoveButtonViewFocus(TView& view, int16_t* focusPart, int16_t part, uint8_t focusEverything,
                             int16_t* outPart) {
  const int16_t focus = NextFocusPart(part, focusEverything, *focusPart);
  if (focus != *focusPart) {
    *focusPart = focus;
    view.Invalidate();
  }
  if (outPart) *outPart = *focusPart;
  return kUiNoErr;
}

UiStatus TrackPressOrDrag(TView& view, TCarbonEvent& event, int16_t* outPart, const std::function<void()>& drag) {
  Rect field{};
  ButtonViewRegion(view, kViewPartContent, &field);
  UiPoint p{};
  event.GetParameter(kUiParamMouseLocation, &p);
  const UiPoint at{float(int32_t(p.x)), float(int32_t(p.y))};
  if (UiPointInRect(at, field)) {
    view.Hilite(kViewPartButton);
    const UiControl* object = view.GetObject();
    const UiPoint inWindow{at.x + object->bounds.left, at.y + object->bounds.top};
    if (UiWaitMouseMoved(view.GetOwner(), inWindow)) {
      view.Hilite(0);
      UiDrawWindow(view.GetOwner());
      drag();
      if (outPart) *outPart = 0;
      return kUiNoErr;
    }
  }
  if (outPart) *outPart = kViewPartButton;
  return kUiEventNotHandled;
}
