#include "polyhedron/polyhedron.h"

void NullifyPolyStorage(polyhedron* poly) {
  if (!poly) return;
  poly->ownsArrays = 0;
}

void InitPoly(polyhedron* poly, float, float) {
  if (!poly) return;
  poly->shapeCode = -1;
  poly->errorCode = 0;
}

void DumpPolyStorage(polyhedron* poly, BufferProcs*) {
  if (!poly) return;
  poly->ownsArrays = 0;
}
