#include "host/callbacks.h"
#include "host/dialog/dialog_host.h"

#include <csignal>
#include <cstdio>

namespace gyhost {

namespace {

constexpr int kBarWidth = 40;
constexpr OSErr16 kParamErr = -50;

volatile std::sig_atomic_t g_interrupted = 0;  // the signal that asked, 0 none

CallbackConfig g_config;
int64_t g_polls = 0;
int64_t g_displays = 0;
int g_lastPercent = -1;  // -1: no bar on screen

void OnInterrupt(int sig) { g_interrupted = sig; }

}  // namespace

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second Ctrl-C is not caught
  sigaction(SIGINT, &action, nullptr);
  // A SIGTERM (a logout, a job control system, timeout) is a stop request
  // too: the export under way is abandoned as cleanly as on Ctrl-C.
  sigaction(SIGTERM, &action, nullptr);
}

bool InterruptRequested() { return g_interrupted != 0; }
void ClearInterrupt() { g_interrupted = 0; }
int InterruptExitStatus() { return 128 + (g_interrupted != 0 ? int(g_interrupted) : SIGINT); }

void ResetCallbacks(const CallbackConfig& config) {
  g_config = config;
  g_polls = 0;
  g_displays = 0;
  g_lastPercent = -1;
}

void FinishProgressLine() {
  if (g_lastPercent >= 0) std::fputc('\n', stderr);
  g_lastPercent = -1;
}

int64_t AbortPollCount() { return g_polls; }
int64_t DisplayPixelsCount() { return g_displays; }

uint8_t HostAbortProc() {
  ++g_polls;
  if (g_config.abortAfterPolls >= 0 && g_polls > g_config.abortAfterPolls) return 1;
  return InterruptRequested() ? 1 : 0;
}

void HostProgressProc(int32_t done, int32_t total) {
  if (g_config.quiet || total <= 0) return;
  const int64_t clamped = done < 0 ? 0 : (done > total ? total : done);
  const int percent = int(clamped * 100 / total);
  if (percent == g_lastPercent) return;
  g_lastPercent = percent;
  const int filled = percent * kBarWidth / 100;
  char bar[kBarWidth + 1];
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kBarWidth] = 0;
  std::fprintf(stderr, "\rgyrelle [%s] %3d%%", bar, percent);
  std::fflush(stderr);
}

// There is no screen to paint on; the call is checked and counted.
OSErr16 HostDisplayPixels(const PSPixelMap* source, const VRect* srcRect, int32_t dstRow, int32_t dstCol, void* port) {
  if (!source || !srcRect || !source->baseAddr) return kParamErr;
  ++g_displays;
  PaintIntoHostPort(source, srcRect, dstRow, dstCol, port);
  return 0;
}

}  // namespace gyhost
