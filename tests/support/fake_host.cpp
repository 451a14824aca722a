#include "fake_host.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "platform/config.h"
#include "platform/memory.h"
#include "polyhedron/polyhedron.h"
#include "projection/task_record.h"

FakeHost* FakeHost::current = nullptr;

FakeHost::FakeHost(int w, int h, int16_t imageMode, int16_t depth, int p, bool transparency)
    : width(w), height(h), planes(p), bytesPerSample(depth == 32 ? 4 : (depth == 16 ? 2 : 1)) {
  current = this;
  image.assign(size_t(w) * size_t(h) * size_t(p) * size_t(bytesPerSample), 0);
  bufferProcs = {kCurrentBufferProcsVersion, kCurrentBufferProcsCount, AllocateThunk, LockThunk, UnlockThunk,
                 FreeThunk, SpaceThunk};
  record.imageSizeH = int16_t(w);
  record.imageSizeV = int16_t(h);
  record.planes = int16_t(p);
  record.filterRect = Rect{0, 0, int16_t(h), int16_t(w)};
  record.imageMode = imageMode;
  record.depth = depth;
  record.filterCase = transparency ? kFilterCaseEditableTransparencyNoSelection : kFilterCaseFlatImageNoSelection;
  record.inLayerPlanes = int16_t(transparency ? p - 1 : p);
  record.inTransparencyMask = transparency ? 1 : 0;
  record.hostSig = MakeFourCC("TEST");
  record.bufferProcs = &bufferProcs;
  record.advanceState = AdvanceThunk;
  record.parameters = NewHandleClear(sizeof(TParameters));

  // Both records are large and plain: zero-filled, as the frame makes them.
  globals = static_cast<Globals*>(std::calloc(1, sizeof(Globals)));
  storage = static_cast<InvocationStorage*>(std::calloc(1, sizeof(InvocationStorage)));
  globals->filterRecord = &record;
  globals->storage = storage;
  // As the start of an invocation leaves it: no arrays owned, no unfolding planned.
  NullifyPolyStorage(&storage->outputPolyhedron);
  globals->savedFilterRect = record.filterRect;
  for (PyramidDescriptor& pyr : globals->pyramids) InitPyramidProcs(&pyr, globals, storage->filterTable);
  InitPyramidProcs(&storage->exportCanvasPyramid, globals, storage->filterTable);
}

FakeHost::~FakeHost() {
  current = this;
  if (tasksStarted) End_multithreading(globals);
  for (PyramidDescriptor& pyr : globals->pyramids) DisposePyramidData(&pyr);
  DisposePyramidData(&storage->exportCanvasPyramid);
  for (Block& b : blocks) std::free(b.memory);
  DisposeHandle(record.parameters);
  std::free(storage);
  std::free(globals);
  GyrellePlatformConfigure("processors", 0);
  if (current == this) current = nullptr;
}

TParameters* FakeHost::Settings() const { return Params(globals); }

void FakeHost::StartTasks(int count) {
  GyrellePlatformConfigure("processors", count);
  taskRecordBytes.assign(sizeof(PerTaskStuffType) * size_t(count), 0);
  globals->taskRecords = new (taskRecordBytes.data()) PerTaskStuffType[count]();
  globals->taskRecordCount = count;
  Start_multithreading(globals);
  tasksStarted = true;
}

void FakeHost::SetSample(int x, int y, int plane, double value) {
  uint8_t* at = &image[((size_t(y) * width + x) * planes + plane) * bytesPerSample];
  if (bytesPerSample == 4) {
    const float f = float(value);
    std::memcpy(at, &f, 4);
  } else if (bytesPerSample == 2) {
    const uint16_t v = uint16_t(value);
    std::memcpy(at, &v, 2);
  } else {
    *at = uint8_t(value);
  }
}

double FakeHost::GetSample(int x, int y, int plane) const {
  const uint8_t* at = &image[((size_t(y) * width + x) * planes + plane) * bytesPerSample];
  if (bytesPerSample == 4) {
    float f;
    std::memcpy(&f, at, 4);
    return f;
  }
  if (bytesPerSample == 2) {
    uint16_t v;
    std::memcpy(&v, at, 2);
    return v;
  }
  return *at;
}

// The requested rectangle and planes, every pixel outside the image replaced
// by the nearest edge pixel; a rate above 1.0 takes every rate-th pixel.
void FakeHost::Deliver() {
  const Rect r = record.inRect;
  const int rows = std::max(0, r.bottom - r.top), cols = std::max(0, r.right - r.left);
  const int lo = record.inLoPlane, hi = std::min<int>(record.inHiPlane, planes - 1);
  const int n = std::max(0, hi - lo + 1);
  const int step = std::max(1, int(record.inputRate >> 16));
  record.inRowBytes = cols * n * bytesPerSample;
  inBuffer.assign(size_t(rows) * record.inRowBytes + 1, 0);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cols; ++x) {
      const int sy = std::clamp((r.top + y) * step, 0, height - 1);
      const int sx = std::clamp((r.left + x) * step, 0, width - 1);
      std::memcpy(&inBuffer[size_t(y) * record.inRowBytes + size_t(x) * n * bytesPerSample],
                  &image[((size_t(sy) * width + sx) * planes + lo) * bytesPerSample], size_t(n) * bytesPerSample);
    }
  record.inData = inBuffer.data();
}

OSErr16 FakeHost::AdvanceThunk() {
  FakeHost* h = current;
  ++h->advanceCalls;
  h->requests.push_back(h->record.inRect);
  if (h->advanceErrorAtCall > 0 && h->advanceCalls >= h->advanceErrorAtCall) return h->advanceError;
  h->Deliver();
  return 0;
}

OSErr16 FakeHost::AllocateThunk(int32_t size, BufferID* id) {
  FakeHost* h = current;
  if (size < 0) return -108;
  if (h->refuseAfterAllocations >= 0 && h->allocations >= h->refuseAfterAllocations) return -108;
  if (h->byteBudget >= 0 && h->outstandingBytes + size > h->byteBudget) return -108;
  void* memory = std::malloc(size_t(size) + 1);
  if (!memory) return -108;
  ++h->allocations;
  ++h->outstandingBuffers;
  h->outstandingBytes += size;
  *id = h->nextId++;
  h->blocks.push_back(Block{*id, size, memory});
  return 0;
}

void* FakeHost::LockThunk(BufferID id, uint8_t) {
  for (const Block& b : current->blocks)
    if (b.id == id) return b.memory;
  return nullptr;
}

void FakeHost::UnlockThunk(BufferID) {}

void FakeHost::FreeThunk(BufferID id) {
  FakeHost* h = current;
  for (size_t i = 0; i < h->blocks.size(); ++i)
    if (h->blocks[i].id == id) {
      std::free(h->blocks[i].memory);
      --h->outstandingBuffers;
      h->outstandingBytes -= h->blocks[i].size;
      h->blocks.erase(h->blocks.begin() + ptrdiff_t(i));
      return;
    }
}

int32_t FakeHost::SpaceThunk() { return 1 << 30; }
