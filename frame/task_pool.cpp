#include "frame/task_pool.h"

#include <thread>

#include "frame/globals.h"
#include "platform/config.h"

int32_t GetMaximumProcessorCount() {
  if (int32_t forced = PlatformForcedProcessorCount(); forced > 0) return forced;
  const unsigned n = std::thread::hardware_concurrency();
  return n > 0 ? int32_t(n) : 1;
}

void Start_multithreading(Globals* globals) { globals->taskTerminationQueue = 0; }

void End_multithreading(Globals* globals) { globals->taskTerminationQueue = 0; }
