#include "polybuild/voronoi_shape.h"

#include "polyhedron/polyhedron_record.h"

// Not built yet: the catalogue refuses the shape until this generator exists.
void build_voronoi_shape(polyhedron* poly, BufferProcs*, int32_t, uint8_t) { poly->errorCode = kPolyErrorShapeNotAvailable; }
