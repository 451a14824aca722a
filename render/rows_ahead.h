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
// Overlays that a row shares with the next (graticule, region edges, Tissot
// and scissor marks) and the dialog's preview keep the row-by-row path.
#pragma once

#include <cstdint>

struct Globals;
struct PyramidDescriptor;
struct vort;

// Sets up and starts the tasks on rows firstRow..endRow - 1 of the view just
// built, the host's next row being firstRow; false (nothing started) when
// the pass does not suit or its buffers cannot be had.
bool StartRowsAhead(Globals* globals, vort* view, int32_t firstRow, int32_t endRow, int32_t width,
                    PyramidDescriptor* outputPyramid);
// The colours of row y, four per column, once rendered (this waits for the
// row); null unless rows ahead run and y is the row they expect next.
const float (*TakeRowAhead(Globals* globals, int32_t y))[4];
// Row y is stored: its place in the ring may take another row.
void ReleaseRowAhead(Globals* globals, int32_t y);
// EndRowsAhead, which stops them, is in render_services.h.
