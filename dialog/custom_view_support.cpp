#include "dialog/custom_view_support.h"

#include <cstring>

#include "dialog/HIFramework/TCarbonEvent.h"
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
