// Bringing everything the rows of a pass read into a state that fits the
// current settings, before the first row of every pass (final, preview,
// export layer): work buffers, the resampling filter table, the input
// pyramids as the input mode needs them, the input solid, clean column
// records and lookup caches, and the pass's row counters.
#pragma once

#include <cstdint>

struct Globals;

// Returns Globals.result. When the column records cannot be had the pass is
// left unprepared (passPhase 0, moreToDo 0), so no row step renders.
int32_t PrerollManipulation(Globals* globals);
// The solid of the polyhedron-net input mode, into Globals.inputPolyhedron
// (freeing one left there first); null when it cannot be had or built.
void AlocateInputPoly(Globals* globals, int32_t inputMode);
// InvocationStorage.triangleWave: 0, 2, ... 254, then 255, 253, ... 1.
void MakeTriangleWave(Globals* globals);
// p / (1 - p) for p = i / 255; entry 0 is 0 and entry 255 stands for
// infinity as 1e8.
void MakeOddsTable(float table[256]);
