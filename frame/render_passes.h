// Render passes: the final pass row by row through the host's buffers, the
// dialog's preview pass and export layers in one call each, the step that
// renders one row, the end-of-pass clean-up, and the saving of the host's
// rectangles and preview state around a pass run inside another.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"
#include "dialog/frame_services.h"

struct Globals;

// What a pass run inside another changes of the host's request and of the
// preview, kept on the caller's stack.
struct StateStructure {
  Rect inRect, outRect, maskRect;
  int32_t previewScale;
  int32_t filterTop;  // saved, never restored
  int32_t currentRow;
  int32_t previewOffsetH, previewOffsetV;
  int32_t runMode;
};

// Start of the final pass; returns Globals.result.
int32_t CommenceLineByLine(Globals* globals);
// A whole preview pass into the host's output buffer for the proxy rectangle.
void CommenceMonolithic(Globals* globals);
// DoPreviewFiltration, which the dialog asks for, is in dialog/frame_services.h.
// Row steps until the pass ends or a step fails.
void DriveMonolithically(Globals* globals);
// One row step; true when the user aborted (Globals.result is then -128).
bool Manipulate1Line(Globals* globals);
// After the last row: waits for the tasks and frees the pass's solids.
void Postroll(Globals* globals);
void UponFinalFiltrationTasks(Globals* globals);
// Reads the host's image into the main colour pyramid once per invocation.
void MaybeAllocatePyramids(Globals* globals);

void PushRectAndPreviewState(StateStructure* save, Globals* globals);
// Restores what Push saved; back in the preview it asks the host for the
// proxy rectangle again.
void PopRectAndPreviewState(const StateStructure* save, Globals* globals);
