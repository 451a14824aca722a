#include "export/models/stl_writer.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "export/models/obj_triangles.h"

namespace {

void PutU32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(char((v >> (8 * i)) & 0xff));
}

void PutF32(std::string* out, double d) {
  const float f = float(d);
  uint32_t v;
  std::memcpy(&v, &f, 4);
  PutU32(out, v);
}

}  // namespace

void STLOffsets(const polyhedron* poly, const ExportTriangleList& list, double offset[3]) {
  // Each axis by its own minimum over the vertices the model uses: STL
  // readers expect the positive octant, and the model's other axes need not
  // start where its first one does.
  offset[0] = offset[1] = offset[2] = 0.0;
  auto used = std::make_unique<UsedVertexList>();
  ListUsedVertices(poly, list, used.get());
  for (int32_t i = 0; i < used->count; ++i) {
    double p[3];
    ExportedVertex(poly, used->vertices[i], p);
    for (int k = 0; k < 3; ++k)
      if (i == 0 || p[k] < offset[k]) offset[k] = p[k];
  }
}

std::string STLFileBytes(polyhedron* poly, bool binary, const char* solidName) {
  std::string out;
  if (!poly || poly->n3DFaces <= 0) return out;
  auto list = std::make_unique<ExportTriangleList>();
  MarkExportedTriangles(poly, list.get());
  double offset[3];
  STLOffsets(poly, *list, offset);
  const char* name = solidName ? solidName : "";
  char line[160];
  if (binary) {
    out.assign(80, '\0');
    PutU32(&out, uint32_t(list->count));
  } else {
    std::snprintf(line, sizeof line, "solid %s from Gyrelle\n", name);
    out += line;
  }
  for (int32_t t = 0; t < list->count; ++t) {
    double c[3][3], n[3];
    for (int i = 0; i < 3; ++i) {
      ExportedVertex(poly, list->triangles[t].vert3D[i], c[i]);
      for (int k = 0; k < 3; ++k) c[i][k] -= offset[k];
    }
    ExportNormal(c[0], c[1], c[2], n);
    if (binary) {
      for (double d : n) PutF32(&out, d);
      for (auto& corner : c)
        for (double d : corner) PutF32(&out, d);
      out.push_back(0);
      out.push_back(0);
      continue;
    }
    std::snprintf(line, sizeof line, "   facet normal %E %E %E\n      outer loop\n", n[0], n[1], n[2]);
    out += line;
    for (auto& corner : c) {
      std::snprintf(line, sizeof line, "         vertex %E %E %E\n", corner[0], corner[1], corner[2]);
      out += line;
    }
    out += "      endloop\n   endfacet\n";
  }
  if (!binary) {
    std::snprintf(line, sizeof line, "endsolid %s from Gyrelle\n", name);
    out += line;
  }
  return out;
}
