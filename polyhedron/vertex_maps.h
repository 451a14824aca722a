// Maps between the vertices of a net and of its solid, and from a net
// triangle's corner back to its face corner. They read the face links made by
// the correspondence search or by the unfolding.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// The 3D vertex under 2D vertex v: its cached link when set, else through the
// first net face that holds it. -1 for an unused or out-of-range vertex, one
// that no face holds, or a face not linked to the solid.
int32_t Vert_Index_2D_to_3D(const polyhedron* poly, int32_t v);

// The first 2D vertex of the fragment's net faces that lies on 3D vertex
// v3D; -1 when none.
int32_t Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(const polyhedron* poly, int32_t v3D,
                                                                     int32_t fragment);

// The net face of a triangle and the last corner of that face holding the
// triangle's corner k (0..2); both -1 when the triangle has no face.
void Get_2D_Face_and_Index_From_Triangle_and_Index(const polyhedron* poly, int32_t triangle, int32_t k, int32_t* face,
                                                   int32_t* corner);
