// Peirce quincuncial and the maps cut from it (chevron, bendy), and Guyou:
// the conformal map of a square onto the unit disk, read from the Peirce
// table, followed by the inverse stereographic projection.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

// The unit square [0, 1]^2 onto the unit disk, conformally: the centre to
// 0, the corners to 1, i, -1 and -i ((1, 0) to 1, (1, 1) to i).
fcomplex PeirceInverseMagically(fcomplex z);

// The quincuncial square [-1, 1]^2: the inner diamond |x| + |y| <= 1 is the
// hemisphere about +z, the four corner triangles the one about -z; plane +x
// is west and plane +y south. The disk point is raised to exponent and
// turned by turn (radians) before it goes to the sphere; 1 and 0 give the
// plain Peirce quincuncial. Off the square, its rim included, the point
// becomes (0, 0, 1).
void TotalPeirce(double x, double y, uint8_t* outside, float point[3], double exponent, double turn);

// The quincuncial square shifted by (dx, dy), turned an eighth and opened by
// the power 4/3, with a quarter of it (the chevron's notch) outside.
void ChevronPeirce(double x, double y, uint8_t* outside, float point[3], double dx, double dy);

// The quincuncial square shifted by (dx, dy), scaled by 1/scale, turned by
// turn and bent by the power n (the map undoes it with 1/n). Variants 5 and
// 6 also turn the sectors on either side of the downward axis; any other
// variant leaves them.
void BendyPeirce(double x, double y, uint8_t* outside, float point[3], double n, int32_t variant, double turn,
                 double scale, double dx, double dy);

// Two squares side by side on [-1, 1] x [-0.5, 0.5]: the left one is the
// hemisphere about +x, the right one the hemisphere about -x; the centre
// (0, 0) is the picture centre, and each square has the north pole at the
// middle of its top edge (y = -0.5) and the south pole at the middle of its
// bottom edge. aux, when not null, receives the disk point of the square
// ((0, 0) off the map).
void TotalGuyou(double x, double y, uint8_t* outside, float point[3], fcomplex* aux);
