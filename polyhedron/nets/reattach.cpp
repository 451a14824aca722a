#include "polyhedron/nets/reattach.h"

#include <algorithm>
#include <cmath>

#include "polyhedron/nets/net_triangles.h"
#include "polyhedron/polyhedron_access.h"

namespace {

constexpr int32_t kSliceBits = kEdgeFlagSliceA | kEdgeFlagSliceB;

bool ValidFace(int32_t f) { return f >= 0 && f < kPolyMaxFaces; }

int32_t Corners(int32_t n) { return n >= 1 && n <= kPolyMaxCorners ? n : 0; }

int32_t Wrap(int32_t i, int32_t n) {
  if (n <= 0) return 0;
  const int32_t r = i % n;
  return r < 0 ? r + n : r;
}

// One solid edge seen from one of its faces.
struct SolidEdge {
  int32_t face = -1, edge = -1;
  bool Valid() const { return ValidFace(face) && edge >= 0 && edge < kPolyMaxCorners; }
};

// The same solid edge seen from the face across it; invalid when there is
// none.
SolidEdge OtherSide(const polyhedron* poly, SolidEdge s) {
  if (!s.Valid()) return {};
  const int32_t h = poly->faces[s.face].nbrFace3D[s.edge];
  if (!ValidFace(h) || Corners(poly->faces[h].n3D) == 0) return {};
  return {h, Wrap(poly->faces[s.face].nbrEdge3D[s.edge] - 1, poly->faces[h].n3D)};
}

int32_t FlagsOnEitherSide(const polyhedron* poly, SolidEdge s) {
  if (!s.Valid()) return 0;
  int32_t flags = poly->faces[s.face].edgeFlags3D[s.edge];
  const SolidEdge o = OtherSide(poly, s);
  if (o.Valid()) flags |= poly->faces[o.face].edgeFlags3D[o.edge];
  return flags;
}

// An outline edge of the net: (f, c) the solid edge behind it, (h, m) the
// same edge seen from the solid face across it.
struct OutlineEdge {
  SolidEdge near, far;
};

OutlineEdge Behind(const polyhedron* poly, int32_t face2D, int32_t edge2D) {
  OutlineEdge o;
  const PolyFace& net = poly->faces[face2D];
  if (!ValidFace(net.face3D)) return o;
  o.near = {net.face3D, Wrap(edge2D + net.cornerOffset, Corners(net.n2D))};
  o.far = OtherSide(poly, o.near);
  return o;
}

bool FirstOutlineEdge(const polyhedron* poly, int32_t fragment, int32_t* face, int32_t* edge) {
  for (int32_t j = 0; j < std::clamp(poly->n3DFaces, 0, kPolyMaxFaces); ++j) {
    const PolyFace& net = poly->faces[j];
    if (net.fragment != fragment) continue;
    for (int32_t e = 0; e < Corners(net.n2D); ++e)
      if (net.nbrFace2D[e] == -1) {
        *face = j;
        *edge = e;
        return true;
      }
  }
  return false;
}

// Walks the fragment's outline from its first outline edge, handing each
// edge to visit until visit returns true, the walk comes back to where it
// began, or it has taken its steps.
template <typename Visit>
void WalkOutline(const polyhedron* poly, int32_t fragment, Visit visit) {
  int32_t startFace = -1, startEdge = -1;
  if (!FirstOutlineEdge(poly, fragment, &startFace, &startEdge)) return;
  int32_t face = startFace, edge = startEdge;
  if (visit(Behind(poly, face, edge))) return;
  for (int32_t step = 0; step < kReattachWalkSteps; ++step) {
    NextAroundNet(poly, &face, &edge);
    if (face == startFace && edge == startEdge) return;
    if (visit(Behind(poly, face, edge))) return;
  }
}

bool Release(polyhedron* poly, SolidEdge s) {
  if (!s.Valid()) return false;
  const SolidEdge o = OtherSide(poly, s);
  poly->faces[s.face].edgeFlags3D[s.edge] &= ~kEdgeFlagCut;
  if (o.Valid()) poly->faces[o.face].edgeFlags3D[o.edge] &= ~kEdgeFlagCut;
  return true;
}

// Releases the edge of the first outline edge that the rule picks.
template <typename Pick>
bool ReleaseFirst(polyhedron* poly, int32_t fragment, Pick pick) {
  if (!poly) return false;
  SolidEdge chosen;
  WalkOutline(poly, fragment, [&](const OutlineEdge& o) {
    chosen = pick(o);
    return chosen.Valid();
  });
  return Release(poly, chosen);
}

double LongestEdge(const polyhedron* poly, int32_t face) {
  const PolyFace& f = poly->faces[face];
  const int32_t n = Corners(f.n3D);
  double longest = 0.0;
  for (int32_t i = 0; i < n; ++i) {
    const triplex a = grab_coordinates3D_into_T(f.vert3D[i], poly);
    const triplex b = grab_coordinates3D_into_T(f.vert3D[(i + 1) % n], poly);
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    longest = std::max(longest, std::sqrt(dx * dx + dy * dy + dz * dz));
  }
  return longest;
}

}  // namespace

bool AttemptToReattachedFragment_at_cusp(polyhedron* poly, int32_t fragment) {
  return ReleaseFirst(poly, fragment, [poly](const OutlineEdge& o) -> SolidEdge {
    if (!o.far.Valid()) return {};
    int32_t marked = 0;
    for (int32_t i = 0; i < Corners(poly->faces[o.far.face].n3D); ++i)
      if (FlagsOnEitherSide(poly, {o.far.face, i}) & kSliceBits) ++marked;
    return marked == 2 ? o.far : SolidEdge{};
  });
}

bool AttemptToReattachedFragment_at_singleneighbor(polyhedron* poly, int32_t fragment) {
  return ReleaseFirst(poly, fragment, [poly](const OutlineEdge& o) -> SolidEdge {
    if (!o.far.Valid()) return {};
    const int32_t j = poly->faces[o.far.face].netFace;
    if (!ValidFace(j)) return {};
    int32_t linked = 0;
    for (int32_t e = 0; e < Corners(poly->faces[j].n2D); ++e)
      if (poly->faces[j].nbrFace2D[e] != -1) ++linked;
    return linked == 1 ? o.far : SolidEdge{};
  });
}

bool AttemptToReattachedFragment_at_arcstart(polyhedron* poly, int32_t fragment) {
  return ReleaseFirst(poly, fragment, [poly](const OutlineEdge& o) -> SolidEdge {
    if (!o.far.Valid()) return {};
    return FlagsOnEitherSide(poly, o.near) & kEdgeFlagSliceA ? o.near : SolidEdge{};
  });
}

bool AttemptToReattachedFragment_at_tinyface(polyhedron* poly, int32_t fragment) {
  if (!poly) return false;
  SolidEdge best;
  double bestSize = 0.0;
  bool any = false;
  WalkOutline(poly, fragment, [&](const OutlineEdge& o) {
    const double size = o.far.Valid() ? LongestEdge(poly, o.far.face) : 1.0;
    if (!any || size < bestSize) {
      any = true;
      bestSize = size;
      best = o.far;
    }
    return false;
  });
  return Release(poly, best);
}
