// The pointy net of the catalogue, written by tools/make_shape_tables (see
// pointy_nets.cpp there for what it is). Do not edit.
#pragma once

#include <cstdint>

// Pointy: two opposite lunes, then a copy of each, apart and sky up: the net points
extern const double pointy_Coords2D[16][2];
// Its sectors: sector k is face k, corners centre, edge midpoint, corner
extern const int16_t pointy_Faces2D[32];
// The sphere images of its corners
extern const double pointy_Coords3D[6][3];
// The solid vertex of each net point
extern const int16_t pointy_2D_to_3D[16];
