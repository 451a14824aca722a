#include "dialog/dialog_controls.h"

#include "dialog/save_commands.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "dialog/associations.h"
#include "dialog/controls/ball_control.h"
#include "dialog/ColorSwatchView/color_swatch.h"
#include "dialog/custom_hooks.h"
#include "dialog/controls/tumble_views.h"
#include "dialog/item_rules.h"
#include "dialog/mode_menus.h"
#include "dialog/nib_gyre.h"
#include "dialog/zor_reply.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "frame/base/text_utils.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/window.h"

namespace {

constexpr int32_t kTextLimit = 255;

UiControl* Item(void* window, int32_t id) { return GetVarezItem(window, id); }

int32_t Trunc(double v) { return int32_t(std::trunc(v)); }

// The order in which both directions visit the items; the last write of
// popup 21 (from the graticule) is the one shown.
enum class Field { Int, Float, Swatch, GridLegacy, Graticule, OutputMode };
struct StashStep {
  int16_t item;
  Field field;
  size_t offset;
};

#define INT_FIELD(item, name) StashStep{item, Field::Int, offsetof(TParameters, name)}
#define FLOAT_FIELD(item, name) StashStep{item, Field::Float, offsetof(TParameters, name)}

const StashStep kStashOrder[] = {
    INT_FIELD(30, autoPreview),      INT_FIELD(48, mirrorInput),    INT_FIELD(105, falseColors),
    INT_FIELD(90, transparentVoid),  INT_FIELD(71, tissotOn),       INT_FIELD(71, tissotOn),
    INT_FIELD(118, edgesOn),         INT_FIELD(28, anamorphic),     INT_FIELD(52, previewQuality),
    {7, Field::Swatch, 0},           {8, Field::Swatch, 0},         INT_FIELD(12, inputMode),
    FLOAT_FIELD(37, twirlX),         FLOAT_FIELD(57, twirlY),       FLOAT_FIELD(39, twirlSpin),
    FLOAT_FIELD(103, viewAngle),     FLOAT_FIELD(59, tabSize),      FLOAT_FIELD(61, sharpening),
    {51, Field::OutputMode, 0},      {21, Field::GridLegacy, 0},    INT_FIELD(73, glueMode),
    INT_FIELD(4, gaussianKernel),    {21, Field::Graticule, 0},
};

void SetText(UiControl* c, const char* text) {
  char cut[kTextLimit + 1];
  std::snprintf(cut, sizeof cut, "%s", text ? text : "");
  UiSetControlTitle(c, cut);
}

}  // namespace

int32_t ItemFromCommand(FourCC command) {
  int32_t value = 0;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char ch = char(command >> shift);
    if (ch == ' ') continue;
    if (ch < '0' || ch > '9') return 0;
    value = value * 10 + (ch - '0');
  }
  return value;
}

UiControl* GetVarezItem(void* window, int32_t id) {
  UiWindow* w = UiWindowFromRef(window);
  if (!w || !UiRootControl(w)) return nullptr;
  UiControl* c = nullptr;
  UiGetControlByID(w, UiControlID{kItemSignature, id}, &c);
  return c;
}

int32_t GetVarezItemRect(void* window, int32_t id, Rect* out) {
  UiControl* c = Item(window, id);
  if (!c || !out) return 0;
  *out = c->bounds;
  return 1;
}

int32_t GetControlValue_varez(void* window, int32_t id) {
  if (!UiWindowFromRef(window)) return -10;
  UiControl* c = Item(window, id);
  return c ? int32_t(int16_t(c->value)) : 0;
}

void SetControlValue_varez(void* window, int32_t id, int32_t value) {
  if (UiControl* c = Item(window, id)) UiSetControlValue(c, int16_t(value));
}

void SetControlValue_varez_skippingActionProc(void* window, int32_t id, float value) {
  UiControl* c = Item(window, id);
  if (!c) return;
  const UiControlActionProc action = c->action;
  c->action = nullptr;
  UiSetControlValue(c, Trunc(value));
  c->action = action;
}

void GetItemText(void* window, int32_t id, char* text, int32_t size) {
  if (size <= 0) return;
  text[0] = 0;
  if (UiControl* c = Item(window, id)) std::snprintf(text, size_t(std::min(size, kTextLimit + 1)), "%s", c->title);
}

int32_t get_intbox_varez(void* window, int32_t id) {
  if (!UiWindowFromRef(window)) return 0;
  char text[kTextLimit + 1];
  GetItemText(window, id, text, sizeof text);
  deSpaceCString(text);
  return MacCStringToNum(text);
}

void set_intbox_varez(void* window, int32_t id, int32_t value) {
  UiControl* c = Item(window, id);
  if (!c) return;
  char text[32];
  std::snprintf(text, sizeof text, "%d", value);
  SetText(c, text);
  // A change of value makes the field redraw in every window system.
  c->value += 1;
}

void set_floatbox_varez(void* window, int32_t id, float value) {
  UiControl* c = Item(window, id);
  if (!c) return;
  char text[32];
  std::snprintf(text, sizeof text, "%g", double(value));
  SetText(c, text);
  c->value += 1;
}

void set_statictext_varez(void* window, int32_t id, const char* text) {
  if (!text) return;
  if (UiControl* c = Item(window, id)) SetText(c, text);
}

void SetControlTitleVarezCString(void* window, int32_t id, const char* text) {
  if (UiControl* c = Item(window, id)) SetText(c, text);
}

void StashValue_core(void* window, int16_t item, float value) {
  AssociationRecord a;
  const int32_t kind = NiceGetAssociations(item, &a);
  if (kind == ItemKind_Ball) {
    HIBallControlSetDegrees(Item(window, item), value);
    return;
  }
  if (kind == ItemKind_Slider && a.textBox != -1 && a.textBox != 1) {
    SetControlValue_varez_skippingActionProc(window, a.control, value);
    set_floatbox_varez(window, a.textBox, value);
    return;
  }
  if (a.control != -1) SetControlValue_varez(window, a.control, Trunc(value));
  SetControlValue_varez(window, item, Trunc(value));
}

double UnStashValue_core(void* window, int16_t item) {
  AssociationRecord a;
  const int32_t kind = NiceGetAssociations(item, &a);
  if (kind == ItemKind_Ball) {
    float degrees = 0;
    HIBallControlGetDegrees(Item(window, item), &degrees);
    return degrees;
  }
  if (kind == ItemKind_Slider && a.textBox != -1 && a.textBox != 1) {
    if (!UiWindowFromRef(window)) return 0;
    char text[kTextLimit + 1];
    GetItemText(window, a.textBox, text, sizeof text);
    deSpaceCString_keeping_decimal(text);
    const double v = MacCStringToFloat(text);
    if (v < a.min) {
      set_floatbox_varez(window, a.textBox, float(a.min));
      return a.min;
    }
    if (v > a.max) {
      set_floatbox_varez(window, a.textBox, float(a.max));
      return a.max;
    }
    if (std::isnan(v)) {
      set_floatbox_varez(window, a.textBox, float(v));
      return v;
    }
    return v;
  }
  if (!UiWindowFromRef(window)) return -10.0;
  UiControl* c = Item(window, item);
  return c ? double(int16_t(c->value)) : 0.0;
}

void DoTheStash(void* window, Globals* globals, int32_t, int32_t direction) {
  TParameters* p = Params(globals);
  if (!p) return;
  auto* bytes = reinterpret_cast<uint8_t*>(p);
  for (const StashStep& s : kStashOrder) {
    switch (s.field) {
      case Field::Int: {
        auto* v = reinterpret_cast<int32_t*>(bytes + s.offset);
        if (direction == 0)
          StashValue_core(window, s.item, float(*v));
        else
          *v = Trunc(UnStashValue_core(window, s.item));
        break;
      }
      case Field::Float: {
        auto* v = reinterpret_cast<float*>(bytes + s.offset);
        if (direction == 0)
          StashValue_core(window, s.item, *v);
        else
          *v = float(UnStashValue_core(window, s.item));
        break;
      }
      case Field::Swatch:
      {
        uint16_t* rgb = s.item == 7 ? p->colorA : p->colorB;
        RGBColor colour{rgb[0], rgb[1], rgb[2]};
        if (direction == 0) {
          StuffSwatchValues(globals, s.item, window, &colour);
        } else if (GrabSwatchValues(globals, s.item, window, &colour)) {
          rgb[0] = colour.red;
          rgb[1] = colour.green;
          rgb[2] = colour.blue;
        }
        break;
      }
      case Field::OutputMode: {
        // The popup lists every named mode; a mode without a name shows as
        // the named one below it and stays what it is until the user picks
        // another item.
        const int32_t shown = ItemOfOutputMode(p->outputMode);
        if (direction == 0) {
          StashValue_core(window, s.item, float(shown));
        } else {
          const int32_t v = Trunc(UnStashValue_core(window, s.item));
          if (v != shown || OutputModeOfItem(shown) == p->outputMode) p->outputMode = OutputModeOfItem(v);
        }
        break;
      }
      case Field::GridLegacy:
      case Field::Graticule:
        if (direction == 0) {
          StashValue_core(window, s.item, float(s.field == Field::GridLegacy ? p->gridLegacy : p->graticule));
        } else {
          const int32_t v = Trunc(UnStashValue_core(window, s.item));
          p->gridLegacy = v;
          p->graticule = v;
        }
        break;
    }
  }
  SetHilites(0, window, globals);
}

void Settings2Controls(Globals* globals, void* window, int32_t flag) {
  DoTheStash(window, globals, flag, 0);
  if (const TParameters* p = Params(globals)) set_statictext_varez(window, 76, p->settingsName);
  if (const TParameters* p = Params(globals)) ShowTumbleInViews(window, p->twirlX, p->twirlY, p->twirlSpin);
}

void Controls2Settings(void* window, Globals* globals) { DoTheStash(window, globals, 0, 1); }
void SynchronizeAndClampParms(void* window, Globals* globals) { DoTheStash(window, globals, 0, 1); }

void DoTheFerret(TParameters* copy, Globals* globals, int32_t direction) {
  TParameters* p = Params(globals);
  if (!p || !copy) return;
  TParameters* from = direction == 0 ? p : copy;
  TParameters* to = direction == 0 ? copy : p;
  std::memcpy(to->settingsName, from->settingsName, sizeof to->settingsName);
  std::memcpy(to->colorA, from->colorA, sizeof(uint16_t) * 3 * 8);  // colorA, colorB, legacy C to H
  const size_t first = offsetof(TParameters, inputMode);
  const size_t last = offsetof(TParameters, legacyInt135) + sizeof(int32_t);
  std::memcpy(reinterpret_cast<uint8_t*>(to) + first, reinterpret_cast<const uint8_t*>(from) + first, last - first);
  to->legacyInt80 = from->legacyInt80;
  std::memcpy(to->legacyTripleA, from->legacyTripleA, sizeof to->legacyTripleA);
  std::memcpy(to->legacyTripleB, from->legacyTripleB, sizeof to->legacyTripleB);
  to->glueMode = from->glueMode;
  to->transparentVoid = from->transparentVoid;
  to->tissotOn = from->tissotOn;
  to->edgesOn = from->edgesOn;
  to->anamorphic = from->anamorphic;
  to->gaussianKernel = from->gaussianKernel;
  to->graticule = from->graticule;
  to->twirlX = from->twirlX;
  to->twirlY = from->twirlY;
  to->twirlSpin = from->twirlSpin;
  to->viewAngle = from->viewAngle;
  to->tabSize = from->tabSize;
  to->sharpening = from->sharpening;
}

void VarezSliderAction(UiControl* control, int16_t) {
  if (!control) return;
  AssociationRecord a;
  NiceGetAssociations(int16_t(control->id.id), &a);
  set_intbox_varez(control->window, a.textBox, control->value);
}

void SetVarezSliderReadoutUPPs(void (*action)(UiControl*, int16_t), void* window) {
  for (int16_t item = 0; item < kDialogItemCount; ++item) {
    AssociationRecord a;
    if (GetStrictItemType(item) != ItemKind_Slider) continue;
    NiceGetAssociations(item, &a);
    if (a.textBox == -1) continue;
    if (UiControl* c = GetVarezItem(window, item)) c->action = action;
  }
}

UiStatus KeyboardControlEventHandler(UiHandlerCall* call, UiEvent* event, void* data) {
  auto* reply = static_cast<ZorZReply*>(data);
  UiWindow* w = reply ? UiWindowFromRef(reply->window) : nullptr;
  if (!w || !w->focus) return kUiEventNotHandled;
  const FourCC command = w->focus->command;
  UiCallNextEventHandler(call, event);
  if (command == MakeFourCC("PSXX") || command == MakeFourCC("PSYY")) {
    UiControl* popup = GetVarezItem(w, 7);
    if (popup && popup->value == 1) {
      UiSetControlValue(popup, 3);
      MaybeCopeWithSlidersEditField(reply, command);
      return kUiEventNotHandled;
    }
    if (popup && popup->value == 2) proportional_adjustment(reply, command);
  }
  MaybeCopeWithSlidersEditField(reply, command);
  return kUiEventNotHandled;
}

void MaybeCopeWithSlidersEditField(ZorZReply* reply, FourCC command) {
  const int32_t item = ItemFromCommand(command);
  AssociationRecord a;
  if (item <= 0 || NiceGetAssociations(int16_t(item), &a) != ItemKind_Slider || a.subkind != 2 || a.textBox == -1)
    return;
  double v = 0;
  if (UiWindowFromRef(reply->window)) {
    char text[kTextLimit + 1];
    GetItemText(reply->window, a.textBox, text, sizeof text);
    deSpaceCString_keeping_decimal(text);
    v = MacCStringToFloat(text);
  }
  v = std::clamp(v, double(a.min), double(a.max));
  SetControlValue_varez_skippingActionProc(reply->window, a.control, float(v));
  if (reply->typingTimer) UiSetTimerNextFireTime(static_cast<UiTimer*>(reply->typingTimer), 1.0);
}
