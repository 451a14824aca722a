// What the frame asks of the preview dialog and its small windows.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;
struct TParameters;
struct UiControl;
struct ZorZReply;

void PromptUserForInput(Globals* globals);
// A caution alert (a window when a front end shows windows; the message
// goes to the platform's message sink either way); answers the item hit.
int32_t ShowOSAlertoid(const char* message, const char* explanation);
// Runs the named window of the definitions app-modally; the reply's result
// tells which command ended it. Without a front end the window is only
// reported, and answers 0.
int16_t ShowVarezAlertoid(const char* windowName, ZorZReply* reply);
void NullifyPICT_Memdot_Thumbnail(Globals* globals);
// Toggles the undo slot and copies the settings into it (and, with
// writeFile, into that slot's undo file).
void UndoSnapshot(Globals* globals, int32_t writeFile);
void ReactToHoverOverEmptyMemoryDot(Globals* globals, void* window);

// The settings into the caller's copy, and back.
void Ferreting(TParameters* copy, Globals* globals);
void UnFerreting(const TParameters* copy, Globals* globals);

// The item's control of a dialog window (or of the stand-in surface tests
// paint into), or null.
UiControl* GetVarezItem(void* window, int32_t id);
// Shows `band` of the map at (destRow, destColumn) of the current port
// through the host's displayPixels, 16- and 32-bit data reduced to 8 bits.
void MultiDepthDisplayPixels(Globals* globals, const PSPixelMap* map, const VRect* band, int32_t destRow,
                             int32_t destColumn);
// Shows a rectangle of a window's back buffer on screen.
void FlushRect(void* port, const Rect* r);
// White in the current port.
void NuPaintWhiteRect(const Rect* r);

// An export progress window (Globals.progressWindow) is a window of the
// definitions; tests may hang this record there instead.
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
