// The lattice nets of the catalogue (the octahedron's square, the tetrahedron's
// tile, the icosahedron's sunburst), written by tools/make_shape_tables. Do not edit.
#pragma once

#include <cstdint>

// The octahedron opened from one pole into a square: the net points
extern const double Square_Coords2D[9][2];
// Its faces
extern const int16_t Square_Faces2D[32];
// The octahedron
extern const double Square_Coords3D[6][3];
// The octahedron vertex of each net point
extern const int16_t Square_2D_to_3D[9];
// The tetrahedron's repeating tile, in the sheared plane of the tiling: the net points
extern const double TilingTetrahedron_Coords2D[9][2];
// Its faces
extern const int16_t TilingTetrahedron_Faces2D[32];
// The vertex of Tetranew_Coords3D under each net point
extern const int16_t TilingTetrahedron_2D_to_3D[9];
// The icosahedron as a sunburst: the net points
extern const double sunburst_Coords2D[22][2];
// Its faces; the solid is NewIco's
extern const int16_t sunburst_Faces2D[80];
