// The 2D convex hull of a point list, built in place, and its rotating-
// caliper measures: the narrowest width (with the caliper rotation at which
// it was met) and the diameter. The fragment layout turns each net fragment
// by these before setting it in the row.
//
// Hull angle of a plane vector (dx, dy): -atan2(dx, dy), plus 2π when
// negative; the counterclockwise angle from +y (y up), in [0, 2π). Only x
// and y of the points take part in the hull and the angles; distances use
// all three coordinates (the fragment lists built here have z = 0).
#pragma once

#include <cstdint>

#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/complex_math.h"

double HullAngle(double dx, double dy);

struct CaliperResult {
  HALFSPACE* minPointA;  // under the first caliper at the last lowering of minWidth
  HALFSPACE* minPointB;  // under the second caliper then
  HALFSPACE* maxPointA;  // the widest antipodal pair
  HALFSPACE* maxPointB;
  double minWidth;  // starts at 99999999999999.0
  double maxWidth;  // starts at -1
  // Unit vector across the narrowest width, from the vertex on one caliper to
  // the nearest point of the edge flush with the other; starts at (1, 0).
  fcomplex minDirection;
  // Unit vector from maxPointA to the hull vertex before it, when the
  // diameter was last raised; starts at (1, 0).
  fcomplex maxEdgeDirection;
  int32_t lastSide;  // caliper that advanced at the last update: 0 first, 1 second
  double minAngle;   // total caliper rotation at the last lowering of minWidth
};

// Turns the list into its convex hull in place: counterclockwise (y up), the
// highest point (the pivot) first, every point on a straight stretch of the
// boundary removed. A list of three or fewer elements stays as it is. `mode`
// is not consulted.
void BuildConvexHull_core(HALFSPACE* list, int16_t mode);
// The deletion scan of the hull build, from `start` round to `pivot`.
void grahamScan(HALFSPACE* start, HALFSPACE* pivot);
// Deletes every vertex whose two edges have exactly the same hull angle.
void delete_collinears_by_angle(HALFSPACE* list);
// Rotating calipers over a hull built by BuildConvexHull_core, from flush
// with the lowest and the highest vertex through half a turn. An empty list
// leaves the start values with null points. `mode` is not consulted.
void get_min_and_max_width_of_pointlist(HALFSPACE* hull, CaliperResult* result, int16_t mode);
// Records one antipodal pair: side 0 when the first caliper (at a) lies
// flush with the edge ending at a, 1 when the second lies flush with the
// edge ending at b; angle is the total rotation so far.
void DeclareAntipodes(HALFSPACE* a, HALFSPACE* b, CaliperResult* result, int32_t side, double angle);
// The hull of net fragment `fragment` (its used 2D vertices, collected from
// the highest number down) measured into result. Returns 1; a fragment
// without vertices leaves the start values with null points.
uint8_t BuildConvexHullOfFragmentAndMeasureIt(const polyhedron* poly, int32_t fragment, CaliperResult* result);

// The used 2D vertices of one fragment as a point list (x, y, 0) under the
// given head, the index of each its 2D vertex number, each added as the new
// first element. The caller disposes the elements.
void CollectFragmentPoints(const polyhedron* poly, int32_t fragment, HALFSPACE* head);
