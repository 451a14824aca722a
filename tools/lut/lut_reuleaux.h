// Conformal maps of the Reuleaux triangle.
//
// The Reuleaux triangle is the stereographic picture of a face of the
// spherical tetrahedron: seen from the face's antipode, each edge's great
// circle becomes a circle that meets the equator in two opposite points,
// and for the tetrahedron's face that circle is centred on the opposite
// corner and passes through the other two: the Reuleaux arc. So the
// Reuleaux triangle is conformally the tetrahedron's face, and its maps to
// the disk and to the octahedron's face go through the flat triangle that
// the tetrahedron's face map (lut_polyhedra.h) unrolls it to.
//
// Frame (stereographic coordinate about the face centre, tan of half the
// polar angle): corners at the azimuths 0, 120 and 240 degrees and radius
// tan(acos(1/3) / 2) = 1/sqrt(2); arc midpoints at 60, 180 and 300 degrees.
//
// The net's sector triangle of a Reuleaux layout is the sixth of the
// equilateral triangle that touches the arcs at their midpoints: the centre
// O, the arc midpoint M (azimuth 60 degrees) and the corner T of that
// triangle on the ray to the Reuleaux corner (azimuth 0), where the tangent
// at M meets it. Points of the sector beyond the arc are carried over by
// the mirror in the arc (an inversion), which matches the mirror of the
// disk in its rim and of the sphere in the edge's great circle.
#pragma once

#include "lut_schwarz.h"

namespace lut {

struct ReuleauxSector {
  cplx centre, arcMidpoint, corner;  // O, M, T
};

ReuleauxSector TheReuleauxSector();

// The unit-disk point of a stereographic point of the Reuleaux plane; the
// arc midpoint at 60 degrees goes to e^(i pi/3), the Reuleaux corner at 0
// to 1.
bool ReuleauxToDisk(cplx p, cplx* w);

// The unit-sphere point on the octahedron's face (centre +z, corners at the
// azimuths 0, 120 and 240 degrees) of a stereographic point of the Reuleaux
// plane.
bool ReuleauxToOctahedronFace(cplx p, double sphere[3]);

}  // namespace lut
