#include "setup_fixture.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

#include "polyhedron/polyhedron_links.h"
#include "polyhedron/nets/unfold.h"
#include "polyhedron/vertex_maps.h"
#include "support/poly_fixture.h"

namespace setup_fixture {
namespace {

// The top face of the fixture's cube (face 1 of BuildCube's face list).
constexpr int32_t kCubeTopFace = 1;

void AddSolid(polyhedron* poly, Solid solid) {
  switch (solid) {
    case Solid::Tetrahedron: BuildTetrahedron(poly); return;
    case Solid::Cube:
    case Solid::CappedCube:
      BuildCube(poly);
      if (solid == Solid::CappedCube)
        for (int32_t e = 0; e < 4; ++e) forbid_joining(poly, kCubeTopFace, e);
      return;
    case Solid::Octahedron: BuildOctahedron(poly); return;
    case Solid::Icosahedron: BuildIcosahedron(poly); return;
    case Solid::Dodecahedron: BuildDodecahedron(poly); return;
    case Solid::TruncatedIcosahedron: BuildTruncatedIcosahedron(poly); return;
  }
}

// What the catalogue leaves of a static shape: the net's faces and points
// only, no link from a net face to its solid face and no 2D links.
void ForgetCorrespondence(polyhedron* poly) {
  for (int32_t f = 0; f < poly->n2DFaces; ++f) {
    PolyFace& face = poly->faces[f];
    face.face3D = -1;
    face.cornerOffset = 0;
    face.fragment = 0;
    std::fill(std::begin(face.nbrFace2D), std::end(face.nbrFace2D), -1);
    std::fill(std::begin(face.nbrEdge2D), std::end(face.nbrEdge2D), -1);
  }
  std::fill(std::begin(poly->vert3DOf2D), std::end(poly->vert3DOf2D), kPolyNoVertex16);
  std::fill(std::begin(poly->vert3DOfVert2D), std::end(poly->vert3DOfVert2D), -1);
  poly->correspondenceGiven = 0;
  poly->fragmentCount = 0;
}

}  // namespace

const char* SolidName(Solid solid) {
  switch (solid) {
    case Solid::Tetrahedron:
      return "tetrahedron";
    case Solid::Cube:
      return "cube";
    case Solid::Octahedron:
      return "octahedron";
    case Solid::Icosahedron:
      return "icosahedron";
    case Solid::Dodecahedron:
      return "dodecahedron";
    case Solid::TruncatedIcosahedron:
      return "truncated icosahedron";
    case Solid::CappedCube:
      return "capped cube";
  }
  return "?";
}

const char* FormName(Form form) {
  switch (form) {
    case Form::Generated:
      return "generated";
    case Form::Static:
      return "static";
    case Form::Fixed:
      return "fixed";
  }
  return "?";
}

PolyPtr NewRecord(float aspect, float tabDepth) {
  PolyPtr p(new polyhedron{});
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), aspect, tabDepth);
  WipeFaceInfo(p.get());
  getPolyStorageEtc(p.get(), nullptr, kPolyMax2DVerts, kPolyMaxFaces);
  p->exportPlanShape = -1;
  p->sphericalFlag = 1;
  p->bandCulling = 1;
  p->reattachFaceLimit = kPolyDefaultReattachFaceLimit;
  p->cramBounds[0] = p->cramBounds[2] = 999.0f;
  p->cramBounds[1] = p->cramBounds[3] = -999.0f;
  return p;
}

PolyPtr Load(Solid solid, Form form, float aspect, float tabDepth, std::vector<int16_t>* table) {
  PolyPtr p = NewRecord(aspect, tabDepth);
  AddSolid(p.get(), solid);
  Build2DNet(p.get());
  p->n2DVerts = std::min(FindHighest2DVert(p.get()) + 1, kPolyMax2DVerts);
  p->correspondenceGiven = 1;
  if (form == Form::Generated) return p;
  if (form == Form::Fixed && table) {
    table->assign(size_t(p->n2DVerts), -1);
    for (int32_t v = 0; v < p->n2DVerts; ++v) (*table)[size_t(v)] = int16_t(Vert_Index_2D_to_3D(p.get(), v));
  }
  ForgetCorrespondence(p.get());
  if (form == Form::Fixed && table) p->map2Dto3D = table->data();
  return p;
}

int32_t FaceTriangleCount(const polyhedron* poly) {
  int32_t n = 0;
  for (int32_t f = 0; f < poly->n2DFaces; ++f) n += std::max(poly->faces[f].n2D - 2, 0);
  return n;
}

int32_t GlueTabTriangles(const polyhedron* poly) {
  int32_t n = 0;
  for (int32_t t = 0; t < poly->nTriangles; ++t) n += poly->triangles[t].isTab && poly->triangles[t].face2D >= 0;
  return n;
}

int32_t CornerMarkTriangles(const polyhedron* poly) {
  int32_t n = 0;
  for (int32_t t = 0; t < poly->nTriangles; ++t) n += poly->triangles[t].isTab && poly->triangles[t].face2D < 0;
  return n;
}

int32_t SolidEdgeCount(const polyhedron* poly) {
  std::set<std::pair<int32_t, int32_t>> edges;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    for (int32_t k = 0; k < face.n3D; ++k) {
      const int32_t a = face.vert3D[k], b = face.vert3D[(k + 1) % face.n3D];
      edges.insert({std::min(a, b), std::max(a, b)});
    }
  }
  return int32_t(edges.size());
}

}  // namespace setup_fixture
