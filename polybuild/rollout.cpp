#include "polybuild/rollout.h"

#include "polyhedron/polyhedron_record.h"

// Not built yet: the catalogue refuses the shape until this generator exists.
void BuildRollout(polyhedron* poly, BufferProcs*, uint8_t, int32_t, int32_t, int32_t, int32_t) { poly->errorCode = kPolyErrorShapeNotAvailable; }
