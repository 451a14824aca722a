#include "frame/progress.h"

#include "dialog/dialog_services.h"
#include "frame/globals.h"

namespace {

constexpr int32_t kThrottleMask = 31;
// A caller that moves `done` on by more than this between two reports gets
// the next one reported at once.
constexpr int32_t kJumpThatReports = 4;

int32_t RunModeOf(const Globals* globals) {
  const TParameters* p = Params(globals);
  return p ? p->runMode : RunMode_Final;
}

}  // namespace

void CCUpdateProgress_core(Globals* globals, int32_t done, int32_t total) {
  InvocationStorage* s = globals->storage;
  if (!s || RunModeOf(globals) != RunMode_Final) return;
  int32_t& counter = s->progressCallCounter;
  counter &= kThrottleMask;
  if (done - s->progressLastDone > kJumpThatReports) counter = 0;
  FilterRecord* fr = globals->filterRecord;
  if ((counter == 0 || done == 0) && fr && fr->progressProc) fr->progressProc(done, total);
  ++counter;
  s->progressLastDone = done;
}

void CCUpdateProgressMulti(Globals* globals, int32_t done, int32_t total, int32_t layers) {
  CCUpdateProgress_core(globals, done, total);
  if (RunModeOf(globals) == RunMode_ExportLayer) MondoProgressUpdate(globals, done, total, layers);
}

bool CCTestAbort(Globals* globals) {
  InvocationStorage* s = globals->storage;
  if (!s || RunModeOf(globals) == RunMode_Preview) return false;
  s->abortPollCounter = (s->abortPollCounter + 1) & kThrottleMask;
  if (s->abortPollCounter != 0) return false;
  FilterRecord* fr = globals->filterRecord;
  return fr && fr->abortProc && fr->abortProc() != 0;
}

void RestartProgressThrottle(Globals* globals) {
  if (InvocationStorage* s = globals->storage) {
    s->progressCallCounter = 0;
    s->progressLastDone = 0;
  }
}
