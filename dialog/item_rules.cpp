#include "dialog/item_rules.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <iterator>

#include "dialog/associations.h"
#include "dialog/custom_hooks.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_services.h"
#include "dialog/preview_mechanics.h"
#include "dialog/controls/proxy_view.h"
#include "dialog/window_services.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "frame/pass_rects.h"  // the preview's rectangles are those of the frame's current pass
#include "frame/base/host_suites.h"
#include "frame/base/random.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polyhedron/polyhedron_predicates.h"
#include "projection/nets/florets_basis.h"
#include "projection/inverse/special_views.h"
#include "platform/ui/window.h"

namespace {

bool StrictKindCounts(int16_t item) {
  const int32_t k = GetStrictItemType(item);
  return k == 0 || k == 2 || (k >= 3 && k <= 14) || k == 17 || k == 20 || k == 21 || k == 23;
}

bool IsMemoryDotItem(const Globals* globals, int16_t item) {
  return GetStrictItemType(item) == ItemKind_MemoryDot || (globals && globals->storage && MemdotIndex(globals, item) >= 0);
}

void StashAndName(Globals* globals, void* window, uint8_t* refresh) {
  Settings2Controls(globals, window, 0);
  *refresh = 1;
}

bool InList(int32_t v, std::initializer_list<int32_t> list) {
  return std::find(list.begin(), list.end(), v) != list.end();
}

}  // namespace

int32_t UndoWorthy(int16_t item, Globals* globals) {
  if (InList(item, {2, 3, 5, 15, 30, 32, 33, 34, 74})) return 0;
  if (item == 35) return 2;
  if (item == 26) return 0;
  if (item == 777) return 1;
  if (IsMemoryDotItem(globals, item)) {
    const bool control = globals && globals->controlKeyDown;
    return MemdotIsFullOrCurrent(globals, item) && !control ? 2 : 0;
  }
  if (item == 98 && globals && globals->storage && globals->storage->hoverMemdot != -1) return 2;
  if (item == 18) return 1;
  return StrictKindCounts(item) ? 1 : 0;
}

int32_t ProvokesRefresh(int16_t item) {
  if (item == 30) return 1;
  if (InList(item, {2, 3, 5, 26, 35})) return 0;
  if (item == 18) return 1;
  return StrictKindCounts(item) ? 1 : 0;
}

int32_t MagicProvocation(int16_t item) { return ProvokesRefresh(item); }

int32_t WarrantsHardRefreshWhileAutoPreviewingIsOff(int16_t item) {
  return InList(item, {18, 26, 32, 33, 34, 35, 777}) ? 1 : 0;
}

bool ItsASwatch(int16_t item) { return GetStrictItemType(item) == ItemKind_Swatch; }

void MagicSwatches(Globals*, void*, int16_t item, uint8_t* refresh) {
  if (ItsASwatch(item)) *refresh = 1;
}

void UndoSnapshot(Globals* globals, int32_t writeFile) {
  InvocationStorage* s = globals ? globals->storage : nullptr;
  if (!s || !Params(globals)) return;
  globals->undoSlot ^= 1;
  UndoSnapshotSlot& slot = s->undoSlots[globals->undoSlot];
  DoTheFerret(&slot.settings, globals, 0);
  slot.writtenToFile = writeFile ? uint8_t(WriteUndoFile(globals, globals->undoSlot)) : 0;
  slot.holdsSnapshot = 1;
}

void UndoMe(Globals* globals, void* window, int16_t item, uint8_t* refresh) {
  InvocationStorage* s = globals ? globals->storage : nullptr;
  if (!s) return;
  if (item == 74) {
    const int32_t before = globals->undoSlot ^ 1;
    UndoSnapshotSlot& slot = s->undoSlots[before];
    if (slot.holdsSnapshot) {
      DoTheFerret(&slot.settings, globals, 1);
      if (slot.writtenToFile) ReadUndoFile(globals, before);
      globals->undoSlot ^= 1;
    }
    StashAndName(globals, window, refresh);
    return;
  }
  if (UndoWorthy(item, globals) == 0) return;
  if (IsMemoryDotItem(globals, item)) return;
  DemoteCurrentMemdots(globals, window);
}

void RandomizeSettings(Globals* globals) {
  TParameters* p = Params(globals);
  if (!p) return;
  p->twirlXInt = RandomRange(0, 180) - 90;
  p->twirlYInt = RandomRange(0, 180) + RandomRange(0, 180) - 180;
  p->twirlSpinInt = RandomRange(0, 180) + RandomRange(0, 180) - 180;
  p->twirlX = float(p->twirlXInt);
  p->twirlY = float(p->twirlYInt);
  p->twirlSpin = float(p->twirlSpinInt);
}

void RandomizeSettingsConstrained(Globals* globals) {
  TParameters* p = Params(globals);
  if (!p) return;
  p->twirlXInt = RandomRange(0, 2) * 90 - 90;
  p->twirlYInt = RandomRange(0, 3) * 90 - 180;
  p->twirlSpinInt = RandomRange(0, 3) * 90 - 180;
  p->twirlX = float(p->twirlXInt);
  p->twirlY = float(p->twirlYInt);
  p->twirlSpin = float(p->twirlSpinInt);
}

void GetRandomName(Globals* globals) {
  if (TParameters* p = Params(globals)) std::snprintf(p->settingsName, sizeof p->settingsName, "random settings");
}

void RandomizeIt(Globals* globals, void* window, int16_t item, uint8_t* refresh) {
  TParameters* p = Params(globals);
  if (!p) return;
  switch (item) {
    case 81:
      p->glueMode = p->glueMode + 1 > 62 ? 1 : p->glueMode + 1;
      break;
    case 13:
      p->graticule = std::max(p->graticule, 1) + 1;
      if (p->graticule > 7) p->graticule = 1;
      break;
    case 110:
      p->previewQuality = std::max(p->previewQuality, 1) + 1;
      if (p->previewQuality > 3) p->previewQuality = 1;
      break;
    case 94:
      p->outputMode = p->outputMode + 1 > 289 ? 1 : p->outputMode + 1;
      break;
    case 97:
      p->inputMode = p->inputMode + 1 > 30 ? 1 : p->inputMode + 1;
      break;
    case 72:
    case 46:
      if (item == 72)
        RandomizeSettings(globals);
      else
        RandomizeSettingsConstrained(globals);
      StashAndName(globals, window, refresh);
      GetRandomName(globals);
      set_statictext_varez(window, 76, p->settingsName);
      return;
    default:
      return;
  }
  StashAndName(globals, window, refresh);
}

void Straighten(Globals* globals, void* window, int16_t item, uint8_t* refresh) {
  TParameters* p = Params(globals);
  if (item != 75 || !p) return;
  p->twirlXInt = p->twirlYInt = p->twirlSpinInt = 0;
  p->twirlX = p->twirlY = p->twirlSpin = 0;
  StashAndName(globals, window, refresh);
}

void Handle3Zoomers(Globals* globals, void* window, int16_t item, uint8_t* refresh) {
  TParameters* p = Params(globals);
  if (!p || HostIsIncapableOfZooming(globals->filterRecord)) return;
  const int32_t old = p->previewScale;
  bool zoomed = false;
  if (item == 33 && old < globals->maxPreviewScale) {
    PreserveProxyCentering(globals, old, old + 1);
    p->previewScale = old + 1;
    if (p->previewScale == globals->maxPreviewScale) p->previewOffsetH = p->previewOffsetV = 0;
    zoomed = true;
  } else if (item == 32 && old >= 2) {
    PreserveProxyCentering(globals, old, old - 1);
    p->previewScale = old - 1;
    zoomed = true;
  } else if (item == 34) {
    PreserveProxyCentering(globals, old, 1);
    p->previewScale = 1;
    zoomed = true;
  }
  if (zoomed) {
    SetUpFilterRecordForProxy(globals, p->previewScale);
    p->zoomersDirty = 1;
    *refresh = 1;
  }
  StandbyCursorForVarezGUI(window, false);
}

void FixZoomers(void* window, Globals* globals) {
  TParameters* p = Params(globals);
  InvocationStorage* s = globals ? globals->storage : nullptr;
  if (!p || !s) return;
  const bool can = !HostIsIncapableOfZooming(globals->filterRecord);
  s->itemUsable[33] = can && p->previewScale < globals->maxPreviewScale;
  s->itemUsable[32] = can && p->previewScale >= 2;
  s->itemUsable[34] = can && !(globals->maxPreviewScale == 1 && p->previewScale == 1);
  fixlite(33, window, globals);
  fixlite(32, window, globals);
  fixlite(34, window, globals);
  char title[16];
  std::snprintf(title, sizeof title, "%d%%", 100 / std::max(1, p->previewScale));
  SetControlTitleVarezCString(window, 34, title);
  p->zoomersDirty = 0;
}

void MaybeFixZoomers(void* window, Globals* globals) {
  const TParameters* p = Params(globals);
  if (p && p->zoomersDirty == 1) FixZoomers(window, globals);
}

void MakeEverythingUsable(Globals* globals) {
  if (!globals || !globals->storage) return;
  std::fill(std::begin(globals->storage->itemUsable), std::end(globals->storage->itemUsable), 1);
}

void HiliteLogic(int32_t mode, Globals* globals) {
  InvocationStorage* s = globals ? globals->storage : nullptr;
  if (!s) return;
  bool angle = !InList(mode, {83, 86, 87, 89, 90, 91, 94, 99, 137});
  bool tabs = IsExportablePolyhedron(mode);
  if (InList(mode, {70, 71, 72, 175, 176, 289, 290, 291}) || (mode >= 256 && mode <= 262) ||
      (mode >= 1035 && mode <= 1041) || (mode >= 1047 && mode <= 1049))
    angle = tabs = false;
  if (mode >= 177 && mode <= 198) tabs = true, angle = false;
  if (OutputModeIsARollout(mode) || OutputModeIsAVoronoi(mode) || OutputModeIsATruchetDual(mode))
    angle = tabs = false;
  if (mode == 288) tabs = false, angle = true;
  if (InList(mode, {159, 160, 172, 173})) angle = tabs = false;
  if (IsFloretWithPolyhedronBasis(mode)) angle = tabs = false;
  if (IsMultiview(mode)) angle = true;
  for (int i : {58, 59, 92}) s->itemUsable[i] = tabs;
  for (int i : {102, 103, 104}) s->itemUsable[i] = angle;
  for (int i : {70, 73, 81}) s->itemUsable[i] = 1;
  s->itemUsable[83] = IsExportablePolyhedron(mode);
  s->itemUsable[54] = s->itemUsable[105] = IsPolyhedron(mode);
}

void SetHilites(int32_t, void* window, Globals* globals) {
  const TParameters* p = Params(globals);
  if (!p) return;
  HiliteLogic(p->outputMode, globals);
  for (int16_t item : {59, 103, 92, 104, 58, 102, 83, 105}) fixlite(item, window, globals);
  // A script that asks for the export of a mode without one is told why.
  if (UiControl* c = GetVarezItem(window, 83)) c->dimmedReason = PolyhedronExportRefusal(p->outputMode);
}

void SetGlueHilite(void* window, Globals* globals) {
  const FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  if (!fr || !globals->storage) return;
  const bool floats = fr->imageMode == kImageModeRGB96 || fr->imageMode == kImageModeGray32 || fr->depth == 32;
  if (!floats) return;
  for (int16_t item : {73, 70, 81}) {
    globals->storage->itemUsable[item] = 0;
    fixlite(item, window, globals);
  }
}

void fixlite(int16_t item, void* window, Globals* globals) {
  if (!globals || !globals->storage || item < 0 || item >= kDialogItemCount) return;
  if (UiControl* c = GetVarezItem(window, item)) UiActivateControl(c, globals->storage->itemUsable[item] == 1);
}
