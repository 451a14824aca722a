// Checks of a static net drawn through its shape's sphere map, made through
// the renderer's own point function (and the segment stretch where the
// shape has one): no two faces over each other, the same sphere from both
// sides of every shared edge, which way round the sphere is shown, and
// which way up.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// The face triangles come first, one per face; tabs and marks follow.
int32_t FaceTriangles(const polyhedron* p);

// The pairs of face triangles (of the first `faces`) that overlap by more
// than a sliver; touching is allowed.
int32_t OverlappingFacePairs(const polyhedron* p, int32_t faces);

struct SharedEdges {
  int32_t count = 0;        // edges two face triangles share
  double worstAngle = 0.0;  // radians between the two sides' sphere points
};
SharedEdges CompareSharedEdges(const polyhedron* p, int32_t faces);

// +1 or -1 when every face triangle turns the same way against its sphere
// image, 0 when they disagree.
int32_t NetHandedness(const polyhedron* p, int32_t faces);

// How far towards the sky (the -y side of the sphere these maps make) the
// net reaches along its top row of points, towards the ground along its
// bottom row, and towards the sky anywhere in its lower half: 1 is the pole.
struct SkyReach {
  double skyAtTop = -2.0, groundAtBottom = -2.0, skyInLowerHalf = -2.0;
};
SkyReach MeasureSky(const polyhedron* p, int32_t faces);
