// Which face lies across each edge, on the solid and in the net, and the
// corner steps all net code uses.
//
// Edge e of a face runs from corner e to corner (e + 1) mod n. Its link is the
// pair (g, k): the face g across it and the corner k of g that holds the
// start vertex of edge e, so g's own edge along that side is (k - 1 + n_g)
// mod n_g. -1 in both means an open edge. Only consistently oriented faces
// (the shared side run in opposite directions) are linked.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// Corner steps. A face must have corners.
int32_t Next2Dvertex(const polyhedron* poly, int32_t face, int32_t i);
int32_t Next3Dvertex(const polyhedron* poly, int32_t face, int32_t i);
int32_t Prev3Dvertex(const polyhedron* poly, int32_t face, int32_t i);

// The 3D face and corner a net corner shows; face3D -1 while the net face is
// not matched to its solid face.
void Face_and_Index_2D_to_3D(int32_t face2D, int32_t corner, int32_t* face3D, int32_t* corner3D,
                             const polyhedron* poly);
// The last net face showing face3D and the net corner over the given corner;
// (0, 0) when no net face shows it.
void Face_and_Index_3D_to_2D(int32_t face3D, int32_t corner, int32_t* face2D, int32_t* corner2D,
                             const polyhedron* poly);

// Clear the links of faces 0 .. count - 1.
void Kill3DConnectivity(polyhedron* poly, int32_t count);
void Kill2DConnectivity(polyhedron* poly, int32_t count);

// Links the 3D edges of all 3D faces, adds their corners to faceCount3D and
// ends with the slicing rules of the shape.
void Build3DConnectivity(polyhedron* poly);
// Links the 2D edges of faces 0 .. count - 1 and adds their corners to
// faceCount2D.
void Build2DConnectivityCompletelyFromScratch(polyhedron* poly, int32_t count);
// Links the open edges of net face f, just added after the earlier faces of
// the net, with matching reversed edges of faces 0 .. f - 1, both ways, and
// adds f's corners to faceCount2D.
void Build2DConnectivityIncrementally(polyhedron* poly, int32_t f);

// False for an edge that does not exist, has no neighbour, or is disdained
// on either side.
bool Edge3DIsNotDisdained(const polyhedron* poly, int32_t face, int32_t edge);
