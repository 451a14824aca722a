// The nets drawn to a plan rather than left to the unfolding: the cube's two
// crosses and the icosahedron's strip of ten triangles with five above and
// five below. Each is unfolded by the plug-in's own code with every edge cut
// but the planned hinges, turned into place and snapped onto its lattice.
#pragma once

#include "nets_common.h"

namespace nets {

// The cube's faces in its table: 0 front, 1 right, 2 back, 3 left, 4 top,
// 5 bottom. Both crosses put the front at lattice cell (1, 1) with the top
// above it (cell (1, 0), smaller y) and the bottom below it; the horizontal
// cross has four faces in a row (the back at the end of the row), the
// vertical one four in a column (the back under the bottom). Points are
// lattice points times the edge length.
Net CubeCross(const CatalogueSolid& cube, bool vertical);

// The icosahedron as a strip: ten triangles in a row, the five around the
// top vertex above it (smaller y) and the five around the bottom vertex
// below it.
Net IcosahedronStrip(const CatalogueSolid& ico);

}  // namespace nets
