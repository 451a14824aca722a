#include "polybuild/procedural/dual_polyhedron.h"

#include <cstring>

#include "frame/base/host_suites.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polybuild/voronoi/voronoi_faces.h"
#include "polybuild/voronoi/voronoi_options.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"

namespace {

constexpr int32_t kWalkSteps = 300;
constexpr int16_t kDualSourceMethod = kNetMethodComputed;
constexpr int32_t kDualSourceCram = 1;

bool ValidFace(const polyhedron* poly, int32_t f) { return f >= 0 && f < kPolyMaxFaces && f < poly->n3DFaces; }

int32_t Corners(const PolyFace& f) { return f.n3D >= 1 && f.n3D <= kPolyMaxCorners ? f.n3D : 0; }

// The point a scratch face hands to the dual: the one it carries, or, for a
// face that carries none (the faces of a static solid have no site), the
// mean of its corners, so that the dual of a regular solid is its regular
// dual rather than a heap of faces at the centre. (A carried point is a site
// on the unit sphere, never the centre.)
void PointOfFace(const polyhedron* scratch, int32_t f, double out[3]) {
  const PolyFace& face = scratch->faces[f];
  if (face.point[0] != 0.0 || face.point[1] != 0.0 || face.point[2] != 0.0) {
    for (int32_t k = 0; k < 3; ++k) out[k] = face.point[k];
    return;
  }
  FetchCentroidOf3DFace(scratch, f, out);
}

}  // namespace

void BuildOneDualFaceFrom(polyhedron* scratch, int32_t face, int32_t corner, polyhedron* target,
                          VoronoiHandlingOptions* options, int32_t dualIndex) {
  if (!scratch || !target || !options || !ValidFace(scratch, face)) return;
  const PolyFace& start = scratch->faces[face];
  const int32_t n = Corners(start);
  if (corner < 0 || corner >= n) return;
  HALFSPACE list;
  InitEmptyList(&list);
  double point[3];
  PointOfFace(scratch, face, point);
  AddPointToList_while_killing_redundancies(point, &list, start.siteIndex, options->mergeDistance);

  int32_t f = face, e = corner;
  for (int32_t step = 0; step < kWalkSteps; ++step) {
    PolyFace& walked = scratch->faces[f];
    walked.dualVisited[e] = 1;
    const int32_t g = walked.nbrFace3D[e];
    const int32_t m = walked.nbrEdge3D[e];
    if (g == face || !ValidFace(scratch, g)) break;
    const PolyFace& across = scratch->faces[g];
    const int32_t ng = Corners(across);
    if (ng == 0 || m < 0 || m >= ng) break;
    PointOfFace(scratch, g, point);
    AddPointToList_while_killing_redundancies(point, &list, across.siteIndex, options->mergeDistance);
    // The edge of g that ends at the vertex: two corners back from m.
    f = g;
    e = ((m - 2) % ng + ng) % ng;
  }

  // The carrier holds the scratch vertex and the dual face's number.
  HALFSPACE carrier;
  std::memset(&carrier, 0, sizeof carrier);
  InitSomeFieldsForNewNode(&carrier);
  carrier.next = carrier.prev = carrier.head = &carrier;
  const int32_t v = start.vert3D[(corner + 1) % n];
  if (v >= 0 && v < kPolyMax3DVerts && scratch->coords3D)
    for (int32_t k = 0; k < 3; ++k) carrier.point[k] = scratch->coords3D[v][k];
  carrier.index = dualIndex;
  DumpPointListIntoPolyhedron(&list, &carrier, target, options);
  DisposeListExceptForHead(&list);
}

void BuildDualOfPoly(polyhedron* target, BufferProcs* procs, int32_t sourceShapeCode, VoronoiHandlingOptions* options) {
  if (!target || !options) return;
  getPolyStorageEtc(target, procs, kPolyMax3DVerts, kPolyMaxFaces);
  BufferID id = 0;
  void* block = RobustNewPtr(sizeof(polyhedron), &id, procs);
  if (block) {
    // The record is far too large for the stack; it is zero-filled in place.
    std::memset(block, 0, sizeof(polyhedron));
    auto* scratch = static_cast<polyhedron*>(block);
    NullifyPolyStorage(scratch);
    InitPoly(scratch, target->targetRect[3], target->tabDepth);
    scratch->owner = target->owner;
    SetUpReallyGeneralPolyhedron(scratch, sourceShapeCode, kDualSourceMethod, kDualSourceCram, 0.0, procs, 1);
    CopyCertainVoronoiPrefsIntoPoly(options, target);
    int32_t made = 0;
    if (target->ownsArrays) {
      for (int32_t f = 0; f < scratch->n3DFaces && f < kPolyMaxFaces; ++f) {
        for (int32_t c = 0; c < Corners(scratch->faces[f]); ++c) {
          if (scratch->faces[f].dualVisited[c]) continue;
          BuildOneDualFaceFrom(scratch, f, c, target, options, made++);
        }
      }
    }
    DumpPolyStorage(scratch, procs);
    RobustDisposePtr(&block, &id, procs);
  }
  Calc3DAngles(target);
  Build3DConnectivity(target);
}
