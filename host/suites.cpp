#include "host/suites.h"

#include <cstdlib>
#include <map>
#include <new>

#include "host/freeing.h"
#include "platform/memory.h"

namespace gyhost {

namespace {

constexpr OSErr16 kMemFull = -108;
constexpr OSErr16 kParamErr = -50;

struct HostBuffer {
  void* block = nullptr;
  int64_t size = 0;
  int32_t lockCount = 0;
  bool everLocked = false;
};

struct BufferState {
  BufferSuiteConfig config;
  std::map<BufferID, HostBuffer> live;
  BufferID nextId = 1;
  BufferStats stats;
};

BufferState& Buffers() {
  static BufferState state;
  return state;
}

HandleStats g_handleStats;

void ForgetBuffer(BufferState& s, std::map<BufferID, HostBuffer>::iterator it) {
  if (!it->second.everLocked) ++s.stats.neverLocked;
  // The plug-in's pyramid is freed as its filter ends: the host goes on
  // while its pages are unmapped.
  FreeLater(it->second.block, it->second.size);
  s.stats.outstandingBytes -= it->second.size;
  --s.stats.outstanding;
  s.live.erase(it);
}

OSErr16 AllocateBuffer(int32_t size, BufferID* id) {
  BufferState& s = Buffers();
  if (!id) return kParamErr;
  *id = 0;
  if (size < 0) return kParamErr;
  if (s.config.refuseAllocate || s.stats.outstandingBytes + size > s.config.maxSpace) {
    ++s.stats.refusals;
    return kMemFull;
  }
  void* block = std::malloc(size > 0 ? size_t(size) : 1);
  if (!block) {
    ++s.stats.refusals;
    return kMemFull;
  }
  BufferID newId = s.nextId++;
  if (newId == 0) newId = s.nextId++;  // 0 means "no buffer" to the plug-in
  try {
    s.live.emplace(newId, HostBuffer{block, size, 0, false});
  } catch (const std::bad_alloc&) {
    std::free(block);
    ++s.stats.refusals;
    return kMemFull;
  }
  *id = newId;
  ++s.stats.allocations;
  ++s.stats.outstanding;
  s.stats.outstandingBytes += size;
  if (s.stats.outstandingBytes > s.stats.peakBytes) s.stats.peakBytes = s.stats.outstandingBytes;
  return 0;
}

void* LockBuffer(BufferID id, uint8_t) {
  BufferState& s = Buffers();
  auto it = s.live.find(id);
  if (it == s.live.end() || s.config.refuseLock) return nullptr;
  ++it->second.lockCount;
  it->second.everLocked = true;
  return it->second.block;
}

void UnlockBuffer(BufferID id) {
  BufferState& s = Buffers();
  auto it = s.live.find(id);
  if (it != s.live.end() && it->second.lockCount > 0) --it->second.lockCount;
}

void FreeBuffer(BufferID id) {
  BufferState& s = Buffers();
  auto it = s.live.find(id);
  if (it == s.live.end()) {
    ++s.stats.badFrees;
    return;
  }
  ++s.stats.frees;
  ForgetBuffer(s, it);
}

int32_t BufferSpace() {
  const BufferState& s = Buffers();
  const int64_t left = s.config.maxSpace - s.stats.outstandingBytes;
  return int32_t(left < 0 ? 0 : (left > INT32_MAX ? INT32_MAX : left));
}

Handle NewHostHandle(int32_t size) {
  Handle h = NewHandle(size);
  if (h) ++g_handleStats.created;
  return h;
}

void DisposeHostHandle(Handle h) {
  if (!h) return;
  ++g_handleStats.disposed;
  DisposeHandle(h);
}

int32_t GetHostHandleSize(Handle h) {
  const int64_t size = GetHandleSize(h);
  return size > INT32_MAX ? INT32_MAX : int32_t(size);
}

OSErr16 SetHostHandleSize(Handle h, int32_t newSize) {
  if (!h || newSize < 0) return kParamErr;
  return SetHandleSize(h, newSize) ? 0 : kMemFull;
}

// Handles never move while locked or unlocked in this host, so locking only
// hands out the current address.
char* LockHostHandle(Handle h, uint8_t) { return h ? *h : nullptr; }
void UnlockHostHandle(Handle) {}
void RecoverSpace(int32_t) {}

}  // namespace

void ResetBufferSuite(const BufferSuiteConfig& config) {
  ReleaseLeftoverBuffers();
  BufferState& s = Buffers();
  s.config = config;
  s.stats = BufferStats{};
  s.nextId = 1;
}

BufferProcs MakeBufferProcs() {
  BufferProcs procs{};
  procs.bufferProcsVersion = kCurrentBufferProcsVersion;
  procs.numBufferProcs = kCurrentBufferProcsCount;
  procs.allocateProc = AllocateBuffer;
  procs.lockProc = LockBuffer;
  procs.unlockProc = UnlockBuffer;
  procs.freeProc = FreeBuffer;
  procs.spaceProc = BufferSpace;
  return procs;
}

BufferStats GetBufferStats() {
  BufferState& s = Buffers();
  BufferStats stats = s.stats;
  for (const auto& entry : s.live) {
    if (!entry.second.everLocked) ++stats.neverLocked;
  }
  return stats;
}

int64_t ReleaseLeftoverBuffers() {
  BufferState& s = Buffers();
  int64_t count = 0;
  while (!s.live.empty()) {
    ForgetBuffer(s, s.live.begin());
    ++count;
  }
  return count;
}

void ResetHandleSuite() { g_handleStats = HandleStats{}; }

HandleProcs MakeHandleProcs() {
  HandleProcs procs{};
  procs.handleProcsVersion = kCurrentHandleProcsVersion;
  procs.numHandleProcs = kCurrentHandleProcsCount;
  procs.newProc = NewHostHandle;
  procs.disposeProc = DisposeHostHandle;
  procs.getSizeProc = GetHostHandleSize;
  procs.setSizeProc = SetHostHandleSize;
  procs.lockProc = LockHostHandle;
  procs.unlockProc = UnlockHostHandle;
  procs.recoverSpaceProc = RecoverSpace;
  procs.disposeRegularHandleProc = DisposeHostHandle;
  return procs;
}

HandleStats GetHandleStats() { return g_handleStats; }

}  // namespace gyhost
