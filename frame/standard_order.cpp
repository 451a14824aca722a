// The frame's side of the task pool (declared in frame/base/task_pool.h): where an
// invocation keeps the pool's state, and the standard work order, which hands
// each kind to the pyramid code or to the renderer.
#include <algorithm>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_levels.h"
#include "render/render_services.h"

TaskPoolState TaskPoolStateOf(Globals* globals) {
  return {reinterpret_cast<unsigned char*>(globals->taskRecords), sizeof(PerTaskStuffType), globals->taskRecordCount,
          &globals->taskCount, &globals->taskTerminationQueue};
}

void RunStandardOrder(PerTaskStuffType* task, int32_t kind) {
  if (DoStandardTasks(task, kind)) return;
  const bool rowJob = kind == TaskKind_SampleRow || kind == TaskKind_ResultRow;
  if (!rowJob || task->shareCount < 1 || task->shareIndex < 0 || task->shareIndex >= task->shareCount) {
    DoMyTask(task, kind);
    return;
  }
  const int32_t first = task->firstColumn, last = task->lastColumn;
  const int64_t stride = int64_t(task->shareCount) * kRowChunkColumns;
  for (int64_t start = task->spanFirst + int64_t(task->shareIndex) * kRowChunkColumns; start <= task->spanLast;
       start += stride) {
    task->firstColumn = int32_t(start);
    task->lastColumn = int32_t(std::min<int64_t>(start + kRowChunkColumns - 1, task->spanLast));
    DoMyTask(task, kind);
  }
  task->firstColumn = first;
  task->lastColumn = last;
}
