#include "dialog/ColorSwatchView/color_swatch.h"

#include <cstring>

#include "dialog/controls/custom_view_support.h"
#include "dialog/dialog_services.h"
#include "dialog/nib_gyre.h"
#include "platform/ui/theme_draw.h"
#include "platform/ui/canvas.h"
#include "platform/ui/color_picker.h"
#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"

namespace {

constexpr FourCC kParamStartColour = MakeFourCC("sClr");
constexpr FourCC kTypeRGB = MakeFourCC("cRGB");

// The last drag looked at, shared by every swatch: enter, leave and
// receive of one drag ask about it again and again.
uint32_t g_lastDrag = 0;
RGBColor g_lastColour{};
int32_t g_lastAnswer = 0;

}  // namespace

ColorSwatch::ColorSwatch(UiControl* view) : TView(view) {
  ChangeAutoInvalidateFlags(kAutoInvalidateOnActivate | kAutoInvalidateOnHilite | kAutoInvalidateOnEnable, 0);
}

UiStatus ColorSwatch::Construct(UiControl* object, TObject** out) {
  *out = new ColorSwatch(object);
  return kUiNoErr;
}

UiStatus ColorSwatch::Initialize(TCarbonEvent& event) {
  const UiStatus st = TView::Initialize(event);
  if (st != kUiNoErr) return st;
  fColor = RGBColor{};
  event.GetParameter(kParamStartColour, kTypeRGB, sizeof fColor, &fColor);
  ActivateInterface(MakeFourCC("drag"));
  ActivateInterface(MakeFourCC("focu"));
  return kUiNoErr;
}

TControlKind ColorSwatch::GetKind() { return TControlKind{MakeFourCC("cSwh"), MakeFourCC("cSwh")}; }
uint32_t ColorSwatch::GetBehaviors() { return TView::GetBehaviors() | kBehaviourFocus | kBehaviourDragAndDrop; }

UiStatus ColorSwatch::ControlHit(int16_t, uint32_t) {
  uint16_t rgb[3] = {fColor.red, fColor.green, fColor.blue};
  if (!UiGetColor("Choose a color.", rgb)) return kUiNoErr;
  fColor = RGBColor{rgb[0], rgb[1], rgb[2]};
  Invalidate();
  return SendColorChangedCommandEvent();
}

void ColorSwatch::Draw(void*, UiCanvas* cv) {
  if (!cv || !fObject) return;
  const Rect& b = fObject->bounds;
  UiDrawThemeBevel(cv, b, IsActive(), fObject->hilite == kViewPartButton, fFocusPart == kViewPartButton, false);
  const Rect field{int16_t(b.top + 5), int16_t(b.left + 5), int16_t(b.bottom - 5), int16_t(b.right - 5)};
  UiColor c{uint8_t(fColor.red >> 8), uint8_t(fColor.green >> 8), uint8_t(fColor.blue >> 8), 255};
  if (!IsActive()) c.a = 128;
  UiFillRect(cv, field, c);
  if (fDragHilite)
    UiDrawThemeFocusRect(cv, Rect{int16_t(b.top + 2), int16_t(b.left + 2), int16_t(b.bottom - 2), int16_t(b.right - 2)});
}

UiStatus ColorSwatch::GetData(FourCC tag, int16_t part, int32_t size, int32_t* outSize, void* data) {
  if (tag != kViewTagColour) return TView::GetData(tag, part, size, outSize, data);
  if (outSize) *outSize = int32_t(sizeof fColor);
  if (!data) return kUiNoErr;
  if (size != int32_t(sizeof fColor)) return kUiBadDataSize;
  std::memcpy(data, &fColor, sizeof fColor);
  return kUiNoErr;
}

UiStatus ColorSwatch::SetData(FourCC tag, int16_t, int32_t size, const void* data) {
  if (tag != kViewTagColour) return kUiEventNotHandled;
  if (!data) return kUiNoErr;
  if (size != int32_t(sizeof fColor)) return kUiBadDataSize;
  std::memcpy(&fColor, data, sizeof fColor);
  Invalidate();
  return kUiNoErr;
}

UiStatus ColorSwatch::GetRegion(int16_t part, void* region) { return ButtonViewRegion(*this, part, region); }

int16_t ColorSwatch::HitTest(const UiPoint& p) { return ButtonViewHitTest(*this, p); }

UiStatus ColorSwatch::SetFocusPart(int16_t part, uint8_t focusEverything, int16_t* outPart) {
  return MoveButtonViewFocus(*this, &fFocusPart, part, focusEverything, outPart);
}

UiStatus ColorSwatch::TextInput(TCarbonEvent& event) { return SpaceBarClicks(fObject, event); }

UiStatus ColorSwatch::Track(TCarbonEvent& event, int16_t* outPart) {
  return TrackPressOrDrag(*this, event, outPart, [this] { PerformColorDrag(); });
}

UiStatus ColorSwatch::GetSizeConstraints(TSizeF* min, TSizeF*) {
  if (min) *min = TSizeF{20, 20};
  return kUiNoErr;
}

UiStatus ColorSwatch::PerformColorDrag() {
  UiDrag* drag = nullptr;
  UiStatus st = UiNewDrag(&drag);
  if (st != kUiNoErr) return st;
  st = UiAddDragItemFlavor(drag, 1, kUiFlavorColour, &fColor, sizeof fColor, 0);
  if (st == kUiNoErr) st = UiSetDragImageSize(drag, 10, 10);
  if (st == kUiNoErr) st = UiTrackDrag(drag, GetOwner());
  UiDisposeDrag(drag);
  return st;
}

int32_t ColorSwatch::GetColorFromDrag(UiDrag* drag, RGBColor* colour) {
  const uint32_t serial = UiDragSerial(drag);
  if (serial && serial == g_lastDrag) {
    if (g_lastAnswer && colour) *colour = g_lastColour;
    return g_lastAnswer;
  }
  g_lastDrag = serial;
  g_lastAnswer = 0;
  uint16_t items = 0;
  if (UiCountDragItems(drag, &items) != kUiNoErr) return 0;
  for (uint16_t i = 1; i <= items; ++i) {
    uint32_t ref = 0;
    uint16_t flavors = 0;
    if (UiGetDragItemReferenceNumber(drag, i, &ref) != kUiNoErr ||
        UiCountDragItemFlavors(drag, ref, &flavors) != kUiNoErr)
      return 0;
    for (uint16_t f = 1; f <= flavors; ++f) {
      FourCC type = 0;
      uint32_t size = 0;
      if (UiGetFlavorType(drag, ref, f, &type) != kUiNoErr) return 0;
      if (type != kUiFlavorColour || UiGetFlavorDataSize(drag, ref, type, &size) != kUiNoErr ||
          size != sizeof(RGBColor))
        continue;
      RGBColor found{};
      if (UiGetFlavorData(drag, ref, type, &found, &size) != kUiNoErr) return 0;
      g_lastColour = found;
      g_lastAnswer = 1;
      if (colour) *colour = found;
      return 1;
    }
  }
  return 0;
}

UiStatus ColorSwatch::DragEnter(void* drag) {
  fDragHilite = uint8_t(GetColorFromDrag(static_cast<UiDrag*>(drag), nullptr));
  if (fDragHilite) Invalidate();
  return fDragHilite;
}

UiStatus ColorSwatch::DragLeave(void* drag) {
  if (fDragHilite) Invalidate();
  fDragHilite = 0;
  return GetColorFromDrag(static_cast<UiDrag*>(drag), nullptr);
}

UiStatus ColorSwatch::DragReceive(void* drag) {
  fDragHilite = 0;
  Invalidate();
  if (!GetColorFromDrag(static_cast<UiDrag*>(drag), &fColor)) return kUiDragNotAccepted;
  return SendColorChangedCommandEvent();
}

UiStatus ColorSwatch::SendColorChangedCommandEvent() { return SendViewChangedCommand(fObject); }

UiStatus HIColorSwatchRegisterType(UiViewClass** outClass) {
  return TObject::RegisterSubclass(kColorSwatchClassID, kUiBaseViewClassID, ColorSwatch::Construct, outClass);
}

UiStatus HIColorSwatchGetColor(UiControl* c, RGBColor* colour) {
  return UiGetControlData(c, 0, kViewTagColour, sizeof *colour, colour, nullptr);
}

UiStatus HIColorSwatchSetColor(UiControl* c, RGBColor colour) {
  return UiSetControlData(c, 0, kViewTagColour, sizeof colour, &colour);
}

int32_t GrabSwatchValues(Globals*, int16_t item, void* window, RGBColor* colour) {
  UiControl* c = GetVarezItem(window, item);
  if (!c) return 0;
  return HIColorSwatchGetColor(c, colour) == kUiNoErr ? 1 : 0;
}

int32_t StuffSwatchValues(Globals*, int16_t item, void* window, const RGBColor* colour) {
  UiControl* c = GetVarezItem(window, item);
  if (!c || !colour) return 0;
  return HIColorSwatchSetColor(c, *colour) == kUiNoErr ? 1 : 0;
}
