#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "dialog/dialog_services.h"
#include "dialog/zor_reply.h"
#include "frame/globals.h"
#include "frame/host_suites.h"
#include "frame/progress.h"
#include "platform/preview_surface.h"
#include "platform/ui.h"
#include "pyramid/pyramid_pixels.h"

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

void Ferreting(TParameters* copy, Globals* globals) {
  if (const TParameters* p = Params(globals); p && copy) *copy = *p;
}

void UnFerreting(const TParameters* copy, Globals* globals) {
  if (TParameters* p = Params(globals); p && copy) *p = *copy;
}

PreviewControl* GetVarezItem(void* window, int32_t id) {
  return FindPreviewControl(static_cast<PreviewSurface*>(window), id);
}

void MultiDepthDisplayPixels(Globals* globals, const PSPixelMap* map, const VRect* band, int32_t destRow,
                             int32_t destColumn) {
  FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  if (!fr || !map || !band || !fr->displayPixels) return;
  PSPixelMap copy = *map;
  if (copy.bounds.left > copy.bounds.right) std::swap(copy.bounds.left, copy.bounds.right);
  const int64_t rows = int64_t(copy.bounds.bottom) - copy.bounds.top;
  const bool wide = (fr->imageMode == kImageModeGray16 || fr->imageMode == kImageModeRGB48) && fr->depth == 16;
  const bool floats = !wide && (fr->imageMode == kImageModeRGB96 || fr->imageMode == kImageModeGray32 ||
                                fr->depth == 32);
  void* reduced = nullptr;
  BufferID reducedId = 0;
  if ((wide || floats) && copy.baseAddr && rows > 0) {
    const int64_t samples = rows * copy.rowBytes / (wide ? 2 : 4);
    reduced = RobustNewPtr(uint64_t(std::max<int64_t>(samples, 1)), &reducedId, fr->bufferProcs);
    // Without memory for the 8-bit copy nothing is shown this time.
    if (!reduced) return;
    auto* out = static_cast<uint8_t*>(reduced);
    const auto* in = static_cast<const uint8_t*>(copy.baseAddr);
    for (int64_t i = 0; i < samples; ++i) {
      if (wide) {
        uint16_t s;
        std::memcpy(&s, in + i * 2, 2);
        out[i] = uint8_t(std::min(s >> 7, 255));
      } else {
        float f;
        std::memcpy(&f, in + i * 4, 4);
        out[i] = make8from32f(f);
      }
    }
    const bool colour = fr->imageMode == kImageModeRGB48 || fr->imageMode == kImageModeRGB96;
    copy.imageMode = colour ? kImageModeRGB : kImageModeGray;
    copy.rowBytes /= wide ? 2 : 4;
    copy.baseAddr = reduced;
  }
  // The host paints into the port that platformData names; without a window
  // system the current surface is that port, painted here alike.
  if (copy.baseAddr &&
      fr->displayPixels(&copy, band, destRow, destColumn, fr->platformData) == 0)
    DrawPixelMapOnSurface(GetCurrentSurface(), &copy, band, destRow, destColumn);
  RobustDisposePtr(&reduced, &reducedId, fr->bufferProcs);
}

void FlushRect(PreviewSurface* port, const Rect* r) { FlushSurfaceRect(port, r); }

void NuPaintWhiteRect(const Rect* r) { FillSurfaceRect(GetCurrentSurface(), r, 255, 255, 255); }

void MondoProgressUpdate(Globals* globals, int32_t done, int32_t total, int32_t layers) {
  auto* window = static_cast<ProgressWindowStandIn*>(globals->progressWindow);
  const int64_t whole = int64_t(total) * layers;
  if (!window || whole == 0) return;
  window->barValue = int16_t((int64_t(globals->progressLayersDone) * total + done) * 1000 / whole);
}

void MondoProgressShowCancelling(Globals* globals) {
  CCUpdateProgressMulti(globals, 100, 100, 1);
  auto* window = static_cast<ProgressWindowStandIn*>(globals->progressWindow);
  if (!window) return;
  std::snprintf(window->text, sizeof window->text, "%s", "Cancelling...");
  if (globals->storage) globals->storage->exportCancelled = 1;
}
