#include "polybuild/voronoi/voronoi_shape.h"

#include "polybuild/voronoi/voronoi_build.h"
#include "polybuild/voronoi/voronoi_options.h"
#include "polybuild/voronoi/voronoi_sites.h"
#include "polybuild/voronoi/voronoi_spots.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/polyhedron_record.h"

void build_voronoi_shape(polyhedron* poly, BufferProcs* procs, int32_t shapeCode, uint8_t fullDetail) {
  if (!poly) return;
  getPolyStorageEtc(poly, procs, kPolyMax3DVerts, kPolyMaxFaces);
  HALFSPACE sites{};
  InitEmptyList(&sites);
  SetGSpots(0);
  VoronoiHandlingOptions options;
  GetDefaultVoronoiHandlingOptions(&options);
  TakeOwnersPatternCode(&options, poly);
  build_voronoi_pointset(&sites, &options, shapeCode, fullDetail);
  SetPSpots(0);
  // Without storage there is nothing to build into; the error code stands.
  if (poly->ownsArrays) make_poly_from_voronoi_sites(poly, 0, &options, &sites, nullptr);
  DisposeListExceptForHead(&sites);
  CopyCertainVoronoiPrefsIntoPoly(&options, poly);
  Calc3DAngles(poly);
  Build3DConnectivity(poly);
}
