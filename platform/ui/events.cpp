#include "platform/ui/events.h"

#include <cstring>

struct UiHandler {
  UiTarget* target;
  UiHandler* next;
  UiEventHandlerProc proc;
  void* userData;
  int32_t typeCount;
  UiEventTypeSpec types[kUiMaxHandlerTypes];
  bool inUse;  // the slot is taken (removed handlers stay taken until no dispatch runs)
  bool removed;
};

namespace {

// A fixed pool: handlers come and go with windows, and a handler removed
// while events are being dispatched must stay readable until they end.
constexpr int kHandlerPool = 256;
UiHandler g_handlers[kHandlerPool];
int32_t g_dispatchDepth = 0;

void ReclaimRemoved() {
  if (g_dispatchDepth != 0) return;
  for (UiHandler& h : g_handlers)
    if (h.inUse && h.removed) h = UiHandler{};
}

bool Travels(FourCC eventClass) {
  return eventClass == kUiClassCommand || eventClass == kUiClassKeyboard || eventClass == kUiClassText ||
         eventClass == kUiClassMouse || eventClass == MakeFourCC("HSKL");
}

bool Wants(const UiHandler* h, const UiEvent* e) {
  for (int32_t i = 0; i < h->typeCount; ++i)
    if (h->types[i].eventClass == e->eventClass && h->types[i].kind == e->kind) return true;
  return false;
}

UiStatus DispatchFrom(UiTarget* target, UiHandler* h, UiEvent* e, bool skipDefault = false) {
  ++g_dispatchDepth;
  UiStatus status = kUiEventNotHandled;
  bool done = false;
  for (; h && !done; h = h->next) {
    if (h->removed || !Wants(h, e)) continue;
    UiHandlerCall call{target, h->next, false, false, kUiEventNotHandled};
    status = h->proc(&call, e, h->userData);
    if (status != kUiEventNotHandled) done = true;
    // The handler ran the rest of the chain itself: its answer stands.
    else if (call.nextCalled) status = call.nextResult, done = true;
  }
  if (!done && !skipDefault && target->defaultProc) {
    UiHandlerCall call{target, nullptr, true, false, kUiEventNotHandled};
    status = target->defaultProc(&call, e, target->defaultData);
    if (status != kUiEventNotHandled) done = true;
    else if (call.nextCalled) status = call.nextResult, done = true;
  }
  if (!done && target->parent && Travels(e->eventClass)) status = DispatchFrom(target->parent, target->parent->first, e);
  --g_dispatchDepth;
  return status;
}

}  // namespace

void UiInitEvent(UiEvent* event, FourCC eventClass, uint32_t kind) {
  *event = UiEvent{};
  event->eventClass = eventClass;
  event->kind = kind;
}

UiStatus UiSetEventParameter(UiEvent* event, FourCC name, FourCC type, uint32_t size, const void* data) {
  if (!event || size > kUiEventParamBytes || (size && !data)) return kUiParamErr;
  UiEventParam* slot = nullptr;
  for (int32_t i = 0; i < event->paramCount; ++i)
    if (event->params[i].name == name) slot = &event->params[i];
  if (!slot) {
    if (event->paramCount == kUiMaxEventParams) return kUiParamErr;
    slot = &event->params[event->paramCount++];
  }
  slot->name = name;
  slot->type = type;
  slot->size = size;
  if (size) std::memcpy(slot->data, data, size);
  return kUiNoErr;
}

UiStatus UiGetEventParameter(const UiEvent* event, FourCC name, FourCC type, uint32_t size, void* data,
                             uint32_t* actualSize) {
  if (!event) return kUiParamErr;
  for (int32_t i = 0; i < event->paramCount; ++i) {
    const UiEventParam& p = event->params[i];
    if (p.name != name) continue;
    if (p.type != type) return kUiParamWrongType;
    if (actualSize) *actualSize = p.size;
    if (data) std::memcpy(data, p.data, size < p.size ? size : p.size);
    return kUiNoErr;
  }
  return kUiParamNotFound;
}

UiStatus UiInstallEventHandler(UiTarget* target, UiEventHandlerProc proc, int32_t typeCount,
                               const UiEventTypeSpec* types, void* userData, UiHandler** outHandler) {
  if (outHandler) *outHandler = nullptr;
  if (!target || !proc || typeCount < 0 || typeCount > kUiMaxHandlerTypes) return kUiParamErr;
  ReclaimRemoved();
  for (UiHandler& h : g_handlers) {
    if (h.inUse) continue;
    h = UiHandler{target, target->first, proc, userData, 0, {}, true, false};
    target->first = &h;
    if (typeCount) UiAddEventTypesToHandler(&h, typeCount, types);
    if (outHandler) *outHandler = &h;
    return kUiNoErr;
  }
  return kUiNoMemory;
}

UiStatus UiAddEventTypesToHandler(UiHandler* h, int32_t typeCount, const UiEventTypeSpec* types) {
  if (!h || h->removed || typeCount < 0 || (typeCount && !types)) return kUiParamErr;
  for (int32_t i = 0; i < typeCount; ++i) {
    bool known = false;
    for (int32_t k = 0; k < h->typeCount; ++k)
      known |= h->types[k].eventClass == types[i].eventClass && h->types[k].kind == types[i].kind;
    if (known) continue;
    if (h->typeCount == kUiMaxHandlerTypes) return kUiNoMemory;
    h->types[h->typeCount++] = types[i];
  }
  return kUiNoErr;
}

UiStatus UiRemoveEventHandler(UiHandler* h) {
  if (!h || !h->inUse || h->removed) return kUiParamErr;
  UiTarget* t = h->target;
  for (UiHandler** link = &t->first; *link; link = &(*link)->next)
    if (*link == h) {
      *link = h->next;
      break;
    }
  // Kept readable (its `next` too) for a dispatch that is walking past it.
  h->removed = true;
  ReclaimRemoved();
  return kUiNoErr;
}

void UiRemoveAllHandlers(UiTarget* target) {
  while (target && target->first) UiRemoveEventHandler(target->first);
}

int32_t UiLiveHandlerCount() {
  int32_t n = 0;
  for (const UiHandler& h : g_handlers) n += h.inUse && !h.removed;
  return n;
}

UiStatus UiSendEventToTarget(UiEvent* event, UiTarget* target) {
  if (!event || !target) return kUiParamErr;
  return DispatchFrom(target, target->first, event);
}

UiStatus UiCallNextEventHandler(UiHandlerCall* call, UiEvent* event) {
  if (!call || !event || !call->target) return kUiParamErr;
  if (call->nextCalled) return call->nextResult;
  call->nextCalled = true;
  if (call->pastDefault) {
    UiTarget* parent = call->target->parent;
    call->nextResult = parent && Travels(event->eventClass) ? DispatchFrom(parent, parent->first, event)
                                                            : kUiEventNotHandled;
  } else {
    call->nextResult = DispatchFrom(call->target, call->next, event);
  }
  return call->nextResult;
}
