// What the frame asks of the preview dialog and its small windows.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;
struct PreviewControl;
struct PreviewSurface;
struct TParameters;
struct ZorZReply;

void PromptUserForInput(Globals* globals);
int32_t ShowOSAlertoid(const char* message, const char* explanation);
int16_t ShowVarezAlertoid(const char* windowName, ZorZReply* reply);
void NullifyPICT_Memdot_Thumbnail(Globals* globals);
void ReactToHoverOverEmptyMemoryDot(Globals* globals, void* window);
void UndoSnapshot(Globals* globals, int32_t writeFile);

// The settings into the caller's copy, and back.
void Ferreting(TParameters* copy, Globals* globals);
void UnFerreting(const TParameters* copy, Globals* globals);

// Until the dialog's windows exist, a window is a PreviewSurface (its back
// buffer with the preview item) and a control is its PreviewControl.
PreviewControl* GetVarezItem(void* window, int32_t id);
// Shows `band` of the map at (destRow, destColumn) of the current port
// through the host's displayPixels, 16- and 32-bit data reduced to 8 bits.
void MultiDepthDisplayPixels(Globals* globals, const PSPixelMap* map, const VRect* band, int32_t destRow,
                             int32_t destColumn);
void FlushRect(PreviewSurface* port, const Rect* r);
// White in the current port.
void NuPaintWhiteRect(const Rect* r);

// Until the dialog's windows exist, an open export progress window
// (Globals.progressWindow) is this record.
struct ProgressWindowStandIn {
  int16_t barValue;  // 0..1000
  char text[32];
};
// Sets the open progress window's bar from the layers done and this layer's
// progress; nothing when no window is open.
void MondoProgressUpdate(Globals* globals, int32_t done, int32_t total, int32_t layers);
// Fills the bar and says "Cancelling..."; marks the export cancelled when a
// window is open.
void MondoProgressShowCancelling(Globals* globals);
