#include "platform/memory.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr uint32_t kHandleMagic = 0x48646C21;  // guards against freeing a foreign pointer as a handle

struct HandleRecord {
  char* data;  // first member: a Handle points at this word
  int64_t size;
  uint32_t magic;
};

std::atomic<int64_t> g_budget{-1};

bool TakeFromBudget() {
  int64_t b = g_budget.load();
  while (b >= 0) {
    if (b == 0) return false;
    if (g_budget.compare_exchange_weak(b, b - 1)) return true;
  }
  return true;
}

HandleRecord* RecordOf(Handle h) {
  auto* r = reinterpret_cast<HandleRecord*>(h);
  return (r && r->magic == kHandleMagic) ? r : nullptr;
}

}  // namespace

void SetSystemAllocationBudget(int64_t successes) { g_budget.store(successes); }

Handle NewHandle(int64_t size) {
  if (size < 0 || !TakeFromBudget()) return nullptr;
  auto* r = static_cast<HandleRecord*>(std::malloc(sizeof(HandleRecord)));
  if (!r) return nullptr;
  r->data = static_cast<char*>(std::malloc(size > 0 ? size_t(size) : 1));
  if (!r->data) {
    std::free(r);
    return nullptr;
  }
  r->size = size;
  r->magic = kHandleMagic;
  return &r->data;
}

Handle NewHandleClear(int64_t size) {
  Handle h = NewHandle(size);
  if (h && size > 0) std::memset(*h, 0, size_t(size));
  return h;
}

void DisposeHandle(Handle h) {
  HandleRecord* r = RecordOf(h);
  if (!r) return;
  r->magic = 0;
  std::free(r->data);
  std::free(r);
}

int64_t GetHandleSize(Handle h) {
  HandleRecord* r = RecordOf(h);
  return r ? r->size : 0;
}

bool SetHandleSize(Handle h, int64_t newSize) {
  HandleRecord* r = RecordOf(h);
  if (!r || newSize < 0) return false;
  if (newSize > r->size && !TakeFromBudget()) return false;
  char* grown = static_cast<char*>(std::realloc(r->data, newSize > 0 ? size_t(newSize) : 1));
  if (!grown) return false;
  r->data = grown;
  r->size = newSize;
  return true;
}

void* NewPtr(int64_t size) {
  if (size < 0 || !TakeFromBudget()) return nullptr;
  return std::malloc(size > 0 ? size_t(size) : 1);
}

void* NewPtrClear(int64_t size) {
  if (size < 0 || !TakeFromBudget()) return nullptr;
  return std::calloc(size > 0 ? size_t(size) : 1, 1);
}

void DisposePtr(void* p) { std::free(p); }

namespace {

// The whole pages inside a block, [first, end): the partial ones at its
// ends may belong to neighbours (or hold the allocator's own records).
bool WholePages(void* block, int64_t bytes, uintptr_t* first, uintptr_t* end) {
  if (!block || bytes <= 0) return false;
  static const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
  if (page == 0 || (page & (page - 1)) != 0) return false;
  *first = (uintptr_t(block) + page - 1) & ~(page - 1);
  *end = (uintptr_t(block) + uintptr_t(bytes)) & ~(page - 1);
  return *end > *first;
}

}  // namespace

void CommitPagesForWriting(void* block, int64_t bytes) {
#ifdef MADV_POPULATE_WRITE
  // The partial pages at the ends cost at most two faults.
  uintptr_t first = 0, end = 0;
  if (WholePages(block, bytes, &first, &end)) madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
  (void)block;
  (void)bytes;
#endif
}

void ReleasePages(void* block, int64_t bytes) {
  uintptr_t first = 0, end = 0;
  if (WholePages(block, bytes, &first, &end)) madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
}
