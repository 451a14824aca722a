// Adams' world in a square and the maps built on it: the square onto the
// unit disk (Peirce table), the disk onto a hemisphere, and the hemisphere
// opened to the whole sphere by the Lagrange power 2.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

// The square [-0.5, 0.5]^2. Variant 1 puts the poles at two opposite
// corners ((-0.5, -0.5) north), variants 2 and 3 at the middles of the top
// and bottom edges ((0, -0.5) north). aux, when not null, receives the disk
// point ((0, 0) off the map).
void TotalAdams(double x, double y, uint8_t* outside, double point[3], int32_t variant, fcomplex* aux);

// The whole sphere in the rectangle [-0.5, 0.5] x [-0.25, 0.25], the poles
// at the middles of its long edges ((0, -0.25) north): one hemisphere of the
// Adams square, turned a quarter, opened to the whole sphere and slid along
// the disk.
void TotalWiderect(double x, double y, uint8_t* outside, double point[3]);

// The whole sphere in an ellipse with foci (-0.5, 0) and (0.5, 0) and
// semi-axes of about 0.662 and 0.434, the poles at the ends of the minor
// axis ((0, -0.434) north): the arcsine opens the ellipse to a rectangle,
// which the Adams square carries.
void TotalEllipse(double x, double y, uint8_t* outside, double point[3]);
