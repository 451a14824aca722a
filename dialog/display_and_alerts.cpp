// The frame's side of the dialog: showing pixel maps in the current port,
// painting and flushing, alerts, the progress bar, and the registry of the
// dialog's view classes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "dialog/controls/angle_control.h"
#include "dialog/ColorSwatchView/color_swatch.h"
#include "dialog/controls/drag_button.h"
#include "dialog/controls/memory_well.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_run.h"
#include "dialog/dialog_services.h"
#include "dialog/nib_gyre.h"
#include "dialog/controls/proxy_view.h"
#include "dialog/window_services.h"
#include "dialog/zor_reply.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "frame/base/host_suites.h"
#include "dialog/frame_services.h"
#include "platform/preview_surface.h"
#include "platform/ui.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/host_port.h"
#include "platform/ui/services.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"
#include "pyramid/pyramid_pixels.h"

namespace {

void* g_proxyClass = nullptr;
void* g_pyramidClass = nullptr;
UiViewClass* g_swatchClass = nullptr;
UiViewClass* g_ballClass = nullptr;
UiViewClass* g_angleClass = nullptr;
UiViewClass* g_wellClass = nullptr;
UiViewClass* g_dragButtonClass = nullptr;

// A legacy stand-in progress window (a plain record) or a real one.
ProgressWindowStandIn* StandInProgress(Globals* g) {
  if (!g->progressWindow || UiWindowFromRef(g->progressWindow)) return nullptr;
  return static_cast<ProgressWindowStandIn*>(g->progressWindow);
}

}  // namespace

void RegisterDialogViewClasses() {
  RegisterTheExampleCustomView(&g_proxyClass);
  RegisterThePyramidViewCustomView(&g_pyramidClass);
  HIColorSwatchRegisterType(&g_swatchClass);
  HIBallControlRegisterType(&g_ballClass);
  HIAngleControlRegisterType(&g_angleClass);
  RegisterMemorywellEventHandlerCustomView(&g_wellClass);
  HIDragButtonRegisterType(&g_dragButtonClass);
}

void UnregisterDialogViewClasses() {
  UiUnregisterViewClass(static_cast<UiViewClass*>(g_proxyClass));
  UiUnregisterViewClass(static_cast<UiViewClass*>(g_pyramidClass));
  for (UiViewClass** cls : {&g_swatchClass, &g_ballClass, &g_angleClass, &g_wellClass, &g_dragButtonClass}) {
    UiUnregisterViewClass(*cls);
    *cls = nullptr;
  }
  g_proxyClass = g_pyramidClass = nullptr;
}

int32_t ShowOSAlertoid(const char* message, const char* explanation) {
  PlatformShowAlert(message, explanation);
  if (!UiGetFrontEnd()) return 1;
  return UiRunCautionAlert(message, explanation);
}

int16_t ShowVarezAlertoid(const char* windowName, ZorZReply* reply) {
  if (!windowName || !reply) return 0;
  reply->result = 0;
  if (!UiGetFrontEnd()) {
    PlatformShowWindow(windowName);
    return 0;
  }
  void* bundle = CreateTWBundle();
  UiWindow* w = bundle ? UiCreateWindow(FindGyreWindow(windowName)) : nullptr;
  if (!w) {
    ReleaseTWBundle(bundle);
    return 0;
  }
  InstallOKCancelWindowEventHandler(w, reply, kWindowKindNibAlert);
  UiShowWindow(w);
  UiSelectWindow(w);
  UiSetThemeCursor(kUiCursorArrow);
  UiRunAppModalLoopForWindow(w);
  UiDisposeWindow(w);
  ReleaseTWBundle(bundle);
  return reply->result;
}

void NullifyPICT_Memdot_Thumbnail(Globals* globals) {
  if (globals && globals->storage) globals->storage->memdotThumbnail = nullptr;
}

void MultiDepthDisplayPixels(Globals* globals, const PSPixelMap* map, const VRect* band, int32_t destRow,
                             int32_t destColumn) {
  FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  if (!fr || !map || !band || !fr->displayPixels) return;
  PSPixelMap copy = *map;
  if (copy.bounds.left > copy.bounds.right) std::swap(copy.bounds.left, copy.bounds.right);
  const int64_t rows = int64_t(copy.bounds.bottom) - copy.bounds.top;
  const bool wide = (fr->imageMode == kImageModeGray16 || fr->imageMode == kImageModeRGB48) && fr->depth == 16;
  const bool floats =
      !wide && (fr->imageMode == kImageModeRGB96 || fr->imageMode == kImageModeGray32 || fr->depth == 32);
  void* reduced = nullptr;
  BufferID reducedId = 0;
  if ((wide || floats) && copy.baseAddr && rows > 0) {
    const int64_t samples = rows * copy.rowBytes / (wide ? 2 : 4);
    reduced = RobustNewPtr(uint64_t(std::max<int64_t>(samples, 1)), &reducedId, fr->bufferProcs);
    // Without memory for the 8-bit copy nothing is shown this time.
    if (!reduced) return;
    auto* out = static_cast<uint8_t*>(reduced);
    const auto* in = static_cast<const uint8_t*>(copy.baseAddr);
    for (int64_t i = 0; i < samples; ++i) {
      if (wide) {
        uint16_t s;
        std::memcpy(&s, in + i * 2, 2);
        out[i] = uint8_t(std::min(s >> 7, 255));
      } else {
        float f;
        std::memcpy(&f, in + i * 4, 4);
        out[i] = make8from32f(f);
      }
    }
    const bool colour = fr->imageMode == kImageModeRGB48 || fr->imageMode == kImageModeRGB96;
    copy.imageMode = colour ? kImageModeRGB : kImageModeGray;
    copy.rowBytes /= wide ? 2 : 4;
    copy.baseAddr = reduced;
  }
  if (copy.baseAddr) {
    // The host paints into the port that platformData names: point it at
    // the window being drawn, clipped to what may be painted there.
    UiHostPort* port = UiHostPortFrom(fr->platformData);
    UiWindow* w = UiGetPort();
    if (port) {
      port->pixels = w ? w->canvas.pixels : nullptr;
      port->width = w ? w->canvas.width : 0;
      port->height = w ? w->canvas.height : 0;
      port->rowBytes = port->width * 4;
      port->clip = w ? UiCurrentClip(&w->canvas) : Rect{};
    }
    const OSErr16 shown = fr->displayPixels(&copy, band, destRow, destColumn, fr->platformData);
    // The stand-in surface of tests is no port a host knows: it is painted here.
    if (shown == 0 && !port && GetCurrentSurface())
      DrawPixelMapOnSurface(GetCurrentSurface(), &copy, band, destRow, destColumn);
    if (port) port->pixels = nullptr;
  }
  RobustDisposePtr(&reduced, &reducedId, fr->bufferProcs);
}

void FlushRect(void* port, const Rect* r) {
  if (!r) return;
  if (UiWindow* w = UiWindowFromRef(port)) {
    UiFrontEndWindowChanged(w);
    return;
  }
  if (IsPreviewSurface(port)) FlushSurfaceRect(static_cast<PreviewSurface*>(port), r);
}

void NuPaintWhiteRect(const Rect* r) {
  if (!r) return;
  if (UiWindow* w = UiGetPort()) {
    UiFillRect(&w->canvas, *r, kUiWhite);
    return;
  }
  FillSurfaceRect(GetCurrentSurface(), r, 255, 255, 255);
}

void MondoProgressUpdate(Globals* globals, int32_t done, int32_t total, int32_t layers) {
  const int64_t whole = int64_t(total) * layers;
  if (!globals || !globals->progressWindow || whole == 0) return;
  const auto value = int16_t((int64_t(globals->progressLayersDone) * total + done) * 1000 / whole);
  if (ProgressWindowStandIn* standIn = StandInProgress(globals)) {
    standIn->barValue = value;
    return;
  }
  SetControlValue_varez(globals->progressWindow, 1, value);
  // Long work lets the window draw and its Cancel button be pressed.
  UiPumpEvents();
}

void MondoProgressShowCancelling(Globals* globals) {
  CCUpdateProgressMulti(globals, 100, 100, 1);
  if (!globals || !globals->progressWindow) return;
  if (ProgressWindowStandIn* standIn = StandInProgress(globals))
    std::snprintf(standIn->text, sizeof standIn->text, "%s", "Cancelling...");
  else
    set_statictext_varez(globals->progressWindow, 2, "Cancelling...");
  if (globals->storage) globals->storage->exportCancelled = 1;
}
