// Stand-in for the polyhedron record until the polyhedron model is built: it
// owns no arrays yet, so nullifying and dumping it have nothing to free.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;

struct polyhedron {
  int32_t shapeCode;
  int32_t errorCode;
  uint8_t ownsArrays;
  Globals* owner;
};

void NullifyPolyStorage(polyhedron* poly);
void InitPoly(polyhedron* poly, float aspect, float tabDepth);
void DumpPolyStorage(polyhedron* poly, BufferProcs* procs);
