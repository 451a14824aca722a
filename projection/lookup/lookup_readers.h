// Interpolating reads of a lookup grid at grid coordinates (x, y): a unit
// coordinate u is read at u * grid.lastIndex.
//
// Coordinates are clamped into the grid before the cell is found, which
// reads the same values as clamping the four cells would, and keeps a
// coordinate that is huge or not a number (read as 0) from reaching a
// float-to-int conversion. An empty grid reads as zeros.
#pragma once

#include "projection/lookup/lookup_grid.h"

// Linear on the two triangles of each cell square, split along its
// anti-diagonal: exact for data linear in x and y, and a point of a
// triangle-shaped table (x + y <= N - 1) never reads a cell beyond it.
void get_simplicial_cache_values(float x, float y, const LookupGrid& grid, float* out0, float* out1);
void get_three_simplicial_cache_values(float x, float y, const LookupGrid& grid, float* out0, float* out1,
                                       float* out2);
// Bilinear.
void get_ramped_cache_values(float x, float y, const LookupGrid& grid, float* out0, float* out1);
