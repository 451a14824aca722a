// The thorn view: a cube net of six faces, warped by the complex power 3/4
// so that the net's corners close up into thorns. The sheet is a grid of
// cells (4 x 4 in every caller), each cell a cube face or empty; two layouts
// show two different cube nets on the same grid.
#pragma once

#include <cstdint>

enum ThornCellKind : int32_t {
  ThornCell_Empty = 0,
  ThornCell_Both = 1,    // shown in both layouts
  ThornCell_First = 2,   // shown only in the first layout
  ThornCell_Second = 3,  // shown only in the second layout
};

constexpr int32_t kThornCellCount = 16;

// The cell table: kind, face direction and spin of each cell of the 4 x 4
// grid, cell index = row·4 + column.
struct ThornCell {
  int32_t kind;
  float face[3];
  float spin;  // radians
};
const ThornCell& ThornCellAt(int32_t cell);

// The plane point (x, y) of the warped sheet. firstLayout picks the cube net
// (nonzero: the first), centred moves the sheet so that the net sits in the
// middle of the output. Clears the flag and writes the point on a shown
// face; sets the flag elsewhere.
void GetThornView(float x, float y, int32_t columns, int32_t rows, float point[3], uint8_t* outside,
                  uint8_t firstLayout, uint8_t centred);
// The unwarped grid: the cell under (x, y), with the grid centred on 0.
// Cells are numbered row by row, `columns` to a row.
void GetThornViewCore(float x, float y, int32_t columns, int32_t rows, float point[3], uint8_t* outside,
                      uint8_t firstLayout);
