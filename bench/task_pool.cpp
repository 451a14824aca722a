// The cost of one fork and join of the worker pool, as a row of the
// renderer pays it twice: the orders of one row job posted to every task,
// run, and answered. With an empty body this is the pool's own overhead;
// with a body of a few microseconds it shows whether the shares really run
// side by side.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "platform/config.h"
#include "projection/task_record.h"

namespace {

void EmptyBody(PerTaskStuffType*, int32_t) {}

void BusyBody(PerTaskStuffType* task, int32_t) {
  double s = 0.0;
  for (int32_t i = task->firstColumn; i <= task->lastColumn; ++i) s += double(i) * 0.5;
  benchmark::DoNotOptimize(s);
}

struct Pool {
  explicit Pool(int threads) {
    GyrellePlatformConfigure("processors", threads);
    globals = static_cast<Globals*>(std::calloc(1, sizeof(Globals)));
    records.assign(sizeof(PerTaskStuffType) * size_t(threads), 0);
    globals->taskRecords = new (records.data()) PerTaskStuffType[threads]();
    globals->taskRecordCount = threads;
    Start_multithreading(globals);
  }
  ~Pool() {
    End_multithreading(globals);
    std::free(globals);
    GyrellePlatformConfigure("processors", 0);
  }
  Globals* globals;
  std::vector<unsigned char> records;
};

void BM_ForkJoin(benchmark::State& state) {
  const int threads = int(state.range(0));
  const bool busy = state.range(1) != 0;
  Pool pool(threads);
  // A wide row: the busy body then costs a few microseconds per share.
  constexpr int32_t kColumns = 40000;
  for (auto _ : state) {
    Bust_row_into_tasks(0, kColumns - 1, TaskKind_ResultRow, pool.globals, nullptr, 0, nullptr);
    launch_and_finish_all_tasks_with(pool.globals, busy ? BusyBody : EmptyBody);
  }
  state.SetLabel(busy ? "busy shares" : "empty shares");
}
BENCHMARK(BM_ForkJoin)->ArgsProduct({{1, 2, 4, 8}, {0, 1}})->UseRealTime();

}  // namespace
