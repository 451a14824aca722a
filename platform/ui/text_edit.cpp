#include "platform/ui/text_edit.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/event_loop.h"
#include "platform/ui/window.h"

namespace {

constexpr UiColor kSelection{180, 205, 240, 255};

int32_t Length(const UiControl* c) { return int32_t(std::strlen(c->title)); }

int32_t PrefixWidth(const UiControl* c, int32_t n) {
  char prefix[kUiTitleBytes];
  n = std::clamp(n, 0, Length(c));
  std::memcpy(prefix, c->title, size_t(n));
  prefix[n] = 0;
  return UiTextWidth(prefix);
}

void Erase(UiControl* c, int32_t from, int32_t to) {
  const int32_t n = Length(c);
  from = std::clamp(from, 0, n);
  to = std::clamp(to, from, n);
  std::memmove(c->title + from, c->title + to, size_t(n - to + 1));
  c->caret = c->anchor = int16_t(from);
}

}  // namespace

void UiEditSelection(const UiControl* c, int32_t* from, int32_t* to) {
  const int32_t n = Length(c);
  const int32_t a = std::clamp<int32_t>(c->caret, 0, n), b = std::clamp<int32_t>(c->anchor, 0, n);
  *from = std::min(a, b);
  *to = std::max(a, b);
}

void UiEditSelectAll(UiControl* c) {
  if (!c) return;
  c->anchor = 0;
  c->caret = int16_t(Length(c));
  UiInvalidateControl(c);
}

void UiEditSetCaret(UiControl* c, int32_t offset, bool extend) {
  if (!c) return;
  c->caret = int16_t(std::clamp(offset, 0, Length(c)));
  if (!extend) c->anchor = c->caret;
  UiInvalidateControl(c);
}

int32_t UiEditOffsetAt(const UiControl* c, float x) {
  const float local = x - float(c->bounds.left + kUiEditInset);
  const int32_t n = Length(c);
  int32_t best = 0;
  float bestDistance = 1e30f;
  for (int32_t i = 0; i <= n; ++i) {
    const float d = std::abs(float(PrefixWidth(c, i)) - local);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

void UiEditInsert(UiControl* c, const char* text) {
  if (!c || !text) return;
  for (const char* s = text; *s; ++s) {
    int32_t from = 0, to = 0;
    UiEditSelection(c, &from, &to);
    if (*s == kUiEditBackspace || *s == kUiEditDelete) {
      if (from == to) {
        if (*s == kUiEditBackspace) from = std::max(0, from - 1);
        else to = std::min(Length(c), to + 1);
      }
      Erase(c, from, to);
      continue;
    }
    if (uint8_t(*s) < 32) continue;
    Erase(c, from, to);
    const int32_t n = Length(c);
    if (n + 1 >= int32_t(sizeof c->title)) continue;
    std::memmove(c->title + from + 1, c->title + from, size_t(n - from + 1));
    c->title[from] = *s;
    c->caret = c->anchor = int16_t(from + 1);
  }
  UiInvalidateControl(c);
}

bool UiEditMove(UiControl* c, int32_t key, uint32_t modifiers) {
  if (!c) return false;
  const bool extend = (modifiers & kUiShiftKeyBit) != 0;
  int32_t from = 0, to = 0;
  UiEditSelection(c, &from, &to);
  switch (key) {
    case kUiKeyLeft:
      // Without Shift, a selection collapses to its start.
      UiEditSetCaret(c, extend || from == to ? c->caret - 1 : from, extend);
      return true;
    case kUiKeyRight:
      UiEditSetCaret(c, extend || from == to ? c->caret + 1 : to, extend);
      return true;
    case kUiKeyHome:
      UiEditSetCaret(c, 0, extend);
      return true;
    case kUiKeyEnd:
      UiEditSetCaret(c, Length(c), extend);
      return true;
    case 'a':
      UiEditSelectAll(c);
      return true;
    case 'c': {
      char piece[kUiTitleBytes];
      std::memcpy(piece, c->title + from, size_t(to - from));
      piece[to - from] = 0;
      if (to > from) UiSetClipboardText(piece);
      return true;
    }
    default:
      return false;
  }
}

void UiDrawEditText(UiCanvas* cv, const UiControl* c, bool focused) {
  const Rect& b = c->bounds;
  const int32_t left = b.left + kUiEditInset;
  const int32_t baseline = b.top + (b.bottom - b.top - UiTextLineHeight()) / 2 + UiTextAscent();
  int32_t from = 0, to = 0;
  UiEditSelection(c, &from, &to);
  if (focused && to > from)
    UiFillRect(cv, Rect{int16_t(b.top + 3), int16_t(left + PrefixWidth(c, from)), int16_t(b.bottom - 3),
                        int16_t(left + PrefixWidth(c, to))},
               kSelection);
  UiDrawText(cv, left, baseline, c->title, c->active ? kUiBlack : UiColor{150, 150, 150, 255});
  if (focused && to == from) {
    const int32_t x = left + PrefixWidth(c, c->caret);
    UiFillRect(cv, Rect{int16_t(b.top + 3), int16_t(x), int16_t(b.bottom - 3), int16_t(x + 1)}, kUiBlack);
  }
}
