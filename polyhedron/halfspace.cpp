#include "polyhedron/halfspace.h"

#include <cstring>

#include "frame/base/host_suites.h"

namespace {

// The list operations take no buffer suite, so elements always come from
// system memory.
HALFSPACE* NewNode() {
  void* block = RobustNewPtr(sizeof(HALFSPACE), nullptr, nullptr);
  if (!block) return nullptr;
  // Zero first: the flags that only other code sets (slice flags, Voronoi
  // done flags) must not start as whatever the allocator left there.
  std::memset(block, 0, sizeof(HALFSPACE));
  return static_cast<HALFSPACE*>(block);
}

void FreeNode(HALFSPACE* node) {
  node->freed = 1;
  void* block = node;
  RobustDisposePtr(&block, nullptr, nullptr);
}

// A node linked to itself is in no circle.
bool IsLinked(const HALFSPACE* node) { return node->next != node; }

// Out of the circle, linked to itself; no counts change.
void Unlink(HALFSPACE* node) {
  node->prev->next = node->next;
  node->next->prev = node->prev;
  node->next = node;
  node->prev = node;
}

// Into the circle right after `after`; no counts or head references change.
void LinkAfter(HALFSPACE* node, HALFSPACE* after) {
  node->prev = after;
  node->next = after->next;
  after->next->prev = node;
  after->next = node;
}

}  // namespace

void InitSomeFieldsForNewNode(HALFSPACE* node) {
  if (!node) return;
  node->isHead = 0;
  node->useCount = 0;
  node->key = 0.0f;
  node->doomed = 0;
  node->parentA = nullptr;
  node->parentB = nullptr;
  node->hasSecondPlane = 0;
  node->index = kHalfspaceFreshIndex;
  for (HALFSPACE*& h : node->hints) h = nullptr;
  for (HALFSPACE*& c : node->corners) c = nullptr;
  node->freed = 0;
}

void InitEmptyList(HALFSPACE* head) {
  if (!head) return;
  InitSomeFieldsForNewNode(head);
  head->isHead = 1;
  head->next = head->prev = head->head = head;
  head->next2 = head->prev2 = head;
  head->count = 0;
  head->headWord = 0;
  head->index = kHalfspaceHeadIndex;
  head->headTag = kHalfspaceHeadTag;
}

HALFSPACE* CreateNodeInListAfter(HALFSPACE* node) {
  if (!node) return nullptr;
  HALFSPACE* fresh = NewNode();
  if (!fresh) return nullptr;
  InitSomeFieldsForNewNode(fresh);
  fresh->next2 = fresh->prev2 = fresh;
  fresh->head = node->head;
  LinkAfter(fresh, node);
  ++node->head->count;
  return fresh;
}

HALFSPACE* AddPointToList(const double point[3], HALFSPACE* node, int32_t index) {
  HALFSPACE* fresh = CreateNodeInListAfter(node);
  if (!fresh) return nullptr;
  for (int k = 0; k < 3; ++k) fresh->point[k] = point[k];
  fresh->index = index;
  return fresh;
}

void InsertNodeInListAfter(HALFSPACE* node, HALFSPACE* after) {
  if (!node || !after || node == after) return;
  node->head = after->head;
  LinkAfter(node, after);
  ++after->head->count;
}

void DetatchNodeFromList(HALFSPACE* node) {
  // A node already alone is in no list: counting it down again would take
  // its old head's count below the truth.
  if (!node || node->isHead || !IsLinked(node)) return;
  Unlink(node);
  --node->head->count;
}

void DeleteNodeInList(HALFSPACE* node) {
  // A head is part of its owner's record or frame, never a block of ours.
  if (!node || node->isHead) return;
  DetatchNodeFromList(node);
  FreeNode(node);
}

void DisposeListExceptForHead(HALFSPACE* node) {
  if (!node) return;
  HALFSPACE* head = node->head;
  if (head->count < 1) return;
  // Walk the circle, not the count: an element transplanted without its new
  // head reference sits here while naming another list.
  while (!head->next->isHead) {
    HALFSPACE* victim = head->next;
    Unlink(victim);
    --head->count;
    FreeNode(victim);
  }
}

HALFSPACE* MoveElementToStartOfList(HALFSPACE* node) {
  if (!node) return nullptr;
  HALFSPACE* head = node->head;
  // Linking a head after itself would count an element that is not there.
  if (node->isHead) return head;
  if (IsLinked(node)) Unlink(node);
  else ++head->count;  // a detached element comes back into the count
  LinkAfter(node, head);
  return head;
}

void TransplantElementInto(HALFSPACE* node, HALFSPACE* destination, uint8_t keepNewHead) {
  if (!node || !destination || node->isHead) return;
  HALFSPACE* oldHead = node->head;
  HALFSPACE* newHead = destination->head;
  if (oldHead == newHead) return;
  DetatchNodeFromList(node);
  LinkAfter(node, newHead);
  ++newHead->count;
  node->head = keepNewHead ? newHead : oldHead;
}

void TransplantListAIntoListB(HALFSPACE* a, HALFSPACE* b, uint8_t reHead) {
  if (!a || !b) return;
  HALFSPACE* headA = a->head;
  HALFSPACE* headB = b->head;
  // Splicing a list onto itself would cut its circle.
  if (headA == headB || headA->next->isHead) return;
  if (reHead)
    for (HALFSPACE* p = headA->next; !p->isHead; p = p->next) p->head = headB;
  HALFSPACE* first = headA->next;
  HALFSPACE* last = headA->prev;
  HALFSPACE* lastOfB = headB->prev;
  lastOfB->next = first;
  first->prev = lastOfB;
  last->next = headB;
  headB->prev = last;
  headA->next = headA->prev = headA;
  headB->count += headA->count;
  headA->count = 0;
}

HALFSPACE* GetFirstElement(HALFSPACE* node) { return node->head->next; }

bool ListIsEmpty(const HALFSPACE* node) { return node->head->next->isHead != 0; }

int32_t GetElementCount(const HALFSPACE* node) { return node->head->count; }

HALFSPACE* GetNextElementSkippingTheHead(HALFSPACE* node) {
  HALFSPACE* n = node->next;
  return n->isHead ? n->next : n;
}

HALFSPACE* GetPrevElementSkippingTheHead(HALFSPACE* node) {
  HALFSPACE* p = node->prev;
  return p->isHead ? p->prev : p;
}

void RestoreAllSecondaryLinks(HALFSPACE* node) {
  if (!node) return;
  HALFSPACE* p = node->head;
  do {
    p->next2 = p->next;
    p->prev2 = p->prev;
    p = p->next;
  } while (!p->isHead);
}

void MarkForDestruction(HALFSPACE* node) {
  if (node) node->doomed = 1;
}

bool IsMarkedForDestruction(const HALFSPACE* node) { return node && node->doomed != 0; }
