// The graticule and the Tissot circles: contours of values that the inverse
// mapping left at every corner (the equirectangular longitude and latitude,
// the squared chord distance to the nearest circle centre), drawn on the
// main thread between a row's corner mapping and its pixels.
#pragma once

#include <cstdint>

struct ColumnRecord;
struct vort;

// The graticule's band count N for a setting: lines every 180/N degrees of
// latitude and of longitude (36, 30, 18, 12, 6 and 4 for settings 2 to 7,
// that is 5, 6, 10, 15, 30 and 45 degrees); 0, no graticule, for any other
// setting (1 is the setting for "off").
int32_t GraticuleLinesPerTurn(int32_t graticule);

// Graticule of pixel x of row y into gridCoverage. u and v hold the corners'
// gridU and gridV in the order upper-left, upper-right, lower-left,
// lower-right; a corner the mapping gave no longitude and latitude (-1)
// draws nothing.
void thegrid(const float u[4], const float v[4], int32_t y, int32_t x, int32_t width, int32_t slotNow,
             int32_t slotNext, int32_t graticule, ColumnRecord* records);

enum TissotPass : int32_t { TissotPass_Circles = 0, TissotPass_ScissorMarks = 1 };

// Tissot circles (or the scissor marks of the output polyhedron) of pixel x
// into tissotCoverage, from the corners in reply slot `replySlot` (the lower
// corner row) and the other slot (the upper one) of records x and x + 1.
void thetissotgrid(int32_t replySlot, int32_t x, int32_t slotNow, int32_t slotNext, ColumnRecord* records,
                   const vort& view, TissotPass pass);
