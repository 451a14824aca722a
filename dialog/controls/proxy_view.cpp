#include "dialog/controls/proxy_view.h"

#include <algorithm>
#include <iterator>

#include "dialog/dialog_controls.h"
#include "dialog/dialog_services.h"
#include "dialog/nib_gyre.h"
#include "dialog/preview_mechanics.h"
#include "dialog/window_services.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "frame/base/host_rects.h"
#include "frame/pass_rects.h"  // the preview's rectangles are those of the frame's current pass
#include "platform/memory.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"

namespace {

constexpr int16_t kPartContent = 10;

const UiEventTypeSpec kViewEvents[] = {
    {kUiClassObject, kUiObjectConstruct},       {kUiClassObject, kUiObjectInitialize},
    {kUiClassObject, kUiObjectDestruct},        {kUiClassControl, kUiControlHitTest},
    {kUiClassControl, kUiControlClick},         {kUiClassControl, kUiControlDraw},
    {kUiClassControl, kUiControlTrack},         {kUiClassControl, kUiControlTrackingAreaEntered},
    {kUiClassControl, kUiControlTrackingAreaExited},
};

float Clamp4(float v, float size) { return std::clamp(v, 4.0f, std::max(4.0f, size - 4.0f)); }

void DrawWell(UiCanvas* cv, const Rect& b) {
  UiStrokeRect(cv, b, UiColor{0, 0, 0, 102}, 3);
  const Rect inner{int16_t(b.top + 3), int16_t(b.left + 3), int16_t(b.bottom - 3), int16_t(b.right - 3)};
  UiFillRect(cv, inner, UiColor{255, 255, 255, 255});
  UiStrokeRect(cv, inner, UiColor{160, 160, 160, 255}, 1);
}

void Track(SpotViewInstance* self, UiEvent* e, bool pyramid) {
  UiControl* view = self->view;
  UiWindow* w = view->window;
  FetchGlobalsFromControl(view, &self->globals);
  Globals* g = self->globals;
  UiPoint p{0, 0};
  UiGetEventParameter(e, kUiParamMouseLocation, kUiTypePoint, sizeof p, &p);
  self->lastX = p.x;
  self->lastY = p.y;
  const float width = float(view->bounds.right - view->bounds.left);
  const float height = float(view->bounds.bottom - view->bounds.top);
  bool panned = false;
  for (;;) {
    if (p.x >= 0 && p.y >= 0 && p.x < width && p.y < height) {
      self->spotX = Clamp4(p.x, width);
      self->spotY = Clamp4(p.y, height);
      UiInvalidateControl(view);
    }
    UiPoint at{0, 0};
    bool released = false;
    UiTrackMouseLocation(w, &at, &released);
    p = UiPoint{at.x - float(view->bounds.left), at.y - float(view->bounds.top)};
    if (released) break;
    UiSetThemeCursor(kUiCursorClosedHand);
    TParameters* params = Params(g);
    const bool wholeImage = params && params->previewScale == g->defaultPreviewScale;
    if (!pyramid && params && !wholeImage) {
      const auto dx = int32_t((p.x - self->lastX) * float(params->previewScale));
      const auto dy = int32_t((p.y - self->lastY) * float(params->previewScale));
      if (dx != 0 || dy != 0) {
        params->previewOffsetH -= dx;
        params->previewOffsetV -= dy;
        ResetProxyAndRepaintUnfiltered(g, view);
        panned = true;
      }
    }
    if (pyramid || !wholeImage) {
      self->lastX = p.x;
      self->lastY = p.y;
    }
    self->dragged = 1;
  }
  if (g && !self->dragged) {
    HandleClickInVarezProxy(w, 18, g, &p, 0);
    SendControlHasBeenClickedEvent(view);
    UiSetThemeCursor(kUiCursorOpenHand);
  } else if (g && panned) {
    // The pan showed the unfiltered input; once the drag ends the preview
    // is rendered again, as after any other change.
    SendControlHasBeenClickedEvent(view);
    UiSetThemeCursor(kUiCursorOpenHand);
  }
}

}  // namespace

UiStatus CustomSpotViewHandler_core(UiHandlerCall* call, UiEvent* e, void* data, bool pyramid) {
  auto* self = static_cast<SpotViewInstance*>(data);
  if (e->eventClass == kUiClassObject) {
    switch (e->kind) {
      case kUiObjectConstruct: {
        UiControl* view = nullptr;
        if (UiGetEventParameter(e, kUiParamInstance, kUiTypeVoidPtr, sizeof view, &view) != kUiNoErr)
          return kUiParamErr;
        auto* made = static_cast<SpotViewInstance*>(NewPtrClear(sizeof(SpotViewInstance)));
        if (!made) return kUiNoMemory;
        made->view = view;
        void* instance = made;
        UiSetEventParameter(e, kUiParamInstance, kUiTypeVoidPtr, sizeof instance, &instance);
        return kUiNoErr;
      }
      case kUiObjectInitialize: {
        const UiStatus base = UiCallNextEventHandler(call, e);
        if (base != kUiNoErr) return base;
        const Rect& b = self->view->bounds;
        *self = SpotViewInstance{self->view, float(b.right - b.left) / 2, float(b.bottom - b.top) / 2, nullptr, 0, 0, nullptr, 0};
        self->trackingArea = self->view;
        return kUiNoErr;
      }
      case kUiObjectDestruct:
        self->trackingArea = nullptr;
        DisposePtr(self);
        return kUiEventNotHandled;
      default:
        return kUiEventNotHandled;
    }
  }
  if (e->eventClass != kUiClassControl || !self) return kUiEventNotHandled;
  switch (e->kind) {
    case kUiControlHitTest: {
      UiPoint p{0, 0};
      UiGetEventParameter(e, kUiParamMouseLocation, kUiTypePoint, sizeof p, &p);
      const Rect& b = self->view->bounds;
      const int16_t part = p.x >= 0 && p.y >= 0 && p.x < b.right - b.left && p.y < b.bottom - b.top ? kPartContent : 0;
      UiSetEventParameter(e, kUiParamPart, kUiTypeInt16, sizeof part, &part);
      return kUiNoErr;
    }
    case kUiControlDraw: {
      UiCanvas* cv = nullptr;
      UiGetEventParameter(e, kUiParamContext, kUiTypePointer, sizeof cv, &cv);
      if (cv) DrawWell(cv, self->view->bounds);
      FetchGlobalsFromControl(self->view, &self->globals);
      if (!pyramid && self->globals) ShowOutputBufferWithinVarezHiView(self->view, 1, self->globals);
      return kUiNoErr;
    }
    case kUiControlClick:
      self->dragged = 0;
      return kUiEventNotHandled;
    case kUiControlTrackingAreaEntered:
      UiSetThemeCursor(kUiCursorOpenHand);
      return kUiEventNotHandled;
    case kUiControlTrackingAreaExited:
      UiSetThemeCursor(kUiCursorArrow);
      return kUiEventNotHandled;
    case kUiControlTrack: {
      Track(self, e, pyramid);
      // The view sent its own command for a click; the layer adds none.
      const int16_t part = 0;
      UiSetEventParameter(e, kUiParamPart, kUiTypeInt16, sizeof part, &part);
      return kUiNoErr;
    }
    default:
      return kUiEventNotHandled;
  }
}

UiStatus CustomSpotViewHandler(UiHandlerCall* call, UiEvent* e, void* data) {
  return CustomSpotViewHandler_core(call, e, data, false);
}

UiStatus CustomPyramidViewHandler(UiHandlerCall* call, UiEvent* e, void* data) {
  return CustomSpotViewHandler_core(call, e, data, true);
}

void RegisterTheExampleCustomView(void** classRef) {
  UiViewClass* cls = nullptr;
  UiRegisterViewClass(kProxyViewClassID, kUiBaseViewClassID, int32_t(std::size(kViewEvents)), kViewEvents,
                      CustomSpotViewHandler, nullptr, &cls);
  if (classRef) *classRef = cls;
}

void RegisterThePyramidViewCustomView(void** classRef) {
  UiViewClass* cls = nullptr;
  UiRegisterViewClass(kPyramidViewClassID, kUiBaseViewClassID, int32_t(std::size(kViewEvents)), kViewEvents,
                      CustomPyramidViewHandler, nullptr, &cls);
  if (classRef) *classRef = cls;
}

void ShowOutputBufferWithinVarezHiView(UiControl* control, int32_t useOutput, Globals* g) {
  const FilterRecord* fr = g ? g->filterRecord : nullptr;
  if (!control || !fr) return;
  // While an export renders its layers the host's rectangles and buffers are
  // the layer's, not the preview's: the preview is drawn again once the
  // export has put them back.
  const TParameters* p = Params(g);
  if (p && p->runMode == RunMode_ExportLayer) return;
  const Rect& r = useOutput ? fr->outRect : fr->inRect;
  PSPixelMap map{};
  map.version = 1;
  map.bounds = VRect{r.top, r.left, r.bottom, r.right};
  map.imageMode = fr->imageMode;
  map.rowBytes = useOutput ? fr->outRowBytes : fr->inRowBytes;
  map.colBytes = useOutput ? int32_t(fr->outHiPlane) - fr->outLoPlane + 1 : int32_t(fr->inHiPlane) - fr->inLoPlane + 1;
  map.planeBytes = 1;
  map.baseAddr = useOutput ? fr->outData : fr->inData;
  const Rect& b = control->bounds;
  int32_t destRow = b.top, destCol = b.left;
  const int32_t w = int32_t(r.right) - r.left, h = int32_t(r.bottom) - r.top;
  if (w < b.right - b.left) destCol += (b.right - b.left - w) / 2;
  if (h < b.bottom - b.top) destRow += (b.bottom - b.top - h) / 2;
  UiWindow* saved = UiGetPort();
  UiSetPort(control->window);
  const VRect band = map.bounds;
  MultiDepthDisplayPixels(g, &map, &band, destRow, destCol);
  UiSetPort(saved);
}

void CopeWithProxiesSizeChange(void* window) {
  UiControl* preview = GetVarezItem(window, 18);
  Globals* g = nullptr;
  FetchGlobalsFromControl(preview, &g);
  TParameters* p = Params(g);
  if (!g || !p || !g->filterRecord) return;
  g->previewItemRect = preview->bounds;
  DetermineBiggestProxyRect(&g->filterRecord->filterRect, &g->previewItemRect, &g->proxyRect);
  int32_t scale = 1;
  CalcDefaultProxyScaleFactor(&g->filterRecord->filterRect, &g->previewItemRect, &scale, &g->defaultPreviewScale,
                              g->filterRecord);
  g->maxPreviewScale = g->defaultPreviewScale;
  if (p->previewScale >= g->defaultPreviewScale) p->previewOffsetH = p->previewOffsetV = 0;
  p->zoomersDirty = 1;
}

void ResetProxyAndRepaintUnfiltered(Globals* g, UiControl* control) {
  TParameters* p = Params(g);
  if (!g || !control || !p) return;
  ClampProxyOffsets(g, p->previewScale);
  SetUpFilterRecordForProxy(g, p->previewScale);
  if (control->window) UiSetThemeCursor(kUiCursorClosedHand);
  if (g->result == 0) DuplicateSource(g);
  UiInvalidateControl(control);
}
