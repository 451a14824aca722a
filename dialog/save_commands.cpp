#include "dialog/save_commands.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "dialog/custom_hooks.h"
#include "dialog/preset_previews.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_run.h"
#include "dialog/file_dialogs.h"
#include "dialog/memory_dots.h"
#include "dialog/nib_gyre.h"
#include "dialog/window_services.h"
#include "dialog/zor_reply.h"
#include "export/photo_handoff.h"
#include "export/preset_preview.h"
#include "frame/base/file_refs.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "polyhedron/mode_polyhedron_table.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/services.h"
#include "platform/ui/window.h"

namespace {

constexpr int32_t kBrickSphereMode = 45;

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return std::clamp(v, lo, hi); }

void FillPopupItems(UiWindow* w, int16_t item, const char* const* names, int32_t count) {
  UiControl* c = GetVarezItem(w, item);
  if (!c) return;
  UiClearPopupItems(c);
  for (int32_t i = 0; i < count; ++i) UiAppendPopupItem(c, names[i]);
  UiSetControlMinimum(c, 1);
  UiSetControlMaximum(c, count);
}

// An export sheet from the definitions, with the OK/Cancel handler of its
// kind; null without a bundle, a window or anyone to answer it.
UiWindow* OpenSheet(const char* name, int32_t kind, Globals* g, ZorZReply* reply, void** bundle) {
  *bundle = nullptr;
  if (!UiGetFrontEnd()) return nullptr;
  *bundle = CreateTWBundle();
  if (!*bundle) return nullptr;
  UiWindow* w = UiCreateWindow(FindGyreWindow(name));
  if (!w) {
    ReleaseTWBundle(*bundle);
    *bundle = nullptr;
    return nullptr;
  }
  *reply = ZorZReply{};
  reply->globals = g;
  InstallOKCancelWindowEventHandler(w, reply, kind);
  return w;
}

// Shows the sheet and waits for OK or Cancel; 1 on OK.
int32_t RunSheet(UiWindow* w, ZorZReply* reply, int16_t focusItem) {
  if (UiControl* c = GetVarezItem(w, focusItem)) UiSetKeyboardFocus(w, c);
  UiShowWindow(w);
  UiSelectWindow(w);
  UiSetThemeCursor(0);
  UiRunAppModalLoopForWindow(w);
  return reply->result == 1 ? 1 : 0;
}

void CloseSheet(UiWindow* w, void* bundle) {
  UiDisposeWindow(w);
  ReleaseTWBundle(bundle);
}

}  // namespace

void ProposedSettingsFileName(const char* settingsName, char* out, int32_t size) {
  char name[kSettingsNameSize];
  std::snprintf(name, sizeof name, "%s", settingsName && *settingsName ? settingsName : kDefaultSettingsName);
  StripAnyExtender(name);
  std::snprintf(out, size_t(size), "%s.q2q", name);
}

void ApplyLittlePlanet(Globals* g) {
  TParameters* p = Params(g);
  if (!p) return;
  p->programmaticView = 0;
  p->inputMode = 1;
  p->outputMode = 16;
  p->twirlXInt = -90;
  p->twirlX = -90.0f;
  p->twirlYInt = 0;
  p->twirlY = 0;
  p->twirlSpinInt = 0;
  p->twirlSpin = 0;
  p->viewAngleInt = 110;
  p->viewAngle = 110.0f;
  p->mirrorInput = 0;
  p->glueMode = 1;
  p->gridLegacy = 0;
  p->tissotOn = 0;
  p->edgesOn = 0;
  p->anamorphic = 0;
  p->graticule = 1;
}

void proportional_adjustment(void* window, int32_t width, int32_t height, bool adjustHeight) {
  int64_t x = get_intbox_varez(window, 3), y = get_intbox_varez(window, 4);
  if (adjustHeight) {
    if (width == 0) return;
    y = int64_t(height) * x / width;
    set_intbox_varez(window, 4, int32_t(y));
  } else {
    if (height == 0) return;
    x = int64_t(width) * y / height;
    set_intbox_varez(window, 3, int32_t(x));
  }
}

// The keyboard handler of the sized sheet's boxes: the other box follows.
void proportional_adjustment(ZorZReply* reply, FourCC command) {
  if (!reply) return;
  proportional_adjustment(reply->window, reply->sizeWidth, reply->sizeHeight, command == MakeFourCC("PSXX"));
}

void FollowSizedExportChoice(ZorZReply* reply) {
  if (!reply || reply->windowKind != kWindowKindSizedSheet) return;
  const int32_t choice = GetControlValue_varez(reply->window, 7);
  if (choice == 1) {
    set_intbox_varez(reply->window, 3, reply->sizeWidth);
    set_intbox_varez(reply->window, 4, reply->sizeHeight);
  } else if (choice == 2) {
    proportional_adjustment(reply->window, reply->sizeWidth, reply->sizeHeight, true);
  }
}

int32_t OfferPSDLegoFileParams(Globals* g) {
  TParameters* p = Params(g);
  ZorZReply reply;
  void* bundle = nullptr;
  UiWindow* w = p ? OpenSheet("brick sphere", kWindowKindBrickSheet, g, &reply, &bundle) : nullptr;
  if (!w) return 0;
  set_intbox_varez(w, 3, p->brickLayers);
  SetControlValue_varez(w, 8, p->brickWritePlan != 0);
  SetControlValue_varez(w, 9, p->brickWriteStats != 0);
  SetControlValue_varez(w, 10, p->brickWriteLDraw != 0);
  SetControlValue_varez(w, 6, p->brickDither != 0);
  SetControlValue_varez(w, 35, p->brickPlates != 0);
  for (int32_t bit = 0; bit < 12; ++bit) SetControlValue_varez(w, 11 + bit, (p->brickPalette >> bit) & 1);
  const int32_t ok = RunSheet(w, &reply, 3);
  if (ok) {
    p->brickLayers = Clamp(get_intbox_varez(w, 3), 3, 150);
    p->brickWritePlan = GetControlValue_varez(w, 8) != 0;
    p->brickWriteStats = GetControlValue_varez(w, 9) != 0;
    p->brickWriteLDraw = GetControlValue_varez(w, 10) != 0;
    p->brickDither = GetControlValue_varez(w, 6) != 0;
    p->brickPlates = GetControlValue_varez(w, 35) != 0;
    int32_t palette = 0;
    for (int32_t bit = 0; bit < 12; ++bit)
      if (GetControlValue_varez(w, 11 + bit)) palette |= 1 << bit;
    p->brickPalette = palette;
  }
  CloseSheet(w, bundle);
  if (ok) ReactToLegoRenderingRequest(g, nullptr);
  return ok;
}

int32_t OfferCubeFileParams(Globals* g) {
  TParameters* p = Params(g);
  ZorZReply reply;
  void* bundle = nullptr;
  UiWindow* w = p ? OpenSheet("cubemap", kWindowKindCubeSheet, g, &reply, &bundle) : nullptr;
  if (!w) return 0;
  set_intbox_varez(w, 3, p->cubeFaceSize);
  const int32_t ok = RunSheet(w, &reply, 3);
  if (ok) p->cubeFaceSize = Clamp(get_intbox_varez(w, 3), 2, 30000);
  CloseSheet(w, bundle);
  if (ok) ReactToCubeRenderingRequest(g, nullptr);
  return ok;
}

int32_t OfferExportFacesFileParams(Globals* g) {
  TParameters* p = Params(g);
  ZorZReply reply;
  void* bundle = nullptr;
  UiWindow* w = p ? OpenSheet("Export polyhedron", kWindowKindPolyhedronSheet, g, &reply, &bundle) : nullptr;
  if (!w) return 0;
  static const char* const kChoices[] = {"Faces (layered)", "3D model (OBJ)", "Polyhedron map"};
  FillPopupItems(w, 7, kChoices, 3);
  set_intbox_varez(w, 3, p->facesExportSize);
  SetControlValue_varez(w, 7, p->facesExportOption + 1);
  const int32_t ok = RunSheet(w, &reply, 3);
  int32_t choice = 0;
  if (ok) {
    choice = GetControlValue_varez(w, 7);
    p->facesExportOption = choice - 1;
    p->facesExportSize = Clamp(get_intbox_varez(w, 3), 2, 30000);
  }
  CloseSheet(w, bundle);
  if (choice == 1) ReactToExportFacesRenderingRequest(g, nullptr);
  if (choice == 2) ReactToExport3DModelRequest(g, nullptr);
  if (choice == 3) ReactToExportEquiPolyMapRequest(g, nullptr);
  return ok;
}

int32_t OfferExportPSDWithSizeParams(Globals* g) {
  TParameters* p = Params(g);
  ZorZReply reply;
  void* bundle = nullptr;
  UiWindow* w = p ? OpenSheet("Export PSD with size", kWindowKindSizedSheet, g, &reply, &bundle) : nullptr;
  if (!w) return 0;
  reply.sizeWidth = g->savedFilterRect.right - g->savedFilterRect.left;
  reply.sizeHeight = g->savedFilterRect.bottom - g->savedFilterRect.top;
  const UiEventTypeSpec text{kUiClassText, kUiTextInputUnicodeForKey};
  for (int16_t box : {int16_t(3), int16_t(4)})
    if (UiControl* c = GetVarezItem(w, box))
      UiInstallEventHandler(&c->target, KeyboardControlEventHandler, 1, &text, &reply, nullptr);
  static const char* const kChoices[] = {"Image size", "Proportional", "Custom"};
  FillPopupItems(w, 7, kChoices, 3);
  const int32_t choice = Clamp(p->sizedExportChoice, 1, 3);
  SetControlValue_varez(w, 7, choice);
  set_intbox_varez(w, 3, choice == 1 ? reply.sizeWidth : p->sizedExportWidth);
  set_intbox_varez(w, 4, choice == 1 ? reply.sizeHeight : p->sizedExportHeight);
  const int32_t ok = RunSheet(w, &reply, 7);
  if (ok) {
    p->sizedExportChoice = GetControlValue_varez(w, 7);
    p->sizedExportWidth = Clamp(get_intbox_varez(w, 3), 2, 30000);
    p->sizedExportHeight = Clamp(get_intbox_varez(w, 4), 2, 30000);
  }
  CloseSheet(w, bundle);
  if (ok) ReactToExportPSDWithSizeRequest(g, nullptr);
  return ok;
}

void SaveAndLoad_core(Globals* g, void* window, int16_t* item, uint8_t* refresh) {
  TParameters* p = Params(g);
  if (!p || !item) return;
  switch (*item) {
    case 26: {
      Build_preview(g);
      ProposedSettingsFileName(p->settingsName, p->settingsName, kSettingsNameSize);
      PromptAndSaveSettings(g, window);
      set_statictext_varez(window, 76, p->settingsName);
      return;
    }
    case 35:
      if (PromptAndLoadSettings(g, window) == 1) {
        Settings2Controls(g, window, 0);
        *refresh = 1;
      }
      return;
    case 64:
      if (OfferPSDLegoFileParams(g) == 1 && p->outputMode == kBrickSphereMode) *refresh = 1;
      return;
    case 40:
      // With the option key the result goes out as a JPEG file instead.
      if (g->optionKeyDown) {
        ReactToExportJPEGResultRequest(g, window);
        return;
      }
      if (OfferExportPSDWithSizeParams(g)) *refresh = 1;
      return;
    case 65:
      if (OfferCubeFileParams(g) == 1) *refresh = 1;
      return;
    case 83:
      if (!IsExportablePolyhedron(p->outputMode)) {
        UiBeep();
        // A scripted export must not pass for written.
        UiNoteCommandFailure("the output mode has no polyhedron to export");
        return;
      }
      if (OfferExportFacesFileParams(g)) *refresh = 1;
      return;
    case 9:
      ApplyLittlePlanet(g);
      Settings2Controls(g, window, 0);
      *refresh = 1;
      std::snprintf(p->settingsName, kSettingsNameSize, "%s", "little planet.q2q");
      set_statictext_varez(window, 76, p->settingsName);
      return;
    case 15:
      BuildGenericWebPage(g, window);
      return;
    case 96:
      if (ExportToiPhoto_with_warning(g) != 0) UiNoteCommandFailure("the result could not be written for the photo viewer");
      return;
    case 63:
      BuildOutputGalleryWebPage(g, window);
      *refresh = 1;
      return;
    case 98:
      // Option: the page of the dots; control: the presets' previews
      // (both: the page first); neither: load the dot the well shows.
      if (g->optionKeyDown) BuildMemdotGalleryWebPage(g, window);
      if (g->controlKeyDown) fix_all_previews(g, window);
      if (!g->optionKeyDown && !g->controlKeyDown && g->storage)
        DoTotalMemoryDotLoad(g, window, g->storage->hoverMemdot, refresh);
      return;
    default:
      ClickOnMemoryDot(g, window, *item, refresh);
      break;
  }
}
