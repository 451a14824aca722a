// The one shape whose faces its caller supplies: the catalogue gives it its
// options and four empty face slots, and the set-up, its caller, fills them
// with a regular tetrahedron and unfolds it as a generated solid is.
#pragma once

#include "platform/plugin_api.h"

struct polyhedron;

// Fills the catalogue's four empty face slots of that shape: owned arrays,
// the four faces, their links and angles, and the net. The errorCode tells
// a solid that could not be made (no memory for its arrays, or an adder
// refused a face); a record of another shape is left alone.
void SupplyCallerFaces(polyhedron* poly, BufferProcs* procs);
