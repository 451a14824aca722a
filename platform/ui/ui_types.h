// platform/ui/: the UI layer: windows, controls, events, menus, drawing and the scripted front end.
// The vocabulary of the UI layer: status codes, event classes and kinds,
// control ids and kinds, command ids, points. Shaped the way the dialog's
// code talks about windows and controls, so that code reads step by step.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

using UiStatus = int32_t;

// Status codes the dialog tests.
constexpr UiStatus kUiNoErr = 0;
constexpr UiStatus kUiEventNotHandled = -9874;
constexpr UiStatus kUiBadDataSize = -30591;
constexpr UiStatus kUiInvalidPartCode = -30588;
constexpr UiStatus kUiDragNotAccepted = -1857;
constexpr UiStatus kUiParamErr = -50;
constexpr UiStatus kUiNotFound = -30584;  // no such control
constexpr UiStatus kUiUserCanceled = -128;
constexpr UiStatus kUiNoMemory = -108;

// Event classes.
constexpr FourCC kUiClassCommand = MakeFourCC("cmds");
constexpr FourCC kUiClassControl = MakeFourCC("cntl");
constexpr FourCC kUiClassWindow = MakeFourCC("wind");
constexpr FourCC kUiClassMouse = MakeFourCC("mous");
constexpr FourCC kUiClassKeyboard = MakeFourCC("keyb");
constexpr FourCC kUiClassText = MakeFourCC("text");
constexpr FourCC kUiClassObject = MakeFourCC("hiob");
constexpr FourCC kUiClassScrollable = MakeFourCC("scrl");
constexpr FourCC kUiClassAccessibility = MakeFourCC("acce");

// Kinds used by the layer itself.
constexpr uint32_t kUiCommandProcess = 1;
constexpr uint32_t kUiCommandUpdateStatus = 2;
constexpr uint32_t kUiControlHit = 1;
constexpr uint32_t kUiControlHitTest = 3;
constexpr uint32_t kUiControlDraw = 4;
constexpr uint32_t kUiControlSetFocusPart = 7;
constexpr uint32_t kUiControlActivate = 9;
constexpr uint32_t kUiControlDeactivate = 10;
constexpr uint32_t kUiControlClick = 13;
constexpr uint32_t kUiControlTrackingAreaEntered = 23;
constexpr uint32_t kUiControlTrackingAreaExited = 24;
constexpr uint32_t kUiControlTrack = 51;
constexpr uint32_t kUiControlGetPartRegion = 101;
constexpr uint32_t kUiControlSetData = 103;
constexpr uint32_t kUiControlGetData = 104;
constexpr uint32_t kUiControlBoundsChanged = 154;
constexpr uint32_t kUiControlValueFieldChanged = 151;
constexpr uint32_t kUiControlInitialize = 1000;
constexpr uint32_t kUiObjectConstruct = 1;
constexpr uint32_t kUiObjectInitialize = 2;
constexpr uint32_t kUiObjectDestruct = 3;
constexpr uint32_t kUiObjectPrintDebugInfo = 5;
constexpr uint32_t kUiMouseDown = 1;
constexpr uint32_t kUiMouseUp = 2;
constexpr uint32_t kUiMouseMoved = 5;
constexpr uint32_t kUiMouseDragged = 6;
constexpr uint32_t kUiTextInputUnicodeForKey = 2;
constexpr uint32_t kUiWindowBoundsChanged = 27;
constexpr uint32_t kUiWindowResizeCompleted = 29;

// Event parameter names and types the layer fills in.
constexpr FourCC kUiParamDirectObject = MakeFourCC("----");
constexpr FourCC kUiParamControlRef = MakeFourCC("ctrl");
constexpr FourCC kUiParamMouseLocation = MakeFourCC("mloc");
constexpr FourCC kUiParamKeyModifiers = MakeFourCC("kmod");
constexpr FourCC kUiParamPart = MakeFourCC("cprt");
constexpr FourCC kUiParamContext = MakeFourCC("cntx");
constexpr FourCC kUiParamText = MakeFourCC("tstx");
constexpr FourCC kUiParamInstance = MakeFourCC("hioi");
constexpr FourCC kUiParamWindowRef = MakeFourCC("wind");
constexpr FourCC kUiParamPreviousBounds = MakeFourCC("prct");
constexpr FourCC kUiParamCurrentBounds = MakeFourCC("crct");
constexpr FourCC kUiTypeCommand = MakeFourCC("hcmd");
constexpr FourCC kUiTypePoint = MakeFourCC("hipt");
constexpr FourCC kUiTypeUInt32 = MakeFourCC("magn");
constexpr FourCC kUiTypeInt16 = MakeFourCC("shor");
constexpr FourCC kUiTypePointer = MakeFourCC("ptr ");
constexpr FourCC kUiTypeText = MakeFourCC("utxt");
constexpr FourCC kUiTypeControlRef = MakeFourCC("ctrl");
constexpr FourCC kUiTypeWindowRef = MakeFourCC("wind");
constexpr FourCC kUiTypeVoidPtr = MakeFourCC("void");
constexpr FourCC kUiTypeRect = MakeFourCC("qdrt");

// Modifier bits of events.
constexpr uint32_t kUiCommandKeyBit = 1u << 8;
constexpr uint32_t kUiShiftKeyBit = 1u << 9;
constexpr uint32_t kUiOptionKeyBit = 1u << 11;
constexpr uint32_t kUiControlKeyBit = 1u << 12;

// Command ids of the standard buttons.
constexpr FourCC kUiCommandOK = MakeFourCC("ok  ");
constexpr FourCC kUiCommandCancel = MakeFourCC("not!");

struct UiControlID {
  FourCC signature;
  int32_t id;
};

// A point in window or view coordinates, in pixels.
struct UiPoint {
  float x, y;
};

// The command record of a process-command event: attributes, command id,
// then the control it came from (14 bytes in the record the dialog reads).
constexpr uint32_t kUiCommandFromControl = 2;
struct UiCommand {
  uint32_t attributes;
  FourCC commandID;
  void* control;
};

enum UiControlKind : int32_t {
  kUiKindRoot = 0,
  kUiKindPushButton,
  kUiKindBevelButton,
  kUiKindCheckbox,
  kUiKindSlider,
  kUiKindEditText,
  kUiKindStaticText,
  kUiKindPopup,
  kUiKindProgressBar,
  kUiKindGroup,
  kUiKindCustom,  // drawn and tracked by a registered view class
};

// Theme cursors the dialog sets.
constexpr int32_t kUiCursorArrow = 0;
constexpr int32_t kUiCursorWatch = 1;
constexpr int32_t kUiCursorClosedHand = 8;
constexpr int32_t kUiCursorOpenHand = 9;
constexpr int32_t kUiCursorPointingHand = 18;

// Window classes: sheets are 11 and 15.
constexpr int32_t kUiWindowClassAlert = 1;
constexpr int32_t kUiWindowClassMovableModal = 4;
constexpr int32_t kUiWindowClassDocument = 6;
constexpr int32_t kUiWindowClassSheet = 11;
constexpr int32_t kUiWindowClassSheetAlert = 15;
constexpr uint32_t kUiWindowResizable = 16;
constexpr uint32_t kUiWindowStandardHandler = 1u << 25;

bool UiPointInRect(UiPoint p, const Rect& r);
