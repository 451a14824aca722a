#include "support/system_handle_procs.h"

#include "platform/memory.h"

namespace {
Handle NewH(int32_t size) { return NewHandle(size); }
void DisposeH(Handle h) { DisposeHandle(h); }
int32_t SizeH(Handle h) { return int32_t(GetHandleSize(h)); }
OSErr16 SetSizeH(Handle h, int32_t s) { return SetHandleSize(h, s) ? 0 : -108; }
char* LockH(Handle h, uint8_t) { return *h; }
void UnlockH(Handle) {}
void RecoverH(int32_t) {}
}  // namespace

HandleProcs SystemHandleProcs() {
  return {kCurrentHandleProcsVersion, kCurrentHandleProcsCount, NewH, DisposeH, SizeH, SetSizeH, LockH, UnlockH,
          RecoverH, DisposeH};
}
