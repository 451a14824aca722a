#include "polybuild/catalogue/catalogue_dual.h"

#include "polybuild/procedural/dual_polyhedron.h"
#include "polybuild/voronoi/voronoi_faces.h"
#include "polybuild/voronoi/voronoi_options.h"
#include "polybuild/voronoi/voronoi_sites.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron_record.h"
#include "polyhedron/polyhedron_slicing.h"
#include "polyhedron/vertex_upkeep.h"

namespace {

constexpr int32_t kDualOffset = 20;  // a dual shape is the dual of Voronoi shape code - 20
constexpr int32_t kDualReattachFaceLimit = 96;
constexpr int32_t kDualSpinStyle = 5;
constexpr int32_t kDualSpinStyleDiagonal = 6;

// Duals whose solid is moved off the centre of the sphere.
bool OffsetFromCentre(int32_t code) {
  return code == 201 || code == 204 || code == 205 || code == 209 || (code >= 211 && code <= 219);
}

// The slice marks of the dual: the Voronoi site set of the source shape is
// built again with its arc list, its sites matched to the dual's vertices,
// and every arc segment slices the solid where it runs.
void MarkSlices(polyhedron* poly, int32_t sourceCode, uint8_t flag) {
  VoronoiHandlingOptions options;
  GetDefaultVoronoiHandlingOptions(&options);
  TakeOwnersPatternCode(&options, poly);
  HALFSPACE sites, arcs;
  InitEmptyList(&sites);
  InitEmptyList(&arcs);
  options.arcList = &arcs;
  build_voronoi_pointset(&sites, &options, sourceCode, flag);
  AlignPointlistWith3DVerts(&sites, poly);
  if (!ListIsEmpty(&sites) && !ListIsEmpty(&arcs) && poly->n3DFaces > 0)
    for (HALFSPACE* a = GetFirstElement(&arcs); !a->isHead; a = a->next) FindSliceMatch(&sites, a, poly);
  DisposeListExceptForHead(&sites);
  DisposeListExceptForHead(&arcs);
}

}  // namespace

void BuildTruchetDualShape(polyhedron* poly, int32_t shapeCode, BufferProcs* procs, uint8_t flag) {
  if (!poly) return;
  const int32_t source = shapeCode - kDualOffset;
  VoronoiHandlingOptions options;
  GetDefaultVoronoiHandlingOptions(&options);
  options.siteIndexMode = 0;
  options.skipOverlapTest = 0;
  BuildDualOfPoly(poly, procs, source, &options);
  MarkSlices(poly, source, flag);
  poly->fragmentationRevisable = 1;
  poly->reattachFaceLimit = kDualReattachFaceLimit;
  poly->depthFirstPropagate = 1;
  poly->spinStyle = shapeCode == 211 ? kDualSpinStyleDiagonal : kDualSpinStyle;
  if (OffsetFromCentre(shapeCode)) OffsetAll3DPoints(poly, triplex{0.4, 0.0, 0.0});
  if (shapeCode == 205) poly->spinStyle = kDualSpinStyleDiagonal;
}
