// The solid of the current polyhedron as an STL file, in the binary form the
// model export writes or the ASCII form, moved into the positive octant.
#pragma once

#include <string>

struct polyhedron;
struct ExportTriangleList;

// Binary: 80 zero bytes, the triangle count, then per triangle its normal,
// its three corners (little-endian floats) and a zero attribute word. ASCII
// names its solid `solidName`. Empty without a solid.
std::string STLFileBytes(polyhedron* poly, bool binary, const char* solidName);
// The shift that moves every exported corner to coordinates of at least 0.
void STLOffsets(const polyhedron* poly, const ExportTriangleList& list, double offset[3]);
