// Rows rendered ahead: while the host takes one row at a time, the worker
// tasks render whole bands of rows into the plug-in's own ring of finished
// colours, each task with column records of its own, and take the next band
// as soon as they finish one; the main thread only waits for the row the
// host asks for and stores it. No task waits for another, so a core that is
// slow or taken away costs its own band only, not every row.
//
// A band maps the corner row above it again (the one the band before it
// ended with) and every chunk of a row starts its searches afresh, so each
// pixel comes out as the row-by-row path makes it at any thread count.
// The graticule and region edges, whose coverage a row shares with the
// next, are drawn by the main thread in row order from what the tasks hand
// over with each row. Tissot and scissor marks, whose searches run on from
// row to row, and the dialog's preview keep the row-by-row path.
#pragma once

#include <cstdint>

#include "render/rows/column_record.h"

struct Globals;
struct PyramidDescriptor;
struct vort;

// Sets up and starts the tasks on rows firstRow..endRow - 1 of the view just
// built, the host's next row being firstRow; false (nothing started) when
// the pass does not suit or its buffers cannot be had.
bool StartRowsAhead(Globals* globals, vort* view, int32_t firstRow, int32_t endRow, int32_t width,
                    PyramidDescriptor* outputPyramid);
// A row rendered ahead: the colours of its pixels, four per column; with
// region edges on, the pixels' edge dots; with the graticule on, per corner
// column 0..width the grid coordinates (u, v) of the corner row above the
// row and then of the one below it.
struct RowAhead {
  const float (*colours)[4];
  const EdgeDot* dots;
  const float (*gridCorners)[4];
};

// Row y once rendered (this waits for it); false unless rows ahead run and
// y is the row they expect next.
bool TakeRowAhead(Globals* globals, int32_t y, RowAhead* row);
// Row y is stored: its place in the ring may take another row.
void ReleaseRowAhead(Globals* globals, int32_t y);
// EndRowsAhead, which stops them, is in render_services.h.
