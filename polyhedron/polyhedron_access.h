// Single-vertex reads and writes of a polyhedron record. The readers check
// nothing beyond what is said: they run in every loop over a net. The writers
// refuse an index outside the record's limits and a record that does not own
// its arrays (borrowed static tables are read-only).
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"
#include "projection/complex_math.h"

void grab_coordinates2DD(int32_t i, const polyhedron* poly, double* x, double* y);
void grab_coordinates3DD(int32_t i, const polyhedron* poly, double* x, double* y, double* z);
void grab_coordinates3D_into_vector3D(int32_t i, const polyhedron* poly, double out[3]);
triplex grab_coordinates3D_into_T(int32_t i, const polyhedron* poly);
void Set3DVert_T(polyhedron* poly, int32_t i, triplex point);
// i < 0 (or past the record's 2D limit) yields {0, 0, -1, -1, -1, 0} without
// reading the record.
void Grab2DPoint(int32_t i, DPoint* out, const polyhedron* poly);
// Stores the net point and marks the slot used; index -1 changes nothing.
void Set2DPoint(int32_t i, DPoint in, polyhedron* poly);
// The fitted net point of a 2D vertex; (0, 0) for i < 0.
fcomplex GrabRederingVertIntoComplex(int32_t i, const polyhedron* poly);

// The owned arrays for writing; null when the record borrows static tables or
// owns nothing.
double (*MutableCoords2D(polyhedron* poly))[2];
double (*MutableCoords3D(polyhedron* poly))[3];
int16_t* MutableFaces2DRows(polyhedron* poly);
int16_t* MutableFaces3DRows(polyhedron* poly);
