// The trackball: a sphere with a knob; dragging on it picks a point of the
// front hemisphere of the unit sphere (x right, y down, z towards the
// viewer). The same class draws the dial's look when its 'Vari' property
// is 1; the angle dial itself derives from it.
#pragma once

#include <cstdint>

#include "dialog/HIFramework/t_view.h"
#include "projection/complex_math.h"

struct UiViewClass;


constexpr FourCC kBallTagXYZ = MakeFourCC("cXYZ");
constexpr FourCC kBallTagDegrees = MakeFourCC("cDeg");
constexpr FourCC kBallTagRadians = MakeFourCC("cRad");

class BallControl : public TView {
 public:
  explicit BallControl(UiControl* view);
  ~BallControl() override = default;

  static UiStatus Construct(UiControl* object, TObject** out);

  UiStatus Initialize(TCarbonEvent& event) override;
  UiStatus zordestruct() override;
  TControlKind GetKind() override;
  uint32_t GetBehaviors() override;
  UiStatus ControlHit(int16_t part, uint32_t modifiers) override;
  void Draw(void* region, UiCanvas* context) override;
  UiStatus GetData(FourCC tag, int16_t part, int32_t size, int32_t* outSize, void* data) override;
  UiStatus GetRegion(int16_t part, void* region) override;
  int16_t HitTest(const UiPoint& where) override;
  UiStatus SetData(FourCC tag, int16_t part, int32_t size, const void* data) override;
  UiStatus SetFocusPart(int16_t part, uint8_t focusEverything, int16_t* outPart) override;
  UiStatus TextInput(TCarbonEvent& event) override;
  UiStatus Track(TCarbonEvent& event, int16_t* outPart) override;
  UiStatus GetSizeConstraints(TSizeF* min, TSizeF* max) override;
  UiStatus DragEnter(void* drag) override { return 0; }
  UiStatus DragLeave(void* drag) override { return 0; }
  UiStatus DragReceive(void* drag) override { return kUiDragNotAccepted; }

  // The square of side min(w, h) - 5 centred on `bounds`, its centre and scale.
  static void GetBallCenter(const TRectF& square, UiPoint* centre);
  static void GetBallScaleFactor(const TRectF& bounds, float* side, float* scale, TRectF* square);
  virtual void CopeWithTrackedPoint(UiPoint p);
  void DrawCore(UiCanvas* context, int32_t variant);
  UiStatus SendColorChangedCommandEvent();

 protected:
  triplex fPoint{0, 0, -1};
  float fAngle = 0;
  int32_t fVariant = 0;
  uint8_t fDragHilite = 0;
  int16_t fFocusPart = 0;
};

UiStatus HIBallControlRegisterType(UiViewClass** outClass);
UiStatus HIBallControlGetXYZ(UiControl* control, triplex* point);
UiStatus HIBallControlGetDegrees(UiControl* control, float* degrees);
UiStatus HIBallControlSetXYZ(UiControl* control, triplex point);
UiStatus HIBallControlSetDegrees(UiControl* control, float degrees);
