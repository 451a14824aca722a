// Developable and cone tetrahedra.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

void BuildDevTet(polyhedron* poly, BufferProcs* procs);
void BuildConeTet(polyhedron* poly, BufferProcs* procs);
