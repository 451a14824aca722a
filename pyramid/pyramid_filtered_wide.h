// The sums of the 8-bit and float filtered reads in 256-bit lanes, for
// processors that have them. The plug-in runs on any x86-64: the wide sums
// are compiled for that instruction set alone and chosen at run time.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// True where this build has the wide sums and the processor runs them.
bool FilteredWideSumsAvailable();

#if defined(__SSE2__)
// The weighted sum of a 5 x 5 window of packed 8-bit pixels (first pixel at
// `base`, rows `rowBytes` apart): wx weighs the columns, wy the rows; red,
// green, blue and alpha at the weights' scale squared, in one register as
// the 128-bit sums give them. The sum is exact, so it equals the 128-bit
// one bit for bit. Call only where FilteredWideSumsAvailable() answers true.
__m128i Sum8PackedWide(const uint8_t* base, ptrdiff_t rowBytes, const int32_t wx[5], const int32_t wy[5]);

// The float read's sum of a 5 x 5 window of four-float pixels: each pixel
// widened to double, weighed by wx along a row and the rows by wy, every
// channel in the order of the scalar loops (from zero, one weight times
// value added after another), so every double is the scalar one. The
// four channel totals go to acc. Call only where
// FilteredWideSumsAvailable() answers true.
void Sum128Wide(const uint8_t* base, ptrdiff_t rowBytes, const double wx[5], const double wy[5], double acc[4]);
#endif
