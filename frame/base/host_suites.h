// frame/base/: the ground services of every subsystem: host suites, tasks, rects, text, dates, results, files.
// The thin layer through which the plug-in tests for and calls the host's
// services, and the allocator every large block goes through: a locked host
// buffer when the host has one to give, else system memory.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

bool HostAdvanceStateAvailable(AdvanceStateProc proc);
bool HostDisplayPixelsAvailable(DisplayPixelsProc proc);
// What the host offers, asked of its filter record (false for a null record).
bool Advanceable(const FilterRecord* fr);
bool uses_previews(const FilterRecord* fr);
bool HostIsIncapableOfZooming(const FilterRecord* fr);
bool HostBufferProcsAvailable(const BufferProcs* procs, bool* outNewerVersion);
bool HostHandleProcsAvailable(const HandleProcs* procs, bool* outNewerVersion);
bool HostDescriptorAvailable(const PIDescriptorParameters* params);
bool HostPlayDialog(const PIDescriptorParameters* params);

// Never calls a null procedure: a host without advanceState answers -128 here
// (callers test Advanceable first; this only keeps a slip from crashing).
int32_t HostAdvanceState(AdvanceStateProc proc);
int32_t HostAllocateBuffer(BufferProcs* procs, int32_t size, BufferID* id);
void* HostLockBuffer(BufferProcs* procs, BufferID id, bool moveHigh);
void HostUnlockBuffer(BufferProcs* procs, BufferID id);
void HostFreeBuffer(BufferProcs* procs, BufferID id);
Handle HostNewHandle(HandleProcs* procs, int32_t size);
void HostDisposeHandle(HandleProcs* procs, Handle h);

// id and procs may be null: the block then always comes from system memory.
void* RobustNewPtr(uint64_t size, BufferID* id, BufferProcs* procs);
// Frees the block, then clears the holder and the id.
void RobustDisposePtr(void** holder, BufferID* id, BufferProcs* procs);

template <class T>
inline void RobustDispose(T** holder, BufferID* id, BufferProcs* procs) {
  void* p = *holder;
  RobustDisposePtr(&p, id, procs);
  *holder = static_cast<T*>(p);
}

void CenterAonB(Rect* a, const Rect* b);
