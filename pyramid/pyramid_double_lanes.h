// Four float channels summed in double, two channels to a register. Each
// lane multiplies and adds in the order of the scalar loops it stands for
// (start from zero, add weight times value, one term after another), so
// every double is the scalar one.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>

#include <cstdint>

struct DoublePair {
  __m128d lo, hi;
};

inline DoublePair ZeroPair() { return {_mm_setzero_pd(), _mm_setzero_pd()}; }

// A pixel's four floats at `at`, widened to double.
inline DoublePair WidenFloats(const uint8_t* at) {
  const __m128 px = _mm_loadu_ps(reinterpret_cast<const float*>(at));
  return {_mm_cvtps_pd(px), _mm_cvtps_pd(_mm_movehl_ps(px, px))};
}

inline void AddWeighted(DoublePair* sum, double weight, const DoublePair& value) {
  const __m128d w = _mm_set1_pd(weight);
  sum->lo = _mm_add_pd(sum->lo, _mm_mul_pd(w, value.lo));
  sum->hi = _mm_add_pd(sum->hi, _mm_mul_pd(w, value.hi));
}

inline DoublePair LoadPair(const double* at) { return {_mm_loadu_pd(at), _mm_loadu_pd(at + 2)}; }

inline void StorePair(double* at, const DoublePair& v) {
  _mm_storeu_pd(at, v.lo);
  _mm_storeu_pd(at + 2, v.hi);
}

#endif
