// host/dialog/: gyrelle's side of the plug-in's dialog: its window, headless or real.
// gyrelle's side of the plug-in's dialog: the port record it hands the
// plug-in in platformData and paints displayPixels into, the
// --dialog-script option, and the choice of front end (a script, a real
// window when there is a display, or none) passed through the plug-in's
// configuration hook.
#pragma once

#include <cstdint>
#include <string>

#include "host/dialog/dialog_save.h"
#include "host/plugin_loader.h"
#include "platform/plugin_api.h"

namespace gyhost {

struct HostOptions;

// The port record of this host; the filter record's platformData.
void* HostDialogPort();
// Paints the band of the map into the port's window, clipped.
void PaintIntoHostPort(const PSPixelMap* map, const VRect* band, int32_t destRow, int32_t destColumn,
                       void* platformData);

// "--dialog-script FILE" (or =FILE): true when `argv[*i]` is it; it asks for
// the dialog too. A missing value leaves a message in `error`.
bool ParseDialogScriptOption(int argc, const char* const* argv, int* i, HostOptions* o, std::string* error);
const std::string& DialogScriptPath();

// Tells the plug-in where its dialog's input comes from, where its chooser
// first opens (the folder of `inputPath`), and, for a run with saves, the
// choosers' answers and who tells the user of a failure.
void ConfigureDialogFrontEnd(PlatformConfigureProc configure, bool dialog, const std::string& inputPath);
// Steps of the dialog script that failed, over every invocation.
int32_t DialogScriptFailures();

}  // namespace gyhost
