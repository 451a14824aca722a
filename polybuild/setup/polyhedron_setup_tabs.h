// Which net edges take glue tabs, and tabs borrowed from another solid's
// net. A glue tab stands on an outline edge of the net; walking each outline
// and flagging every other edge gives a net that glues up with one tab per
// seam when the net is one piece. Seams between pieces, and the export
// layout that wants one tab on every edge of the solid, are then balanced
// over the solid's edges: of the two sides of a solid edge, exactly one
// keeps the tab.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// An outline that has not closed after this many steps is given up.
constexpr int32_t kOutlineWalkMaxSteps = 1001;

// Clears PolyFace.tabEdge and PolyFace.outlineVisited of every face.
void ClearTabFlags(polyhedron* poly);

// Walks every outline of the net once: visited marks on each edge, a tab on
// the first edge of each walk (none with tabPhaseFlip) and on every other
// edge after it, and, unless the correspondence came with the shape, walk
// number k (1, 2, ...) as the fragment of every face the k-th walk meets.
// Returns the number of walks.
int32_t WalkNetOutlines(polyhedron* poly);

// For each net edge in face and corner order (only the open edges when
// openEdgesOnly), finds the same solid edge seen from the neighbouring solid
// face and, where both sides carry the same tab flag, gives the neighbour's
// side the opposite one. The first side met keeps its flag. A side that no
// net face shows is passed over.
void BalanceTabsAcrossSolidEdges(polyhedron* poly, bool openEdgesOnly);

// Appends every tab triangle of `other` (a net built from another shape in
// the same frame) to this net: three fresh 2D vertices each, with the tab's
// net points and render point (1, 1, 1), and a triangle flagged as tab with
// the other net's face and its facegroup, fragment -1. No room for three
// more vertices: error 4 and no triangle; no room for one more triangle:
// error 7 (the vertices stay).
void AppendTabTrianglesOf(polyhedron* poly, const polyhedron* other);
