// The conformal map between a face of a regular polyhedron on the unit
// sphere and the same face laid flat, for the five Platonic solids.
//
// Frame: the face centre is the pole +z; the face's corners lie at the polar
// angle `cornerAngle` and the azimuths cornerAzimuth + 2 pi k / n. The flat
// face is the regular n-gon with the corners e^(i(cornerAzimuth + 2 pi k/n))
// (circumradius 1), the orthographic view of the polyhedron's face scaled by
// 1 / sin(cornerAngle).
//
// The map from the sphere, in the stereographic coordinate
// s = (x + iy) / (1 + z), to the flat surface of the polyhedron is
//   dF/ds = A * prod over vertices v of (1 - s/v)^(-defect(v) / 2pi),
// a flat metric with a cone point at every vertex. It is fixed by its
// symmetry; A puts the flat edge midpoints where the polygon has them.
#pragma once

#include "lut_schwarz.h"

namespace lut {

enum class Solid { Tetrahedron, Cube, Octahedron, Dodecahedron, Icosahedron };

struct FaceMap {
  SymmetricIntegral flat;
  int n = 3;
  double cornerAngle = 0.0;
  double cornerAzimuth = 0.0;
  double corners3D[5][3] = {};  // the face's corners on the unit sphere
  cplx cornersStereo[5];
  Corner corners[5];  // prevertex, flat image and exponent of each corner
};

FaceMap MakeFaceMap(Solid solid, double cornerAzimuth);

// The flat face corner k, edge midpoint k (between corners k and k+1).
cplx FlatCorner(const FaceMap& face, int k);
cplx FlatEdgeMidpoint(const FaceMap& face, int k);

// The unit-sphere point of a flat point. A point beyond an edge lies on the
// neighbouring face, which the polyhedron's mirror through that edge carries
// onto this one, flat and on the sphere alike. Returns false if the inverse
// did not converge.
bool SpherePointOfFlatPoint(const FaceMap& face, cplx flat, double sphere[3]);

// Where the ray from the centre through a sphere point meets the face's
// plane, in the flat face's frame (the central, gnomonic, view).
cplx GnomonicOnFace(const FaceMap& face, const double sphere[3]);

// Stereographic coordinate and back (pole +z, tan of half the polar angle).
cplx StereoOf(const double p[3]);
void SphereOfStereo(cplx s, double p[3]);

// Barycentric coordinates of p in the triangle (a, b, c).
void Barycentrics(cplx p, cplx a, cplx b, cplx c, double out[3]);

}  // namespace lut
