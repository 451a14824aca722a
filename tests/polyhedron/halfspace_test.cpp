// HALFSPACE lists: order, counts and head references through every list
// operation, running out of memory, and the key sort.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "platform/memory.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/halfspace_sort.h"

namespace {

// A head on the test's frame, as the hull code keeps one; its elements are
// freed when it goes.
struct List {
  HALFSPACE head{};
  List() { InitEmptyList(&head); }
  ~List() { DisposeListExceptForHead(&head); }
  List(const List&) = delete;
  List& operator=(const List&) = delete;
};

// Adds elements with the given indices at the front, last one first.
void AddIndices(HALFSPACE* head, const std::vector<int32_t>& indices) {
  for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
    const double point[3] = {double(*it), 0, 0};
    ASSERT_NE(AddPointToList(point, head, *it), nullptr);
  }
}

// The indices in list order; every element must name `owner` and the walk
// must come back to the head along the prev links too.
std::vector<int32_t> Indices(HALFSPACE* head, const HALFSPACE* owner = nullptr) {
  std::vector<int32_t> out;
  for (HALFSPACE* p = GetFirstElement(head); !p->isHead; p = p->next) {
    EXPECT_EQ(p->head, owner ? owner : head);
    EXPECT_EQ(p->next->prev, p);
    out.push_back(p->index);
  }
  return out;
}

HALFSPACE* Element(HALFSPACE* head, size_t i) {
  HALFSPACE* p = GetFirstElement(head);
  while (i--) p = p->next;
  return p;
}

struct BudgetGuard {
  explicit BudgetGuard(int64_t n) { SetSystemAllocationBudget(n); }
  ~BudgetGuard() { SetSystemAllocationBudget(-1); }
};

TEST(HalfspaceList, EmptyListAndFreshNodes) {
  List l;
  EXPECT_EQ(GetFirstElement(&l.head), &l.head);
  EXPECT_TRUE(ListIsEmpty(&l.head));
  EXPECT_EQ(GetElementCount(&l.head), 0);
  EXPECT_EQ(l.head.index, kHalfspaceHeadIndex);
  EXPECT_EQ(l.head.headTag, kHalfspaceHeadTag);
  EXPECT_EQ(GetNextElementSkippingTheHead(&l.head), &l.head);

  HALFSPACE* n = CreateNodeInListAfter(&l.head);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->isHead, 0);
  EXPECT_EQ(n->index, kHalfspaceFreshIndex);
  EXPECT_EQ(n->key, 0.0f);
  EXPECT_EQ(n->useCount, 0);
  EXPECT_EQ(n->parentA, nullptr);
  EXPECT_EQ(n->hints[2], nullptr);
  EXPECT_EQ(n->corners[3], nullptr);
  EXPECT_EQ(n->sliceSeed, 0) << "flags other code reads start clear";
  EXPECT_FALSE(IsMarkedForDestruction(n));
  MarkForDestruction(n);
  EXPECT_TRUE(IsMarkedForDestruction(n));
  EXPECT_EQ(GetElementCount(&l.head), 1) << "the mark alone changes nothing";
}

TEST(HalfspaceList, AddingAtTheHeadAndWalking) {
  List l;
  for (int32_t i = 1; i <= 3; ++i) {
    const double point[3] = {i * 1.0, i * 2.0, i * 3.0};
    AddPointToList(point, &l.head, i);
  }
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{3, 2, 1}));
  EXPECT_EQ(GetElementCount(Element(&l.head, 1)), 3) << "any node reaches the head";
  EXPECT_EQ(Element(&l.head, 2)->point[2], 3.0);
  // Added after an element, a point follows it.
  const double p[3] = {0, 0, 0};
  AddPointToList(p, Element(&l.head, 0), 9);
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{3, 9, 2, 1}));

  HALFSPACE* first = Element(&l.head, 0);
  HALFSPACE* last = Element(&l.head, 3);
  EXPECT_EQ(GetNextElementSkippingTheHead(last), first);
  EXPECT_EQ(GetPrevElementSkippingTheHead(first), last);

  List one;
  AddIndices(&one.head, {5});
  HALFSPACE* only = GetFirstElement(&one.head);
  EXPECT_EQ(GetNextElementSkippingTheHead(only), only);
  EXPECT_EQ(GetPrevElementSkippingTheHead(only), only);
}

TEST(HalfspaceList, DetachInsertDeleteKeepCounts) {
  List l;
  AddIndices(&l.head, {1, 2, 3});
  HALFSPACE* two = Element(&l.head, 1);
  DetatchNodeFromList(&l.head);
  EXPECT_EQ(GetElementCount(&l.head), 3) << "a head is not detached";
  DetatchNodeFromList(two);
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(GetElementCount(&l.head), 2);
  EXPECT_EQ(two->next, two);
  EXPECT_EQ(two->head, &l.head);
  // Detaching again must not count the list down a second time.
  DetatchNodeFromList(two);
  EXPECT_EQ(GetElementCount(&l.head), 2);
  InsertNodeInListAfter(two, Element(&l.head, 1));
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{1, 3, 2}));
  EXPECT_EQ(GetElementCount(&l.head), 3);

  DeleteNodeInList(Element(&l.head, 0));
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{3, 2}));
  EXPECT_EQ(GetElementCount(&l.head), 2);
  // A head belongs to its owner: deleting it frees nothing and unlinks
  // nothing (this head lives on the test's frame).
  DeleteNodeInList(&l.head);
  DeleteNodeInList(nullptr);
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{3, 2}));

  DisposeListExceptForHead(&l.head);
  EXPECT_TRUE(ListIsEmpty(&l.head));
  EXPECT_EQ(GetElementCount(&l.head), 0);
  EXPECT_EQ(l.head.next, &l.head);
}

TEST(HalfspaceList, MovingToTheFront) {
  List l;
  AddIndices(&l.head, {1, 2, 3});
  EXPECT_EQ(MoveElementToStartOfList(Element(&l.head, 2)), &l.head);
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{3, 1, 2}));
  EXPECT_EQ(GetElementCount(&l.head), 3);
  // Given the head, nothing moves and nothing is counted.
  EXPECT_EQ(MoveElementToStartOfList(&l.head), &l.head);
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{3, 1, 2}));
  EXPECT_EQ(GetElementCount(&l.head), 3);
  // A detached element comes back and is counted again.
  HALFSPACE* one = Element(&l.head, 1);
  DetatchNodeFromList(one);
  MoveElementToStartOfList(one);
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{1, 3, 2}));
  EXPECT_EQ(GetElementCount(&l.head), 3);
}

TEST(HalfspaceList, TransplantingOneElement) {
  const struct {
    const char* name;
    uint8_t keepNewHead;
  } cases[] = {{"new head", 1}, {"old head kept", 0}};
  for (const auto& c : cases) {
    List a, b;
    AddIndices(&a.head, {1, 2});
    AddIndices(&b.head, {7, 8});
    HALFSPACE* two = Element(&a.head, 1);
    TransplantElementInto(two, Element(&b.head, 1), c.keepNewHead);
    EXPECT_EQ(Indices(&a.head), (std::vector<int32_t>{1})) << c.name;
    EXPECT_EQ(GetElementCount(&a.head), 1) << c.name;
    EXPECT_EQ(GetElementCount(&b.head), 3) << c.name;
    EXPECT_EQ(GetFirstElement(&b.head), two) << c.name;
    EXPECT_EQ(two->head, c.keepNewHead ? &b.head : &a.head) << c.name;
    // Already in the destination's list: nothing happens.
    if (c.keepNewHead) {
      TransplantElementInto(two, &b.head, 1);
      EXPECT_EQ(GetElementCount(&b.head), 3) << c.name;
      EXPECT_EQ(GetFirstElement(&b.head), two) << c.name;
    }
    // Disposing b frees the guest too; a's count is not touched again.
    DisposeListExceptForHead(&b.head);
    EXPECT_EQ(GetElementCount(&b.head), 0) << c.name;
    EXPECT_EQ(GetElementCount(&a.head), 1) << c.name;
  }
}

TEST(HalfspaceList, TransplantingAWholeList) {
  List a, b, empty;
  AddIndices(&a.head, {1, 2, 3});
  AddIndices(&b.head, {7, 8});
  TransplantListAIntoListB(&empty.head, &b.head, 1);
  EXPECT_EQ(Indices(&b.head), (std::vector<int32_t>{7, 8}));
  TransplantListAIntoListB(&b.head, &b.head, 1);
  EXPECT_EQ(Indices(&b.head), (std::vector<int32_t>{7, 8})) << "a list onto itself";

  TransplantListAIntoListB(&a.head, &b.head, 1);
  EXPECT_EQ(Indices(&b.head), (std::vector<int32_t>{7, 8, 1, 2, 3}));
  EXPECT_EQ(GetElementCount(&b.head), 5);
  EXPECT_TRUE(ListIsEmpty(&a.head));
  EXPECT_EQ(GetElementCount(&a.head), 0);
  EXPECT_EQ(a.head.next, &a.head);
  EXPECT_EQ(a.head.prev, &a.head);

  // Without re-heading the moved elements still name their old head.
  List c, d;
  AddIndices(&c.head, {4});
  AddIndices(&d.head, {5});
  TransplantListAIntoListB(&c.head, &d.head, 0);
  EXPECT_EQ(GetElementCount(&d.head), 2);
  EXPECT_EQ(Element(&d.head, 1)->head, &c.head);
}

TEST(HalfspaceList, SecondaryLinksCopyThePrimaryOnes) {
  List l;
  AddIndices(&l.head, {1, 2});
  RestoreAllSecondaryLinks(Element(&l.head, 1));
  for (HALFSPACE* p : {&l.head, Element(&l.head, 0), Element(&l.head, 1)}) {
    EXPECT_EQ(p->next2, p->next);
    EXPECT_EQ(p->prev2, p->prev);
  }
}

TEST(HalfspaceList, NoMemoryLeavesTheListAlone) {
  List l;
  AddIndices(&l.head, {1});
  {
    BudgetGuard none(0);
    const double p[3] = {0, 0, 0};
    EXPECT_EQ(CreateNodeInListAfter(&l.head), nullptr);
    EXPECT_EQ(AddPointToList(p, &l.head, 2), nullptr);
  }
  EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{1}));
  EXPECT_EQ(GetElementCount(&l.head), 1);
  EXPECT_EQ(CreateNodeInListAfter(nullptr), nullptr);
}

void SetKeys(HALFSPACE* head, const std::vector<float>& keys) {
  HALFSPACE* p = GetFirstElement(head);
  for (float k : keys) {
    p->key = k;
    p = p->next;
  }
}

TEST(HalfspaceSort, SortsByKey) {
  const struct {
    const char* name;
    std::vector<float> keys;
    std::vector<int32_t> order;  // the keys in list order after the sort
  } cases[] = {
      {"three keys", {3, 1, 2}, {1, 2, 3}},
      {"one element", {5}, {5}},
      {"empty list", {}, {}},
      {"already sorted", {1, 2, 3, 4}, {1, 2, 3, 4}},
      {"reversed", {4, 3, 2, 1, 0}, {0, 1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    List l;
    std::vector<int32_t> indices;
    for (size_t i = 0; i < c.keys.size(); ++i) indices.push_back(int32_t(i));
    AddIndices(&l.head, indices);
    SetKeys(&l.head, c.keys);
    // Each element's index is its key, so the indices show the order.
    for (HALFSPACE* p = GetFirstElement(&l.head); !p->isHead; p = p->next) p->index = int32_t(p->key);
    SortAList(&l.head);
    EXPECT_EQ(Indices(&l.head), c.order) << c.name;
    EXPECT_EQ(GetElementCount(&l.head), int32_t(c.keys.size())) << c.name;
    EXPECT_EQ(Indices(&l.head).size(), c.keys.size()) << c.name;
  }
}

TEST(HalfspaceSort, NoMemoryLeavesTheListUnsorted) {
  for (int64_t budget : {0, 1}) {  // neither array, or only the first
    List l;
    AddIndices(&l.head, {0, 1, 2});
    SetKeys(&l.head, {3, 1, 2});
    {
      BudgetGuard guard(budget);
      SortAList(&l.head);
    }
    EXPECT_EQ(Indices(&l.head), (std::vector<int32_t>{0, 1, 2})) << "budget " << budget;
  }
}

// The sort's exchanges as written: left side recursively, right side by
// looping, plain float comparisons. The production sort must give the same
// order, equal keys included.
void ReferenceSort(float keys[], uintptr_t payload[], int32_t lo, int32_t hi) {
  while (hi > lo) {
    if (lo == hi - 1) {
      if (keys[lo] > keys[hi]) {
        std::swap(keys[lo], keys[hi]);
        std::swap(payload[lo], payload[hi]);
      }
      return;
    }
    const int32_t mid = (lo + hi) / 2;
    std::swap(keys[mid], keys[hi]);
    std::swap(payload[mid], payload[hi]);
    const float pivot = keys[hi];
    const uintptr_t pp = payload[hi];
    int32_t i = lo, j = hi;
    do {
      while (i < j && keys[i] <= pivot) ++i;
      while (j > i && keys[j] >= pivot) --j;
      if (i < j) {
        std::swap(keys[i], keys[j]);
        std::swap(payload[i], payload[j]);
      }
    } while (i < j);
    keys[hi] = keys[j];
    payload[hi] = payload[j];
    keys[j] = pivot;
    payload[j] = pp;
    ReferenceSort(keys, payload, lo, i - 1);
    lo = j + 1;
  }
}

TEST(HalfspaceSort, KeySortExchangesKeysAndPayloads) {
  float inOrder[2] = {1, 2};
  uintptr_t payloadA[2] = {10, 20};
  fsort_with_pointers(inOrder, payloadA, 0, 1);
  EXPECT_EQ(payloadA[0], 10u);
  float reversed[2] = {2, 1};
  uintptr_t payloadB[2] = {10, 20};
  fsort_with_pointers(reversed, payloadB, 0, 1);
  EXPECT_EQ(reversed[0], 1.0f);
  EXPECT_EQ(payloadB[0], 20u);
  EXPECT_EQ(payloadB[1], 10u);

  std::mt19937 rng(5);
  for (int trial = 0; trial < 200; ++trial) {
    const int32_t n = 1 + trial % 37;
    std::vector<float> keys(static_cast<size_t>(n)), ref;
    std::vector<uintptr_t> payload(static_cast<size_t>(n)), refPayload;
    for (int32_t i = 0; i < n; ++i) {
      keys[size_t(i)] = float(rng() % 6);  // many equal keys
      payload[size_t(i)] = uintptr_t(i);
    }
    ref = keys;
    refPayload = payload;
    fsort_with_pointers(keys.data(), payload.data(), 0, n - 1);
    ReferenceSort(ref.data(), refPayload.data(), 0, n - 1);
    EXPECT_EQ(keys, ref) << "trial " << trial;
    EXPECT_EQ(payload, refPayload) << "trial " << trial;
  }
}

TEST(HalfspaceSort, KeysThatAreNotNumbersSortLast) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<float> keys = {nan, 3, nan, 1, nan, 2, nan};
  std::vector<uintptr_t> payload = {0, 1, 2, 3, 4, 5, 6};
  fsort_with_pointers(keys.data(), payload.data(), 0, int32_t(keys.size()) - 1);
  EXPECT_EQ(keys[0], 1.0f);
  EXPECT_EQ(keys[1], 2.0f);
  EXPECT_EQ(keys[2], 3.0f);
  for (size_t i = 3; i < keys.size(); ++i) EXPECT_TRUE(std::isnan(keys[i]));
  EXPECT_EQ(payload[0], 3u);
}

}  // namespace
