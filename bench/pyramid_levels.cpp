// Building every coarser level of an 8192 x 4096 pyramid (8-bit and float),
// and reading a host image of that size into the main pyramid (intake and
// levels), on 1 to all worker tasks. Items are level-0 pixels, so items/s
// reads as pixels per second; the "threads" counter is the task count.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "platform/config.h"
#include "platform/memory.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_intake.h"
#include "pyramid/pyramid_levels.h"

namespace {

constexpr int32_t kWidth = 8192, kHeight = 4096;

// A host with system memory only and `threads` started worker tasks.
struct BenchHost {
  explicit BenchHost(int threads, int16_t depth = 8) {
    GyrellePlatformConfigure("processors", threads);
    record.imageSizeH = int16_t(kWidth);
    record.imageSizeV = int16_t(kHeight);
    record.planes = 3;
    record.filterRect = Rect{0, 0, int16_t(kHeight), int16_t(kWidth)};
    record.imageMode = depth == 32 ? kImageModeRGB96 : kImageModeRGB;
    record.depth = depth;
    record.parameters = NewHandleClear(sizeof(TParameters));
    record.advanceState = Deliver;
    globals = static_cast<Globals*>(std::calloc(1, sizeof(Globals)));
    storage = static_cast<InvocationStorage*>(std::calloc(1, sizeof(InvocationStorage)));
    globals->filterRecord = &record;
    globals->storage = storage;
    records.assign(sizeof(PerTaskStuffType) * size_t(threads), 0);
    globals->taskRecords = new (records.data()) PerTaskStuffType[threads]();
    globals->taskRecordCount = threads;
    for (PyramidDescriptor& p : globals->pyramids) InitPyramidProcs(&p, globals, storage->filterTable);
    Start_multithreading(globals);
    current = this;
  }
  ~BenchHost() {
    End_multithreading(globals);
    for (PyramidDescriptor& p : globals->pyramids) DisposePyramidData(&p);
    DisposeHandle(record.parameters);
    std::free(storage);
    std::free(globals);
    GyrellePlatformConfigure("processors", 0);
  }

  // The requested rectangle of a flat grey image, three samples a pixel.
  static OSErr16 Deliver() {
    FilterRecord& r = current->record;
    const int32_t cols = r.inRect.right - r.inRect.left, rows = r.inRect.bottom - r.inRect.top;
    const int32_t bytes = r.depth == 32 ? 4 : 1;
    r.inRowBytes = cols * 3 * bytes;
    current->in.assign(size_t(r.inRowBytes) * size_t(rows), 0x55);
    r.inData = current->in.data();
    return 0;
  }

  FilterRecord record{};
  Globals* globals;
  InvocationStorage* storage;
  std::vector<uint8_t> records, in;
  static BenchHost* current;
};
BenchHost* BenchHost::current = nullptr;

void FillLevel0(PyramidDescriptor* p) {
  for (int32_t i = p->levelFirstTile[0]; i <= p->levelLastTile[0]; ++i)
    std::memset(p->tileTable[i].pixels, 0x3C, size_t(PixelsInTile(p, i)) * p->bytesPerPixel);
}

void BM_BuildLevels(benchmark::State& state) {
  const int32_t kind = int32_t(state.range(0));
  const int threads = int(state.range(1));
  BenchHost host(threads);
  PyramidDescriptor* p = &host.globals->pyramids[kPyramidMain];
  if (!TryToAllocatePyramid_2006(p, kWidth, kHeight, kind, 2)) {
    state.SkipWithError("no memory for the pyramid");
    return;
  }
  FillLevel0(p);
  paint_mipmap_of_pyramid(p);  // the first touch of fresh pages is not the work measured
  for (auto _ : state) paint_mipmap_of_pyramid(p);
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
  state.counters["threads"] = threads;
  state.SetLabel(kind == 3 ? "8-bit RGBA" : "float RGBA");
}

void BM_FillPyramids(benchmark::State& state) {
  const int16_t depth = int16_t(state.range(0));
  const int threads = int(state.range(1));
  BenchHost host(threads, depth);
  if (AllocateColorPyramids(kWidth, kHeight, host.globals) != 0) {
    state.SkipWithError("no memory for the pyramid");
    return;
  }
  FillPyramids(host.globals);
  for (auto _ : state) {
    host.globals->result = 0;
    FillPyramids(host.globals);
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
  state.counters["threads"] = threads;
  state.SetLabel(depth == 32 ? "float RGB" : "8-bit RGB");
}

void ThreadCounts(benchmark::internal::Benchmark* b, int64_t first) {
  const int64_t all = std::max(1u, std::thread::hardware_concurrency());
  for (int64_t t = 1; t < all; t *= 2) b->Args({first, t});
  b->Args({first, all});
}

BENCHMARK(BM_BuildLevels)
    ->Apply([](benchmark::internal::Benchmark* b) {
      ThreadCounts(b, 3);
      ThreadCounts(b, 9);
    })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FillPyramids)
    ->Apply([](benchmark::internal::Benchmark* b) {
      ThreadCounts(b, 8);
      ThreadCounts(b, 32);
    })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
