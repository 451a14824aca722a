#include "polyhedron/nets/net_triangles.h"

#include <algorithm>

namespace {

bool InRange(int32_t i, int32_t limit) { return i >= 0 && i < limit; }

int32_t NetCorners(const PolyFace& f) { return InRange(f.n2D, kPolyMaxCorners + 1) ? f.n2D : 0; }

// Faces to scan for outline edges: a net loaded without its solid counts only
// 2D faces, a net unfolded from one counts both alike.
int32_t NetFaceScanCount(const polyhedron* poly) {
  return std::clamp(std::max(poly->n3DFaces, poly->n2DFaces), 0, kPolyMaxFaces);
}

}  // namespace

int16_t NetTriangleFacegroup(const polyhedron* poly, int32_t face2D) {
  if (face2D < 0) return -1;
  if (poly->n2DFaces > 0) face2D = std::min(face2D, poly->n2DFaces - 1);
  return poly->facegroupTable ? poly->facegroupTable[face2D] : int16_t(face2D);
}

void MakeNetTriangle(int32_t triangle, polyhedron* poly, int32_t face2D, int32_t c0, int32_t c1, int32_t c2) {
  if (!poly) return;
  if (poly->nTriangles >= kPolyMaxTriangles || !InRange(triangle, kPolyMaxTriangles)) {
    poly->errorCode = kPolyErrorTooManyTriangles;
    return;
  }
  if (!InRange(face2D, kPolyMaxFaces)) return;
  const PolyFace& f = poly->faces[face2D];
  const int32_t n = NetCorners(f);
  if (!InRange(c0, n) || !InRange(c1, n) || !InRange(c2, n)) return;
  NetTriangle& t = poly->triangles[triangle];
  const int32_t c[3] = {c0, c1, c2};
  for (int k = 0; k < 3; ++k) {
    t.vert2D[k] = f.vert2D[c[k]];
    // The triangle edge from corner c[k] to c[k + 1] is face edge c[k] only
    // when the two corners follow each other around the face.
    const int32_t following = c[(k + 1) % 3];
    t.tabEdge[k] = uint8_t(f.tabEdge[c[k]] && following == (c[k] + 1) % n);
  }
  t.face2D = int16_t(face2D);
  t.facegroup = NetTriangleFacegroup(poly, face2D);
  t.fragment = f.fragment;
  t.isTab = 0;
  t.hideFlag = f.placedFlags[1];
  t.fancyFace = uint8_t(f.extraVertex2D != -1);
}

bool FindANeighborless2DEdgeThatsUnconsidered(const polyhedron* poly, int32_t* face, int32_t* edge) {
  const int32_t count = NetFaceScanCount(poly);
  for (int32_t f = 0; f < count; ++f) {
    const PolyFace& pf = poly->faces[f];
    for (int32_t e = 0; e < NetCorners(pf); ++e) {
      if (pf.nbrFace2D[e] == -1 && !pf.outlineVisited[e]) {
        *face = f;
        *edge = e;
        return true;
      }
    }
  }
  return false;
}

void NextAroundNet(const polyhedron* poly, int32_t* face, int32_t* edge) {
  if (!InRange(*face, kPolyMaxFaces)) return;
  int32_t f = *face;
  const int32_t n = NetCorners(poly->faces[f]);
  if (!InRange(*edge, n)) return;
  int32_t e = (*edge + 1) % n;
  // Around one vertex there are at most as many edges as the net has; more
  // steps than that mean the links circle without an outline edge.
  for (int32_t step = 0; step < kPolyMaxFaces * kPolyMaxCorners; ++step) {
    const PolyFace& pf = poly->faces[f];
    const int32_t g = pf.nbrFace2D[e];
    const int32_t k = pf.nbrEdge2D[e];
    if (!InRange(g, kPolyMaxFaces) || !InRange(k, NetCorners(poly->faces[g]))) {
      *face = f;
      *edge = e;
      return;
    }
    // Corner k of g holds the start vertex of this edge, so g's edge k is
    // the next edge leaving the same vertex.
    f = g;
    e = k;
  }
}
