// The options of one spherical Voronoi build: set to defaults, adjusted by
// the site set of the shape, and partly copied into the polyhedron so that
// the net set-up and the dual builder see them.
#pragma once

#include <cstdint>

struct HALFSPACE;
struct polyhedron;

struct VoronoiHandlingOptions {
  uint8_t shaveSillyVerts;  // 1: nearly straight cell corners become their own triangles
  uint8_t spareFlag;        // set by some site sets; nothing reads it
  uint8_t skipOverlapTest;  // the net is unfolded without the overlap test
  int32_t siteIndexMode;    // 2: each site's index becomes its processing ordinal
  int32_t polyOption;       // copied into polyhedron.voronoiOption
  int32_t fanApexRule;      // kFanApex*: which cell corner the fan starts from
  int32_t patternCode;      // 12 Truchet pattern bits of the Truchet site sets
  double pullToSphere;      // fraction each corner moves from the tangent plane to the sphere
  double mergeDistance;     // closer points (corners, sites, 3D vertices) are one
  double planeTolerance;    // signed distance beyond which a point is outside a plane
  HALFSPACE* arcList;       // when set, the Truchet site set records its arc segments here
};

constexpr int32_t kFanApexLongestEdge = 0;  // the corner starting the longest edge
constexpr int32_t kFanApexHighest = 1;      // the largest |y|
constexpr int32_t kFanApexNearestYAxis = 2;  // the smallest x^2 + z^2

constexpr int32_t kSiteIndexOrdinal = 2;

void GetDefaultVoronoiHandlingOptions(VoronoiHandlingOptions* options);
// slicingMode <- siteIndexMode, voronoiOption <- polyOption,
// skipOverlapTest <- skipOverlapTest. Null arguments change nothing.
void CopyCertainVoronoiPrefsIntoPoly(const VoronoiHandlingOptions* options, polyhedron* poly);
// patternCode <- the gallery item of the invocation that owns the record;
// unchanged when the record has no owner.
void TakeOwnersPatternCode(VoronoiHandlingOptions* options, const polyhedron* poly);
