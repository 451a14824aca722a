// Oddball and tattoo balls.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

void BuildTattooBall3D(polyhedron* poly, BufferProcs* procs, int32_t variant);
void BuildOddBall3D(polyhedron* poly, BufferProcs* procs);
