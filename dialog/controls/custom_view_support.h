// What the dialog's own views share: telling the window of a change by the
// control's command, keyboard focus on the one part 10, and the space bar
// standing for a click.
#pragma once

#include <cstdint>

#include "platform/ui/ui_types.h"

#include <functional>

struct UiControl;
struct UiPoint;
struct Rect;
class TCarbonEvent;
class TView;

constexpr int16_t kViewPartButton = 10;
constexpr int16_t kViewPartContent = 26;
constexpr uint32_t kBehaviourFocus = 0x4;
constexpr uint32_t kBehaviourDragAndDrop = 0x1000;
constexpr FourCC kViewTagColour = MakeFourCC("colr");

// Sends the owning window a process-command event with the control's
// command id.
UiStatus SendViewChangedCommand(UiControl* control);
// The focus rule of a one-part view; answers whether it changed.
int16_t NextFocusPart(int16_t part, uint8_t focusEverything, int16_t current);
// Space (32) as the first typed character: a click on part 10.
UiStatus SpaceBarClicks(UiControl* control, TCarbonEvent& event);
// Writes a rectangle region (regions are rectangles here) when asked for one.
void StoreRegion(void* region, const Rect& r);
// Presses part 10 as a click would: track nothing, hit, command.
void SimulateClick(UiControl* control, int16_t part);

// A view drawn as one bevelled button (the colour swatch, the drag button):
// the whole view is the button part, the content the area 5 inside it.
UiStatus ButtonViewRegion(const TView& view, int16_t part, void* region);
int16_t ButtonViewHitTest(const TView& view, const UiPoint& p);
// Moves the keyboard focus of a one-part view, redrawing it when it moved.
UiStatus MoveButtonViewFocus(TView& view, int16_t* focusPart, int16_t part, uint8_t focusEverything,
                             int16_t* outPart);
// A press in the content area that moves before its release starts `drag`
// and is consumed; any other press is left to the default tracking.
UiStatus TrackPressOrDrag(TView& view, TCarbonEvent& event, int16_t* outPart, const std::function<void()>& drag);
