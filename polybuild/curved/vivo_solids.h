// polybuild/curved/: the curved-element solids: elements, hinges, curves and closing.
// The curved-element solids: copies of one flat element with folded wings,
// placed on the faces of a regular solid (or as two half-turn twins), moved
// to the origin and turned, then closed by the piece and fragment pass.
#pragma once

#include <cstdint>

#include "polybuild/curved/vivo_context.h"

void Build_VivoTet(VivoContext* ctx);
void Build_VivoCube(VivoContext* ctx);
void Build_VivoOct(VivoContext* ctx);
// Twelve pentagonal elements on the faces of a regular dodecahedron.
void Build_VivoDodecahedron(VivoContext* ctx);
void Build_Tribox(VivoContext* ctx);
// Two square elements, the second turned half a turn about the first's
// diagonal; style 6 quarter-circle arcs, 7 squircle arcs.
void Build_x_box(VivoContext* ctx, int32_t style);
void Build_squarebox(VivoContext* ctx);
void Build_squirclebox(VivoContext* ctx);
