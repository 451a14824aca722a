// The export planning of the layered polyhedron-faces export, on the solid
// of the current output (or on the shape it names for planning).
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;
struct polyhedron;

// Fills the crammed centres, angles and scale of the invocation storage and
// answers the height/width ratio of the layout. When the solid plans on
// another shape and no scratch record can be had, nothing is planned and the
// answer is 0: a layout of no height, which the writer refuses.
double PlanCrammingForExportation(Globals* globals, int32_t outputMode, int32_t groupCount, BufferProcs* procs,
                                  polyhedron* poly);
