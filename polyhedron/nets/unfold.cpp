#include "polyhedron/nets/unfold.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/nets/fragment_layout.h"
#include "polyhedron/nets/net_face_add.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/polyhedron_predicates.h"
#include "polyhedron/temp_face.h"
#include "polyhedron/nets/unfold_facegroups.h"

namespace {

constexpr int32_t kPlacedFlag = 3;
constexpr int32_t kNoSeedFlag = 2;
// A fragment whose growth placed this many faces besides its seed is big.
constexpr int32_t kBigFragmentFaces = 6;
// Net edge (face 2D, edge 2) of a curved three-corner face leads to the face
// that holds its partner vertex.
constexpr int32_t kPartnerEdge = 2;

bool ValidFace(int32_t f) { return f >= 0 && f < kPolyMaxFaces; }

int32_t Corners(int32_t n) { return n >= 1 && n <= kPolyMaxCorners ? n : 0; }

int32_t SolidFaceCount(const polyhedron* poly) { return std::clamp(poly->n3DFaces, 0, kPolyMaxFaces); }

void ClearPlacedAndGenerations(polyhedron* poly) {
  for (PolyFace& face : poly->faces) {
    face.placedFlags[kPlacedFlag] = 0;
    face.generation = -1;
  }
}

// The 2D view of every slot is emptied before a new net is built, so that a
// rebuild that places fewer faces leaves no stale net face (still linked to
// its solid face) beyond the new net's end.
void ForgetNet(polyhedron* poly) {
  for (PolyFace& face : poly->faces) {
    face.n2D = 0;
    std::fill(std::begin(face.vert2D), std::end(face.vert2D), -1);
    std::fill(std::begin(face.nbrFace2D), std::end(face.nbrFace2D), -1);
    std::fill(std::begin(face.nbrEdge2D), std::end(face.nbrEdge2D), -1);
    face.face3D = -1;
    face.cornerOffset = -1;
    face.netFace = -1;
    face.fragment = 0;
    face.extraVertex2D = -1;
  }
}

bool IsMember(const polyhedron* poly, int32_t face3D, int32_t fragment) {
  const PolyFace& face = poly->faces[face3D];
  if (face.facegroup == -1 || ShapecodeIsACurvedOrigamiMonofrag(poly->shapeCode)) return true;
  if (ShapecodeIsACurvedOrigamiStandard(poly->shapeCode)) {
    // Only facegroups below kPolyFacegroupPairs carry a pair of fragments;
    // a larger one joins no fragment.
    const int32_t group = std::max<int32_t>(face.facegroup, 0);
    if (group >= kPolyFacegroupPairs) return false;
    return fragment == poly->facegroupFragments[group][0] || fragment == poly->facegroupFragments[group][1];
  }
  if (poly->fragmentMode == 0) return face.facegroup == fragment;
  return false;
}

// The single-fragment curved solids but the tetrahedron (whose pieces grow
// whole as they are): a piece is entered across its border once and grows
// whole from there. Entered at every border it meets in the same generation,
// a piece would be laid in as many parts, each cut off along the line where
// its growth met another's.
bool EntersPiecesOnce(int32_t shapeCode) {
  return shapeCode == 164 || shapeCode == 166 || shapeCode == 168 || shapeCode == 170 || shapeCode == 175 ||
         shapeCode == 176 || shapeCode == 179 || shapeCode == 180;
}

bool PieceIsStarted(const polyhedron* poly, int32_t group) {
  for (int32_t f = 0; f < SolidFaceCount(poly); ++f)
    if (poly->faces[f].placedFlags[kPlacedFlag] && VivoFacegroupOf3DFace(f, poly) == group) return true;
  return false;
}

bool EntersAStartedPiece(const polyhedron* poly, int32_t from3D, int32_t to3D) {
  if (!EntersPiecesOnce(poly->shapeCode)) return false;
  const int32_t group = VivoFacegroupOf3DFace(to3D, poly);
  return group != VivoFacegroupOf3DFace(from3D, poly) && PieceIsStarted(poly, group);
}

bool IsAvailable(const PolyFace& face) { return !face.placedFlags[kPlacedFlag] && !face.placedFlags[kNoSeedFlag]; }

int32_t FindSeed(const polyhedron* poly, int32_t fragment) {
  const int32_t n = SolidFaceCount(poly);
  if (poly->sliceMatchFlag) {
    for (int32_t f = 0; f < n; ++f)
      if (IsAvailable(poly->faces[f]) && IsMember(poly, f, fragment) && poly->faces[f].isSeed == 1) return f;
  }
  for (int32_t f = 0; f < n; ++f)
    if (IsAvailable(poly->faces[f]) && IsMember(poly, f, fragment)) return f;
  return -1;
}

bool OverlapsFragment(const polyhedron* poly, const temp2Dface* temp, int32_t sharedEdge) {
  const int32_t fragment = temp->corners[0].fragment;
  for (int32_t i = 0; i < std::clamp(poly->n2DFaces, 0, kPolyMaxFaces); ++i) {
    if (poly->faces[i].fragment != fragment) continue;
    if (New2DConflict(temp, i, poly, -1, sharedEdge)) return true;
  }
  return false;
}

// Curved three-corner faces keep, besides their three corners, the far vertex
// of the net face across their edge 2, which completes their curved patch.
void LinkExtraVertices(polyhedron* poly) {
  for (int32_t f = 0; f < SolidFaceCount(poly); ++f) {
    if (poly->faces[f].extraVertex == -1) continue;
    int32_t face2D = -1, corner2D = -1;
    Face_and_Index_3D_to_2D(f, 0, &face2D, &corner2D, poly);
    if (!ValidFace(face2D) || poly->faces[face2D].face3D != f) continue;
    PolyFace& net = poly->faces[face2D];
    const int32_t nb = net.nbrFace2D[kPartnerEdge];
    if (!ValidFace(nb) || Corners(poly->faces[nb].n2D) == 0) continue;
    const int32_t v = poly->faces[nb].vert2D[Next2Dvertex(poly, nb, net.nbrEdge2D[kPartnerEdge])];
    if (v != -1) net.extraVertex2D = v;
  }
}

}  // namespace

void Build2DNet(polyhedron* poly) {
  if (!poly || poly->n3DFaces < 1) return;
  ClearPlacedAndGenerations(poly);
  ForgetNet(poly);
  std::fill(std::begin(poly->vert2DUsed), std::end(poly->vert2DUsed), uint8_t(0));
  std::fill(std::begin(poly->vert3DOfVert2D), std::end(poly->vert3DOfVert2D), -1);
  std::fill(std::begin(poly->fragmentSpin), std::end(poly->fragmentSpin), 0.0);
  std::fill(std::begin(poly->fragmentFaceCount), std::end(poly->fragmentFaceCount), 0);
  poly->fragmentCount = 0;
  poly->bigFragmentCount = 0;
  poly->freeVertCursor = 0;
  poly->n2DFaces = 0;

  for (int32_t fragment = 1; BuildOneFragmentOfThe2DNet(poly, fragment); ++fragment) {
  }
  if (FragmentationIsRevisable(poly)) Build2DConnectivityCompletelyFromScratch(poly, poly->n2DFaces);
  LayOutFragments(poly);
  LinkExtraVertices(poly);
}

bool BuildOneFragmentOfThe2DNet(polyhedron* poly, int32_t fragment) {
  if (!poly) return false;
  if (fragment > kPolyMaxFragments) {
    poly->errorCode = kPolyErrorTooManyFragments;
    return false;
  }
  if (poly->fragmentMode == 1) ClearPlacedAndGenerations(poly);

  const int32_t seed = FindSeed(poly, fragment);
  if (seed < 0) return false;
  temp2Dface temp{};
  Make2DVersionOf3DFace(poly, seed, &temp, fragment);
  const int32_t seedFace = Add2DFaceToNet(poly, &temp, 0, -1);
  if (seedFace < 0) return false;
  poly->faces[seedFace].generation = 0;

  int32_t total = 0;
  for (int32_t generation = 0;; ++generation) {
    const int32_t n = poly->n2DFaces;
    int32_t placed = 0;
    for (int32_t j = 0; j < n; ++j) {
      // Faces of earlier fragments keep their generations; growing from
      // them would put faces of this fragment into theirs.
      if (poly->faces[j].fragment != fragment || poly->faces[j].generation != generation) continue;
      placed += PropagateNet(poly, j, generation, fragment);
    }
    total += placed;
    if (placed == 0) break;
  }
  if (total >= kBigFragmentFaces) ++poly->bigFragmentCount;
  return true;
}

uint8_t PropagateNet(polyhedron* poly, int32_t face2D, int32_t generation, int32_t fragment) {
  if (!poly || !ValidFace(face2D) || !ValidFace(poly->faces[face2D].face3D)) return 0;
  int32_t order[kPolyMaxCorners];
  const int32_t entries = BuildPrioritizedVertList(poly, face2D, order);
  uint8_t count = 0;
  for (int32_t k = 0; k < entries; ++k) {
    const int32_t e = order[k];
    const PolyFace& net = poly->faces[face2D];
    if (e >= Corners(net.n2D) || net.nbrFace2D[e] != -1) continue;

    int32_t f = -1, c = -1;
    Face_and_Index_2D_to_3D(face2D, e, &f, &c, poly);
    if (!ValidFace(f)) continue;
    const PolyFace& solid = poly->faces[f];
    if (solid.edgeFlags3D[c] & kEdgeFlagCut) continue;
    const int32_t h = solid.nbrFace3D[c];
    if (!ValidFace(h) || h >= SolidFaceCount(poly) || poly->faces[h].placedFlags[kPlacedFlag]) continue;

    temp2Dface temp{};
    Make2DVersionOf3DFace(poly, h, &temp, net.fragment);
    const int32_t m = solid.nbrEdge3D[c];
    if (m < 0 || m >= Corners(poly->faces[h].n3D)) continue;
    if (!IsMember(poly, h, fragment)) continue;
    if (EntersAStartedPiece(poly, f, h)) continue;
    if (poly->faces[h].edgeFlags3D[Prev3Dvertex(poly, h, m)] & kEdgeFlagCut) continue;

    TranslateTempface_core(&temp, m, face2D, e, poly);
    if (FindOrientationOfTempface(&temp) == -1.0f) {
      for (int32_t i = 0; i < temp.nCorners; ++i) std::swap(temp.corners[i].x, temp.corners[i].y);
      TranslateTempface_core(&temp, m, face2D, e, poly);
    }
    if (!poly->skipOverlapTest && OverlapsFragment(poly, &temp, m)) continue;

    const int32_t r = Add2DFaceToNet(poly, &temp, 0, -1);
    if (r < 0) continue;
    poly->faces[r].generation = generation + 1;
    ++count;
    if (poly->depthFirstPropagate) PropagateNet(poly, r, generation + 1, fragment);
  }
  return count;
}

int32_t BuildPrioritizedVertList(const polyhedron* poly, int32_t face2D, int32_t order[kPolyMaxCorners]) {
  if (!poly || !ValidFace(face2D)) return 0;
  // The priority belongs to the solid edge behind each net edge, so each
  // net edge is read through the solid face it shows.
  const int32_t n = Corners(poly->faces[face2D].n2D);
  const bool byGroup = ShapecodeIsACurvedOrigamiMonofrag(poly->shapeCode);
  const int32_t group = byGroup ? VivoFacegroupOf3DFace(poly->faces[face2D].face3D, poly) : 0;
  enum Rank { kFirst, kLater, kUnlisted };
  Rank rank[kPolyMaxCorners] = {};
  for (int32_t e = 0; e < n; ++e) {
    int32_t face3D = -1, edge3D = -1;
    Face_and_Index_2D_to_3D(face2D, e, &face3D, &edge3D, poly);
    if (!byGroup) {
      rank[e] = Edge3DIsNotDisdained(poly, face3D, edge3D) ? kFirst : kLater;
      continue;
    }
    const bool known = ValidFace(face3D) && face3D < SolidFaceCount(poly) && edge3D >= 0 && edge3D < kPolyMaxCorners;
    const int32_t h = known ? poly->faces[face3D].nbrFace3D[edge3D] : -1;
    if (!ValidFace(h) || h >= SolidFaceCount(poly)) {
      rank[e] = kUnlisted;
    } else {
      rank[e] = VivoFacegroupOf3DFace(h, poly) == group ? kFirst : kLater;
    }
  }
  int32_t count = 0;
  for (Rank wanted : {kFirst, kLater})
    for (int32_t e = 0; e < n; ++e)
      if (rank[e] == wanted) order[count++] = e;
  return count;
}

int32_t FindHighest2DVert(const polyhedron* poly) {
  if (!poly) return 0;
  for (int32_t v = kPolyMax2DVerts - 1; v >= 0; --v)
    if (poly->vert2DUsed[v]) return v;
  return 0;
}

void forbid_joining(polyhedron* poly, int32_t face3D, int32_t edge) {
  if (!poly || !ValidFace(face3D) || edge < 0 || edge >= kPolyMaxCorners) return;
  poly->faces[face3D].edgeFlags3D[edge] |= kEdgeFlagCut;
}
