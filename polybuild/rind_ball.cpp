#include "polybuild/rind_ball.h"

#include "polyhedron/polyhedron_record.h"

// Not built yet: the catalogue refuses the shape until this generator exists.
void BuildRindBall3D(polyhedron* poly, BufferProcs*, int32_t, uint8_t) { poly->errorCode = kPolyErrorShapeNotAvailable; }
void BuildThirtysphere(polyhedron* poly, BufferProcs*) { poly->errorCode = kPolyErrorShapeNotAvailable; }
