#include "export_host.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/globals.h"
#include "frame/host_rects.h"
#include "frame/invocation.h"
#include "frame/plugin_main.h"
#include "platform/memory.h"
#include "support/system_handle_procs.h"

ExportHost* ExportHost::current = nullptr;

ExportHost::ExportHost(int w, int h, int d, int p)
    : width(w), height(h), depth(d), planes(p), bytesPerSample(d == 32 ? 4 : d == 16 ? 2 : 1) {
  current = this;
  char pattern[] = "/tmp/gyrelle-export-host-XXXXXX";
  if (const char* made = mkdtemp(pattern)) {
    preferences = made;
    setenv("XDG_CONFIG_HOME", made, 1);
  }
  image.resize(size_t(w) * h * p * bytesPerSample);
  const double full = d == 16 ? 32768.0 : 255.0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double u = 2.0 * M_PI * (x + 0.5) / w, v = M_PI * (y + 0.5) / h;
      const double c[4] = {0.5 + 0.45 * std::sin(u) * std::sin(v), 0.5 + 0.45 * std::cos(2 * u) * std::cos(v),
                           0.5 + 0.4 * std::sin(3 * v + u), 1.0};
      for (int k = 0; k < p; ++k) {
        if (d == 32) {
          const float f = float(c[k]);
          std::memcpy(&image[((size_t(y) * w + x) * p + k) * 4], &f, 4);
        } else {
          SetSample(&image, x, y, k, uint32_t(std::lround(c[k] * full)));
        }
      }
    }
  output = image;
  bufferProcs = {kCurrentBufferProcsVersion, kCurrentBufferProcsCount, AllocateThunk, LockThunk, UnlockThunk,
                 FreeThunk, SpaceThunk};
  handleProcs = SystemHandleProcs();
  record.imageSizeH = int16_t(w);
  record.imageSizeV = int16_t(h);
  record.planes = int16_t(p);
  record.filterRect = Rect{0, 0, int16_t(h), int16_t(w)};
  record.imageMode = d == 32 ? kImageModeRGB96 : d == 16 ? kImageModeRGB48 : kImageModeRGB;
  record.depth = int16_t(d);
  record.filterCase = p == 4 ? kFilterCaseEditableTransparencyNoSelection : kFilterCaseFlatImageNoSelection;
  record.hostSig = MakeFourCC("TEST");
  record.bufferProcs = &bufferProcs;
  record.handleProcs = &handleProcs;
  record.advanceState = AdvanceThunk;
  record.abortProc = AbortThunk;
  record.samplingSupport = 1;
  record.inputRate = record.maskRate = 0x10000;
}

ExportHost::~ExportHost() {
  if (record.iCCprofileData) DisposeHandle(record.iCCprofileData);
  if (record.parameters) DisposeHandle(record.parameters);
  if (data) DisposeHandle(reinterpret_cast<Handle>(data));
  current = nullptr;
  if (!preferences.empty()) std::system(("rm -rf '" + preferences + "'").c_str());
}

void ExportHost::SetIccProfile(const std::vector<uint8_t>& bytes) {
  if (record.iCCprofileData) DisposeHandle(record.iCCprofileData);
  record.iCCprofileData = NewHandle(int64_t(bytes.size()));
  std::memcpy(*record.iCCprofileData, bytes.data(), bytes.size());
  record.iCCprofileSize = int32_t(bytes.size());
  record.canUseICCProfiles = 1;
}

float ExportHost::FloatSample(const std::vector<uint8_t>& plane, int x, int y, int p) const {
  float f;
  std::memcpy(&f, &plane[((size_t(y) * width + x) * planes + p) * 4], 4);
  return f;
}

uint32_t ExportHost::Sample(const std::vector<uint8_t>& plane, int x, int y, int p) const {
  const size_t at = ((size_t(y) * width + x) * planes + p) * bytesPerSample;
  if (bytesPerSample == 1) return plane[at];
  uint16_t v;
  std::memcpy(&v, &plane[at], 2);
  return v;
}

void ExportHost::SetSample(std::vector<uint8_t>* plane, int x, int y, int p, uint32_t v) const {
  const size_t at = ((size_t(y) * width + x) * planes + p) * bytesPerSample;
  if (bytesPerSample == 1) {
    (*plane)[at] = uint8_t(v);
  } else {
    const uint16_t s = uint16_t(v);
    std::memcpy(&(*plane)[at], &s, 2);
  }
}

int16_t ExportHost::Call(int16_t selector) {
  current = this;
  int16_t result = 12345;
  PluginMain(selector, &record, &data, &result);
  return result;
}

int16_t ExportHost::RunInvocation() {
  int16_t r = Call(kSelectorStart);
  auto empty = [](const Rect& q) { return q.top == 0 && q.left == 0 && q.bottom == 0 && q.right == 0; };
  while (r == 0 && !(empty(record.inRect) && empty(record.outRect))) {
    r = Call(kSelectorContinue);
    CommitOut();
  }
  return r;
}

Globals* ExportHost::OpenInvocation() {
  Globals* g = globals();
  EXPECT_TRUE(DoGrabbing(g));
  OncePerInvocationTasksNeedingMemory(g);
  return g;
}

void ExportHost::CloseInvocation() {
  Globals* g = globals();
  DoShutDown(g);
  KillRects(g);
}

TParameters* ExportHost::Settings() const {
  return record.parameters ? reinterpret_cast<TParameters*>(*record.parameters) : nullptr;
}

Globals* ExportHost::globals() const {
  return data ? reinterpret_cast<Globals*>(*reinterpret_cast<Handle>(data)) : nullptr;
}

void ExportHost::Deliver() {
  auto fill = [this](std::vector<uint8_t>* buffer, int32_t* rowBytes, const Rect& r, const std::vector<uint8_t>& src) {
    const int rows = std::max(0, r.bottom - r.top), cols = std::max(0, r.right - r.left);
    const size_t pixel = size_t(planes) * bytesPerSample;
    *rowBytes = int32_t(cols * pixel);
    buffer->assign(size_t(rows) * *rowBytes + 1, 0);
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < cols; ++x) {
        const int sy = std::clamp(r.top + y, 0, height - 1), sx = std::clamp(r.left + x, 0, width - 1);
        std::memcpy(buffer->data() + size_t(y) * *rowBytes + x * pixel, &src[(size_t(sy) * width + sx) * pixel],
                    pixel);
      }
  };
  fill(&inBuffer, &record.inRowBytes, record.inRect, image);
  record.inData = inBuffer.data();
  fill(&outBuffer, &record.outRowBytes, record.outRect, output);
  record.outData = outBuffer.data();
  deliveredOut = record.outRect;
}

void ExportHost::CommitOut() {
  if (!record.outData) return;
  const Rect o = deliveredOut;
  const size_t pixel = size_t(planes) * bytesPerSample;
  for (int y = 0; y < o.bottom - o.top; ++y)
    for (int x = 0; x < o.right - o.left; ++x) {
      const int dy = o.top + y, dx = o.left + x;
      if (dy < 0 || dy >= height || dx < 0 || dx >= width) continue;
      std::memcpy(&output[(size_t(dy) * width + dx) * pixel], &outBuffer[size_t(y) * record.outRowBytes + x * pixel],
                  pixel);
    }
}

OSErr16 ExportHost::AdvanceThunk() {
  ExportHost* h = current;
  h->CommitOut();
  if (h->deliverData) {
    h->Deliver();
  } else {
    h->record.inData = h->record.outData = nullptr;
  }
  return 0;
}

uint8_t ExportHost::AbortThunk() {
  ExportHost* h = current;
  ++h->abortPolls;
  return h->abortAfterPolls >= 0 && h->abortPolls > h->abortAfterPolls;
}

OSErr16 ExportHost::AllocateThunk(int32_t size, BufferID* id) {
  ExportHost* h = current;
  if (size < 0) return -108;
  *id = h->nextBufferId++;
  h->buffers[*id].resize(size_t(size) + 1);
  return 0;
}

void* ExportHost::LockThunk(BufferID id, uint8_t) {
  auto it = current->buffers.find(id);
  return it == current->buffers.end() ? nullptr : it->second.data();
}

void ExportHost::FreeThunk(BufferID id) { current->buffers.erase(id); }
