#include "support/plugin_host.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>

#include "frame/globals.h"
#include "frame/base/host_rects.h"
#include "frame/pass_rects.h"
#include "frame/invocation.h"
#include "frame/plugin_main.h"
#include "platform/memory.h"
#include "support/system_handle_procs.h"

PluginHost* PluginHost::current = nullptr;

namespace {

int32_t RateOf(Fixed16 rate, bool sampling) { return sampling ? std::max(1, int32_t(rate >> 16)) : 1; }

bool Empty(const Rect& r) { return r.top == 0 && r.left == 0 && r.bottom == 0 && r.right == 0; }

// Fills a buffer for rectangle r (in coordinates reduced by `rate`) from a
// full-size image of `pixelBytes` a pixel, nearest pixel, edges replicated.
void Fill(std::vector<uint8_t>* buffer, int32_t* rowBytes, const Rect& r, int32_t rate, const uint8_t* source,
          int width, int height, size_t pixelBytes) {
  const int rows = std::max(0, r.bottom - r.top), cols = std::max(0, r.right - r.left);
  *rowBytes = int32_t(cols * pixelBytes);
  buffer->assign(size_t(rows) * *rowBytes + 1, 0);
  if (!source) return;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cols; ++x) {
      const int sy = std::clamp((r.top + y) * rate, 0, height - 1);
      const int sx = std::clamp((r.left + x) * rate, 0, width - 1);
      std::memcpy(buffer->data() + size_t(y) * *rowBytes + x * pixelBytes,
                  source + (size_t(sy) * width + sx) * pixelBytes, pixelBytes);
    }
}

int16_t ImageModeOf(int depth, int planes) {
  const bool colour = planes >= 3;
  if (depth == 32) return colour ? kImageModeRGB96 : kImageModeGray32;
  if (depth == 16) return colour ? kImageModeRGB48 : kImageModeGray16;
  return colour ? kImageModeRGB : kImageModeGray;
}

}  // namespace

PluginHost::PluginHost(int w, int h, int p, int d, const char* preferencesPrefix)
    : width(w), height(h), planes(p), depth(d), bytesPerSample(d == 32 ? 4 : d == 16 ? 2 : 1) {
  current = this;
  if (preferencesPrefix) {
    std::string pattern = std::string("/tmp/") + preferencesPrefix + "-XXXXXX";
    if (const char* made = mkdtemp(pattern.data())) {
      preferences = made;
      setenv("XDG_CONFIG_HOME", made, 1);
    }
  }
  image.resize(size_t(w) * h * p * bytesPerSample);
  for (size_t i = 0; i < image.size(); ++i) image[i] = uint8_t(i * 7 + 3);
  output = image;
  bufferProcs = {kCurrentBufferProcsVersion, kCurrentBufferProcsCount, AllocateThunk, LockThunk, UnlockThunk,
                 FreeThunk, SpaceThunk};
  handleProcs = SystemHandleProcs();
  record.imageSizeH = int16_t(w);
  record.imageSizeV = int16_t(h);
  record.planes = int16_t(p);
  record.filterRect = Rect{0, 0, int16_t(h), int16_t(w)};
  record.imageMode = ImageModeOf(d, p);
  record.depth = int16_t(d);
  record.filterCase = kFilterCaseFlatImageNoSelection;
  record.hostSig = MakeFourCC("TEST");
  record.bufferProcs = &bufferProcs;
  record.handleProcs = &handleProcs;
  record.advanceState = AdvanceThunk;
  record.abortProc = AbortThunk;
  record.samplingSupport = 1;
  record.inputRate = record.maskRate = 0x10000;
}

PluginHost::~PluginHost() {
  if (record.iCCprofileData) DisposeHandle(record.iCCprofileData);
  if (record.parameters) DisposeHandle(record.parameters);
  if (data) DisposeHandle(reinterpret_cast<Handle>(data));
  current = nullptr;
  if (!preferences.empty()) std::system(("rm -rf '" + preferences + "'").c_str());
}

int16_t PluginHost::Call(int16_t selector) {
  current = this;
  int16_t result = 12345;
  PluginMain(selector, &record, &data, &result);
  return result;
}

int16_t PluginHost::StartAndContinue() {
  int16_t r = Call(kSelectorStart);
  while (r == 0 && !RectsEmpty()) {
    if (!record.advanceState) Deliver();
    ++continueCalls;
    r = Call(kSelectorContinue);
    CommitOut();
  }
  return r;
}

int16_t PluginHost::RunWholeInvocation(bool withParametersSelector) {
  if (withParametersSelector) {
    if (int16_t r = Call(kSelectorParameters)) return r;
  }
  if (int16_t r = Call(kSelectorPrepare)) return r;
  return StartAndContinue();
}

Globals* PluginHost::OpenInvocationAfterPrepare() {
  current = this;
  Globals* g = globals();
  EXPECT_TRUE(DoGrabbing(g));
  OncePerInvocationTasksNeedingMemory(g);
  return g;
}

void PluginHost::CloseInvocation() {
  current = this;
  Globals* g = globals();
  DoShutDown(g);
  KillRects(g);
}

void PluginHost::SetUpPreview(const Rect& area, int32_t scale) {
  current = this;
  Globals* g = globals();
  previewing = true;
  Settings()->runMode = RunMode_Preview;
  Settings()->previewOffsetH = Settings()->previewOffsetV = 0;
  DetermineBiggestProxyRect(&record.filterRect, &area, &g->proxyRect);
  SetUpFilterRecordForProxy(g, scale);
}

void PluginHost::SetIccProfile(const std::vector<uint8_t>& bytes) {
  if (record.iCCprofileData) DisposeHandle(record.iCCprofileData);
  record.iCCprofileData = NewHandle(int64_t(bytes.size()));
  std::memcpy(*record.iCCprofileData, bytes.data(), bytes.size());
  record.iCCprofileSize = int32_t(bytes.size());
  record.canUseICCProfiles = 1;
}

TParameters* PluginHost::Settings() const {
  return record.parameters ? reinterpret_cast<TParameters*>(*record.parameters) : nullptr;
}

Globals* PluginHost::globals() const {
  return data ? reinterpret_cast<Globals*>(*reinterpret_cast<Handle>(data)) : nullptr;
}

bool PluginHost::RectsEmpty() const {
  return Empty(record.inRect) && Empty(record.outRect) && Empty(record.maskRect);
}

uint32_t PluginHost::Sample(const std::vector<uint8_t>& samples, int x, int y, int p) const {
  const size_t at = ((size_t(y) * width + x) * planes + p) * bytesPerSample;
  if (bytesPerSample == 1) return samples[at];
  uint16_t v;
  std::memcpy(&v, &samples[at], 2);
  return v;
}

float PluginHost::FloatSample(const std::vector<uint8_t>& samples, int x, int y, int p) const {
  float f;
  std::memcpy(&f, &samples[((size_t(y) * width + x) * planes + p) * 4], 4);
  return f;
}

void PluginHost::SetSample(std::vector<uint8_t>* samples, int x, int y, int p, uint32_t v) const {
  const size_t at = ((size_t(y) * width + x) * planes + p) * bytesPerSample;
  if (bytesPerSample == 1) {
    (*samples)[at] = uint8_t(v);
  } else {
    const uint16_t s = uint16_t(v);
    std::memcpy(&(*samples)[at], &s, 2);
  }
}

void PluginHost::Deliver() {
  const bool sampling = record.samplingSupport != 0;
  const size_t pixelBytes = size_t(planes) * bytesPerSample;
  Fill(&inBuffer, &record.inRowBytes, record.inRect, RateOf(record.inputRate, sampling), image.data(), width,
       height, pixelBytes);
  record.inData = inBuffer.data();
  Fill(&outBuffer, &record.outRowBytes, record.outRect, 1, blankOutBuffers ? nullptr : output.data(), width,
       height, pixelBytes);
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

void PluginHost::CommitOut() {
  if (!record.outData || previewing) return;
  // The rectangle the data was delivered for: the plug-in may have moved or
  // emptied outRect since.
  const Rect o = deliveredOut;
  const size_t pixelBytes = size_t(planes) * bytesPerSample;
  for (int y = 0; y < o.bottom - o.top; ++y)
    for (int x = 0; x < o.right - o.left; ++x) {
      const int dy = o.top + y, dx = o.left + x;
      if (dy < 0 || dy >= height || dx < 0 || dx >= width) continue;
      std::memcpy(&output[(size_t(dy) * width + dx) * pixelBytes],
                  &outBuffer[size_t(y) * record.outRowBytes + x * pixelBytes], pixelBytes);
    }
}

OSErr16 PluginHost::AdvanceThunk() {
  PluginHost* h = current;
  ++h->advanceCalls;
  if (h->advanceErrorAtCall >= 0 && h->advanceCalls >= h->advanceErrorAtCall) return h->advanceError;
  h->CommitOut();
  if (h->deliverData) {
    h->Deliver();
  } else {
    h->record.inData = h->record.outData = nullptr;
  }
  return 0;
}

uint8_t PluginHost::AbortThunk() {
  PluginHost* h = current;
  ++h->abortPolls;
  return h->abortAfterPolls >= 0 && h->abortPolls > h->abortAfterPolls;
}

void PluginHost::ProgressThunk(int32_t done, int32_t total) { current->progress.push_back({done, total}); }

OSErr16 PluginHost::DisplayThunk(const PSPixelMap* map, const VRect* band, int32_t row, int32_t column, void*) {
  if (!map || !band || !map->baseAddr) return -50;
  current->displays.push_back({*band, row, column});
  return 0;
}

OSErr16 PluginHost::AllocateThunk(int32_t size, BufferID* id) {
  PluginHost* h = current;
  if (h->refuseAllocate || size < 0) return -108;
  *id = h->nextBufferId++;
  h->buffers[*id].resize(size_t(size) + 1);
  return 0;
}

void* PluginHost::LockThunk(BufferID id, uint8_t) {
  PluginHost* h = current;
  if (h->refuseLock) return nullptr;
  auto it = h->buffers.find(id);
  return it == h->buffers.end() ? nullptr : it->second.data();
}

void PluginHost::FreeThunk(BufferID id) { current->buffers.erase(id); }
