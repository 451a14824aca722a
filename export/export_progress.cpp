#include "export/export_progress.h"

#include <cstring>

#include "export/export_services.h"
#include "export/psd/psd_doc.h"
#include "frame/globals.h"  // the progress window hangs on the invocation, its cancel mark in the invocation's storage

void BeginExportProgress(Globals* globals, ExportProgress* progress, int32_t layers) {
  if (!progress) return;
  std::memset(progress, 0, sizeof *progress);
  if (!globals) return;
  InitMondoProgressParams(globals, layers);
  if (globals->progressWindow) return;
  if (globals->dialogWindow) CreateMondoProgressWindow(globals);
  if (globals->progressWindow) {
    progress->window = 1;
  } else {
    globals->progressWindow = &progress->standIn;
    if (globals->storage) globals->storage->exportCancelled = 0;
  }
  progress->opened = 1;
}

void EndExportProgress(Globals* globals, ExportProgress* progress) {
  if (!globals || !progress || !progress->opened) return;
  if (progress->window)
    DestroyMondoProgress(globals);
  else
    globals->progressWindow = nullptr;
  progress->opened = 0;
}

bool ExportProgressCancelled(const Globals* globals) {
  return globals && globals->progressWindow && globals->storage && globals->storage->exportCancelled != 0;
}

bool ExportStopRequested(Globals* globals) {
  if (ExportProgressCancelled(globals)) return true;
  const FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  return fr && fr->abortProc && fr->abortProc() != 0;
}
