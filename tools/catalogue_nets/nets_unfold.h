// Unfolding a solid with the plug-in's own unfolding and reading the net
// back out of the record.
#pragma once

#include <string>

#include "nets_common.h"

namespace nets {

// Build2DNet on the loaded solid; false (with the reason) unless the net is
// one fragment without error.
bool UnfoldIntoOneFragment(polyhedron* poly, std::string* why);

// The net of an unfolded record with row k showing solid face k from its
// corner 0 (offset 0); points renumbered in the order the rows first name
// them.
Net NetByFace(const polyhedron* poly);

// Places every row again from the first one outward, each hinged on a row
// already placed, from the solid's own corner positions in double precision:
// the unfolding hinges faces with single-precision steps, which leaves its
// net points a few 1e-8 off. Then moves the net's box to start at (0, 0).
// Rows of a tree net share exactly one edge with the row they hang from.
void PlaceRowsExactly(const CatalogueSolid& solid, Net* net);

// Marks every solid edge as cut except those between the listed face pairs.
void CutAllEdgesBut(polyhedron* poly, const std::vector<std::array<int32_t, 2>>& hinges);

// Renumbers the points in the order the rows first name them and drops the
// ones no row names.
void CompactPoints(Net* net);

}  // namespace nets
