#include "polybuild/geodesic.h"

#include "polyhedron/polyhedron_record.h"

// Not built yet: the catalogue refuses the shape until this generator exists.
void BuildGeodesicNotTriangleFacedClass1(polyhedron* poly, BufferProcs*, int32_t, int32_t) { poly->errorCode = kPolyErrorShapeNotAvailable; }
