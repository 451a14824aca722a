// Heap-allocated polyhedron records for the tests (a record is far too large
// for the stack) and a few ways of filling them with small solids.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "polyhedron/polyhedron.h"

// Owns a record and, through its deleter, whatever arrays it still owns.
struct PolyDeleter {
  void operator()(polyhedron* p) const {
    DumpPolyStorage(p, nullptr);
    delete p;
  }
};
using PolyPtr = std::unique_ptr<polyhedron, PolyDeleter>;

// A fresh record as every user makes one: value-initialised, nullified,
// initialised.
inline PolyPtr NewPoly(float aspect = 1.0f) {
  PolyPtr p(new polyhedron{});
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), aspect, 0.0f);
  return p;
}

// A fresh record that owns system-memory arrays and is wiped for a build.
inline PolyPtr NewOwningPoly(float aspect = 1.0f) {
  PolyPtr p = NewPoly(aspect);
  WipeFaceInfo(p.get());
  getPolyStorageEtc(p.get(), nullptr, kPolyMax2DVerts, kPolyMaxFaces);
  return p;
}

struct Point3 {
  double x, y, z;
};

// Adds the points as 3D vertices and the faces (0-based vertex numbers of
// the points) with checks deferred, then runs the angle and link pass once.
void BuildSolid(polyhedron* poly, const std::vector<Point3>& points, const std::vector<std::vector<int32_t>>& faces);

// A unit cube centred on the origin, every face wound so that the corner
// normal points outward.
void BuildCube(polyhedron* poly);
// A box of the given side lengths centred on the origin; faces 0 and 1 are
// normal to z, 2 and 3 to y, 4 and 5 to x.
void BuildBox(polyhedron* poly, double sx, double sy, double sz);
// A prism on an equilateral triangle, its axis along z: faces 0 and 1 the
// ends, 2 to 4 the sides.
void BuildPrism(polyhedron* poly, double length);
// A regular tetrahedron centred on the origin, wound likewise.
void BuildTetrahedron(polyhedron* poly);

// The convex solid whose vertices are the given points (each must be a
// corner of the hull), its faces found as the hull's planes and wound like
// the cube's.
void BuildConvexSolid(polyhedron* poly, const std::vector<Point3>& points);
void BuildOctahedron(polyhedron* poly);
void BuildIcosahedron(polyhedron* poly);
void BuildDodecahedron(polyhedron* poly);
// The icosahedron with every corner cut a third of the way along its edges:
// 12 pentagons and 20 hexagons.
void BuildTruncatedIcosahedron(polyhedron* poly);
// Points on the unit sphere from a fixed pseudo-random sequence: a solid of
// triangles with no symmetry at all.
std::vector<Point3> ScatteredSpherePoints(int32_t count, uint32_t seed);

// Net faces straight into the record: the points become 2D vertices 0..n-1
// of fragment 1, and each face takes the next face slot (n2D and vert2D).
void BuildNet(polyhedron* poly, const std::vector<std::pair<double, double>>& points,
              const std::vector<std::vector<int32_t>>& faces);
