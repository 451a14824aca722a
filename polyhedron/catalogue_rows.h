// Loading the face rows of a static shape: the record already points at the
// shape's borrowed tables (net points, solid points, 2D rows and, unless the
// net names its solid vertices through a map, 3D rows); this turns the rows
// into the corner lists of the face slots and sets the vertex counts.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// Rows are 1-based vertex numbers ended by 0, face after face. Face k of the
// net and of the solid take slot k for k = 0 .. n3DFaces - 1 (n3DFaces is
// clamped to the face limit). A row keeps its first ten corners; a face whose
// row lies past the given length of its table gets no corners, so a short
// table is never read beyond its end. Afterwards n2DFaces = n3DFaces,
// n2DVerts is the highest 2D number named (those slots marked used, none
// linked to a 3D vertex yet) and n3DVerts the highest 3D number named (or
// left alone when there are no 3D rows).
void LoadStaticFaceRows(polyhedron* poly, int32_t rows2DLength, int32_t rows3DLength);
