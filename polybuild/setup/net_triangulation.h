// Cutting net faces into the triangles that the renderer and the model
// writers work on.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"
#include "polyhedron/temp_face.h"

// A face of n corners gives at most n - 2 triangles.
constexpr int32_t kEarClipMaxTriangles = kPolyMaxCorners - 2;

// The ears of a scratch face, in the order they are cut, as corner indices
// of the net face (TempCorner.cornerIndex). Walks the remaining corners from
// a moving cursor and cuts the triangle of three consecutive corners as soon
// as its middle corner turns the face's way and no other remaining corner
// lies strictly inside it. A convex face is cut into the fan-like sequence
// (1,2,3), (3,4,0), (0,1,3) for a pentagon. Returns the triangle count: 0 for
// fewer than three corners, else corners - 2, whatever the outline.
int32_t EarClipCorners(const temp2Dface* temp, int32_t triangles[kEarClipMaxTriangles][3]);

// Appends the triangles of net face face2D (MakeNetTriangle) and counts them
// in nTriangles; once the triangle table is full the rest are refused with
// error 7.
void EarClip(int32_t face2D, polyhedron* poly);
