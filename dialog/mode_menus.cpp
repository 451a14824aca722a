#include "dialog/mode_menus.h"

#include <algorithm>
#include <iterator>

#include "dialog/dialog_controls.h"
#include "export/mode_names.h"
#include "frame/base/layout_names.h"
#include "platform/ui/popup_menu.h"

namespace {

// The curved icosahedron and its single-fragment twin: the renderer
// refuses them (their shape has no faces), so the window does not offer them.
constexpr int32_t kRefusedModes[] = {291, 1049};

const char* QualityName(int32_t q) {
  static const char* const kNames[] = {"Fast", "Anisotropic", "Deluxe"};
  return q >= 1 && q <= 3 ? kNames[q - 1] : "";
}

void Fill(UiWindow* w, int16_t item, int32_t count, const char* (*name)(int32_t)) {
  UiControl* c = GetVarezItem(w, item);
  if (!c) return;
  UiClearPopupItems(c);
  for (int32_t i = 1; i <= count; ++i) UiAppendPopupItem(c, name(i));
  UiSetControlMinimum(c, 1);
  UiSetControlMaximum(c, count);
}

const char* OutputItemName(int32_t item) { return GyrelleOutputModeName(OutputModeOfItem(item)); }

}  // namespace

int32_t OutputModeOfItem(int32_t item) { return item >= 1 ? OutputModeNumberAt(item - 1) : 0; }

int32_t ItemOfOutputMode(int32_t mode) {
  int32_t below = 1;
  for (int32_t i = 0; i < OutputModeNameCount(); ++i) {
    const int32_t m = OutputModeNumberAt(i);
    if (m == mode) return i + 1;
    if (m < mode) below = i + 1;
  }
  return below;
}

bool OutputModeIsRefused(int32_t mode) {
  return std::find(std::begin(kRefusedModes), std::end(kRefusedModes), mode) != std::end(kRefusedModes);
}

void FillModePopups(UiWindow* w) {
  Fill(w, 51, OutputModeNameCount(), OutputItemName);
  if (UiControl* c = GetVarezItem(w, 51))
    for (int32_t i = 1; i <= c->popupCount; ++i) UiSetPopupItemEnabled(c, i, !OutputModeIsRefused(OutputModeOfItem(i)));
  Fill(w, 12, kInputModeNameCount, InputModeNameOf);
  Fill(w, 73, 62, GlueModeKeyword);
  Fill(w, 21, kGraticuleNameCount, GraticuleNameOf);
  Fill(w, 52, 3, QualityName);
}
