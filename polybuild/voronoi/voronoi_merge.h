// Diagram vertices closer than the merge distance become one vertex of the
// solid, chosen over the corners of every cell at once before any face is
// written. Merging as faces are added sends a corner to whichever close
// vertex some earlier cell made, so a tight cluster of diagram vertices can
// fall apart differently in neighbouring cells, open the solid, and change
// with the order the cells are built in.
#pragma once

#include <cstdint>

struct HALFSPACE;
struct polyhedron;

// Takes the corners of all the lists in increasing order (coordinate by
// coordinate); each corner not within `distance` of a vertex already taken
// becomes a new 3D vertex of the polyhedron. Every corner then lies within
// `distance` of a vertex, and the first such vertex (the one the vertex
// adder finds) is the same whichever cell asks. Returns the number of
// vertices added.
int32_t AddVoronoiVertexCentres(HALFSPACE* const* cornerLists, int32_t listCount, polyhedron* poly, double distance);
