#include "polyhedron/nets/hull_calipers.h"

#include <algorithm>
#include <cmath>

#include "polyhedron/halfspace_sort.h"
#include "projection/planes.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr double kWidthStart = 99999999999999.0;
constexpr float kPivotKey = -999.0f;
constexpr double kCaliperSlack = 1e-9;  // radians

HALFSPACE* Next(HALFSPACE* n) { return GetNextElementSkippingTheHead(n); }
HALFSPACE* Prev(HALFSPACE* n) { return GetPrevElementSkippingTheHead(n); }

bool SamePoint(const HALFSPACE* a, const HALFSPACE* b) {
  return a->point[0] == b->point[0] && a->point[1] == b->point[1] && a->point[2] == b->point[2];
}

double Distance3D(const double a[3], const double b[3]) {
  const double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The hull angle of the node's offset from the pivot, as the sort key stores
// it.
float KeyFrom(const HALFSPACE* node, const HALFSPACE* pivot) {
  float key = float(-std::atan2(node->point[0] - pivot->point[0], node->point[1] - pivot->point[1]));
  if (key < 0.0f) key = float(double(key) + kTwoPi);
  return key;
}

HALFSPACE* FindPivot(HALFSPACE* list) {
  HALFSPACE* pivot = GetFirstElement(list);
  for (HALFSPACE* e = pivot->next; !e->isHead; e = e->next) {
    if (e->point[1] > pivot->point[1] || (e->point[1] == pivot->point[1] && e->point[0] == pivot->point[0]))
      pivot = e;
  }
  return pivot;
}

// Of several points at one angle from the pivot only the farthest stays, and
// of repeated points one. The pivot itself is never the one removed: the
// scan after this pass starts from it.
void RemoveRepeatsAndNearerPoints(HALFSPACE* list, HALFSPACE* pivot) {
  HALFSPACE* e = GetFirstElement(list);
  while (!e->isHead && GetElementCount(list) > 1) {
    HALFSPACE* s = Next(e);
    if (s == e) break;
    if (SamePoint(e, s)) {
      if (e == pivot) {
        DeleteNodeInList(s);
        continue;
      }
      HALFSPACE* after = e->next;
      DeleteNodeInList(e);
      e = after;
      continue;
    }
    if (e->key == s->key) {
      if (Distance3D(s->point, pivot->point) > Distance3D(e->point, pivot->point) && e != pivot) {
        HALFSPACE* after = e->next;
        DeleteNodeInList(e);
        e = after;
      } else if (s != pivot) {
        DeleteNodeInList(s);
      } else {
        e = e->next;
      }
      continue;
    }
    e = e->next;
  }
}

// The turn of a caliper at `from` onto an edge at `to`, in [0, 2π). A
// caliper that has just been turned flush with an edge may come out a hair
// past it after rounding, and so does the next edge across a vertex that is
// straight up to rounding (exact collinears are gone, near ones stay): such
// a turn is none, not almost a whole one, or the other caliper would run
// round the hull alone.
double TurnTo(double to, double from) {
  const double d = to - from;
  if (d < 0.0) return d > -kCaliperSlack ? 0.0 : d + kTwoPi;
  return d;
}

}  // namespace

double HullAngle(double dx, double dy) {
  double a = -std::atan2(dx, dy);
  if (a < 0.0) a += kTwoPi;
  return a;
}

void BuildConvexHull_core(HALFSPACE* list, int16_t) {
  if (!list || GetElementCount(list) <= 3) return;
  HALFSPACE* pivot = FindPivot(list);
  for (HALFSPACE* e = GetFirstElement(list); !e->isHead; e = e->next) e->key = KeyFrom(e, pivot);
  pivot->key = kPivotKey;
  SortAList(list);
  RemoveRepeatsAndNearerPoints(list, pivot);
  grahamScan(Next(GetFirstElement(list)), pivot);
}

void grahamScan(HALFSPACE* start, HALFSPACE* pivot) {
  if (!start || !pivot || start == pivot) return;
  HALFSPACE* v = start;
  // Every step either deletes a point or moves on, so a scan ends within
  // twice the element count; the bound guards a list that is not a hull
  // candidate (points not sorted about the pivot).
  for (int32_t steps = 4 * GetElementCount(pivot) + 8; steps > 0; --steps) {
    if (GetElementCount(pivot) < 3) return;
    HALFSPACE* p = Prev(v);
    HALFSPACE* n = Next(v);
    const double cross =
        (v->point[0] - p->point[0]) * (n->point[1] - p->point[1]) - (v->point[1] - p->point[1]) * (n->point[0] - p->point[0]);
    if (cross <= 0.0) {
      DeleteNodeInList(v);
      v = p;
      if (p == pivot) return;
    } else {
      v = n;
      if (v == pivot) return;
    }
  }
}

void delete_collinears_by_angle(HALFSPACE* list) {
  if (!list) return;
  HALFSPACE* v = GetFirstElement(list);
  while (!v->isHead && GetElementCount(list) >= 3) {
    HALFSPACE* p = Prev(v);
    HALFSPACE* n = Next(v);
    HALFSPACE* after = v->next;
    const double a1 = HullAngle(p->point[0] - v->point[0], p->point[1] - v->point[1]);
    const double a2 = HullAngle(v->point[0] - n->point[0], v->point[1] - n->point[1]);
    if (a1 == a2) DeleteNodeInList(v);
    v = after;
  }
}

void DeclareAntipodes(HALFSPACE* a, HALFSPACE* b, CaliperResult* result, int32_t side, double angle) {
  if (!a || !b || !result) return;
  const double d = Distance3D(a->point, b->point);
  if (d > result->maxWidth) {
    result->maxWidth = d;
    result->maxPointA = a;
    result->maxPointB = b;
    const HALFSPACE* before = Prev(a);
    result->maxEdgeDirection =
        Cnormalize(Complex(before->point[0] - a->point[0], before->point[1] - a->point[1]));
    result->lastSide = side;
  }
  HALFSPACE* onEdge = side == 0 ? a : b;
  HALFSPACE* across = side == 0 ? b : a;
  double nearest[3] = {0, 0, 0};
  const double w = DistanceFromPointToLineSegmentD(Prev(onEdge)->point, onEdge->point, across->point, nearest, 0);
  if (w < result->minWidth || result->minWidth < 0.0) {
    result->minWidth = w;
    result->minPointA = a;
    result->minPointB = b;
    const double dx = nearest[0] - across->point[0], dy = nearest[1] - across->point[1],
                 dz = nearest[2] - across->point[2];
    const double len = std::sqrt(dx * dx + dy * dy + dz * dz);
    result->minDirection = len > 0.0 ? Complex(dx / len, dy / len) : Complex(0.0, 0.0);
    result->lastSide = side;
    result->minAngle = angle;
  }
}

void get_min_and_max_width_of_pointlist(HALFSPACE* hull, CaliperResult* result, int16_t) {
  if (!result) return;
  HALFSPACE* first = hull ? GetFirstElement(hull) : nullptr;
  const bool empty = !hull || first->isHead;
  result->minPointA = result->minPointB = result->maxPointA = result->maxPointB = empty ? nullptr : first;
  result->minWidth = kWidthStart;
  result->maxWidth = -1.0;
  result->minDirection = Complex(1.0, 0.0);
  result->maxEdgeDirection = Complex(1.0, 0.0);
  result->minAngle = 0.0;
  if (empty) return;
  delete_collinears_by_angle(hull);

  HALFSPACE* A = GetFirstElement(hull);
  HALFSPACE* B = A;
  for (HALFSPACE* e = A; !e->isHead; e = e->next) {
    if (e->point[1] < A->point[1]) A = e;
    if (e->point[1] > B->point[1]) B = e;
  }
  fcomplex cA = Complex(1.0, 0.0), cB = Complex(-1.0, 0.0);
  double total = 0.0;
  // Every step turns the calipers onto the next edge of one of them, so half
  // a turn takes at most one step per edge on each side; the bound only
  // guards against a hull whose angles do not add up (points not convex).
  for (int32_t steps = 2 * GetElementCount(hull) + 8; steps > 0; --steps) {
    HALFSPACE* nA = Next(A);
    HALFSPACE* nB = Next(B);
    const double dA = TurnTo(HullAngle(nA->point[0] - A->point[0], nA->point[1] - A->point[1]), HullAngle(cA.re, cA.im));
    const double dB = TurnTo(HullAngle(nB->point[0] - B->point[0], nB->point[1] - B->point[1]), HullAngle(cB.re, cB.im));
    const double theta = std::min(dA, dB);
    const fcomplex rotor = Cspun(theta);
    cA = Cmul(cA, rotor);
    cB = Cmul(cB, rotor);
    int32_t side = 0;
    double step = 0.0;
    if (dB > dA) {
      A = nA;
      side = 0;
      step = dA;
    } else {
      B = nB;
      side = 1;
      step = dB;
    }
    DeclareAntipodes(A, B, result, side, total + step);
    if (total + step >= kPi) return;
    total += step;
  }
}

void CollectFragmentPoints(const polyhedron* poly, int32_t fragment, HALFSPACE* head) {
  if (!poly || !head || !poly->coords2D) return;
  for (int32_t i = 0; i < kPolyMax2DVerts; ++i) {
    if (!poly->vert2DUsed[i] || poly->fragmentOf2D[i] != fragment) continue;
    const double point[3] = {poly->coords2D[i][0], poly->coords2D[i][1], 0.0};
    AddPointToList(point, head, i);
  }
}

uint8_t BuildConvexHullOfFragmentAndMeasureIt(const polyhedron* poly, int32_t fragment, CaliperResult* result) {
  HALFSPACE head;
  InitEmptyList(&head);
  CollectFragmentPoints(poly, fragment, &head);
  BuildConvexHull_core(&head, 0);
  get_min_and_max_width_of_pointlist(&head, result, 0);
  DisposeListExceptForHead(&head);
  // The points were the list's and are gone with it.
  if (result) result->minPointA = result->minPointB = result->maxPointA = result->maxPointB = nullptr;
  return 1;
}
