// Rollouts (generalised sphericons): a regular n-gon turned about its
// vertical axis into a solid of revolution, made of two halves of a half
// turn each; the second half is turned against the first by m steps of the
// polygon (and half a step more for the "/H" variants) about the axis
// perpendicular to the cut, so that the solid rolls along a meandering path.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

constexpr int32_t kRolloutMinSides = 3;
constexpr int32_t kRolloutMaxSides = 11;
constexpr int32_t kRolloutStepsPerHalf = 30;

// flag: full detail (not read: the facets do not change); n sides, a = m
// steps, b = plus ("+": an even polygon with a vertex on the axis), c =
// half turn ("/H"). An n outside 3..11 is refused with
// kPolyErrorShapeNotAvailable and an empty solid.
void BuildRollout(polyhedron* poly, BufferProcs* procs, uint8_t flag, int32_t n, int32_t a, int32_t b, int32_t c);

// half 1 builds the first half, 2 the second, 0 both; extraHalfStep turns
// the second half half a polygon step further.
void BuildRollout_core(polyhedron* poly, BufferProcs* procs, uint8_t fullDetail, int32_t n, int32_t m, int32_t plus,
                       int32_t half, int32_t extraHalfStep);
