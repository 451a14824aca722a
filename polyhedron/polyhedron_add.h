// Growing a polyhedron vertex by vertex and face by face. Which vertices merge
// decides the connectivity of the solid and of the net, so the tolerances and
// the lowest-index tie-break are part of the contract. Failures set
// polyhedron.errorCode and leave the record as it was.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"
#include "projection/complex_math.h"

struct FaceAddingOptions {
  // The 3D vertex of each corner in order; one more entry after the last
  // corner when takeExtraVertex is 1.
  const int32_t* corners;
  int32_t nCorners;
  int32_t cutEdgeA;  // corner index 0..9 of an edge the net may not join; -1 none
  // Skip the duplicate test and the angle and connectivity pass; the caller
  // runs the pass once after its last face.
  uint8_t deferChecks;
  int32_t takeExtraVertex;
  int32_t facegroup;  // -1 none
  int32_t cutEdgeB;
  int32_t siteIndex;  // -1 none
  uint8_t hideFlag;
  uint8_t sliceWholeFace;
  double point[3];
};

// No corners, cut edges, facegroup and site -1, flags 0, point (0, 0, 0). A
// null record is left alone.
void GetDefaultFaceAddingOptions(FaceAddingOptions* options);

// Merge tolerance of the 2D adder for a shape code.
double Vertex2DMergeTolerance(int32_t shapeCode);
constexpr double kVertex3DMergeTolerance = 0.002;

// The used slot of the same fragment closer than the shape's tolerance (the
// lowest such slot), else a free slot found from freeVertCursor on. -1 with
// error 6 when every slot is taken.
int32_t AddNew2DVertToPolyhedron(polyhedron* poly, double x, double y, uint16_t vert3D, int32_t fragment);
// The first stored 3D vertex whose distance is strictly below tolerance.
int32_t CloseMatch3D(const polyhedron* poly, const double point[3], double tolerance);
// A matching 3D vertex, else a new one at index n3DVerts; -1 with error 5
// when 4010 are stored.
int32_t AddNew3DDVertToPolyhedron(polyhedron* poly, const double point[3]);
int32_t AddNew3DDVertToPolyhedron_tol(polyhedron* poly, const double point[3], double tolerance, uint8_t* made);
int32_t AddNew3DTVertToPolyhedron_tol(polyhedron* poly, triplex point, double tolerance, uint8_t* made);

// Adds a 3D face in slot n3DFaces. Errors: 8 the same cycle in the same
// direction exists, 3 two consecutive corners alike, 2 the face table is full,
// 11 fewer than three corners or a corner that is no stored 3D vertex. More
// than ten corners are cut to ten (nCorners is written back).
void core_Add3DFaceToPolyhedron(polyhedron* poly, FaceAddingOptions* options);
void Add3DFaceToPolyhedron_macro(polyhedron* poly, const int32_t* corners, int32_t nCorners, int32_t cutEdgeA,
                                 uint8_t deferChecks, int32_t takeExtraVertex, int32_t facegroup, int32_t cutEdgeB,
                                 int32_t siteIndex);
