// The shark florets' petal solid and net (shape 65), written by
// tools/make_shark_net.py (see there for what they are). Do not edit.
#pragma once

#include <cstdint>

// The icosahedron of shape 17, turned so that a shark petal sees an edge's
// midpoint at its pole
extern const double shark_Coords3D[12][3];
// Its net: the half sphere a petal reads right of x = 0, the rest left
extern const double shark_Coords2D[22][2];
// Net face k folds onto face k of the icosahedron's rows, corner by corner
extern const int16_t shark_Faces2D[80];
// The solid vertex of each net point, which pairs the rows without a search
extern const int16_t shark_2D_to_3D[22];
