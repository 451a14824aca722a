// The first rhombus's sector net, written by tools/make_shape_tables (see rhombus_net.h).
// Do not edit.
#pragma once

#include <cstdint>

// The first rhombus: four sectors, a hemisphere above and one below its long diagonal: the net points.
extern const double rhombus_Coords2D[5][2];
// The first rhombus: four sectors, a hemisphere above and one below its long diagonal: sector k is face k, corners centre, edge midpoint, corner.
extern const int16_t rhombus_Faces2D[16];
// The first rhombus: four sectors, a hemisphere above and one below its long diagonal: the sphere images of the net's corners.
extern const double rhombus_Coords3D[4][3];
// The first rhombus: four sectors, a hemisphere above and one below its long diagonal: the solid vertex of each net point.
extern const int16_t rhombus_2D_to_3D[5];
