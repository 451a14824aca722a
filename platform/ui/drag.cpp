#include "platform/ui/drag.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/ui/event_loop.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/events.h"
#include "platform/ui/window.h"

namespace {

struct Flavor {
  FourCC type;
  uint32_t flags;
  std::vector<uint8_t> data;
};

struct Item {
  uint32_t ref;
  std::vector<Flavor> flavors;
};

constexpr FourCC kParamDrag = MakeFourCC("drag");
constexpr FourCC kParamLikesDrag = MakeFourCC("cldg");
constexpr float kDragThreshold = 3.0f;

int32_t g_liveDrags = 0;
char g_dropFolder[1024];

struct WindowHandlers {
  UiWindow* window;
  UiDragTrackingProc tracking;
  UiDragReceiveProc receive;
  void* ref;
};
constexpr int kHandlerSlots = 8;
WindowHandlers g_handlers[kHandlerSlots];

WindowHandlers* HandlersOf(UiWindow* w) {
  for (WindowHandlers& h : g_handlers)
    if (w && h.window == w) return &h;
  return nullptr;
}

}  // namespace

uint32_t g_dragSerial = 0;

struct UiDrag {
  uint32_t serial = ++g_dragSerial;
  std::vector<Item> items;
  UiDragSendDataProc send = nullptr;
  void* sendRef = nullptr;
  int32_t imageWidth = 0, imageHeight = 0;
  char dropFolder[1024] = {};
  UiPoint dropPoint{0, 0};
};

namespace {

Item* FindItem(UiDrag* d, uint32_t ref) {
  for (Item& i : d->items)
    if (i.ref == ref) return &i;
  return nullptr;
}

const Item* FindItem(const UiDrag* d, uint32_t ref) { return FindItem(const_cast<UiDrag*>(d), ref); }

Flavor* FindFlavor(Item* i, FourCC type) {
  for (Flavor& f : i->flavors)
    if (f.type == type) return &f;
  return nullptr;
}

UiStatus SendDragEvent(UiControl* c, uint32_t kind, UiDrag* drag, bool* likes) {
  UiEvent e;
  UiInitEvent(&e, kUiClassControl, kind);
  UiSetEventParameter(&e, kParamDrag, kParamDrag, sizeof drag, &drag);
  const UiStatus st = UiSendEventToTarget(&e, &c->target);
  if (likes) {
    unsigned char answer = 0;
    *likes = UiGetEventParameter(&e, kParamLikesDrag, MakeFourCC("bool"), 1, &answer) == kUiNoErr && answer;
  }
  return st;
}

// The front-most visible window under a global point.
UiWindow* WindowUnder(float gx, float gy) {
  UiWindow* found = nullptr;
  for (int32_t i = 0; i < UiLiveWindowCount(); ++i) {
    UiWindow* w = UiWindowAt(i);
    if (!w || !w->visible) continue;
    if (gx >= w->bounds.left && gx < w->bounds.right && gy >= w->bounds.top && gy < w->bounds.bottom) found = w;
  }
  return found;
}

// A view that takes drags: a custom view of a visible, active control.
UiControl* DragViewAt(UiWindow* w, UiPoint p) {
  UiControl* c = UiControlAt(w, p);
  return c && c->viewClass && c->active ? c : nullptr;
}

struct Tracker {
  UiDrag* drag;
  UiWindow* window = nullptr;
  UiControl* view = nullptr;
  bool viewLikes = false;

  void Move(UiWindow* w, UiPoint p) {
    if (w != window) {
      Leave();
      window = w;
      if (WindowHandlers* h = HandlersOf(w); h && h->tracking) h->tracking(kUiDragEnterWindow, w, h->ref, drag);
    } else if (w) {
      if (WindowHandlers* h = HandlersOf(w); h && h->tracking) h->tracking(kUiDragInWindow, w, h->ref, drag);
    }
    UiControl* c = w ? DragViewAt(w, p) : nullptr;
    if (c != view) {
      if (view) SendDragEvent(view, 20, drag, nullptr);
      view = c;
      viewLikes = false;
      if (view) SendDragEvent(view, 18, drag, &viewLikes);
    } else if (view) {
      SendDragEvent(view, 19, drag, nullptr);
    }
  }

  void Leave() {
    if (view) SendDragEvent(view, 20, drag, nullptr);
    view = nullptr;
    viewLikes = false;
    if (window)
      if (WindowHandlers* h = HandlersOf(window); h && h->tracking) h->tracking(kUiDragLeaveWindow, window, h->ref, drag);
    window = nullptr;
  }

  UiStatus Drop(UiPoint p) {
    drag->dropPoint = p;
    if (view && viewLikes) {
      UiControl* c = view;
      view = nullptr;
      return SendDragEvent(c, 21, drag, nullptr);
    }
    if (view) SendDragEvent(view, 20, drag, nullptr);
    view = nullptr;
    UiWindow* w = window;
    window = nullptr;
    if (WindowHandlers* h = HandlersOf(w); h && h->receive) return h->receive(w, h->ref, drag);
    return w ? kUiDragNotAccepted : kUiUserCanceled;
  }
};

bool HasPromises(const UiDrag* drag) {
  for (const Item& item : drag->items)
    for (const Flavor& f : item.flavors)
      if (f.type == kUiFlavorPromiseHFS) return true;
  return false;
}

// Keeps every promise of the drag in the drop folder. A window of its own
// cannot see the desktop it was let go over: a person at the display is
// asked for the folder instead.
UiStatus DropIntoFolder(UiDrag* drag) {
  if (!HasPromises(drag)) return kUiUserCanceled;
  if (g_dropFolder[0]) {
    std::snprintf(drag->dropFolder, sizeof drag->dropFolder, "%s", g_dropFolder);
  } else {
    const UiFrontEnd* fe = UiGetFrontEnd();
    if (!fe || !fe->interactive) return kUiUserCanceled;
    const UiChooserRequest request{kUiChooseFolder, "Put the dragged file into which folder?", nullptr, nullptr, nullptr,
                                   nullptr};
    if (!UiRunFileChooser(request, drag->dropFolder, int32_t(sizeof drag->dropFolder))) return kUiUserCanceled;
  }
  UiStatus result = kUiNoErr;
  for (Item& item : drag->items)
    for (Flavor& f : item.flavors)
      if (f.type == kUiFlavorPromiseHFS && f.data.size() >= 14 && drag->send) {
        FourCC promised = 0;
        std::memcpy(&promised, f.data.data() + 10, sizeof promised);
        const UiStatus st = drag->send(promised, drag->sendRef, item.ref, drag);
        if (st != kUiNoErr && result == kUiNoErr) result = st;
      }
  return result;
}

}  // namespace

UiStatus UiNewDrag(UiDrag** out) {
  if (!out) return kUiParamErr;
  *out = new UiDrag;
  ++g_liveDrags;
  return kUiNoErr;
}

void UiDisposeDrag(UiDrag* drag) {
  if (!drag) return;
  delete drag;
  --g_liveDrags;
}

int32_t UiLiveDragCount() { return g_liveDrags; }
uint32_t UiDragSerial(const UiDrag* d) { return d ? d->serial : 0; }

UiStatus UiAddDragItemFlavor(UiDrag* d, uint32_t ref, FourCC type, const void* data, uint32_t size, uint32_t flags) {
  if (!d) return kUiBadDragRef;
  if (size > kUiMaxFlavorBytes || (size && !data)) return kUiParamErr;
  Item* item = FindItem(d, ref);
  if (!item) {
    d->items.push_back(Item{ref, {}});
    item = &d->items.back();
  }
  if (FindFlavor(item, type)) return kUiDuplicateFlavor;
  Flavor f{type, flags, {}};
  if (size) f.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  item->flavors.push_back(f);
  return kUiNoErr;
}

UiStatus UiSetDragItemFlavorData(UiDrag* d, uint32_t ref, FourCC type, const void* data, uint32_t size) {
  if (!d) return kUiBadDragRef;
  Item* item = FindItem(d, ref);
  if (!item) return kUiBadDragItem;
  Flavor* f = FindFlavor(item, type);
  if (!f) return kUiBadDragFlavor;
  if (size > kUiMaxFlavorBytes || (size && !data)) return kUiParamErr;
  f->data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  return kUiNoErr;
}

UiStatus UiCountDragItems(const UiDrag* d, uint16_t* count) {
  if (!d || !count) return kUiBadDragRef;
  *count = uint16_t(d->items.size());
  return kUiNoErr;
}

UiStatus UiGetDragItemReferenceNumber(const UiDrag* d, uint16_t index, uint32_t* ref) {
  if (!d) return kUiBadDragRef;
  if (index < 1 || index > d->items.size() || !ref) return kUiBadDragItem;
  *ref = d->items[index - 1].ref;
  return kUiNoErr;
}

UiStatus UiCountDragItemFlavors(const UiDrag* d, uint32_t ref, uint16_t* count) {
  if (!d) return kUiBadDragRef;
  const Item* item = FindItem(d, ref);
  if (!item || !count) return kUiBadDragItem;
  *count = uint16_t(item->flavors.size());
  return kUiNoErr;
}

UiStatus UiGetFlavorType(const UiDrag* d, uint32_t ref, uint16_t index, FourCC* type) {
  if (!d) return kUiBadDragRef;
  const Item* item = FindItem(d, ref);
  if (!item) return kUiBadDragItem;
  if (index < 1 || index > item->flavors.size() || !type) return kUiBadDragFlavor;
  *type = item->flavors[index - 1].type;
  return kUiNoErr;
}

UiStatus UiGetFlavorDataSize(const UiDrag* d, uint32_t ref, FourCC type, uint32_t* size) {
  if (!d) return kUiBadDragRef;
  Item* item = FindItem(const_cast<UiDrag*>(d), ref);
  if (!item) return kUiBadDragItem;
  const Flavor* f = FindFlavor(item, type);
  if (!f || !size) return kUiBadDragFlavor;
  *size = uint32_t(f->data.size());
  return kUiNoErr;
}

UiStatus UiGetFlavorData(const UiDrag* d, uint32_t ref, FourCC type, void* data, uint32_t* size) {
  if (!d) return kUiBadDragRef;
  Item* item = FindItem(const_cast<UiDrag*>(d), ref);
  if (!item) return kUiBadDragItem;
  const Flavor* f = FindFlavor(item, type);
  if (!f) return kUiBadDragFlavor;
  if (!size || (*size && !data)) return kUiParamErr;
  const uint32_t n = *size < f->data.size() ? *size : uint32_t(f->data.size());
  if (n) std::memcpy(data, f->data.data(), n);
  *size = n;
  return kUiNoErr;
}

UiStatus UiSetDragSendProc(UiDrag* d, UiDragSendDataProc proc, void* ref) {
  if (!d) return kUiBadDragRef;
  d->send = proc;
  d->sendRef = ref;
  return kUiNoErr;
}

UiStatus UiSetDragImageSize(UiDrag* d, int32_t width, int32_t height) {
  if (!d) return kUiBadDragRef;
  d->imageWidth = width;
  d->imageHeight = height;
  return kUiNoErr;
}

UiStatus UiGetDropFolder(const UiDrag* d, char* path, int32_t size) {
  if (!d || !path || size <= 0 || !d->dropFolder[0]) return kUiParamErr;
  std::snprintf(path, size_t(size), "%s", d->dropFolder);
  return kUiNoErr;
}

UiPoint UiGetDropPoint(const UiDrag* d) { return d ? d->dropPoint : UiPoint{0, 0}; }

UiStatus UiTrackDrag(UiDrag* drag, UiWindow* from) {
  if (!drag) return kUiBadDragRef;
  if (!(from = UiWindowFromRef(from))) return kUiParamErr;
  UiSetThemeCursor(kUiCursorClosedHand);
  Tracker t{drag};
  UiPoint p = UiLastMouse(nullptr);
  // The press that started the drag may already have been let go.
  bool released = !UiStillDown();
  UiWindow* under = nullptr;
  UiPoint local{0, 0};
  for (;;) {
    const float gx = p.x + float(from->bounds.left), gy = p.y + float(from->bounds.top);
    under = WindowUnder(gx, gy);
    local = under ? UiPoint{gx - float(under->bounds.left), gy - float(under->bounds.top)} : UiPoint{0, 0};
    t.Move(under, local);
    if (released || !UiTrackMouseLocation(from, &p, &released)) break;
  }
  UiSetThemeCursor(kUiCursorArrow);
  if (under) return t.Drop(local);
  t.Leave();
  return DropIntoFolder(drag);
}

UiStatus UiDeliverDrop(UiDrag* drag, UiWindow* w, UiPoint where) {
  if (!drag) return kUiBadDragRef;
  if (!(w = UiWindowFromRef(w))) return kUiParamErr;
  Tracker t{drag};
  t.Move(w, where);
  return t.Drop(where);
}

UiStatus UiDropFiles(UiWindow* window, UiPoint where, const char* const* paths, int32_t count) {
  UiDrag* drag = nullptr;
  UiNewDrag(&drag);
  for (int32_t i = 0; i < count; ++i) {
    UiHFSFlavor f{};
    std::snprintf(f.path, sizeof f.path, "%s", paths[i] ? paths[i] : "");
    UiAddDragItemFlavor(drag, uint32_t(i + 1), kUiFlavorHFS, &f, uint32_t(kUiHFSFlavorHeader + std::strlen(f.path) + 1), 0);
  }
  const UiStatus st = UiDeliverDrop(drag, window, where);
  UiDisposeDrag(drag);
  return st;
}

void UiSetDropFolder(const char* path) { std::snprintf(g_dropFolder, sizeof g_dropFolder, "%s", path ? path : ""); }
const char* UiDropFolder() { return g_dropFolder; }

UiStatus UiInstallWindowDragHandlers(UiWindow* w, UiDragTrackingProc tracking, UiDragReceiveProc receive, void* ref) {
  if (!(w = UiWindowFromRef(w))) return kUiParamErr;
  WindowHandlers* h = HandlersOf(w);
  for (WindowHandlers& slot : g_handlers)
    if (!h && !slot.window) h = &slot;
  if (!h) return kUiNoMemory;
  *h = WindowHandlers{w, tracking, receive, ref};
  return kUiNoErr;
}

void UiRemoveWindowDragHandlers(UiWindow* w) {
  if (WindowHandlers* h = HandlersOf(w)) *h = WindowHandlers{};
}

bool UiWaitMouseMoved(UiWindow* window, UiPoint start) {
  UiPoint p = start;
  bool released = false;
  while (UiTrackMouseLocation(window, &p, &released)) {
    const float dx = p.x - start.x, dy = p.y - start.y;
    if (dx * dx + dy * dy >= kDragThreshold * kDragThreshold) return true;
    if (released) return false;
  }
  return false;
}
