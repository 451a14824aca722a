#include "polyhedron/polyhedron_add.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/polyhedron_predicates.h"

namespace {

// Single-precision constants, as the nets were always merged with them.
constexpr float kMerge2DDefault = 0.002f;
constexpr float kMerge2DVoronoi = 1e-6f;
constexpr float kMerge2DCurvedOrigami = 1e-7f;

double SquaredDistance3D(const double a[3], const double b[3]) {
  const double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
  return dx * dx + dy * dy + dz * dz;
}

bool SameCycle(const PolyFace& face, const int32_t* corners, int32_t n) {
  for (int32_t j = 0; j < n; ++j) {
    if (face.vert3D[j] != corners[0]) continue;
    bool all = true;
    for (int32_t k = 1; k < n && all; ++k) all = corners[k] == face.vert3D[(j + k) % n];
    if (all) return true;
  }
  return false;
}

bool DuplicatesAFace(const polyhedron* poly, const int32_t* corners, int32_t n) {
  const int32_t count = std::min(poly->n3DFaces, kPolyMaxFaces);
  for (int32_t g = 0; g < count; ++g)
    if (poly->faces[g].n3D == n && SameCycle(poly->faces[g], corners, n)) return true;
  return false;
}

bool RepeatsACorner(const int32_t* corners, int32_t n) {
  for (int32_t k = 0; k < n; ++k)
    if (corners[k] == corners[(k + 1) % n]) return true;
  return false;
}

bool IsStored3DVertex(const polyhedron* poly, int32_t v) {
  return v >= 0 && v < std::min(poly->n3DVerts, kPolyMax3DVerts);
}

void MarkCut(PolyFace& face, int32_t edge) {
  if (edge >= 0 && edge < kPolyMaxCorners) face.edgeFlags3D[edge] |= kEdgeFlagCut;
}

}  // namespace

void GetDefaultFaceAddingOptions(FaceAddingOptions* options) {
  if (!options) return;
  *options = FaceAddingOptions{};
  options->corners = nullptr;
  options->cutEdgeA = -1;
  options->facegroup = -1;
  options->cutEdgeB = -1;
  options->siteIndex = -1;
}

double Vertex2DMergeTolerance(int32_t shapeCode) {
  if (ShapecodeIsAVoronoi(shapeCode) || ShapecodeIsATruchetDual(shapeCode)) return double(kMerge2DVoronoi);
  if (ShapecodeIsACurvedOrigamiStandard(shapeCode) || ShapecodeIsACurvedOrigamiMonofrag(shapeCode))
    return double(kMerge2DCurvedOrigami);
  return double(kMerge2DDefault);
}

int32_t AddNew2DVertToPolyhedron(polyhedron* poly, double x, double y, uint16_t vert3D, int32_t fragment) {
  if (!poly) return -1;
  double(*coords)[2] = MutableCoords2D(poly);
  if (!coords) {
    poly->errorCode = kPolyErrorNoStorage;
    return -1;
  }
  const double t = Vertex2DMergeTolerance(poly->shapeCode);
  const double tSq = t * t;
  for (int32_t i = 0; i < kPolyMax2DVerts; ++i) {
    if (!poly->vert2DUsed[i] || poly->fragmentOf2D[i] != fragment) continue;
    const double dx = coords[i][0] - x, dy = coords[i][1] - y;
    if (dx * dx + dy * dy < tSq) return i;
  }
  int32_t cursor = poly->freeVertCursor % kPolyMax2DVerts;
  for (int32_t probe = 0; probe < kPolyMax2DVerts; ++probe) {
    if (!poly->vert2DUsed[cursor]) {
      poly->freeVertCursor = uint16_t(cursor);
      coords[cursor][0] = x;
      coords[cursor][1] = y;
      poly->vert3DOf2D[cursor] = vert3D;
      poly->fragmentOf2D[cursor] = int16_t(fragment);
      poly->vert2DUsed[cursor] = 1;
      return cursor;
    }
    cursor = (cursor + 1) % kPolyMax2DVerts;
  }
  poly->freeVertCursor = uint16_t(cursor);
  poly->errorCode = kPolyErrorNoFree2DVert;
  return -1;
}

int32_t CloseMatch3D(const polyhedron* poly, const double point[3], double tolerance) {
  if (!poly || !poly->coords3D || poly->n3DVerts < 1) return -1;
  const double tSq = tolerance * tolerance;
  const int32_t count = std::min(poly->n3DVerts, kPolyMax3DVerts);
  for (int32_t i = 0; i < count; ++i)
    if (SquaredDistance3D(poly->coords3D[i], point) < tSq) return i;
  return -1;
}

int32_t AddNew3DDVertToPolyhedron(polyhedron* poly, const double point[3]) {
  return AddNew3DDVertToPolyhedron_tol(poly, point, kVertex3DMergeTolerance, nullptr);
}

int32_t AddNew3DDVertToPolyhedron_tol(polyhedron* poly, const double point[3], double tolerance, uint8_t* made) {
  if (made) *made = 0;
  if (!poly) return -1;
  const int32_t match = CloseMatch3D(poly, point, tolerance);
  if (match >= 0) return match;
  double(*coords)[3] = MutableCoords3D(poly);
  if (!coords) {
    poly->errorCode = kPolyErrorNoStorage;
    return -1;
  }
  if (poly->n3DVerts < 0 || poly->n3DVerts >= kPolyMax3DVerts) {
    poly->errorCode = kPolyErrorTooMany3DVerts;
    return -1;
  }
  const int32_t i = poly->n3DVerts++;
  coords[i][0] = point[0];
  coords[i][1] = point[1];
  coords[i][2] = point[2];
  if (made) *made = 1;
  return i;
}

int32_t AddNew3DTVertToPolyhedron_tol(polyhedron* poly, triplex point, double tolerance, uint8_t* made) {
  const double p[3] = {point.x, point.y, point.z};
  return AddNew3DDVertToPolyhedron_tol(poly, p, tolerance, made);
}

void core_Add3DFaceToPolyhedron(polyhedron* poly, FaceAddingOptions* options) {
  if (!poly || !options || options->nCorners < 1 || !options->corners) return;
  const int32_t* corners = options->corners;
  const int32_t given = options->nCorners;
  if (!options->deferChecks && poly->n3DFaces > 0 && DuplicatesAFace(poly, corners, given)) {
    poly->errorCode = kPolyErrorDuplicateFace;
    return;
  }
  if (RepeatsACorner(corners, given)) {
    poly->errorCode = kPolyErrorRepeatedCorner;
    return;
  }
  if (poly->n3DFaces > kPolyMaxFaces - 1) {
    poly->errorCode = kPolyErrorTooMany3DFaces;
    return;
  }
  // Padding a short face up to three corners would read past the caller's
  // list, and a corner without a stored vertex past the coordinates.
  const int32_t n = std::min(given, kPolyMaxCorners);
  bool valid = given >= kPolyMinCorners;
  for (int32_t k = 0; k < n && valid; ++k) valid = IsStored3DVertex(poly, corners[k]);
  if (!valid) {
    poly->errorCode = kPolyErrorBadFace;
    return;
  }
  options->nCorners = n;

  PolyFace& face = poly->faces[poly->n3DFaces];
  face.n3D = n;
  for (int32_t k = 0; k < kPolyMaxCorners; ++k) face.vert3D[k] = k < n ? corners[k] : -1;
  std::fill(std::begin(face.nbrFace3D), std::end(face.nbrFace3D), -1);
  std::fill(std::begin(face.nbrEdge3D), std::end(face.nbrEdge3D), -1);
  MarkCut(face, options->cutEdgeA);
  MarkCut(face, options->cutEdgeB);
  face.fragment = 0;
  face.facegroup = int16_t(options->facegroup);
  face.extraVertex = face.extraVertex2D = -1;
  face.placedFlags[2] = face.placedFlags[3] = 0;
  face.siteIndex = options->siteIndex;
  std::copy(std::begin(options->point), std::end(options->point), face.point);
  face.placedFlags[0] = options->hideFlag;
  face.sliceWholeFace = options->sliceWholeFace;
  ++poly->n3DFaces;

  if (!options->deferChecks) {
    Calc3DAngles(poly);
    Build3DConnectivity(poly);
  }
  if (options->takeExtraVertex == 1) {
    const int32_t extra = corners[n];
    const bool isCorner = std::find(corners, corners + n, extra) != corners + n;
    if (!isCorner && IsStored3DVertex(poly, extra)) face.extraVertex = extra;
  }
}

void Add3DFaceToPolyhedron_macro(polyhedron* poly, const int32_t* corners, int32_t nCorners, int32_t cutEdgeA,
                                 uint8_t deferChecks, int32_t takeExtraVertex, int32_t facegroup, int32_t cutEdgeB,
                                 int32_t siteIndex) {
  FaceAddingOptions options{};
  GetDefaultFaceAddingOptions(&options);
  options.corners = corners;
  options.nCorners = nCorners;
  options.cutEdgeA = cutEdgeA;
  options.deferChecks = deferChecks;
  options.takeExtraVertex = takeExtraVertex;
  options.facegroup = facegroup;
  options.cutEdgeB = cutEdgeB;
  options.siteIndex = siteIndex;
  core_Add3DFaceToPolyhedron(poly, &options);
}
