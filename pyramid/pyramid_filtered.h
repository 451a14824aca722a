// Filtered reads of one pyramid level: the colour at a point interpolated
// from the 5 x 5 pixels around it with the separable weights of the
// resampling filter table. One member per pixel layout and number form.
//
// x and y are pixel coordinates of `level` (pixel i's centre at i), normally
// at least -0.5: map points outside the image with the overhang mode first.
// Results are in the pyramid's stored scale (0-255, 0-32768 or the stored
// floats) and are not clamped: the windowed sinc overshoots a little at
// edges. A member given a pyramid of another kind, a missing level or a NaN
// coordinate answers zeros; a coordinate far outside the level reads the
// nearest edge (or, on a wrapping pyramid, the wrapped neighbours).
#pragma once

#include <cstdint>

struct PyramidDescriptor;

// Kind 3 (packed 8-bit RGBA).
void gauss_pyramid_sample4(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g, float* b,
                           float* a);
// gauss_pyramid_sample4 into c (r, g, b, a), for the samplers' reads.
void gauss_pyramid_sample4_rgba(const PyramidDescriptor* p, int32_t level, float x, float y, float c[4]);
// n of them on one level: c[i] as gauss_pyramid_sample4_rgba gives it for
// (x[i], y[i]). What the level asks of every read is looked up once.
void gauss_pyramid_sample4_run(const PyramidDescriptor* p, int32_t level, const float* x, const float* y, int32_t n,
                               float (*c)[4]);
// Two of them in one call, as a trilinear read asks of two levels.
void gauss_pyramid_sample4_pair(const PyramidDescriptor* p, int32_t level0, float x0, float y0, float c0[4],
                                int32_t level1, float x1, float y1, float c1[4]);
// The 8-bit and float reads sum in 256-bit lanes where the processor has
// them: the same integers, and the same doubles (each lane rounds as the
// scalar sum does), so the same bytes. False makes them take the 128-bit sums
// (for tests that compare the two); answers whether the wide sums are in
// use now. Call it while no read runs.
bool gauss_pyramid_allow_wide_sums(bool allow);
// Kind 0 (one byte).
float gauss_pyramid_sample1(const PyramidDescriptor* p, int32_t level, float x, float y);
// Kind 4 (four 16-bit values, 0 to 32768).
void gauss_pyramid_sample64bit(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g,
                               float* b, float* a);
// Kind 1 (one 16-bit value).
float gauss_pyramid_sample16bitgray(const PyramidDescriptor* p, int32_t level, float x, float y);
// Kind 9 (four floats).
void gauss_pyramid_sample128bit(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g,
                                float* b, float* a);

// Picks the member for the pyramid's kind: 3, 4 and 9 as themselves; the
// grey kinds 0 and 1 give grey in red, green and blue with a full-scale
// alpha; every other kind answers zeros.
void gauss_pyramid_sampleColor(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g,
                               float* b, float* a);
