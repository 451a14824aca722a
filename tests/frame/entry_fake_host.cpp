#include "entry_fake_host.h"

#include <algorithm>
#include <cstring>

#include "frame/plugin_main.h"
#include "platform/memory.h"
#include "support/system_handle_procs.h"

EntryFakeHost* EntryFakeHost::current = nullptr;

EntryFakeHost::EntryFakeHost(int w, int h, int p) : width(w), height(h), planes(p) {
  current = this;
  image.resize(size_t(w) * h * p);
  for (size_t i = 0; i < image.size(); ++i) image[i] = uint8_t(i * 7 + 3);
  output.assign(image.size(), 0);
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
  record.samplingSupport = 1;
}

EntryFakeHost::~EntryFakeHost() {
  if (record.parameters) DisposeHandle(record.parameters);
  if (data) DisposeHandle(reinterpret_cast<Handle>(data));
  current = nullptr;
}

int16_t EntryFakeHost::Call(int16_t selector) {
  current = this;
  int16_t result = 12345;
  PluginMain(selector, &record, &data, &result);
  return result;
}

bool EntryFakeHost::RectsEmpty() const {
  auto empty = [](const Rect& r) { return r.top == 0 && r.left == 0 && r.bottom == 0 && r.right == 0; };
  return empty(record.inRect) && empty(record.outRect) && empty(record.maskRect);
}

void EntryFakeHost::Deliver() {
  const Rect& r = record.inRect;
  const int rows = std::max(0, r.bottom - r.top), cols = std::max(0, r.right - r.left);
  record.inRowBytes = cols * planes;
  inBuffer.assign(size_t(rows) * record.inRowBytes + 1, 0);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cols; ++x) {
      const int sy = std::clamp(r.top + y, 0, height - 1), sx = std::clamp(r.left + x, 0, width - 1);
      std::memcpy(&inBuffer[size_t(y) * record.inRowBytes + size_t(x) * planes],
                  &image[(size_t(sy) * width + sx) * planes], size_t(planes));
    }
  record.inData = inBuffer.data();
  const Rect& o = record.outRect;
  const int orows = std::max(0, o.bottom - o.top), ocols = std::max(0, o.right - o.left);
  record.outRowBytes = ocols * planes;
  outBuffer.assign(size_t(orows) * record.outRowBytes + 1, 0);
  record.outData = outBuffer.data();
  deliveredOut = o;
}

void EntryFakeHost::CommitOut() {
  if (!record.outData) return;
  // The rectangle the data was delivered for: the plug-in may have moved or
  // emptied outRect since.
  const Rect o = deliveredOut;
  for (int y = 0; y < o.bottom - o.top; ++y)
    for (int x = 0; x < o.right - o.left; ++x) {
      const int dy = o.top + y, dx = o.left + x;
      if (dy < 0 || dy >= height || dx < 0 || dx >= width) continue;
      std::memcpy(&output[(size_t(dy) * width + dx) * planes],
                  &outBuffer[size_t(y) * record.outRowBytes + size_t(x) * planes], size_t(planes));
    }
}

int16_t EntryFakeHost::RunInvocation(bool withParametersSelector) {
  if (withParametersSelector) {
    if (int16_t r = Call(kSelectorParameters)) return r;
  }
  if (int16_t r = Call(kSelectorPrepare)) return r;
  int16_t r = Call(kSelectorStart);
  if (r) return r;
  while (!RectsEmpty()) {
    if (!record.advanceState) Deliver();
    ++continueCalls;
    r = Call(kSelectorContinue);
    CommitOut();
    if (r) return r;
  }
  return 0;
}

void EntryFakeHost::Finish() { Call(kSelectorFinish); }

OSErr16 EntryFakeHost::AdvanceThunk() {
  EntryFakeHost* h = current;
  ++h->advanceCalls;
  if (h->advanceErrorAtCall >= 0 && h->advanceCalls >= h->advanceErrorAtCall) return h->advanceError;
  h->CommitOut();
  h->Deliver();
  return 0;
}

uint8_t EntryFakeHost::AbortThunk() {
  EntryFakeHost* h = current;
  ++h->abortPolls;
  return h->abortAfterPolls >= 0 && h->abortPolls > h->abortAfterPolls;
}

OSErr16 EntryFakeHost::AllocateThunk(int32_t size, BufferID* id) {
  EntryFakeHost* h = current;
  if (h->refuseAllocate || size < 0) return -108;
  *id = h->nextBufferId++;
  h->buffers[*id].resize(size_t(size) + 1);
  return 0;
}

void* EntryFakeHost::LockThunk(BufferID id, uint8_t) {
  EntryFakeHost* h = current;
  if (h->refuseLock) return nullptr;
  auto it = h->buffers.find(id);
  return it == h->buffers.end() ? nullptr : it->second.data();
}

void EntryFakeHost::FreeThunk(BufferID id) { current->buffers.erase(id); }
