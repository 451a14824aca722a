// Curved-element solids built the way the catalogue builds them: a wiped
// record, a cleared context, one entry.
#pragma once

#include <cstdint>

#include "polybuild/curved/vivo_context.h"
#include "support/poly_fixture.h"

using VivoEntryFn = void (*)(VivoContext*);

struct VivoCase {
  const char* name;
  int32_t shapeCode;
  VivoEntryFn entry;
  int32_t elements;
  int32_t corners;  // of each element
  bool closed;      // every edge meets its reverse
};
extern const VivoCase kVivoCases[7];

struct VivoBuild {
  PolyPtr poly;
  VivoContext ctx;
};
VivoBuild BuildVivo(const VivoCase& c);

// Directed edges of the solid's faces without their reverse in another face.
int32_t OpenEdgeCount(const polyhedron* poly);
