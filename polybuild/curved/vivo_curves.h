// The plane templates of the curved elements (unit triangle, square and
// pentagon), the family of edge arcs drawn in their plane, and the frame of
// one element side in space. Every curve is a point of t in [0, 1] and a
// curve style: 1 and 6 square with quarter circles, 7 square with squircle
// arcs, 3 pentagon, every other style triangle with Reuleaux arcs.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

// [0] the centre, [1]..[3] unit points at 90, 210 and 330 degrees.
extern fcomplex Ytriangle[4];
// [0] the origin, [1]..[4] unit points at 90, 180, 270 and 360 degrees.
extern fcomplex Ysquare[5];
// [0] the origin, [1]..[5] unit points at 72, 144, 216, 288 and 360 degrees.
extern fcomplex Ypent[6];

// Fills the templates; runs before any curve is evaluated. Each call writes
// the same values, so builds on several threads may share them.
void MakeVivo2DPoints();

// The Reuleaux arc from Ytriangle[3] to Ytriangle[1] about Ytriangle[2].
fcomplex ReuleaxArc(double t);
// From (1, 0) to (0, 1), bulging outwards by 1/pi at the middle.
fcomplex BCurve_squircle(double t);
// The outer arc of a side.
fcomplex BCurve(double t, int32_t style);
// The outer arc mirrored across its chord: it bulges into the element.
fcomplex ACurve(double t, int32_t style);
// The A arc mirrored across the line from the centre to corner 1: the inner
// arc of the neighbouring side.
fcomplex CCurve(double t, int32_t style);
fcomplex YCurve(double t, int32_t style);
fcomplex ZCurve_square(double t);
fcomplex ZCurve(double t, int32_t style);

// u: unit P -> Q (the side's direction); w: unit from the element centre R
// to the side's midpoint (its outward normal in the element's plane).
void BuildFrame(triplex P, triplex Q, triplex R, triplex* u, triplex* w);
