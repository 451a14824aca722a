// Nets on a plane lattice whose faces the renderer draws straight (or
// through a whole-face warp): the octahedron in a square, the tetrahedron's
// repeating tile, and the icosahedron's sunburst.
#pragma once

#include <vector>

#include "sector_nets.h"

namespace shapes {

struct LatticeNet {
  std::vector<cplx> points;
  std::vector<std::vector<int32_t>> faces;  // 0-based
  std::vector<Dir3> solid;                  // empty: the solid is borrowed
  std::vector<int32_t> solidOf;             // empty: no 2D-to-3D map
};

// The octahedron opened from one pole: the pole at the centre of a square,
// the equator on the midpoints of its sides, the other pole on its four
// corners. 8 faces, 9 points.
LatticeNet SquareOctahedron();

// The tetrahedron's tile of the plane in sheared coordinates (the renderer
// shears the plane back so the faces are equilateral): a 2 x 2 block of
// squares cut along one diagonal, the solid vertex of lattice point (i, j)
// being (i mod 2) + 2 (j mod 2), so the block repeats in both directions.
// 8 faces, 9 points, on the 4 vertices of the catalogue's tetrahedron.
LatticeNet TetrahedronTile();

// The icosahedron as a sunburst: the five faces round one vertex as a fan,
// and from each of them a ray of three more faces (the band face across its
// outer edge, the band face beside that, the far cap face beyond). 20
// faces, 22 points; the solid and its rows are the catalogue's icosahedron.
LatticeNet IcosahedronSunburst();

}  // namespace shapes
