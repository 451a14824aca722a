// Spherical Voronoi solids: the cells of a Voronoi diagram of sites on the unit sphere.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

void build_voronoi_shape(polyhedron* poly, BufferProcs* procs, int32_t shapeCode, uint8_t flag);
