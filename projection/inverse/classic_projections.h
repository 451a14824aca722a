// projection/inverse/: the inverse map projections and special views, plane point to sphere.
// The classic inverse map projections in one include: the square and
// rectangle conformal maps (Peirce quincuncial and its chevron and bendy
// cuts, Guyou, Adams, the wide rectangle, the ellipse), the equal-area
// square and the Winkel Tripel.
//
// One contract for all of them: a plane point (x, y) in the map's own units
// comes in as two doubles; the caller's outside flag is written 0 when the
// point is on the map and 1 when it is not; the sphere point (float or
// double, as each declares) follows the sphere convention of
// sphere_convention.h. Off the map the sphere point means nothing: the maps
// whose declarations say so set it to (0, 0, 1), the others leave it as it
// was or as far as they got.
//
// Argument lists. The lookup tables these maps read are resident
// (lookup_cache.h) and reached by id, so no map takes the cache pyramid or
// the invocation record the older call sites pass beside it. A few call
// sites also pass numbers that the map never reads; they have no parameter
// here and are dropped at the call:
//   TotalGuyou        the two integers after the cache: the second is the
//                     auxiliary disk point (null), the first is unused
//   TotalWiderect     the trailing k (always 1.0)
//   ChevronPeirce     the integer before the offset (always 0)
//   TotalEqualsquarea the exponent and turn that TotalPeirce has (1.0, 0.0)
// TotalWinkel keeps its own order: plane point, sphere point, outside flag.
// The Lagrange maps (stereographic.h) take the plane point as an fcomplex.
#pragma once

#include "projection/inverse/classic_adams.h"
#include "projection/inverse/classic_cached.h"
#include "projection/inverse/classic_peirce.h"
