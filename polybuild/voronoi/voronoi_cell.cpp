#include "polybuild/voronoi/voronoi_cell.h"

#include <cmath>

#include "polyhedron/halfspace.h"
#include "polyhedron/halfspace_sort.h"
#include "projection/planes.h"

namespace {

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

double Distance(const double a[3], const double b[3]) {
  const double d[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
  return std::sqrt(Dot(d, d));
}

bool Outside(const PLANED& plane, const double p[3], double tolerance) {
  return Classify_PointD(&plane, p, tolerance) > 0;
}

void ReleasePlane(HALFSPACE* plane) {
  if (!plane) return;
  if (--plane->useCount < 1) MarkForDestruction(plane);
}

// A candidate corner goes; the planes it used lose a user.
void DeleteCorner(HALFSPACE* corner) {
  ReleasePlane(corner->parentA);
  ReleasePlane(corner->parentB);
  DeleteNodeInList(corner);
}

void DeleteDoomedPlanes(HALFSPACE* planes) {
  HALFSPACE* p = GetFirstElement(planes);
  while (!p->isHead) {
    HALFSPACE* next = p->next;
    if (IsMarkedForDestruction(p)) DeleteNodeInList(p);
    p = next;
  }
}

// Hints were set by cells already built; a hint that is not (or no longer)
// in this site list is not moved.
void MoveHintsToFront(HALFSPACE* site, HALFSPACE* sites) {
  for (HALFSPACE* hint : site->hints)
    if (hint && hint != site && hint->head == sites->head && !hint->isHead) MoveElementToStartOfList(hint);
}

// A surviving new point becomes a corner, taking over its uses of its two
// planes, unless a corner lies closer than the merge distance; a point
// merged so keeps its planes in use, since they may bound the cell once that
// corner is cut away. When that corner lies beyond the new plane (by less
// than the tolerance, or it would be gone) it is no vertex of the cell: the
// new point, on the plane, is the true vertex of the cluster and takes its
// place, so that the cell keeps the diagram's own vertices to the last bit.
void AddCorner(HALFSPACE* corners, const HALFSPACE* p, const HALFSPACE* plane, double mergeDistance) {
  HALFSPACE* corner = nullptr;
  for (HALFSPACE* k = GetFirstElement(corners); !k->isHead; k = k->next) {
    if (Distance(k->point, p->point) >= mergeDistance) continue;
    if (!Outside(plane->plane, k->point, 0.0)) return;
    // The replaced corner's planes stay in use, as a merged point's do.
    corner = k;
    for (int i = 0; i < 3; ++i) k->point[i] = p->point[i];
    break;
  }
  if (!corner) corner = AddPointToList(p->point, corners->head, p->index);
  if (!corner) return;
  corner->parentA = p->parentA;
  corner->parentB = p->parentB;
  for (int i = 0; i < 4; ++i) corner->corners[i] = p->corners[i];
}

}  // namespace

void Build_a_bisecting_plane(HALFSPACE* site, HALFSPACE* other, HALFSPACE* planeNode) {
  double mid[3], normal[3];
  for (int i = 0; i < 3; ++i) {
    mid[i] = (site->point[i] + other->point[i]) * 0.5;
    normal[i] = other->point[i] - site->point[i];
  }
  BuildPlaneFromPointAndDirection(mid, normal, &planeNode->plane);
  planeNode->parentA = site;
  planeNode->parentB = other;
}

void Make_list_of_points_arising_from_new_plane(HALFSPACE* newPlane, HALFSPACE* planes, HALFSPACE* newPoints,
                                                HALFSPACE* site) {
  for (HALFSPACE* q = GetFirstElement(planes); !q->isHead; q = q->next) {
    if (q == newPlane) continue;
    double x[3];
    if (!IntersectionOf3PlanesD(&newPlane->plane, &q->plane, &site->plane, x)) continue;
    HALFSPACE* last = GetPrevElementSkippingTheHead(newPoints->head);
    HALFSPACE* point = AddPointToList(x, ListIsEmpty(newPoints) ? newPoints->head : last, -2);
    if (!point) continue;
    point->parentA = newPlane;
    point->parentB = q;
    point->corners[0] = newPlane->parentA;
    point->corners[1] = newPlane->parentB;
    point->corners[2] = q->parentA;
    point->corners[3] = q->parentB;
    ++newPlane->useCount;
    ++q->useCount;
  }
}

HALFSPACE* Winnow_one_point_against_all_planes(const HALFSPACE* point, HALFSPACE* planes, double tolerance) {
  for (HALFSPACE* q = GetFirstElement(planes); !q->isHead; q = q->next) {
    // The point lies on its own two planes by construction. Far from the
    // site (nearly parallel bisectors) rounding can put it just beyond one
    // of them; cutting it there would drop both planes while they still
    // bound the cell, and later corners beyond them would survive.
    if (q == point->parentA || q == point->parentB) continue;
    if (Outside(q->plane, point->point, tolerance)) return q;
  }
  return nullptr;
}

void Winnow_new_points_against_old_planes(HALFSPACE* planes, HALFSPACE* newPoints, double tolerance) {
  HALFSPACE* p = GetFirstElement(newPoints);
  while (!p->isHead) {
    HALFSPACE* next = p->next;
    if (HALFSPACE* cut = Winnow_one_point_against_all_planes(p, planes, tolerance)) {
      DeleteCorner(p);
      MoveElementToStartOfList(cut);
    }
    p = next;
  }
}

void Winnow_points_against_one_plane(HALFSPACE* corners, const HALFSPACE* plane, double tolerance) {
  HALFSPACE* p = GetFirstElement(corners);
  while (!p->isHead) {
    HALFSPACE* next = p->next;
    if (Outside(plane->plane, p->point, tolerance)) DeleteCorner(p);
    p = next;
  }
}

void Build_one_vface_using_tangent_planes(HALFSPACE* site, HALFSPACE* sites, HALFSPACE* corners, double tolerance,
                                          double mergeDistance) {
  if (!site || !sites || !corners || ListIsEmpty(sites)) return;
  sites = sites->head;
  for (HALFSPACE* b = GetFirstElement(sites); !b->isHead; b = b->next)
    b->key = static_cast<float>(Dot(site->point, b->point));
  SortAList(sites);
  MoveHintsToFront(site, sites);

  HALFSPACE planes{}, newPoints{}, parked{};
  InitEmptyList(&planes);
  InitEmptyList(&newPoints);
  InitEmptyList(&parked);
  HALFSPACE* b = GetFirstElement(sites);
  while (!b->isHead) {
    HALFSPACE* next = b->next;
    if (b == site) {
      b = next;
      continue;
    }
    HALFSPACE* plane = CreateNodeInListAfter(&planes);
    if (!plane) {
      b = next;
      continue;
    }
    Build_a_bisecting_plane(site, b, plane);
    Make_list_of_points_arising_from_new_plane(plane, &planes, &newPoints, site);
    bool park = ListIsEmpty(&newPoints);
    if (!park) {
      Winnow_new_points_against_old_planes(&planes, &newPoints, tolerance);
      if (ListIsEmpty(&newPoints)) {
        park = true;
      } else {
        Winnow_points_against_one_plane(corners, plane, tolerance);
        for (HALFSPACE* p = GetFirstElement(&newPoints); !p->isHead; p = p->next) AddCorner(corners, p, plane, mergeDistance);
      }
    }
    if (park) TransplantElementInto(b, &parked, 0);
    DisposeListExceptForHead(&newPoints);
    DeleteDoomedPlanes(&planes);
    b = next;
  }
  TransplantListAIntoListB(&parked, sites, 0);
  DisposeListExceptForHead(&planes);
  DisposeListExceptForHead(&newPoints);
}
