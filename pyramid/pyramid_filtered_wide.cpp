#include "pyramid/pyramid_filtered_wide.h"

#include <cstring>

#include "platform/processor.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define GYRELLE_WIDE_SUMS 1
#include <immintrin.h>
#endif

#if defined(GYRELLE_WIDE_SUMS)

// Integer work only: no float is computed under this attribute, so the
// wider instruction set cannot change a rounding.
#define GYRELLE_AVX2 __attribute__((target("avx2")))

namespace {

int32_t Load32(const uint8_t* at) {
  int32_t v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

// Two 16-bit weights side by side in every 32-bit lane, for the pairwise
// multiply-add: the first row's weight in the low half.
int32_t WeightPair(int32_t first, int32_t second) {
  return int32_t((uint32_t(second) << 16) | (uint32_t(first) & 0xFFFFu));
}

// Columns 0 to 3 of two rows: their bytes interleaved, then widened to 16
// bits, so that one multiply-add gives two columns' four channel sums
// (columns 0 and 1 in `c01`, 2 and 3 in `c23`, one per 128-bit half).
GYRELLE_AVX2 inline void AddRowPair(const uint8_t* first, const uint8_t* second, __m256i weights, __m256i* c01,
                                    __m256i* c23) {
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second));
  *c01 = _mm256_add_epi32(*c01, _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpacklo_epi8(a, b)), weights));
  *c23 = _mm256_add_epi32(*c23, _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpackhi_epi8(a, b)), weights));
}

// Column 4 of two rows, interleaved as above: eight bytes.
GYRELLE_AVX2 inline __m128i LastColumnPair(const uint8_t* first, const uint8_t* second) {
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(Load32(first + 16)), _mm_cvtsi32_si128(Load32(second + 16)));
}

}  // namespace

bool FilteredWideSumsAvailable() { return ProcessorHasAvx2(); }

// Rows 0 and 1 and rows 2 and 3 go through the multiply-adds at once, one
// pair in each 128-bit half; row 4 pairs with itself, the second weight
// zero. Column sums stay below 2^20 and the total below 2^31, and integer
// sums do not depend on their order.
GYRELLE_AVX2 __m128i Sum8PackedWide(const uint8_t* base, ptrdiff_t rowBytes, const int32_t wx[5],
                                    const int32_t wy[5]) {
  const uint8_t* r0 = base;
  const uint8_t* r1 = base + rowBytes;
  const uint8_t* r2 = base + 2 * rowBytes;
  const uint8_t* r3 = base + 3 * rowBytes;
  const uint8_t* r4 = base + 4 * rowBytes;
  const int32_t w01 = WeightPair(wy[0], wy[1]), w23 = WeightPair(wy[2], wy[3]);
  __m256i c01 = _mm256_setzero_si256(), c23 = _mm256_setzero_si256();
  AddRowPair(r0, r1, _mm256_set1_epi32(w01), &c01, &c23);
  AddRowPair(r2, r3, _mm256_set1_epi32(w23), &c01, &c23);
  const __m128i last = _mm_unpacklo_epi64(LastColumnPair(r0, r1), LastColumnPair(r2, r3));
  const __m256i c44 = _mm256_madd_epi16(_mm256_cvtepu8_epi16(last),
                                        _mm256_setr_epi32(w01, w01, w01, w01, w23, w23, w23, w23));
  __m128i c4 = _mm_add_epi32(_mm256_castsi256_si128(c44), _mm256_extracti128_si256(c44, 1));
  // Some phases give the last row no weight at all.
  if (wy[4] != 0) {
    AddRowPair(r4, r4, _mm256_set1_epi32(WeightPair(wy[4], 0)), &c01, &c23);
    c4 = _mm_add_epi32(c4, _mm_mullo_epi32(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(Load32(r4 + 16))), _mm_set1_epi32(wy[4])));
  }
  const __m256i weighed =
      _mm256_add_epi32(_mm256_mullo_epi32(c01, _mm256_setr_epi32(wx[0], wx[0], wx[0], wx[0], wx[1], wx[1], wx[1], wx[1])),
                       _mm256_mullo_epi32(c23, _mm256_setr_epi32(wx[2], wx[2], wx[2], wx[2], wx[3], wx[3], wx[3], wx[3])));
  const __m128i total = _mm_add_epi32(_mm_add_epi32(_mm256_castsi256_si128(weighed), _mm256_extracti128_si256(weighed, 1)),
                                      _mm_mullo_epi32(c4, _mm_set1_epi32(wx[4])));
  // Lanes hold the bytes in memory order: alpha, blue, green, red.
  return _mm_shuffle_epi32(total, _MM_SHUFFLE(0, 1, 2, 3));
}

// Four doubles to a register: one pixel's channels side by side. AVX's
// double multiply and add round as the scalar ones do, lane by lane; the
// attribute enables no fused multiply-add, and none is contracted.
__attribute__((target("avx"))) void Sum128Wide(const uint8_t* base, ptrdiff_t rowBytes, const double wx[5],
                                                 const double wy[5], double acc[4]) {
  __m256d total = _mm256_setzero_pd();
  for (int j = 0; j < 5; ++j) {
    const float* row = reinterpret_cast<const float*>(base + j * rowBytes);
    __m256d s = _mm256_setzero_pd();
    for (int i = 0; i < 5; ++i)
      s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_set1_pd(wx[i]), _mm256_cvtps_pd(_mm_loadu_ps(row + 4 * i))));
    total = _mm256_add_pd(total, _mm256_mul_pd(_mm256_set1_pd(wy[j]), s));
  }
  _mm256_storeu_pd(acc, total);
}

#else

bool FilteredWideSumsAvailable() { return false; }

#if defined(__SSE2__)
__m128i Sum8PackedWide(const uint8_t*, ptrdiff_t, const int32_t*, const int32_t*) { return _mm_setzero_si128(); }
void Sum128Wide(const uint8_t*, ptrdiff_t, const double*, const double*, double acc[4]) {
  for (int c = 0; c < 4; ++c) acc[c] = 0.0;
}
#endif

#endif
