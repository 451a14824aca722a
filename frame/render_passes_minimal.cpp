#include "frame/globals.h"
#include "frame/host_rects.h"
#include "frame/host_suites.h"
#include "frame/invocation.h"
#include "frame/render_passes.h"
#include "frame/result_codes.h"
#include "render/render_services.h"

// The row loop without the preroll and the pyramid intake, which land with
// the render driver: enough to run a pass row by row with progress and abort.
void CommenceLineByLine(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  if (TParameters* p = Params(globals)) p->previewOffsetH = p->previewOffsetV = 0;
  globals->wantMask = 1;
  globals->currentRow = 0;
  SetOneRowHighRects(globals);
  FixBuffersThatDependOnOutputDimensions(globals);
  if (globals->result != 0) return;
  globals->progressTotal = globals->lastRow - globals->firstRow + 1;
  globals->progressDone = 0;
  globals->passPhase = 1;
  globals->moreToDo = globals->progressTotal > 0 ? 1 : 0;
  if (fr->advanceState) globals->result = int16_t(HostAdvanceState(fr->advanceState));
}

void CommenceMonolithic(Globals*) {}

void Manipulate1Line(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  if (fr->abortProc && fr->abortProc()) {
    globals->result = kUserCancelled;
    return;
  }
  globals->drawingRow = globals->currentRow;
  DoSolarRect(globals);
  if (globals->result != 0) return;
  ++globals->progressDone;
  if (fr->progressProc) fr->progressProc(globals->progressDone, globals->progressTotal);
  ++globals->currentRow;
  globals->moreToDo = globals->currentRow <= globals->lastRow ? 1 : 0;
}

void Postroll(Globals* globals) { globals->passPhase = 0; }
