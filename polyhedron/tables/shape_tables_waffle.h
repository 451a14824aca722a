// The waffle's and the three-petal floret's nets of the catalogue, written by
// tools/make_shape_tables (see waffle_nets.cpp there for what they are). Do not edit.
#pragma once

#include <cstdint>

// The waffle: a cube in eighths showing the front half of the sphere, and the halves of a second
// one outside it showing the back: the net points (22 and 50 are the marks its sphere map reads)
extern const double waffle_Coords2D[77][2];
// Its eighths: face centre, edge midpoint, corner
extern const int16_t waffle_Faces2D[384];
// The cube's corners, edge midpoints and face centres
extern const double waffle_Coords3D[26][3];
// The cube point of each net point
extern const int16_t waffle_2D_to_3D[77];
// The three-petal floret's net: the quarter of the sphere a petal reads, in a quadrant about the
// zenith (point 0), four times a quarter turn apart (22 and 50 on its highest line)
extern const double trident_Coords2D[67][2];
// Its eighths: face centre, edge midpoint, corner
extern const int16_t trident_Faces2D[384];
// The quarter's cube points
extern const double trident_Coords3D[17][3];
// The cube point of each net point
extern const int16_t trident_2D_to_3D[67];
