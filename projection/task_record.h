// One worker task's record: the pool's part first, then the scratch that only
// the renderer and the projections fill and read. Records lie side by side in
// one block, allocated at start, so no task allocates memory during a job.
#pragma once

#include <cstdint>

#include "frame/base/task_pool.h"
#include "projection/render_hint.h"

struct PerTaskStuffType : TaskPoolRecord {
  renderhinttype outputHint;
  renderhinttype inputHint;
  int32_t tissotSearchStart;
  // A task writes its own record's last fields for every column while its
  // neighbour reads and writes the first fields of the next: this gap keeps
  // them off one cache line (two lines, for the processors that fetch lines
  // in pairs).
  char neighbourGap[128];
};

// The pool steps from record to record by their size and hands a record's
// own address to the bodies, so its part must open the record.
constexpr bool PoolPartOpensTaskRecord() {
  const PerTaskStuffType record{};
  return static_cast<const void*>(static_cast<const TaskPoolRecord*>(&record)) == static_cast<const void*>(&record);
}
static_assert(PoolPartOpensTaskRecord());
