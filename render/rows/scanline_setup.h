// What the main thread does before the worker tasks of a corner row start:
// the per-band set-up of the tasks' search hints, and one dummy lookup in
// every lazily built table the row will read, so that the table is built
// here once and the tasks only read it.
#pragma once

#include <cstdint>

struct Globals;
struct PerTaskStuffType;
struct vort;

// Corner row `row` of the view; the kind-0 orders are already split.
void DoOncePerScanlineSetup(Globals* globals, vort* view, int32_t row);
// The same for one task, for corner row `row` of a job spanning the task's
// spanFirst..spanLast; a task that already holds the row's lists keeps them.
void PrepareTaskForRow(const Globals* globals, const vort& view, PerTaskStuffType* task, int32_t row);
// With the first task record of the row's orders.
void Prefill_any_threadshared_caches(PerTaskStuffType* first);
// The lookup grid (a LookupCacheId) whose one-time unpacking the prefill
// does for an output mode, or 0 for a mode it unpacks none for.
int32_t PrefilledLookupCache(int32_t outputMode);
