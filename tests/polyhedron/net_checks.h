// Checks of an unfolded net that do not go through the code under test:
// polygon clipping for overlaps, lengths and angles from the coordinates,
// and a shuffled copy of a net for the correspondence search.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "polyhedron/polyhedron_record.h"

using Polygon2D = std::vector<std::pair<double, double>>;

// The net points of a 2D face (double coordinates), in corner order.
Polygon2D NetFacePolygon(const polyhedron* poly, int32_t face2D);
// Twice the signed area: positive when counter-clockwise.
double SignedArea2(const Polygon2D& p);
// Area of the intersection of two convex counter-clockwise polygons.
double ConvexOverlapArea(const Polygon2D& a, const Polygon2D& b);

// Every check that holds for any net the unfolding makes of a closed convex
// solid: every solid face shown once, fragments within limits, each net face
// congruent to its solid face and counter-clockwise, the cached 3D vertex of
// every net corner right, every net link on a joined solid edge, and no two
// net faces overlapping.
testing::AssertionResult NetIsSound(const polyhedron* poly);

// Copies the solid of `from` into `to` (which must own its arrays) and its
// net as a stored net would come: faces in a shuffled order, each face's
// corners turned by a pseudo-random step, 2D vertices renumbered, no link to
// the solid. Then the net's links, counts and angles are built.
// shuffledOf[j] is the face of `from` that face j of `to` copies, and
// turnOf[j] the corner of it that became corner 0.
void CopyAsStaticNet(const polyhedron* from, polyhedron* to, uint32_t seed, std::vector<int32_t>* shuffledOf,
                     std::vector<int32_t>* turnOf);
