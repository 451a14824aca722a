// Rind balls and the thirty-sphere.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

void BuildRindBall3D(polyhedron* poly, BufferProcs* procs, int32_t variant, uint8_t flag);
void BuildThirtysphere(polyhedron* poly, BufferProcs* procs);
