#include "dialog/window_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dialog/associations.h"
#include "dialog/dialog_controls.h"
#include "platform/ui/text_edit.h"

namespace {

constexpr int16_t kSliderGap = 6;
constexpr int16_t kPreviewItem = 18;

int16_t S16(int32_t v) { return int16_t(std::clamp<int32_t>(v, -32768, 32767)); }

UiStatus LayOutOnResize(UiHandlerCall*, UiEvent* e, void* window) {
  Rect before{}, after{};
  UiGetEventParameter(e, kUiParamPreviousBounds, kUiTypeRect, sizeof before, &before);
  UiGetEventParameter(e, kUiParamCurrentBounds, kUiTypeRect, sizeof after, &after);
  LayOutForWindowSize(static_cast<UiWindow*>(window), (after.right - after.left) - (before.right - before.left),
                      (after.bottom - after.top) - (before.bottom - before.top));
  return kUiEventNotHandled;  // the preview's handlers follow
}

}  // namespace

int32_t WidestSliderText(int32_t min, int32_t max) {
  // "%g" keeps six digits: the widest values are the longest fractions near
  // the ends and the small ones written with an exponent.
  const double extreme = std::max(std::abs(double(min)), std::abs(double(max)));
  const double sign = min < 0 ? -1.0 : 1.0;
  const double samples[] = {double(min), double(max), sign * (extreme - 0.001), sign * 1.23457e-05};
  int32_t widest = 0;
  for (double v : samples) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    widest = std::max(widest, UiTextWidth(text));
  }
  return widest;
}

void FitTextBoxesToTheirValues(UiWindow* w) {
  for (int16_t item = 1; item < kDialogItemLimit; ++item) {
    AssociationRecord a;
    if (NiceGetAssociations(item, &a) != ItemKind_Slider || a.textBox <= 1) continue;
    UiControl* slider = GetVarezItem(w, item);
    UiControl* box = GetVarezItem(w, a.textBox);
    if (!slider || !box || slider->kind != kUiKindSlider || box->kind != kUiKindEditText) continue;
    const int32_t width = WidestSliderText(a.min, a.max) + 2 * kUiEditInset + 4;
    Rect b = box->bounds;
    b.left = S16(b.right - width);
    UiSetControlBounds(box, b);
    Rect s = slider->bounds;
    s.right = S16(std::max<int32_t>(s.left + 40, b.left - kSliderGap));
    UiSetControlBounds(slider, s);
  }
}

void LayOutForWindowSize(UiWindow* w, int32_t dx, int32_t dy) {
  UiControl* preview = GetVarezItem(w, kPreviewItem);
  if (!preview || (dx == 0 && dy == 0)) return;
  // Items are moved from where they are (the memory dots stand where their
  // well put them): right of the preview with its right edge, below it with
  // its bottom edge.
  const Rect p = preview->bounds;
  for (int32_t i = 1; i < w->controlCount; ++i) {
    UiControl* c = &w->controls[i];
    Rect r = c->bounds;
    if (c == preview) {
      r.right = S16(r.right + dx);
      r.bottom = S16(r.bottom + dy);
    } else if (r.left >= p.right) {
      r.left = S16(r.left + dx);
      r.right = S16(r.right + dx);
    } else if (r.top >= p.bottom) {
      r.top = S16(r.top + dy);
      r.bottom = S16(r.bottom + dy);
    }
    UiSetControlBounds(c, r);
  }
  UiInvalidateWindow(w);
}

void InstallWindowLayoutHandler(UiWindow* w) {
  const UiEventTypeSpec spec{kUiClassWindow, kUiWindowBoundsChanged};
  UiInstallEventHandler(&w->target, LayOutOnResize, 1, &spec, w, nullptr);
}
