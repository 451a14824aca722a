#include "polybuild/voronoi/voronoi_options.h"

#include "polybuild/setup/owner_gallery_item.h"
#include "polyhedron/polyhedron_record.h"

void GetDefaultVoronoiHandlingOptions(VoronoiHandlingOptions* options) {
  if (!options) return;
  *options = VoronoiHandlingOptions{};
  options->skipOverlapTest = 1;
  options->fanApexRule = kFanApexLongestEdge;
  options->mergeDistance = 0.002;
  options->planeTolerance = 0.00001;
  options->arcList = nullptr;
}

void CopyCertainVoronoiPrefsIntoPoly(const VoronoiHandlingOptions* options, polyhedron* poly) {
  if (!options || !poly) return;
  poly->slicingMode = options->siteIndexMode;
  poly->voronoiOption = options->polyOption;
  poly->skipOverlapTest = options->skipOverlapTest;
}

void TakeOwnersPatternCode(VoronoiHandlingOptions* options, const polyhedron* poly) {
  GalleryItemOfOwner(poly, &options->patternCode);
}
