// Events and handler chains. An event carries a class, a kind and named,
// typed parameters; it is sent to a target (a control, a window or the
// application), whose handlers run newest first. A handler answers
// kUiEventNotHandled to let the next one (and at the end the target's own
// default behaviour, then the parent target for events that travel up)
// have it, or calls UiCallNextEventHandler to run the rest of the chain
// first and then carry on itself.
#pragma once

#include <cstdint>

#include "platform/ui/ui_types.h"

constexpr UiStatus kUiParamNotFound = -9870;
constexpr UiStatus kUiParamWrongType = -9875;
constexpr int kUiMaxEventParams = 12;
constexpr int kUiEventParamBytes = 32;
constexpr int kUiMaxHandlerTypes = 48;

struct UiEventParam {
  FourCC name, type;
  uint32_t size;
  uint8_t data[kUiEventParamBytes];
};

struct UiEvent {
  FourCC eventClass;
  uint32_t kind;
  uint32_t modifiers;
  int32_t paramCount;
  UiEventParam params[kUiMaxEventParams];
};

struct UiEventTypeSpec {
  FourCC eventClass;
  uint32_t kind;
};

struct UiHandler;
struct UiTarget;

// Where the running handler stands in its chain.
struct UiHandlerCall {
  UiTarget* target;
  UiHandler* next;
  bool pastDefault;  // the target's default behaviour is what runs
  bool nextCalled;
  UiStatus nextResult;
};

using UiEventHandlerProc = UiStatus (*)(UiHandlerCall* call, UiEvent* event, void* userData);

struct UiTarget {
  UiHandler* first;  // newest first
  UiTarget* parent;  // where commands, keys, text and mouse events go on to
  UiEventHandlerProc defaultProc;
  void* defaultData;
};

void UiInitEvent(UiEvent* event, FourCC eventClass, uint32_t kind);
// Replaces a parameter of the same name. kUiParamErr when it is too large
// or the event is full.
UiStatus UiSetEventParameter(UiEvent* event, FourCC name, FourCC type, uint32_t size, const void* data);
// Copies at most `size` bytes; kUiParamNotFound or kUiParamWrongType.
UiStatus UiGetEventParameter(const UiEvent* event, FourCC name, FourCC type, uint32_t size, void* data,
                             uint32_t* actualSize = nullptr);

UiStatus UiInstallEventHandler(UiTarget* target, UiEventHandlerProc proc, int32_t typeCount,
                               const UiEventTypeSpec* types, void* userData, UiHandler** outHandler);
UiStatus UiAddEventTypesToHandler(UiHandler* handler, int32_t typeCount, const UiEventTypeSpec* types);
UiStatus UiRemoveEventHandler(UiHandler* handler);
// Every handler of a target, when the target goes away.
void UiRemoveAllHandlers(UiTarget* target);
int32_t UiLiveHandlerCount();

UiStatus UiSendEventToTarget(UiEvent* event, UiTarget* target);
UiStatus UiCallNextEventHandler(UiHandlerCall* call, UiEvent* event);
