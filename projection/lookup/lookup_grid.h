// The unpacked form of a projection lookup table: a regular N x N grid of
// float cells, each (a, b, c, 0), filled from a packed static table once and
// read by the interpolating readers of lookup_readers.h.
//
// Packed tables store only the cells of their shape, row after row:
//   shape 0: x + y <= N       (the triangle and one more diagonal)
//   shape 1: x + y <= N - 1   (the triangle)
//   shape 2: every cell
//   shape 3: x + y <= N - 1, rows from y = N - 1 down to 0
//   shape 4: x <= y           (the lower half with the diagonal)
// x is the column and y the row, both from 0; columns always rise. An entry
// is two floats (forms 2, 4 and 5) or three (form 3); form 4 also writes the
// pair swapped into the mirrored cell (y, x), so a half table fills a grid
// that is symmetric about its diagonal.
#pragma once

#include <cstdint>

constexpr int32_t kLookupGridMax = 51;

enum LookupShape : int32_t {
  LookupShape_TrianglePlusDiagonal = 0,
  LookupShape_Triangle = 1,
  LookupShape_Square = 2,
  LookupShape_TriangleTopDown = 3,
  LookupShape_LowerHalf = 4,
};

enum LookupForm : int32_t {
  LookupForm_Pair = 2,
  LookupForm_Triple = 3,
  LookupForm_MirroredPair = 4,
  LookupForm_PairToo = 5,
};

struct LookupGrid {
  int32_t size;     // N; 0 while the grid holds no table
  float lastIndex;  // N - 1: a unit coordinate u is read at u * lastIndex
  float cell[kLookupGridMax][kLookupGridMax][4];  // [row y][column x]
};

constexpr bool LookupShapeHasCell(int32_t n, int32_t shape, int32_t x, int32_t y) {
  switch (shape) {
    case LookupShape_TrianglePlusDiagonal: return x + y <= n;
    case LookupShape_Triangle:
    case LookupShape_TriangleTopDown: return x + y <= n - 1;
    case LookupShape_Square: return true;
    case LookupShape_LowerHalf: return x <= y;
    default: return false;
  }
}

constexpr int32_t LookupShapeCells(int32_t n, int32_t shape) {
  int32_t cells = 0;
  for (int32_t y = 0; y < n; ++y) {
    for (int32_t x = 0; x < n; ++x) cells += LookupShapeHasCell(n, shape, x, y) ? 1 : 0;
  }
  return cells;
}

constexpr int32_t LookupFormFloats(int32_t form) { return form == LookupForm_Triple ? 3 : 2; }

// The length in floats of a packed table of this size, shape and form.
constexpr int32_t LookupTableFloats(int32_t n, int32_t shape, int32_t form) {
  return LookupShapeCells(n, shape) * LookupFormFloats(form);
}

// Unpacks a table into the grid. The table must be exactly as long as its
// size, shape and form say (tableFloats), and N within 2..kLookupGridMax;
// otherwise nothing is read and the grid is left empty (size 0, all cells
// zero), so that a wrong description can never read past the table's end.
bool FillGeneralTable(LookupGrid* grid, int32_t n, int32_t shape, const float* table, int32_t tableFloats,
                      int32_t form);
