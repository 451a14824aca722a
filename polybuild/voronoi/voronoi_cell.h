// One cell of a spherical Voronoi diagram, found in the tangent plane of its
// site: the convex polygon that the bisecting planes between the site and
// every other site cut out of that plane. Planes and candidate corners are
// HALFSPACE nodes; a plane counts the corners that use it (useCount) and is
// dropped once none does, so each new bisector meets only the planes that
// still bound the cell.
//
// Node roles: on a plane, parentA and parentB are its two sites; on a
// corner, parentA and parentB are its two planes and corners[0..3] the
// sites of those planes.
#pragma once

#include <cstdint>

struct HALFSPACE;

// Fills `corners` with the cell of `site` (a node of `sites`). The site list
// is reordered (most distant first, the site's hints at the front) and keeps
// all its sites. Points beyond a plane by more than `tolerance` are outside
// it; corners closer than mergeDistance are one.
void Build_one_vface_using_tangent_planes(HALFSPACE* site, HALFSPACE* sites, HALFSPACE* corners, double tolerance,
                                          double mergeDistance);
// The plane through the midpoint of the two sites with normal other - site:
// points nearer to `other` lie outside.
void Build_a_bisecting_plane(HALFSPACE* site, HALFSPACE* other, HALFSPACE* planeNode);
// Where the new plane, each other plane of the list and the site's tangent
// plane meet: one point each (index -2), appended to newPoints and counted
// on both planes.
void Make_list_of_points_arising_from_new_plane(HALFSPACE* newPlane, HALFSPACE* planes, HALFSPACE* newPoints,
                                                HALFSPACE* site);
// Deletes each new point outside some plane of the list, moving that plane
// to the front so it is tried first for the next point.
void Winnow_new_points_against_old_planes(HALFSPACE* planes, HALFSPACE* newPoints, double tolerance);
// The first plane of the list that the point lies outside of, or null; the
// point's own two planes are not asked.
HALFSPACE* Winnow_one_point_against_all_planes(const HALFSPACE* point, HALFSPACE* planes, double tolerance);
// Deletes every corner outside the plane.
void Winnow_points_against_one_plane(HALFSPACE* corners, const HALFSPACE* plane, double tolerance);
