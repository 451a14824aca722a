// The drag button: a small bevel button with a document picture. A press
// that moves drags the rendered result out as a layered file; nothing can
// be dropped on it.
#pragma once

#include <cstdint>

#include "dialog/ColorSwatchView/color_swatch.h"
#include "dialog/HIFramework/t_view.h"

struct UiViewClass;

class DragButton : public TView {
 public:
  explicit DragButton(UiControl* view);
  ~DragButton() override = default;

  static UiStatus Construct(UiControl* object, TObject** out);

  UiStatus Initialize(TCarbonEvent& event) override;
  UiStatus zordestruct() override;
  TControlKind GetKind() override;
  uint32_t GetBehaviors() override;
  UiStatus ControlHit(int16_t part, uint32_t modifiers) override;
  void Draw(void* region, UiCanvas* context) override;
  UiStatus GetRegion(int16_t part, void* region) override;
  int16_t HitTest(const UiPoint& where) override;
  UiStatus SetFocusPart(int16_t part, uint8_t focusEverything, int16_t* outPart) override;
  UiStatus TextInput(TCarbonEvent& event) override;
  UiStatus Track(TCarbonEvent& event, int16_t* outPart) override;
  UiStatus GetSizeConstraints(TSizeF* min, TSizeF* max) override;
  UiStatus DragEnter(void* drag) override;
  UiStatus DragLeave(void* drag) override { return 0; }
  UiStatus DragReceive(void* drag) override { return kUiDragNotAccepted; }

 private:
  RGBColor fColor{};
  uint8_t fDragHilite = 0;
  int16_t fFocusPart = 0;
};

UiStatus HIDragButtonRegisterType(UiViewClass** outClass);
