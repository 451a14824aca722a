// The host's buffer suite and handle suite. Their procedures carry no context
// argument, so the bookkeeping lives in this file's process-wide state; the
// host drives one plug-in at a time from its main thread.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

namespace gyhost {

// Bytes the plug-in may hold in host buffers at once (reported as maxSpace).
constexpr int64_t kHostBufferSpace = int64_t(1) << 30;

struct BufferSuiteConfig {
  int64_t maxSpace = kHostBufferSpace;
  bool refuseAllocate = false;
  bool refuseLock = false;
};

struct BufferStats {
  int64_t allocations = 0;  // successful allocateProc calls
  int64_t refusals = 0;     // allocateProc calls answered with an error
  int64_t frees = 0;        // freeProc calls on a live buffer
  int64_t badFrees = 0;     // freeProc calls with an unknown id
  int64_t outstanding = 0;  // buffers allocated and not freed
  int64_t outstandingBytes = 0;
  int64_t peakBytes = 0;
  int64_t neverLocked = 0;  // freed (or still held) without ever having been locked
};

struct HandleStats {
  int64_t created = 0;   // newProc successes
  int64_t disposed = 0;  // disposeProc / disposeRegularHandleProc calls on a handle
};

// Clears the bookkeeping and installs the fault settings for a new run.
void ResetBufferSuite(const BufferSuiteConfig& config);
BufferProcs MakeBufferProcs();
BufferStats GetBufferStats();
// Frees what the plug-in left behind; returns how many buffers that was.
int64_t ReleaseLeftoverBuffers();

void ResetHandleSuite();
HandleProcs MakeHandleProcs();
HandleStats GetHandleStats();

}  // namespace gyhost
