#include "render/rows/rows_ahead.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <thread>
#include <type_traits>

#include "frame/globals.h"  // the rows ahead run on the invocation's task records and live in its storage
#include "frame/base/host_suites.h"
#include "frame/base/task_pool.h"
#include "projection/task_record.h"
#include "render/rows/column_record.h"
#include "render/render_services.h"
#include "render/rows/row_renderer.h"
#include "render/rows/scanline_setup.h"
#include "render/vort.h"

namespace {

// A large block taken from the host's buffers where it has them, so that
// at the end of the pass the host hands its pages back on its own time:
// freed here, its unmapping held up the main thread for milliseconds while
// every core waited for the file to be written. Its elements are left
// unwritten, as with new[].
template <class T>
class HostArray {
  static_assert(std::is_trivially_default_constructible_v<T> && std::is_trivially_destructible_v<T>);

 public:
  HostArray() = default;
  HostArray(const HostArray&) = delete;
  HostArray& operator=(const HostArray&) = delete;
  ~HostArray() { RobustDisposePtr(&block_, &id_, procs_); }
  bool Allocate(BufferProcs* procs, size_t count) {
    procs_ = procs;
    block_ = RobustNewPtr(uint64_t(count) * sizeof(T), &id_, procs);
    return block_ != nullptr;
  }
  explicit operator bool() const { return block_ != nullptr; }
  T& operator[](size_t i) const { return static_cast<T*>(block_)[i]; }

 private:
  void* block_ = nullptr;
  BufferID id_ = 0;
  BufferProcs* procs_ = nullptr;
};

}  // namespace

struct RowsAhead {
  Globals* globals = nullptr;
  const vort* view = nullptr;
  PyramidDescriptor* outputPyramid = nullptr;
  int32_t width = 0;
  int32_t firstRow = 0, endRow = 0;
  int32_t bandCount = 0;
  int32_t headBands = 0;  // the bands of kBandRows rows; the rest are shorter
  int32_t windowRows = 0;
  int32_t workers = 0;
  // workers * (width + 1) records, each task's own set put in its start
  // state by the task the first time it runs, and windowRows * width * 4
  // colours: large, and written before they are read, so nothing is
  // cleared on the main thread before the tasks start.
  HostArray<ColumnRecord> records;
  std::unique_ptr<uint8_t[]> recordsReady;  // per task: 1 once its set is reset
  HostArray<float> colours;
  HostArray<EdgeDot> dots;         // windowRows * width, with region edges on
  HostArray<float> gridCorners;    // windowRows * (width + 1) * 4, with the graticule on
  // Per ring place: one more than the row it holds once that row is done.
  std::unique_ptr<std::atomic<int32_t>[]> done;
  std::atomic<int32_t> nextBand{0};
  // The first row the main thread has not stored yet: ring places of rows
  // before it may be reused.
  std::atomic<int32_t> storedEnd{0};
  // Counts finished rows and ended orders; the main thread sleeps on it.
  std::atomic<uint32_t> finished{0};
  // Orders launched and not yet ended. A task that finds no band fitting
  // ends its order just as the main thread, seeing it still busy, may
  // decide not to restart it; with none left to wake it, the main thread
  // must not sleep, only wait for the pool to see the order end.
  std::atomic<int32_t> active{0};
  std::atomic<bool> stop{false};
};

namespace {

// Rows of a band: as many as share one set of net search lists, so a band
// costs one corner row more than its own rows.
constexpr int32_t kBandRows = 8;
// Bands the ring holds for each task: room to run past a band that a slow
// core holds up.
constexpr int32_t kWindowBandsPerTask = 2;
// The last band of each task is cut into bands of this many rows: once the
// bands run out, the pass waits for the slowest of the last ones, and a
// short band ends sooner (mapping its corner row again costs little then).
constexpr int32_t kTailBandRows = 2;

// The Tissot and scissor-mark searches of a column start where the corner
// above ended, so they follow the rows in turn; the dialog's preview must
// answer an abort at once.
bool Suits(const Globals* globals, const vort& view) {
  const TParameters* p = Params(globals);
  return p && p->runMode != RunMode_Preview && !view.tissotOn && !view.polySpotsOn && globals->taskRecords &&
         globals->taskRecordCount > 0;
}

// Bands 0..headBands-1 are kBandRows high, the rest kTailBandRows.
int32_t BandStart(const RowsAhead& ra, int32_t band) {
  if (band <= ra.headBands) return ra.firstRow + band * kBandRows;
  return ra.firstRow + ra.headBands * kBandRows + (band - ra.headBands) * kTailBandRows;
}
int32_t BandEnd(const RowsAhead& ra, int32_t band) {
  return std::min(BandStart(ra, band) + (band < ra.headBands ? kBandRows : kTailBandRows), ra.endRow);
}
// Rows after which idle tasks are started again: every band's end.
bool EndsBand(const RowsAhead& ra, int32_t row) {
  const int32_t head = ra.headBands * kBandRows;
  const int32_t at = row - ra.firstRow;
  return at <= head ? at % kBandRows == 0 : (at - head) % kTailBandRows == 0;
}
int32_t RingPlace(const RowsAhead& ra, int32_t row) { return (row - ra.firstRow) % ra.windowRows; }

// The band dealt as the index-th: the head bands in turn, then the short
// ones from the last row up. The rows at a map's edge can cost several
// times a middle row (a pole's footprints span the whole input), and dealt
// last, the last of them held up the whole pass while every other core
// waited; from the end, the costly one goes first and cheap ones fill in.
int32_t DealtBand(const RowsAhead& ra, int32_t index) {
  if (index < ra.headBands || index >= ra.bandCount) return index;
  return ra.bandCount - 1 - (index - ra.headBands);
}

// A band may start once every row of it has a free place in the ring.
bool Fits(const RowsAhead& ra, int32_t band) {
  return band < ra.bandCount && BandEnd(ra, band) <= ra.storedEnd.load(std::memory_order_acquire) + ra.windowRows;
}

// The same chunks as the row-by-row path deals out: every 32 columns from
// the first item of the row job.
void MapCornerRow(RowsAhead& ra, PerTaskStuffType* task, ColumnRecord* records, int32_t row) {
  PrepareTaskForRow(ra.globals, *ra.view, task, row);
  task->row = row;
  for (int32_t start = -1; start < ra.width; start += kRowChunkColumns) {
    task->firstColumn = start;
    task->lastColumn = std::min(start + kRowChunkColumns - 1, ra.width - 1);
    MapCornerSpan(*ra.view, records, row & 1, task);
  }
}

void SamplePixelRow(RowsAhead& ra, PerTaskStuffType* task, ColumnRecord* records, int32_t y, float (*out)[4],
                    EdgeDot* dots) {
  task->row = y;
  for (int32_t start = 0; start < ra.width; start += kRowChunkColumns) {
    task->firstColumn = start;
    task->lastColumn = std::min(start + kRowChunkColumns - 1, ra.width - 1);
    SamplePixelSpan(*ra.view, records, y & 1, task, out, dots);
  }
}

// The grid coordinates of corner rows y - 1 and y, which the main thread's
// graticule reads.
void KeepGridCorners(const RowsAhead& ra, const ColumnRecord* records, int32_t y, float (*out)[4]) {
  const int32_t now = y & 1, prev = now ^ 1;
  for (int32_t i = 0; i <= ra.width; ++i) {
    out[i][0] = records[i].reply[prev].gridU;
    out[i][1] = records[i].reply[prev].gridV;
    out[i][2] = records[i].reply[now].gridU;
    out[i][3] = records[i].reply[now].gridV;
  }
}

void RenderBand(RowsAhead& ra, PerTaskStuffType* task, ColumnRecord* records, int32_t band) {
  const int32_t start = BandStart(ra, band), end = BandEnd(ra, band);
  MapCornerRow(ra, task, records, start - 1);
  for (int32_t y = start; y < end; ++y) {
    if (ra.stop.load(std::memory_order_relaxed)) return;
    MapCornerRow(ra, task, records, y);
    const int32_t place = RingPlace(ra, y);
    auto* out = reinterpret_cast<float(*)[4]>(&ra.colours[size_t(place) * size_t(ra.width) * 4]);
    EdgeDot* dots = ra.dots ? &ra.dots[size_t(place) * size_t(ra.width)] : nullptr;
    if (ra.gridCorners)
      KeepGridCorners(ra, records, y,
                      reinterpret_cast<float(*)[4]>(&ra.gridCorners[size_t(place) * size_t(ra.width + 1) * 4]));
    SamplePixelRow(ra, task, records, y, out, dots);
    ra.done[place].store(y + 1, std::memory_order_release);
    ra.finished.fetch_add(1, std::memory_order_release);
    ra.finished.notify_all();
  }
}

// A task's order: bands in turn until none is left or the ring is full (the
// main thread starts the task again once rows are stored).
void RenderBands(RowsAhead& ra, PerTaskStuffType* task) {
  const int64_t index = task - ra.globals->taskRecords;
  ColumnRecord* records = &ra.records[size_t(index) * size_t(ra.width + 1)];
  if (!ra.recordsReady[size_t(index)]) {
    ResetColumnRecords(records, ra.width + 1);
    ra.recordsReady[size_t(index)] = 1;
  }
  for (;;) {
    if (ra.stop.load(std::memory_order_relaxed)) return;
    int32_t index = ra.nextBand.load(std::memory_order_relaxed);
    const int32_t band = DealtBand(ra, index);
    if (!Fits(ra, band)) return;
    if (!ra.nextBand.compare_exchange_weak(index, index + 1, std::memory_order_relaxed)) continue;
    RenderBand(ra, task, records, band);
  }
}

void RenderBandsOrder(PerTaskStuffType* task, int32_t /*kind*/) {
  auto& ra = *static_cast<RowsAhead*>(task->job);
  RenderBands(ra, task);
  ra.active.fetch_sub(1, std::memory_order_release);
  ra.finished.fetch_add(1, std::memory_order_release);
  ra.finished.notify_all();
}

// A task record as the bands' orders read it. Another job of the pool run
// between two rows (it waits for the tasks first) may have rewritten it; the
// search lists it leaves alone.
void PrepareRecord(RowsAhead& ra, int32_t i) {
  PerTaskStuffType& r = ra.globals->taskRecords[i];
  r.job = &ra;
  r.globals = ra.globals;
  r.outputPyramid = ra.outputPyramid;
  r.spanFirst = -1;
  r.spanLast = ra.width - 1;
  r.kind = TaskKind_SampleRow;
}

// Starts every task whose order has ended while a band is left that fits.
void RestartIdleTasks(RowsAhead& ra) {
  // The pool's waits cover the records counted in the job.
  if (ra.globals->taskCount < ra.workers) ra.globals->taskCount = ra.workers;
  for (int32_t i = 0; i < ra.workers; ++i) {
    if (!Fits(ra, DealtBand(ra, ra.nextBand.load(std::memory_order_relaxed)))) return;
    if (!poll_one_task(ra.globals, i)) continue;
    PrepareRecord(ra, i);
    ra.active.fetch_add(1, std::memory_order_relaxed);
    launch_one_task_with(ra.globals, i, RenderBandsOrder);
  }
}

RowsAhead* Running(Globals* globals) { return globals->storage ? globals->storage->rowsAhead : nullptr; }

}  // namespace

bool StartRowsAhead(Globals* globals, vort* view, int32_t firstRow, int32_t endRow, int32_t width,
                    PyramidDescriptor* outputPyramid) {
  EndRowsAhead(globals);
  if (!globals->storage || width < 1 || endRow <= firstRow || firstRow < 0 || !Suits(globals, *view)) return false;
  finish_only_all_tasks(globals);
  // The tasks' search lists and the shared tables as the row-by-row path
  // leaves them before its first corner row.
  Bust_row_into_tasks(-1, width - 1, TaskKind_SampleRow, globals, view, firstRow - 1, outputPyramid);
  const int32_t workers = globals->taskCount;
  if (workers < 1) return false;
  DoOncePerScanlineSetup(globals, view, firstRow - 1);
  Prefill_any_threadshared_caches(&globals->taskRecords[0]);

  auto ra = std::unique_ptr<RowsAhead>(new (std::nothrow) RowsAhead);
  if (!ra) return false;
  ra->globals = globals;
  ra->view = view;
  ra->outputPyramid = outputPyramid;
  ra->width = width;
  ra->firstRow = firstRow;
  ra->endRow = endRow;
  const int32_t rows = endRow - firstRow;
  ra->headBands = std::max(0, rows - workers * kBandRows) / kBandRows;
  const int32_t tailRows = rows - ra->headBands * kBandRows;
  ra->bandCount = ra->headBands + (tailRows + kTailBandRows - 1) / kTailBandRows;
  ra->workers = workers;
  // The short bands are dealt from the last row up, so the ring holds all
  // of them besides the head bands' window: the first dealt fits at once.
  ra->windowRows = std::min(kBandRows * kWindowBandsPerTask * (workers + 1) + tailRows,
                            (rows + kBandRows - 1) / kBandRows * kBandRows);
  ra->storedEnd.store(firstRow);
  BufferProcs* procs = HostBuffers(globals);
  ra->records.Allocate(procs, size_t(workers) * size_t(width + 1));
  ra->recordsReady.reset(new (std::nothrow) uint8_t[size_t(workers)]());
  ra->colours.Allocate(procs, size_t(ra->windowRows) * size_t(width) * 4);
  ra->done.reset(new (std::nothrow) std::atomic<int32_t>[size_t(ra->windowRows)]);
  if (view->edgesOn) ra->dots.Allocate(procs, size_t(ra->windowRows) * size_t(width));
  if (view->gridOn) ra->gridCorners.Allocate(procs, size_t(ra->windowRows) * size_t(width + 1) * 4);
  if (!ra->records || !ra->recordsReady || !ra->colours || !ra->done || (view->edgesOn && !ra->dots) ||
      (view->gridOn && !ra->gridCorners))
    return false;
  for (int32_t i = 0; i < ra->windowRows; ++i) ra->done[i].store(0, std::memory_order_relaxed);
  for (int32_t i = 0; i < workers; ++i) PrepareRecord(*ra, i);
  globals->storage->rowsAhead = ra.release();
  RestartIdleTasks(*globals->storage->rowsAhead);
  return true;
}

bool TakeRowAhead(Globals* globals, int32_t y, RowAhead* row) {
  *row = RowAhead{};
  RowsAhead* ra = Running(globals);
  if (!ra || y != ra->storedEnd.load(std::memory_order_relaxed) || y >= ra->endRow) return false;
  const int32_t place = RingPlace(*ra, y);
  for (;;) {
    const uint32_t seen = ra->finished.load(std::memory_order_acquire);
    if (ra->done[place].load(std::memory_order_acquire) == y + 1) break;
    // Where no task could be posted, the bands are rendered here.
    RestartIdleTasks(*ra);
    if (ra->done[place].load(std::memory_order_acquire) == y + 1) break;
    if (ra->active.load(std::memory_order_acquire) == 0) {
      std::this_thread::yield();
      continue;
    }
    ra->finished.wait(seen, std::memory_order_acquire);
  }
  row->colours = reinterpret_cast<const float(*)[4]>(&ra->colours[size_t(place) * size_t(ra->width) * 4]);
  if (ra->dots) row->dots = &ra->dots[size_t(place) * size_t(ra->width)];
  if (ra->gridCorners)
    row->gridCorners =
        reinterpret_cast<const float(*)[4]>(&ra->gridCorners[size_t(place) * size_t(ra->width + 1) * 4]);
  return true;
}

void ReleaseRowAhead(Globals* globals, int32_t y) {
  RowsAhead* ra = Running(globals);
  if (!ra || y != ra->storedEnd.load(std::memory_order_relaxed)) return;
  ra->storedEnd.store(y + 1, std::memory_order_release);
  if (y + 1 >= ra->endRow) {
    EndRowsAhead(globals);
    return;
  }
  if (EndsBand(*ra, y + 1)) RestartIdleTasks(*ra);
}

void EndRowsAhead(Globals* globals) {
  RowsAhead* ra = Running(globals);
  if (!ra) return;
  ra->stop.store(true, std::memory_order_relaxed);
  if (globals->taskCount < ra->workers) globals->taskCount = ra->workers;
  finish_only_all_tasks(globals);
  globals->storage->rowsAhead = nullptr;
  delete ra;
}
