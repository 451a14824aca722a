// A scratch copy of one face in the plane, on the caller's stack: a solid face
// flattened, hinged onto an edge of the net and tested for overlap before it
// is stored, or a net face copied for triangulation.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

struct TempCorner {
  double x, y;
  int32_t vert3D;       // -1 none
  int32_t fragment;     // the same in every corner
  int32_t vert2D;       // -1 none; PutNetfaceIntoTempface only
  int32_t cornerIndex;  // index in its net face; PutNetfaceIntoTempface only
  uint8_t used;         // copy of vert2DUsed; PutNetfaceIntoTempface only
};

struct temp2Dface {
  TempCorner corners[kPolyMaxCorners];
  int32_t nCorners;
  int32_t vert2D[kPolyMaxCorners];  // filled when the face is stored in the net
  int32_t face3D;                   // -1 none
  double normalDotDown;             // outward normal · (0, 0, -1)
};

// (i + 1) mod the scratch face's corner count.
int32_t Next2DvertexTempface(const temp2Dface* temp, int32_t i);

// Flattens 3D face face3D into the plane, turning its normal onto (0, 0, -1);
// every corner gets the fragment. A face index outside the solid leaves the
// scratch face untouched.
void Make2DVersionOf3DFace(const polyhedron* poly, int32_t face3D, temp2Dface* temp, int32_t fragment);
// Moves the scratch face so that its corner `corner` lies on the start of edge
// `edge` of net face face2D and its edge into that corner runs along the net
// edge backwards: the two faces then share the edge as neighbours do.
void TranslateTempface_core(temp2Dface* temp, int32_t corner, int32_t face2D, int32_t edge, const polyhedron* poly);
// +1 counter-clockwise (y up), -1 clockwise, 0 degenerate or empty.
float FindOrientationOfTempface(const temp2Dface* temp);
// Copies net face face2D into the scratch face.
void PutNetfaceIntoTempface(temp2Dface* temp, int32_t face2D, const polyhedron* poly);
// Closer to some edge than a hundredth of that edge's length.
bool PointIsOnEdgeOfTempface(double x, double y, const temp2Dface* temp);
// Whether the scratch face overlaps net face face2D: crossing edges, a
// midpoint of the net face's edges inside the scratch face, or the corner
// mean of either face inside the other (faces on top of each other, one face
// inside the other). With face2D equal to excludeFace, its edge sharedEdge
// and the point tests are left out.
bool New2DConflict(const temp2Dface* temp, int32_t face2D, const polyhedron* poly, int32_t excludeFace,
                   int32_t sharedEdge);
