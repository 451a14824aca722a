// The catalogue's dual shapes (201-220): the dual of a Voronoi shape's solid,
// with the fragmentation and spin options those nets need.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

// Builds the solid of dual shape code `shapeCode` into a record whose options
// the catalogue has just reset. Errors are left in polyhedron.errorCode.
void BuildTruchetDualShape(polyhedron* poly, int32_t shapeCode, BufferProcs* procs, uint8_t flag);
