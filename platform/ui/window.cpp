#include "platform/ui/window.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/memory.h"
#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/view_class.h"

namespace {

constexpr int kWindowPool = 16;
UiWindow* g_windows[kWindowPool];
int32_t g_frontCounter = 0;
UiWindow* g_port = nullptr;

constexpr UiColor kWindowBackground{232, 232, 232, 255};

bool ContainsFully(const UiControl* c, UiPoint p) { return UiPointInRect(p, c->bounds); }

}  // namespace

UiWindow* UiGetPort() { return g_port; }
void UiSetPort(UiWindow* window) { g_port = window; }

UiWindow* UiCreateWindow(const UiWindowDefinition* def) {
  if (!def || def->width < 1 || def->height < 1 || def->itemCount + 1 > kUiMaxControls) return nullptr;
  int slot = -1;
  for (int i = 0; i < kWindowPool; ++i)
    if (!g_windows[i]) slot = slot < 0 ? i : slot;
  if (slot < 0) return nullptr;
  auto* w = static_cast<UiWindow*>(NewPtrClear(sizeof(UiWindow)));
  if (!w) return nullptr;
  w->controls = static_cast<UiControl*>(NewPtrClear(int64_t(sizeof(UiControl)) * kUiMaxControls));
  if (!w->controls || !UiCanvasCreate(&w->canvas, def->width, def->height, kWindowBackground)) {
    DisposePtr(w->controls);
    DisposePtr(w);
    return nullptr;
  }
  w->signature = kUiWindowSignature;
  std::snprintf(w->name, sizeof w->name, "%s", def->name ? def->name : "");
  std::snprintf(w->title, sizeof w->title, "%s", def->title ? def->title : "");
  w->bounds = Rect{40, 40, int16_t(40 + def->height), int16_t(40 + def->width)};
  w->windowClass = def->windowClass;
  w->attributes = def->attributes;
  w->minWidth = def->width;
  w->minHeight = def->height;
  w->target.parent = UiApplicationTarget();
  w->target.defaultProc = UiStandardWindowHandler;
  w->target.defaultData = w;
  g_windows[slot] = w;

  UiControl* root = &w->controls[0];
  root->kind = kUiKindRoot;
  root->bounds = Rect{0, 0, def->height, def->width};
  root->visible = root->active = root->enabled = true;
  root->window = w;
  root->target.parent = &w->target;
  w->controlCount = 1;
  for (int32_t i = 0; i < def->itemCount; ++i) {
    const UiItemDefinition& d = def->items[i];
    UiControl* c = &w->controls[w->controlCount++];
    c->id = UiControlID{d.signature, d.id};
    c->kind = d.kind;
    c->command = d.command;
    c->bounds = d.bounds;
    c->min = d.min;
    c->max = d.max;
    c->value = std::clamp(d.value, std::min(d.min, d.max), std::max(d.min, d.max));
    std::snprintf(c->title, sizeof c->title, "%s", d.title ? d.title : "");
    c->caret = c->anchor = int16_t(std::strlen(c->title));
    c->visible = c->active = c->enabled = true;
    c->window = w;
    c->parent = root;
    if (d.parentId != 0)
      for (int32_t k = 1; k < w->controlCount - 1; ++k)
        if (w->controls[k].kind == kUiKindGroup && w->controls[k].id.id == d.parentId &&
            w->controls[k].id.signature == d.signature)
          c->parent = &w->controls[k];
    c->target.parent = &w->target;
    c->target.defaultProc = UiStandardControlHandler;
    c->target.defaultData = c;
    if (d.command == kUiCommandOK) w->defaultButton = c;
    if (d.command == kUiCommandCancel) w->cancelButton = c;
  }
  // Custom views are made once every item exists, so a view may look others up.
  for (int32_t i = 0; i < def->itemCount; ++i)
    if (def->items[i].kind == kUiKindCustom && def->items[i].classID) {
      UiControl* c = &w->controls[i + 1];
      UiConstructView(c, UiFindViewClass(def->items[i].classID));
    }
  w->needsDraw = true;
  return w;
}

void UiDisposeWindow(UiWindow* w) {
  w = UiWindowFromRef(w);
  if (!w) return;
  UiWindowWillGo(w);
  UiRemoveWindowDragHandlers(w);
  for (int32_t i = w->controlCount - 1; i >= 0; --i) {
    UiControl* c = &w->controls[i];
    UiDestructView(c);
    UiRemoveAllHandlers(&c->target);
    DisposePtr(c->popupItems);
    DisposePtr(c->popupDimmed);
  }
  UiRemoveAllHandlers(&w->target);
  if (g_port == w) g_port = nullptr;
  for (UiWindow*& slot : g_windows)
    if (slot == w) slot = nullptr;
  UiCanvasDispose(&w->canvas);
  DisposePtr(w->controls);
  w->signature = 0;
  DisposePtr(w);
}

UiWindow* UiWindowFromRef(void* ref) {
  if (!ref) return nullptr;
  for (UiWindow* w : g_windows)
    if (w == ref) return w;
  return nullptr;
}

int32_t UiLiveWindowCount() {
  int32_t n = 0;
  for (UiWindow* w : g_windows) n += w != nullptr;
  return n;
}

UiWindow* UiWindowAt(int32_t index) {
  UiWindow* sorted[kWindowPool];
  int32_t n = 0;
  for (UiWindow* w : g_windows)
    if (w) sorted[n++] = w;
  std::sort(sorted, sorted + n, [](UiWindow* a, UiWindow* b) { return a->frontOrder < b->frontOrder; });
  return index >= 0 && index < n ? sorted[index] : nullptr;
}

UiWindow* UiFrontWindow() {
  UiWindow* front = nullptr;
  for (UiWindow* w : g_windows)
    if (w && w->visible && (!front || w->frontOrder > front->frontOrder)) front = w;
  return front;
}

void UiShowWindow(UiWindow* w) {
  if (!(w = UiWindowFromRef(w))) return;
  if (!w->placed) {
    // A window that no one placed opens centred on the window in front of
    // it, its parent: an alert, the colour picker, a chooser, the progress.
    if (UiWindow* parent = UiFrontWindow(); parent && parent != w) {
      const Rect& p = parent->bounds;
      const int32_t width = w->bounds.right - w->bounds.left, height = w->bounds.bottom - w->bounds.top;
      const int32_t left = p.left + (p.right - p.left - width) / 2, top = p.top + (p.bottom - p.top - height) / 2;
      w->bounds = Rect{int16_t(top), int16_t(left), int16_t(top + height), int16_t(left + width)};
    }
    w->placed = true;
  }
  w->visible = true;
  w->needsDraw = true;
  if (w->frontOrder == 0) w->frontOrder = ++g_frontCounter;
  UiFrontEndWindowChanged(w);
}

void UiHideWindow(UiWindow* w) {
  if (!(w = UiWindowFromRef(w))) return;
  w->visible = false;
  UiFrontEndWindowChanged(w);
}

void UiSelectWindow(UiWindow* w) {
  if (!(w = UiWindowFromRef(w))) return;
  w->frontOrder = ++g_frontCounter;
  UiFrontEndWindowChanged(w);
}

void UiShowSheetWindow(UiWindow* sheet, UiWindow* parent) {
  if (!(sheet = UiWindowFromRef(sheet))) return;
  sheet->sheetParent = UiWindowFromRef(parent);
  if (sheet->sheetParent) {
    // A sheet hangs from the top of its parent, centred.
    const Rect& p = sheet->sheetParent->bounds;
    const int16_t w = int16_t(sheet->canvas.width), h = int16_t(sheet->canvas.height);
    const int16_t left = int16_t(p.left + (p.right - p.left - w) / 2);
    sheet->bounds = Rect{int16_t(p.top + 22), left, int16_t(p.top + 22 + h), int16_t(left + w)};
    sheet->placed = true;
  }
  UiShowWindow(sheet);
  UiSelectWindow(sheet);
}

void UiInvalidateWindow(UiWindow* w) {
  if ((w = UiWindowFromRef(w))) w->needsDraw = true;
}

void UiSetWindowBounds(UiWindow* w, const Rect& bounds) {
  if (!(w = UiWindowFromRef(w))) return;
  const Rect previous = w->bounds;
  const int32_t width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  if (width != w->canvas.width || height != w->canvas.height) {
    UiCanvas fresh;
    if (!UiCanvasCreate(&fresh, width, height, kWindowBackground)) return;
    UiCanvasDispose(&w->canvas);
    w->canvas = fresh;
    w->controls[0].bounds = Rect{0, 0, int16_t(height), int16_t(width)};
  }
  w->bounds = bounds;
  w->placed = true;
  w->needsDraw = true;
  UiEvent e;
  UiInitEvent(&e, kUiClassWindow, kUiWindowBoundsChanged);
  UiSetEventParameter(&e, kUiParamPreviousBounds, kUiTypeRect, sizeof previous, &previous);
  UiSetEventParameter(&e, kUiParamCurrentBounds, kUiTypeRect, sizeof bounds, &bounds);
  UiSendEventToTarget(&e, &w->target);
  UiFrontEndWindowChanged(w);
}

void UiDrawWindow(UiWindow* w) {
  if (!(w = UiWindowFromRef(w))) return;
  UiWindow* savedPort = g_port;
  g_port = w;
  UiCanvas* cv = &w->canvas;
  cv->clipCount = 0;
  UiFillRect(cv, Rect{0, 0, int16_t(cv->height), int16_t(cv->width)}, kWindowBackground);
  for (int32_t i = 1; i < w->controlCount; ++i) {
    UiControl* c = &w->controls[i];
    if (!UiIsControlVisible(c)) continue;
    UiPushClip(cv, c->bounds);
    if (c->viewClass) {
      UiEvent e;
      UiInitEvent(&e, kUiClassControl, kUiControlDraw);
      UiSetEventParameter(&e, kUiParamContext, kUiTypePointer, sizeof cv, &cv);
      UiSendEventToTarget(&e, &c->target);
    } else {
      UiDrawStandardControl(cv, c);
    }
    UiPopClip(cv);
  }
  if (w->paint) w->paint(w, cv);
  w->needsDraw = false;
  g_port = savedPort;
}

UiControl* UiRootControl(UiWindow* w) {
  w = UiWindowFromRef(w);
  return w ? &w->controls[0] : nullptr;
}

UiStatus UiGetControlByID(UiWindow* w, UiControlID id, UiControl** out) {
  if (out) *out = nullptr;
  if (!(w = UiWindowFromRef(w)) || !out) return kUiParamErr;
  for (int32_t i = 1; i < w->controlCount; ++i)
    if (w->controls[i].id.signature == id.signature && w->controls[i].id.id == id.id) {
      *out = &w->controls[i];
      return kUiNoErr;
    }
  return kUiNotFound;
}

UiWindow* UiControlOwner(const UiControl* c) { return c ? c->window : nullptr; }

bool UiIsControlVisible(const UiControl* c) {
  for (; c; c = c->parent)
    if (!c->visible) return false;
  return true;
}

UiControl* UiControlAt(UiWindow* w, UiPoint where) {
  if (!(w = UiWindowFromRef(w))) return nullptr;
  // Later items lie on top of earlier ones; groups only hold their items.
  for (int32_t i = w->controlCount - 1; i >= 1; --i) {
    UiControl* c = &w->controls[i];
    if (c->kind == kUiKindGroup || !UiIsControlVisible(c) || !ContainsFully(c, where)) continue;
    return c;
  }
  return &w->controls[0];
}

void UiInvalidateControl(UiControl* c) {
  if (c && c->window) c->window->needsDraw = true;
}

void UiSetControlValue(UiControl* c, int32_t value) {
  if (!c) return;
  const int32_t v = std::clamp(value, std::min(c->min, c->max), std::max(c->min, c->max));
  if (v == c->value) return;
  c->value = v;
  UiInvalidateControl(c);
  if (c->viewClass) {
    UiEvent e;
    UiInitEvent(&e, kUiClassControl, kUiControlValueFieldChanged);
    UiSendEventToTarget(&e, &c->target);
  }
}

void UiSetControlMinimum(UiControl* c, int32_t min) {
  if (!c) return;
  c->min = min;
  UiSetControlValue(c, c->value);
}

void UiSetControlMaximum(UiControl* c, int32_t max) {
  if (!c) return;
  c->max = max;
  UiSetControlValue(c, c->value);
}

void UiSetControlTitle(UiControl* c, const char* title) {
  if (!c) return;
  std::snprintf(c->title, sizeof c->title, "%s", title ? title : "");
  c->caret = c->anchor = int16_t(std::strlen(c->title));
  UiInvalidateControl(c);
}

void UiSetControlVisibility(UiControl* c, bool visible) {
  if (!c || c->visible == visible) return;
  c->visible = visible;
  UiInvalidateControl(c);
}

void UiActivateControl(UiControl* c, bool active) {
  if (!c || c->active == active) return;
  c->active = active;
  UiInvalidateControl(c);
  if (c->viewClass) {
    UiEvent e;
    UiInitEvent(&e, kUiClassControl, active ? kUiControlActivate : kUiControlDeactivate);
    UiSendEventToTarget(&e, &c->target);
  }
}

void UiHiliteControl(UiControl* c, int16_t part) {
  if (!c || c->hilite == part) return;
  c->hilite = part;
  UiInvalidateControl(c);
}

void UiSetControlBounds(UiControl* c, const Rect& bounds) {
  if (!c) return;
  c->bounds = bounds;
  UiInvalidateControl(c);
}

void UiSetKeyboardFocus(UiWindow* w, UiControl* c) {
  if (!(w = UiWindowFromRef(w))) return;
  if (w->focus != c) {
    w->focus = c;
    w->needsDraw = true;
  }
}

UiStatus UiSetControlProperty(UiControl* c, FourCC creator, FourCC tag, uint32_t size, const void* data) {
  if (!c || size > kUiPropertyBytes || (size && !data)) return kUiParamErr;
  UiProperty* slot = nullptr;
  for (UiProperty& p : c->properties)
    if ((p.creator == creator && p.tag == tag) || (!slot && p.creator == 0 && p.tag == 0)) slot = &p;
  for (UiProperty& p : c->properties)
    if (p.creator == creator && p.tag == tag) slot = &p;
  if (!slot) return kUiNoMemory;
  slot->creator = creator;
  slot->tag = tag;
  slot->size = size;
  if (size) std::memcpy(slot->data, data, size);
  return kUiNoErr;
}

UiStatus UiGetControlProperty(const UiControl* c, FourCC creator, FourCC tag, uint32_t size, void* data) {
  if (!c) return kUiParamErr;
  for (const UiProperty& p : c->properties)
    if (p.creator == creator && p.tag == tag) {
      if (p.size != size) return kUiBadDataSize;
      if (data && size) std::memcpy(data, p.data, size);
      return kUiNoErr;
    }
  return -5603;  // no such property
}

UiStatus UiRemoveControlProperty(UiControl* c, FourCC creator, FourCC tag) {
  if (!c) return kUiParamErr;
  for (UiProperty& p : c->properties)
    if (p.creator == creator && p.tag == tag) {
      p = UiProperty{};
      return kUiNoErr;
    }
  return -5603;
}

UiStatus UiAppendPopupItem(UiControl* c, const char* text) {
  if (!c) return kUiParamErr;
  if (c->popupCount == c->popupCapacity) {
    const int32_t capacity = std::max(16, c->popupCapacity * 2);
    auto* grown = static_cast<char(*)[kUiPopupItemBytes]>(NewPtrClear(int64_t(capacity) * kUiPopupItemBytes));
    auto* dimmed = static_cast<uint8_t*>(NewPtrClear(capacity));
    if (!grown || !dimmed) {
      DisposePtr(grown);
      DisposePtr(dimmed);
      return kUiNoMemory;
    }
    if (c->popupItems) std::memcpy(grown, c->popupItems, size_t(c->popupCount) * kUiPopupItemBytes);
    if (c->popupDimmed) std::memcpy(dimmed, c->popupDimmed, size_t(c->popupCount));
    DisposePtr(c->popupItems);
    DisposePtr(c->popupDimmed);
    c->popupItems = grown;
    c->popupDimmed = dimmed;
    c->popupCapacity = capacity;
  }
  c->popupDimmed[c->popupCount] = 0;
  std::snprintf(c->popupItems[c->popupCount++], kUiPopupItemBytes, "%s", text ? text : "");
  UiInvalidateControl(c);
  return kUiNoErr;
}

void UiClearPopupItems(UiControl* c) {
  if (c) c->popupCount = 0;
}

const char* UiPopupItemText(const UiControl* c, int32_t item) {
  if (!c || item < 1 || item > c->popupCount) return nullptr;
  return c->popupItems[item - 1];
}

UiStatus UiSetControlData(UiControl* c, int16_t part, FourCC tag, uint32_t size, const void* data) {
  if (!c) return kUiParamErr;
  if (c->viewClass) {
    UiEvent e;
    UiInitEvent(&e, kUiClassControl, kUiControlSetData);
    const void* ptr = data;
    const int16_t p = part;
    const int32_t s = int32_t(size);
    UiSetEventParameter(&e, kUiParamPart, kUiTypeInt16, sizeof p, &p);
    UiSetEventParameter(&e, MakeFourCC("cdtg"), MakeFourCC("enum"), sizeof tag, &tag);
    UiSetEventParameter(&e, MakeFourCC("cdbf"), kUiTypePointer, sizeof ptr, &ptr);
    UiSetEventParameter(&e, MakeFourCC("cdbs"), MakeFourCC("long"), sizeof s, &s);
    return UiSendEventToTarget(&e, &c->target);
  }
  // A bevel button's icon by resource number (the memory dots): kept as its
  // content so that a picture of the window tells the states apart.
  if (tag == MakeFourCC("ires") && size >= sizeof(int16_t) && data) {
    int16_t id = 0;
    std::memcpy(&id, data, sizeof id);
    c->contentIcon = FourCC(uint16_t(id));
    UiInvalidateControl(c);
    return kUiNoErr;
  }
  if (tag == MakeFourCC("cont") && size >= sizeof(FourCC) && data) {
    std::memcpy(&c->contentIcon, data, sizeof(FourCC));
    UiInvalidateControl(c);
    return kUiNoErr;
  }
  return -30582;  // no such data tag
}

UiStatus UiGetControlData(UiControl* c, int16_t part, FourCC tag, uint32_t size, void* data, uint32_t* outSize) {
  if (!c) return kUiParamErr;
  if (!c->viewClass) return -30582;
  UiEvent e;
  UiInitEvent(&e, kUiClassControl, kUiControlGetData);
  void* ptr = data;
  const int16_t p = part;
  int32_t s = int32_t(size);
  UiSetEventParameter(&e, kUiParamPart, kUiTypeInt16, sizeof p, &p);
  UiSetEventParameter(&e, MakeFourCC("cdtg"), MakeFourCC("enum"), sizeof tag, &tag);
  UiSetEventParameter(&e, MakeFourCC("cdbf"), kUiTypePointer, sizeof ptr, &ptr);
  UiSetEventParameter(&e, MakeFourCC("cdbs"), MakeFourCC("long"), sizeof s, &s);
  const UiStatus st = UiSendEventToTarget(&e, &c->target);
  UiGetEventParameter(&e, MakeFourCC("cdbs"), MakeFourCC("long"), sizeof s, &s);
  if (outSize) *outSize = uint32_t(s);
  return st;
}
