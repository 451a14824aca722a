// Nets of the tetrahedron cut into sixths (each face's centre, an edge
// midpoint and a corner of that edge), the triangles the tetrahedron warp
// maps: corners in the order centre, edge midpoint, corner.
#pragma once

#include <vector>

#include "lattice_nets.h"

namespace shapes {

struct TetraNets {
  LatticeNet triangle;  // 24 sixths; the solid: 4 corners, 6 edge midpoints, 4 face centres
  std::vector<std::vector<int32_t>> rectangleFaces;  // the same sixths on the triangle's points and 4 more
};

// The triangle: the tetrahedron opened from one corner into one big
// triangle (the three faces round that corner fold down round the fourth).
// The rectangle: the same with the top face cut along its median and each
// half given a half turn about its foot, filling the triangle's sides out
// to a rectangle; it reuses the triangle's points where it can and adds
// the four of the moved halves' cut.
// The tetrahedron is the plug-in's standard one (a corner on +z), the
// triangle's folded corner being that corner.
TetraNets MakeTetraNets();

}  // namespace shapes
