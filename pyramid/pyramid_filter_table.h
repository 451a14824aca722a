// The resampling filter table: five-tap weights of the filtered reads for
// 128 phases between two pixel centres, precomputed once per pass so that
// the per-sample code only indexes and multiplies.
//
// 2,560 words = 20 arrays of 128 phases. Arrays 0-4 hold the taps as floats,
// 5-9 as integers scaled by 2048, 10-14 as integers scaled by 32768, 15-19 a
// second float copy. The integer arrays share the float words (their bit
// patterns), so read them only through FilterTableInts.
#pragma once

#include <cstdint>
#include <cstring>

constexpr int32_t kFilterPhases = 128;
constexpr int32_t kFilterTaps = 5;
constexpr int32_t kFilterTableArrays = 20;
constexpr int32_t kFilterTableSize = kFilterPhases * kFilterTableArrays;  // 2560 words

// First array of each number form; tap k of phase p is at
// (first + k) * kFilterPhases + p.
constexpr int32_t kFilterFloatArrays = 0;
constexpr int32_t kFilter2048Arrays = 5;
constexpr int32_t kFilter32768Arrays = 10;
constexpr int32_t kFilterFloatCopyArrays = 15;

enum FilterKernel : int32_t {
  FilterKernel_WindowedSinc = 0,
  FilterKernel_Gaussian = 1,
};

void initGaussianPyrTable_sinc(float* table);
void initGaussianPyrTable_gauss(float* table);
// The windowed sinc, the kernel of every pass unless the settings ask for
// the Gaussian.
void initGaussianPyrTable(float* table);
// Kernel 0 fills the windowed sinc, 1 the Gaussian; any other value leaves
// the table as it was.
void initGaussianPyrTable_switchable(float* table, int32_t kernel);

// A windowed-sinc table built once per process, for pyramids that were
// never given the pass's table (small working pyramids, tests).
const float* DefaultFilterTable();

inline float FilterTableFloat(const float* table, int32_t array, int32_t phase) {
  return table[array * kFilterPhases + phase];
}
inline int32_t FilterTableInt(const float* table, int32_t array, int32_t phase) {
  int32_t v;
  std::memcpy(&v, table + array * kFilterPhases + phase, sizeof v);
  return v;
}
