#include "polyhedron/halfspace_sort.h"

#include <cmath>
#include <utility>

#include "frame/base/host_suites.h"
#include "polyhedron/halfspace.h"

namespace {

// A total order on the keys: NaN above every number and equal to NaN. With
// plain float comparisons a NaN key stops both scans of a partition at once
// and the exchange loop never ends.
bool KeyAtMost(float a, float b) {
  if (std::isnan(b)) return true;
  if (std::isnan(a)) return false;
  return a <= b;
}

void Exchange(float keys[], uintptr_t payload[], int32_t i, int32_t j) {
  std::swap(keys[i], keys[j]);
  std::swap(payload[i], payload[j]);
}

// One partition around the middle key; returns where the pivot lands.
int32_t Partition(float keys[], uintptr_t payload[], int32_t lo, int32_t hi) {
  const int32_t mid = int32_t((int64_t(lo) + hi) / 2);
  Exchange(keys, payload, mid, hi);
  const float pivot = keys[hi];
  const uintptr_t pivotPayload = payload[hi];
  int32_t i = lo, j = hi;
  do {
    while (i < j && KeyAtMost(keys[i], pivot)) ++i;
    while (j > i && KeyAtMost(pivot, keys[j])) --j;
    if (i < j) Exchange(keys, payload, i, j);
  } while (i < j);
  keys[hi] = keys[j];
  payload[hi] = payload[j];
  keys[j] = pivot;
  payload[j] = pivotPayload;
  return j;
}

}  // namespace

void fsort_with_pointers(float keys[], uintptr_t payload[], int32_t lo, int32_t hi) {
  while (hi > lo) {
    if (lo == hi - 1) {
      if (!KeyAtMost(keys[lo], keys[hi])) Exchange(keys, payload, lo, hi);
      return;
    }
    const int32_t p = Partition(keys, payload, lo, hi);
    // The two sides are independent, so which one recurses does not change
    // the result; recursing into the smaller keeps the depth logarithmic
    // (runs of equal keys put everything on one side).
    if (p - lo < hi - p) {
      fsort_with_pointers(keys, payload, lo, p - 1);
      lo = p + 1;
    } else {
      fsort_with_pointers(keys, payload, p + 1, hi);
      hi = p - 1;
    }
  }
}

void SortAList(HALFSPACE* node) {
  if (!node) return;
  HALFSPACE* head = node->head;
  if (head->next->isHead) return;
  // Size the arrays by the circle itself: the head's count does not cover an
  // element transplanted in without its new head reference.
  int32_t n = 0;
  for (HALFSPACE* p = head->next; !p->isHead; p = p->next) ++n;
  BufferID keyId = 0, nodeId = 0;
  void* keyBlock = RobustNewPtr(uint64_t(n) * sizeof(float), &keyId, nullptr);
  void* nodeBlock = RobustNewPtr(uint64_t(n) * sizeof(uintptr_t), &nodeId, nullptr);
  if (keyBlock && nodeBlock) {
    float* keys = static_cast<float*>(keyBlock);
    uintptr_t* nodes = static_cast<uintptr_t*>(nodeBlock);
    head->headTag = kHalfspaceHeadTag;
    int32_t i = 0;
    for (HALFSPACE* p = head->next; !p->isHead; p = p->next, ++i) {
      keys[i] = p->key;
      nodes[i] = reinterpret_cast<uintptr_t>(p);
    }
    fsort_with_pointers(keys, nodes, 0, n - 1);
    // Relink in sorted order: each node in turn goes to the end of the list.
    for (i = 0; i < n; ++i) {
      HALFSPACE* p = reinterpret_cast<HALFSPACE*>(nodes[i]);
      p->prev->next = p->next;
      p->next->prev = p->prev;
      p->prev = head->prev;
      p->next = head;
      head->prev->next = p;
      head->prev = p;
    }
  }
  RobustDisposePtr(&keyBlock, &keyId, nullptr);
  RobustDisposePtr(&nodeBlock, &nodeId, nullptr);
}
