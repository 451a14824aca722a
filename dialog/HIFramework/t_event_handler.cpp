#include "dialog/HIFramework/t_event_handler.h"

TEventHandler::~TEventHandler() {
  if (fHandler) UiRemoveEventHandler(fHandler);
}

UiHandler* TEventHandler::GetEventHandler() {
  if (!fHandler) UiInstallEventHandler(GetEventTarget(), EventHandlerProc, 0, nullptr, this, &fHandler);
  return fHandler;
}

UiStatus TEventHandler::EventHandlerProc(UiHandlerCall* call, UiEvent* event, void* self) {
  TCarbonEvent wrapped(event);
  return static_cast<TEventHandler*>(self)->HandleEvent(call, wrapped);
}
