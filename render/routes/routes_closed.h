// render/routes/: each output mode's route from an output pixel to a direction on the sphere.
// Routes of the whole-sphere map projections whose inverse is written out in
// closed form: equirectangular, mirror ball, the polar family, half-polar,
// orthographic, Hammer, Werner, sinusoidal, cylindrical, two circles and
// Mollweide, and the Winkel Tripel, whose inverse is a resident table. Each
// has the one route shape of output_modes.h.
//
// The plane units are the ones the framing boxes are given in; several
// routes read the doubled plane point (2x, 2y) in single precision. East is
// to the right and south is down: the input side reads an equirectangular
// picture mirrored, so a route's sphere point carries the longitude of the
// input point with its sign turned.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

struct RouteMarks;
struct vort;

void Route_Equirectangular(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_MirrorBall(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Polar(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Magnipolar(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Annulus(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_HalfPolar(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Orthographic(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Hammer(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Werner(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Sinusoidal(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Cylindrical(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_TwoCircles(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Mollweide(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_WinkelTripel(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
