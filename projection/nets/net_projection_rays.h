// Which face of the solid a ray from its centre meets: the face triangles of
// the hint's lists (net_projection_lists.h) tested against the ray in turn,
// from the one hit last. Glue tabs are never searched. This answers the
// polyhedral input layout, where a direction must find its place in a net.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"  // record-only include: the plain polyhedron record
#include "projection/render_hint.h"

// The face triangle (index in polyhedron.triangles) through which the ray
// from the origin along `direction` passes, or -1 with *outside set to 1.
// The test is one-sided and ignores the sign of the distance: a triangle
// whose corners run clockwise seen from beyond it (looking at the origin) is
// met by the ray that points at it, one wound the other way only by the
// opposite ray. So a solid whose triangles run counter-clockwise seen from
// outside is met in the face that -direction points at. On a hit
// hint->lastFace is the triangle and the next search starts there. The
// triangles' corner3D must be filled.
int32_t IntersectRayWithPoly(const double direction[3], const polyhedron* poly, uint8_t* outside,
                             renderhinttype* hint);

// The same, also giving the barycentrics (b0 + b1 + b2 = 1) of the point
// where the ray's line meets the triangle, and that point in
// hint->barycentrics. Nothing is written to b0, b1, b2 on a miss.
int32_t IntersectRayWithPoly_ReturningBarycentrics(const double direction[3], const polyhedron* poly,
                                                   uint8_t* outside, renderhinttype* hint, double* b0, double* b1,
                                                   double* b2);
