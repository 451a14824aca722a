#include "dialog/controls/ball_control.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dialog/controls/custom_view_support.h"
#include "dialog/nib_gyre.h"
#include "platform/ui/canvas.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/theme_draw.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"

namespace {

constexpr FourCC kParamStartPoint = MakeFourCC("sXYZ");
constexpr FourCC kTypeXYZ = MakeFourCC("XYZt");
constexpr FourCC kPropVariant = MakeFourCC("Vari");
constexpr FourCC kPropButtonContent = MakeFourCC("BUTT");

UiColor Alpha(UiColor c, float alpha) { return UiColor{c.r, c.g, c.b, uint8_t(std::lround(c.a * alpha))}; }

}  // namespace

BallControl::BallControl(UiControl* view) : TView(view) {
  ChangeAutoInvalidateFlags(kAutoInvalidateOnActivate | kAutoInvalidateOnHilite | kAutoInvalidateOnEnable, 0);
}

UiStatus BallControl::Construct(UiControl* object, TObject** out) {
  *out = new BallControl(object);
  return kUiNoErr;
}

UiStatus BallControl::Initialize(TCarbonEvent& event) {
  const UiStatus st = TView::Initialize(event);
  if (st != kUiNoErr) return st;
  fPoint = triplex{0, 0, -1};
  event.GetParameter(kParamStartPoint, kTypeXYZ, sizeof fPoint, &fPoint);
  const triplex start = fPoint;
  UiSetControlData(fObject, 0, kBallTagXYZ, sizeof start, &start);
  Invalidate();
  fVariant = 0;
  ActivateInterface(MakeFourCC("drag"));
  ActivateInterface(MakeFourCC("focu"));
  return kUiNoErr;
}

UiStatus BallControl::zordestruct() {
  // Button content kept as a property holds no reference here that needs
  // releasing: icons are named, not retained.
  UiRemoveControlProperty(fObject, kPluginCreator, kPropButtonContent);
  return kUiNoErr;
}

TControlKind BallControl::GetKind() { return TControlKind{MakeFourCC("Ball"), MakeFourCC("Ball")}; }
uint32_t BallControl::GetBehaviors() { return TView::GetBehaviors() | kBehaviourFocus | kBehaviourDragAndDrop; }

UiStatus BallControl::ControlHit(int16_t, uint32_t) {
  SendColorChangedCommandEvent();
  return kUiNoErr;
}

UiStatus BallControl::SendColorChangedCommandEvent() { return SendViewChangedCommand(fObject); }

UiStatus BallControl::GetData(FourCC tag, int16_t part, int32_t size, int32_t* outSize, void* data) {
  int32_t want = 0;
  if (tag == kBallTagXYZ)
    want = int32_t(sizeof(triplex));
  else if (tag == kBallTagDegrees || tag == kBallTagRadians)
    want = int32_t(sizeof(float));
  else
    return TView::GetData(tag, part, size, outSize, data);
  if (outSize) *outSize = want;
  if (!data) return kUiNoErr;
  if (size != want) return kUiBadDataSize;
  if (tag == kBallTagXYZ) {
    std::memcpy(data, &fPoint, sizeof fPoint);
  } else {
    const float v = tag == kBallTagDegrees ? float(fAngle * 180.0f / 3.1415927410125732f) : fAngle;
    std::memcpy(data, &v, sizeof v);
  }
  return kUiNoErr;
}

UiStatus BallControl::SetData(FourCC tag, int16_t, int32_t size, const void* data) {
  if (tag != kBallTagXYZ && tag != kBallTagDegrees && tag != kBallTagRadians) return kUiEventNotHandled;
  if (!data) return kUiNoErr;
  if (tag == kBallTagXYZ) {
    if (size != int32_t(sizeof(triplex))) return kUiBadDataSize;
    std::memcpy(&fPoint, data, sizeof fPoint);
    fAngle = fPoint.x != 0 && fPoint.y != 0 ? float(std::atan2(fPoint.x, fPoint.y)) : 0.0f;
  } else {
    if (size != int32_t(sizeof(float))) return kUiBadDataSize;
    float v = 0;
    std::memcpy(&v, data, sizeof v);
    fAngle = tag == kBallTagDegrees ? float(double(v) * 3.141592653 / 180.0) : v;
    fPoint = triplex{std::sin(double(fAngle)), std::cos(double(fAngle)), 0};
  }
  Invalidate();
  return kUiNoErr;
}

void BallControl::GetBallScaleFactor(const TRectF& bounds, float* side, float* scale, TRectF* square) {
  const float s = std::min(bounds.width, bounds.height) - 5;
  if (side) *side = s;
  if (scale) *scale = s / 128;
  if (square)
    *square = TRectF{bounds.x + (bounds.width - s) / 2, bounds.y + (bounds.height - s) / 2, s, s};
}

void BallControl::GetBallCenter(const TRectF& square, UiPoint* centre) {
  float s = 0;
  TRectF sq{};
  GetBallScaleFactor(square, &s, nullptr, &sq);
  if (centre) *centre = UiPoint{sq.x + s * 63 / 128, sq.y + s * 60.5f / 128};
}

int16_t BallControl::HitTest(const UiPoint& p) {
  TRectF sq{};
  GetBallScaleFactor(Bounds(), nullptr, nullptr, &sq);
  return p.x >= sq.x && p.y >= sq.y && p.x < sq.x + sq.width && p.y < sq.y + sq.height ? kViewPartButton : 0;
}

UiStatus BallControl::GetRegion(int16_t part, void* region) {
  if (part != -2 && part != -1 && part != kViewPartButton && part != kViewPartContent) return kUiInvalidPartCode;
  const TRectF b = Bounds();
  StoreRegion(region, Rect{0, 0, int16_t(b.height), int16_t(b.width)});
  return kUiNoErr;
}

UiStatus BallControl::SetFocusPart(int16_t part, uint8_t focusEverything, int16_t* outPart) {
  const int16_t focus = NextFocusPart(part, focusEverything, fFocusPart);
  if (focus != fFocusPart) {
    fFocusPart = focus;
    Invalidate();
  }
  if (outPart) *outPart = fFocusPart;
  return kUiNoErr;
}

UiStatus BallControl::TextInput(TCarbonEvent& event) { return SpaceBarClicks(fObject, event); }

UiStatus BallControl::GetSizeConstraints(TSizeF* min, TSizeF*) {
  if (min) *min = TSizeF{20, 20};
  return kUiNoErr;
}

void BallControl::CopeWithTrackedPoint(UiPoint p) {
  const TRectF b = Bounds();
  float scale = 0;
  GetBallScaleFactor(b, nullptr, &scale, nullptr);
  float dx = (p.x - b.width * 63 / 128) / 57 / scale;
  float dy = (p.y - (b.y + b.height * 60.5f / 128)) / 57 / scale;
  const float r = std::sqrt(dx * dx + dy * dy);
  if (r > 1) {
    dx /= r;
    dy /= r;
  }
  const float z = std::sqrt(std::max(0.0f, 1 - dx * dx - dy * dy));
  const triplex point{dx, dy, z};
  UiSetControlData(fObject, 0, kBallTagXYZ, sizeof point, &point);
  Invalidate();
}

UiStatus BallControl::Track(TCarbonEvent& event, int16_t* outPart) {
  UiPoint p{};
  event.GetParameter(kUiParamMouseLocation, &p);
  if (outPart) *outPart = 0;
  if (HitTest(p) == 0) return kUiNoErr;
  CopeWithTrackedPoint(UiPoint{float(int32_t(p.x)), float(int32_t(p.y))});
  UiWindow* w = GetOwner();
  bool released = !UiStillDown();
  UiPoint at{};
  while (!released && UiTrackMouseLocation(w, &at, &released))
    CopeWithTrackedPoint(UiPoint{float(int32_t(at.x - fObject->bounds.left)), float(int32_t(at.y - fObject->bounds.top))});
  // The change reaches the dialog through the hit's command.
  if (outPart) *outPart = kViewPartButton;
  return kUiNoErr;
}

void BallControl::Draw(void*, UiCanvas* cv) {
  int32_t variant = 0;
  UiGetControlProperty(fObject, kPluginCreator, kPropVariant, sizeof variant, &variant);
  fVariant = variant;
  if (variant == 0 || variant == 1) DrawCore(cv, variant);
}

void BallControl::DrawCore(UiCanvas* cv, int32_t variant) {
  if (!cv || !fObject) return;
  const float alpha = IsActive() ? 1.0f : 0.5f;
  const TRectF local = Bounds();
  const TRectF b{local.x + fObject->bounds.left, local.y + fObject->bounds.top, local.width, local.height};
  float s = 0, scale = 0;
  TRectF sq{};
  GetBallScaleFactor(b, &s, &scale, &sq);
  const UiPoint c{float(int32_t(sq.x + s * 63 / 128)), float(int32_t(sq.y + s * 60.5f / 128))};
  const float radius = 57 * scale;
  auto disc = [&](float cx, float cy, float r, UiColor colour) {
    UiFillEllipse(cv, Rect{int16_t(cy - r), int16_t(cx - r), int16_t(cy + r), int16_t(cx + r)}, Alpha(colour, alpha));
  };
  // The artwork: a lit sphere for the ball, a flat face for the dial.
  if (variant == 0) {
    disc(c.x, c.y, radius, UiColor{70, 110, 160, 255});
    for (int k = 1; k <= 4; ++k)
      disc(c.x - radius * 0.08f * k, c.y - radius * 0.08f * k, radius * (1 - 0.17f * k),
           UiColor{uint8_t(70 + 35 * k), uint8_t(110 + 30 * k), uint8_t(160 + 22 * k), 255});
  } else {
    disc(c.x, c.y, radius, UiColor{120, 120, 120, 255});
    disc(c.x, c.y, radius - 2 * scale, UiColor{245, 245, 245, 255});
  }
  if (variant == 1) {
    UiPoint star[16];
    for (int k = 0; k < 16; ++k) {
      const float a = float(k) * 6.2831855f / 16, r = (k % 2 == 0) ? 0.95f : 0.25f;
      star[k] = UiPoint{c.x + std::sin(a) * radius * r, c.y + std::cos(a) * radius * r};
    }
    UiFillPolygon(cv, star, 16, Alpha(UiColor{204, 204, 204, 255}, alpha));
  }
  const UiPoint e{c.x + float(fPoint.x) * radius, c.y + float(fPoint.y) * radius};
  const UiPoint start = variant == 1 ? c
                                     : UiPoint{float(int32_t(c.x + float(fPoint.x) * 19 * scale)),
                                               float(int32_t(c.y + float(fPoint.y) * 19 * scale))};
  const UiColor pointer = IsActive() ? UiColor{16, 86, 171, 255} : UiColor{73, 73, 73, 255};
  UiDrawLine(cv, int32_t(start.x), int32_t(start.y), int32_t(e.x), int32_t(e.y), Alpha(pointer, alpha),
             std::max(1, int32_t(std::lround(scale * 128 / 85))));
  const float knob = scale * 9.035295f;
  disc(std::floor(e.x), std::floor(e.y), knob / 2 + 1, UiColor{30, 30, 30, 255});
  disc(std::floor(e.x) - knob / 6, std::floor(e.y) - knob / 6, knob / 4, UiColor{200, 200, 200, 255});
  if (fFocusPart == kViewPartButton)
    UiDrawThemeFocusRect(cv, Rect{int16_t(sq.y), int16_t(sq.x), int16_t(sq.y + s), int16_t(sq.x + s)});
}

UiStatus HIBallControlRegisterType(UiViewClass** outClass) {
  return TObject::RegisterSubclass(kBallControlClassID, kUiBaseViewClassID, BallControl::Construct, outClass);
}

UiStatus HIBallControlGetXYZ(UiControl* c, triplex* point) {
  return UiGetControlData(c, 0, kBallTagXYZ, sizeof *point, point, nullptr);
}

UiStatus HIBallControlGetDegrees(UiControl* c, float* degrees) {
  return UiGetControlData(c, 0, kBallTagDegrees, sizeof *degrees, degrees, nullptr);
}

UiStatus HIBallControlSetXYZ(UiControl* c, triplex point) {
  const UiStatus st = UiSetControlData(c, 0, kBallTagXYZ, sizeof point, &point);
  UiInvalidateControl(c);
  return st;
}

UiStatus HIBallControlSetDegrees(UiControl* c, float degrees) {
  const UiStatus st = UiSetControlData(c, 0, kBallTagDegrees, sizeof degrees, &degrees);
  UiInvalidateControl(c);
  return st;
}
