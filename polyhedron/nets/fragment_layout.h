// Setting the fragments of a net side by side, and the bounding boxes that
// the layout and the net fit measure. The layout works on the double net
// coordinates; the fit later works on the float net points.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"

// Moves every fragment so that its box starts at the origin, then sets them
// in one row, left to right by fragment number, 3 % of the wider neighbour
// apart and centred on the tallest; a few shapes then stack fragments or
// record key vertices. The result carries nothing.
int32_t LayOutFragments(polyhedron* poly);

// The box of the used 2D vertices of one fragment (double coordinates); the
// outputs are left untouched when the fragment has none.
void Find2DBoundingBoxPointsAndFragment(const polyhedron* poly, float* xMin, float* xMax, float* yMin, float* yMax,
                                        int32_t fragment);

// Moves fragment b and every higher-numbered one so that b's left edge lines
// up with a's and b starts 3 % of a's height beyond a's top (a = 1); a = 0
// moves fragment b - 1 up instead.
void Layout_PutBUnderA(int32_t a, int32_t b, polyhedron* poly);

// The box of the used float net points; (0, 0, 0, 0) when none is used.
void Find2DBoundingBox(const polyhedron* poly, float* xMin, float* xMax, float* yMin, float* yMax);

// Which net triangles Find2DBoundingBoxSpecial measures.
constexpr uint16_t kBoxOfFace = 0;      // those of net face `id`
constexpr uint16_t kBoxOfFragment = 1;  // those of fragment `id`
constexpr uint16_t kBoxOfAll = 2;       // every triangle

// The box of the float net points at the corners of the chosen triangles;
// the outputs are left untouched when no triangle is chosen (or for any
// other mode).
void Find2DBoundingBoxSpecial(const polyhedron* poly, float* xMin, float* xMax, float* yMin, float* yMax, int32_t id,
                              uint16_t mode);
