// Reads of a pyramid in unit coordinates: the trilinear read that blends two
// neighbouring levels of the 5 x 5 filtered read, its unit-colour form, the
// sharpened read that extrapolates away from the next coarser level, and
// the bilinear read whose four corners wrap independently across seams.
//
// Unit coordinates run 0 to 1 across level 0; level L's pixel position is
// x = u × scaleWidth[L] - 0.5. A level is an integer L and a fraction t in
// [0, 1) toward L + 1.
#pragma once

#include <cstdint>

#include "pyramid/pyramid_filtered.h"  // gauss_pyramid_sampleColor, for the callers of these reads

struct PyramidDescriptor;

// Trilinear read in the stored scale. Level L is read as L0 = min(L,
// topLevel - 1) (0 below 0, and 0 on a single-level pyramid) so that L0 + 1
// exists; t == 0 reads L0 alone. Grey kinds give grey with a full-scale
// alpha; kinds without a filtered reader give zeros. No overhang mapping.
void get_borked(const PyramidDescriptor* p, int32_t level, float t, float u, float v, float* r, float* g, float* b,
                float* a);
// get_borked in unit colour.
void get_unitarycoord_unitary_color(const PyramidDescriptor* p, int32_t level, float t, float u, float v,
                                    float colour[4]);
// Unit colour at (u, v) after the pyramid's overhang mode ((0, 0, 0, 0) for
// an empty point). A nonzero `sharpen` pushes red, green and blue away from
// the next coarser level: c0 + (c0 - c1) × sharpen; alpha is never sharpened.
void get_sharpened_color(const PyramidDescriptor* p, int32_t level, float t, float u, float v, float sharpen,
                         float colour[4]);
// get_sharpened_color at (u, v) and count - 1 points on from there, each
// step (stepU, stepV) added in float to the last point, the colours added
// to `sum` in double in that order: the footprint sampler's reads along its
// major axis in one call.
void AddSharpenedColours(const PyramidDescriptor* p, int32_t level, float t, float u, float v, float stepU,
                         float stepV, int32_t count, float sharpen, double sum[4]);
// Bilinear unit-colour read of `level` whose four corners pass the overhang
// mode one by one, so that a corner past a wrapping edge reads the opposite
// edge. (0, 0, 0, 0) for a missing level or a NaN point.
void get_unit_ramped_wrapped_pyramid_sample_point(float u, float v, const PyramidDescriptor* p, int32_t level,
                                                  float colour[4]);
