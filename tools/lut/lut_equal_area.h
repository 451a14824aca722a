// The equal-area square ("peirceoid"), our own definition since no
// standard one is implied: the octahedral equal-area map of the square
// [-1, 1]^2 onto the whole sphere in the quincuncial arrangement. The inner
// diamond |x| + |y| <= 1 is the front hemisphere about +z, the four corner
// triangles the back one (the corners are the back pole), and the square's
// edges fold at their midpoints as the conformal quincuncial map's do.
//
// In the quadrant x, y >= 0 with r = x + y <= 1 and t = y / r:
//   cos(theta) = 1 - r^2,   psi = t * pi / 2,
// a ring |x| + |y| = r carries the area of the cap it bounds (area element
// r dr dt on the square, sin(theta) dtheta dpsi = 2 r dr (pi/2) dt on the
// sphere: the constant factor pi = 4 pi / 4). A point beyond the diamond is
// first mirrored in the line x + y = 1, (x, y) -> (1 - y, 1 - x), and lands
// on the back hemisphere. The sphere point is (-sin(theta) cos(psi),
// -sin(theta) sin(psi), cos(theta)): plane +x goes to sphere -x, as in the
// quincuncial maps of this system.
#pragma once

namespace lut {

void EqualAreaSquareToSphere(double x, double y, double p[3]);

}  // namespace lut
