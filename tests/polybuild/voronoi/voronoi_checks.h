// Independent checks of a spherical Voronoi solid: the diagram from the
// sites' convex hull (qconvex: the hull facets' outward normals are the
// Voronoi vertex directions), and the solid's own closure and counts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "polyhedron/polyhedron_record.h"
#include "voronoi_lists.h"

// The site set a shape code builds, less the sites the build merges away.
std::vector<Vec3> EffectiveSites(int32_t shapeCode);
std::vector<Vec3> ListPoints(HALFSPACE* list);

// Outward unit normals of the hull facets of the points, from qconvex.
// Empty when qconvex could not be run.
std::vector<Vec3> HullFacetNormals(const std::vector<Vec3>& points);

// Every face edge linked to a neighbour, Euler's formula, no repeated
// faces.
testing::AssertionResult SolidIsClosed(const polyhedron* poly);
// Distinct points carried by the faces (one per cell).
int32_t CellCount(const polyhedron* poly);
