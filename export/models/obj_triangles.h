// The triangles a model file holds: every non-tab triangle of the net, each
// solid face taken from one net fragment only (a net may show a face twice),
// with its corners in the order the files list them (net corners 2, 1, 0;
// 2, 0, 1 for the mirror-image faces of a net its warp reads in a fixed
// corner order, so that every triangle of the model winds outward).
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

struct ExportTriangle {
  int32_t vert3D[3];
  int32_t vert2D[3];
};

struct ExportTriangleList {
  ExportTriangle triangles[kPolyMaxTriangles];
  int32_t count;
};

// Marks NetTriangle.exportMark and PolyFace.exportMark and lists the
// exported triangles. A triangle whose corner reaches no solid vertex is not
// exported: a file may not name a vertex it does not hold.
void MarkExportedTriangles(polyhedron* poly, ExportTriangleList* out);

// The solid vertex as the model files place it: (x, -y, z), or (-x, y, z)
// for a shape that mirrors its first axis on export.
void ExportedVertex(const polyhedron* poly, int32_t v3D, double out[3]);
// (B - A) x (C - B), of unit length; (0, 0, 1) for a degenerate triangle.
void ExportNormal(const double a[3], const double b[3], const double c[3], double n[3]);
// The solid vertices the exported triangles use, in ascending order, and
// each one's place in that order (-1 for a vertex no triangle uses): a
// model lists no vertex that none of its faces names, such as the pivots of
// scissor marks.
struct UsedVertexList {
  int32_t vertices[kPolyMax3DVerts];
  int32_t placeOf[kPolyMax3DVerts];
  int32_t count;
};
void ListUsedVertices(const polyhedron* poly, const ExportTriangleList& list, UsedVertexList* out);
// Highest net vertex of a non-tab triangle.
int32_t HighestExported2DVertex(const polyhedron* poly);
