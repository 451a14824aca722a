#include "dialog/HIFramework/t_object.h"

#include <iterator>

#include "platform/ui/view_class.h"
#include "platform/ui/window.h"

namespace {

constexpr uint32_t kInterfaceAccessibility = MakeFourCC("acce");
constexpr uint32_t kInterfaceCommands = MakeFourCC("cmds");

const UiEventTypeSpec kObjectEvents[] = {
    {kUiClassObject, kUiObjectConstruct},
    {kUiClassObject, kUiObjectInitialize},
    {kUiClassObject, kUiObjectDestruct},
    {kUiClassObject, kUiObjectPrintDebugInfo},
};

const UiEventTypeSpec kAccessibilityEvents[] = {
    {kUiClassAccessibility, 1},  {kUiClassAccessibility, 2},  {kUiClassAccessibility, 21}, {kUiClassAccessibility, 25},
    {kUiClassAccessibility, 22}, {kUiClassAccessibility, 23}, {kUiClassAccessibility, 24}, {kUiClassAccessibility, 41},
    {kUiClassAccessibility, 44}, {kUiClassAccessibility, 42},
};

const UiEventTypeSpec kCommandEvents[] = {{kUiClassCommand, kUiCommandUpdateStatus},
                                          {kUiClassCommand, kUiCommandProcess}};

}  // namespace

UiTarget* TObject::GetEventTarget() { return fObject ? &fObject->target : nullptr; }

UiStatus TObject::Initialize(TCarbonEvent&) { return kUiNoErr; }

UiStatus TObject::ActivateInterface(uint32_t interface) {
  if (interface == kInterfaceAccessibility)
    return UiAddEventTypesToHandler(GetEventHandler(), int32_t(std::size(kAccessibilityEvents)), kAccessibilityEvents);
  if (interface == kInterfaceCommands)
    return UiAddEventTypesToHandler(GetEventHandler(), int32_t(std::size(kCommandEvents)), kCommandEvents);
  return kUiParamErr;
}

#define NOT_HANDLED_ACCESSIBILITY(name) \
  UiStatus TObject::name(UiHandlerCall*, TCarbonEvent&, void*, uint64_t) { return kUiEventNotHandled; }
NOT_HANDLED_ACCESSIBILITY(CopyAccessibleChildAtPoint)
NOT_HANDLED_ACCESSIBILITY(CopyAccessibleFocusedChild)
NOT_HANDLED_ACCESSIBILITY(GetAccessibleAttributeNames)
NOT_HANDLED_ACCESSIBILITY(GetAccessibleParameterizedAttributeNames)
NOT_HANDLED_ACCESSIBILITY(GetAccessibleNamedAttribute)
NOT_HANDLED_ACCESSIBILITY(SetAccessibleNamedAttribute)
NOT_HANDLED_ACCESSIBILITY(IsAccessibleNamedAttributeSettable)
NOT_HANDLED_ACCESSIBILITY(GetAccessibleActionNames)
NOT_HANDLED_ACCESSIBILITY(CopyAccessibleNamedActionDescription)
NOT_HANDLED_ACCESSIBILITY(PerformAccessibleNamedAction)
#undef NOT_HANDLED_ACCESSIBILITY

UiStatus TObject::TV_UpdateCommandStatus(UiHandlerCall*, const UiCommand&) { return kUiEventNotHandled; }
UiStatus TObject::TV_ProcessCommand(UiHandlerCall*, const UiCommand&) { return kUiEventNotHandled; }

UiStatus TObject::HandleEvent(UiHandlerCall* call, TCarbonEvent& event) {
  if (event.GetClass() == kUiClassAccessibility) {
    void* element = nullptr;
    uint64_t id = 0;
    event.GetParameter(MakeFourCC("aobj"), MakeFourCC("cfty"), sizeof element, &element);
    switch (event.GetKind()) {
      case 1: return CopyAccessibleChildAtPoint(call, event, element, id);
      case 2: return CopyAccessibleFocusedChild(call, event, element, id);
      case 21: return GetAccessibleAttributeNames(call, event, element, id);
      case 25: return GetAccessibleParameterizedAttributeNames(call, event, element, id);
      case 22: return GetAccessibleNamedAttribute(call, event, element, id);
      case 23: return SetAccessibleNamedAttribute(call, event, element, id);
      case 24: return IsAccessibleNamedAttributeSettable(call, event, element, id);
      case 41: return GetAccessibleActionNames(call, event, element, id);
      case 42: return PerformAccessibleNamedAction(call, event, element, id);
      case 44: return CopyAccessibleNamedActionDescription(call, event, element, id);
      default: return kUiEventNotHandled;
    }
  }
  if (event.GetClass() == kUiClassCommand) {
    UiCommand cmd{};
    if (event.GetParameter(kUiParamDirectObject, &cmd) != kUiNoErr) return kUiEventNotHandled;
    if (event.GetKind() == kUiCommandProcess) return TV_ProcessCommand(call, cmd);
    if (event.GetKind() == kUiCommandUpdateStatus) return TV_UpdateCommandStatus(call, cmd);
  }
  return kUiEventNotHandled;
}

UiStatus TObject::RegisterSubclass(const char* classID, const char* baseClassID, ConstructProc construct,
                                   UiViewClass** outClass) {
  return UiRegisterViewClass(classID, baseClassID, int32_t(std::size(kObjectEvents)), kObjectEvents,
                             ObjectEventHandler, reinterpret_cast<void*>(construct), outClass);
}

UiStatus TObject::ObjectEventHandler(UiHandlerCall* call, UiEvent* e, void* userData) {
  if (e->eventClass != kUiClassObject) return kUiEventNotHandled;
  UiControl* instance = nullptr;
  const UiStatus read = UiGetEventParameter(e, kUiParamInstance, kUiTypeVoidPtr, sizeof instance, &instance);
  switch (e->kind) {
    case kUiObjectConstruct: {
      if (read != kUiNoErr) return read;
      TObject* object = nullptr;
      const UiStatus made = reinterpret_cast<ConstructProc>(userData)(instance, &object);
      if (made != kUiNoErr) return made;
      void* data = object;
      return UiSetEventParameter(e, kUiParamInstance, kUiTypeVoidPtr, sizeof data, &data);
    }
    case kUiObjectInitialize: {
      const UiStatus base = UiCallNextEventHandler(call, e);
      if (base != kUiNoErr) return base;
      TCarbonEvent wrapped(e);
      return static_cast<TObject*>(userData)->Initialize(wrapped);
    }
    case kUiObjectDestruct: {
      auto* object = static_cast<TObject*>(userData);
      if (read == kUiNoErr && instance) {
        object->zordestruct();
        // Another object's destruction passing through: this one stays.
        if (instance != object->fObject) return kUiEventNotHandled;
      }
      delete object;
      return kUiEventNotHandled;
    }
    case kUiObjectPrintDebugInfo: {
      auto* object = static_cast<TObject*>(userData);
      if (read == kUiNoErr && instance && instance != object->fObject) return kUiEventNotHandled;
      object->PrintDebugInfoSelf();
      return kUiEventNotHandled;
    }
    default:
      return kUiEventNotHandled;
  }
}
