// Marks 3D edges as cut before a solid is unfolded, so that the net falls
// apart along them. The rule is the shape's polyhedron.slicingMode; it runs
// at the end of every 3D connectivity build.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

struct HALFSPACE;

constexpr int32_t kSlicingSitesApart = 1;     // site numbers more than 1 apart
constexpr int32_t kSlicingFacePoints = 2;     // far face points
constexpr int32_t kSlicingShortestEdge = 3;   // the shortest edge
constexpr int32_t kSlicingLongFaces = 4;      // the shortest edge of elongated faces
constexpr int32_t kSlicingSharpestFold = 5;   // the sharpest fold of elongated faces
constexpr int32_t kSlicingSitesFarApart = 7;  // site numbers more than 3 apart
// A site that the site-number rules never separate from its neighbours.
constexpr int32_t kSliceUnseparatedSite = -101;

// Only adds cut bits. Edges without a neighbour (open solids) are skipped by
// every rule. Any other mode marks nothing.
void MaybeAddSlicing(polyhedron* poly);

// Cuts the one edge named by a slice node: the edge between the 3D vertices
// of the node's two parent points (HALFSPACE.index of parentA and parentB),
// on the first face, in face and corner order, that has it in either
// direction. A seed node also sets slice bit 1 there, polyhedron.sliceMatchFlag
// and the face's isSeed, and disdains the face's edge before it; a
// marked node sets slice bit 2. Returns 1 when it marked an edge; 0 when the
// node lacks a parent, the solid has no faces, or no face has that edge. The
// point list is not read.
int32_t FindSliceMatch(const HALFSPACE* pointList, const HALFSPACE* sliceNode, polyhedron* poly);
