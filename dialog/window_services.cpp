#include "dialog/window_services.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "dialog/button_icons_table.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_run.h"
#include "dialog/dialog_services.h"
#include "dialog/nib_gyre.h"
#include "dialog/preview_mechanics.h"
#include "dialog/controls/proxy_view.h"
#include "dialog/zor_reply.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "dialog/frame_services.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/icons.h"
#include "platform/ui/services.h"
#include "platform/ui/window.h"

namespace {

// The definitions are built in: the bundle always opens.
int32_t g_bundleToken = 1;

constexpr FourCC kTagGlobals = MakeFourCC("GLOB");
constexpr FourCC kTagReply = MakeFourCC("Zuzr");
constexpr FourCC kTagButtonContent = MakeFourCC("BUTT");

struct IconRow {
  int16_t item;
  const char* file;
  const char* type;
};

constexpr IconRow kIcons[] = {
    {96, "iphoto3", "iPho"},   {75, "factory2", "Stra"}, {65, "cubemap", "cubE"},
    {83, "exportfaces", "Expf"}, {64, "biglego", "LEgo"}, {46, "randomize constrained button", "COns"},
    {9, "littleplanet", "SPsz"}, {72, "bigdice", "Dice"}, {74, "undo", "FACT"},
    {35, "load", "LOAD"},      {26, "save", "SAVE"},     {40, "psd", "PSdd"},
};

FourCC Code(const char* s) {
  return FourCC(uint8_t(s[0])) << 24 | FourCC(uint8_t(s[1])) << 16 | FourCC(uint8_t(s[2])) << 8 | uint8_t(s[3]);
}

}  // namespace

void* CreateTWBundle() { return &g_bundleToken; }
void ReleaseTWBundle(void*) {}

FourCC CreateIconRef_from_my_bundle(const char* name, FourCC iconType) {
  // The icons travel inside the plug-in (tools/make_button_icons.py draws
  // them); the reference is the icon's type.
  if (!name || iconType == 0) return 0;
  for (const ButtonIconImage& icon : kButtonIcons)
    if (std::strcmp(icon.file, name) == 0)
      return UiRegisterIcon(iconType, icon.rgba, kButtonIconSize, kButtonIconSize) ? iconType : 0;
  return 0;
}

void PutIconRefOnSomething(void* window, void* bundle, int16_t item, const char* name, FourCC iconType, uint8_t keep,
                           int16_t, int32_t target) {
  UiControl* c = GetVarezItem(window, item);
  if (!c || !bundle) return;
  const FourCC icon = CreateIconRef_from_my_bundle(name, iconType);
  if (!icon) return;
  if (target == 0 && keep == 0) {
    UiSetControlData(c, 0, MakeFourCC("cont"), sizeof icon, &icon);
  } else if (target == 0) {
    uint8_t content[6] = {0, 132};
    std::memcpy(content + 2, &icon, 4);
    UiSetControlProperty(c, kPluginCreator, kTagButtonContent, sizeof content, content);
  }
  UiInvalidateControl(c);
}

void DoGUIExperiments(void* window, void* bundle) {
  for (const IconRow& r : kIcons)
    PutIconRefOnSomething(window, bundle, r.item, r.file, Code(r.type), r.item == 40 ? 1 : 0, 0, 0);
}

void CreateMondoProgressWindow(Globals* globals) {
  if (!globals || !globals->storage) return;
  globals->storage->exportCancelled = 0;
  UiWindow* w = UiCreateWindow(FindGyreWindow("progress"));
  if (!w) return;
  InstallOKCancelWindowEventHandler(w, &globals->progressReply, kWindowKindProgress);
  globals->progressReply.globals = globals;
  UiShowWindow(w);
  UiSelectWindow(w);
  UiControl* cancel = nullptr;
  if (UiGetControlByID(w, UiControlID{kPluginCreator, 9}, &cancel) == kUiNoErr) w->cancelButton = cancel;
  w->attributes |= kUiWindowStandardHandler;
  ZorSetArrowCursor();
  UiBeginAppModalStateForWindow(w);
  globals->progressWindow = w;
}

void DestroyMondoProgress(Globals* globals) {
  if (!globals) return;
  UiWindow* w = UiWindowFromRef(globals->progressWindow);
  if (w) {
    UiEndAppModalStateForWindow(w);
    UiDisposeWindow(w);
  }
  globals->progressWindow = nullptr;
}

bool CursorInVarezItem(void* window, int16_t item) {
  UiWindow* w = UiWindowFromRef(window);
  UiControl* c = GetVarezItem(window, item);
  if (!w || !c) return false;
  UiWindow* at = nullptr;
  const UiPoint p = UiLastMouse(&at);
  if (at && at != w) return false;
  return p.x >= c->bounds.left && p.x <= c->bounds.right && p.y >= c->bounds.top && p.y <= c->bounds.bottom;
}

void StandbyCursorForVarezGUI_core(void* window, bool busy, void*) {
  UiWindow* w = UiWindowFromRef(window);
  if (!w || UiFrontWindow() != w) return;
  if (!CursorInVarezItem(w, 18))
    UiSetThemeCursor(kUiCursorArrow);
  else
    UiSetThemeCursor(busy ? kUiCursorClosedHand : kUiCursorOpenHand);
}

void StandbyCursorForVarezGUI(void* window, bool busy) {
  if (window) StandbyCursorForVarezGUI_core(window, busy, nullptr);
}

UiStatus ProxyCursorWindowEventHandler(UiHandlerCall*, UiEvent* event, void*) {
  UiWindow* w = nullptr;
  UiGetEventParameter(event, kUiParamWindowRef, kUiTypeWindowRef, sizeof w, &w);
  StandbyCursorForVarezGUI(w, UiStillDown());
  return kUiEventNotHandled;
}

UiStatus ProxyResizeWindowEventHandler(UiHandlerCall*, UiEvent* event, void* data) {
  auto* reply = static_cast<ZorZReply*>(data);
  UiWindow* w = UiWindowFromRef(reply ? reply->window : nullptr);
  if (!w) return kUiEventNotHandled;
  if (event->kind == kUiWindowResizeCompleted) {
    CopeWithProxiesSizeChange(w);
    SendControlHasBeenClickedEvent(GetVarezItem(w, 18));
  } else if (event->kind == kUiWindowBoundsChanged) {
    Rect before{}, now{};
    UiGetEventParameter(event, kUiParamPreviousBounds, kUiTypeRect, sizeof before, &before);
    UiGetEventParameter(event, kUiParamCurrentBounds, kUiTypeRect, sizeof now, &now);
    const bool moved = before.right - before.left == now.right - now.left &&
                       before.bottom - before.top == now.bottom - now.top;
    if (!moved) {
      CopeWithProxiesSizeChange(w);
      UiControl* preview = GetVarezItem(w, 18);
      Globals* globals = nullptr;
      FetchGlobalsFromControl(preview, &globals);
      ResetProxyAndRepaintUnfiltered(globals, preview);
      StandbyCursorForVarezGUI(w, UiStillDown());
    }
  }
  return kUiEventNotHandled;
}

void InstallProxyCursorWindowEventHandler(void* window, ZorZReply* reply) {
  UiWindow* w = UiWindowFromRef(window);
  if (!w || !reply) return;
  reply->result = 0;
  reply->window = w;
  const UiEventTypeSpec spec{kUiClassMouse, kUiMouseMoved};
  UiInstallEventHandler(&w->target, ProxyCursorWindowEventHandler, 1, &spec, reply, nullptr);
}

void InstallProxyResizeWindowEventHandler(void* window, ZorZReply* reply) {
  UiWindow* w = UiWindowFromRef(window);
  if (!w || !reply) return;
  reply->result = 0;
  reply->window = w;
  const UiEventTypeSpec specs[] = {{kUiClassWindow, kUiWindowBoundsChanged}, {kUiClassWindow, kUiWindowResizeCompleted}};
  UiInstallEventHandler(&w->target, ProxyResizeWindowEventHandler, 2, specs, reply, nullptr);
}

void FetchGlobalsFromControl(UiControl* control, Globals** out) {
  *out = nullptr;
  Globals* g = nullptr;
  if (control && UiGetControlProperty(control, kPluginCreator, kTagGlobals, sizeof g, &g) == kUiNoErr) *out = g;
}

void FetchZUserdataFromControl(UiControl* control, ZorZReply** out) {
  *out = nullptr;
  ZorZReply* r = nullptr;
  if (control && UiGetControlProperty(control, kPluginCreator, kTagReply, sizeof r, &r) == kUiNoErr) *out = r;
}

int32_t SendControlHasBeenClickedEvent(UiControl* control) {
  if (!control || !control->window) return 935;
  UiEvent e;
  UiInitEvent(&e, kUiClassCommand, kUiCommandProcess);
  const UiCommand cmd{kUiCommandFromControl, control->command, control};
  UiSetEventParameter(&e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd);
  return UiPostEvent(&e, &control->window->target);
}
