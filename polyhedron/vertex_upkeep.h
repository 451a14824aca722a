// Small upkeep of the vertex lists: which 2D slots the net faces use, the
// centroid of a solid face, and moving the whole solid.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"
#include "projection/complex_math.h"

// The mean of the 3D face's corner points (their sum times 1/n); (0, 0, 0)
// for a face without corners.
void GetCentroidOf3DFace(int32_t face, const polyhedron* poly, double out[3]);

// Recomputes vert2DUsed from the net faces 0 .. n2DFaces - 1 and leaves
// freeVertCursor on the highest vertex they use (0 when none).
void Cleanse2DVertList(polyhedron* poly);

// Adds the offset to every 3D vertex 0 .. n3DVerts - 1. A record that borrows
// its tables (read-only static data) is left alone.
void OffsetAll3DPoints(polyhedron* poly, triplex offset);
