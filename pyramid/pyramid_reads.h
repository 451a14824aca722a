// Reads of single pixels at integer level coordinates in unit colour, and
// the stored value of a one-channel pixel. They serve the whole-pyramid
// copies and the samplers; the filtered reads live beside them.
#pragma once

#include <cstdint>

struct PyramidDescriptor;

// Kind 3 wraps by the pyramid's wrap mode, every other kind clamps. One-channel
// kinds give grey with alpha 1; an unallocated pyramid or a missing level
// gives (0, 0, 0, 0).
void get_intcoord_unitary_color(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level,
                                float colour[4]);
// Clamped; one byte for kinds 0 and 3, a 32-bit word for kinds 5 and 9, an
// unsigned 16-bit value otherwise; 0 when unallocated.
int32_t get_pyramid_sample_pointGray(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level);
