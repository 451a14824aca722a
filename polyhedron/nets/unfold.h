// polyhedron/nets/: a solid unfolded into a net: layout, fit, tabs, triangles and cut marks.
// Unfolding a solid into a net: 3D faces are laid flat one by one, each new
// face hinged on a free edge of a face already in the net, and grouped into
// fragments (connected pieces numbered 1..19). A fragment starts from a seed
// face and grows breadth first, generation by generation, edges tried in
// priority order; a face that would overlap its fragment is left for a later
// fragment.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// Unfolds the whole solid (its 3D faces, normals and 3D links must be built)
// into the net: 2D vertices, 2D faces linked to the faces they show, 2D links,
// fragment numbers and counts, then lays the fragments out side by side.
// Errors: 9 when a twentieth fragment would be needed (the faces left over
// stay out of the net), 1 and 6 from the tables of the record.
void Build2DNet(polyhedron* poly);

// Seeds and grows fragment `fragment`. False when no seed is left, the
// fragment number is above 19 (error 9) or the seed cannot be stored.
bool BuildOneFragmentOfThe2DNet(polyhedron* poly, int32_t fragment);

// Hinges a new face on every free edge of net face face2D, in priority order;
// the new faces get generation + 1. Returns how many it placed itself (not
// those placed by depth-first recursion).
uint8_t PropagateNet(polyhedron* poly, int32_t face2D, int32_t generation, int32_t fragment);

// The edges of net face face2D in the order the unfolding tries them,
// returning how many were written. On a single-fragment curved-element
// solid, whose one fragment must still grow piece by piece, only edges with
// a solid neighbour are listed: first those whose neighbour lies in the
// face's own face group, then those into other groups. Elsewhere every edge
// is listed: first those whose solid edge is joined and not disdained on
// either side, then the rest. Each group ascending.
int32_t BuildPrioritizedVertList(const polyhedron* poly, int32_t face2D, int32_t order[kPolyMaxCorners]);

// The highest used 2D vertex slot, 0 when none is used.
int32_t FindHighest2DVert(const polyhedron* poly);

// Marks edge `edge` (0..9) of 3D face face3D as one the net never joins
// across; other edge numbers change nothing.
void forbid_joining(polyhedron* poly, int32_t face3D, int32_t edge);
