// Geodesic spheres: a base solid of the catalogue with its faces subdivided.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

void BuildGeodesicNotTriangleFacedClass1(polyhedron* poly, BufferProcs* procs, int32_t a, int32_t b);
