#include "platform/ui/theme_draw.h"
#include <utility>

namespace {

constexpr UiColor kFace{250, 250, 250, 255};
constexpr UiColor kPressed{170, 190, 220, 255};
constexpr UiColor kEdge{120, 120, 120, 255};
constexpr UiColor kDim{200, 200, 200, 255};
constexpr UiColor kAccent{40, 100, 200, 255};
constexpr UiColor kShade{215, 215, 215, 255};

}  // namespace

void UiDrawThemeBevel(UiCanvas* cv, const Rect& r, bool active, bool on, bool focused, bool rounded) {
  UiFillRect(cv, r, on ? kPressed : kFace);
  UiStrokeRect(cv, r, active ? kEdge : kDim, 1);
  if (rounded) {
    const UiColor back{232, 232, 232, 255};
    for (const auto& [x, y] : {std::pair{r.left, r.top}, std::pair{int16_t(r.right - 1), r.top},
                               std::pair{r.left, int16_t(r.bottom - 1)}, std::pair{int16_t(r.right - 1), int16_t(r.bottom - 1)}})
      UiFillRect(cv, Rect{y, x, int16_t(y + 1), int16_t(x + 1)}, back);
  }
  if (focused) UiDrawThemeFocusRect(cv, r);
}

void UiDrawThemeFocusRect(UiCanvas* cv, const Rect& r) { UiStrokeRect(cv, r, kAccent, 2); }

void UiDrawThemeGenericWell(UiCanvas* cv, const Rect& r, bool pressed) {
  UiFillRect(cv, r, pressed ? kPressed : kShade);
  UiStrokeRect(cv, r, kEdge, 1);
  UiDrawLine(cv, r.left + 1, r.top + 1, r.right - 2, r.top + 1, UiColor{150, 150, 150, 255}, 1);
}
