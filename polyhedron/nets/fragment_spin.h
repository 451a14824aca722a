// Spinning net fragments before the layout sets them side by side: each
// fragment is turned about the origin of the net plane by an angle of its
// own, chosen by polyhedron.spinStyle, so that every piece stands in a set
// attitude. Angles are counterclockwise (y up) and hull angles are those of
// hull_calipers.h.
//
//   0     narrowest width along x: π/2 - minAngle of the fragment's calipers
//   1, 2  no spin: nothing is chosen and nothing moves
//   3     the corner nearest a pole of the solid straight below the hull mean
//   4     the corner farthest from the hull mean straight below it
//   5     narrowest width along y: -minAngle
//   6     narrowest width at 45 degrees: π/4 - minAngle
//   other 0 for every fragment
#pragma once

#include <cstdint>

#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/complex_math.h"

// Chooses fragmentSpin[first..last] and turns the fragments. A net of
// nineteen fragments or more (last = 19) is never spun.
void SpinFragmentsFelicitously(polyhedron* poly, int32_t first, int32_t last);
// The spin that brings the fragment's extremal corner (by 3D height for
// style 3, by distance from the hull mean for style 4) straight below the
// mean of its hull.
double AngleForExtremumSpin(polyhedron* poly, int32_t fragment);
// The mean of the list's points (not the centroid of the hull's area);
// (0, 0) for an empty list.
fcomplex FindMeanOfConvexHull(HALFSPACE* list);
// The point farthest from centre; within half a percent the one with the
// smaller hull angle of its own position. The first element for a list
// whose points all sit on the centre; null for an empty list.
HALFSPACE* Find2DDistanceExtremumAmongPointlist(const polyhedron* poly, HALFSPACE* list, fcomplex centre);
// The point whose solid vertex lies nearest a pole (largest |y|), within one
// percent the one of smaller azimuth; upper tells which pole. A point whose
// 2D vertex has no solid vertex is passed over. Null for an empty list.
HALFSPACE* Find3DVerticalExtremumAmongPointlist(const polyhedron* poly, HALFSPACE* list, uint8_t* upper);
// Turns every used 2D vertex of fragments 0..19 by its fragment's spin about
// the origin (double net coordinates only; the render points are fitted
// later).
void SpinAllFragments(polyhedron* poly);
