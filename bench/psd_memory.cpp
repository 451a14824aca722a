// Peak memory of a layered document far larger than the image it comes
// from: a 20000 x 10000 result written from a 2048 x 1024 panorama. The
// writer holds one canvas and streams it out, so the peak stays below two
// canvases plus the main pyramid; the counters report the figures, and the
// run fails (SkipWithError) when the bound is broken.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "export/psd/psd_writer.h"
#include "frame/globals.h"
#include "frame/invocation.h"
#include "frame/plugin_main.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

constexpr int kImageWidth = 2048, kImageHeight = 1024;
constexpr int kDocWidth = 20000, kDocHeight = 10000;

struct BenchHost {
  FilterRecord record{};
  BufferProcs procs{};
  HandleProcs handles{};
  DataWord data = 0;
  std::vector<uint8_t> image, inBuffer, outBuffer;
  std::map<BufferID, void*> buffers;
  BufferID next = 1;
  static BenchHost* current;

  BenchHost() {
    current = this;
    image.resize(size_t(kImageWidth) * kImageHeight * 3);
    for (int y = 0; y < kImageHeight; ++y)
      for (int x = 0; x < kImageWidth; ++x)
        for (int c = 0; c < 3; ++c)
          image[(size_t(y) * kImageWidth + x) * 3 + c] = uint8_t(128 + 100 * std::sin(0.01 * (x + 2 * y + 300 * c)));
    procs = {kCurrentBufferProcsVersion, kCurrentBufferProcsCount, Allocate, Lock, Unlock, Free, Space};
    handles = {kCurrentHandleProcsVersion, kCurrentHandleProcsCount, NewHandleThunk, DisposeHandleThunk,
               GetSizeThunk, SetSizeThunk, LockHandleThunk, UnlockHandleThunk, RecoverThunk, DisposeHandleThunk};
    record.imageSizeH = kImageWidth;
    record.imageSizeV = kImageHeight;
    record.planes = 3;
    record.filterRect = Rect{0, 0, kImageHeight, kImageWidth};
    record.imageMode = kImageModeRGB;
    record.depth = 8;
    record.filterCase = kFilterCaseFlatImageNoSelection;
    record.bufferProcs = &procs;
    record.handleProcs = &handles;
    record.advanceState = Advance;
    record.samplingSupport = 1;
    record.inputRate = record.maskRate = 0x10000;
  }
  void Deliver() {
    const Rect r = record.inRect;
    const int rows = std::max(0, r.bottom - r.top), cols = std::max(0, r.right - r.left);
    record.inRowBytes = cols * 3;
    inBuffer.assign(size_t(rows) * cols * 3 + 1, 0);
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < cols; ++x) {
        const int sy = std::clamp(r.top + y, 0, kImageHeight - 1), sx = std::clamp(r.left + x, 0, kImageWidth - 1);
        std::memcpy(&inBuffer[(size_t(y) * cols + x) * 3], &image[(size_t(sy) * kImageWidth + sx) * 3], 3);
      }
    record.inData = inBuffer.data();
    const Rect o = record.outRect;
    outBuffer.assign(size_t(std::max(0, o.bottom - o.top)) * std::max(0, o.right - o.left) * 3 + 1, 0);
    record.outRowBytes = std::max(0, o.right - o.left) * 3;
    record.outData = outBuffer.data();
  }
  static OSErr16 Advance() {
    current->Deliver();
    return 0;
  }
  static OSErr16 Allocate(int32_t size, BufferID* id) {
    void* p = std::malloc(size_t(size) + 1);
    if (!p) return -108;
    *id = current->next++;
    current->buffers[*id] = p;
    return 0;
  }
  static void* Lock(BufferID id, uint8_t) { return current->buffers.count(id) ? current->buffers[id] : nullptr; }
  static void Unlock(BufferID) {}
  static void Free(BufferID id) {
    std::free(current->buffers[id]);
    current->buffers.erase(id);
  }
  static int32_t Space() { return 1 << 30; }
  static Handle NewHandleThunk(int32_t size) { return NewHandle(size); }
  static void DisposeHandleThunk(Handle h) { DisposeHandle(h); }
  static int32_t GetSizeThunk(Handle h) { return int32_t(GetHandleSize(h)); }
  static OSErr16 SetSizeThunk(Handle h, int32_t size) { return SetHandleSize(h, size) ? 0 : -108; }
  static char* LockHandleThunk(Handle h, uint8_t) { return *h; }
  static void UnlockHandleThunk(Handle) {}
  static void RecoverThunk(int32_t) {}
};
BenchHost* BenchHost::current = nullptr;

int64_t PeakResidentBytes() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return int64_t(u.ru_maxrss) * 1024;
}

void BM_LayeredDocument20000x10000(benchmark::State& state) {
  char folder[] = "/tmp/gyrelle-psd-memory-XXXXXX";
  if (!mkdtemp(folder)) {
    state.SkipWithError("no scratch folder");
    return;
  }
  const std::string path = std::string(folder) + "/big.psd";
  for (auto _ : state) {
    BenchHost host;
    int16_t result = 0;
    PluginMain(kSelectorPrepare, &host.record, &host.data, &result);
    Globals* g = reinterpret_cast<Globals*>(*reinterpret_cast<Handle>(host.data));
    DoGrabbing(g);
    OncePerInvocationTasksNeedingMemory(g);
    // After the invocation's set-up, which resets the export settings.
    TParameters* p = Params(g);
    p->exportKind = 6;
    p->sizedExportWidth = kDocWidth;
    p->sizedExportHeight = kDocHeight;
    const int64_t before = PeakResidentBytes();
    FSRef file{};
    std::snprintf(file.path, sizeof file.path, "%s", path.c_str());
    uint8_t cancelled = 0;
    const int16_t e = WriteImageFile(g, &file, &cancelled, kImageFormatPSD);
    const int64_t peak = PeakResidentBytes();
    // The export read the image into the main pyramid, which stays.
    const int64_t pyramidBytes = g->pyramids[kPyramidMain].totalBytes;
    DoShutDown(g);
    KillRects(g);
    const int64_t layer = int64_t(kDocWidth) * kDocHeight * 4;
    state.counters["peak_rss_MB"] = double(peak) / 1e6;
    state.counters["rss_before_MB"] = double(before) / 1e6;
    state.counters["one_layer_MB"] = double(layer) / 1e6;
    state.counters["pyramid_MB"] = double(pyramidBytes) / 1e6;
    state.counters["bound_MB"] = double(2 * layer + pyramidBytes) / 1e6;
    if (e != 0) state.SkipWithError(("the write failed: " + std::to_string(e)).c_str());
    if (peak >= 2 * layer + pyramidBytes) state.SkipWithError("peak memory above two layers plus the pyramid");
    if (host.data) DisposeHandle(reinterpret_cast<Handle>(host.data));
    if (host.record.parameters) DisposeHandle(host.record.parameters);
  }
  std::system(("rm -rf '" + std::string(folder) + "'").c_str());
}
BENCHMARK(BM_LayeredDocument20000x10000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
