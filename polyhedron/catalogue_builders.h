// The builders of the catalogue's generated shapes, as the catalogue calls
// them. They live a floor above it (the procedural, Voronoi, dual and
// curved-element solids of polybuild/), so this floor only declares the record
// and polybuild/catalogue/catalogue_generated.cpp defines it: the catalogue keeps its
// dispatch by shape code without including anything of polybuild/, and a
// constant record needs no registration before the first shape is read.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

struct GeneratedShapeBuilders {
  // Runs the generator of a generated shape code, the dual shapes excepted;
  // false for a code that has no generator of its own.
  bool (*runGenerator)(polyhedron* poly, int32_t shapeCode, BufferProcs* procs, uint8_t fullDetail);
  // Builds the solid of a dual shape code (201-220) into a record whose
  // options the catalogue has just reset.
  void (*buildDual)(polyhedron* poly, int32_t shapeCode, BufferProcs* procs, uint8_t fullDetail);
  // Pairs scissor marks with pieces after the 3D build, before unfolding.
  void (*adjustScissorInfo)(polyhedron* poly);
};

extern const GeneratedShapeBuilders kGeneratedShapeBuilders;
