#include "polybuild/setup/polyhedron_setup_tabs.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/nets/net_triangles.h"
#include "polyhedron/polyhedron_links.h"

namespace {

bool InRange(int32_t i, int32_t limit) { return i >= 0 && i < limit; }

int32_t Corners(int32_t n) { return InRange(n, kPolyMaxCorners + 1) ? n : 0; }

void VisitOutlineEdge(polyhedron* poly, int32_t face, int32_t edge, bool tab, int32_t walk) {
  if (!InRange(face, kPolyMaxFaces) || !InRange(edge, kPolyMaxCorners)) return;
  PolyFace& f = poly->faces[face];
  f.outlineVisited[edge] = 1;
  if (tab) f.tabEdge[edge] = 1;
  if (!poly->correspondenceGiven) f.fragment = int16_t(walk);
}

// The net face and corner that hold the other side of the solid edge under
// edge `edge` of net face `face`; false when the net face shows no solid
// face, the solid edge has no neighbour, or no net face shows the neighbour
// (the 3D-to-2D lookup then answers face 0, which is not the other side).
bool OtherSideInTheNet(const polyhedron* poly, int32_t face, int32_t edge, int32_t* face2D, int32_t* edge2D) {
  int32_t f3 = -1, c3 = -1;
  Face_and_Index_2D_to_3D(face, edge, &f3, &c3, poly);
  if (!InRange(f3, kPolyMaxFaces) || !InRange(c3, Corners(poly->faces[f3].n3D))) return false;
  const int32_t g3 = poly->faces[f3].nbrFace3D[c3];
  const int32_t gc3 = poly->faces[f3].nbrEdge3D[c3];
  if (!InRange(g3, kPolyMaxFaces) || !InRange(gc3, Corners(poly->faces[g3].n3D))) return false;
  // The link names the corner holding this edge's start vertex; the
  // neighbour's own edge along the seam starts one corner earlier.
  const int32_t ge3 = Prev3Dvertex(poly, g3, gc3);
  Face_and_Index_3D_to_2D(g3, ge3, face2D, edge2D, poly);
  if (!InRange(*face2D, kPolyMaxFaces) || poly->faces[*face2D].face3D != g3) return false;
  return InRange(*edge2D, Corners(poly->faces[*face2D].n2D));
}

}  // namespace

void ClearTabFlags(polyhedron* poly) {
  for (PolyFace& f : poly->faces) {
    std::fill(std::begin(f.tabEdge), std::end(f.tabEdge), uint8_t{0});
    std::fill(std::begin(f.outlineVisited), std::end(f.outlineVisited), uint8_t{0});
  }
}

int32_t WalkNetOutlines(polyhedron* poly) {
  int32_t walks = 0;
  int32_t face = -1, edge = -1;
  while (FindANeighborless2DEdgeThatsUnconsidered(poly, &face, &edge)) {
    ++walks;
    const int32_t startFace = face, startEdge = edge;
    bool tab = !poly->tabPhaseFlip;
    VisitOutlineEdge(poly, face, edge, tab, walks);
    for (int32_t step = 0; step < kOutlineWalkMaxSteps; ++step) {
      NextAroundNet(poly, &face, &edge);
      if (face == startFace && edge == startEdge) break;
      tab = !tab;
      VisitOutlineEdge(poly, face, edge, tab, walks);
    }
  }
  return walks;
}

void BalanceTabsAcrossSolidEdges(polyhedron* poly, bool openEdgesOnly) {
  const int32_t faces = std::clamp(poly->n2DFaces, 0, kPolyMaxFaces);
  for (int32_t f = 0; f < faces; ++f) {
    for (int32_t e = 0; e < Corners(poly->faces[f].n2D); ++e) {
      if (openEdgesOnly && poly->faces[f].nbrFace2D[e] != -1) continue;
      int32_t g = -1, ge = -1;
      if (!OtherSideInTheNet(poly, f, e, &g, &ge) || (g == f && ge == e)) continue;
      const bool mine = poly->faces[f].tabEdge[e] != 0;
      uint8_t& theirs = poly->faces[g].tabEdge[ge];
      if ((theirs != 0) == mine) theirs = mine ? 0 : 1;
    }
  }
}

void AppendTabTrianglesOf(polyhedron* poly, const polyhedron* other) {
  const int32_t count = std::clamp(other->nTriangles, 0, kPolyMaxTriangles);
  for (int32_t t = 0; t < count; ++t) {
    const NetTriangle& tab = other->triangles[t];
    if (!tab.isTab) continue;
    if (!InRange(tab.vert2D[0], kPolyMax2DVerts) || !InRange(tab.vert2D[1], kPolyMax2DVerts) ||
        !InRange(tab.vert2D[2], kPolyMax2DVerts))
      continue;
    const int32_t n = poly->n2DVerts;
    if (n < 0 || n + 3 >= kPolyMax2DVerts) {
      poly->errorCode = kPolyErrorNoRoomForTabs;
      continue;
    }
    for (int32_t k = 0; k < 3; ++k) {
      const PolyVertex2D& from = other->verts2D[tab.vert2D[k]];
      PolyVertex2D& to = poly->verts2D[n + k];
      to.x = from.x;
      to.y = from.y;
      to.renderX = to.renderY = to.renderZ = 1.0f;
      poly->vert2DUsed[n + k] = 1;
    }
    poly->n2DVerts = n + 3;
    if (poly->nTriangles < 0 || poly->nTriangles + 1 >= kPolyMaxTriangles) {
      poly->errorCode = kPolyErrorTooManyTriangles;
      continue;
    }
    NetTriangle& out = poly->triangles[poly->nTriangles++];
    out = NetTriangle{};
    out.vert2D[0] = n;
    out.vert2D[1] = n + 1;
    out.vert2D[2] = n + 2;
    out.hideFlag = 0;
    out.isTab = 1;
    out.face2D = tab.face2D;
    out.facegroup = NetTriangleFacegroup(other, tab.face2D);
    out.fragment = -1;
  }
}
