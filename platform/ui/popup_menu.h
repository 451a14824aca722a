// A popup's menu: a click on a popup opens its items as a window of their
// own over it, the current item marked and placed over the popup, scrolling
// when the list is taller than the screen. An item is chosen by a click or
// by keys (arrows, Home/End, Page Up/Down, Return; typing jumps to the first
// item that starts with what was typed); Escape or a click outside closes
// the menu with no choice. Dimmed items cannot be chosen.
#pragma once

#include <cstdint>

#include "platform/ui/ui_types.h"

struct UiWindow;
struct UiControl;
struct UiInput;

constexpr const char* kUiMenuWindowName = "menu";
constexpr int32_t kUiWindowClassMenu = 13;

// Runs the popup's menu until it closes; the item chosen, 0 when none was.
int32_t UiTrackPopupMenu(UiControl* popup);

// The open menu's window, or null.
UiWindow* UiOpenMenuWindow();
// While a menu is open: scrolls `item` into view and gives the centre of
// its row in the menu window; false for an item the menu does not have.
bool UiMenuItemPoint(int32_t item, UiPoint* where);
// The item highlighted in the open menu (0: none) and its first visible row.
int32_t UiMenuHighlightedItem();
int32_t UiMenuFirstVisibleItem();
// Input while a menu is open goes to the menu: true when it took `input`.
bool UiMenuTakesInput(const UiInput& input);

// The screen the menus must fit in (global coordinates). A front end with
// a display sets the display's usable area.
void UiSetScreenBounds(const Rect& bounds);
Rect UiScreenBounds();

// Dimmed popup items stay listed but cannot be chosen (items run from 1).
UiStatus UiSetPopupItemEnabled(UiControl* popup, int32_t item, bool enabled);
bool UiPopupItemEnabled(const UiControl* popup, int32_t item);
