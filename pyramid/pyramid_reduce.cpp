#include "pyramid/pyramid_reduce.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_double_lanes.h"
#include "pyramid/pyramid_pixels.h"

namespace {

template <class T>
T Load(const uint8_t* at) {
  T v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

template <class T>
void Store(uint8_t* at, T v) {
  std::memcpy(at, &v, sizeof v);
}

int32_t Clamp(int32_t v, int32_t last) { return v < 0 ? 0 : (v > last ? last : v); }

// The sums of the integer kinds are never negative: every weight and value is
// at least 0.
int32_t RoundedMean(int32_t sum) { return (sum + kReductionWeightSum / 2) / kReductionWeightSum; }

int32_t ScaleToByte(int32_t sum) { return std::min(RoundedMean(sum), int32_t(255)); }

int32_t ScaleTo16(int32_t sum) { return std::clamp(RoundedMean(sum), int32_t(0), int32_t(32768)); }

// The float kinds sum in double, where the products by the whole weights
// and their sum are exact, and divide by the weights' sum: a flat area keeps
// its value at every level (a float sum times a rounded 1/1640 moved it by a
// float step or two).
float ScaleFloat(double sum) {
  const double v = sum / double(kReductionWeightSum);
  return v < 0.0 ? 0.0f : (v > 65535.0 ? 65535.0f : float(v));
}

// One pixel layout each: how a source pixel adds into the sums and how the
// sums become a destination pixel.
struct Byte1 {
  using Acc = int32_t;
  static constexpr int kChannels = 1, kBytes = 1;
  static void Add(const uint8_t* px, Acc w, Acc* s) { s[0] += w * px[0]; }
  static void Put(uint8_t* dst, const Acc* s) { dst[0] = uint8_t(ScaleToByte(s[0])); }
};

// Channel c is byte c of the word as it lies in memory: every channel is
// summed alone, so the order only has to agree between Add and Put.
struct Packed8 {
  using Acc = int32_t;
  static constexpr int kChannels = 4, kBytes = 4;
  static void Add(const uint8_t* px, Acc w, Acc* s) {
    for (int c = 0; c < 4; ++c) s[c] += w * int32_t(px[c]);
  }
  static void Put(uint8_t* dst, const Acc* s) {
    for (int c = 0; c < 4; ++c) dst[c] = uint8_t(ScaleToByte(s[c]));
  }
};

struct Grey16 {
  using Acc = int32_t;
  static constexpr int kChannels = 1, kBytes = 2;
  static void Add(const uint8_t* px, Acc w, Acc* s) { s[0] += w * int32_t(Load<uint16_t>(px)); }
  static void Put(uint8_t* dst, const Acc* s) { Store<uint16_t>(dst, uint16_t(ScaleTo16(s[0]))); }
};

struct Four16 {
  using Acc = int32_t;
  static constexpr int kChannels = 4, kBytes = 8;
  static void Add(const uint8_t* px, Acc w, Acc* s) {
    for (int c = 0; c < 4; ++c) s[c] += w * int32_t(Load<uint16_t>(px + 2 * c));
  }
  static void Put(uint8_t* dst, const Acc* s) {
    for (int c = 0; c < 4; ++c) Store<uint16_t>(dst + 2 * c, uint16_t(ScaleTo16(s[c])));
  }
};

struct GreyFloat {
  using Acc = double;
  static constexpr int kChannels = 1, kBytes = 4;
  static void Add(const uint8_t* px, Acc w, Acc* s) { s[0] += w * double(Load<float>(px)); }
  static void Put(uint8_t* dst, const Acc* s) { Store<float>(dst, ScaleFloat(s[0])); }
};

struct FourFloat {
  using Acc = double;
  static constexpr int kChannels = 4, kBytes = 16;
  static void Add(const uint8_t* px, Acc w, Acc* s) {
    for (int c = 0; c < 4; ++c) s[c] += w * double(Load<float>(px + 4 * c));
  }
  static void Put(uint8_t* dst, const Acc* s) {
    for (int c = 0; c < 4; ++c) Store<float>(dst + 4 * c, ScaleFloat(s[c]));
  }
};

// Six source rows around 2n: folded by the wrap mode (kind 3) or
// clamped (every other kind).
template <bool kWrap>
void SourceRows(const PyramidDescriptor* p, int32_t level, int32_t n, int32_t out[6]) {
  for (int j = 0; j < 6; ++j)
    out[j] = kWrap ? WrapRow(p, level, 2 * n - 2 + j) : Clamp(2 * n - 2 + j, p->levelClampY[level]);
}

// The weights are c_j * c_i / 16 for c = 1 16 64 64 16 1, except the four
// corners, where that would be 1/16 and the weight is 0. So 16 times a sum
// is the separable c x c sum less the four corner pixels: each source
// column's weighted column sum, shared by the two outputs that overlap it,
// then the row of them. The integer sums are exact, and so are the float
// kinds' double sums of values within 2^17 of each other (a flat area's
// above all), so the result is the tap-by-tap one's.
constexpr int32_t kSeparableTaps[6] = {1, 16, 64, 64, 16, 1};
constexpr int32_t kSeparableScale = 16;
// Output columns per pass: the column sums live on the stack.
constexpr int32_t kSeparableChunk = 64;

static_assert([] {
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) {
      const bool corner = (j == 0 || j == 5) && (i == 0 || i == 5);
      const int32_t full = kSeparableTaps[j] * kSeparableTaps[i];
      if (corner ? (full != 1 || kReductionWeights[j][i] != 0) : (full != kReductionWeights[j][i] * kSeparableScale))
        return false;
    }
  return true;
}());

template <class K>
using ColumnSumsOf = typename K::Acc[K::kChannels];

// The column sums of `count` source columns that lie side by side in one
// tile, from the six source rows' first pixels: the taps in the same order
// as for a single folded column.
template <class K>
void ColumnSumsScalar(const uint8_t* const rowAt[6], int32_t count, ColumnSumsOf<K>* v, ColumnSumsOf<K>* e) {
  constexpr int C = K::kChannels;
  for (int32_t k = 0; k < count; ++k) {
    const ptrdiff_t offset = ptrdiff_t(k) * K::kBytes;
    for (int c = 0; c < C; ++c) v[k][c] = e[k][c] = 0;
    for (int j = 0; j < 6; ++j) {
      K::Add(rowAt[j] + offset, kSeparableTaps[j], v[k]);
      if (j == 0 || j == 5) K::Add(rowAt[j] + offset, 1, e[k]);
    }
  }
}

// Output pixels m of a chunk from its column sums: column sum k = 2m is the
// leftmost of the six under output m.
template <class K>
void RowSumsScalar(const ColumnSumsOf<K>* v, const ColumnSumsOf<K>* e, int32_t count, uint8_t* dst) {
  using Acc = typename K::Acc;
  constexpr int C = K::kChannels;
  for (int32_t m = 0; m < count; ++m, dst += K::kBytes) {
    const int32_t k = 2 * m;
    Acc sum[C];
    for (int c = 0; c < C; ++c) {
      Acc full = 0;
      for (int i = 0; i < 6; ++i) full += kSeparableTaps[i] * v[k + i][c];
      sum[c] = (full - e[k][c] - e[k + 5][c]) / kSeparableScale;
    }
    K::Put(dst, sum);
  }
}

// What a kind without lanes of its own uses.
template <class K>
void ColumnSumsRun(const uint8_t* const rowAt[6], int32_t count, ColumnSumsOf<K>* v, ColumnSumsOf<K>* e) {
  ColumnSumsScalar<K>(rowAt, count, v, e);
}

template <class K>
void RowSumsRun(const ColumnSumsOf<K>* v, const ColumnSumsOf<K>* e, int32_t count, uint8_t* dst) {
  RowSumsScalar<K>(v, e, count, dst);
}

#if defined(__SSE2__)

// The integer kinds' taps are 1, 16 and 64, so every product is a shift and
// every sum exact: the same integers as the scalar loops, in lanes.
inline __m128i TapSum(__m128i p0, __m128i p1, __m128i p2, __m128i p3, __m128i p4, __m128i p5, bool wide) {
  const __m128i outer = wide ? _mm_add_epi32(p0, p5) : _mm_add_epi16(p0, p5);
  const __m128i mid = wide ? _mm_slli_epi32(_mm_add_epi32(p1, p4), 4) : _mm_slli_epi16(_mm_add_epi16(p1, p4), 4);
  const __m128i inner = wide ? _mm_slli_epi32(_mm_add_epi32(p2, p3), 6) : _mm_slli_epi16(_mm_add_epi16(p2, p3), 6);
  return wide ? _mm_add_epi32(_mm_add_epi32(outer, mid), inner) : _mm_add_epi16(_mm_add_epi16(outer, mid), inner);
}

// Columns first..count-1 of a run the lanes left over.
template <class K>
void ColumnSumsTail(const uint8_t* const rowAt[6], int32_t first, int32_t count, ColumnSumsOf<K>* v,
                    ColumnSumsOf<K>* e) {
  const ptrdiff_t offset = ptrdiff_t(first) * K::kBytes;
  const uint8_t* const rest[6] = {rowAt[0] + offset, rowAt[1] + offset, rowAt[2] + offset,
                                  rowAt[3] + offset, rowAt[4] + offset, rowAt[5] + offset};
  ColumnSumsScalar<K>(rest, count - first, v + first, e + first);
}

inline __m128i LoadBlock(const uint8_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
inline void StoreBlock(int32_t* at, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v); }

// The six rows' 16 bytes at `offset`, each widened to lanes twice as wide:
// bytes to 16 bits (kBytes) or 16 bits to 32.
template <bool kBytes>
inline void WidenRows(const uint8_t* const rowAt[6], ptrdiff_t offset, __m128i lo[6], __m128i hi[6]) {
  const __m128i zero = _mm_setzero_si128();
  for (int j = 0; j < 6; ++j) {
    const __m128i px = LoadBlock(rowAt[j] + offset);
    lo[j] = kBytes ? _mm_unpacklo_epi8(px, zero) : _mm_unpacklo_epi16(px, zero);
    hi[j] = kBytes ? _mm_unpackhi_epi8(px, zero) : _mm_unpackhi_epi16(px, zero);
  }
}

// Four columns a step. A column sum of bytes is at most 162 x 255 = 41310,
// so it is summed in unsigned 16-bit lanes and widened once.
template <>
void ColumnSumsRun<Packed8>(const uint8_t* const rowAt[6], int32_t count, ColumnSumsOf<Packed8>* v,
                            ColumnSumsOf<Packed8>* e) {
  const __m128i zero = _mm_setzero_si128();
  int32_t k = 0;
  for (; k + 4 <= count; k += 4) {
    __m128i lo[6], hi[6];
    WidenRows<true>(rowAt, ptrdiff_t(k) * 4, lo, hi);
    const __m128i sumLo = TapSum(lo[0], lo[1], lo[2], lo[3], lo[4], lo[5], false);
    const __m128i sumHi = TapSum(hi[0], hi[1], hi[2], hi[3], hi[4], hi[5], false);
    const __m128i edgeLo = _mm_add_epi16(lo[0], lo[5]), edgeHi = _mm_add_epi16(hi[0], hi[5]);
    StoreBlock(v[k], _mm_unpacklo_epi16(sumLo, zero));
    StoreBlock(v[k + 1], _mm_unpackhi_epi16(sumLo, zero));
    StoreBlock(v[k + 2], _mm_unpacklo_epi16(sumHi, zero));
    StoreBlock(v[k + 3], _mm_unpackhi_epi16(sumHi, zero));
    StoreBlock(e[k], _mm_unpacklo_epi16(edgeLo, zero));
    StoreBlock(e[k + 1], _mm_unpackhi_epi16(edgeLo, zero));
    StoreBlock(e[k + 2], _mm_unpacklo_epi16(edgeHi, zero));
    StoreBlock(e[k + 3], _mm_unpackhi_epi16(edgeHi, zero));
  }
  ColumnSumsTail<Packed8>(rowAt, k, count, v, e);
}

// Two columns a step, in 32-bit lanes: a 16-bit column sum needs 24 bits.
template <>
void ColumnSumsRun<Four16>(const uint8_t* const rowAt[6], int32_t count, ColumnSumsOf<Four16>* v,
                           ColumnSumsOf<Four16>* e) {
  int32_t k = 0;
  for (; k + 2 <= count; k += 2) {
    __m128i lo[6], hi[6];
    WidenRows<false>(rowAt, ptrdiff_t(k) * 8, lo, hi);
    StoreBlock(v[k], TapSum(lo[0], lo[1], lo[2], lo[3], lo[4], lo[5], true));
    StoreBlock(v[k + 1], TapSum(hi[0], hi[1], hi[2], hi[3], hi[4], hi[5], true));
    StoreBlock(e[k], _mm_add_epi32(lo[0], lo[5]));
    StoreBlock(e[k + 1], _mm_add_epi32(hi[0], hi[5]));
  }
  ColumnSumsTail<Four16>(rowAt, k, count, v, e);
}

// (t + 820) / 1640 for 0 <= t < 2^31 in each lane, as the compiler divides
// by the constant: the product by ceil(2^41 / 1640) shifted down by 41 is
// exact while t * 408 < 2^41. SSE2 multiplies the even lanes, so the odd
// ones take a second turn.
inline __m128i RoundedMean4(__m128i sum) {
  const __m128i t = _mm_add_epi32(sum, _mm_set1_epi32(kReductionWeightSum / 2));
  const __m128i magic = _mm_set1_epi32(int32_t(0x4FEC04FFu));
  const __m128i even = _mm_srli_epi64(_mm_mul_epu32(t, magic), 41);
  const __m128i odd = _mm_slli_epi64(_mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(t, 32), magic), 41), 32);
  return _mm_or_si128(even, odd);
}

static_assert(uint64_t(0x4FEC04FFu) * uint64_t(kReductionWeightSum) >= (uint64_t(1) << 41) &&
              (uint64_t(0x4FEC04FFu) - 1) * uint64_t(kReductionWeightSum) < (uint64_t(1) << 41) &&
              (uint64_t(0x4FEC04FFu) * uint64_t(kReductionWeightSum) - (uint64_t(1) << 41)) << 31 <
                  (uint64_t(1) << 41));

// The stored steps: bytes never pass 255 (a byte mean cannot), 16-bit
// channels stop at 32768.
template <class K>
void PutRounded(uint8_t* dst, __m128i mean);

template <>
inline void PutRounded<Packed8>(uint8_t* dst, __m128i mean) {
  const __m128i words = _mm_packs_epi32(mean, mean);
  const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
  std::memcpy(dst, &bytes, 4);
}

template <>
inline void PutRounded<Four16>(uint8_t* dst, __m128i mean) {
  const __m128i top = _mm_set1_epi32(32768);
  const __m128i over = _mm_cmpgt_epi32(mean, top);
  const __m128i clamped = _mm_or_si128(_mm_and_si128(over, top), _mm_andnot_si128(over, mean));
  // 0..32768 moved into the signed 16-bit range for the pack, and back.
  const __m128i packed = _mm_packs_epi32(_mm_sub_epi32(clamped, top), _mm_sub_epi32(clamped, top));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), _mm_xor_si128(packed, _mm_set1_epi16(int16_t(0x8000))));
}

// Four channels of 32-bit sums: a full row sum stays below 162 x 162 x 65535
// < 2^31, and less the corners it is a multiple of 16, so the shift is the
// division.
template <class K>
void RowSumsRun4(const ColumnSumsOf<K>* v, const ColumnSumsOf<K>* e, int32_t count, uint8_t* dst) {
  for (int32_t m = 0; m < count; ++m, dst += K::kBytes) {
    const int32_t k = 2 * m;
    __m128i c[6];
    for (int i = 0; i < 6; ++i) c[i] = LoadBlock(reinterpret_cast<const uint8_t*>(v[k + i]));
    const __m128i full = TapSum(c[0], c[1], c[2], c[3], c[4], c[5], true);
    const __m128i corners = _mm_add_epi32(LoadBlock(reinterpret_cast<const uint8_t*>(e[k])),
                                          LoadBlock(reinterpret_cast<const uint8_t*>(e[k + 5])));
    PutRounded<K>(dst, RoundedMean4(_mm_srli_epi32(_mm_sub_epi32(full, corners), 4)));
  }
}

template <>
void RowSumsRun<Packed8>(const ColumnSumsOf<Packed8>* v, const ColumnSumsOf<Packed8>* e, int32_t count,
                         uint8_t* dst) {
  RowSumsRun4<Packed8>(v, e, count, dst);
}

template <>
void RowSumsRun<Four16>(const ColumnSumsOf<Four16>* v, const ColumnSumsOf<Four16>* e, int32_t count,
                        uint8_t* dst) {
  RowSumsRun4<Four16>(v, e, count, dst);
}

// The float kinds keep the scalar loops' order of operations lane by lane.
template <>
void ColumnSumsRun<FourFloat>(const uint8_t* const rowAt[6], int32_t count, ColumnSumsOf<FourFloat>* v,
                              ColumnSumsOf<FourFloat>* e) {
  for (int32_t k = 0; k < count; ++k) {
    const ptrdiff_t offset = ptrdiff_t(k) * FourFloat::kBytes;
    DoublePair sum = ZeroPair(), edge = sum;
    for (int j = 0; j < 6; ++j) {
      const DoublePair px = WidenFloats(rowAt[j] + offset);
      AddWeighted(&sum, double(kSeparableTaps[j]), px);
      if (j == 0 || j == 5) AddWeighted(&edge, 1.0, px);
    }
    StorePair(v[k], sum);
    StorePair(e[k], edge);
  }
}

// ScaleFloat lane by lane: below 0 gives 0, above 65535 gives 65535, and
// anything else (NaN too) converts as it is.
inline __m128 ScaleFloat2(__m128d sum) {
  const __m128d v = _mm_div_pd(sum, _mm_set1_pd(double(kReductionWeightSum)));
  const __m128d top = _mm_set1_pd(65535.0);
  const __m128d low = _mm_andnot_pd(_mm_cmplt_pd(v, _mm_setzero_pd()), v);
  const __m128d over = _mm_cmpgt_pd(low, top);
  return _mm_cvtpd_ps(_mm_or_pd(_mm_and_pd(over, top), _mm_andnot_pd(over, low)));
}

template <>
void RowSumsRun<FourFloat>(const ColumnSumsOf<FourFloat>* v, const ColumnSumsOf<FourFloat>* e, int32_t count,
                           uint8_t* dst) {
  const __m128d scale = _mm_set1_pd(double(kSeparableScale));
  for (int32_t m = 0; m < count; ++m, dst += FourFloat::kBytes) {
    const int32_t k = 2 * m;
    DoublePair full = ZeroPair();
    for (int i = 0; i < 6; ++i) AddWeighted(&full, double(kSeparableTaps[i]), LoadPair(v[k + i]));
    const DoublePair first = LoadPair(e[k]), last = LoadPair(e[k + 5]);
    const __m128d lo = _mm_div_pd(_mm_sub_pd(_mm_sub_pd(full.lo, first.lo), last.lo), scale);
    const __m128d hi = _mm_div_pd(_mm_sub_pd(_mm_sub_pd(full.hi, first.hi), last.hi), scale);
    _mm_storeu_ps(reinterpret_cast<float*>(dst), _mm_movelh_ps(ScaleFloat2(lo), ScaleFloat2(hi)));
  }
}

#endif

// The strip, output row by output row, in chunks of output columns. Source
// columns that need no folding and lie in one tile are summed as a run from
// six row pointers; the rest, at the edges and across the wrap, one by one
// through the folding rule. The sums are the same either way.
template <class K, bool kWrap>
void ReduceStripSeparable(const PyramidDescriptor* p, int32_t level, const Rect& strip) {
  constexpr int32_t kColumns = 2 * kSeparableChunk + 4;
  ColumnSumsOf<K> columnSum[kColumns];
  ColumnSumsOf<K> edgeSum[kColumns];  // the top and bottom source pixels, for the corners
  const int32_t lastX = p->levelClampX[level];
  for (int32_t Y = strip.top; Y < strip.bottom; ++Y) {
    int32_t rows[6];
    SourceRows<kWrap>(p, level, Y, rows);
    for (int32_t X0 = strip.left; X0 < strip.right; X0 += kSeparableChunk) {
      const int32_t n = std::min<int32_t>(kSeparableChunk, strip.right - X0);
      const int32_t first = 2 * X0 - 2, count = 2 * n + 4;
      for (int32_t k = 0; k < count;) {
        const int32_t logical = first + k;
        if (logical >= 0 && logical <= lastX) {
          const int32_t runEnd = std::min({logical | kPyramidTileMask, lastX, first + count - 1}) + 1;
          const uint8_t* rowAt[6];
          for (int j = 0; j < 6; ++j) rowAt[j] = PyramidPixelAddress(p, level, logical, rows[j]);
          ColumnSumsRun<K>(rowAt, runEnd - logical, columnSum + k, edgeSum + k);
          k += runEnd - logical;
          continue;
        }
        const int32_t x = kWrap ? WrapColumn(p, level, logical) : Clamp(logical, lastX);
        const uint8_t* rowAt[6];
        for (int j = 0; j < 6; ++j) rowAt[j] = PyramidPixelAddress(p, level, x, rows[j]);
        ColumnSumsScalar<K>(rowAt, 1, columnSum + k, edgeSum + k);
        ++k;
      }
      for (int32_t m = 0; m < n;) {
        const int32_t X = X0 + m;
        const int32_t runEnd = std::min((X | kPyramidTileMask) + 1, X0 + n);
        RowSumsRun<K>(columnSum + 2 * m, edgeSum + 2 * m, runEnd - X, PyramidPixelAddress(p, level + 1, X, Y));
        m += runEnd - X;
      }
    }
  }
}

// Three signed channels: a 2 x 2 box, the first two channels as twice the
// mean, the third as the mean.
void ReduceStripBox(const PyramidDescriptor* p, int32_t level, const Rect& strip) {
  const int32_t lastX = p->levelClampX[level], lastY = p->levelClampY[level];
  for (int32_t Y = strip.top; Y < strip.bottom; ++Y) {
    for (int32_t X = strip.left; X < strip.right; ++X) {
      int32_t sum[3] = {0, 0, 0};
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
          const uint8_t* px = PyramidPixelAddress(p, level, Clamp(2 * X + dx, lastX), Clamp(2 * Y + dy, lastY));
          for (int c = 0; c < 3; ++c) sum[c] += Load<int16_t>(px + 2 * c);
        }
      const int32_t out[3] = {sum[0] / 2, sum[1] / 2, sum[2] / 4};
      uint8_t* dst = PyramidPixelAddress(p, level + 1, X, Y);
      for (int c = 0; c < 3; ++c) Store<int16_t>(dst + 2 * c, int16_t(std::clamp(out[c], -32767, 32767)));
    }
  }
}

}  // namespace

bool ClipReductionStrip(const PyramidDescriptor* p, int32_t level, Rect* strip) {
  if (!p || !p->tileTable || !strip || level < 0 || level + 1 > p->topLevel) return false;
  strip->top = std::max<int16_t>(strip->top, 0);
  strip->left = std::max<int16_t>(strip->left, 0);
  strip->bottom = int16_t(std::min<int32_t>(strip->bottom, p->levelHeight[level + 1]));
  strip->right = int16_t(std::min<int32_t>(strip->right, p->levelWidth[level + 1]));
  return strip->top < strip->bottom && strip->left < strip->right;
}

void UpdateNextSmallerLevel_core(PyramidDescriptor* p, int32_t level, Rect* strip) {
  if (!ClipReductionStrip(p, level, strip)) return;
  const Rect s = *strip;
  if (p->bytesPerPixel == 1) return ReduceStripSeparable<Byte1, false>(p, level, s);
  switch (p->dataKind) {
    case PyramidDataKind_Grey16: return ReduceStripSeparable<Grey16, false>(p, level, s);
    case PyramidDataKind_Packed8: return ReduceStripSeparable<Packed8, true>(p, level, s);
    case PyramidDataKind_Four16: return ReduceStripSeparable<Four16, false>(p, level, s);
    case PyramidDataKind_FourFloat: return ReduceStripSeparable<FourFloat, false>(p, level, s);
    case PyramidDataKind_GreyFloat: return ReduceStripSeparable<GreyFloat, false>(p, level, s);
    case PyramidDataKind_ThreeSigned16: return ReduceStripBox(p, level, s);
    default: return;  // kind 2 has no reduction
  }
}
