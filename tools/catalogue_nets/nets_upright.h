// Laying a net the right way up. The renderer shows solid point p in the
// sphere direction M p, M = diag(ab, a, 1) with a = -1 under mirrorFlipA and
// b = -1 under mirrorFlipB, and a picture's rows grow with the net's y. A
// net is upright when the face that shows the front of the sphere (+z) shows
// it with the zenith (+y) straight up the picture, towards the net's -y: the
// panorama then reads the right way up there, as the cube crosses do, whose
// sky cell sits above the front and is read back so by the cross input
// layouts.
#pragma once

#include <cstdint>

#include "nets_common.h"

namespace nets {

// Whether the catalogue gives shape code `shapeCode` mirrorFlipA, the flag
// that turns the zenith onto the solid's -y (mirrorFlipB only flips x, which
// leaves the front and the zenith where they are).
bool ZenithOnMinusY(int32_t shapeCode);

// The turn (radians, counter-clockwise in the net's axes) that would make
// the net upright. Row k must show solid face face3D[k] from its corner
// offset[k].
double UprightTurn(const CatalogueSolid& solid, const Net& net, bool zenithOnMinusY);

// Turns the net by UprightTurn about the origin and moves its box to start
// at (0, 0).
void TurnUpright(const CatalogueSolid& solid, Net* net, bool zenithOnMinusY);

}  // namespace nets
