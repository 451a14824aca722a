// What the frame asks of the output renderer.
#pragma once

#include <cstdint>

struct Globals;
struct PerTaskStuffType;

// Renders output row Globals.drawingRow of the current pass into the host's
// output buffer (or the export canvas). At the pass's first row it builds
// the view; a pass it cannot render is refused there, before anything is
// written, with an alert and Globals.result 1 (999 when the input pyramid
// is missing, -108 when the host gave no buffers, 3 without column or task
// records).
void DoSolarRect(Globals* globals);
// The body of the renderer's work orders: kind 0 maps a span of corners,
// kind 1 samples a span of pixels; other kinds and a null record do nothing.
void DoMyTask(PerTaskStuffType* task, int32_t kind);
// Stops the tasks that render rows ahead of the host (each within its
// current row), waits for them and frees their buffers; nothing when none
// run. Before anything a pass's tasks read is freed.
void EndRowsAhead(Globals* globals);

// Output modes the renderer knows: 1 to 291 and the variants 1035 to 1049.
bool IsKnownOutputMode(int32_t mode);
