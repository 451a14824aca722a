// The cube stood on a corner in eighths (the zigzag and the monozag), written by
// tools/make_shape_tables. Do not edit.
#pragma once

#include <cstdint>

// The cube in eighths stood on a corner. First the zigzag: its six faces in one band, the three
// round the sky's corner along the top, the three round the ground's below, each joined to the
// next along the zigzag of edges between them. Then the monozag's own points
extern const double zigzag_Coords2D[60][2];
// The zigzag's eighths: face centre, edge midpoint, corner
extern const int16_t zigzag_Faces2D[192];
// The monozag: the half of the cube its stretch opens to the whole sphere (cut through the top and
// bottom corners along two face diagonals and two edges), a stretch of the band turned an eighth so
// that the two cut edges, where the poles lie, run level
extern const int16_t monozag_Faces2D[96];
// The cube's corners, edge midpoints and face centres
extern const double zigzag_Coords3D[26][3];
// The cube point of each net point
extern const int16_t zigzag_2D_to_3D[60];
