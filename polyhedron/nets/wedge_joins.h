// Joining the wedges (gores) and the cap of the wedge solids into one strip
// after the row layout: each fragment is moved by a similarity (translation,
// rotation, uniform scale) so that its key edge meets the matching key edge
// of the fragment placed before it. The key edges are pairs of solid
// vertices the generator left in polyhedron.key3DVerts (entries k, k + 1);
// their net copies are the first of each fragment. The joins add midpoint
// vertices to the net.
//
// A join whose key vertex is missing from its fragment, whose midpoint gets
// no vertex slot (error 6), or whose edge to be moved has no length while
// the target edge has one, moves nothing.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// Moves every used 2D vertex of `fragment` so that c lands on a and the
// direction from c to d turns onto the one from a to b, |cd| scaled to |ab|
// (a, b, c, d are 2D vertex numbers). Returns 0, or -1 when it moved nothing.
int32_t AlignFragments(polyhedron* poly, int32_t a, int32_t b, int32_t c, int32_t d, int32_t fragment);
// The first join: fragment 2's half key edge (key3DVerts[2], midpoint of
// [2] and [3]) laid onto fragment 1's whole key edge (key3DVerts[0], [1]).
int32_t JoinFirstWedge(polyhedron* poly);
// fragmentB's half key edge from key3DVerts[k2] to its midpoint laid onto
// fragmentA's half edge from the midpoint of its key edge k1 to its second
// vertex.
int32_t JoinWedges(polyhedron* poly, int32_t k1, int32_t k2, int32_t fragmentA, int32_t fragmentB);
// As JoinWedges, but the cap (fragmentB) lays its whole key edge k2.
int32_t JoinLastWedgeToLastCap(polyhedron* poly, int32_t k1, int32_t k2, int32_t fragmentA, int32_t fragmentB);
