#include "dialog/memory_dots.h"

#include <cstdio>

#include "dialog/custom_hooks.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_services.h"
#include "dialog/controls/memory_well.h"
#include "export/preset_preview.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "dialog/frame_services.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/window.h"
#include "pyramid/pyramid_picture.h"

namespace {

// Signatures of the dialog's controls and of the views' properties.
constexpr FourCC kViewCreator = MakeFourCC("TrnK");
constexpr FourCC kItemSig = MakeFourCC("TWPP");

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
  S(g)->thumbnailMemdot = -1;  // so that the thumbnail is always read again
  LoadMemoryDotGraphicsIntoMemdotThumbnail(g, i, window);
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
    DetachAndDumpPICT_Memdot_Thumbnail(window, g);
    s->hoverMemdot = s->thumbnailMemdot = -1;
  } else if (g->controlKeyDown) {
    s->memdotPersistent[i] = 0;
    Redraw(g, window, i);
  } else {
    DoTotalMemoryDotLoad(g, window, i, refresh);
  }
}

void LoadMemoryDotGraphicsIntoMemdotThumbnail(Globals* g, int32_t i, void* window) {
  InvocationStorage* s = S(g);
  if (!s || i < 0 || i >= kMemoryDotCount) return;
  Build_blank_preview(g);
  FSRef file{};
  if (GetMemoryDotsFileRef(&file, i, 0) != 0) return;
  if (!LoadPresetPreviewIntoPyr(&file, &s->memdotThumbnailPyramid, g, kMemdotThumbnailSize)) return;
  RGBPicture* picture = MakePictFromPyr(&s->memdotThumbnailPyramid, 0);
  if (!picture) return;
  AttachPICTHandleToBevelButton(window, 98, picture);
  DisposeRGBPicture(static_cast<RGBPicture*>(s->memdotThumbnail));
  s->memdotThumbnail = picture;
}

void ShowThumbnailForMemdot(Globals* g, void* window, int32_t i) {
  if (!S(g) || i < 0 || i >= kMemoryDotCount) return;
  LoadMemoryDotGraphicsIntoMemdotThumbnail(g, i, window);
  S(g)->hoverMemdot = S(g)->thumbnailMemdot = i;
}

void DetachAndDumpPICT_Memdot_Thumbnail(void* window, Globals* g) {
  InvocationStorage* s = S(g);
  if (!s) return;
  AttachPICTHandleToBevelButton(window, 98, nullptr);
  DisposeRGBPicture(static_cast<RGBPicture*>(s->memdotThumbnail));
  s->memdotThumbnail = nullptr;
}

void ReactToHoverOverEmptyMemoryDot(Globals* g, void* window) {
  if (!S(g)) return;
  DetachAndDumpPICT_Memdot_Thumbnail(window, g);
  S(g)->hoverMemdot = S(g)->thumbnailMemdot = -1;
}

void ReactToHoverOverMemoryDot(Globals* g, void* window, uint8_t full, int32_t i) {
  InvocationStorage* s = S(g);
  if (!s) return;
  if (!full) return ReactToHoverOverEmptyMemoryDot(g, window);
  if (i == s->thumbnailMemdot) return;  // shown already: nothing is read again
  LoadMemoryDotGraphicsIntoMemdotThumbnail(g, i, window);
  s->hoverMemdot = s->thumbnailMemdot = i;
}

void myMemdotTimerAction_Varez(UiTimer*, void* window) {
  UiWindow* w = UiWindowFromRef(window);
  UiWindow* mouseWindow = nullptr;
  const UiPoint at = UiLastMouse(&mouseWindow);
  if (!w || UiFrontWindow() != w || UiStillDown() || mouseWindow != w) return;
  UiControl* under = UiControlAt(w, at);
  Globals* g = nullptr;
  UiGetControlProperty(GetVarezItem(w, 18), kViewCreator, MakeFourCC("GLOB"), sizeof g, &g);
  if (!under || !g || under->id.signature != kItemSig) return;
  uint8_t full = 0;
  int32_t i = -1;
  if (ItemIsAMemoryDot(g, int16_t(under->id.id), &full, &i)) ReactToHoverOverMemoryDot(g, w, full, i);
}

void MaybeCreateMemdotTimer(void* window, Globals* g) {
  InvocationStorage* s = S(g);
  if (!s || s->memdotTimer) return;
  UiTimer* timer = nullptr;
  if (UiInstallTimer(0, 0.1, myMemdotTimerAction_Varez, window, &timer) == kUiNoErr) s->memdotTimer = timer;
}

namespace {

struct Spot {
  int16_t left, top;
};
// Down the left, round the bottom and up the right of the well.
constexpr Spot kDotSpots[kMemoryDotCount] = {
    {8, 0},     {12, 12},   {12, 24},   {8, 37},    {4, 50},    {0, 63},    {0, 76},    {4, 88},    {11, 99},
    {19, 109},  {30, 117},  {42, 126},  {55, 132},  {70, 136},  {85, 136},  {99, 132},  {112, 126}, {124, 117},
    {133, 105}, {139, 92},  {143, 77},  {143, 62},  {139, 48},  {133, 35},  {124, 23}};

}  // namespace

void fix_memdot_placement(void* window, Globals* g) {
  InvocationStorage* s = S(g);
  UiControl* group = GetVarezItem(window, 120);
  if (!s || !group) return;
  const int16_t x = group->bounds.left, y = group->bounds.top;
  if (UiControl* well = GetVarezItem(window, 98))
    UiSetControlBounds(well, Rect{int16_t(y + 11), int16_t(x + 26), int16_t(y + 11 + 96), int16_t(x + 26 + 96)});
  for (int32_t i = 0; i < kMemoryDotCount; ++i)
    if (UiControl* dot = GetVarezItem(window, s->memdotItems[i])) {
      const Spot& p = kDotSpots[i];
      UiSetControlBounds(dot, Rect{int16_t(y + p.top), int16_t(x + p.left), int16_t(y + p.top + 12), int16_t(x + p.left + 12)});
    }
}
