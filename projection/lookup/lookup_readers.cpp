#include "projection/lookup/lookup_readers.h"

#include <cmath>

namespace {

struct Corners {
  const float* c00;
  const float* c10;
  const float* c01;
  const float* c11;
  float fx;
  float fy;
};

// Clamps into [0, N - 1]; NaN, which fails every comparison, becomes 0.
float ClampToGrid(float v, float last) {
  if (!(v > 0.0f)) return 0.0f;
  return v < last ? v : last;
}

Corners CornersAt(float x, float y, const LookupGrid& grid) {
  const int32_t last = grid.size - 1;
  x = ClampToGrid(x, grid.lastIndex);
  y = ClampToGrid(y, grid.lastIndex);
  const float fx0 = std::floor(x), fy0 = std::floor(y);
  const int32_t x0 = static_cast<int32_t>(fx0), y0 = static_cast<int32_t>(fy0);
  const int32_t x1 = x0 < last ? x0 + 1 : last, y1 = y0 < last ? y0 + 1 : last;
  return {grid.cell[y0][x0], grid.cell[y0][x1], grid.cell[y1][x0], grid.cell[y1][x1], x - fx0, y - fy0};
}

// The three weights of the simplicial read and the three cells they go with.
struct Simplex {
  const float* a;
  const float* b;
  const float* c;
  float wa, wb, wc;
};

Simplex SimplexAt(const Corners& k) {
  if (k.fx + k.fy <= 1.0f) {
    const float w = static_cast<float>(1.0 - static_cast<double>(k.fx) - static_cast<double>(k.fy));
    return {k.c00, k.c10, k.c01, w, k.fx, k.fy};
  }
  const float p = 1.0f - k.fy, q = 1.0f - k.fx;
  const float w = static_cast<float>(1.0 - static_cast<double>(p) - static_cast<double>(q));
  return {k.c11, k.c10, k.c01, w, p, q};
}

float Blend(const Simplex& s, int channel) {
  return s.wa * s.a[channel] + s.wb * s.b[channel] + s.wc * s.c[channel];
}

float Ramp(const Corners& k, int channel) {
  const float r0 = k.c00[channel] + (k.c10[channel] - k.c00[channel]) * k.fx;
  const float r1 = k.c01[channel] + (k.c11[channel] - k.c01[channel]) * k.fx;
  return r0 + (r1 - r0) * k.fy;
}

}  // namespace

void get_simplicial_cache_values(float x, float y, const LookupGrid& grid, float* out0, float* out1) {
  if (grid.size < 1) {
    *out0 = *out1 = 0.0f;
    return;
  }
  const Simplex s = SimplexAt(CornersAt(x, y, grid));
  *out0 = Blend(s, 0);
  *out1 = Blend(s, 1);
}

void get_three_simplicial_cache_values(float x, float y, const LookupGrid& grid, float* out0, float* out1,
                                       float* out2) {
  if (grid.size < 1) {
    *out0 = *out1 = *out2 = 0.0f;
    return;
  }
  const Simplex s = SimplexAt(CornersAt(x, y, grid));
  *out0 = Blend(s, 0);
  *out1 = Blend(s, 1);
  *out2 = Blend(s, 2);
}

void get_ramped_cache_values(float x, float y, const LookupGrid& grid, float* out0, float* out1) {
  if (grid.size < 1) {
    *out0 = *out1 = 0.0f;
    return;
  }
  const Corners k = CornersAt(x, y, grid);
  *out0 = Ramp(k, 0);
  *out1 = Ramp(k, 1);
}
