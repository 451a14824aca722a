// Rendering a 4096 x 2048 equirectangular panorama into a Mollweide map, an
// equirectangular map and a little planet (the stereographic view) of the
// same size, 8-bit and float, on one worker task and on all of them. Items are output pixels, so items/s reads
// as pixels per second.
//
// Where the time goes: BM_Render is the whole row loop; BM_MapCorners only
// the corner mapping (route, tumble, input mapping) of every row, on the
// same tasks; BM_PixelOutput only the main thread's stores into the host's
// buffer. Sampling and compositing are what the render takes beyond the two.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

#include "frame/globals.h"
#include "frame/settings/settings_defaults.h"
#include "frame/base/task_pool.h"
#include "platform/config.h"
#include "platform/memory.h"
#include "projection/task_record.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_filter_table.h"
#include "pyramid/pyramid_input_modes.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_pixels.h"
#include "render/rows/column_record.h"
#include "render/output/pixel_output.h"
#include "render/render_services.h"
#include "render/rows/row_renderer.h"
#include "render/view_build.h"
#include "render/vort.h"

namespace {

constexpr int32_t kWidth = 4096, kHeight = 2048;
constexpr int32_t kMollweide = 46, kEquirectangular = 1, kStereographic = 16;

// A host that hands the renderer one row of buffers at a time, with an
// input pyramid holding a smooth picture and all its levels built.
struct RenderHost {
  RenderHost(int threads, int16_t depth, int32_t outputMode) {
    GyrellePlatformConfigure("processors", threads);
    const bool isFloat = depth == 32;
    record.imageSizeH = int16_t(kWidth);
    record.imageSizeV = int16_t(kHeight);
    record.planes = 3;
    record.filterRect = Rect{0, 0, int16_t(kHeight), int16_t(kWidth)};
    record.outRect = Rect{0, 0, 1, int16_t(kWidth)};
    record.inLoPlane = record.outLoPlane = 0;
    record.inHiPlane = record.outHiPlane = 2;
    record.imageMode = isFloat ? kImageModeRGB96 : kImageModeRGB;
    record.depth = depth;
    record.filterCase = kFilterCaseFlatImageNoSelection;
    record.parameters = NewHandleClear(sizeof(TParameters));
    record.inRowBytes = record.outRowBytes = kWidth * 3 * (isFloat ? 4 : 1);
    in.assign(size_t(record.inRowBytes), 0);
    out.assign(size_t(record.outRowBytes), 0);
    record.inData = in.data();
    record.outData = out.data();
    TParameters* p = reinterpret_cast<TParameters*>(*record.parameters);
    SetDefaultSettings(p);
    p->previewScale = 1;
    p->outputMode = outputMode;

    globals = static_cast<Globals*>(std::calloc(1, sizeof(Globals)));
    storage = static_cast<InvocationStorage*>(std::calloc(1, sizeof(InvocationStorage)));
    globals->filterRecord = &record;
    globals->storage = storage;
    globals->savedFilterRect = record.filterRect;
    globals->firstRow = 0;
    globals->lastRow = kHeight - 1;
    globals->lastColumn = kWidth - 1;
    // The pass's row count: the renderer deals whole bands of rows ahead.
    globals->outputHeight = kHeight;
    initGaussianPyrTable(storage->filterTable);
    for (PyramidDescriptor& pyr : globals->pyramids) InitPyramidProcs(&pyr, globals, storage->filterTable);
    columns.resize(size_t(kWidth) + 4);
    globals->columnRecords = columns.data();
    globals->columnRecordCount = int32_t(columns.size());
    globals->columnRecordsSize = int64_t(sizeof(ColumnRecord)) * globals->columnRecordCount;
    records.assign(sizeof(PerTaskStuffType) * size_t(threads), 0);
    globals->taskRecords = new (records.data()) PerTaskStuffType[threads]();
    globals->taskRecordCount = threads;
    Start_multithreading(globals);
    ok = FillInput(isFloat ? PyramidDataKind_FourFloat : PyramidDataKind_Packed8);
  }
  ~RenderHost() {
    EndRowsAhead(globals);
    End_multithreading(globals);
    for (PyramidDescriptor& pyr : globals->pyramids) DisposePyramidData(&pyr);
    DisposeHandle(record.parameters);
    std::free(storage);
    std::free(globals);
    GyrellePlatformConfigure("processors", 0);
  }

  bool FillInput(int32_t kind) {
    PyramidDescriptor* p = &globals->pyramids[kPyramidMain];
    if (!TryToAllocatePyramid_2006(p, kWidth, kHeight, kind, WrapModeFromGyrelleInputMode(1))) return false;
    p->overhangMode = OverhangModeFromGyrelleInputMode(1);
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        const float a = float(x) * 0.0123f, b = float(y) * 0.031f;
        const float c[4] = {0.5f + 0.4f * std::sin(a), 0.5f + 0.4f * std::cos(b), 0.5f + 0.4f * std::sin(a + b), 1.0f};
        set_unitary_color(x, y, p, 0, c);
      }
    }
    paint_mipmap_of_pyramid(p);
    return true;
  }

  void RenderAllRows() {
    for (int32_t y = 0; y < kHeight && globals->result == 0; ++y) {
      globals->drawingRow = y;
      DoSolarRect(globals);
    }
  }

  FilterRecord record{};
  Globals* globals;
  InvocationStorage* storage;
  std::vector<uint8_t> records, in, out;
  std::vector<ColumnRecord> columns;
  bool ok = false;
};

const char* Label(int16_t depth, int32_t mode) {
  if (mode == kMollweide) return depth == 32 ? "float to Mollweide" : "8-bit to Mollweide";
  if (mode == kStereographic) return depth == 32 ? "float to little planet" : "8-bit to little planet";
  return depth == 32 ? "float to equirectangular" : "8-bit to equirectangular";
}

void Finish(benchmark::State& state, int threads, int16_t depth, int32_t mode) {
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
  state.counters["threads"] = threads;
  state.SetLabel(Label(depth, mode));
}

void BM_Render(benchmark::State& state) {
  const int32_t mode = int32_t(state.range(0));
  const int16_t depth = int16_t(state.range(1));
  const int threads = int(state.range(2));
  RenderHost host(threads, depth, mode);
  if (!host.ok) {
    state.SkipWithError("no memory for the input pyramid");
    return;
  }
  for (auto _ : state) {
    host.RenderAllRows();
    if (host.globals->result != 0) state.SkipWithError("the render failed");
  }
  Finish(state, threads, depth, mode);
}

void BM_MapCorners(benchmark::State& state) {
  const int32_t mode = int32_t(state.range(0));
  const int threads = int(state.range(1));
  RenderHost host(threads, 8, mode);
  vort view{};
  if (!host.ok || BuildPrimaryView(host.globals, &view) != ViewBuild_OK) {
    state.SkipWithError("no view");
    return;
  }
  PyramidDescriptor* output = &host.globals->pyramids[kPyramidMain];
  for (auto _ : state)
    for (int32_t y = -1; y < kHeight; ++y) build_sample_row(host.globals, &view, y, output);
  Finish(state, threads, 8, mode);
}

void BM_PixelOutput(benchmark::State& state) {
  const int16_t depth = int16_t(state.range(0));
  RenderHost host(1, depth, kMollweide);
  for (ColumnRecord& r : host.columns) {
    const float c[4] = {0.3f, 0.6f, 0.9f, 1.0f};
    std::memcpy(r.pixelColor, c, sizeof c);
  }
  for (auto _ : state) {
    for (int32_t y = 0; y < kHeight; ++y) {
      PixelSink sink;
      PreparePixelSink(host.globals, y, &sink);
      for (int32_t x = 0; x < kWidth; ++x) Output_a_Pixel(sink, x, host.columns[size_t(x)].pixelColor);
    }
    benchmark::DoNotOptimize(host.out.data());
  }
  Finish(state, 1, depth, kMollweide);
}

int64_t AllCores() { return std::max(1u, std::thread::hardware_concurrency()); }

BENCHMARK(BM_Render)
    ->Apply([](benchmark::internal::Benchmark* b) {
      for (const int64_t mode : {kMollweide, kEquirectangular, kStereographic})
        for (const int64_t depth : {8, 32})
          for (const int64_t threads : {int64_t(1), AllCores()}) b->Args({mode, depth, threads});
    })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_MapCorners)
    ->Apply([](benchmark::internal::Benchmark* b) {
      for (const int64_t mode : {kMollweide, kEquirectangular, kStereographic})
        for (const int64_t threads : {int64_t(1), AllCores()}) b->Args({mode, threads});
    })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(BM_PixelOutput)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
