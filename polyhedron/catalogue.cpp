#include "polyhedron/catalogue.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/catalogue_builders.h"
#include "polyhedron/catalogue_rows.h"
#include "polyhedron/catalogue_static.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_predicates.h"
#include "polyhedron/nets/reattach.h"
#include "polyhedron/nets/unfold.h"

namespace {

constexpr float kEmptyCramBounds[4] = {999.0f, -999.0f, 999.0f, -999.0f};  // xMin > xMax: no box
constexpr int32_t kShapeCodeThirtysphere = 74;
constexpr int32_t kShapeCodeOddBall = 75;
constexpr int32_t kShapeCodeEmpty = 78;  // generated, but by nothing: an empty shape

bool InRange(int32_t code, int32_t first, int32_t last) { return code >= first && code <= last; }

// The options every shape starts from before its entry sets its own.
void ResetShapeOptions(polyhedron* poly) {
  std::copy(std::begin(kEmptyCramBounds), std::end(kEmptyCramBounds), poly->cramBounds);
  poly->sphericalFlag = 1;
  poly->map2Dto3D = nullptr;
  poly->facegroupTable = nullptr;
  poly->tabPhaseFlip = 0;
  poly->tabStyle = 0;
  poly->correspondenceGiven = 0;
  poly->upFace = -1;
  poly->depthFirstPropagate = 0;
  poly->skipOverlapTest = 0;
  poly->exportFlipFirstAxis = 0;
  poly->origamiTabOption = 0;
  poly->warpStyle = 0;
  poly->fancyPointMode = 0;
  poly->segmentStretch = 0;
  poly->segmentStretchAlpha = 1.0;
  poly->bandCulling = 1;
  poly->cramMode = 0;
  poly->cramMode2 = 0;
  poly->exportPlanShape = -1;
  std::fill(std::begin(poly->regionRule), std::end(poly->regionRule), uint8_t{0});
  poly->spinStyle = 0;
  poly->fragmentationRevisable = 0;
  poly->slicingMode = 0;
  poly->reattachFaceLimit = kPolyDefaultReattachFaceLimit;
  poly->sliceMatchFlag = 0;
  poly->fragmentMode = 0;
  poly->mirrorFlipA = 0;
  poly->mirrorFlipB = 0;
}

// Shapes fitted by their unit factors alone and drawn without leaving out
// the triangles outside a scanline band.
bool FitsByUnitFactorsOnly(int32_t code) {
  return InRange(code, 48, 51) || InRange(code, 61, 68) || code == 150;
}

// No faces and no vertices of either kind.
void EmptyShape(polyhedron* poly) {
  poly->n3DFaces = 0;
  poly->n2DFaces = 0;
  poly->n3DVerts = 0;
  poly->n2DVerts = 0;
}

// The solid vertices a mapped net names: one more than the highest the map
// gives any of the net's points (the map has no 3D rows to count them).
int32_t MappedVertexCount(const polyhedron* poly, const StaticShapeEntry& entry) {
  const int32_t points = std::min(poly->n2DVerts, entry.map2Dto3DLength);
  int32_t highest = -1;
  for (int32_t v = 0; v < points; ++v) highest = std::max(highest, int32_t(entry.map2Dto3D[v]));
  return std::min(highest + 1, kPolyMax3DVerts);
}

}  // namespace

void LoadStaticShapeEntry(polyhedron* poly, const StaticShapeEntry& entry, BufferProcs* procs) {
  if (!poly) return;
  DumpPolyStorage(poly, procs);
  ResetShapeOptions(poly);
  poly->coords2D = entry.coords2D;
  poly->coords3D = entry.coords3D;
  poly->faces2DRows = entry.faces2DRows;
  // A net may give both: the map places the render points, and the solid
  // rows, one under each net face, are the faces the exports write.
  poly->faces3DRows = entry.faces3DRows;
  poly->map2Dto3D = entry.map2Dto3D;
  poly->facegroupTable = entry.facegroupTable;
  poly->n3DFaces = entry.faceCount;
  poly->mirrorFlipA = entry.mirrorFlipA;
  poly->mirrorFlipB = entry.mirrorFlipB;
  poly->exportFlipFirstAxis = entry.exportFlipFirstAxis;
  poly->warpStyle = entry.warpStyle;
  poly->upFace = entry.upFace;
  poly->sphericalFlag = entry.sphericalFlag;
  poly->tabStyle = entry.tabStyle;
  poly->tabPhaseFlip = entry.tabPhaseFlip;
  poly->origamiTabOption = entry.origamiTabOption;
  poly->cramMode2 = entry.cramMode2;
  std::copy(std::begin(entry.cramBounds), std::end(entry.cramBounds), poly->cramBounds);
  poly->segmentStretch = entry.segmentStretch;
  poly->segmentStretchAlpha = entry.segmentStretchAlpha;
  poly->exportPlanShape = entry.exportPlanShape;
  poly->bandCulling = entry.bandCulling;
  poly->correspondenceGiven = 0;
  poly->ownsArrays = 0;
  if (FitsByUnitFactorsOnly(entry.shapeCode)) {
    poly->cramMode = 1;
    poly->bandCulling = 0;
  }
  LoadStaticFaceRows(poly, entry.rows2DLength, poly->faces3DRows ? entry.rows3DLength : 0);
  if (poly->map2Dto3D) poly->n3DVerts = MappedVertexCount(poly, entry);
}

namespace {

// The catalogue's own settings of a generated shape, made before its
// generator runs.
void PrepareGeneratedShape(polyhedron* poly, int32_t code, BufferProcs* procs) {
  DumpPolyStorage(poly, procs);
  ResetShapeOptions(poly);
  EmptyShape(poly);
  poly->mirrorFlipA = 1;
  poly->mirrorFlipB = 0;
  poly->correspondenceGiven = 1;
  // The thirtysphere and the geodesic spheres keep the overlap test.
  poly->skipOverlapTest = (code == kShapeCodeThirtysphere || InRange(code, 80, 101)) ? 0 : 1;
  if (code == 71 || code == 72 || code == kShapeCodeOddBall || code == 150) {
    poly->fancyPointMode = 1;
    poly->regionRule[0] = 1;
    poly->spinStyle = 1;
  }
  if (code == kShapeCodeOddBall) poly->mirrorFlipA = 0;
  if (FitsByUnitFactorsOnly(code)) {
    poly->cramMode = 1;
    poly->bandCulling = 0;
  }
  if (InRange(code, 161, 180)) {
    // Curved-element solids: the standard variants give each piece its own
    // fragment; all take their regions from the facegroups.
    if (ShapecodeIsACurvedOrigamiStandard(code)) poly->fragmentMode = 1;
    poly->regionRule[2] = 1;
    poly->regionRule[3] = 1;
    // Fragment spin by family, in pairs of codes: VivoTet, Tribox, VivoOct,
    // VivoCube, VivoDodecahedron, VivoIcosahedron, then the four squarebox
    // and the four squirclebox codes.
    constexpr int32_t kPairSpin[6] = {3, 4, 3, 1, 4, 4};
    poly->spinStyle = code <= 172 ? kPairSpin[(code - 161) / 2] : (code <= 176 ? 1 : 0);
  }
}

// Builds a generated shape's solid and unfolds it. False when the shape has
// a generator that is not part of the system yet (it is left empty).
bool BuildGeneratedSolid(polyhedron* poly, int32_t code, BufferProcs* procs, uint8_t fullDetail) {
  if (code == kShapeCodeEmpty) return true;
  // The generator's own refusal must be told apart from an error an earlier
  // step left in the record, which is kept.
  const int32_t earlierError = poly->errorCode;
  poly->errorCode = kPolyErrorNone;
  if (ShapecodeIsATruchetDual(code)) {
    kGeneratedShapeBuilders.buildDual(poly, code, procs, fullDetail);
  } else if (!kGeneratedShapeBuilders.runGenerator(poly, code, procs, fullDetail)) {
    return false;
  }
  if (poly->errorCode == kPolyErrorShapeNotAvailable) {
    // A generator that is not built yet leaves nothing to unfold.
    EmptyShape(poly);
    return false;
  }
  if (poly->errorCode == kPolyErrorNone) poly->errorCode = earlierError;
  UnfoldGeneratedSolid(poly);
  return true;
}

// One more than the highest 2D slot in use; 0 when none is.
int32_t VertexHighWater(const polyhedron* poly) {
  for (int32_t v = kPolyMax2DVerts - 1; v >= 0; --v)
    if (poly->vert2DUsed[v]) return v + 1;
  return 0;
}

}  // namespace

void UnfoldGeneratedSolid(polyhedron* poly) {
  if (!poly) return;
  kGeneratedShapeBuilders.adjustScissorInfo(poly);
  Build2DNet(poly);
  if (poly->fragmentCount <= 1 || !poly->fragmentationRevisable) return;
  // Small fragments get one cut edge each released, by the first rule that
  // finds one, and the solid is unfolded again.
  Calc3DAngles(poly);
  for (int32_t k = 0; k < kPolyFragmentSlots; ++k) {
    const int32_t faces = poly->fragmentFaceCount[k];
    if (faces < 1 || faces > poly->reattachFaceLimit) continue;
    if (AttemptToReattachedFragment_at_cusp(poly, k)) continue;
    if (AttemptToReattachedFragment_at_tinyface(poly, k)) continue;
    if (AttemptToReattachedFragment_at_singleneighbor(poly, k)) continue;
    AttemptToReattachedFragment_at_arcstart(poly, k);
  }
  Build2DNet(poly);
}

void ReadFaceInfo(polyhedron* poly, int32_t shapeCode, uint32_t, BufferProcs* procs, uint8_t fullDetail) {
  if (!poly) return;
  poly->shapeCode = shapeCode;
  if (const StaticShapeEntry* entry = FindStaticShape(shapeCode)) {
    LoadStaticShapeEntry(poly, *entry, procs);
    return;
  }
  if (shapeCode == kShapeCodeCallerFaces) {
    poly->sphericalFlag = 1;
    poly->map2Dto3D = nullptr;
    poly->tabPhaseFlip = 0;
    poly->tabStyle = 0;
    poly->n3DFaces = 4;
    poly->mirrorFlipA = 1;
    poly->mirrorFlipB = 0;
    poly->correspondenceGiven = 1;
  } else if (PolyhedronIsBuiltOnTheFly(shapeCode)) {
    PrepareGeneratedShape(poly, shapeCode, procs);
    if (!BuildGeneratedSolid(poly, shapeCode, procs, fullDetail)) poly->errorCode = kPolyErrorShapeNotAvailable;
  } else if (StaticShapeTablesMissing(shapeCode)) {
    DumpPolyStorage(poly, procs);
    ResetShapeOptions(poly);
    EmptyShape(poly);
    poly->errorCode = kPolyErrorShapeNotAvailable;
  } else {
    EmptyShape(poly);
  }
  poly->n2DVerts = VertexHighWater(poly);
}
