// Inverse projections read straight from a resident lookup table: the
// equal-area square and the Winkel Tripel.
#pragma once

#include <cstdint>

// The equal-area square [-1, 1]^2: the inner diamond is the hemisphere about
// +z, the corners the pole -z, plane +x goes to sphere -x and plane +y to
// sphere -y. Off the square the point becomes (0, 0, 1).
void TotalEqualsquarea(double x, double y, uint8_t* outside, float point[3]);

// The Winkel Tripel (standard parallel arccos(2/pi)) on the unit sphere,
// turned a half-turn: plane +x is west and plane +y south. The map spans
// |x| <= pi/2 + 1, |y| <= pi/2; points in that box beyond the map's outline
// are outside too.
void TotalWinkel(double x, double y, float point[3], uint8_t* outside);
