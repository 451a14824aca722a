// Reading and writing single pixels of one pyramid level at integer
// coordinates, and the conversions between stored and 8-bit values.
//
// Every accessor checks the level and the data kind first: a pyramid whose
// pixels are smaller than what an accessor moves is never touched (readers
// answer zeros). Readers clamp or wrap their coordinates into the level;
// writers ignore coordinates outside it.
//
// Components travel as 32-bit values: channel values for the integer kinds,
// float bit patterns for the float kinds.
#pragma once

#include <cstdint>

struct Globals;
struct PyramidDescriptor;

// Column and row that the wrap rule of the pyramid's wrapMode gives (0: both
// clamped; 2: x wraps once, y clamped; 1: both wrap once). Shared with the
// level builder and the samplers so that all of them fold alike.
int32_t WrapColumn(const PyramidDescriptor* p, int32_t level, int32_t x);
int32_t WrapRow(const PyramidDescriptor* p, int32_t level, int32_t y);

// Kinds 3 (wrapped), 4, 7, 9 (clamped). Kind 7 leaves `a` untouched.
void get_pyramid_sample_pointColorcall(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level,
                                       int32_t* r, int32_t* g, int32_t* b, int32_t* a);
// Kind 3, wrapped: bytes 0 to 255.
void get_pyramid_sample_point4call(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level, int32_t* r,
                                   int32_t* g, int32_t* b, int32_t* a);
void get_pyramid_sample_point4(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level, int32_t* r,
                               int32_t* g, int32_t* b, int32_t* a);
// Kind 3, wrapped: the packed word, through `out`, which is also returned.
uint32_t* get_pyramid_sample_point4_raw(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level,
                                        uint32_t* out);
// Any kind of four bytes per pixel, clamped; 0 when unallocated.
int32_t get_pyramid_sample_point_grey32_as_long(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level);
// Kind 9, clamped.
void get_pyramid_sample_point128bit_HDRcomponent_call(int32_t x, int32_t y, const PyramidDescriptor* p,
                                                      int32_t level, float* r, float* g, float* b, float* a);
void get_pyramid_sample_point128bitcall(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level, float* r,
                                        float* g, float* b, float* a);
// Kind 4, clamped.
void get_pyramid_sample_point64bitcall(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level,
                                       int32_t* r, int32_t* g, int32_t* b, int32_t* a);

// Kinds 3, 4, 7, 9.
void set_pyramid_sample_pointColor(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, int32_t r,
                                   int32_t g, int32_t b, int32_t a);
// Kinds 3 and 4 without the coordinate test: the caller guarantees (x, y)
// lies in the level.
void set_pyramid_sample_point_unclampedColorcall(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level,
                                                 int32_t r, int32_t g, int32_t b, int32_t a);
void set_pyramid_sample_point4(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, int32_t r, int32_t g,
                               int32_t b, int32_t a);
void set_pyramid_sample_point64bit(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, int32_t r,
                                   int32_t g, int32_t b, int32_t a);
void set_pyramid_sample_point128bit_floats(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, float r,
                                           float g, float b, float a);
void set_pyramid_sample_point1(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, int32_t value);
// Kinds 3 and 4 scale by fromUnitScale and clamp into the stored range (a
// sinc overshoot of -0.01 stores 0, not a wrapped 254; NaN stores 0); kind 9
// stores the floats as they are.
void set_unitary_color(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, const float unitColour[4]);

uint8_t make8from32f(float f);
uint8_t make8from32f_for_little_previews(float f);
bool ShouldCopyTransparencyForPyramid(const Globals* globals);
