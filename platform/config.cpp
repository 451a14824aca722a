#include "platform/config.h"

#include <atomic>
#include <cstring>

#include "platform/memory.h"
#include "platform/ui/front_end_config.h"

namespace {
std::atomic<int32_t> g_processors{0};
std::atomic<bool> g_inline{false};
std::atomic<bool> g_keepCachedSettings{false};
}  // namespace

int GyrellePlatformConfigure(const char* key, int64_t value) {
  if (!key) return -1;
  if (std::strcmp(key, "processors") == 0) {
    g_processors.store(value > 0 ? int32_t(value) : 0);
    return 0;
  }
  if (std::strcmp(key, "inline_tasks") == 0) {
    g_inline.store(value != 0);
    return 0;
  }
  if (std::strcmp(key, "keep_cached_settings") == 0) {
    g_keepCachedSettings.store(value != 0);
    return 0;
  }
  if (UiConfigure(key, value)) return 0;
  if (std::strcmp(key, "system_alloc_budget") == 0) {
    SetSystemAllocationBudget(value);
    return 0;
  }
  return -1;
}

int32_t PlatformForcedProcessorCount() { return g_processors.load(); }
bool PlatformTasksForcedInline() { return g_inline.load(); }
bool PlatformKeepsCachedSettings() { return g_keepCachedSettings.load(); }
