// The plain callbacks of the filter record: abortProc (Ctrl-C and the
// abort-after-N-polls fault), progressProc (a bar on stderr) and displayPixels.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

namespace gyhost {

// SIGINT and SIGTERM only raise a flag; the plug-in learns of it through
// abortProc. A second one ends the process the usual way.
void InstallInterruptHandler();
bool InterruptRequested();
void ClearInterrupt();
// What a shell reports for the signal that stopped the run: 130 for SIGINT,
// 143 for SIGTERM.
int InterruptExitStatus();

struct CallbackConfig {
  int64_t abortAfterPolls = -1;  // -1: never abort on our own
  bool quiet = false;            // no progress bar
};

// Resets the poll counter and the progress bar for a new invocation.
void ResetCallbacks(const CallbackConfig& config);
// Ends a progress bar line that was started.
void FinishProgressLine();
int64_t AbortPollCount();
int64_t DisplayPixelsCount();

uint8_t HostAbortProc();
void HostProgressProc(int32_t done, int32_t total);
OSErr16 HostDisplayPixels(const PSPixelMap* source, const VRect* srcRect, int32_t dstRow, int32_t dstCol,
                          void* platformContext);

}  // namespace gyhost
