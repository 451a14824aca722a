#include "polyhedron/correspondence.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kShapeFiveTets = 13;
constexpr int32_t kShapeTwelveStrips = 12;
constexpr int32_t kShapeEveryGroupOfSix = 20;
constexpr int32_t kShapePentagonSeeded = 21;
// Shapes whose tables only match from a particular solid face.
constexpr int32_t kShapeSeedFace5 = 23;
constexpr int32_t kShapeSeedFace1 = 66;

// Shape 20: net faces 0, 6, ..., 66 show the solid face of the same number.
constexpr int32_t kGroupOfSixStep = 6;
constexpr int32_t kGroupOfSixLast = 66;
// Shape 13: ten strips of six net faces, each around one solid face.
constexpr int32_t kFiveTetsStripFaces[] = {0, 6, 37, 11, 14, 2, 5, 51, 39, 56};
// Shape 21: every eleventh net face, from face 5, shows a regular pentagon.
constexpr int32_t kPentagonFirst = 5;
constexpr int32_t kPentagonStep = 11;
constexpr int32_t kPentagonCorners = 5;
constexpr int32_t kPentagonMinFaces = 6;

constexpr int32_t kPlacedFlag = 3;

bool ValidFace(int32_t f) { return f >= 0 && f < kPolyMaxFaces; }

int32_t Corners(int32_t n) { return n >= 1 && n <= kPolyMaxCorners ? n : 0; }

int32_t Corners2D(const polyhedron* poly, int32_t f) { return ValidFace(f) ? Corners(poly->faces[f].n2D) : 0; }

int32_t Wrap(int32_t i, int32_t n) {
  if (n <= 0) return 0;
  const int32_t r = i % n;
  return r < 0 ? r + n : r;
}

int32_t FaceCountOf2DVertex(const polyhedron* poly, int32_t v) {
  return v >= 0 && v < kPolyMax2DVerts ? poly->faceCount2D[v] : 0;
}

int32_t FaceCountOf3DVertex(const polyhedron* poly, int32_t v) {
  return v >= 0 && v < kPolyMax3DVerts ? poly->faceCount3D[v] : 0;
}

// The solid face across edge e of solid face f, -1 when there is none.
int32_t Neighbour3D(const polyhedron* poly, int32_t f, int32_t e) {
  if (!ValidFace(f) || e < 0 || e >= kPolyMaxCorners) return -1;
  return poly->faces[f].nbrFace3D[e];
}

// Links net face f to solid face F with the given corner offset; a net face
// without corners keeps its links. Corner counts and angles are not compared.
void Link(polyhedron* poly, int32_t f, int32_t F, int32_t offset) {
  if (!ValidFace(f) || poly->faces[f].n2D < 1) return;
  poly->faces[f].face3D = F;
  poly->faces[f].cornerOffset = offset;
}

bool RunsAgree(const float* net, int32_t netStart, int32_t netCorners, const float* solid, int32_t solidStart,
               int32_t solidCorners) {
  for (int32_t k = 0; k < solidCorners; ++k)
    if (!AnglesAreNearlyEqual(net[Wrap(netStart + k, netCorners)], solid[Wrap(solidStart + k, solidCorners)]))
      return false;
  return true;
}

bool ValencesAgree(int32_t a, int32_t b, int32_t A, int32_t B, bool strict) {
  if (strict) return a == A && b == B;
  return (a > A && b > B) || (a < A && b < B);
}

struct SeedPair {
  int32_t f, e, g, ge;
  int32_t candidate, c, r;
};

// The lowest solid face with n corners, or the fixed seed face of a shape
// whose tables only match from there.
int32_t CandidateFace(const polyhedron* poly, int32_t n, int32_t nFaces) {
  if (poly->shapeCode == kShapeSeedFace5) return 5;
  if (poly->shapeCode == kShapeSeedFace1) return 1;
  for (int32_t k = 0; k < nFaces; ++k)
    if (poly->faces[k].n3D == n) return k;
  return -1;
}

// A net face that cannot seed (no corners, no net neighbour, no solid face of
// its corner count) is passed over: the next face may still seed, and giving
// up there would leave the whole net unlinked.
bool TrySeed(const polyhedron* poly, int32_t f, int32_t nFaces, int32_t maxCorners, bool strict, SeedPair* out) {
  const PolyFace& face = poly->faces[f];
  const int32_t n = Corners(face.n2D);
  if (n < 1 || n < maxCorners) return false;
  int32_t e = -1;
  for (int32_t i = n - 1; i >= 0 && e < 0; --i)
    if (ValidFace(face.nbrFace2D[i])) e = i;
  if (e < 0) return false;
  const int32_t candidate = CandidateFace(poly, n, nFaces);
  if (!ValidFace(candidate)) return false;
  int32_t c = -1;
  const int32_t r =
      FindSimilarAmong3DNeighbors(candidate, f, e, face.nbrFace2D[e], face.nbrEdge2D[e], &c, poly, strict);
  if (r == -1) return false;
  *out = SeedPair{f, e, face.nbrFace2D[e], face.nbrEdge2D[e], candidate, c, r};
  return true;
}

int32_t GeneralSearch(polyhedron* poly) {
  const int32_t nFaces = std::clamp(poly->n3DFaces, 0, kPolyMaxFaces);
  int32_t maxCorners = 0;
  for (int32_t f = 0; f < nFaces; ++f) maxCorners = std::max(maxCorners, Corners(poly->faces[f].n2D));

  SeedPair seed{};
  bool found = false;
  for (const bool strict : {true, false}) {
    for (int32_t f = 0; f < nFaces && !found; ++f) found = TrySeed(poly, f, nFaces, maxCorners, strict, &seed);
    if (found) break;
  }
  if (!found) return 0;

  int32_t ce = poly->faces[seed.candidate].nbrEdge3D[seed.c];
  if (poly->shapeCode == kShapeTwelveStrips) {
    // This net matches its solid only from a fixed pair.
    seed.f = 0;
    seed.e = 0;
    seed.g = poly->faces[0].nbrFace2D[0];
    seed.ge = poly->faces[0].nbrEdge2D[0];
    seed.candidate = 5;
    seed.c = 3;
    seed.r = poly->faces[5].nbrFace3D[3];
    ce = poly->faces[5].nbrEdge3D[3];
  }
  const int32_t nf = Corners2D(poly, seed.f);
  Link(poly, seed.f, seed.candidate, Wrap(nf + seed.c - seed.e, nf));
  if (ValidFace(seed.g)) {
    const int32_t ng = Corners2D(poly, seed.g);
    Link(poly, seed.g, seed.r, Wrap(ng + ce - seed.ge, ng));
  }
  Propagate(seed.f, poly);
  Propagate(seed.g, poly);
  return 1;
}

bool IsRegularPentagon(const PolyFace& face) {
  if (face.n3D != kPentagonCorners) return false;
  for (int32_t j = 0; j < kPentagonCorners; ++j)
    if (!AnglesAreNearlyEqual(face.angle3D[j], face.angle3D[(j + 1) % kPentagonCorners])) return false;
  return true;
}

int32_t LinkEveryGroupOfSix(polyhedron* poly) {
  for (int32_t f = 0; f <= kGroupOfSixLast; f += kGroupOfSixStep) {
    Link(poly, f, f, 0);
    Propagate(f, poly);
  }
  return 1;
}

// A net whose tables give both the 2D-to-3D map and solid rows lists each
// solid face in the slot of the net face that shows it, corner for corner:
// its warp reads the corners in a fixed order (centre, edge midpoint,
// corner), so neighbouring faces run opposite ways round and no search by
// edge links could follow them. A row that the map contradicts stays
// unlinked rather than linked to a face it does not show.
int32_t LinkRowsUnderTheMap(polyhedron* poly) {
  const int32_t faces = std::clamp(poly->n3DFaces, 0, kPolyMaxFaces);
  for (int32_t f = 0; f < faces; ++f) {
    const PolyFace& face = poly->faces[f];
    bool same = Corners(face.n2D) > 0 && face.n2D == face.n3D;
    for (int32_t j = 0; same && j < face.n2D; ++j)
      same = face.vert2D[j] >= 0 && face.vert2D[j] < kPolyMax2DVerts &&
             poly->map2Dto3D[face.vert2D[j]] == face.vert3D[j];
    if (same) Link(poly, f, f, 0);
  }
  return 1;
}

}  // namespace

bool AnglesAreNearlyEqual(float a, float b) {
  const float difference = a - b;
  return std::fabs(double(difference)) < kFaceAngleTolerance;
}

int32_t FindSimilarAmong3DNeighbors(int32_t candidate3D, int32_t f, int32_t e, int32_t g, int32_t ge, int32_t* corner,
                                    const polyhedron* poly, bool strict) {
  *corner = -1;
  if (!poly || !ValidFace(candidate3D) || !ValidFace(f) || !ValidFace(g)) return -1;
  const PolyFace& net = poly->faces[f];
  const PolyFace& netNbr = poly->faces[g];
  const PolyFace& cand = poly->faces[candidate3D];
  const int32_t nf = Corners(net.n2D), ng = Corners(netNbr.n2D), n = Corners(cand.n3D);
  if (nf == 0 || e < 0 || e >= nf || ge < 0 || ge >= ng) return -1;
  const int32_t A = FaceCountOf2DVertex(poly, net.vert2D[e]);
  const int32_t B = FaceCountOf2DVertex(poly, net.vert2D[(e + 1) % nf]);
  for (int32_t c = 0; c < n; ++c) {
    const int32_t h = cand.nbrFace3D[c];
    if (!ValidFace(h) || ng != poly->faces[h].n3D) continue;
    const int32_t a = FaceCountOf3DVertex(poly, cand.vert3D[c]);
    const int32_t b = FaceCountOf3DVertex(poly, cand.vert3D[(c + 1) % n]);
    const bool seedFits =
        ValencesAgree(a, b, A, B, strict) && n == nf && RunsAgree(net.angle2D, e, nf, cand.angle3D, c, n);
    if (!seedFits) continue;
    const PolyFace& other = poly->faces[h];
    const int32_t he = cand.nbrEdge3D[c];
    if (!RunsAgree(netNbr.angle2D, ge, ng, other.angle3D, he, Corners(other.n3D))) continue;
    *corner = c;
    return h;
  }
  return -1;
}

void Propagate(int32_t f, polyhedron* poly) {
  if (!poly || !ValidFace(f)) return;
  const int32_t F = poly->faces[f].face3D;
  if (!ValidFace(F)) return;
  const int32_t nf = Corners(poly->faces[f].n2D);
  for (int32_t i = 0; i < nf; ++i) {
    const int32_t g = poly->faces[f].nbrFace2D[i];
    const int32_t ge = poly->faces[f].nbrEdge2D[i];
    if (!ValidFace(g) || poly->faces[g].face3D != -1) continue;
    const int32_t c = Wrap(i + poly->faces[f].cornerOffset, nf);
    const int32_t H = poly->faces[F].nbrFace3D[c];
    const int32_t he = poly->faces[F].nbrEdge3D[c];
    const int32_t ng = Corners(poly->faces[g].n2D);
    Link(poly, g, H, Wrap(ng + he - ge, ng));
    Propagate(g, poly);
  }
}

void MakeSawtoothCorrespondNew(polyhedron* poly, int32_t strip, int32_t face3D) {
  if (!poly) return;
  const int32_t N = Neighbour3D(poly, face3D, 0);
  const int32_t first = 6 * strip;
  Link(poly, first + 5, face3D, 0);
  Link(poly, first + 2, N, 0);
  Link(poly, first + 4, Neighbour3D(poly, face3D, 3), 0);
  Link(poly, first + 3, Neighbour3D(poly, face3D, 4), 0);
  Link(poly, first + 1, Neighbour3D(poly, N, 3), 0);
  Link(poly, first + 0, Neighbour3D(poly, N, 4), 0);
}

int32_t DetermineCorrespondenceForFiveTets(polyhedron* poly) {
  if (!poly) return 0;
  int32_t strip = 0;
  for (const int32_t face3D : kFiveTetsStripFaces) MakeSawtoothCorrespondNew(poly, strip++, face3D);
  return 1;
}

int32_t DetermineCorrespondenceForGID(polyhedron* poly) {
  if (!poly) return 0;
  for (PolyFace& face : poly->faces) {
    if (face.n2D > 0) face.cornerOffset = 0;
    face.face3D = -1;
    face.placedFlags[kPlacedFlag] = 0;
  }
  const int32_t nFaces = std::clamp(poly->n3DFaces, 0, kPolyMaxFaces);
  if (nFaces < kPentagonMinFaces) return 1;
  for (int32_t f = kPentagonFirst; f < nFaces; f += kPentagonStep) {
    for (int32_t k = 0; k < nFaces; ++k) {
      PolyFace& solid = poly->faces[k];
      if (solid.placedFlags[kPlacedFlag] || !IsRegularPentagon(solid)) continue;
      solid.placedFlags[kPlacedFlag] = 1;
      Link(poly, f, k, 0);
      Propagate(f, poly);
      break;
    }
  }
  return 1;
}

int32_t DetermineCorrespondence(polyhedron* poly) {
  if (!poly) return 0;
  switch (poly->shapeCode) {
    case kShapeFiveTets:
      return DetermineCorrespondenceForFiveTets(poly);
    case kShapeEveryGroupOfSix:
      return LinkEveryGroupOfSix(poly);
    case kShapePentagonSeeded:
      return DetermineCorrespondenceForGID(poly);
    default:
      break;
  }
  if (poly->correspondenceGiven) return 1;
  if (poly->map2Dto3D && poly->faces3DRows) return LinkRowsUnderTheMap(poly);
  return GeneralSearch(poly);
}
