// SphericalToRectangular for a run of directions at once. One at a time,
// the arctangent's two divisions and its series stand in a chain that the
// processor cannot overlap with the next point's; eight at a time in
// 256-bit lanes they cost about what one did. Each lane takes the scalar
// function's operations in its order, without fused multiply-adds, so the
// bits are the scalar ones; the rare directions the arctangent treats
// apart (zeros, infinities, NaN, a ratio beyond 2^60) go through the
// scalar function itself.
#pragma once

#include <cstdint>

// u[i], v[i] = SphericalToRectangular({x[i], y[i], z[i]}) for i < n.
void SphericalToRectangularRun(const float* x, const float* y, const float* z, int32_t n, float* u, float* v);
