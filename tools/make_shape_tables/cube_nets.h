// Nets of the cube cut into eighths (each face's centre, an edge midpoint
// and a corner of that edge), the triangles the cube warp maps: corners in
// the order centre, edge midpoint, corner.
#pragma once

#include <vector>

#include "lattice_nets.h"

namespace shapes {

struct CubeNets {
  LatticeNet shuriken;             // 48 eighths; its solid the cube's 26 points
  std::vector<std::vector<int32_t>> crossFaces;  // 24 eighths on the shuriken's points
};

// The shuriken: the top face with the four side faces round it, and on each
// side face's far edge the quarter of the bottom face beyond it, a point.
// The cross: the top face and the upper halves of the four side faces (the
// cube's upper half, which the segment stretch opens to the whole sphere),
// on the shuriken's points, numbered so the cross uses the first thirty.
CubeNets MakeCubeNets();

}  // namespace shapes
