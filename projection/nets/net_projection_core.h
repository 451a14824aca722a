// One point of one net triangle to the sphere: the point on the solid for
// its barycentrics (straight, through the shape's conformal warp, or on a
// curved face), then a direction. Nets that are laid out as maps (the
// polyhedron's sphericalFlag not 1) are read as equirectangular points
// instead.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"  // record-only include: the plain polyhedron record
#include "projection/render_hint.h"

// Writes the sphere point of the barycentrics (b0, b1, b2) of net triangle
// `triangle`, found under the plane point (x, y). A warped shape writes the
// region of the point into hint->hitRegion and may set *outside to 1 (a
// point off a curved Reuleaux or waffle face); nothing here clears it.
// hint->barycentrics becomes the point on the solid of a straight transform,
// (1, 0, 0) after a warped one. A warped shape code that has no warp leaves
// the point as it came before it is normalised.
void DoPolyhedralTransformCore(const polyhedron* poly, float b0, float b1, float b2, int32_t triangle, float x,
                               float y, float point[3], uint8_t* outside, renderhinttype* hint);

// The fixed turns that put the sphere of two cube-warped shapes where their
// nets expect it: (z, y) by pi/4, then (x, y) by 35 degrees (zigzag) or by
// 30 degrees (monozag), each pair turned as a complex number.
void ExtraTumbleForZigzag(float point[3]);
void ExtraTumbleForMonozag(float point[3]);
