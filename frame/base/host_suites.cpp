#include "frame/base/host_suites.h"

#include <limits>

#include "frame/base/result_codes.h"
#include "platform/memory.h"

bool HostAdvanceStateAvailable(AdvanceStateProc proc) { return proc != nullptr; }
bool HostDisplayPixelsAvailable(DisplayPixelsProc proc) { return proc != nullptr; }

bool Advanceable(const FilterRecord* fr) { return fr && fr->advanceState; }

bool uses_previews(const FilterRecord* fr) { return Advanceable(fr) && fr->displayPixels; }

bool HostIsIncapableOfZooming(const FilterRecord* fr) { return !(uses_previews(fr) && fr->samplingSupport != 0); }

bool HostBufferProcsAvailable(const BufferProcs* procs, bool* outNewerVersion) {
  if (!procs) return false;
  if (procs->bufferProcsVersion != kCurrentBufferProcsVersion) {
    if (procs->bufferProcsVersion > kCurrentBufferProcsVersion && outNewerVersion) *outNewerVersion = true;
    return false;
  }
  return procs->numBufferProcs >= kCurrentBufferProcsCount && procs->allocateProc && procs->lockProc &&
         procs->unlockProc && procs->freeProc && procs->spaceProc;
}

bool HostHandleProcsAvailable(const HandleProcs* procs, bool* outNewerVersion) {
  if (!procs) return false;
  if (procs->handleProcsVersion != kCurrentHandleProcsVersion) {
    if (procs->handleProcsVersion > kCurrentHandleProcsVersion && outNewerVersion) *outNewerVersion = true;
    return false;
  }
  return procs->numHandleProcs >= kCurrentHandleProcsCount && procs->newProc && procs->disposeProc &&
         procs->getSizeProc && procs->setSizeProc;
}

bool HostDescriptorAvailable(const PIDescriptorParameters* params) {
  if (!params || params->descriptorParametersVersion != 0) return false;
  const ReadDescriptorProcs* r = params->readDescriptorProcs;
  const WriteDescriptorProcs* w = params->writeDescriptorProcs;
  if (!r || !w) return false;
  if (r->readDescriptorProcsVersion != kCurrentReadDescriptorProcsVersion ||
      r->numReadDescriptorProcs < kCurrentReadDescriptorProcsCount)
    return false;
  const bool allRead = r->openReadDescriptorProc && r->closeReadDescriptorProc && r->getKeyProc &&
                       r->getIntegerProc && r->getFloatProc && r->getUnitFloatProc && r->getBooleanProc &&
                       r->getTextProc && r->getAliasProc && r->getEnumeratedProc && r->getClassProc &&
                       r->getSimpleReferenceProc && r->getObjectProc && r->getCountProc && r->getStringProc &&
                       r->getPinnedIntegerProc && r->getPinnedFloatProc && r->getPinnedUnitFloatProc;
  if (!allRead) return false;
  return w->writeDescriptorProcsVersion == kCurrentWriteDescriptorProcsVersion &&
         w->numWriteDescriptorProcs >= kCurrentWriteDescriptorProcsCount;
}

bool HostPlayDialog(const PIDescriptorParameters* params) {
  return params && params->playInfo == kPlayInfoDialogDisplay;
}

int32_t HostAdvanceState(AdvanceStateProc proc) {
  if (!proc) return kUserCancelled;
  return int32_t(proc());
}

int32_t HostAllocateBuffer(BufferProcs* procs, int32_t size, BufferID* id) {
  *id = 0;
  if (!HostBufferProcsAvailable(procs, nullptr)) return kOutOfMemory;
  return int32_t(procs->allocateProc(size, id));
}

void* HostLockBuffer(BufferProcs* procs, BufferID id, bool moveHigh) {
  if (!HostBufferProcsAvailable(procs, nullptr)) return nullptr;
  return procs->lockProc(id, moveHigh ? 1 : 0);
}

void HostUnlockBuffer(BufferProcs* procs, BufferID id) {
  if (HostBufferProcsAvailable(procs, nullptr)) procs->unlockProc(id);
}

void HostFreeBuffer(BufferProcs* procs, BufferID id) {
  if (HostBufferProcsAvailable(procs, nullptr)) procs->freeProc(id);
}

Handle HostNewHandle(HandleProcs* procs, int32_t size) {
  if (HostHandleProcsAvailable(procs, nullptr)) return procs->newProc(size);
  return NewHandle(size);
}

void HostDisposeHandle(HandleProcs* procs, Handle h) {
  if (HostHandleProcsAvailable(procs, nullptr))
    procs->disposeProc(h);
  else
    DisposeHandle(h);
}

void* RobustNewPtr(uint64_t size, BufferID* id, BufferProcs* procs) {
  if (size > uint64_t(std::numeric_limits<int64_t>::max())) return nullptr;
  if (id && procs) {
    // The host's suite speaks 32-bit sizes; anything larger goes to the system.
    if (size <= uint64_t(std::numeric_limits<int32_t>::max()) &&
        HostAllocateBuffer(procs, int32_t(size), id) == 0) {
      if (void* p = HostLockBuffer(procs, *id, true)) return p;
      // Allocated but not lockable: give it back rather than leak it.
      HostFreeBuffer(procs, *id);
    }
    *id = 0;
  }
  return NewPtr(int64_t(size));
}

void RobustDisposePtr(void** holder, BufferID* id, BufferProcs* procs) {
  if (!holder || !*holder) return;
  if (!id || !procs) {
    DisposePtr(*holder);
    *holder = nullptr;
    return;
  }
  if (*id != 0) {
    HostUnlockBuffer(procs, *id);
    HostFreeBuffer(procs, *id);
  } else {
    DisposePtr(*holder);
  }
  *id = 0;
  *holder = nullptr;
}

void CenterAonB(Rect* a, const Rect* b) {
  const int32_t w = int32_t(a->right) - a->left;
  const int32_t h = int32_t(a->bottom) - a->top;
  const int32_t left = (int32_t(b->left) + b->right) / 2 - w / 2;
  a->left = int16_t(left);
  a->right = int16_t(left + w);
  const int32_t top = (int32_t(b->top) + b->bottom) / 2 - h / 2;
  a->top = int16_t(top);
  a->bottom = int16_t(top + h);
}
