// Rollouts.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

void BuildRollout(polyhedron* poly, BufferProcs* procs, uint8_t flag, int32_t n, int32_t a, int32_t b, int32_t c);
