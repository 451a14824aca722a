// The compile-time check of the generated face-row tables of the catalogue's
// solids and nets, which both generators' sources run on every table.
#pragma once

#include <cstdint>

// Every row names a stored point (1 to pointCount) and has 3 to 10 corners,
// and the table holds exactly faceCount rows, the last one closed by its 0.
template <int32_t N>
constexpr bool CatalogueRowsValid(const int16_t (&rows)[N], int32_t pointCount, int32_t faceCount) {
  int32_t faces = 0, corners = 0;
  for (int32_t i = 0; i < N; ++i) {
    if (rows[i] == 0) {
      if (corners < 3 || corners > 10) return false;
      ++faces;
      corners = 0;
    } else if (rows[i] < 1 || rows[i] > pointCount) {
      return false;
    } else {
      ++corners;
    }
  }
  return corners == 0 && faces == faceCount;
}
