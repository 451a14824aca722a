#include "polyhedron/vertex_maps.h"

#include <algorithm>

#include "polyhedron/polyhedron_links.h"

namespace {

bool ValidFace(int32_t f) { return f >= 0 && f < kPolyMaxFaces; }

int32_t Corners(int32_t n) { return n >= 1 && n <= kPolyMaxCorners ? n : 0; }

int32_t NetFaceCount(const polyhedron* poly) { return std::clamp(poly->n2DFaces, 0, kPolyMaxFaces); }

}  // namespace

int32_t Vert_Index_2D_to_3D(const polyhedron* poly, int32_t v) {
  if (!poly || v < 0 || v >= kPolyMax2DVerts || !poly->vert2DUsed[v]) return -1;
  if (poly->vert3DOf2D[v] != kPolyNoVertex16) return int32_t(int16_t(poly->vert3DOf2D[v]));
  for (int32_t f = 0; f < NetFaceCount(poly); ++f) {
    const PolyFace& face = poly->faces[f];
    for (int32_t j = 0; j < Corners(face.n2D); ++j) {
      if (face.vert2D[j] != v) continue;
      int32_t face3D = -1, corner3D = -1;
      Face_and_Index_2D_to_3D(f, j, &face3D, &corner3D, poly);
      if (!ValidFace(face3D) || corner3D < 0 || corner3D >= kPolyMaxCorners) return -1;
      return poly->faces[face3D].vert3D[corner3D];
    }
  }
  return -1;
}

int32_t Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(const polyhedron* poly, int32_t v3D,
                                                                     int32_t fragment) {
  // -1 would match every vertex that maps nowhere.
  if (!poly || v3D < 0) return -1;
  for (int32_t f = 0; f < NetFaceCount(poly); ++f) {
    const PolyFace& face = poly->faces[f];
    if (face.fragment != fragment) continue;
    for (int32_t j = 0; j < Corners(face.n2D); ++j) {
      const int32_t v = face.vert2D[j];
      if (Vert_Index_2D_to_3D(poly, v) == v3D) return v;
    }
  }
  return -1;
}

void Get_2D_Face_and_Index_From_Triangle_and_Index(const polyhedron* poly, int32_t triangle, int32_t k, int32_t* face,
                                                   int32_t* corner) {
  *face = -1;
  *corner = -1;
  if (!poly || triangle < 0 || triangle >= kPolyMaxTriangles || k < 0 || k > 2) return;
  const NetTriangle& t = poly->triangles[triangle];
  *face = t.face2D;
  if (!ValidFace(t.face2D)) return;
  const PolyFace& f = poly->faces[t.face2D];
  for (int32_t j = 0; j < Corners(f.n2D); ++j)
    if (f.vert2D[j] == t.vert2D[k]) *corner = j;
}
