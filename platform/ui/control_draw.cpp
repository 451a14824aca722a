// The look of the standard controls: flat, one font, no anti-aliasing.
#include <algorithm>
#include <cstdio>

#include "platform/ui/icons.h"
#include "platform/ui/text_edit.h"
#include "platform/ui/window.h"

namespace {

constexpr UiColor kFace{250, 250, 250, 255};
constexpr UiColor kPressed{170, 190, 220, 255};
constexpr UiColor kEdge{120, 120, 120, 255};
constexpr UiColor kDimText{150, 150, 150, 255};
constexpr UiColor kAccent{40, 100, 200, 255};
constexpr UiColor kTrack{190, 190, 190, 255};

Rect Inset(const Rect& r, int16_t d) {
  return Rect{int16_t(r.top + d), int16_t(r.left + d), int16_t(r.bottom - d), int16_t(r.right - d)};
}

int32_t Baseline(const Rect& r) {
  return r.top + (r.bottom - r.top - UiTextLineHeight()) / 2 + UiTextAscent();
}

void CentredText(UiCanvas* cv, const Rect& r, const char* text, UiColor c) {
  const int32_t w = UiTextWidth(text);
  UiDrawText(cv, r.left + std::max(0, (r.right - r.left - w) / 2), Baseline(r), text, c);
}

void Button(UiCanvas* cv, const UiControl* c, bool isDefault) {
  // A dot too small for a bevel is the dot alone: a ring when empty, a disc
  // when full (accent when current), a smaller one when temporary.
  const int32_t size = std::min(c->bounds.right - c->bounds.left, c->bounds.bottom - c->bounds.top);
  if (size < 16 && !c->title[0] && c->contentIcon >= 470 && c->contentIcon <= 475) {
    const int32_t id = int32_t(c->contentIcon);
    const int16_t inset = (id == 474 || id == 475) ? 2 : 0;
    const Rect dot{int16_t(c->bounds.top + inset), int16_t(c->bounds.left + inset), int16_t(c->bounds.bottom - inset),
                   int16_t(c->bounds.right - inset)};
    if (id == 470) {
      UiFillEllipse(cv, dot, c->hilite ? kPressed : kUiWhite);
      UiStrokeEllipse(cv, dot, kEdge, 1);
    } else {
      UiFillEllipse(cv, dot, (id == 472 || id == 475) ? kAccent : kEdge);
    }
    return;
  }
  UiFillRect(cv, c->bounds, c->hilite ? kPressed : kFace);
  UiStrokeRect(cv, c->bounds, isDefault && c->active ? kAccent : kEdge, isDefault ? 2 : 1);
  char label[kUiTitleBytes];
  // Icons by resource number 470..475 are the memory dots: an outline when
  // empty, grey when full, accent when current; a temporary dot is smaller.
  if (!c->title[0] && c->contentIcon >= 470 && c->contentIcon <= 475) {
    const int32_t id = int32_t(c->contentIcon);
    const int16_t inset = (id == 474 || id == 475) ? 7 : 4;
    const Rect dot{int16_t(c->bounds.top + inset), int16_t(c->bounds.left + inset), int16_t(c->bounds.bottom - inset),
                   int16_t(c->bounds.right - inset)};
    if (id == 470)
      UiStrokeEllipse(cv, dot, kEdge, 1);
    else
      UiFillEllipse(cv, dot, (id == 472 || id == 475) ? kAccent : kEdge);
    return;
  }
  // An icon with a picture sits at the left, the title beside it.
  if (const UiIconImage* icon = UiFindIcon(c->contentIcon)) {
    const int16_t h = int16_t(std::min<int32_t>(icon->height, c->bounds.bottom - c->bounds.top - 4));
    const int16_t w = int16_t(icon->width * h / std::max(1, icon->height));
    const int32_t textWidth = c->title[0] ? UiTextWidth(c->title) + 4 : 0;
    const int32_t left = c->bounds.left + std::max(3, (c->bounds.right - c->bounds.left - w - textWidth) / 2);
    const int16_t top = int16_t(c->bounds.top + (c->bounds.bottom - c->bounds.top - h) / 2);
    UiDrawImage(cv, icon->rgba, icon->width, icon->height, icon->width * 4, 4,
                Rect{top, int16_t(left), int16_t(top + h), int16_t(left + w)});
    if (!c->active) UiFillRect(cv, Rect{top, int16_t(left), int16_t(top + h), int16_t(left + w)}, UiColor{250, 250, 250, 140});
    if (c->title[0]) UiDrawText(cv, left + w + 4, Baseline(c->bounds), c->title, c->active ? kUiBlack : kDimText);
    return;
  }
  // An icon that has no picture here shows its four letters.
  if (!c->title[0] && c->contentIcon) {
    const FourCC k = c->contentIcon;
    std::snprintf(label, sizeof label, "%c%c%c%c", char(k >> 24), char(k >> 16), char(k >> 8), char(k));
  } else {
    std::snprintf(label, sizeof label, "%s", c->title);
  }
  CentredText(cv, c->bounds, label, c->active ? kUiBlack : kDimText);
}

}  // namespace

void UiDrawStandardControl(UiCanvas* cv, const UiControl* c) {
  const UiColor text = c->active ? kUiBlack : kDimText;
  const Rect& b = c->bounds;
  switch (c->kind) {
    case kUiKindPushButton:
    case kUiKindBevelButton:
      Button(cv, c, c->window && c->window->defaultButton == c);
      return;
    case kUiKindCheckbox: {
      const int16_t top = int16_t(b.top + (b.bottom - b.top - 12) / 2);
      const Rect box{top, b.left, int16_t(top + 12), int16_t(b.left + 12)};
      UiFillRect(cv, box, c->hilite ? kPressed : kUiWhite);
      UiStrokeRect(cv, box, kEdge, 1);
      if (c->value) {
        UiDrawLine(cv, box.left + 2, box.top + 6, box.left + 5, box.top + 9, c->active ? kAccent : kDimText, 2);
        UiDrawLine(cv, box.left + 5, box.top + 9, box.left + 10, box.top + 2, c->active ? kAccent : kDimText, 2);
      }
      UiDrawText(cv, b.left + 17, Baseline(b), c->title, text);
      return;
    }
    case kUiKindSlider: {
      const int32_t mid = (b.top + b.bottom) / 2;
      UiFillRect(cv, Rect{int16_t(mid - 2), int16_t(b.left + 6), int16_t(mid + 2), int16_t(b.right - 6)}, kTrack);
      const int32_t span = std::max(1, c->max - c->min);
      const int32_t x = b.left + 6 + int32_t(int64_t(c->value - c->min) * (b.right - b.left - 12) / span);
      const Rect thumb{int16_t(mid - 7), int16_t(x - 5), int16_t(mid + 7), int16_t(x + 5)};
      UiFillRect(cv, thumb, c->active ? (c->hilite ? kPressed : kFace) : kTrack);
      UiStrokeRect(cv, thumb, c->active ? kAccent : kEdge, 1);
      return;
    }
    case kUiKindEditText: {
      const bool focused = c->window && c->window->focus == c;
      UiFillRect(cv, b, kUiWhite);
      UiStrokeRect(cv, b, focused ? kAccent : kEdge, focused ? 2 : 1);
      UiPushClip(cv, Inset(b, 2));
      UiDrawEditText(cv, c, focused);
      UiPopClip(cv);
      return;
    }
    case kUiKindStaticText:
      UiDrawText(cv, b.left, Baseline(b), c->title, text);
      return;
    case kUiKindPopup: {
      UiFillRect(cv, b, c->hilite ? kPressed : kFace);
      UiStrokeRect(cv, b, kEdge, 1);
      const char* item = UiPopupItemText(c, c->value);
      char label[kUiTitleBytes];
      if (item)
        std::snprintf(label, sizeof label, "%s", item);
      else
        std::snprintf(label, sizeof label, "%d", c->value);
      UiPushClip(cv, Rect{b.top, b.left, b.bottom, int16_t(b.right - 16)});
      UiDrawText(cv, b.left + 5, Baseline(b), label, text);
      UiPopClip(cv);
      const float cx = float(b.right - 9), cy = float(b.top + b.bottom) / 2;
      const UiPoint down[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 3}};
      UiFillPolygon(cv, down, 3, text);
      return;
    }
    case kUiKindProgressBar: {
      UiFillRect(cv, b, kUiWhite);
      const int32_t span = std::max(1, c->max - c->min);
      const int32_t w = int32_t(int64_t(std::clamp(c->value - c->min, 0, span)) * (b.right - b.left - 2) / span);
      UiFillRect(cv, Rect{int16_t(b.top + 1), int16_t(b.left + 1), int16_t(b.bottom - 1), int16_t(b.left + 1 + w)},
                 kAccent);
      UiStrokeRect(cv, b, kEdge, 1);
      return;
    }
    case kUiKindGroup:
      UiStrokeRect(cv, Rect{int16_t(b.top + 6), b.left, b.bottom, b.right}, kTrack, 1);
      if (c->title[0]) {
        const int32_t w = UiTextWidth(c->title);
        UiFillRect(cv, Rect{b.top, int16_t(b.left + 8), int16_t(b.top + 13), int16_t(b.left + 12 + w)},
                   UiColor{232, 232, 232, 255});
        UiDrawText(cv, b.left + 10, b.top + 10, c->title, text);
      }
      return;
    default:
      return;
  }
}
