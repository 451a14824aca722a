// Nets ready for the net projection: solids and nets from the polyhedron
// fixtures, triangulated, with the corner points the ray tests read, their
// bounds and their fit into a unit input picture; and a search hint on the
// heap (its lists are large).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "support/net_fixture.h"
#include "support/poly_fixture.h"
#include "projection/render_hint.h"

using HintPtr = std::unique_ptr<renderhinttype>;
HintPtr NewHint();
// A hint whose lists hold every triangle of the net (no culling, no
// selector), as the input side builds it.
HintPtr WholeNetHint(const polyhedron* poly);

// The cube's cross net (net_fixture.h), each square cut into two triangles.
// With tabDepth > 0 the outline's alternate edges carry glue tabs. Render
// points on the cube [-0.5, 0.5]^3 run counter-clockwise seen from outside.
PolyPtr CubeCrossPoly(float tabDepth = 0.0f);

// A solid of the polyhedron fixtures unfolded into a net and fan
// triangulated. Render points are the solid's points mirrored in y, which
// turns the fixtures' winding (clockwise seen from outside) into the
// counter-clockwise one that a net read from outside has.
PolyPtr UnfoldedPoly(const std::function<void(polyhedron*)>& build);

// What the set-up does once the triangles stand: inverse determinants of
// every triangle, corner points of the faces, net bounds, and the fit that
// puts the net's bounding box on the unit square of an input picture.
void FinishNet(polyhedron* poly);

// Signed volume of the tetrahedron (origin, triangle corners): positive when
// the corners run counter-clockwise seen from outside a solid about the
// origin.
double CornerWinding(const polyhedron* poly, int32_t triangle);

// Oracles that do not go through the code under test.
//
// Double-precision barycentrics of the net point (x, y) in a triangle's net
// corners.
void NetBarys(const polyhedron* poly, int32_t triangle, double x, double y, double b[3]);
// Where a point lies against a triangle, with a margin that keeps rounding
// at the edges out of the answer.
enum class Cover { In, Edge, Out };
Cover CoverOf(const polyhedron* poly, int32_t triangle, double x, double y);
// The unit direction of the point with barycentrics b on the triangle's
// render corners.
void DirectionOf(const polyhedron* poly, int32_t triangle, const double b[3], double out[3]);
// The angle between two directions (any lengths), in radians.
double AngleBetween(const double a[3], const double b[3]);
double AngleBetween(const float a[3], const double b[3]);
