// The progress window of a long export (a layered document, a JPEG file, a
// gallery of renders): the dialog's own window while the dialog is up, whose
// Cancel button marks the export cancelled; without a dialog, a stand-in
// record that the same updates fill. A window the caller opened already is
// used as it is and left to the caller.
#pragma once

#include <cstdint>

#include "export/export_services.h"

struct Globals;

struct ExportProgress {
  ProgressWindowStandIn standIn;
  uint8_t opened;  // this record opened the window (or hung the stand-in)
  uint8_t window;  // the dialog's window, not the stand-in
};

// Opens the window over `layers` layers and clears the export's cancel
// mark; nothing when one is open already.
void BeginExportProgress(Globals* globals, ExportProgress* progress, int32_t layers);
// Takes down what BeginExportProgress opened.
void EndExportProgress(Globals* globals, ExportProgress* progress);
// True once the user pressed the window's Cancel.
bool ExportProgressCancelled(const Globals* globals);
// True once the user pressed Cancel or the host was asked to stop (Ctrl-C,
// SIGTERM): asked of the host at once, not throttled as the render's polls
// are, so that a file finished after the request is not put in place.
bool ExportStopRequested(Globals* globals);
