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
// The cube in eighths as a shuriken: the top face, the four side faces round it and, beyond each,
// the quarter of the bottom face on its far edge. Its first thirty points are the cross's
extern const double shuriken_Coords2D[37][2];
// Its eighths: face centre, edge midpoint, corner
extern const int16_t shuriken_Faces2D[192];
// The cross: the top face and the upper halves of the side faces (the cube's upper half)
extern const int16_t cross_Faces2D[96];
// The cube's corners, edge midpoints and face centres
extern const double shuriken_Coords3D[26][3];
// The cube point of each net point
extern const int16_t shuriken_2D_to_3D[37];
// The tetrahedron in sixths opened into one triangle; the points after the 19th are the
// rectangle's
extern const double conformaltetrahedron_Coords2D[23][2];
// The triangle's sixths (face centre, edge midpoint, corner), face by face, the top face last
extern const int16_t conformaltetrahedron_Faces2D[96];
// The rectangle: the triangle with its top face's halves turned down beside it
extern const int16_t rectangulartetrahedron_Faces2D[96];
// The tetrahedron's corners, edge midpoints and face centres
extern const double conformaltetrahedron_Coords3D[14][3];
// The solid point of each net point
extern const int16_t conformaltetrahedron_2D_to_3D[23];
