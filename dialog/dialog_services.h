// What the frame asks of the preview dialog and its small windows.
#pragma once

#include <cstdint>

#include "export/export_services.h"
#include "platform/plugin_api.h"

struct Globals;
struct TParameters;
struct UiControl;
struct ZorZReply;

void PromptUserForInput(Globals* globals);
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
