#include "polybuild/tattoo_ball.h"

#include "polyhedron/polyhedron_record.h"

// Not built yet: the catalogue refuses the shape until this generator exists.
void BuildTattooBall3D(polyhedron* poly, BufferProcs*, int32_t) { poly->errorCode = kPolyErrorShapeNotAvailable; }
void BuildOddBall3D(polyhedron* poly, BufferProcs*) { poly->errorCode = kPolyErrorShapeNotAvailable; }
