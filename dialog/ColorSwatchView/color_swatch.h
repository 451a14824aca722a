// dialog/ColorSwatchView/: the colour swatch view.
// The colour swatch: a small bevel button filled with its colour. A click
// opens the colour picker; a press that moves drags the colour out; a
// colour dropped on it becomes its colour. Every change reaches the window
// as the control's command.
#pragma once

#include <cstdint>

#include "dialog/HIFramework/t_view.h"

struct UiDrag;
struct UiViewClass;
struct Globals;

struct RGBColor {
  uint16_t red, green, blue;
};

class ColorSwatch : public TView {
 public:
  explicit ColorSwatch(UiControl* view);
  ~ColorSwatch() override = default;

  static UiStatus Construct(UiControl* object, TObject** out);

  UiStatus Initialize(TCarbonEvent& event) override;
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
  UiStatus DragEnter(void* drag) override;
  UiStatus DragLeave(void* drag) override;
  UiStatus DragReceive(void* drag) override;

  UiStatus PerformColorDrag();
  // 1 when the drag carries a 6-byte colour, which goes to `colour`.
  static int32_t GetColorFromDrag(UiDrag* drag, RGBColor* colour);
  UiStatus SendColorChangedCommandEvent();

 private:
  RGBColor fColor{};
  uint8_t fDragHilite = 0;
  int16_t fFocusPart = 0;
};

UiStatus HIColorSwatchRegisterType(UiViewClass** outClass);
UiStatus HIColorSwatchGetColor(UiControl* control, RGBColor* colour);
UiStatus HIColorSwatchSetColor(UiControl* control, RGBColor colour);
// Item 7 or 8 of the dialog: 0 when the item does not exist.
int32_t GrabSwatchValues(Globals* globals, int16_t item, void* window, RGBColor* colour);
int32_t StuffSwatchValues(Globals* globals, int16_t item, void* window, const RGBColor* colour);
