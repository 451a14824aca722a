// The first rhombus: the sphere in four sectors, each a sixth of the
// triangle whose conformal disk image, cubed, is a quarter of the sphere.
// Sectors 0 and 1 fill one hemisphere round one pole (their centre corner),
// 2 and 3 the other; the rims (edge midpoint to corner) are the equator.
//
// Laid flat, every sector the mirror image of its neighbour across the edge
// they share on the sphere, the four make one rhombus of angles 120 and 60
// degrees: the poles at its obtuse corners, the equator along its long
// diagonal, and its four sides on the one meridian the net is cut along.
// That is five net points; the catalogue's count of eleven would take the
// four triangles nearly apart (four triangles in one piece have at most six
// corners), a seam along each cut, so the count kept is five.
#pragma once

#include <array>
#include <vector>

#include "sector_nets.h"

namespace shapes {

SectorLayout RhombusLayout();

// The four sectors laid out: 1 across the centre edge of 0, 3 and 2 across
// the rims of 0 and 1. The two hemispheres' rims agree only to about 2e-4
// (the cubing triples the table's error), above the general joining
// tolerance, so the joins are checked here at 1e-3, well under half a
// pixel of a 1024-pixel map. Aborts when a join does not hold.
std::vector<std::array<cplx, 3>> PlaceRhombus(const SectorLayout& layout, const SectorImages& images);

}  // namespace shapes
