// Records loaded the way the shape catalogue leaves them, for the set-up
// steps that follow it: a small solid with owned arrays, unfolded into a net,
// in one of three forms: a generated shape (net linked to its solid), a
// static shape (net faces not yet matched to solid faces) and a fixed net
// (a static shape with its own 2D-to-3D vertex table).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "polyhedron/polyhedron.h"

namespace setup_fixture {

struct Deleter {
  void operator()(polyhedron* p) const {
    DumpPolyStorage(p, nullptr);
    delete p;
  }
};
using PolyPtr = std::unique_ptr<polyhedron, Deleter>;

enum class Solid {
  Tetrahedron,
  Cube,
  Octahedron,
  Icosahedron,
  Dodecahedron,
  TruncatedIcosahedron,
  // The cube with the four edges of its top face (face 1, normal +z) cut:
  // the net falls into two pieces, the top face alone and the other five.
  CappedCube,
};
constexpr Solid kAllSolids[] = {Solid::Tetrahedron, Solid::Cube,         Solid::Octahedron,
                                Solid::Icosahedron, Solid::Dodecahedron, Solid::TruncatedIcosahedron,
                                Solid::CappedCube};
const char* SolidName(Solid solid);

enum class Form { Generated, Static, Fixed };
const char* FormName(Form form);

// A heap record (never on the stack) with target area x 0..1, y 0..aspect,
// the tab depth, and the catalogue's per-shape defaults.
PolyPtr NewRecord(float aspect, float tabDepth);

// The solid loaded in the given form. For Form::Fixed the 2D-to-3D table is
// written into *table, which must outlive the record's use of it.
PolyPtr Load(Solid solid, Form form, float aspect = 1.0f, float tabDepth = 0.0f, std::vector<int16_t>* table = nullptr);

// Net faces 0 .. n2DFaces - 1 and the number of corners they hold beyond
// two each: the triangles their ear clipping makes.
int32_t FaceTriangleCount(const polyhedron* poly);
// Net triangles flagged as tab that belong to a face (glue tabs), and those
// that belong to none (corner marks).
int32_t GlueTabTriangles(const polyhedron* poly);
int32_t CornerMarkTriangles(const polyhedron* poly);

// Number of distinct edges of the solid.
int32_t SolidEdgeCount(const polyhedron* poly);

}  // namespace setup_fixture
