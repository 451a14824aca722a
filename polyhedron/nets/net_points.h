// Points on the net triangles: barycentric coordinates with a stored inverse
// determinant, each triangle's corners on the solid in double precision, and
// the point of a triangle for given barycentrics, in the net and on the
// solid. find_barycentrics lies on the path of every output point of a
// polyhedral view; everything it reads is computed once per set-up.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// A point lies in a triangle when no barycentric coordinate is below this.
constexpr float kBarycentricTolerance = -1e-6f;

// Stores 1 / determinant of the triangle's net corners (computed in double)
// as NetTriangle.invDet; 1.0 for a degenerate triangle, whose barycentrics
// are then the raw cross products.
void barycentrics_precalc(int32_t triangle, polyhedron* poly);

// Barycentrics of (x, y) in the triangle, in single precision; true when all
// three are at least -1e-6 (a value that is not a number passes). Stops at
// the first coordinate below the tolerance: b0 is always written, b1 only
// when b0 passed, b2 only when b1 passed. The triangle must be one of the
// record's.
bool find_barycentrics(int32_t triangle, float x, float y, float* b0, float* b1, float* b2,
                       const polyhedron* poly);

// The render point of corner k of the triangle, widened to double.
void convert_triangle_vertex_to_3D_vectorD(int32_t triangle, int32_t k, double out[3], const polyhedron* poly);

// NetTriangle.corner3D of every face triangle 0 .. nTriangles - 1: its three
// render points widened to double. Tab triangles are left as they are.
void Prepare_vert_buffer(polyhedron* poly);

// The net point b0·P0 + b1·P1 + b2·P2 of the triangle's corners, z = 0.
void Get2DPointFromTriangleAndBarys(int32_t triangle, float b0, float b1, float b2, double out[3],
                                    const polyhedron* poly);
// The point on the solid for the barycentrics: the linear combination of the
// corners' render points, or with polyhedron.fancyPointMode non-zero their
// blend in equirectangular coordinates (a unit direction).
void Get3DPointFromFaceAndBarys(int32_t triangle, float b0, float b1, float b2, double out[3],
                                const polyhedron* poly);
void Get3DPointFromFaceAndBarysF(int32_t triangle, float b0, float b1, float b2, float out[3],
                                 const polyhedron* poly);
