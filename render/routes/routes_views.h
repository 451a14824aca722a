// Routes of the perspective and decorative views and of the sheets that the
// renderer draws itself: rectilinear and shift lens, hyperbolic,
// stereographic, the bent polar and mirror-ball layouts (Wetch, pinwheel,
// lozenge, curvy, goggles, quasar, loop, Omnimax), the blends of a polar and
// a straight view (swoop, oculus), panels of straight views, Mercator-type and
// equal-area strips, the complex-power sheets, the zenith-and-nadir pair, the
// cylindrical Panini view and the polar disc. Each has the one route shape of
// output_modes.h.
//
// Several routes are defined on the output's unit coordinates (u, v) rather
// than on the plane; they recover them from the plane point through the
// view's framing record, which is the exact inverse of the plane mapping.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

struct RouteMarks;
struct vort;

// Perspective and decorative views.
void Route_Rectilinear(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);  // 14 and 60
void Route_Hyperbolic(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Stereographic(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Wetch(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Pinwheel(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Lozenge(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Curvy(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Goggles(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Quasar(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Loop(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Omnimax(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);

// Sheets and special views.
void Route_Swoop(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Oculus(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Triptych(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Tetraptych(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Mercator(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Hyperdouble(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Hypertriple(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_MercatorCross(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_MercatorStar(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_EquiTall(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_EqualAreaCylinder(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
// The two halves of the sheet are forced into regions 1 (zenith, left) and
// 2 (nadir, right).
void Route_ZenithNadir(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
// One straight view through each face of the view's solid, in a grid of
// cells; each cell is the region of its own number.
void Route_MultiView(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks* marks);
void Route_Panini(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
// The folding sphere's tabs (region -7) and glue strips (-9, glue mark 1);
// the margin before the first tab is outside and painted in the first colour.
void Route_FoldingSphere(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Disc(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);

// The output's unit coordinates of a plane point of the view's framing.
void UnitOfPlane(fcomplex plane, const vort& view, double* u, double* v);
