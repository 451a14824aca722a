#include <cstdio>

#include "dialog/dialog_services.h"
#include "dialog/zor_reply.h"
#include "frame/globals.h"
#include "platform/ui.h"

// There is no window system here yet: the dialog accepts the settings as they
// stand, and alerts go to the platform's message sink.
void PromptUserForInput(Globals* globals) {
  globals->dialogOutcome = 1;
  globals->dialogWindow = nullptr;
}

int32_t ShowOSAlertoid(const char* message, const char* explanation) {
  PlatformShowAlert(message, explanation);
  return 1;
}

int16_t ShowVarezAlertoid(const char* windowName, ZorZReply* reply) {
  PlatformShowWindow(windowName);
  if (reply) reply->result = 0;
  return 0;
}

void NullifyPICT_Memdot_Thumbnail(Globals* globals) {
  if (globals->storage) globals->storage->memdotThumbnail = nullptr;
}

void ReactToHoverOverEmptyMemoryDot(Globals* globals, void*) {
  if (!globals->storage) return;
  globals->storage->thumbnailMemdot = -1;
  globals->storage->hoverMemdot = -1;
}

void UndoSnapshot(Globals* globals, int32_t) {
  InvocationStorage* s = globals->storage;
  const TParameters* p = Params(globals);
  if (!s || !p) return;
  globals->undoSlot ^= 1;
  s->undoSlots[globals->undoSlot].settings = *p;
  s->undoSlots[globals->undoSlot].holdsSnapshot = 1;
}
