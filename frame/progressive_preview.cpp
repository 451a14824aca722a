#include "frame/progressive_preview.h"

#include <algorithm>
#include <iterator>

#include "dialog/dialog_services.h"
#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "platform/preview_surface.h"
#include "platform/ui/window.h"

namespace {

// These hosts redraw slowly: paint every hundredth row only.
constexpr FourCC kSlowHosts[] = {MakeFourCC("8BIM"), MakeFourCC("8ELE")};
constexpr int32_t kSlowHostRowStep = 100;

bool IsSlowHost(FourCC sig) {
  return std::find(std::begin(kSlowHosts), std::end(kSlowHosts), sig) != std::end(kSlowHosts);
}

void PaintWhiteUnlessEmpty(int16_t top, int16_t left, int16_t bottom, int16_t right) {
  if (top >= bottom || left >= right) return;
  const Rect r{top, left, bottom, right};
  NuPaintWhiteRect(&r);
}

}  // namespace

void MaybeUpdateProgressivePreview(Globals* globals, int32_t row) {
  const FilterRecord* fr = globals->filterRecord;
  if (IsSlowHost(fr->hostSig) && row % kSlowHostRowStep != kSlowHostRowStep - 1) return;
  const TParameters* p = Params(globals);
  if (!uses_previews(fr) || !p || p->runMode != RunMode_Preview) return;
  Xarvox(globals, row, kPreviewItemId);
}

void Xarvox(Globals* globals, int32_t row, int16_t itemId) {
  if (!globals) return;
  // The stand-in surface of tests holds its one item itself.
  if (IsPreviewSurface(globals->dialogWindow)) {
    auto* surface = static_cast<PreviewSurface*>(globals->dialogWindow);
    PreviewControl* item = FindPreviewControl(surface, itemId);
    if (!item) return;
    PreviewSurface* saved = GetCurrentSurface();
    SetCurrentSurface(surface);
    Xarvox_core(globals, row, surface, item->bounds, surface, saved);
    return;
  }
  UiControl* item = GetVarezItem(globals->dialogWindow, itemId);
  UiWindow* window = UiControlOwner(item);
  // No dialog on screen: nothing to paint into.
  if (!item || !window) return;
  UiWindow* saved = UiGetPort();
  UiSetPort(window);
  Xarvox_core(globals, row, window, item->bounds, window, saved);
}

void Xarvox_core(Globals* globals, int32_t row, void* window, Rect bounds, void* port, void* savedPort) {
  (void)window;
  const FilterRecord* fr = globals->filterRecord;
  InvocationStorage* s = globals->storage;
  const Rect& out = fr->outRect;
  int32_t itemH = int32_t(bounds.bottom) - bounds.top;
  int32_t itemW = int32_t(bounds.right) - bounds.left;
  const int32_t outH = int32_t(out.bottom) - out.top;
  const int32_t outW = int32_t(out.right) - out.left;

  PSPixelMap map{};
  map.version = 1;
  map.bounds = VRect{out.top, out.left, out.bottom, out.right};
  map.imageMode = fr->imageMode;
  map.rowBytes = fr->outRowBytes;
  map.colBytes = int32_t(fr->outHiPlane) - fr->outLoPlane + 1;
  map.planeBytes = 1;
  map.baseAddr = fr->outData;

  // An item larger than the image shows it centred, with white margins
  // painted once, at the first row.
  if (itemH > outH) {
    const auto newTop = int16_t(bounds.top + (itemH - outH) / 2);
    if (row == 0) {
      PaintWhiteUnlessEmpty(bounds.top, bounds.left, newTop, bounds.right);
      PaintWhiteUnlessEmpty(int16_t(newTop + outH), bounds.left, bounds.bottom, bounds.right);
    }
    bounds.top = newTop;
    bounds.bottom = int16_t(newTop + outH);
    itemH = outH;
  }
  if (itemW > outW) {
    const auto newLeft = int16_t(bounds.left + (itemW - outW) / 2);
    if (row == 0) {
      PaintWhiteUnlessEmpty(bounds.top, bounds.left, bounds.bottom, newLeft);
      PaintWhiteUnlessEmpty(bounds.top, int16_t(newLeft + outW), bounds.bottom, bounds.right);
    }
    bounds.left = newLeft;
    bounds.right = int16_t(newLeft + outW);
    itemW = outW;
  }
  if (s->progressivePreviewRows == 0) FlushRect(port, &bounds);

  // The band of the output buffer not shown yet, up to the row just rendered;
  // an item smaller than the image shows the image's middle.
  const int32_t top0 = out.top + (outH > itemH ? (outH - itemH) / 2 : 0);
  const int32_t left = out.left + (outW > itemW ? (outW - itemW) / 2 : 0);
  const VRect band{std::max<int32_t>(top0 + s->progressivePreviewRows, out.top), left,
                   // Never below the item: the rows past it belong to other controls.
                   std::min({top0 + row, int32_t(out.bottom), top0 + itemH}), left + itemW};
  const int32_t destRow = bounds.top + s->progressivePreviewRows;
  if (band.bottom > band.top) {
    s->progressivePreviewRows = band.bottom - top0;
    MultiDepthDisplayPixels(globals, &map, &band, destRow, bounds.left);
    const Rect shown{int16_t(destRow), bounds.left, int16_t(destRow + (band.bottom - band.top)),
                     int16_t(bounds.left + (band.right - band.left))};
    FlushRect(port, &shown);
  }
  if (IsPreviewSurface(port))
    SetCurrentSurface(static_cast<PreviewSurface*>(savedPort));
  else
    UiSetPort(UiWindowFromRef(savedPort));
}
