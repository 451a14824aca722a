// Filtered reads of a pyramid: a level-local 5 x 5 read in the stored scale,
// the trilinear read in unit colour, and the bilinear read whose corners wrap
// across the pyramid's seams.
//
// Their bodies are, for now, plain bilinear stand-ins
// (pyramid_sampling_minimal.cpp) with the same coordinates, edge rules and
// scales as the windowed-sinc versions that replace them.
#pragma once

#include <cstdint>

struct PyramidDescriptor;

// Level pixel coordinates (pixel i's centre at i), x and y at least -0.5;
// the result is in the pyramid's stored scale. Kinds 3, 4 and 9.
void gauss_pyramid_sampleColor(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g,
                               float* b, float* a);
// Unit coordinates, level L blended with L + 1 by t; unit colour.
void get_unitarycoord_unitary_color(const PyramidDescriptor* p, int32_t level, float t, float u, float v,
                                    float colour[4]);
// Unit coordinates; unit colour; corners past a wrapping edge read the
// opposite edge.
void get_unit_ramped_wrapped_pyramid_sample_point(float u, float v, const PyramidDescriptor* p, int32_t level,
                                                  float colour[4]);
