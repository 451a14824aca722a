// Entries of the curved-element solids.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct polyhedron;

struct VivoEntryOptions {
  polyhedron* poly;
  BufferProcs* procs;
  int32_t slots[20];
};
void Build_VivoTet_GyrelleEntry(VivoEntryOptions* options);
void Build_VivoCube_GyrelleEntry(VivoEntryOptions* options);
void Build_VivoDodecahedron_GyrelleEntry(VivoEntryOptions* options);
void Build_VivoIcosahedron_GyrelleEntry(VivoEntryOptions* options);
void Build_Tribox_GyrelleEntry(VivoEntryOptions* options);
void Build_VivoOct_GyrelleEntry(VivoEntryOptions* options);
void Build_squarebox_GyrelleEntry(VivoEntryOptions* options);
void Build_squirclebox_GyrelleEntry(VivoEntryOptions* options);
// Pairs scissor marks with pieces after the 3D build, before unfolding.
void AdjustScissorInfo(polyhedron* poly);
