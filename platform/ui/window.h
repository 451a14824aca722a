// Windows and their controls, made from definition tables (the stand-in for
// interface-builder files): each window holds a canvas, a root control and
// its items, found by ControlID; standard kinds are drawn and tracked by the
// layer, custom kinds by a registered view class.
#pragma once

#include <cstdint>

#include "platform/ui/canvas.h"
#include "platform/ui/events.h"
#include "platform/ui/ui_types.h"

struct UiWindow;
struct UiControl;
struct UiViewClass;

using UiControlActionProc = void (*)(UiControl* control, int16_t part);

// One item of a window definition.
struct UiItemDefinition {
  FourCC signature;
  int32_t id;
  UiControlKind kind;
  FourCC command;
  Rect bounds;  // window coordinates
  int32_t value, min, max;
  const char* title;    // button title, text, group label; null: none
  const char* classID;  // custom kinds: the registered view class
  int32_t parentId;     // a group's id (same signature); 0: the root
};

struct UiWindowDefinition {
  const char* name;
  const char* title;
  int16_t width, height;
  int32_t windowClass;
  uint32_t attributes;
  const UiItemDefinition* items;
  int32_t itemCount;
};

constexpr int kUiMaxProperties = 8;
constexpr int kUiPropertyBytes = 16;
constexpr int kUiTitleBytes = 256;
constexpr int kUiPopupItemBytes = 64;

struct UiProperty {
  FourCC creator, tag;
  uint32_t size;
  uint8_t data[kUiPropertyBytes];
};

struct UiControl {
  UiControlID id;
  UiControlKind kind;
  FourCC command;
  Rect bounds;
  int32_t value, min, max;
  char title[kUiTitleBytes];  // Mac Roman
  bool visible, active, enabled;
  int16_t hilite;  // part being pressed, 0 none
  UiWindow* window;
  UiControl* parent;
  UiControlActionProc action;
  UiProperty properties[kUiMaxProperties];
  char (*popupItems)[kUiPopupItemBytes];  // NewPtr block, popupCapacity entries
  uint8_t* popupDimmed;                   // NewPtr block beside it: 1 for an item that cannot be chosen
  int32_t popupCount, popupCapacity;
  FourCC contentIcon;  // bevel content: an icon reference, 0 none
  UiTarget target;
  const UiViewClass* viewClass;  // custom kinds
  void* instance;                // the view class's object
  bool mouseInside;              // for tracking-area events
  int16_t caret, anchor;         // edit text: the insertion point and the selection's other end
  const char* dimmedReason;      // static text: why it is dimmed, told to scripts; null none
};

constexpr int kUiMaxControls = 160;

struct UiWindow {
  uint32_t signature;  // kUiWindowSignature while the window lives
  char name[32];
  char title[64];
  Rect bounds;  // global coordinates
  int32_t windowClass;
  uint32_t attributes;
  UiCanvas canvas;
  UiControl* controls;  // NewPtr block of kUiMaxControls; [0] is the root
  int32_t controlCount;
  UiTarget target;
  bool visible, needsDraw;
  bool inModalLoop, quitLoop, modalState;
  UiControl* focus;
  UiControl* cancelButton;
  UiControl* defaultButton;
  UiWindow* sheetParent;
  int32_t frontOrder;  // larger is in front
  void* frontEndData;  // a real window's own record
  // Windows the layer draws itself (a popup's menu) paint after their controls.
  void (*paint)(UiWindow* window, UiCanvas* canvas);
  int16_t minWidth, minHeight;  // a resizable window's least size
  bool placed;                  // given its place (by its bounds, or centred on its parent when first shown)
};

constexpr uint32_t kUiWindowSignature = 0x5549574Eu;  // 'UIWN'

// Creates a hidden window with the definition's items; null without memory.
UiWindow* UiCreateWindow(const UiWindowDefinition* def);
void UiDisposeWindow(UiWindow* window);
// The window that `ref` names, or null when it is no live window.
UiWindow* UiWindowFromRef(void* ref);
int32_t UiLiveWindowCount();
UiWindow* UiFrontWindow();
UiWindow* UiWindowAt(int32_t index);  // 0..UiLiveWindowCount()-1, back to front

void UiShowWindow(UiWindow* window);
void UiHideWindow(UiWindow* window);
void UiSelectWindow(UiWindow* window);
void UiShowSheetWindow(UiWindow* sheet, UiWindow* parent);
void UiInvalidateWindow(UiWindow* window);
// Redraws the whole window into its canvas (controls in order).
void UiDrawWindow(UiWindow* window);
void UiSetWindowBounds(UiWindow* window, const Rect& bounds);
// A person's resize of a resizable window, kept to its least size: the new
// bounds, then resize-completed. False for a window that is not resizable.
bool UiResizeWindow(UiWindow* window, int32_t width, int32_t height);

UiControl* UiRootControl(UiWindow* window);
// kUiNotFound when no control of the window carries the id.
UiStatus UiGetControlByID(UiWindow* window, UiControlID id, UiControl** out);
UiWindow* UiControlOwner(const UiControl* control);
// The visible, enabled control deepest under a window point; the root when none.
UiControl* UiControlAt(UiWindow* window, UiPoint where);

void UiSetControlValue(UiControl* c, int32_t value);  // pulled into min..max
void UiSetControlMinimum(UiControl* c, int32_t min);
void UiSetControlMaximum(UiControl* c, int32_t max);
void UiSetControlTitle(UiControl* c, const char* title);
void UiSetControlVisibility(UiControl* c, bool visible);
void UiActivateControl(UiControl* c, bool active);
void UiHiliteControl(UiControl* c, int16_t part);
void UiSetControlBounds(UiControl* c, const Rect& bounds);
bool UiIsControlVisible(const UiControl* c);  // its own flag and every parent's
void UiInvalidateControl(UiControl* c);
void UiSetKeyboardFocus(UiWindow* w, UiControl* c);

UiStatus UiSetControlProperty(UiControl* c, FourCC creator, FourCC tag, uint32_t size, const void* data);
UiStatus UiGetControlProperty(const UiControl* c, FourCC creator, FourCC tag, uint32_t size, void* data);
UiStatus UiRemoveControlProperty(UiControl* c, FourCC creator, FourCC tag);

// Popup menus: items are Mac Roman texts; values run from 1.
UiStatus UiAppendPopupItem(UiControl* c, const char* text);
void UiClearPopupItems(UiControl* c);
const char* UiPopupItemText(const UiControl* c, int32_t item);

// Control data: custom views answer through their class, standard kinds
// know 'cont' (bevel icon content) only.
UiStatus UiSetControlData(UiControl* c, int16_t part, FourCC tag, uint32_t size, const void* data);
UiStatus UiGetControlData(UiControl* c, int16_t part, FourCC tag, uint32_t size, void* data, uint32_t* outSize);

// The port that drawing and the host's displayPixels go to.
UiWindow* UiGetPort();
void UiSetPort(UiWindow* window);

// Draws one standard control (control_draw.cpp).
void UiDrawStandardControl(UiCanvas* canvas, const UiControl* c);
