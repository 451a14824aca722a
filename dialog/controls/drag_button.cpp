#include "dialog/controls/drag_button.h"

#include "dialog/controls/custom_view_support.h"
#include "dialog/drag_and_drop.h"
#include "dialog/nib_gyre.h"
#include "platform/ui/canvas.h"
#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/theme_draw.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"

namespace {
constexpr FourCC kParamStartColour = MakeFourCC("sClr");
constexpr FourCC kTypeRGB = MakeFourCC("cRGB");
constexpr FourCC kPropButtonContent = MakeFourCC("BUTT");

// The "psd" picture: a page with a folded corner and three layers.
void DrawDocumentIcon(UiCanvas* cv, int32_t left, int32_t top, bool dim, bool selected) {
  const uint8_t a = dim ? 110 : 255;
  const UiColor paper = selected ? UiColor{200, 215, 240, a} : UiColor{255, 255, 255, a};
  const UiColor line{90, 90, 90, a};
  const Rect page{int16_t(top + 2), int16_t(left + 6), int16_t(top + 30), int16_t(left + 26)};
  UiFillRect(cv, page, paper);
  UiStrokeRect(cv, page, line, 1);
  UiFillRect(cv, Rect{int16_t(top + 2), int16_t(left + 20), int16_t(top + 8), int16_t(left + 26)}, UiColor{200, 200, 200, a});
  const UiColor layers[3] = {{200, 70, 60, a}, {60, 150, 80, a}, {50, 90, 190, a}};
  for (int k = 0; k < 3; ++k)
    UiFillRect(cv, Rect{int16_t(top + 12 + 5 * k), int16_t(left + 9 + 2 * k), int16_t(top + 16 + 5 * k), int16_t(left + 21 + 2 * k)},
               layers[k]);
}
}  // namespace

DragButton::DragButton(UiControl* view) : TView(view) {
  ChangeAutoInvalidateFlags(kAutoInvalidateOnActivate | kAutoInvalidateOnHilite | kAutoInvalidateOnEnable, 0);
}

UiStatus DragButton::Construct(UiControl* object, TObject** out) {
  *out = new DragButton(object);
  return kUiNoErr;
}

UiStatus DragButton::Initialize(TCarbonEvent& event) {
  const UiStatus st = TView::Initialize(event);
  if (st != kUiNoErr) return st;
  fColor = RGBColor{};
  event.GetParameter(kParamStartColour, kTypeRGB, sizeof fColor, &fColor);
  ActivateInterface(MakeFourCC("drag"));
  ActivateInterface(MakeFourCC("focu"));
  return kUiNoErr;
}

UiStatus DragButton::zordestruct() {
  UiRemoveControlProperty(fObject, kPluginCreator, kPropButtonContent);
  return kUiNoErr;
}

TControlKind DragButton::GetKind() { return TControlKind{MakeFourCC("DrBu"), MakeFourCC("DrBu")}; }
uint32_t DragButton::GetBehaviors() { return TView::GetBehaviors() | kBehaviourFocus | kBehaviourDragAndDrop; }

UiStatus DragButton::ControlHit(int16_t, uint32_t) {
  SendViewChangedCommand(fObject);
  return kUiNoErr;
}

void DragButton::Draw(void*, UiCanvas* cv) {
  if (!cv || !fObject) return;
  const Rect& b = fObject->bounds;
  const bool on = fObject->hilite == kViewPartButton;
  UiDrawThemeBevel(cv, Rect{int16_t(b.top + 2), int16_t(b.left + 2), int16_t(b.bottom - 2), int16_t(b.right - 2)},
                   IsActive(), on, fFocusPart == kViewPartButton, true);
  const int32_t cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
  DrawDocumentIcon(cv, cx - 16, cy - 16, !IsActive(), on);
}

UiStatus DragButton::GetRegion(int16_t part, void* region) { return ButtonViewRegion(*this, part, region); }

int16_t DragButton::HitTest(const UiPoint& p) { return ButtonViewHitTest(*this, p); }

UiStatus DragButton::SetFocusPart(int16_t part, uint8_t focusEverything, int16_t* outPart) {
  return MoveButtonViewFocus(*this, &fFocusPart, part, focusEverything, outPart);
}

UiStatus DragButton::TextInput(TCarbonEvent& event) { return SpaceBarClicks(fObject, event); }

UiStatus DragButton::Track(TCarbonEvent& event, int16_t* outPart) {
  return TrackPressOrDrag(*this, event, outPart, [this] { PerformDragFromPSDSender(fObject); });
}

UiStatus DragButton::GetSizeConstraints(TSizeF* min, TSizeF*) {
  if (min) *min = TSizeF{20, 20};
  return kUiNoErr;
}

UiStatus DragButton::DragEnter(void*) {
  fDragHilite = 0;
  return 0;
}

UiStatus HIDragButtonRegisterType(UiViewClass** outClass) {
  return TObject::RegisterSubclass(kDragButtonClassID, kUiBaseViewClassID, DragButton::Construct, outClass);
}
