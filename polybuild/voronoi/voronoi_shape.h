// Spherical Voronoi solids: the cells of a Voronoi diagram of sites on the
// unit sphere, each cell a fan of triangles in its site's tangent plane.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

// The whole build for shape codes 151-160 and 181-200: storage, the shape's
// site set, every cell, the option words and the solid's angles and links.
// Other codes make an empty solid.
void build_voronoi_shape(polyhedron* poly, BufferProcs* procs, int32_t shapeCode, uint8_t fullDetail);
