// Marks 3D edges as cut before a solid is unfolded, so that the net falls
// apart along them. The rule is the shape's polyhedron.slicingMode; it runs
// at the end of every 3D connectivity build.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

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
