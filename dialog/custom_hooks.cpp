#include "dialog/custom_hooks.h"

#include <cstdio>
#include <cstring>

#include "dialog/dialog_controls.h"
#include "dialog/dialog_services.h"
#include "dialog/memory_dots.h"
#include "dialog/zor_reply.h"
#include "frame/base/file_refs.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "dialog/frame_services.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/window.h"

namespace {
}  // namespace

int32_t MemdotIndex(const Globals* globals, int16_t item) {
  if (!globals || !globals->storage) return -1;
  for (int32_t i = 0; i < kMemoryDotCount; ++i)
    if (globals->storage->memdotItems[i] == item) return i;
  return -1;
}

bool MemdotIsFullOrCurrent(const Globals* globals, int16_t item) {
  const int32_t i = MemdotIndex(globals, item);
  return i >= 0 && globals->storage->memdotStates[i] != 0;
}

void DemoteCurrentMemdots(Globals* globals, void* window) { MakeNoMemoryDotCurrent(globals, window); }

void StashFirstMemdot(void* window, Globals* globals) {
  // With every dot kept, the incoming settings have no dot to go to.
  const int32_t i = GetNonpersistentMemdot(globals);
  if (i >= 0) DoTotalMemoryDotSave(globals, window, i);
}
void TouchPersistentMemdots(Globals* globals, void* window) {
  if (!globals || !globals->storage) return;
  InvocationStorage* s = globals->storage;
  for (int32_t i = 0; i < kMemoryDotCount; ++i) {
    if (s->memdotPersistent[i]) s->memdotStates[i] = 1;
    MakeMemoryDotItemLookDifferent(s->memdotItems[i], window, s->memdotStates[i], s->memdotPersistent[i]);
  }
}

void RemoveMemdotTimer(Globals* globals) {
  if (!globals || !globals->storage || !globals->storage->memdotTimer) return;
  UiRemoveTimer(static_cast<UiTimer*>(globals->storage->memdotTimer));
  globals->storage->memdotTimer = nullptr;
}

void DetachMemdotThumbnail(Globals* globals, void* window) { DetachAndDumpPICT_Memdot_Thumbnail(window, globals); }

namespace {

void UndoFileName(int32_t slot, char* name, size_t size) { std::snprintf(name, size, "Gyrelle 2 undo %d", slot & 1); }

}  // namespace

// The undo file holds the whole settings, so that an undo after a load or a
// memory dot brings back what no ferret copy carries.
int32_t WriteUndoFile(Globals* globals, int32_t slot) {
  char name[32];
  UndoFileName(slot, name, sizeof name);
  FSRef file{};
  if (!globals || GetPrefsFileRefC_for_writing(&file, name) != 0) return 0;
  return WriteSettingsFile_ref(globals, &file) == 0 ? 1 : 0;
}

int32_t ReadUndoFile(Globals* globals, int32_t slot) {
  char name[32];
  UndoFileName(slot, name, sizeof name);
  FSRef file{};
  if (!globals || GetPrefsFileRefC_for_reading(&file, name) != 0) return 0;
  return ReadSettingsFile_ref(globals, &file, 0) == 0 ? 1 : 0;
}

void DevMagic(Globals*, void*) { UiBeep(); }

void FurboDoInfo(Globals* globals, void*) {
  ZorZReply reply{};
  reply.globals = globals;
  ShowVarezAlertoid("quickinfo", &reply);
}
