// The owner of one installed event handler: events reach HandleEvent.
#pragma once

#include "dialog/HIFramework/t_carbon_event.h"

class TEventHandler {
 public:
  TEventHandler() = default;
  virtual ~TEventHandler();
  TEventHandler(const TEventHandler&) = delete;
  TEventHandler& operator=(const TEventHandler&) = delete;

  virtual UiStatus HandleEvent(UiHandlerCall* call, TCarbonEvent& event) = 0;
  virtual UiTarget* GetEventTarget() = 0;

  // Installed on the target at the first call, with no event types.
  UiHandler* GetEventHandler();

 private:
  static UiStatus EventHandlerProc(UiHandlerCall* call, UiEvent* event, void* self);
  UiHandler* fHandler = nullptr;
};
