#include "dialog/controls/angle_control.h"

#include <algorithm>
#include <cmath>

#include "dialog/nib_gyre.h"
#include "platform/ui/canvas.h"
#include "platform/ui/view_class.h"
#include "platform/ui/window.h"

namespace {
constexpr FourCC kParamStartPoint = MakeFourCC("sXYZ");
constexpr FourCC kTypeXYZ = MakeFourCC("XYZt");
}  // namespace

AngleControl::AngleControl(UiControl* view) : BallControl(view) {}

UiStatus AngleControl::Construct(UiControl* object, TObject** out) {
  *out = new AngleControl(object);
  return kUiNoErr;
}

UiStatus AngleControl::Initialize(TCarbonEvent& event) {
  const UiStatus st = TView::Initialize(event);
  if (st != kUiNoErr) return st;
  fStart = triplex{0, 0, -1};
  event.GetParameter(kParamStartPoint, kTypeXYZ, sizeof fStart, &fStart);
  HIBallControlSetXYZ(fObject, fStart);
  ActivateInterface(MakeFourCC("drag"));
  ActivateInterface(MakeFourCC("focu"));
  return kUiNoErr;
}

TControlKind AngleControl::GetKind() { return TControlKind{MakeFourCC("Angl"), MakeFourCC("Angl")}; }

void AngleControl::CopeWithTrackedPoint(UiPoint p) {
  const TRectF b = Bounds();
  float scale = 0;
  GetBallScaleFactor(b, nullptr, &scale, nullptr);
  UiPoint centre{};
  GetBallCenter(b, &centre);
  const float dx = (p.x - centre.x) / 57 / scale, dy = (p.y - centre.y) / 57 / scale;
  const float r = std::sqrt(dx * dx + dy * dy);
  const float ux = r != 0 ? dx / r : 0.0f, uy = r != 0 ? dy / r : -1.0f;
  HIBallControlSetXYZ(fObject, triplex{ux, uy, 0});
  HIBallControlSetDegrees(fObject, float(std::atan2(double(ux), double(uy)) * 180 / 3.141592653));
}

UiStatus AngleControl::Track(TCarbonEvent& event, int16_t* outPart) { return BallControl::Track(event, outPart); }

void AngleControl::Draw(void*, UiCanvas* cv) {
  if (!cv || !fObject) return;
  const float alpha = IsActive() ? 1.0f : 0.5f;
  const TRectF local = Bounds();
  const TRectF b{local.x + fObject->bounds.left, local.y + fObject->bounds.top, local.width, local.height};
  float s = 0, scale = 0;
  TRectF sq{};
  GetBallScaleFactor(b, &s, &scale, &sq);
  UiPoint c{};
  GetBallCenter(b, &c);
  const float radius = 57 * scale;
  const auto a = uint8_t(std::lround(255 * alpha));
  // The dial's face: a ring with ticks every 45 degrees.
  UiFillEllipse(cv, Rect{int16_t(c.y - radius), int16_t(c.x - radius), int16_t(c.y + radius), int16_t(c.x + radius)},
                UiColor{120, 120, 120, a});
  const float inner = radius - 2 * scale;
  UiFillEllipse(cv, Rect{int16_t(c.y - inner), int16_t(c.x - inner), int16_t(c.y + inner), int16_t(c.x + inner)},
                UiColor{245, 245, 245, a});
  for (int k = 0; k < 8; ++k) {
    const float t = float(k) * 6.2831855f / 8;
    UiDrawLine(cv, int32_t(c.x + std::sin(t) * inner * 0.8f), int32_t(c.y + std::cos(t) * inner * 0.8f),
               int32_t(c.x + std::sin(t) * inner), int32_t(c.y + std::cos(t) * inner), UiColor{150, 150, 150, a}, 1);
  }
  const UiColor colour = IsActive() ? UiColor{16, 86, 171, 255} : UiColor{73, 73, 73, 128};
  UiDrawLine(cv, int32_t(c.x), int32_t(c.y), int32_t(c.x + float(fPoint.x) * radius),
             int32_t(c.y + float(fPoint.y) * radius), colour, std::max(1, int32_t(std::lround(2 * scale * 128 / 85))));
}

UiStatus HIAngleControlRegisterType(UiViewClass** outClass) {
  return TObject::RegisterSubclass(kAngleControlClassID, kUiBaseViewClassID, AngleControl::Construct, outClass);
}
