// Curved three-corner faces of the rind solids. Such a net face is paired
// with a fourth, partner vertex (PolyFace.extraVertex2D); the four points
// span the patch (s, t) -> (1 - t)·((1 - s)·P0 + s·P1) + t·((1 - s)·P3 + s·P2)
// over the unit square, and the point of the solid under a net point is the
// same bilinear blend of the four solid points. Inverting the patch takes
// one quadratic in s and one in t, whose fixed coefficients are stored per
// face once the net is final.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// PolyFace.rindQuadS = (a, b, 0.5 / a) and rindQuadT = (c, d, 0.5 / c) of
// every net face 0 .. n2DFaces - 1 with exactly three corners and a partner
// vertex; a zero a or c stores 1.0 in place of its reciprocal.
void Fill_in_rind_precalculables(polyhedron* poly);

// The direction on the solid for the net point (x, y) of the triangle's
// curved face: the patch parameters (s, t) of the point, then the blend of the
// four solid points (fancyPointMode 0), or of their equirectangular
// coordinates across the longitude seam (mode 1); the first two components
// of the result are then negated. Any other mode leaves (1, 0, 0), negated
// likewise. A face that is no curved three-corner face, or one not matched
// to its solid, leaves (1, 0, 0) without negation.
void Get3DPointFancily(int32_t triangle, float x, float y, float out[3], const polyhedron* poly);
