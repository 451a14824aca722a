// The net as triangles, and the walk around its outline. The set-up cuts
// every net face into triangles (each written by MakeNetTriangle) — the form
// in which the renderer and the model writers see the net — and walks the
// outline to choose which edges take glue tabs (PolyFace.tabEdge, alternate
// edges of the walk); the triangles carry those marks on to the tab builder.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// The facegroup a net triangle of face face2D carries: by the shape's group
// table when it has one, else the face itself; -1 for a negative face, and a
// face past the last net face answers for the last. (The curved-element
// solids group their faces by element tag; that rule belongs to their
// builders and is not applied here.)
int16_t NetTriangleFacegroup(const polyhedron* poly, int32_t face2D);

// Fills triangle slot `triangle` from corners c0, c1, c2 of net face face2D:
// its 2D vertices, face, facegroup, fragment and hide flag, and per triangle
// edge whether it is a face edge marked for a tab. Does not count the
// triangle (the caller raises nTriangles). Error 7, nothing written, once
// 3010 triangles exist or for a slot outside the table; a face or corner
// that does not exist writes nothing.
void MakeNetTriangle(int32_t triangle, polyhedron* poly, int32_t face2D, int32_t c0, int32_t c1, int32_t c2);

// The first net edge, by face then edge, without a 2D neighbour and not yet
// visited by the outline walk; false (arguments untouched) when none is
// left.
bool FindANeighborless2DEdgeThatsUnconsidered(const polyhedron* poly, int32_t* face, int32_t* edge);

// Replaces (face, edge), an outline edge, by the next edge of the same
// outline: the first edge without a 2D neighbour met when turning around the
// end vertex of the edge through the faces that share it. Links that point
// nowhere count as outline; when no outline edge turns up around the vertex
// (inconsistent links) the arguments are left as they were.
void NextAroundNet(const polyhedron* poly, int32_t* face, int32_t* edge);
