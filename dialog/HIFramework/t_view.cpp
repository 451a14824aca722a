#include "dialog/HIFramework/t_view.h"

#include <cmath>
#include <iterator>

#include "platform/ui/window.h"

namespace {

constexpr FourCC kParamRegion = MakeFourCC("rgnh");
constexpr FourCC kParamFeatures = MakeFourCC("cftr");
constexpr FourCC kParamDataTag = MakeFourCC("cdtg");
constexpr FourCC kParamDataBuffer = MakeFourCC("cdbf");
constexpr FourCC kParamDataSize = MakeFourCC("cdbs");
constexpr FourCC kParamAttributes = MakeFourCC("attr");
constexpr FourCC kParamOriginalBounds = MakeFourCC("orct");
constexpr FourCC kParamCurrentBoundsF = MakeFourCC("crct");
constexpr FourCC kParamPreviousPart = MakeFourCC("copc");
constexpr FourCC kParamCurrentPart = MakeFourCC("cnpc");
constexpr FourCC kParamOriginalOwner = MakeFourCC("coow");
constexpr FourCC kParamCurrentOwner = MakeFourCC("ccow");
constexpr FourCC kParamFocusEverything = MakeFourCC("cfev");
constexpr FourCC kParamDragRef = MakeFourCC("drag");
constexpr FourCC kParamLikesDrag = MakeFourCC("cldg");
constexpr FourCC kParamOptimalBounds = MakeFourCC("cobn");
constexpr FourCC kParamBaseline = MakeFourCC("cobo");
constexpr FourCC kParamMinimumSize = MakeFourCC("mnsz");
constexpr FourCC kParamMaximumSize = MakeFourCC("mxsz");
constexpr FourCC kTypeSize = MakeFourCC("hisz");
constexpr FourCC kTypeLong = MakeFourCC("long");
constexpr FourCC kTypeEnum = MakeFourCC("enum");
constexpr FourCC kTagKind = MakeFourCC("kind");

const UiEventTypeSpec kViewEvents[] = {
    {kUiClassCommand, 1},    {kUiClassCommand, 2},    {kUiClassControl, 1000}, {kUiClassControl, 4},
    {kUiClassControl, 3},    {kUiClassControl, 101},  {kUiClassControl, 104},  {kUiClassControl, 103},
    {kUiClassControl, 1003}, {kUiClassControl, 154},  {kUiClassControl, 51},   {kUiClassControl, 105},
    {kUiClassControl, 1},    {kUiClassControl, 160},  {kUiClassControl, 9},    {kUiClassControl, 10},
    {kUiClassControl, 151},  {kUiClassControl, 158},  {kUiClassControl, 161},  {kUiClassControl, 159},
    {kUiClassControl, 157},
};
const UiEventTypeSpec kFocusEvents[] = {{kUiClassControl, 7}, {kUiClassText, 2}};
const UiEventTypeSpec kScrollEvents[] = {{kUiClassScrollable, 1}, {kUiClassScrollable, 10}, {kUiClassControl, 105}};
const UiEventTypeSpec kDragEvents[] = {{kUiClassControl, 18}, {kUiClassControl, 20}, {kUiClassControl, 19},
                                       {kUiClassControl, 21}};

}  // namespace

TView::TView(UiControl* view) : TObject(view) {
  UiAddEventTypesToHandler(GetEventHandler(), int32_t(std::size(kViewEvents)), kViewEvents);
}

UiStatus TView::ActivateInterface(uint32_t interface) {
  if (interface == MakeFourCC("focu"))
    return UiAddEventTypesToHandler(GetEventHandler(), int32_t(std::size(kFocusEvents)), kFocusEvents);
  if (interface == MakeFourCC("scro"))
    return UiAddEventTypesToHandler(GetEventHandler(), int32_t(std::size(kScrollEvents)), kScrollEvents);
  if (interface == MakeFourCC("drag"))
    return UiAddEventTypesToHandler(GetEventHandler(), int32_t(std::size(kDragEvents)), kDragEvents);
  return TObject::ActivateInterface(interface);
}

uint32_t TView::GetBehaviors() { return 0x20040; }
UiStatus TView::ControlHit(int16_t, uint32_t) { return kUiEventNotHandled; }

UiStatus TView::GetData(FourCC tag, int16_t, int32_t size, int32_t* outSize, void* data) {
  if (tag != kTagKind) return kUiEventNotHandled;
  const TControlKind kind = GetKind();
  if (outSize) *outSize = int32_t(sizeof kind);
  if (!data) return kUiNoErr;
  if (size != int32_t(sizeof kind)) return kUiBadDataSize;
  *static_cast<TControlKind*>(data) = kind;
  return kUiNoErr;
}

UiStatus TView::GetRegion(int16_t, void*) { return kUiEventNotHandled; }
int16_t TView::HitTest(const UiPoint&) { return 0; }
UiStatus TView::SetData(FourCC, int16_t, int32_t, const void*) { return kUiEventNotHandled; }
UiStatus TView::SetFocusPart(int16_t, uint8_t, int16_t*) { return kUiEventNotHandled; }
UiStatus TView::TextInput(TCarbonEvent&) { return kUiEventNotHandled; }
UiStatus TView::Track(TCarbonEvent&, int16_t*) { return kUiEventNotHandled; }
UiStatus TView::GetSizeConstraints(TSizeF*, TSizeF*) { return kUiEventNotHandled; }
UiStatus TView::GetOptimalSizeSelf(TSizeF*, float*) { return kUiEventNotHandled; }
UiStatus TView::DragEnter(void*) { return 0; }
UiStatus TView::DragWithin(void*) { return 0; }
UiStatus TView::DragLeave(void*) { return 0; }
UiStatus TView::DragReceive(void*) { return kUiDragNotAccepted; }
UiStatus TView::ScrollableGetInfo(TSizeF*, TSizeF*, TSizeF*, UiPoint*) { return kUiEventNotHandled; }
UiStatus TView::ScrollableScrollTo(const UiPoint*) { return kUiEventNotHandled; }
UiStatus TView::TV_ProcessCommand(const UiCommand&) { return kUiEventNotHandled; }
UiStatus TView::TV_UpdateCommandStatus(const UiCommand&) { return kUiEventNotHandled; }

bool TView::IsActive() const { return fObject && fObject->active; }
void TView::Invalidate() { UiInvalidateControl(fObject); }
void TView::Hilite(int16_t part) { UiHiliteControl(fObject, part); }
UiWindow* TView::GetOwner() const { return UiControlOwner(fObject); }

TRectF TView::Bounds() const {
  if (!fObject) return {};
  const Rect& b = fObject->bounds;
  return TRectF{0, 0, float(b.right - b.left), float(b.bottom - b.top)};
}

void TView::InvalidateWhen(uint32_t flag) {
  if (fAutoInvalidateFlags & flag) Invalidate();
}

UiStatus TView::HandleEvent(UiHandlerCall* call, TCarbonEvent& event) {
  const FourCC cls = event.GetClass();
  const uint32_t kind = event.GetKind();
  if (cls == kUiClassCommand && (kind == kUiCommandProcess || kind == kUiCommandUpdateStatus)) {
    UiCommand cmd{};
    const UiStatus st = event.GetParameter(kUiParamDirectObject, &cmd);
    if (st != kUiNoErr) return st;
    return kind == kUiCommandProcess ? TV_ProcessCommand(cmd) : TV_UpdateCommandStatus(cmd);
  }
  if (cls == kUiClassText) return TextInput(event);
  if (cls == kUiClassScrollable) {
    if (kind == 1) {
      TSizeF image{}, view{}, line{};
      UiPoint origin{};
      const UiStatus st = ScrollableGetInfo(&image, &view, &line, &origin);
      if (st == kUiNoErr) {
        event.SetParameter(MakeFourCC("imsz"), kTypeSize, sizeof image, &image);
        event.SetParameter(MakeFourCC("vwsz"), kTypeSize, sizeof view, &view);
        event.SetParameter(MakeFourCC("lnsz"), kTypeSize, sizeof line, &line);
        event.SetParameter(MakeFourCC("orgn"), kUiTypePoint, sizeof origin, &origin);
      }
      return st;
    }
    if (kind == 10) {
      UiPoint origin{};
      event.GetParameter(MakeFourCC("orgn"), &origin);
      return ScrollableScrollTo(&origin);
    }
    return kUiEventNotHandled;
  }
  if (cls != kUiClassControl) return TObject::HandleEvent(call, event);
  int16_t part = 0;
  switch (kind) {
    case kUiControlInitialize:
      event.SetParameter(kParamFeatures, GetBehaviors());
      return kUiNoErr;
    case kUiControlDraw: {
      void* region = nullptr;
      UiCanvas* context = nullptr;
      event.GetParameter(kParamRegion, MakeFourCC("rgnh"), sizeof region, &region);
      event.GetParameter(kUiParamContext, kUiTypePointer, sizeof context, &context);
      Draw(region, context);
      return kUiNoErr;
    }
    case kUiControlHitTest: {
      UiPoint where{};
      event.GetParameter(kUiParamMouseLocation, &where);
      part = HitTest(where);
      event.SetParameter(kUiParamPart, kUiTypeInt16, sizeof part, &part);
      return kUiNoErr;
    }
    case kUiControlGetPartRegion: {
      void* region = nullptr;
      event.GetParameter(kUiParamPart, kUiTypeInt16, sizeof part, &part);
      event.GetParameter(MakeFourCC("crgn"), MakeFourCC("rgnh"), sizeof region, &region);
      return GetRegion(part, region);
    }
    case kUiControlGetData:
    case kUiControlSetData: {
      FourCC tag = 0;
      void* buffer = nullptr;
      int32_t size = 0;
      event.GetParameter(kUiParamPart, kUiTypeInt16, sizeof part, &part);
      event.GetParameter(kParamDataTag, kTypeEnum, sizeof tag, &tag);
      event.GetParameter(kParamDataBuffer, kUiTypePointer, sizeof buffer, &buffer);
      event.GetParameter(kParamDataSize, kTypeLong, sizeof size, &size);
      if (kind == kUiControlSetData) return SetData(tag, part, size, buffer);
      int32_t outSize = 0;
      const UiStatus st = GetData(tag, part, size, &outSize, buffer);
      // The size is reported even when the buffer was wrong.
      if (st == kUiNoErr || st == kUiBadDataSize) event.SetParameter(kParamDataSize, kTypeLong, sizeof outSize, &outSize);
      return st;
    }
    case 1003: {
      TSizeF size{};
      float baseline = 0;
      const UiStatus st = GetOptimalSizeSelf(&size, &baseline);
      if (st == kUiNoErr && fObject) {
        const Rect& b = fObject->bounds;
        const Rect optimal{b.top, b.left, int16_t(b.top + int32_t(size.height)), int16_t(b.left + int32_t(size.width))};
        const auto base = int16_t(baseline);
        event.SetParameter(kParamOptimalBounds, optimal);
        event.SetParameter(kParamBaseline, kUiTypeInt16, sizeof base, &base);
      }
      return st;
    }
    case kUiControlBoundsChanged: {
      uint32_t attributes = 0;
      TRectF previous{}, current{};
      event.GetParameter(kParamAttributes, &attributes);
      event.GetParameter(kParamOriginalBounds, &previous);
      event.GetParameter(kParamCurrentBoundsF, &current);
      BoundsChanged(attributes, previous, current);
      return kUiNoErr;
    }
    case kUiControlTrack: {
      const UiStatus st = Track(event, &part);
      if (st == kUiNoErr) event.SetParameter(kUiParamPart, kUiTypeInt16, sizeof part, &part);
      return st;
    }
    case 105: {
      TSizeF min{}, max{};
      const UiStatus st = GetSizeConstraints(&min, &max);
      if (st == kUiNoErr) {
        event.SetParameter(kParamMinimumSize, min);
        event.SetParameter(kParamMaximumSize, max);
      }
      return st;
    }
    case kUiControlHit: {
      uint32_t modifiers = 0;
      event.GetParameter(kUiParamPart, kUiTypeInt16, sizeof part, &part);
      event.GetParameter(kUiParamKeyModifiers, &modifiers);
      return ControlHit(part, modifiers);
    }
    case 160: {
      int16_t previous = 0, current = 0;
      event.GetParameter(kParamPreviousPart, kUiTypeInt16, sizeof previous, &previous);
      event.GetParameter(kParamCurrentPart, kUiTypeInt16, sizeof current, &current);
      HiliteChanged(previous, current);
      InvalidateWhen(kAutoInvalidateOnHilite);
      return kUiNoErr;
    }
    case kUiControlActivate:
    case kUiControlDeactivate:
      ActiveStateChanged();
      InvalidateWhen(kAutoInvalidateOnActivate);
      return kUiNoErr;
    case kUiControlValueFieldChanged:
      ValueChanged();
      InvalidateWhen(kAutoInvalidateOnValueChange);
      return kUiNoErr;
    case 158:
      TitleChanged();
      InvalidateWhen(kAutoInvalidateOnTitleChange);
      return kUiNoErr;
    case 161:
      EnabledStateChanged();
      InvalidateWhen(kAutoInvalidateOnEnable);
      return kUiNoErr;
    case 159: {
      UiWindow *previous = nullptr, *current = nullptr;
      event.GetParameter(kParamOriginalOwner, kUiTypeWindowRef, sizeof previous, &previous);
      event.GetParameter(kParamCurrentOwner, kUiTypeWindowRef, sizeof current, &current);
      OwningWindowChanged(previous, current);
      return kUiNoErr;
    }
    case 157:
      VisibilityChanged();
      return kUiNoErr;
    case kUiControlSetFocusPart: {
      const UiStatus read = event.GetParameter(kUiParamPart, kUiTypeInt16, sizeof part, &part);
      if (read != kUiNoErr) return read;
      unsigned char everything = 0;
      event.GetParameter(kParamFocusEverything, &everything);
      int16_t out = 0;
      const UiStatus st = SetFocusPart(part, everything, &out);
      if (st == kUiNoErr) event.SetParameter(kUiParamPart, kUiTypeInt16, sizeof out, &out);
      return st;
    }
    case 18:
    case 19:
    case 20: {
      void* drag = nullptr;
      event.GetParameter(kParamDragRef, kParamDragRef, sizeof drag, &drag);
      const UiStatus answer = kind == 18 ? DragEnter(drag) : kind == 19 ? DragWithin(drag) : DragLeave(drag);
      event.SetParameter(kParamLikesDrag, answer != 0);
      return kUiNoErr;
    }
    case 21: {
      void* drag = nullptr;
      event.GetParameter(kParamDragRef, kParamDragRef, sizeof drag, &drag);
      return DragReceive(drag);
    }
    default:
      return kUiEventNotHandled;
  }
}
