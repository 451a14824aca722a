// Checks of a static net drawn through its shape's sphere map, made through
// the renderer's own point function (and the segment stretch where the
// shape has one): no two faces over each other, the same sphere from both
// sides of every shared edge, which way round the sphere is shown, and
// which way up.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "polyhedron/polyhedron_record.h"
#include "support/poly_fixture.h"

// A shape's tables as the catalogue reads them, before any set-up.
PolyPtr LoadedShape(int32_t code);

// A shape's tables read as a net of triangles with a 2D-to-3D map: no
// error, its counts, no face rows, the sector warp with origami tabs, and
// every corner naming a vertex of the solid.
testing::AssertionResult LoadsAsSectorNet(const polyhedron* p, int32_t faces, int32_t points2D);

// A shape's net as the set-up builds it. Net methods: 0 the fixed net with
// its map, 1 the glued view, 5 the same as 0 without recounting the used
// points (the tiling), 6 the net matched to its solid's rows.
PolyPtr SetUpShape(int32_t code, int16_t method = 0, float aspect = 2.0f);

// The face triangles come first, one per face; tabs and marks follow.
int32_t FaceTriangles(const polyhedron* p);

// The pairs of face triangles (of the first `faces`) that overlap by more
// than a sliver; touching is allowed.
int32_t OverlappingFacePairs(const polyhedron* p, int32_t faces);

// Radians between two directions.
double AngleBetween(const float a[3], const float b[3]);

// The sphere point of barycentrics b in net triangle t, before any segment
// stretch; false when the point is off the faces. The net point goes to
// x and y when asked for.
bool ShownPoint(const polyhedron* p, int32_t t, const float b[3], float out[3], float* x = nullptr,
                float* y = nullptr);

enum class Stretch : uint8_t {
  kApplied,  // the picture as shown, the segment stretch applied
  kBefore,   // the map alone, as the net's faces carry it
};

struct SharedEdges {
  int32_t count = 0;        // edges two face triangles share
  double worstAngle = 0.0;  // radians between the two sides' sphere points
};
SharedEdges CompareSharedEdges(const polyhedron* p, int32_t faces, Stretch stretch = Stretch::kApplied);

// Where in each face triangle its turn is judged: three points given by
// their barycentrics.
struct HandednessProbe {
  float inner[3][3];
  // A point off the faces makes the net's answer 0 (for nets whose
  // triangles are shown only in part).
  bool mustBeShown;
};
// Spread over the triangle.
inline constexpr HandednessProbe kSpreadProbe{{{0.6f, 0.2f, 0.2f}, {0.2f, 0.6f, 0.2f}, {0.2f, 0.2f, 0.6f}}, false};
// Close round the middle, so that a map piece reaching right round a pole
// is judged where it is.
inline constexpr HandednessProbe kMiddleProbe{{{0.36f, 0.32f, 0.32f}, {0.32f, 0.36f, 0.32f}, {0.32f, 0.32f, 0.36f}},
                                              false};

// Which way round a net shows the sphere: over the face triangles among the
// first `faces` (tabs skipped), the turn of the probe's three points in the
// plane against the turn of the directions they show (before any stretch,
// which keeps the turn), seen from outside. +1 or -1 when every triangle
// agrees, 0 when they do not.
int32_t NetHandedness(const polyhedron* p, int32_t faces, const HandednessProbe& probe = kSpreadProbe);

// How far towards the sky (the -y side of the sphere these maps make) the
// net reaches along its top row of points, towards the ground along its
// bottom row, and towards the sky anywhere in its lower half: 1 is the pole.
struct SkyReach {
  double skyAtTop = -2.0, groundAtBottom = -2.0, skyInLowerHalf = -2.0;
};
SkyReach MeasureSky(const polyhedron* p, int32_t faces);
