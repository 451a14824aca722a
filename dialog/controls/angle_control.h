// dialog/controls/: the dialog's own controls and views: dials, ball, drag button, wells, proxies.
// The angle dial: a dial with a pointer; dragging sets a direction in the
// plane, kept as an angle in degrees and as the matching unit vector.
#pragma once

#include "dialog/controls/ball_control.h"

class AngleControl : public BallControl {
 public:
  explicit AngleControl(UiControl* view);
  ~AngleControl() override = default;

  static UiStatus Construct(UiControl* object, TObject** out);

  UiStatus Initialize(TCarbonEvent& event) override;
  TControlKind GetKind() override;
  void Draw(void* region, UiCanvas* context) override;
  UiStatus Track(TCarbonEvent& event, int16_t* outPart) override;
  void CopeWithTrackedPoint(UiPoint p) override;

 private:
  triplex fStart{0, 0, -1};
  uint8_t fAngleDragHilite = 0;
  int16_t fAngleFocusPart = 0;
};

UiStatus HIAngleControlRegisterType(UiViewClass** outClass);
