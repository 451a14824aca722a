#include "nets_common.h"

#include <cstdio>
#include <cstdlib>

#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"

namespace nets {

void PolyDeleter::operator()(polyhedron* p) const {
  DumpPolyStorage(p, nullptr);
  delete p;
}

PolyPtr NewRecord(int32_t shapeCode) {
  PolyPtr p(new polyhedron{});
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), 1.0f, 0.0f);
  WipeFaceInfo(p.get());
  p->shapeCode = shapeCode;
  return p;
}

const CatalogueSolid& FindSolid(const std::string& family) {
  for (const CatalogueSolid& s : kCatalogueSolids)
    if (family == s.family) return s;
  std::fprintf(stderr, "no solid named %s\n", family.c_str());
  std::exit(1);
}

std::vector<std::vector<int32_t>> SolidFaces(const CatalogueSolid& solid) {
  std::vector<std::vector<int32_t>> faces(1);
  for (int32_t i = 0; i < solid.rowEntries; ++i) {
    if (solid.faces3D[i] == 0) {
      faces.emplace_back();
    } else {
      faces.back().push_back(solid.faces3D[i] - 1);
    }
  }
  faces.pop_back();
  return faces;
}

PolyPtr LoadSolid(const CatalogueSolid& solid, int32_t shapeCode) {
  PolyPtr p = NewRecord(shapeCode);
  getPolyStorageEtc(p.get(), nullptr, kPolyMax2DVerts, kPolyMaxFaces);
  for (int32_t v = 0; v < solid.vertexCount; ++v) {
    // The solids' vertices lie far apart: each must become its own vertex,
    // numbered as in the table, or the face rows would name the wrong ones.
    if (AddNew3DDVertToPolyhedron(p.get(), solid.coords3D[v]) != v) {
      std::fprintf(stderr, "%s: vertex %d merged with another\n", solid.family, v);
      std::exit(1);
    }
  }
  for (const auto& face : SolidFaces(solid))
    Add3DFaceToPolyhedron_macro(p.get(), face.data(), int32_t(face.size()), -1, 1, 0, -1, -1, -1);
  Calc3DAngles(p.get());
  Build3DConnectivity(p.get());
  if (p->errorCode != 0 || p->n3DFaces != solid.faceCount) {
    std::fprintf(stderr, "%s: loading the solid gave error %d\n", solid.family, p->errorCode);
    std::exit(1);
  }
  return p;
}

}  // namespace nets
