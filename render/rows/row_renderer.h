// render/rows/: one output row at a time: corners, spans, adaptive super-sampling and their records.
// The row renderer: one output row per call. A row of pixel corners is
// mapped from the output to the input by the worker tasks (kind-0 orders),
// the row's pixels are sampled and composited by the worker tasks (kind-1
// orders), and the main thread writes them into the host's buffer in order.
// Each corner row is mapped once and kept in the column records' two reply
// slots, so it serves the pixel row above and the one below it. A final
// pass whose overlays allow it is rendered ahead in bands instead
// (rows_ahead.h), through the same span bodies.
#pragma once

#include <cstdint>

struct ColumnRecord;
struct EdgeDot;
struct Globals;
struct PerTaskStuffType;
struct PyramidDescriptor;
struct vort;

// Renders row Globals.drawingRow of the pass (DoSolarRect in
// render_services.h); the view is built at the first row of a pass.


// Maps corner row `row` of the view: splits corner columns -1..W-1 among
// the tasks, flips the reply slot, prepares the shared caches and runs the
// orders to completion.
void build_sample_row(Globals* globals, vort* view, int32_t row, PyramidDescriptor* outputPyramid);

// The bodies' work on any column records and reply slot: the corners of
// the task's span of corner row task->row, and the pixels of its span of
// pixel row task->row (into `colours`, indexed by column, or into the
// records' pixelColor when it is null). Each call is one chunk: it starts
// the task's searches afresh.
void MapCornerSpan(const vort& view, ColumnRecord* records, int32_t slot, PerTaskStuffType* task);
// With `colours` given and a graticule or region edges on, the pixels come
// without those overlays and the backdrop, which the main thread draws in
// row order; their edge dots then go into `dots`.
void SamplePixelSpan(const vort& view, ColumnRecord* records, int32_t slot, PerTaskStuffType* task,
                     float (*colours)[4], EdgeDot* dots);

// Kind-0 body: maps the corners of the task's span for its row.
void build_sample_row_segment(PerTaskStuffType* task);
// Kind-1 body: samples and composites the pixels of the task's span.
void build_results_pixel_row_segment(PerTaskStuffType* task);
