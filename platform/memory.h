// The system memory the plug-in falls back on: relocatable handles and plain
// blocks. A handle made on one side of the plug-in boundary may be freed on
// the other (the host keeps the settings handle the plug-in made), so a handle
// is a self-describing heap record that any copy of this code can release.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {
using Handle = char**;
}

// Null when the system has no memory (or the test hook refuses it).
Handle NewHandle(int64_t size);
Handle NewHandleClear(int64_t size);
void DisposeHandle(Handle h);
int64_t GetHandleSize(Handle h);
// False when the block cannot grow; the handle then keeps its old contents.
bool SetHandleSize(Handle h, int64_t newSize);

void* NewPtr(int64_t size);
void* NewPtrClear(int64_t size);
void DisposePtr(void* p);

// Gives a block its pages now, as its first writes would, keeping what it
// holds. Work that then fills it in parallel does not stop on page faults,
// whose threads queue on the kernel's per-region locks when they write
// neighbouring pages at once. Only advice: where the system cannot, the
// pages come at the first touch as before.
void CommitPagesForWriting(void* block, int64_t bytes);

// Hands a block's whole pages back to the system, leaving the block
// allocated: it reads as zeros afterwards. Freeing a large block then
// costs nearly nothing, and several threads can hand back parts of one
// block at once, where the free alone would do it on one. Only advice, as
// above.
void ReleasePages(void* block, int64_t bytes);

// Test hook: refuse every system allocation after `successes` more of them
// (-1 turns refusals off). Counts NewPtr and NewHandle alike.
void SetSystemAllocationBudget(int64_t successes);
