#include "polyhedron/nets/net_face_add.h"

#include <algorithm>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_links.h"

namespace {

constexpr int32_t kPlacedFlag = 3;
constexpr int32_t kHideFlag3D = 0;
constexpr int32_t kHideFlag2D = 1;

bool ValidFace(int32_t f) { return f >= 0 && f < kPolyMaxFaces; }

// A free 2D vertex slot from the rotating cursor on; -1 (error 6) when all
// are taken.
int32_t FreshVertex(polyhedron* poly, double x, double y, int32_t vert3D, int32_t fragment) {
  int32_t slot = poly->freeVertCursor;
  for (int32_t probe = 0; probe < kPolyMax2DVerts; ++probe, slot = (slot + 1) % kPolyMax2DVerts) {
    if (poly->vert2DUsed[slot]) continue;
    poly->freeVertCursor = uint16_t(slot);
    Set2DPoint(slot, DPoint{x, y, vert3D, fragment, slot, 1}, poly);
    return slot;
  }
  poly->errorCode = kPolyErrorNoFree2DVert;
  return -1;
}

// The net vertex of a corner. Vertices merge by position within their
// fragment, but two different solid vertices may land on one spot when the
// net touches itself at a point; merging those would give one net vertex two
// solid vertices and link faces that are no neighbours on the solid. Such a
// corner takes a close vertex of its own solid vertex, or a new one.
int32_t NetVertex(polyhedron* poly, const TempCorner& c) {
  const int32_t v = AddNew2DVertToPolyhedron(poly, c.x, c.y, uint16_t(c.vert3D), c.fragment);
  if (v < 0 || poly->vert3DOf2D[v] == uint16_t(c.vert3D)) return v;
  const double t = Vertex2DMergeTolerance(poly->shapeCode);
  for (int32_t w = 0; w < kPolyMax2DVerts; ++w) {
    if (!poly->vert2DUsed[w] || poly->fragmentOf2D[w] != c.fragment) continue;
    if (poly->vert3DOf2D[w] != uint16_t(c.vert3D)) continue;
    const double dx = poly->coords2D[w][0] - c.x, dy = poly->coords2D[w][1] - c.y;
    if (dx * dx + dy * dy < t * t) return w;
  }
  return FreshVertex(poly, c.x, c.y, c.vert3D, c.fragment);
}

}  // namespace

int32_t Add2DFaceToNet(polyhedron* poly, temp2Dface* temp, int32_t useGivenSlot, int32_t slot) {
  if (!poly || !temp) return -1;
  const int32_t n = std::clamp(temp->nCorners, 0, kPolyMaxCorners);
  const int32_t fragment = n > 0 ? temp->corners[0].fragment : 0;
  if (!useGivenSlot) slot = poly->n2DFaces;

  int32_t result = -1;
  // The slot is checked before any vertex is stored: a refused face must not
  // leave used vertices behind, which the layout and the fit would measure.
  if (n > 0 && !ValidFace(slot)) {
    poly->errorCode = kPolyErrorTooMany2DFaces;
  } else if (n > 0) {
    bool stored = true;
    for (int32_t i = 0; i < n && stored; ++i) {
      temp->vert2D[i] = NetVertex(poly, temp->corners[i]);
      stored = temp->vert2D[i] >= 0;  // error 6 is already set
    }
    if (stored) result = slot;
  }

  if (result >= 0) {
    PolyFace& face = poly->faces[result];
    face.n2D = n;
    for (int32_t i = 0; i < kPolyMaxCorners; ++i) {
      face.vert2D[i] = i < n ? temp->vert2D[i] : -1;
      face.nbrFace2D[i] = -1;
      face.nbrEdge2D[i] = -1;
    }
    if (!useGivenSlot) ++poly->n2DFaces;
    Build2DConnectivityIncrementally(poly, result);
    face.fragment = int16_t(fragment);
    poly->fragmentCount = std::max(poly->fragmentCount, fragment);
    if (fragment >= 0 && fragment < kPolyFragmentSlots) ++poly->fragmentFaceCount[fragment];
    face.face3D = temp->face3D;
    face.cornerOffset = 0;
    face.placedAngle = float(temp->normalDotDown);
  }

  if (ValidFace(temp->face3D)) {
    PolyFace& solid = poly->faces[temp->face3D];
    solid.placedFlags[kPlacedFlag] = 1;
    solid.netFace = result;
    if (result >= 0) poly->faces[result].placedFlags[kHideFlag2D] = solid.placedFlags[kHideFlag3D];
  }
  return result;
}
