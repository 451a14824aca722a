#include "vivo_fixture.h"

#include <map>
#include <utility>

#include "polybuild/curved/vivo_entries.h"

const VivoCase kVivoCases[7] = {
    {"VivoTet", 161, Build_VivoTet_GyrelleEntry, 4, 3, true},
    {"VivoCube", 167, Build_VivoCube_GyrelleEntry, 6, 4, true},
    {"VivoOct", 165, Build_VivoOct_GyrelleEntry, 8, 3, true},
    {"VivoDodecahedron", 169, Build_VivoDodecahedron_GyrelleEntry, 12, 5, true},
    {"Tribox", 163, Build_Tribox_GyrelleEntry, 2, 3, true},
    {"squarebox", 173, Build_squarebox_GyrelleEntry, 2, 4, true},
    {"squirclebox", 177, Build_squirclebox_GyrelleEntry, 2, 4, true},
};

VivoBuild BuildVivo(const VivoCase& c) {
  VivoBuild b{NewPoly(), VivoContext{}};
  WipeFaceInfo(b.poly.get());
  b.poly->shapeCode = c.shapeCode;
  b.ctx.poly = b.poly.get();
  c.entry(&b.ctx);
  return b;
}

int32_t OpenEdgeCount(const polyhedron* poly) {
  std::map<std::pair<int32_t, int32_t>, int32_t> edges;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const PolyFace& face = poly->faces[f];
    for (int32_t i = 0; i < face.n3D; ++i) ++edges[{face.vert3D[i], face.vert3D[(i + 1) % face.n3D]}];
  }
  int32_t open = 0;
  for (const auto& [edge, count] : edges) {
    const auto reverse = edges.find({edge.second, edge.first});
    if (count != 1 || reverse == edges.end() || reverse->second != 1) ++open;
  }
  return open;
}
