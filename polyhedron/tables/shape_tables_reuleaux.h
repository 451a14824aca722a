// The Reuleaux nets of the catalogue, written by tools/make_shape_reuleaux. Do not edit.
#pragma once

#include <cstdint>

// One face of the Reuleaux tetrahedron in the plane of its stereographic picture: centre, arc
// midpoints and the corners of the triangle touching the arcs, at heights that put the face's edge
// for the nearest-corner test on the chords from each arc midpoint to the Reuleaux corners
extern const double ReuleauxTetrahedron_Coords3D[7][3];
// The face point under each point of the tetrahedron in sixths (the catalogue's numbering)
extern const int16_t ReuleauxTetrahedron_2D_to_3D[19];
// One face, a corner down: the net points
extern const double Reuleaux1_Coords2D[7][2];
// Its sectors: centre, arc midpoint, corner
extern const int16_t Reuleaux1_Faces2D[24];
// The face point under each net point
extern const int16_t Reuleaux1_2D_to_3D[7];
// Two faces side by side on the tetrahedron in sixths' numbering (points 8 to 15 unused)
extern const double Reuleaux2_Coords2D[19][2];
// The middle face's sectors, then those of the face beyond its edge E F
extern const int16_t Reuleaux2_Faces2D[48];
// The tetrahedron in sixths with each face a Reuleaux face, the big triangle's point down and its
// middle face at the origin (the rows are conformaltetrahedron_Faces2D)
extern const double Reuleaux4_Coords2D[19][2];
// Eight faces on the octahedron's, as an interrupted map: the four round the top pole in a row, each
// over the face beyond its lower edge; the net points
extern const double Reuleaux8_Coords2D[56][2];
// Its sectors: centre, arc midpoint, corner
extern const int16_t Reuleaux8_Faces2D[192];
// The face point of ReuleauxTetrahedron under each net point
extern const int16_t Reuleaux8_2D_to_3D[56];
// One face of the octahedron in the plane of its stereographic picture: centre, arc midpoints and
// the corners of the triangle touching the arcs
extern const double OctreleauxOctahedron_Coords3D[7][3];
// The eight faces of the octahedron laid out as Reuleaux 8's
extern const double Octreleaux_Coords2D[56][2];
// Its sectors: centre, arc midpoint, corner
extern const int16_t Octreleaux_Faces2D[192];
// The face point under each net point
extern const int16_t Octreleaux_2D_to_3D[56];
