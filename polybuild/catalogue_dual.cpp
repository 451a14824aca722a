#include "polybuild/catalogue_dual.h"

#include "polyhedron/polyhedron_record.h"

void BuildTruchetDualShape(polyhedron* poly, int32_t, BufferProcs*, uint8_t) {
  // The face writer of the Voronoi solids is not part of the system yet.
  if (poly) poly->errorCode = kPolyErrorShapeNotAvailable;
}
