#include "support/driver_host.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "frame/globals.h"
#include "frame/host_rects.h"
#include "frame/invocation.h"
#include "frame/plugin_main.h"
#include "platform/memory.h"
#include "support/system_handle_procs.h"

DriverHost* DriverHost::current = nullptr;

namespace {

int32_t RateOf(Fixed16 rate, bool sampling) { return sampling ? std::max(1, int32_t(rate >> 16)) : 1; }

// Fills a buffer for rectangle r (in coordinates reduced by `rate`) from a
// full-size plane set, nearest pixel, edges replicated.
void Fill(std::vector<uint8_t>* buffer, int32_t* rowBytes, const Rect& r, int32_t rate, const uint8_t* source,
          int width, int height, int planes) {
  const int rows = std::max(0, r.bottom - r.top), cols = std::max(0, r.right - r.left);
  *rowBytes = cols * planes;
  buffer->assign(size_t(rows) * *rowBytes + 1, 0);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cols; ++x) {
      const int sy = std::clamp((r.top + y) * rate, 0, height - 1);
      const int sx = std::clamp((r.left + x) * rate, 0, width - 1);
      std::memcpy(buffer->data() + size_t(y) * *rowBytes + size_t(x) * planes,
                  source + (size_t(sy) * width + sx) * planes, size_t(planes));
    }
}

}  // namespace

DriverHost::DriverHost(int w, int h, int p) : width(w), height(h), planes(p) {
  current = this;
  // The plug-in's cached settings and memory-dot files go to a folder of
  // this host's own: settings one test leaves must not reach the next.
  char pattern[] = "/tmp/gyrelle-driver-XXXXXX";
  if (const char* made = mkdtemp(pattern)) {
    preferences = made;
    setenv("XDG_CONFIG_HOME", made, 1);
  }
  image.resize(size_t(w) * h * p);
  for (size_t i = 0; i < image.size(); ++i) image[i] = uint8_t(i * 7 + 3);
  output = image;
  bufferProcs = {kCurrentBufferProcsVersion, kCurrentBufferProcsCount, AllocateThunk, LockThunk, UnlockThunk,
                 FreeThunk, SpaceThunk};
  handleProcs = SystemHandleProcs();
  record.imageSizeH = int16_t(w);
  record.imageSizeV = int16_t(h);
  record.planes = int16_t(p);
  record.filterRect = Rect{0, 0, int16_t(h), int16_t(w)};
  record.imageMode = p >= 3 ? kImageModeRGB : kImageModeGray;
  record.depth = 8;
  record.filterCase = kFilterCaseFlatImageNoSelection;
  record.hostSig = MakeFourCC("TEST");
  record.bufferProcs = &bufferProcs;
  record.handleProcs = &handleProcs;
  record.advanceState = AdvanceThunk;
  record.abortProc = AbortThunk;
  record.progressProc = ProgressThunk;
  record.displayPixels = DisplayThunk;
  record.samplingSupport = 1;
  record.inputRate = record.maskRate = 0x10000;
}

DriverHost::~DriverHost() {
  if (record.parameters) DisposeHandle(record.parameters);
  if (data) DisposeHandle(reinterpret_cast<Handle>(data));
  current = nullptr;
  if (!preferences.empty()) std::system(("rm -rf '" + preferences + "'").c_str());
}

int16_t DriverHost::Call(int16_t selector) {
  current = this;
  int16_t result = 12345;
  PluginMain(selector, &record, &data, &result);
  return result;
}

int16_t DriverHost::RunInvocation() {
  if (int16_t r = Call(kSelectorPrepare)) return r;
  int16_t r = Call(kSelectorStart);
  while (r == 0 && !RectsEmpty()) {
    if (!record.advanceState) Deliver();
    ++continueCalls;
    r = Call(kSelectorContinue);
    CommitOut();
  }
  return r;
}

TParameters* DriverHost::Settings() const {
  return record.parameters ? reinterpret_cast<TParameters*>(*record.parameters) : nullptr;
}

Globals* DriverHost::globals() const {
  return data ? reinterpret_cast<Globals*>(*reinterpret_cast<Handle>(data)) : nullptr;
}

Globals* DriverHost::OpenInvocation() {
  EXPECT_EQ(Call(kSelectorPrepare), 0);
  Globals* g = globals();
  EXPECT_TRUE(DoGrabbing(g));
  OncePerInvocationTasksNeedingMemory(g);
  return g;
}

void DriverHost::CloseInvocation() {
  Globals* g = globals();
  DoShutDown(g);
  KillRects(g);
}

void DriverHost::SetUpPreview(const Rect& area, int32_t scale) {
  Globals* g = globals();
  previewing = true;
  Settings()->runMode = RunMode_Preview;
  Settings()->previewOffsetH = Settings()->previewOffsetV = 0;
  DetermineBiggestProxyRect(g, &record.filterRect, &area, &g->proxyRect);
  SetUpFilterRecordForProxy(g, scale);
}

bool DriverHost::RectsEmpty() const {
  auto empty = [](const Rect& r) { return r.top == 0 && r.left == 0 && r.bottom == 0 && r.right == 0; };
  return empty(record.inRect) && empty(record.outRect) && empty(record.maskRect);
}

void DriverHost::Deliver() {
  const bool sampling = record.samplingSupport != 0;
  Fill(&inBuffer, &record.inRowBytes, record.inRect, RateOf(record.inputRate, sampling), image.data(), width,
       height, planes);
  record.inData = inBuffer.data();
  Fill(&outBuffer, &record.outRowBytes, record.outRect, 1, output.data(), width, height, planes);
  record.outData = outBuffer.data();
  deliveredOut = record.outRect;
  if (mask.empty() || !record.haveMask) {
    record.maskData = nullptr;
    record.maskRowBytes = 0;
  } else {
    Fill(&maskBuffer, &record.maskRowBytes, record.maskRect, RateOf(record.maskRate, sampling), mask.data(),
         width, height, 1);
    record.maskData = maskBuffer.data();
  }
}

void DriverHost::CommitOut() {
  if (!record.outData || previewing) return;
  const Rect o = deliveredOut;
  for (int y = 0; y < o.bottom - o.top; ++y)
    for (int x = 0; x < o.right - o.left; ++x) {
      const int dy = o.top + y, dx = o.left + x;
      if (dy < 0 || dy >= height || dx < 0 || dx >= width) continue;
      std::memcpy(&output[(size_t(dy) * width + dx) * planes],
                  &outBuffer[size_t(y) * record.outRowBytes + size_t(x) * planes], size_t(planes));
    }
}

OSErr16 DriverHost::AdvanceThunk() {
  DriverHost* h = current;
  ++h->advanceCalls;
  h->CommitOut();
  h->Deliver();
  return 0;
}

uint8_t DriverHost::AbortThunk() {
  DriverHost* h = current;
  ++h->abortPolls;
  return h->abortAfterPolls >= 0 && h->abortPolls > h->abortAfterPolls;
}

void DriverHost::ProgressThunk(int32_t done, int32_t total) { current->progress.push_back({done, total}); }

OSErr16 DriverHost::DisplayThunk(const PSPixelMap* map, const VRect* band, int32_t row, int32_t column, void*) {
  if (!map || !band || !map->baseAddr) return -50;
  current->displays.push_back({*band, row, column});
  return 0;
}

OSErr16 DriverHost::AllocateThunk(int32_t size, BufferID* id) {
  DriverHost* h = current;
  if (size < 0) return -108;
  *id = h->nextBufferId++;
  h->buffers[*id].resize(size_t(size) + 1);
  return 0;
}

void* DriverHost::LockThunk(BufferID id, uint8_t) {
  auto it = current->buffers.find(id);
  return it == current->buffers.end() ? nullptr : it->second.data();
}

void DriverHost::FreeThunk(BufferID id) { current->buffers.erase(id); }
