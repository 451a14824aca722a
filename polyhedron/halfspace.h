// HALFSPACE: the one node type of a circular, doubly linked list with a head
// node. The same record is a list head, a point of a point list or a plane
// of a plane list; the hull and caliper code, the spherical Voronoi
// construction and the dual builder keep their point and plane sets in such
// lists.
//
// A list is a head and its elements on a circle of next/prev links through
// the head; a walk starts at the head's next node and stops at a node whose
// isHead is set. Every element names its head, and the head keeps the
// element count, so counting never walks. Heads live inside their owner's
// record or frame (made with InitEmptyList); elements are single heap blocks
// of system memory, freed only through this file's operations.
//
// Everything runs on one thread at a time (the main thread, during a
// polyhedron set-up).
#pragma once

#include <cstdint>

#include "projection/planes.h"

struct HALFSPACE {
  PLANED plane;      // carried by a node of a plane list
  double point[3];   // carried by a node of a point list; 2D lists use x and y
  int32_t index;     // caller's index; -99999 in a fresh node, -1 in a head
  uint8_t sliceSeed;  // slice flags owned by the Truchet site builder
  uint8_t sliceMark;
  uint8_t hasSecondPlane;
  PLANED secondPlane;
  int32_t useCount;  // the Voronoi construction dooms a node below 1
  HALFSPACE* parentA;  // the two point nodes a plane node was built from
  HALFSPACE* parentB;
  uint8_t doomed;
  uint8_t siteDone;  // owned by the Voronoi construction
  uint8_t faceDone;
  uint8_t freed;  // set just before the node is freed
  HALFSPACE* corners[4];
  float key;  // sort key of SortAList
  int32_t headTag;  // -99 in a head
  HALFSPACE* next;
  HALFSPACE* prev;
  HALFSPACE* head;  // a head names itself
  HALFSPACE* hints[3];
  HALFSPACE* next2;  // secondary links: a saved copy of next and prev
  HALFSPACE* prev2;
  int32_t isHead;
  int32_t count;  // elements, kept in the head only
  int32_t headWord;
};

constexpr int32_t kHalfspaceFreshIndex = -99999;
constexpr int32_t kHalfspaceHeadIndex = -1;
constexpr int32_t kHalfspaceHeadTag = -99;

// Makes the node an empty list head (linked to itself, count 0, index -1).
void InitEmptyList(HALFSPACE* head);
// Fresh-node state: not a head, no users, key 0, no mark, no parents, no
// second plane, index -99999, no hints or corners, not freed. Links, plane,
// point and second plane stay as they are.
void InitSomeFieldsForNewNode(HALFSPACE* node);

// A new fresh node linked right after `node` (after a head: as the first
// element), counted in the list. Null, with the list unchanged, when memory
// runs out or node is null.
HALFSPACE* CreateNodeInListAfter(HALFSPACE* node);
// As CreateNodeInListAfter, then stores the point and the index. Given the
// head, the point becomes the first element.
HALFSPACE* AddPointToList(const double point[3], HALFSPACE* node, int32_t index);
// Links an unlinked node right after `after`, into after's list.
void InsertNodeInListAfter(HALFSPACE* node, HALFSPACE* after);
// Unlinks an element and leaves it linked to itself, still naming its head.
// A head, null, or a node that is already alone changes nothing.
void DetatchNodeFromList(HALFSPACE* node);
// Unlinks an element and frees it. A head is never freed (heads belong to
// their owner's record or frame); null does nothing.
void DeleteNodeInList(HALFSPACE* node);
// Frees every element of the node's list, leaving the empty head.
void DisposeListExceptForHead(HALFSPACE* node);
// Moves an element to the front of its list and returns the head. Given a
// head, changes nothing and returns it.
HALFSPACE* MoveElementToStartOfList(HALFSPACE* node);
// Moves an element out of its list to the front of the destination's list,
// counted there. With keepNewHead 0 the node afterwards names its old head
// again: it sits in the destination's circle while still naming its old list
// (the Voronoi construction relies on that). No change when both share a
// head, or when node is a head.
void TransplantElementInto(HALFSPACE* node, HALFSPACE* destination, uint8_t keepNewHead);
// Splices all of A's elements, in order, onto the end of B; A is left empty.
// With reHead non-zero the moved elements name B's head. A and B are heads.
void TransplantListAIntoListB(HALFSPACE* a, HALFSPACE* b, uint8_t reHead);

// The first element, or the head itself when the list is empty.
HALFSPACE* GetFirstElement(HALFSPACE* node);
bool ListIsEmpty(const HALFSPACE* node);
int32_t GetElementCount(const HALFSPACE* node);
// Circular successor and predecessor among the elements (the head skipped).
HALFSPACE* GetNextElementSkippingTheHead(HALFSPACE* node);
HALFSPACE* GetPrevElementSkippingTheHead(HALFSPACE* node);
// next2/prev2 of the head and every element take their primary links.
void RestoreAllSecondaryLinks(HALFSPACE* node);
void MarkForDestruction(HALFSPACE* node);
bool IsMarkedForDestruction(const HALFSPACE* node);
