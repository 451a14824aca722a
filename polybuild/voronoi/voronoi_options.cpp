#include "polybuild/voronoi/voronoi_options.h"

#include "frame/globals.h"  // the Truchet pattern bits are the gallery item of the invocation that owns the solid
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
  if (poly->owner) options->patternCode = poly->owner->galleryItem;
}
