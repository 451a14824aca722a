// Routes of the conformal and table-driven maps: the Lagrange family, the
// Robinson table, the stereographic compositions, the thorn sheets, the
// unfished sheet, Adams, the Peirce family and its cuts, Guyou, the wide
// rectangle, the ellipse, the Malta crosses, the equal-area square and the
// two square fisheyes. Each prepares the plane
// point, calls the inverse projection with the mode's fixed numbers and, for
// some modes, turns the sphere point afterwards. Each has the one route shape
// of output_modes.h.
//
// The plane is the framing box's own: the maps whose box does not sit on the
// origin (Adams, wide rectangle, ellipse) move the box centre onto the map's
// centre before the call. Two routes (85, 88) scale by the output's unit
// coordinates, which they take back from the plane through the view's
// framing record.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

struct RouteMarks;
struct vort;

void Route_Lagrange2(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);          // 69
void Route_Robinson(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);           // 80
void Route_StereoPerspective(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);  // 82
void Route_ThornSheet(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);         // 83
void Route_Lagrange43(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);         // 84
void Route_StereoGrowing(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);      // 85
void Route_UnFish(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);             // 88
void Route_ThornSheet2(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);        // 87
void Route_Lagrange2Open(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);      // 89
void Route_AdamsCorners(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);       // 90
void Route_AdamsEdges(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);         // 91
void Route_Peirce92(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Peirce93(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_PeirceQuincuncial(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);  // 94
void Route_Peirce95(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Peirce96(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);
void Route_Guyou(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);          // 99
void Route_DoubleGuyou(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);    // 118
void Route_WideRectangle(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);  // 119
void Route_Semicircle(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);     // 120
void Route_Ellipse(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);        // 121
void Route_Chevron(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);        // 128
void Route_Malta(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);          // 130-133
void Route_StereoTwice(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);    // 135
void Route_StereoThrice(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);   // 136
void Route_EqualAreaSquare(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);  // 140
void Route_SquareFish1(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);      // 141
void Route_SquareFish2(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*);      // 142
