#include "dialog/memory_dots.h"

#include <cstdio>

#include "dialog/custom_hooks.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_services.h"
#include "export/preset_preview.h"
#include "frame/globals.h"
#include "frame/persistence.h"
#include "platform/ui/window.h"

namespace {

InvocationStorage* S(const Globals* g) { return g ? g->storage : nullptr; }

void Redraw(Globals* g, void* window, int32_t i) {
  InvocationStorage* s = S(g);
  MakeMemoryDotItemLookDifferent(s->memdotItems[i], window, s->memdotStates[i], s->memdotPersistent[i]);
}

}  // namespace

int32_t GetEmptyMemdot(const Globals* g) {
  const InvocationStorage* s = S(g);
  if (!s) return -1;
  for (int32_t i = 0; i < kMemoryDotCount; ++i)
    if (s->memdotStates[i] != 1 && s->memdotStates[i] != 2) return i;
  return -1;
}

int32_t GetNonpersistentMemdot(const Globals* g) {
  const InvocationStorage* s = S(g);
  if (!s) return -1;
  for (int32_t i = 0; i < kMemoryDotCount; ++i)
    if (s->memdotPersistent[i] == 0) return i;
  return -1;
}

int32_t ItemIsAMemoryDot(const Globals* g, int16_t item, uint8_t* full, int32_t* index) {
  const int32_t i = MemdotIndex(g, item);
  if (i < 0) return 0;
  if (index) *index = i;
  if (full) *full = S(g)->memdotStates[i] == 1 || S(g)->memdotStates[i] == 2;
  return 1;
}

int16_t MemdotIconID(int16_t state, int32_t persistent) {
  if (state == 1) return persistent ? kIconDotFullPersistent : kIconDotFullTemporary;
  if (state == 2) return persistent ? kIconDotCurrentPersistent : kIconDotCurrentTemporary;
  return kIconDotEmpty;
}

void MakeMemoryDotItemLookDifferent(int16_t item, void* window, int16_t state, int32_t persistent) {
  UiControl* c = GetVarezItem(window, item);
  if (!c) return;
  const int16_t id = MemdotIconID(state, persistent);
  UiSetControlData(c, 0, MakeFourCC("ires"), sizeof id, &id);
  UiInvalidateControl(c);
}

void AMemdotBecomesFullAndPersistentButNotCurrent(Globals* g, void* window, int32_t i) {
  if (!S(g) || i < 0 || i >= kMemoryDotCount) return;
  S(g)->memdotStates[i] = 1;
  S(g)->memdotPersistent[i] = 1;
  Redraw(g, window, i);
}

void MakeNoMemoryDotCurrent(Globals* g, void* window) {
  if (!S(g)) return;
  for (int32_t i = 0; i < kMemoryDotCount; ++i)
    if (S(g)->memdotStates[i] == 2) {
      S(g)->memdotStates[i] = 1;
      Redraw(g, window, i);
    }
}

void DoTotalMemoryDotSave(Globals* g, void* window, int32_t i) {
  if (!S(g) || i < 0 || i >= kMemoryDotCount) return;
  Build_preview(g);
  SaveToMemoryDot(g, i);
  MakeNoMemoryDotCurrent(g, window);
  S(g)->memdotStates[i] = 2;
  Redraw(g, window, i);
  S(g)->thumbnailMemdot = -1;
  S(g)->hoverMemdot = S(g)->thumbnailMemdot = i;
}

void DoTotalMemoryDotLoad(Globals* g, void* window, int32_t i, uint8_t* refresh) {
  TParameters* p = Params(g);
  if (!S(g) || !p || i < 0 || i >= kMemoryDotCount) return;
  std::snprintf(p->settingsName, sizeof p->settingsName, "dot %d", i + 1);
  LoadFromMemoryDot(g, i);  // a missing file leaves the settings as they were
  MakeNoMemoryDotCurrent(g, window);
  S(g)->memdotStates[i] = 2;
  Redraw(g, window, i);
  Settings2Controls(g, window, 0);
  if (refresh) *refresh = 1;
}

void ClickOnMemoryDot(Globals* g, void* window, int16_t item, uint8_t* refresh) {
  uint8_t full = 0;
  int32_t i = -1;
  if (!ItemIsAMemoryDot(g, item, &full, &i)) return;
  InvocationStorage* s = S(g);
  if (!full) {
    s->memdotPersistent[i] = g->controlKeyDown ? 0 : 1;
    DoTotalMemoryDotSave(g, window, i);
  } else if (g->optionKeyDown) {
    // The dot's file stays on disk; only the dot forgets it.
    s->memdotStates[i] = 0;
    s->memdotPersistent[i] = 0;
    Redraw(g, window, i);
    DetachMemdotThumbnail(g, window);
    s->hoverMemdot = s->thumbnailMemdot = -1;
  } else if (g->controlKeyDown) {
    s->memdotPersistent[i] = 0;
    Redraw(g, window, i);
  } else {
    DoTotalMemoryDotLoad(g, window, i, refresh);
  }
}
