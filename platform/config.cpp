#include "platform/config.h"

#include <atomic>
#include <cstring>

#include "platform/memory.h"
#include "platform/ui/front_end_config.h"

namespace {
std::atomic<int32_t> g_processors{0};
std::atomic<bool> g_inline{false};
std::atomic<bool> g_keepCachedSettings{false};
std::atomic<int32_t> g_canvasWidth{0}, g_canvasHeight{0};
std::atomic<bool> g_canvasHonoured{false};

int32_t CanvasSide(int64_t value) { return value > 0 && value <= 32767 ? int32_t(value) : 0; }
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
  // A plug-in that cannot render onto a canvas must say so, or the host
  // would hand it a canvas it never fills.
  const bool canvasKey = std::strcmp(key, "canvas_width") == 0 || std::strcmp(key, "canvas_height") == 0;
  if (canvasKey && !g_canvasHonoured.load()) return -1;
  if (std::strcmp(key, "canvas_width") == 0) {
    g_canvasWidth.store(CanvasSide(value));
    return 0;
  }
  if (std::strcmp(key, "canvas_height") == 0) {
    g_canvasHeight.store(CanvasSide(value));
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

bool PlatformHonourCanvas() {
  g_canvasHonoured.store(true);
  return true;
}

bool PlatformCanvasSize(int32_t* width, int32_t* height) {
  const int32_t w = g_canvasWidth.load(), h = g_canvasHeight.load();
  if (w < 1 || h < 1) return false;
  *width = w;
  *height = h;
  return true;
}
