// The sizes of the output being rendered, as the invocation keeps them. The
// frame defines them; the floors below see only these declarations.
#pragma once

#include <cstdint>

struct Globals;
struct Rect;

// Sets the output size and row and column bounds to `rect`'s, and the
// preview scale to `scale`.
void CalcTemporaryDimensions(Globals* globals, const Rect* rect, int32_t scale);

// The columns and rows of the current output: the export canvas's in an
// export-layer render, else the host's output rectangle's.
int32_t WidthOfCurrentOutput(const Globals* globals);
int32_t HeightOfCurrentOutput(const Globals* globals);
