#include "polybuild/setup/caller_faced_solid.h"

#include "polyhedron/catalogue.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/polyhedron_record.h"

namespace {

constexpr int32_t kFaces = 4;
constexpr int32_t kNoEdge = -1;
constexpr int32_t kNoGroup = -1;
constexpr int32_t kNoSite = -1;

// Alternate corners of a cube about the centre, on the unit sphere.
constexpr double kCorner = 0.57735026918962573;  // 1 / sqrt(3)
constexpr double kCorners[kFaces][3] = {
    {kCorner, kCorner, kCorner}, {kCorner, -kCorner, -kCorner}, {-kCorner, kCorner, -kCorner}, {-kCorner, -kCorner, kCorner}};
// Each face leaves out one corner; the corners run counter-clockwise seen
// from outside, as every solid of the catalogue runs.
constexpr int32_t kFaceCorners[kFaces][3] = {{1, 3, 2}, {0, 2, 3}, {0, 3, 1}, {0, 1, 2}};

int32_t UsedVertexHighWater(const polyhedron* poly) {
  for (int32_t v = kPolyMax2DVerts - 1; v >= 0; --v)
    if (poly->vert2DUsed[v]) return v + 1;
  return 0;
}

}  // namespace

void SupplyCallerFaces(polyhedron* poly, BufferProcs* procs) {
  if (!poly || poly->shapeCode != kShapeCodeCallerFaces) return;
  // The catalogue counted four faces it did not make; they are added here.
  poly->n3DFaces = 0;
  getPolyStorageEtc(poly, procs, kPolyMax3DVerts, kPolyMaxFaces);
  if (poly->errorCode == kPolyErrorNoStorage || !poly->ownsArrays) return;
  int32_t vertex[kFaces];
  for (int32_t k = 0; k < kFaces; ++k) {
    vertex[k] = AddNew3DDVertToPolyhedron(poly, kCorners[k]);
    if (vertex[k] < 0) return;
  }
  for (const auto& face : kFaceCorners) {
    const int32_t corners[3] = {vertex[face[0]], vertex[face[1]], vertex[face[2]]};
    Add3DFaceToPolyhedron_macro(poly, corners, 3, kNoEdge, 0, 0, kNoGroup, kNoEdge, kNoSite);
  }
  if (poly->errorCode != kPolyErrorNone) return;
  Calc3DAngles(poly);
  Build3DConnectivity(poly);
  UnfoldGeneratedSolid(poly);
  poly->n2DVerts = UsedVertexHighWater(poly);
}
