// Settings of the stand-in platform that the host (or a test) may force:
// how many processors the task layer reports, whether preemptive tasks exist
// at all, and a budget after which system allocations are refused. The plug-in
// itself reads no environment; a host reaches these through the exported hook.
#pragma once

#include <cstdint>

extern "C" {
// Returns 0 when the key is known, -1 otherwise. Keys: "processors" (0 means
// the machine's count), "inline_tasks" (nonzero: no preemptive tasks),
// "system_alloc_budget" (-1: unlimited), "keep_cached_settings" (nonzero: the
// dialog's OK leaves the cached last settings as they were), "canvas_width"
// and "canvas_height" (the host's canvas, 1 to 32767 each; 0: none).
__attribute__((visibility("default"))) int GyrellePlatformConfigure(const char* key, int64_t value);
}
constexpr const char* kPlatformConfigureSymbol = "GyrellePlatformConfigure";

int32_t PlatformForcedProcessorCount();  // 0 when not forced
bool PlatformTasksForcedInline();
bool PlatformKeepsCachedSettings();
// Called once (at load) by a plug-in whose final render fills the host's
// canvas; until then the canvas keys are refused. Returns true.
bool PlatformHonourCanvas();
// The canvas the host asked the final render to fill, when it set both sides.
bool PlatformCanvasSize(int32_t* width, int32_t* height);
