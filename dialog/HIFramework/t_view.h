// dialog/HIFramework/: the view class framework: objects, views and the events they handle.
// A TObject bound to a view: every control event becomes a call of one
// virtual operation with its parameters unpacked. A subclass overrides
// what it needs and registers itself under a class id; windows then make
// instances by that id.
#pragma once

#include <cstdint>

#include "dialog/HIFramework/t_object.h"

struct UiCanvas;
struct UiWindow;

struct TControlKind {
  FourCC signature;
  FourCC kind;
};

// Auto-invalidate flags: redraw on these changes.
constexpr uint32_t kAutoInvalidateOnActivate = 1;
constexpr uint32_t kAutoInvalidateOnHilite = 2;
constexpr uint32_t kAutoInvalidateOnEnable = 4;
constexpr uint32_t kAutoInvalidateOnValueChange = 8;
constexpr uint32_t kAutoInvalidateOnTitleChange = 16;

class TView : public TObject {
 public:
  explicit TView(UiControl* view);
  ~TView() override = default;

  UiStatus HandleEvent(UiHandlerCall* call, TCarbonEvent& event) override;
  UiStatus ActivateInterface(uint32_t interface) override;
  using TObject::TV_ProcessCommand;
  using TObject::TV_UpdateCommandStatus;

  virtual TControlKind GetKind() = 0;
  virtual uint32_t GetBehaviors();
  virtual void ActiveStateChanged() {}
  virtual void BoundsChanged(uint32_t attributes, const TRectF& previous, const TRectF& current) {}
  virtual void EnabledStateChanged() {}
  virtual void HiliteChanged(int16_t previousPart, int16_t currentPart) {}
  virtual void OwningWindowChanged(UiWindow* previous, UiWindow* current) {}
  virtual void VisibilityChanged() {}
  virtual void TitleChanged() {}
  virtual void ValueChanged() {}
  virtual UiStatus ControlHit(int16_t part, uint32_t modifiers);
  virtual void Draw(void* region, UiCanvas* context) {}
  virtual UiStatus GetData(FourCC tag, int16_t part, int32_t size, int32_t* outSize, void* data);
  virtual UiStatus GetRegion(int16_t part, void* region);
  virtual int16_t HitTest(const UiPoint& where);
  virtual UiStatus SetData(FourCC tag, int16_t part, int32_t size, const void* data);
  virtual UiStatus SetFocusPart(int16_t part, uint8_t focusEverything, int16_t* outPart);
  virtual UiStatus TextInput(TCarbonEvent& event);
  virtual UiStatus Track(TCarbonEvent& event, int16_t* outPart);
  virtual UiStatus GetSizeConstraints(TSizeF* min, TSizeF* max);
  virtual UiStatus GetOptimalSizeSelf(TSizeF* size, float* baseline);
  // Drags: enter, within and leave answer 0 (not wanted); receive refuses.
  virtual UiStatus DragEnter(void* drag);
  virtual UiStatus DragWithin(void* drag);
  virtual UiStatus DragLeave(void* drag);
  virtual UiStatus DragReceive(void* drag);
  virtual UiStatus ScrollableGetInfo(TSizeF* image, TSizeF* view, TSizeF* line, UiPoint* origin);
  virtual UiStatus ScrollableScrollTo(const UiPoint* origin);
  virtual UiStatus TV_ProcessCommand(const UiCommand& command);
  virtual UiStatus TV_UpdateCommandStatus(const UiCommand& command);

  void ChangeAutoInvalidateFlags(uint32_t set, uint32_t clear) { fAutoInvalidateFlags = (fAutoInvalidateFlags | set) & ~clear; }
  uint32_t AutoInvalidateFlags() const { return fAutoInvalidateFlags; }
  bool IsActive() const;
  void Invalidate();
  void Hilite(int16_t part);
  UiWindow* GetOwner() const;
  TRectF Bounds() const;

 private:
  void InvalidateWhen(uint32_t flag);
  uint32_t fAutoInvalidateFlags = 0;
};
