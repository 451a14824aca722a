// Custom view classes, registered by class id while the dialog runs. A
// window item names its class; the layer installs the class's handler on
// the new control and sends it the object life-cycle events (construct,
// initialise, destruct), then every control event the class asked for.
#pragma once

#include <cstdint>

#include "platform/ui/events.h"

struct UiControl;

constexpr int kUiClassIDBytes = 64;
constexpr UiStatus kUiClassExists = -22080;

struct UiViewClass {
  char classID[kUiClassIDBytes];
  char baseClassID[kUiClassIDBytes];
  UiEventHandlerProc proc;
  int32_t typeCount;
  UiEventTypeSpec types[kUiMaxHandlerTypes];
  void* constructData;
  bool live;
};

// The system's base view class: every custom class derives from it.
constexpr const char* kUiBaseViewClassID = "com.apple.hiview";

UiStatus UiRegisterViewClass(const char* classID, const char* baseClassID, int32_t typeCount,
                             const UiEventTypeSpec* types, UiEventHandlerProc proc, void* constructData,
                             UiViewClass** out);
UiStatus UiUnregisterViewClass(UiViewClass* cls);
const UiViewClass* UiFindViewClass(const char* classID);
int32_t UiRegisteredViewClassCount();

// Builds the class's object for a control (construct, then initialise);
// false when the class refuses, leaving the control a plain view.
bool UiConstructView(UiControl* control, const UiViewClass* cls);
// Sends destruct and takes the class's handler off the control.
void UiDestructView(UiControl* control);

// For a view class whose instance data is a cell holding its control:
// answers the object's construct and destruct events (true) and leaves every
// other event to the caller (false).
bool UiControlCellObjectEvent(UiEvent* e, void* data);
