#include "platform/ui/popup_menu.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/ui/event_loop.h"
#include "platform/ui/window.h"

namespace {

constexpr int32_t kRowHeight = 18;
constexpr int32_t kPad = 4;          // above the first row and below the last
constexpr int32_t kMarkWidth = 18;   // the check mark's column
constexpr int32_t kScrollWidth = 12;  // the strip that scrolls a long menu
constexpr int32_t kScreenMargin = 4;
// Typed letters add to the search while they come closer together than this.
constexpr double kTypeAheadMs = 1000.0;

constexpr UiColor kMenuFace{255, 255, 255, 255};
constexpr UiColor kMenuEdge{120, 120, 120, 255};
constexpr UiColor kHot{40, 100, 200, 255};
constexpr UiColor kDim{160, 160, 160, 255};
constexpr UiColor kStrip{225, 225, 225, 255};
constexpr UiColor kThumb{150, 150, 150, 255};

Rect g_screen{0, 0, 1024, 1280};

struct MenuState {
  UiWindow* window;
  UiControl* popup;
  int32_t count;
  int32_t rows;  // visible at once
  int32_t top;   // the first visible item, from 1
  int32_t hot;   // highlighted item, 0 none
  int32_t chosen;
  bool scrolls;
  char typed[32];
  double typedAt;
};

MenuState g_menu;

int16_t S16(int32_t v) { return int16_t(std::clamp<int32_t>(v, -32768, 32767)); }

bool Enabled(int32_t item) { return UiPopupItemEnabled(g_menu.popup, item); }

void ScrollTo(int32_t top) {
  const int32_t last = std::max(1, g_menu.count - g_menu.rows + 1);
  const int32_t t = std::clamp(top, 1, last);
  if (t != g_menu.top) UiInvalidateWindow(g_menu.window);
  g_menu.top = t;
}

void Reveal(int32_t item) {
  if (item < g_menu.top) ScrollTo(item);
  if (item >= g_menu.top + g_menu.rows) ScrollTo(item - g_menu.rows + 1);
}

void SetHot(int32_t item) {
  if (item != 0 && !Enabled(item)) item = 0;
  if (item == g_menu.hot) return;
  g_menu.hot = item;
  UiInvalidateWindow(g_menu.window);
}

// The next enabled item from `from` in steps of `step`; `from` itself when none.
int32_t NextEnabled(int32_t from, int32_t step) {
  for (int32_t i = from + step; i >= 1 && i <= g_menu.count; i += step)
    if (Enabled(i)) return i;
  return from;
}

void Close(int32_t chosen) {
  g_menu.chosen = chosen;
  UiQuitAppModalLoopForWindow(g_menu.window);
}

void Choose(int32_t item) {
  if (item >= 1 && item <= g_menu.count && Enabled(item)) Close(item);
}

int32_t ListRight() { return g_menu.window->canvas.width - 1 - (g_menu.scrolls ? kScrollWidth : 0); }

// The item under a menu point; 0 outside the rows.
int32_t ItemAt(UiPoint p) {
  if (p.x < 1 || p.x >= ListRight() || p.y < kPad) return 0;
  const int32_t row = int32_t(p.y - kPad) / kRowHeight;
  if (row >= g_menu.rows) return 0;
  const int32_t item = g_menu.top + row;
  return item <= g_menu.count ? item : 0;
}

void TypeAhead(const char* text) {
  const double now = UiNow();
  size_t n = now - g_menu.typedAt <= kTypeAheadMs ? std::strlen(g_menu.typed) : 0;
  for (const char* s = text; *s && n + 1 < sizeof g_menu.typed; ++s) g_menu.typed[n++] = *s;
  g_menu.typed[n] = 0;
  g_menu.typedAt = now;
  for (int32_t i = 1; i <= g_menu.count; ++i) {
    const char* item = UiPopupItemText(g_menu.popup, i);
    bool match = Enabled(i);
    for (size_t k = 0; match && k < n; ++k)
      match = item[k] && std::tolower(uint8_t(item[k])) == std::tolower(uint8_t(g_menu.typed[k]));
    if (match) {
      SetHot(i);
      Reveal(i);
      return;
    }
  }
}

void Key(int32_t key) {
  const int32_t from = g_menu.hot ? g_menu.hot : (key == kUiKeyUp ? g_menu.count + 1 : 0);
  int32_t to = g_menu.hot;
  switch (key) {
    case kUiKeyEscape:
      return Close(0);
    case kUiKeyReturn:
      return Choose(g_menu.hot);
    case kUiKeyDown:
    case kUiKeyUp:
      to = NextEnabled(from, key == kUiKeyDown ? 1 : -1);
      break;
    case kUiKeyHome:
      to = NextEnabled(0, 1);
      break;
    case kUiKeyEnd:
      to = NextEnabled(g_menu.count + 1, -1);
      break;
    case kUiKeyPageDown:
    case kUiKeyPageUp: {
      const int32_t step = key == kUiKeyPageDown ? 1 : -1;
      const int32_t target = std::clamp(from + step * (g_menu.rows - 1), 1, g_menu.count);
      to = Enabled(target) ? target : NextEnabled(target, step);
      if (!Enabled(to)) to = NextEnabled(target, -step);
      break;
    }
    default:
      return;
  }
  if (to >= 1 && to <= g_menu.count && Enabled(to)) {
    SetHot(to);
    Reveal(to);
  }
}

void Press(UiPoint p) {
  if (g_menu.scrolls && p.x >= ListRight()) {
    // The strip: above the middle a page up, below it a page down.
    const bool up = p.y < float(g_menu.window->canvas.height) / 2;
    ScrollTo(g_menu.top + (up ? -1 : 1) * (g_menu.rows - 1));
    return;
  }
  Choose(ItemAt(p));
}

void Paint(UiWindow* w, UiCanvas* cv) {
  if (w != g_menu.window) return;
  const int16_t width = S16(cv->width), height = S16(cv->height);
  UiFillRect(cv, Rect{0, 0, height, width}, kMenuFace);
  const int32_t right = ListRight();
  for (int32_t row = 0; row < g_menu.rows; ++row) {
    const int32_t item = g_menu.top + row;
    if (item > g_menu.count) break;
    const int32_t top = kPad + row * kRowHeight;
    const Rect r{S16(top), 1, S16(top + kRowHeight), S16(right)};
    const bool hot = item == g_menu.hot;
    if (hot) UiFillRect(cv, r, kHot);
    const UiColor ink = hot ? kUiWhite : (Enabled(item) ? kUiBlack : kDim);
    const int32_t baseline = top + (kRowHeight - UiTextLineHeight()) / 2 + UiTextAscent();
    if (item == g_menu.popup->value) {
      // The current item's mark: a tick in the left column.
      const int32_t x = 5, y = top + kRowHeight / 2;
      UiDrawLine(cv, x, y, x + 3, y + 3, ink, 2);
      UiDrawLine(cv, x + 3, y + 3, x + 9, y - 4, ink, 2);
    }
    UiPushClip(cv, r);
    UiDrawText(cv, kMarkWidth, baseline, UiPopupItemText(g_menu.popup, item), ink);
    UiPopClip(cv);
  }
  if (g_menu.scrolls) {
    const Rect strip{1, S16(right), S16(height - 1), S16(width - 1)};
    UiFillRect(cv, strip, kStrip);
    const int32_t span = height - 2;
    const int32_t thumbTop = 1 + int32_t(int64_t(span) * (g_menu.top - 1) / g_menu.count);
    const int32_t thumbHeight = std::max<int32_t>(8, int32_t(int64_t(span) * g_menu.rows / g_menu.count));
    UiFillRect(cv, Rect{S16(thumbTop), S16(right + 2), S16(std::min(thumbTop + thumbHeight, height - 1)), S16(width - 3)},
               kThumb);
  }
  UiStrokeRect(cv, Rect{0, 0, height, width}, kMenuEdge, 1);
}

}  // namespace

void UiSetScreenBounds(const Rect& bounds) {
  if (bounds.bottom - bounds.top > 2 * kRowHeight && bounds.right - bounds.left > 2 * kRowHeight) g_screen = bounds;
}

Rect UiScreenBounds() { return g_screen; }

UiStatus UiSetPopupItemEnabled(UiControl* c, int32_t item, bool enabled) {
  if (!c || !c->popupDimmed || item < 1 || item > c->popupCount) return kUiParamErr;
  c->popupDimmed[item - 1] = enabled ? 0 : 1;
  return kUiNoErr;
}

bool UiPopupItemEnabled(const UiControl* c, int32_t item) {
  if (!c || item < 1 || item > c->popupCount) return false;
  return !c->popupDimmed || c->popupDimmed[item - 1] == 0;
}

UiWindow* UiOpenMenuWindow() { return g_menu.window; }

int32_t UiMenuHighlightedItem() { return g_menu.window ? g_menu.hot : 0; }
int32_t UiMenuFirstVisibleItem() { return g_menu.window ? g_menu.top : 0; }

bool UiMenuItemPoint(int32_t item, UiPoint* where) {
  if (!g_menu.window || item < 1 || item > g_menu.count) return false;
  Reveal(item);
  if (where) *where = UiPoint{float(kMarkWidth + 10), float(kPad + (item - g_menu.top) * kRowHeight + kRowHeight / 2)};
  return true;
}

int32_t UiTrackPopupMenu(UiControl* popup) {
  if (!popup || !popup->window || popup->popupCount < 1 || g_menu.window) return 0;
  UiWindow* owner = popup->window;
  const int32_t count = popup->popupCount;
  int32_t textWidth = 0;
  for (int32_t i = 1; i <= count; ++i) textWidth = std::max(textWidth, UiTextWidth(UiPopupItemText(popup, i)));
  const int32_t screenHeight = g_screen.bottom - g_screen.top - 2 * kScreenMargin;
  const int32_t rows = std::clamp((screenHeight - 2 * kPad) / kRowHeight, 1, count);
  const bool scrolls = rows < count;
  const int32_t width = std::max<int32_t>(popup->bounds.right - popup->bounds.left,
                                          kMarkWidth + textWidth + 14 + (scrolls ? kScrollWidth : 0));
  const int32_t height = 2 * kPad + rows * kRowHeight;
  const int32_t current = std::clamp(popup->value, 1, count);

  // The current item's row lies over the popup, as far as the screen lets it.
  const int32_t popupTop = owner->bounds.top + popup->bounds.top + (popup->bounds.bottom - popup->bounds.top - kRowHeight) / 2;
  const int32_t screenTop = g_screen.top + kScreenMargin, screenBottom = g_screen.bottom - kScreenMargin;
  int32_t first = 1;
  if (scrolls) first = std::clamp(current - (popupTop - kPad - screenTop) / kRowHeight, 1, count - rows + 1);
  int32_t top = popupTop - kPad - (current - first) * kRowHeight;
  top = std::clamp(top, screenTop, std::max(screenTop, screenBottom - height));
  int32_t left = owner->bounds.left + popup->bounds.left;
  left = std::clamp(left, int32_t(g_screen.left), std::max<int32_t>(g_screen.left, g_screen.right - width));

  const UiWindowDefinition def{kUiMenuWindowName, "", int16_t(width), int16_t(height), kUiWindowClassMenu, 0, nullptr, 0};
  UiWindow* w = UiCreateWindow(&def);
  if (!w) return 0;
  w->paint = Paint;
  UiSetWindowBounds(w, Rect{S16(top), S16(left), S16(top + height), S16(left + width)});
  g_menu = MenuState{w, popup, count, rows, first, 0, 0, scrolls, {}, -1e300};
  SetHot(current);
  UiHiliteControl(popup, 1);
  UiShowWindow(w);
  UiSelectWindow(w);
  UiRunAppModalLoopForWindow(w);
  const int32_t chosen = g_menu.chosen;
  g_menu = MenuState{};
  UiHideWindow(w);
  UiDisposeWindow(w);
  UiHiliteControl(popup, 0);
  return chosen;
}

bool UiMenuTakesInput(const UiInput& in) {
  UiWindow* menu = g_menu.window;
  if (!menu) return false;
  UiWindow* w = in.window ? UiWindowFromRef(in.window) : UiFrontWindow();
  UiPoint p = in.where;
  if (w && w != menu) {
    // Points of another window, in the menu's coordinates.
    p.x += float(w->bounds.left - menu->bounds.left);
    p.y += float(w->bounds.top - menu->bounds.top);
  }
  const bool inside = p.x >= 0 && p.y >= 0 && p.x < menu->canvas.width && p.y < menu->canvas.height;
  switch (in.type) {
    case kUiInputMouseDown:
      UiNoteMouse(menu, p, true, in.modifiers);
      if (inside)
        Press(p);
      else
        Close(0);  // a click elsewhere closes the menu and goes no further
      return true;
    case kUiInputMouseUp:
      UiNoteMouse(menu, p, false, in.modifiers);
      return true;
    case kUiInputMouseMove:
      UiNoteMouse(menu, p, UiStillDown(), in.modifiers);
      if (inside && ItemAt(p)) SetHot(ItemAt(p));
      return true;
    case kUiInputWheel:
      ScrollTo(g_menu.top + 3 * in.wheel);
      return true;
    case kUiInputKey:
      Key(in.key);
      return true;
    case kUiInputText:
      TypeAhead(in.text);
      return true;
    case kUiInputDropFile:
    case kUiInputResize:
      return true;
    default:
      return false;
  }
}
