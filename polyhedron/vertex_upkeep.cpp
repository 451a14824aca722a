#include "polyhedron/vertex_upkeep.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/polyhedron_access.h"

namespace {

bool InRange(int32_t i, int32_t limit) { return i >= 0 && i < limit; }

}  // namespace

void GetCentroidOf3DFace(int32_t face, const polyhedron* poly, double out[3]) {
  out[0] = out[1] = out[2] = 0.0;
  if (!poly || !poly->coords3D || !InRange(face, kPolyMaxFaces)) return;
  const PolyFace& f = poly->faces[face];
  const int32_t n = std::clamp(f.n3D, 0, kPolyMaxCorners);
  if (n == 0) return;
  for (int32_t k = 0; k < n; ++k) {
    const int32_t v = f.vert3D[k];
    if (!InRange(v, kPolyMax3DVerts)) continue;
    for (int i = 0; i < 3; ++i) out[i] += poly->coords3D[v][i];
  }
  const double inv = 1.0 / n;
  for (int i = 0; i < 3; ++i) out[i] *= inv;
}

void Cleanse2DVertList(polyhedron* poly) {
  if (!poly) return;
  std::fill(std::begin(poly->vert2DUsed), std::end(poly->vert2DUsed), uint8_t(0));
  int32_t cursor = 0;
  const int32_t count = std::clamp(poly->n2DFaces, 0, kPolyMaxFaces);
  for (int32_t i = 0; i < count; ++i) {
    const PolyFace& f = poly->faces[i];
    const int32_t n = std::clamp(f.n2D, 0, kPolyMaxCorners);
    for (int32_t k = 0; k < n; ++k) {
      const int32_t v = f.vert2D[k];
      if (!InRange(v, kPolyMax2DVerts)) continue;
      poly->vert2DUsed[v] = 1;
      cursor = std::max(cursor, v);
    }
  }
  poly->freeVertCursor = uint16_t(cursor);
}

void OffsetAll3DPoints(polyhedron* poly, triplex offset) {
  if (!poly) return;
  double(*coords)[3] = MutableCoords3D(poly);
  if (!coords) return;
  const int32_t count = std::clamp(poly->n3DVerts, 0, kPolyMax3DVerts);
  for (int32_t i = 0; i < count; ++i) {
    const triplex p = Tadd(grab_coordinates3D_into_T(i, poly), offset);
    coords[i][0] = p.x;
    coords[i][1] = p.y;
    coords[i][2] = p.z;
  }
}
