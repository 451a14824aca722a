#include "export/models/obj_triangles.h"

#include <algorithm>
#include <utility>

#include "polybuild/catalogue/catalogue_generated.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/vertex_maps.h"
#include "projection/scalar_math.h"

namespace {

bool CornerOf(const polyhedron* poly, int32_t t, int32_t k, int32_t* v3D, int32_t* v2D) {
  int32_t face = -1, corner = -1, face3D = -1, corner3D = -1;
  Get_2D_Face_and_Index_From_Triangle_and_Index(poly, t, k, &face, &corner);
  if (face < 0 || face >= kPolyMaxFaces || corner < 0 || corner >= kPolyMaxCorners) return false;
  Face_and_Index_2D_to_3D(face, corner, &face3D, &corner3D, poly);
  if (face3D < 0 || face3D >= kPolyMaxFaces || corner3D < 0 || corner3D >= kPolyMaxCorners) return false;
  *v3D = poly->faces[face3D].vert3D[corner3D];
  *v2D = poly->faces[face].vert2D[corner];
  return *v3D >= 0 && *v3D < poly->n3DVerts && *v2D >= 0 && *v2D < kPolyMax2DVerts;
}

// A net whose warp reads its corners in a fixed order (centre, edge
// midpoint, corner) lists every other face clockwise, mirror images of their
// neighbours. Its faces turn on the solid as they turn in the net, so a
// triangle that turns clockwise in the net is wound inward as listed.
bool ListedInward(const polyhedron* poly, const NetTriangle& tri) {
  if (!poly->map2Dto3D || poly->warpStyle == 0) return false;
  for (int32_t v : tri.vert2D)
    if (v < 0 || v >= kPolyMax2DVerts) return false;
  const PolyVertex2D& a = poly->verts2D[tri.vert2D[0]];
  const PolyVertex2D& b = poly->verts2D[tri.vert2D[1]];
  const PolyVertex2D& c = poly->verts2D[tri.vert2D[2]];
  const double turn = (double(b.x) - a.x) * (double(c.y) - a.y) - (double(b.y) - a.y) * (double(c.x) - a.x);
  return turn < 0.0;
}

}  // namespace

void MarkExportedTriangles(polyhedron* poly, ExportTriangleList* out) {
  out->count = 0;
  for (PolyFace& f : poly->faces) f.exportMark = 0;
  for (int32_t t = 0; t < poly->nTriangles && t < kPolyMaxTriangles; ++t) {
    NetTriangle& tri = poly->triangles[t];
    tri.exportMark = 0;
    if (tri.isTab) continue;
    int32_t face = -1, corner = -1, face3D = -1, corner3D = -1;
    Get_2D_Face_and_Index_From_Triangle_and_Index(poly, t, 0, &face, &corner);
    if (face < 0) continue;
    Face_and_Index_2D_to_3D(face, corner, &face3D, &corner3D, poly);
    if (face3D < 0 || face3D >= kPolyMaxFaces) continue;
    PolyFace& solid = poly->faces[face3D];
    if (solid.exportMark != tri.fragment && solid.exportMark != 0) continue;
    ExportTriangle e;
    bool whole = true;
    for (int32_t i = 0; i < 3 && whole; ++i) whole = CornerOf(poly, t, 2 - i, &e.vert3D[i], &e.vert2D[i]);
    if (!whole) continue;
    if (ListedInward(poly, tri)) {
      std::swap(e.vert3D[1], e.vert3D[2]);
      std::swap(e.vert2D[1], e.vert2D[2]);
    }
    solid.exportMark = tri.fragment;
    tri.exportMark = 1;
    out->triangles[out->count++] = e;
  }
}

void ExportedVertex(const polyhedron* poly, int32_t v3D, double out[3]) {
  double x, y, z;
  grab_coordinates3DD(v3D, poly, &x, &y, &z);
  // Every model file comes at one scale, whatever sphere its builder used.
  const double radius = GeneratedSolidRadius(poly->shapeCode);
  x /= radius, y /= radius, z /= radius;
  if (poly->exportFlipFirstAxis) {
    out[0] = -x, out[1] = y, out[2] = z;
  } else {
    out[0] = x, out[1] = -y, out[2] = z;
  }
}

void ExportNormal(const double a[3], const double b[3], const double c[3], double n[3]) {
  const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  const double v[3] = {c[0] - b[0], c[1] - b[1], c[2] - b[2]};
  n[0] = u[1] * v[2] - u[2] * v[1];
  n[1] = u[2] * v[0] - u[0] * v[2];
  n[2] = u[0] * v[1] - u[1] * v[0];
  NormalizeVectorSlowlyD(n);
}

void ListUsedVertices(const polyhedron* poly, const ExportTriangleList& list, UsedVertexList* out) {
  const int32_t n = std::clamp(poly->n3DVerts, 0, kPolyMax3DVerts);
  std::fill(out->placeOf, out->placeOf + kPolyMax3DVerts, -1);
  for (int32_t t = 0; t < list.count; ++t)
    for (int32_t v : list.triangles[t].vert3D)
      if (v >= 0 && v < n) out->placeOf[v] = 0;
  out->count = 0;
  for (int32_t v = 0; v < n; ++v) {
    if (out->placeOf[v] < 0) continue;
    out->placeOf[v] = out->count;
    out->vertices[out->count++] = v;
  }
}

int32_t HighestExported2DVertex(const polyhedron* poly) {
  int32_t highest = -1;
  for (int32_t t = 0; t < poly->nTriangles && t < kPolyMaxTriangles; ++t) {
    const NetTriangle& tri = poly->triangles[t];
    if (tri.isTab) continue;
    for (int32_t v : tri.vert2D) highest = std::max(highest, v);
  }
  return std::min(highest, kPolyMax2DVerts - 1);
}
