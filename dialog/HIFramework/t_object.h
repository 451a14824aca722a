// An object bound to one instance of a registered view class: class
// registration and the object life cycle (construct, initialise, destruct).
#pragma once

#include <cstdint>

#include "dialog/HIFramework/t_event_handler.h"

struct UiControl;
struct UiViewClass;

class TObject : public TEventHandler {
 public:
  using ConstructProc = UiStatus (*)(UiControl* object, TObject** out);

  explicit TObject(UiControl* object) : fObject(object) {}
  ~TObject() override = default;

  UiStatus HandleEvent(UiHandlerCall* call, TCarbonEvent& event) override;
  UiTarget* GetEventTarget() override;
  virtual UiStatus Initialize(TCarbonEvent& event);
  // 'acce' and 'cmds' add their events; others answer kUiParamErr.
  virtual UiStatus ActivateInterface(uint32_t interface);
  // Accessibility: each answers kUiEventNotHandled unless a subclass knows better.
  virtual UiStatus CopyAccessibleChildAtPoint(UiHandlerCall* call, TCarbonEvent& event, void* element, uint64_t id);
  virtual UiStatus CopyAccessibleFocusedChild(UiHandlerCall* call, TCarbonEvent& event, void* element, uint64_t id);
  virtual UiStatus GetAccessibleAttributeNames(UiHandlerCall* call, TCarbonEvent& event, void* element, uint64_t id);
  virtual UiStatus GetAccessibleParameterizedAttributeNames(UiHandlerCall* call, TCarbonEvent& event, void* element,
                                                            uint64_t id);
  virtual UiStatus GetAccessibleNamedAttribute(UiHandlerCall* call, TCarbonEvent& event, void* element, uint64_t id);
  virtual UiStatus SetAccessibleNamedAttribute(UiHandlerCall* call, TCarbonEvent& event, void* element, uint64_t id);
  virtual UiStatus IsAccessibleNamedAttributeSettable(UiHandlerCall* call, TCarbonEvent& event, void* element,
                                                      uint64_t id);
  virtual UiStatus GetAccessibleActionNames(UiHandlerCall* call, TCarbonEvent& event, void* element, uint64_t id);
  virtual UiStatus CopyAccessibleNamedActionDescription(UiHandlerCall* call, TCarbonEvent& event, void* element,
                                                        uint64_t id);
  virtual UiStatus PerformAccessibleNamedAction(UiHandlerCall* call, TCarbonEvent& event, void* element, uint64_t id);
  virtual void PrintDebugInfoSelf() {}
  // Clean-up before the object is deleted.
  virtual UiStatus zordestruct() { return kUiNoErr; }
  virtual UiStatus TV_UpdateCommandStatus(UiHandlerCall* call, const UiCommand& command);
  virtual UiStatus TV_ProcessCommand(UiHandlerCall* call, const UiCommand& command);

  static UiStatus RegisterSubclass(const char* classID, const char* baseClassID, ConstructProc construct,
                                   UiViewClass** outClass);
  UiControl* GetObject() const { return fObject; }

 protected:
  UiControl* fObject;

 private:
  static UiStatus ObjectEventHandler(UiHandlerCall* call, UiEvent* event, void* userData);
};
