#include "dialog/controls/memory_well.h"

#include <cstring>
#include <iterator>

#include "dialog/drag_and_drop.h"
#include "dialog/nib_gyre.h"
#include "dialog/zor_reply.h"
#include "frame/globals.h"  // the well finds the invocation on its control and reads its hover state
#include "platform/picture.h"
#include "platform/ui/canvas.h"
#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/theme_draw.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"

namespace {

constexpr FourCC kPropGlobals = MakeFourCC("GLOB");
constexpr FourCC kPropButtonContent = MakeFourCC("BUTT");
constexpr uint32_t kUiControlDragEnter = 18, kUiControlDragWithin = 19, kUiControlDragLeave = 20,
                   kUiControlDragReceive = 21;

struct WellInstance {
  UiControl* view;
  float halfWidth, halfHeight;
  Globals* globals;
  float lastX, lastY;
  void* trackingArea;
  uint8_t dragged;
  uint8_t dropHighlight;
};

const UiEventTypeSpec kWellEvents[] = {
    {kUiClassObject, kUiObjectConstruct}, {kUiClassObject, kUiObjectInitialize}, {kUiClassObject, kUiObjectDestruct},
    {kUiClassControl, kUiControlHitTest}, {kUiClassControl, kUiControlDragEnter}, {kUiClassControl, kUiControlDragWithin},
    {kUiClassControl, kUiControlDragLeave}, {kUiClassControl, kUiControlDragReceive}, {kUiClassControl, kUiControlClick},
    {kUiClassControl, kUiControlTrack},   {kUiClassControl, kUiControlDraw},
};

UiDrag* DragOf(const UiEvent* e) {
  UiDrag* drag = nullptr;
  UiGetEventParameter(e, MakeFourCC("drag"), MakeFourCC("drag"), sizeof drag, &drag);
  return drag;
}

void DrawWell(WellInstance* well, UiCanvas* cv) {
  UiControl* c = well->view;
  const Rect& b = c->bounds;
  UiDrawThemeGenericWell(cv, b, well->dropHighlight != 0);
  if (well->dropHighlight)
    UiDrawThemeFocusRect(cv, Rect{int16_t(b.top + 3), int16_t(b.left + 3), int16_t(b.bottom - 3), int16_t(b.right - 3)});
  ButtonContent content{};
  if (UiGetControlProperty(c, kPluginCreator, kPropButtonContent, sizeof content, &content) != kUiNoErr) return;
  if (content.kind != kContentPicture || !content.handle) return;
  const auto* pic = static_cast<const RGBPicture*>(content.handle);
  if (!pic->rgb || pic->width <= 0 || pic->height <= 0) return;
  // 16-bit components to 8-bit pixels, then drawn into 88 x 88 in the middle.
  static uint8_t pixels[128 * 128 * 3];
  const int32_t w = pic->width < 128 ? pic->width : 128, h = pic->height < 128 ? pic->height : 128;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      for (int k = 0; k < 3; ++k)
        pixels[(y * w + x) * 3 + k] = uint8_t(pic->rgb[(size_t(y) * size_t(pic->width) + size_t(x)) * 3 + size_t(k)] >> 8);
  const int16_t cx = int16_t((b.left + b.right) / 2), cy = int16_t((b.top + b.bottom) / 2);
  UiDrawImage(cv, pixels, w, h, w * 3, 3, Rect{int16_t(cy - 44), int16_t(cx - 44), int16_t(cy + 44), int16_t(cx + 44)});
}

}  // namespace

UiStatus Track_memorywell(UiEvent* e, int16_t* part, UiControl* well) {
  Globals* g = nullptr;
  UiGetControlProperty(well, kPluginCreator, kPropGlobals, sizeof g, &g);
  UiPoint p{0, 0};
  UiGetEventParameter(e, kUiParamMouseLocation, kUiTypePoint, sizeof p, &p);
  const UiPoint inWindow{p.x + well->bounds.left, p.y + well->bounds.top};
  if (g && g->storage && g->storage->hoverMemdot != -1 && UiWaitMouseMoved(well->window, inWindow)) {
    PerformDragFromControl(well, kSettingsFileType, kSettingsFileCreator, kDragItemMemoryDot, kDragKindMemoryDot);
    *part = 0;
    return kUiNoErr;
  }
  *part = kViewPartWell;
  return kUiEventNotHandled;
}

UiStatus MemorywellEventHandler(UiHandlerCall* call, UiEvent* e, void* data) {
  if (e->eventClass == kUiClassObject) {
    if (e->kind == kUiObjectConstruct) {
      void* control = nullptr;
      UiGetEventParameter(e, kUiParamInstance, kUiTypeVoidPtr, sizeof control, &control);
      auto* well = new WellInstance{};
      well->view = static_cast<UiControl*>(control);
      void* instance = well;
      UiSetEventParameter(e, kUiParamInstance, kUiTypeVoidPtr, sizeof instance, &instance);
      return kUiNoErr;
    }
    auto* well = static_cast<WellInstance*>(data);
    if (e->kind == kUiObjectInitialize) {
      const UiStatus st = UiCallNextEventHandler(call, e);
      const Rect& b = well->view->bounds;
      well->halfWidth = float(b.right - b.left) / 2;
      well->halfHeight = float(b.bottom - b.top) / 2;
      UiSetControlVisibility(well->view, true);
      return st == kUiEventNotHandled ? kUiNoErr : st;
    }
    if (e->kind == kUiObjectDestruct) {
      delete well;
      return kUiNoErr;
    }
    return kUiEventNotHandled;
  }
  auto* well = static_cast<WellInstance*>(data);
  if (e->eventClass != kUiClassControl || !well) return kUiEventNotHandled;
  UiControl* c = well->view;
  switch (e->kind) {
    case kUiControlHitTest: {
      UiPoint p{0, 0};
      UiGetEventParameter(e, kUiParamMouseLocation, kUiTypePoint, sizeof p, &p);
      const int16_t part = p.x >= 0 && p.y >= 0 && p.x < c->bounds.right - c->bounds.left &&
                                   p.y < c->bounds.bottom - c->bounds.top
                               ? kViewPartWell
                               : 0;
      UiSetEventParameter(e, kUiParamPart, kUiTypeInt16, sizeof part, &part);
      return kUiNoErr;
    }
    case kUiControlDraw: {
      UiCanvas* cv = nullptr;
      UiGetEventParameter(e, kUiParamContext, kUiTypePointer, sizeof cv, &cv);
      if (cv) DrawWell(well, cv);
      return kUiNoErr;
    }
    case kUiControlClick:
      well->dragged = 0;
      return kUiEventNotHandled;
    case kUiControlDragEnter:
      if (DragRefContainsAtLeastOnePreset(DragOf(e))) {
        const unsigned char yes = 1;
        UiSetEventParameter(e, MakeFourCC("cldg"), MakeFourCC("bool"), 1, &yes);
        well->dropHighlight = 1;
        UiInvalidateControl(c);
      }
      return kUiNoErr;
    case kUiControlDragWithin:
      return kUiNoErr;
    case kUiControlDragLeave:
      well->dropHighlight = 0;
      UiInvalidateControl(c);
      return kUiNoErr;
    case kUiControlDragReceive:
      HandleDropInMemorywell(c, DragOf(e));
      well->dropHighlight = 0;
      UiInvalidateControl(c);
      return kUiNoErr;
    case kUiControlTrack: {
      int16_t part = 0;
      const UiStatus st = Track_memorywell(e, &part, c);
      UiSetEventParameter(e, kUiParamPart, kUiTypeInt16, sizeof part, &part);
      return st;
    }
    default:
      return kUiEventNotHandled;
  }
}

UiStatus RegisterMemorywellEventHandlerCustomView(UiViewClass** classRef) {
  return UiRegisterViewClass(kMemoryWellClassID, kUiBaseViewClassID, int32_t(std::size(kWellEvents)), kWellEvents,
                             MemorywellEventHandler, nullptr, classRef);
}

void AttachPICTHandleToBevelButton(void* window, int16_t item, void* picture) {
  UiControl* c = nullptr;
  if (UiWindow* w = UiWindowFromRef(window)) UiGetControlByID(w, UiControlID{kItemSignature, item}, &c);
  if (!c) return;
  const ButtonContent content{kContentPicture, picture};
  UiSetControlProperty(c, kPluginCreator, kPropButtonContent, sizeof content, &content);
  UiInvalidateControl(c);
}
