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
// dialog's OK leaves the cached last settings as they were).
__attribute__((visibility("default"))) int GyrellePlatformConfigure(const char* key, int64_t value);
}
constexpr const char* kPlatformConfigureSymbol = "GyrellePlatformConfigure";

int32_t PlatformForcedProcessorCount();  // 0 when not forced
bool PlatformTasksForcedInline();
bool PlatformKeepsCachedSettings();
