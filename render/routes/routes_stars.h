// Routes of the layouts that cut the sphere into pieces laid side by side:
// globe gores (inverse polyconic strips, partial sets, the umbrella and the
// ellipsoid and egg profiles), the three- and five-armed stars, and the
// sphere unrolled onto two or three perpendicular cylinders. Each has the
// one route shape of output_modes.h.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

struct RouteMarks;
struct vort;

// Gore modes 36, 37, 38, 53, 61, 63, 73, 74 and 1044 by vort.outputMode.
void Route_Gores(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
// Builds the arc-length table of the ellipsoid and egg gores (73, 74) for
// the view's shape factor; main thread, before the row's tasks start.
void PrefillGoreProfile(const vort& view);
// Star modes 48 (three arms) and 49 (five arms) by vort.outputMode.
void Route_Star(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
// Floret modes whose petals need no polyhedron (sprockets, clovers, calyxes,
// incurvates), by vort.outputMode.
void Route_Floret(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_TwoCylinders(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_ThreeCylinders(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);

// The latitude of the inverse polyconic projection (central latitude 0) at
// the point (x, y), by at most ten Newton steps in single precision.
float InversePolyconicLatitude(float x, float y);
