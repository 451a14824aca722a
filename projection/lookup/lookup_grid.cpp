#include "projection/lookup/lookup_grid.h"

#include <cstring>

namespace {

bool KnownForm(int32_t form) {
  return form == LookupForm_Pair || form == LookupForm_Triple || form == LookupForm_MirroredPair ||
         form == LookupForm_PairToo;
}

}  // namespace

bool FillGeneralTable(LookupGrid* grid, int32_t n, int32_t shape, const float* table, int32_t tableFloats,
                      int32_t form) {
  std::memset(grid, 0, sizeof(LookupGrid));
  if (table == nullptr || n < 2 || n > kLookupGridMax || !KnownForm(form)) return false;
  if (tableFloats != LookupTableFloats(n, shape, form)) return false;

  grid->size = n;
  grid->lastIndex = static_cast<float>(n - 1);
  const bool topDown = shape == LookupShape_TriangleTopDown;
  const int32_t step = LookupFormFloats(form);
  int32_t k = 0;
  for (int32_t row = 0; row < n; ++row) {
    const int32_t y = topDown ? n - 1 - row : row;
    for (int32_t x = 0; x < n; ++x) {
      float* cell = grid->cell[y][x];
      cell[0] = cell[1] = cell[2] = cell[3] = 0.0f;
      if (!LookupShapeHasCell(n, shape, x, y)) continue;
      const float a = table[k], b = table[k + 1];
      const float c = form == LookupForm_Triple ? table[k + 2] : 0.0f;
      k += step;
      cell[0] = a;
      cell[1] = b;
      cell[2] = c;
      // Each cell is cleared when its own row comes; for the lower-half
      // shape the mirrored write lands on a row already visited (or on the
      // cell itself), so it stays, and a diagonal cell keeps (b, a).
      if (form == LookupForm_MirroredPair) {
        float* mirror = grid->cell[x][y];
        mirror[0] = b;
        mirror[1] = a;
        mirror[2] = c;
      }
    }
  }
  return true;
}
