// Entries of the curved-element solids, called by the shape catalogue with
// a cleared context: fresh storage, the builder, then 3D angles and
// connectivity. A solid whose hinge search did not close is refused: it is
// left without faces and with kVivoErrorHingeSearch.
#pragma once

#include <cstdint>

#include "polybuild/curved/vivo_context.h"

struct polyhedron;

// The catalogue's name for the context it hands to an entry.
using VivoEntryOptions = VivoContext;

// A wing step's hinge search ended with its outer edge off by more than the
// closing tolerance.
constexpr int32_t kVivoErrorHingeSearch = 13;

void Build_VivoTet_GyrelleEntry(VivoEntryOptions* options);
void Build_VivoCube_GyrelleEntry(VivoEntryOptions* options);
void Build_VivoDodecahedron_GyrelleEntry(VivoEntryOptions* options);
// No icosahedron builder exists: the solid has no faces.
void Build_VivoIcosahedron_GyrelleEntry(VivoEntryOptions* options);
void Build_Tribox_GyrelleEntry(VivoEntryOptions* options);
void Build_VivoOct_GyrelleEntry(VivoEntryOptions* options);
void Build_squarebox_GyrelleEntry(VivoEntryOptions* options);
void Build_squirclebox_GyrelleEntry(VivoEntryOptions* options);

// After the builder: refuses the solid when a hinge search failed, else
// computes its 3D angles and connectivity.
void FinishVivoEntry(VivoContext* ctx);

// Pairs scissor marks with pieces after the 3D build, before unfolding:
// each piece keeps the marks of its two lowest tags that have one.
void AdjustScissorInfo(polyhedron* poly);
