#include "polybuild/dev_tetrahedra.h"

#include "polyhedron/polyhedron_record.h"

// Not built yet: the catalogue refuses the shape until this generator exists.
void BuildDevTet(polyhedron* poly, BufferProcs*) { poly->errorCode = kPolyErrorShapeNotAvailable; }
void BuildConeTet(polyhedron* poly, BufferProcs*) { poly->errorCode = kPolyErrorShapeNotAvailable; }
