#include "platform/ui/view_class.h"

#include <cstdio>
#include <cstring>

#include "platform/ui/window.h"

namespace {

constexpr int kClassPool = 16;
UiViewClass g_classes[kClassPool];

}  // namespace

UiStatus UiRegisterViewClass(const char* classID, const char* baseClassID, int32_t typeCount,
                             const UiEventTypeSpec* types, UiEventHandlerProc proc, void* constructData,
                             UiViewClass** out) {
  if (out) *out = nullptr;
  if (!classID || !proc || typeCount < 0 || typeCount > kUiMaxHandlerTypes) return kUiParamErr;
  // Only the system's base view can be derived from here.
  if (baseClassID && std::strcmp(baseClassID, kUiBaseViewClassID) != 0) return kUiParamErr;
  if (UiFindViewClass(classID)) return kUiClassExists;
  for (UiViewClass& c : g_classes) {
    if (c.live) continue;
    c = UiViewClass{};
    std::snprintf(c.classID, sizeof c.classID, "%s", classID);
    std::snprintf(c.baseClassID, sizeof c.baseClassID, "%s", kUiBaseViewClassID);
    c.proc = proc;
    c.typeCount = typeCount;
    if (typeCount) std::memcpy(c.types, types, sizeof(UiEventTypeSpec) * size_t(typeCount));
    c.constructData = constructData;
    c.live = true;
    if (out) *out = &c;
    return kUiNoErr;
  }
  return kUiNoMemory;
}

UiStatus UiUnregisterViewClass(UiViewClass* cls) {
  if (!cls || !cls->live) return kUiParamErr;
  *cls = UiViewClass{};
  return kUiNoErr;
}

const UiViewClass* UiFindViewClass(const char* classID) {
  if (!classID) return nullptr;
  for (const UiViewClass& c : g_classes)
    if (c.live && std::strcmp(c.classID, classID) == 0) return &c;
  return nullptr;
}

int32_t UiRegisteredViewClassCount() {
  int32_t n = 0;
  for (const UiViewClass& c : g_classes) n += c.live;
  return n;
}

bool UiConstructView(UiControl* control, const UiViewClass* cls) {
  if (!control || !cls || !cls->live) return false;
  // The construct event reaches the class with its construct data; the
  // object it makes is the user data of every later event.
  UiHandler* constructor = nullptr;
  const UiEventTypeSpec construct{kUiClassObject, kUiObjectConstruct};
  if (UiInstallEventHandler(&control->target, cls->proc, 1, &construct, cls->constructData, &constructor) != kUiNoErr)
    return false;
  UiEvent e;
  UiInitEvent(&e, kUiClassObject, kUiObjectConstruct);
  void* self = control;
  UiSetEventParameter(&e, kUiParamInstance, kUiTypeVoidPtr, sizeof self, &self);
  const UiStatus made = UiSendEventToTarget(&e, &control->target);
  UiRemoveEventHandler(constructor);
  void* instance = nullptr;
  UiGetEventParameter(&e, kUiParamInstance, kUiTypeVoidPtr, sizeof instance, &instance);
  if (made != kUiNoErr || !instance || instance == self) return false;
  control->instance = instance;
  control->viewClass = cls;
  if (UiInstallEventHandler(&control->target, cls->proc, cls->typeCount, cls->types, instance, nullptr) != kUiNoErr)
    return false;
  UiInitEvent(&e, kUiClassObject, kUiObjectInitialize);
  UiSetEventParameter(&e, kUiParamInstance, kUiTypeVoidPtr, sizeof self, &self);
  UiSendEventToTarget(&e, &control->target);
  return true;
}

void UiDestructView(UiControl* control) {
  if (!control || !control->viewClass) return;
  UiEvent e;
  UiInitEvent(&e, kUiClassObject, kUiObjectDestruct);
  void* self = control;
  UiSetEventParameter(&e, kUiParamInstance, kUiTypeVoidPtr, sizeof self, &self);
  UiSendEventToTarget(&e, &control->target);
  UiRemoveAllHandlers(&control->target);
  control->viewClass = nullptr;
  control->instance = nullptr;
}

bool UiControlCellObjectEvent(UiEvent* e, void* data) {
  if (e->eventClass != kUiClassObject) return false;
  if (e->kind == kUiObjectConstruct) {
    void* control = nullptr;
    UiGetEventParameter(e, kUiParamInstance, kUiTypeVoidPtr, sizeof control, &control);
    void* cell = new UiControl*(static_cast<UiControl*>(control));
    UiSetEventParameter(e, kUiParamInstance, kUiTypeVoidPtr, sizeof cell, &cell);
  } else if (e->kind == kUiObjectDestruct) {
    delete static_cast<UiControl**>(data);
  }
  return true;
}
