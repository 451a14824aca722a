// Re-attaching small fragments of a net whose fragmentation may be revised:
// each rule walks the outline of one fragment, picks one solid edge by its
// own criterion and clears that edge's cut bit on both of its sides, so that
// the next unfolding may hinge across it. Only PolyFace.edgeFlags3D changes;
// the caller unfolds again.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// The outline walk stops after this many steps even if it has not come back
// to its first edge.
constexpr int32_t kReattachWalkSteps = 4011;

// Each returns true when it released an edge. A fragment without an outline
// edge, or without a candidate, leaves every flag as it was.
//
// Cusp: the first outline edge whose far solid face has exactly two edges
// carrying a slice mark (on either side).
bool AttemptToReattachedFragment_at_cusp(polyhedron* poly, int32_t fragment);
// Tiny face: the outline edge whose far solid face has the shortest longest
// edge (the first met on ties).
bool AttemptToReattachedFragment_at_tinyface(polyhedron* poly, int32_t fragment);
// Single neighbour: the first outline edge whose far face ends a branch of
// its own fragment (its net face has exactly one net neighbour).
bool AttemptToReattachedFragment_at_singleneighbor(polyhedron* poly, int32_t fragment);
// Arc start: the first outline edge that carries the first slice mark on
// either side.
bool AttemptToReattachedFragment_at_arcstart(polyhedron* poly, int32_t fragment);
