#include "dialog/dialog_run.h"

#include <cstdio>
#include <initializer_list>
#include <cstring>

#include "dialog/associations.h"
#include "dialog/custom_hooks.h"
#include "dialog/preset_previews.h"
#include "dialog/dialog_controls.h"
#include "dialog/drag_and_drop.h"
#include "dialog/memory_dots.h"
#include "dialog/controls/tumble_views.h"
#include "dialog/dialog_services.h"
#include "dialog/item_rules.h"
#include "dialog/mode_menus.h"
#include "dialog/nib_gyre.h"
#include "dialog/preview_mechanics.h"
#include "dialog/controls/proxy_view.h"
#include "dialog/save_commands.h"
#include "dialog/window_layout.h"
#include "dialog/window_services.h"
#include "dialog/zor_reply.h"
#include "export/mode_names.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "frame/base/host_suites.h"
#include "dialog/frame_services.h"
#include "frame/base/random.h"
#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/front_end_config.h"
#include "platform/ui/services.h"
#include "platform/ui/window.h"
#include "platform/ui.h"

namespace {

constexpr FourCC kCmdWebPage = MakeFourCC("TWWB");
constexpr FourCC kCmdDevMagic = MakeFourCC("DEVM");
constexpr FourCC kCmdRefresh = MakeFourCC("FRsh");
constexpr FourCC kCmdSizedPopup = MakeFourCC("PSSZ");
constexpr FourCC kClassPrivateKeys = MakeFourCC("HSKL");
constexpr FourCC kKindKeyboard = MakeFourCC("KEYb");

void CloseReplyWindow(ZorZReply* reply) {
  UiWindow* w = UiWindowFromRef(reply->window);
  if (!w) return;
  // A sheet whose command runs its own loop is disposed by that command,
  // after it has read the sheet's controls.
  if ((w->windowClass == kUiWindowClassSheet || w->windowClass == kUiWindowClassSheetAlert) && !w->inModalLoop) {
    UiHideWindow(w);
    UiDisposeWindow(w);
    reply->window = nullptr;
  } else {
    UiQuitAppModalLoopForWindow(w);
  }
}

// The settings name stands in for the window's proxy icon: pressed and
// dragged, the current settings go out as a settings file.
UiStatus SettingsDragSource(UiHandlerCall*, UiEvent* e, void* window) {
  UiControl* name = GetVarezItem(window, 76);
  UiPoint at{0, 0};
  UiGetEventParameter(e, kUiParamMouseLocation, kUiTypePoint, sizeof at, &at);
  if (!name || !UiPointInRect(at, name->bounds)) return kUiEventNotHandled;
  if (UiWaitMouseMoved(UiWindowFromRef(window), at))
    PerformDragFromControl(name, kSettingsFileType, kSettingsFileCreator, kDragItemSettings, kDragKindSettings);
  return kUiNoErr;
}

void InstallSettingsDragSource(UiWindow* w) {
  const UiEventTypeSpec press{kUiClassMouse, kUiMouseDown};
  UiInstallEventHandler(&w->target, SettingsDragSource, 1, &press, w, nullptr);
}

void myTypingTimerAction_Varez(UiTimer* timer, void* window) {
  UiSetTimerNextFireTime(timer, kUiForever);
  SendPleaseRedoPreviewEvent(window);
}

void ItemChain(Globals* g, UiWindow* w, ZorZReply* reply, int16_t item, uint32_t modifiers) {
  uint8_t refresh = 0;
  reply->result = item;
  g->optionKeyDown = (modifiers & kUiOptionKeyBit) ? 1 : 0;
  g->controlKeyDown = (modifiers & kUiControlKeyBit) ? 1 : 0;
  if (item == 5) {
    CloseReplyWindow(reply);
    return;
  }
  Handle3Zoomers(g, w, item, &refresh);
  if (item == 15 && g->optionKeyDown) {
    fix_all_previews(g, w);
    item = 0;
  }
  SaveAndLoad_core(g, w, &item, &refresh);
  if (item == 222) DevMagic(g, w);
  RandomizeIt(g, w, item, &refresh);
  MagicSwatches(g, w, item, &refresh);
  if (item == 25) DoAbout_zor(w);
  if (item == 99) FurboDoInfo(g, w);
  Straighten(g, w, item, &refresh);
  MaybeFixZoomers(w, g);
  if (MagicProvocation(item)) refresh = 1;
  SetHilites(0, w, g);
  if (item != 0) UndoMe(g, w, item, &refresh);
  if (refresh) {
    MacGrabParmsDoPreview(g, w, &item, &refresh);
    refresh = 0;
    StandbyCursorForVarezGUI(w, false);
  }
  if (const TParameters* p = Params(g)) ShowTumbleInViews(w, p->twirlX, p->twirlY, p->twirlSpin);
}

}  // namespace

void SendPleaseRedoPreviewEvent(void* window) {
  UiWindow* w = UiWindowFromRef(window);
  if (!w) return;
  UiEvent e;
  UiInitEvent(&e, kUiClassCommand, kUiCommandProcess);
  const UiCommand cmd{0, kCmdRefresh, nullptr};
  UiSetEventParameter(&e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd);
  UiSendEventToTarget(&e, &w->target);
}

void InstallOKCancelWindowEventHandler(void* window, ZorZReply* reply, int32_t windowKind) {
  UiWindow* w = UiWindowFromRef(window);
  if (!w || !reply) return;
  reply->result = 0;
  reply->window = w;
  reply->windowKind = windowKind;
  const UiEventTypeSpec specs[] = {{kUiClassCommand, kUiCommandProcess}, {kClassPrivateKeys, kKindKeyboard}};
  UiInstallEventHandler(&w->target, OKCancelWindowEventHandler, 2, specs, reply, nullptr);
}

UiStatus OKCancelWindowEventHandler(UiHandlerCall*, UiEvent* e, void* data) {
  auto* reply = static_cast<ZorZReply*>(data);
  if (e->eventClass == kClassPrivateKeys && e->kind == kKindKeyboard) return kUiEventNotHandled;
  if (e->eventClass != kUiClassCommand || e->kind != kUiCommandProcess || !reply) return kUiEventNotHandled;
  UiCommand cmd{};
  if (UiGetEventParameter(e, kUiParamDirectObject, kUiTypeCommand, sizeof cmd, &cmd) != kUiNoErr)
    return kUiEventNotHandled;
  Globals* g = reply->globals;
  UiWindow* w = UiWindowFromRef(reply->window);
  const bool main = reply->windowKind == kWindowKindMain;
  switch (cmd.commandID) {
    case kUiCommandOK:
      // What the fields show is what renders, typed a moment ago or not.
      if (main && g && w) Controls2Settings(w, g);
      reply->result = 1;
      CloseReplyWindow(reply);
      return kUiNoErr;
    case kUiCommandCancel:
      reply->result = 2;
      // The export that owns the progress window stops at its next poll and
      // takes the window down itself.
      if (reply->windowKind == kWindowKindProgress) {
        if (g && g->storage) g->storage->exportCancelled = 1;
        return kUiNoErr;
      }
      CloseReplyWindow(reply);
      return kUiNoErr;
    case kCmdWebPage:
      reply->result = 5;
      CloseReplyWindow(reply);
      SendUserToTWHomePage();
      return kUiNoErr;
    case kCmdDevMagic:
      DevMagic(g, w);
      return kUiNoErr;
    case kCmdRefresh: {
      if (!main || !g) return kUiEventNotHandled;
      // The timer's refresh stands for no item: no undo snapshot of its own.
      int16_t item = 0;
      uint8_t refresh = 1;
      MacGrabParmsDoPreview(g, w, &item, &refresh);
      StandbyCursorForVarezGUI(w, false);
      return kUiNoErr;
    }
    case kCmdTrackball:
    case kCmdAngleDial: {
      if (!main || !g) return kUiEventNotHandled;
      const int16_t item = TakeTumbleFromView(w, cmd.commandID);
      if (item) ItemChain(g, w, reply, item, e->modifiers);
      return kUiNoErr;
    }
    case kCmdDragButton:
      // A click without a drag: the result goes out only by dragging it.
      return kUiNoErr;
    case kCmdSizedPopup:
      reply->result = 7;
      FollowSizedExportChoice(reply);
      return kUiNoErr;
    default:
      break;
  }
  const int32_t item = ItemFromCommand(cmd.commandID);
  if (!main || !g) return kUiEventNotHandled;
  if (item == 0) {
    SetHilites(0, w, g);
    return kUiEventNotHandled;
  }
  uint32_t modifiers = e->modifiers;
  UiGetEventParameter(e, kUiParamKeyModifiers, kUiTypeUInt32, sizeof modifiers, &modifiers);
  ItemChain(g, w, reply, int16_t(item), modifiers);
  return item == 5 ? kUiNoErr : kUiEventNotHandled;
}

namespace {

// Settings that rendered last in this dialog: a refused preview puts them back.
struct LastGoodSettings {
  Globals* owner;
  TParameters settings;
};
LastGoodSettings g_lastGood;

// A preview the renderer refuses (a layout not available, say) tells the
// person why in an alert over the window and puts back the settings that
// rendered last, so neither the next choice nor OK meets the refusal.
void PreviewKeepingGoodSettings(Globals* g, void* window) {
  TParameters* p = Params(g);
  const int16_t before = g->result;
  PlatformForgetLastAlert();
  DoPreviewFiltration(g);
  if (g->result == before) {
    g_lastGood = LastGoodSettings{g, *p};
    return;
  }
  g->result = before;
  char message[256], explanation[256];
  std::snprintf(message, sizeof message, "%s", PlatformLastAlertMessage()[0] ? PlatformLastAlertMessage() : "The preview cannot be rendered.");
  std::snprintf(explanation, sizeof explanation, "%s", PlatformLastAlertExplanation());
  const bool restore = g_lastGood.owner == g && std::memcmp(&g_lastGood.settings, p, sizeof *p) != 0;
  if (restore) {
    std::snprintf(explanation, sizeof explanation, "%s", "The settings that rendered last are back.");
    *p = g_lastGood.settings;
    Settings2Controls(g, window, 0);
  }
  // The renderer has told the terminal already; the window tells the person.
  if (UiGetFrontEnd()) UiRunCautionAlert(message, explanation);
  if (restore) DoPreviewFiltration(g);
  g->result = before;
}

}  // namespace

void MacGrabParmsDoPreview(Globals* g, void* window, int16_t* item, uint8_t* refresh) {
  TParameters* p = Params(g);
  if (!p) return;
  Controls2Settings(window, g);
  if (const int32_t worthy = UndoWorthy(*item, g)) UndoSnapshot(g, worthy == 2 ? 1 : 0);
  if (ProvokesRefresh(*item)) *refresh = 1;
  if (p->autoPreview == 0 && !WarrantsHardRefreshWhileAutoPreviewingIsOff(*item)) {
    *refresh = 0;
    return;
  }
  if (*refresh) *item = 18;
  *refresh = 0;
  if (!uses_previews(g->filterRecord)) return;
  if (*item != 18) return;
  PreviewKeepingGoodSettings(g, window);
  FilterRecord* fr = g->filterRecord;
  if (HostAdvanceStateAvailable(fr->advanceState)) HostAdvanceState(fr->advanceState);
  if (UiControl* preview = GetVarezItem(window, 18)) UiInvalidateControl(preview);
}

void PerformMacGUIVarezSetup(void* window, Globals* g, void*, ZorZReply* reply, void* bundle) {
  UiWindow* w = UiWindowFromRef(window);
  InvocationStorage* s = g->storage;
  FillModePopups(w);
  FitTextBoxesToTheirValues(w);
  g_lastGood = LastGoodSettings{};
  reply->window = w;
  g->dialogWindow = w;
  MakeEverythingUsable(g);
  if (s) std::memset(s->dialogUPPs, 0, sizeof s->dialogUPPs);
  if (s) s->dialogUPPs[3] = reinterpret_cast<void*>(&VarezSliderAction);
  SetVarezSliderReadoutUPPs(VarezSliderAction, w);
  UiSetRandomSeedHook(ZorSeedRandom);
  Settings2Controls(g, w, 0);
  PreviewMechanicsSetup(w, g);
  UiSetControlProperty(GetVarezItem(w, 18), kPluginCreator, MakeFourCC("GLOB"), sizeof g, &g);
  UiControl* dragButton = nullptr;
  UiGetControlByID(w, UiControlID{kPluginCreator, kDragButtonID}, &dragButton);
  for (UiControl* c : {GetVarezItem(w, 98), GetVarezItem(w, 40), GetVarezItem(w, 76), dragButton}) {
    UiSetControlProperty(c, kPluginCreator, MakeFourCC("GLOB"), sizeof g, &g);
    UiSetControlProperty(c, kPluginCreator, MakeFourCC("Zuzr"), sizeof reply, &reply);
  }
  ZorSetArrowCursor();
  MaybeCreateMemdotTimer(w, g);
  TouchPersistentMemdots(g, w);
  MaybeFixZoomers(w, g);
  StandbyCursorForVarezGUI_core(w, false, nullptr);
  fix_memdot_placement(w, g);
  const UiEventTypeSpec text{kUiClassText, kUiTextInputUnicodeForKey};
  for (int16_t item = 0; item < kDialogItemCount; ++item)
    if (GetStrictItemType(item) == ItemKind_SliderTextBox)
      if (UiControl* c = GetVarezItem(w, item))
        UiInstallEventHandler(&c->target, KeyboardControlEventHandler, 1, &text, reply, nullptr);
  UiTimer* typing = nullptr;
  UiInstallTimer(kUiForever, kUiForever, myTypingTimerAction_Varez, w, &typing);
  if (s) s->typingTimer = typing;
  reply->typingTimer = typing;
  DoGUIExperiments(w, bundle);
  SetGlueHilite(w, g);
  SetHilites(0, w, g);
}

void PromptUserForInput(Globals* g) {
  TParameters* p = Params(g);
  if (!g || !p) return;
  RegisterDialogViewClasses();
  ZorZReply reply{};
  reply.globals = g;
  reply.dragSendUPP = reinterpret_cast<void*>(&MyDragSendData_send_a_file_somewhither_Proc);
  p->runMode = RunMode_Preview;
  TParameters ferret{};
  Ferreting(&ferret, g);
  void* bundle = CreateTWBundle();
  if (!bundle) {
    UnregisterDialogViewClasses();
    return;
  }
  UiBeginDialogInput();
  UiWindow* w = UiCreateWindow(FindGyreWindow("xparams"));
  int16_t code = 0;
  if (w) {
    UiHideWindow(w);
    InstallOKCancelWindowEventHandler(w, &reply, kWindowKindMain);
    InstallProxyCursorWindowEventHandler(w, &reply);
    InstallProxyResizeWindowEventHandler(w, &reply);
    InstallWindowLayoutHandler(w);  // runs first: the preview's handlers read the new bounds
    InstallMyWindowDragHandlers(w, &reply);
    InstallSettingsDragSource(w);
    reply.windowKind = kWindowKindMain;
    PerformMacGUIVarezSetup(w, g, nullptr, &reply, bundle);
    UiShowWindow(w);
    UiSelectWindow(w);
    int16_t item = 18;
    uint8_t refresh = 0;
    MacGrabParmsDoPreview(g, w, &item, &refresh);
    UiSetControlVisibility(GetVarezItem(w, 120), true);
    StashFirstMemdot(w, g);
    ZorSetArrowCursor();
    UiRunAppModalLoopForWindow(w);
    code = reply.result;
  }
  RemoveMyWindowDragHandlers(w);
  RemoveMemdotTimer(g);
  DetachMemdotThumbnail(g, w);
  if (g->storage && g->storage->typingTimer) {
    UiRemoveTimer(static_cast<UiTimer*>(g->storage->typingTimer));
    g->storage->typingTimer = nullptr;
  }
  reply.typingTimer = nullptr;
  UiDisposeWindow(w);
  ReleaseTWBundle(bundle);
  UnregisterDialogViewClasses();
  if (g->storage) std::memset(g->storage->dialogUPPs, 0, sizeof g->storage->dialogUPPs);
  g->dialogWindow = nullptr;
  UiEndDialogInput();
  if (code == 2) {
    g->dialogOutcome = 2;
    UnFerreting(&ferret, g);
    g->result = -128;
  } else if (code == 5) {
    g->dialogOutcome = 4;
    g->result = -128;
  }
}

void Ferreting(TParameters* copy, Globals* globals) { DoTheFerret(copy, globals, 0); }
void UnFerreting(const TParameters* copy, Globals* globals) {
  DoTheFerret(const_cast<TParameters*>(copy), globals, 1);
}
