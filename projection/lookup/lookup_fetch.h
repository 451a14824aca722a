// Cached lookups of the inverse projections that have no closed form. Each
// takes a unit coordinate pair z (the table's grid spans [0, 1]^2), reads
// its resident table (lookup_cache.h) with linear interpolation and returns
// channel 0 as the real part and channel 1 as the imaginary part.
//
// A point outside [0, 1]^2 reads the clamped edge of the grid. A z with a
// part that is infinite or not a number has no place on the grid and gives
// the zero result ((0, 0), (0, 0, 0); the sphere cube also writes the pole
// (0, 0, 1)), as does the general fetch given a description that is not the
// one its id names. Safe to call from any thread.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

// The fetch with a caller-given table and its description (size N, shape,
// length in floats, form; see lookup_grid.h), read with the simplicial
// reader; the id must name that very table.
fcomplex FetchFromCache_general_simplex(fcomplex z, int32_t cacheId, int32_t n, int32_t shape, const float* table,
                                        int32_t tableFloats, int32_t form);

// The square [-1, 1]^2 onto the unit disk, corners to e^(i pi/4) and its
// turns, on the quarter [0, 1]^2 (bilinear).
fcomplex FetchFromCache_Peirce(fcomplex z);
// The regular polygons of inradius 1 onto the unit disk, each on one sector
// triangle: centre b0, edge midpoint b1, corner b2, and z = (b0, b2). The
// edge midpoint keeps its place on the rim; the corner lies clockwise of it:
//   decant    pentagon tenth    midpoint at 180 degrees, corner at 144
//   sextant   triangle sixth    midpoint at 180 degrees, corner at 120
//   dodecant  hexagon twelfth   midpoint at  30 degrees, corner at   0
//   nuoctant  square eighth     midpoint at  45 degrees, corner at   0
// Past the hypotenuse (b1 < 0) the sextant and dodecant hold (-1, -1).
fcomplex FetchFromCache_decant(fcomplex z);
fcomplex FetchFromCache_sextant(fcomplex z);
fcomplex FetchFromCache_dodecant(fcomplex z);
fcomplex FetchFromCache_nuoctant(fcomplex z);
// Barycentric warps of polyhedron faces (see conformal_warp.h).
fcomplex FetchFromCache_tetfacesextant(fcomplex z);
fcomplex FetchFromCache_octaface(fcomplex z);
fcomplex FetchFromCache_ConformalDodecDecant(fcomplex z);
// The Reuleaux triangle onto the octahedron's face (x and y of the sphere
// point, face centre +z, corners at 0, 120 and 240 degrees) and onto the
// unit disk (corners to 1, e^(2i pi/3), e^(4i pi/3)), on the sector: centre
// b0, arc midpoint b1 (at 60 degrees), and b2 the corner of the equilateral
// triangle that touches the arcs at their midpoints (at 0 degrees, beyond
// the Reuleaux corner); z = (b2, b0). A layout's sector triangles must have
// that shape: angles of 60, 90 and 30 degrees at b0, b1 and b2.
fcomplex FetchFromCache_ReuleauxSextantToOctoface(fcomplex z);
fcomplex FetchFromCache_ReuleauxSextantToCircle(fcomplex z);
// Inverse Winkel Tripel: z = (|x| / (pi/2 + 1), |y| / (pi/2)) of a plane
// point gives (|lambda|, |phi|); lambda > pi beyond the map's outline.
fcomplex FetchFromCache_Winkel(fcomplex z);
// The unit-sphere point of the equal-area square's quadrant z = (|x|, |y|):
// the inner diamond is the hemisphere about +z, the corner (1, 1) the pole
// -z, and plane +x goes to sphere -x.
triplex FetchFromCache_Equalsquarea(fcomplex z);

// The cube's flat face [-1, 1]^2 (any quadrant: z is folded into the octant
// the table holds) onto its face on the sphere: writes the sphere point
// (x, y, z) and returns its central view (-x / z, -y / z), the flat face
// coordinate of that sphere point.
fcomplex FetchFromCache_spherecube(fcomplex z, float point[3]);
