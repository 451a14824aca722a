#include "polyhedron/polyhedron_links.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/polyhedron_slicing.h"

namespace {

using CornerArray = int32_t[kPolyMaxCorners];

// The solid and the net are linked by one algorithm over different fields.
struct LinkFields {
  CornerArray PolyFace::*verts;
  int32_t PolyFace::*count;
  CornerArray PolyFace::*nbrFace;
  CornerArray PolyFace::*nbrEdge;
  int16_t* faceCounts;  // per vertex
  int32_t vertLimit;
};

LinkFields Fields3D(polyhedron* poly) {
  return {&PolyFace::vert3D,    &PolyFace::n3D,    &PolyFace::nbrFace3D,
          &PolyFace::nbrEdge3D, poly->faceCount3D, kPolyMax3DVerts};
}

LinkFields Fields2D(polyhedron* poly) {
  return {&PolyFace::vert2D,    &PolyFace::n2D,    &PolyFace::nbrFace2D,
          &PolyFace::nbrEdge2D, poly->faceCount2D, kPolyMax2DVerts};
}

int32_t ClampFaceCount(int32_t count) { return std::clamp(count, 0, kPolyMaxFaces); }

// Corners a face takes part with; a corrupt count takes no part rather than
// reading past the corner arrays.
int32_t Corners(const PolyFace& face, const LinkFields& k) {
  const int32_t n = face.*k.count;
  return n >= 1 && n <= kPolyMaxCorners ? n : 0;
}

// Non-negative remainder; the corner steps rely on it for negative offsets.
int32_t Wrap(int32_t i, int32_t n) {
  if (n <= 0) return 0;
  const int32_t r = i % n;
  return r < 0 ? r + n : r;
}

void CountCorner(polyhedron* poly, const LinkFields& k, int32_t vertex) {
  if (vertex >= 0 && vertex < k.vertLimit) ++k.faceCounts[vertex];
}

// Links edge i of face f with every reversed edge among faces [first, last);
// the last match is the one f keeps.
void LinkEdge(polyhedron* poly, const LinkFields& k, int32_t f, int32_t i, int32_t first, int32_t last) {
  PolyFace& face = poly->faces[f];
  const int32_t nf = Corners(face, k);
  const int32_t v = (face.*k.verts)[i];
  const int32_t vNext = (face.*k.verts)[(i + 1) % nf];
  for (int32_t g = first; g < last; ++g) {
    if (g == f) continue;
    PolyFace& other = poly->faces[g];
    const int32_t ng = Corners(other, k);
    for (int32_t c = 0; c < ng; ++c) {
      const int32_t before = (c - 1 + ng) % ng;
      if ((other.*k.verts)[c] != v || (other.*k.verts)[before] != vNext) continue;
      (face.*k.nbrFace)[i] = g;
      (face.*k.nbrEdge)[i] = c;
      (other.*k.nbrFace)[before] = f;
      (other.*k.nbrEdge)[before] = (i + 1) % nf;
    }
  }
}

void KillLinks(polyhedron* poly, const LinkFields& k, int32_t count) {
  for (int32_t f = 0; f < ClampFaceCount(count); ++f) {
    PolyFace& face = poly->faces[f];
    std::fill(std::begin(face.*k.nbrFace), std::end(face.*k.nbrFace), -1);
    std::fill(std::begin(face.*k.nbrEdge), std::end(face.*k.nbrEdge), -1);
  }
}

void BuildFromScratch(polyhedron* poly, const LinkFields& k, int32_t count) {
  count = ClampFaceCount(count);
  KillLinks(poly, k, count);
  for (int32_t f = 0; f < count; ++f) {
    const PolyFace& face = poly->faces[f];
    const int32_t nf = Corners(face, k);
    for (int32_t i = 0; i < nf; ++i) {
      CountCorner(poly, k, (face.*k.verts)[i]);
      if ((face.*k.nbrFace)[i] != -1) continue;  // linked from an earlier face
      LinkEdge(poly, k, f, i, f + 1, count);
    }
  }
}

}  // namespace

int32_t Next2Dvertex(const polyhedron* poly, int32_t face, int32_t i) { return Wrap(i + 1, poly->faces[face].n2D); }

int32_t Next3Dvertex(const polyhedron* poly, int32_t face, int32_t i) { return Wrap(i + 1, poly->faces[face].n3D); }

int32_t Prev3Dvertex(const polyhedron* poly, int32_t face, int32_t i) {
  const int32_t n = poly->faces[face].n3D;
  return Wrap(n + i - 1, n);
}

void Face_and_Index_2D_to_3D(int32_t face2D, int32_t corner, int32_t* face3D, int32_t* corner3D,
                             const polyhedron* poly) {
  const PolyFace& f = poly->faces[face2D];
  *face3D = f.face3D;
  *corner3D = Wrap(corner + f.cornerOffset, f.n2D);
}

void Face_and_Index_3D_to_2D(int32_t face3D, int32_t corner, int32_t* face2D, int32_t* corner2D,
                             const polyhedron* poly) {
  *face2D = 0;
  *corner2D = 0;
  for (int32_t j = 0; j < ClampFaceCount(poly->n3DFaces); ++j) {
    const PolyFace& f = poly->faces[j];
    if (f.face3D != face3D) continue;
    *face2D = j;
    *corner2D = Wrap(corner - f.cornerOffset + f.n2D, f.n2D);
  }
}

void Kill3DConnectivity(polyhedron* poly, int32_t count) {
  if (poly) KillLinks(poly, Fields3D(poly), count);
}

void Kill2DConnectivity(polyhedron* poly, int32_t count) {
  if (poly) KillLinks(poly, Fields2D(poly), count);
}

void Build3DConnectivity(polyhedron* poly) {
  if (!poly) return;
  BuildFromScratch(poly, Fields3D(poly), poly->n3DFaces);
  MaybeAddSlicing(poly);
}

void Build2DConnectivityCompletelyFromScratch(polyhedron* poly, int32_t count) {
  if (poly) BuildFromScratch(poly, Fields2D(poly), count);
}

void Build2DConnectivityIncrementally(polyhedron* poly, int32_t f) {
  if (!poly || f < 0 || f >= kPolyMaxFaces) return;
  const LinkFields k = Fields2D(poly);
  const PolyFace& face = poly->faces[f];
  const int32_t nf = Corners(face, k);
  for (int32_t i = 0; i < nf; ++i) {
    CountCorner(poly, k, face.vert2D[i]);
    if (face.nbrFace2D[i] == -1) LinkEdge(poly, k, f, i, 0, f);
  }
}

bool Edge3DIsNotDisdained(const polyhedron* poly, int32_t face, int32_t edge) {
  if (!poly || face < 0 || face >= kPolyMaxFaces || edge < 0 || edge >= kPolyMaxCorners) return false;
  const PolyFace& f = poly->faces[face];
  const int32_t g = f.nbrFace3D[edge];
  if (g < 0 || g >= kPolyMaxFaces) return false;
  if (f.edgeFlags3D[edge] & kEdgeFlagDisdained) return false;
  const PolyFace& other = poly->faces[g];
  const int32_t matching = Wrap(f.nbrEdge3D[edge] - 1, other.n3D);
  return (other.edgeFlags3D[matching] & kEdgeFlagDisdained) == 0;
}
