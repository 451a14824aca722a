#include "pyramid/pyramid_filtered.h"

#include <atomic>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_double_lanes.h"
#include "pyramid/pyramid_filter_table.h"
#include "pyramid/pyramid_filtered_wide.h"
#include "pyramid/pyramid_pixels.h"

namespace {

constexpr int kWindow = 5;
// A window whose first pixel lies below this offset in its tile ends in the
// same tile: 508 + 4 = 511.
constexpr int32_t kFastReach = kPyramidTileSize - (kWindow - 1);
constexpr float kScale2048Squared = 2.3841858e-7f;  // 2^-22
constexpr float kScale32768 = 3.0517578e-5f;        // 2^-15

// Where a sample falls along one axis: the centre pixel of its window and
// the phase (0 to 127) that selects the weights.
struct Axis {
  int32_t centre;
  int32_t phase;
};

// False for NaN. Beyond a pixel outside the level every position reads the
// same edge pixels, so the coordinate is bounded first: that keeps the
// integer conversion defined for any float, infinities included. A point
// left of -0.5 would give a negative phase; it reads with phase 0.
inline bool SplitAxis(float x, int32_t last, Axis* axis) {
  if (x != x) return false;
  const float lo = -1.0f, hi = float(last) + 2.0f;
  x = x < lo ? lo : (x > hi ? hi : x);
  const float shifted = x + 0.5f;
  axis->centre = int32_t(shifted);
  const int32_t phase = int32_t((shifted - float(axis->centre)) * 128.0f);
  axis->phase = phase < 0 ? 0 : (phase > kFilterPhases - 1 ? kFilterPhases - 1 : phase);
  return true;
}

int32_t Clamp(int32_t v, int32_t last) { return v < 0 ? 0 : (v > last ? last : v); }

// The five columns (or rows) of a window. Near the edge of an axis that
// wraps, the neighbours continue on the far side of the level.
void Neighbours(int32_t centre, int32_t size, int32_t last, bool wrapped, int32_t out[kWindow]) {
  if (wrapped) {
    const int32_t c = centre % size;
    for (int i = 0; i < kWindow; ++i) {
      int32_t n = c - 2 + i;
      if (n < 0)
        n += size;
      else if (n > last)
        n -= size;
      out[i] = n;
    }
  } else {
    for (int i = 0; i < kWindow; ++i) out[i] = centre - 2 + i;
  }
}

template <class T>
T Load(const uint8_t* at) {
  T v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

// The pixels of the window: straight from the tile when the window lies
// inside one tile and two pixels from the level's edges, else gathered one
// by one (wrapped or clamped) into `scratch`. Returns the first pixel and
// sets the distance between rows in bytes.
template <int32_t kBytes, bool kPackedReader>
const uint8_t* Window(const PyramidDescriptor* p, int32_t level, const Axis& ax, const Axis& ay, uint8_t* scratch,
                      ptrdiff_t* rowBytes) {
  const int32_t lastX = p->levelClampX[level], lastY = p->levelClampY[level];
  const bool nearEdge = !(ax.centre >= 2 && ax.centre <= lastX - 2 && ay.centre >= 2 && ay.centre <= lastY - 2);
  const int32_t x0 = ax.centre - 2, y0 = ay.centre - 2;
  if (!nearEdge && (x0 & kPyramidTileMask) < kFastReach && (y0 & kPyramidTileMask) < kFastReach) {
    *rowBytes = ptrdiff_t(PyramidTileOf(p, level, x0, y0).width) * kBytes;
    return PyramidPixelAddress(p, level, x0, y0);
  }
  int32_t cols[kWindow], rows[kWindow];
  const bool edgeWrap = nearEdge && p->wrapMode != 0;
  Neighbours(ax.centre, p->levelWidth[level], lastX, edgeWrap, cols);
  Neighbours(ay.centre, p->levelHeight[level], lastY, edgeWrap && p->wrapMode == 1, rows);
  // The packed reader folds by the wrap mode once more; the others clamp.
  // A column's fold does not depend on the row, nor a row's on the column.
  // Either rule leaves a column or row inside the level as it is.
  const int32_t width = p->levelWidth[level], height = p->levelHeight[level];
  for (int i = 0; i < kWindow; ++i) {
    const bool colInside = cols[i] >= 0 && cols[i] <= lastX && cols[i] < width;
    const bool rowInside = rows[i] >= 0 && rows[i] <= lastY && rows[i] < height;
    if (!colInside) cols[i] = kPackedReader ? WrapColumn(p, level, cols[i]) : Clamp(cols[i], lastX);
    if (!rowInside) rows[i] = kPackedReader ? WrapRow(p, level, rows[i]) : Clamp(rows[i], lastY);
  }
  // PyramidPixelAddress split into its column and row parts, each worked
  // out once for the window.
  const PyramidTile* rowTiles[kWindow];
  ptrdiff_t colTile[kWindow], colOffset[kWindow], rowOffset[kWindow];
  for (int i = 0; i < kWindow; ++i) {
    colTile[i] = cols[i] >> kPyramidTileShift;
    colOffset[i] = cols[i] & kPyramidTileMask;
    rowTiles[i] = p->tileTable + p->levelFirstTile[level] + (rows[i] >> kPyramidTileShift) * p->levelTilesPerRow[level];
    rowOffset[i] = rows[i] & kPyramidTileMask;
  }
  const ptrdiff_t pixelBytes = p->bytesPerPixel;
  // Five columns side by side in one tile (only the rows cross a tile's
  // edge, or wrap) lie side by side in memory: one copy a row.
  const bool oneRun = cols[kWindow - 1] == cols[0] + kWindow - 1 && colTile[0] == colTile[kWindow - 1] &&
                      pixelBytes == kBytes;
  for (int j = 0; j < kWindow; ++j) {
    uint8_t* to = scratch + j * kWindow * kBytes;
    if (oneRun) {
      const PyramidTile& t = rowTiles[j][colTile[0]];
      std::memcpy(to, static_cast<const uint8_t*>(t.pixels) + (colOffset[0] + rowOffset[j] * t.width) * pixelBytes,
                  kWindow * kBytes);
      continue;
    }
    for (int i = 0; i < kWindow; ++i) {
      const PyramidTile& t = rowTiles[j][colTile[i]];
      std::memcpy(to + i * kBytes,
                  static_cast<const uint8_t*>(t.pixels) + (colOffset[i] + rowOffset[j] * t.width) * pixelBytes, kBytes);
    }
  }
  *rowBytes = ptrdiff_t(kWindow) * kBytes;
  return scratch;
}

// Integer weights of the five columns cx - 2 ... cx + 2 at one phase: the
// pixel at offset j from the centre takes tap 2 - j.
inline void IntWeights(const float* table, int32_t firstArray, int32_t phase, int32_t w[kWindow]) {
  const float* at = table + phase;
  w[0] = FilterTableInt(at, firstArray + 4, 0);
  w[1] = FilterTableInt(at, firstArray + 3, 0);
  w[2] = FilterTableInt(at, firstArray + 2, 0);
  w[3] = FilterTableInt(at, firstArray + 1, 0);
  w[4] = FilterTableInt(at, firstArray, 0);
}

// The float member weighs in double, with the tap that stands for the
// others' remainder taken as 1 minus their sum in double: its five weights
// then sum to exactly 1, so a flat area reads back its value to the float
// step and an opaque area stays exactly opaque (the float weights summed
// to a step off 1, and an alpha just below 1 let the backdrop through).
void DoubleWeights(const float* table, int32_t phase, double w[kWindow]) {
  double others = 0.0;
  for (int i = 1; i < kWindow; ++i) {
    w[i] = double(FilterTableFloat(table, kFilterFloatCopyArrays + (kWindow - 1 - i), phase));
    others += w[i];
  }
  w[0] = 1.0 - others;
}

const float* TableOf(const PyramidDescriptor* p) { return p->filterTable ? p->filterTable : DefaultFilterTable(); }

constexpr float kScale2048Squared4[4] = {kScale2048Squared, kScale2048Squared, kScale2048Squared, kScale2048Squared};

// Shared set-up of every member: false when the pyramid is not of `kind`,
// lacks the level or the point is NaN.
inline bool Locate(const PyramidDescriptor* p, int32_t level, int32_t kind, float x, float y, Axis* ax, Axis* ay) {
  return PyramidHasLevel(p, level) && p->dataKind == kind && SplitAxis(x, p->levelClampX[level], ax) &&
         SplitAxis(y, p->levelClampY[level], ay);
}

// Packed 8-bit words, red in the top byte. Row sums are at most about
// 2048 × 255 × 1.1 and the weighted total stays below 2^31.
#if defined(__SSE2__)

// Two 16-bit weights side by side in every 32-bit lane, for the pairwise
// multiply-add.
inline __m128i WeightPair(int32_t first, int32_t second) {
  return _mm_set1_epi32(int32_t((uint32_t(second) << 16) | (uint32_t(first) & 0xFFFFu)));
}

// Two rows weighed at once, column by column: their bytes interleaved and
// widened to 16 bits (a0 a1 b0 b1 g0 g1 r0 r1 of one pixel of each row), so
// one multiply-add gives a pixel's four weighted column sums. A zero weight
// pair adds nothing.
inline void AddRowPair(const uint8_t* first, const uint8_t* second, __m128i weights, __m128i columns[kWindow]) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second));
  const __m128i lo = _mm_unpacklo_epi8(a, b), hi = _mm_unpackhi_epi8(a, b);
  const __m128i last =
      _mm_unpacklo_epi8(_mm_cvtsi32_si128(Load<int32_t>(first + 16)), _mm_cvtsi32_si128(Load<int32_t>(second + 16)));
  columns[0] = _mm_add_epi32(columns[0], _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), weights));
  columns[1] = _mm_add_epi32(columns[1], _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), weights));
  columns[2] = _mm_add_epi32(columns[2], _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), weights));
  columns[3] = _mm_add_epi32(columns[3], _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), weights));
  columns[4] = _mm_add_epi32(columns[4], _mm_madd_epi16(_mm_unpacklo_epi8(last, zero), weights));
}

inline void WeighColumn(__m128i column, int32_t weight, __m128i* even, __m128i* odd) {
  const __m128i w = _mm_set1_epi32(weight);
  *even = _mm_add_epi64(*even, _mm_mul_epu32(column, w));
  *odd = _mm_add_epi64(*odd, _mm_mul_epu32(_mm_srli_epi64(column, 32), w));
}

// The window's columns first, then the column weights: the same integer
// sum as row by row (integer sums do not depend on their order), in fewer
// steps. Column sums stay below 2^20 and the total below 2^31. The column
// weights multiply in 64-bit lanes (channels 0 and 2, then 1 and 3) whose
// low 32 bits are the 32-bit products and sums. Answers the sums in r, g,
// b, a order.
inline __m128i Sum8Packed(const uint8_t* base, ptrdiff_t rowBytes, const int32_t wx[kWindow],
                          const int32_t wy[kWindow]) {
  __m128i columns[kWindow];
  for (__m128i& col : columns) col = _mm_setzero_si128();
  AddRowPair(base, base + rowBytes, WeightPair(wy[0], wy[1]), columns);
  AddRowPair(base + 2 * rowBytes, base + 3 * rowBytes, WeightPair(wy[2], wy[3]), columns);
  // The last row pairs with itself, the second weight zero; some phases
  // give it no weight at all.
  if (wy[4] != 0) AddRowPair(base + 4 * rowBytes, base + 4 * rowBytes, WeightPair(wy[4], 0), columns);
  __m128i even = _mm_setzero_si128(), odd = _mm_setzero_si128();
  WeighColumn(columns[0], wx[0], &even, &odd);
  WeighColumn(columns[1], wx[1], &even, &odd);
  WeighColumn(columns[2], wx[2], &even, &odd);
  WeighColumn(columns[3], wx[3], &even, &odd);
  WeighColumn(columns[4], wx[4], &even, &odd);
  // Lanes hold the bytes in memory order: alpha, blue, green, red; the even
  // lanes alpha and green, the odd ones blue and red.
  const __m128i abgr = _mm_unpacklo_epi64(_mm_unpacklo_epi32(even, odd), _mm_unpackhi_epi32(even, odd));
  return _mm_shuffle_epi32(abgr, _MM_SHUFFLE(0, 1, 2, 3));
}

// The sums brought to the stored scale, converted and scaled four at once
// as the scalar steps would round them. The wide sums, where the processor
// has them, give the same integers.
inline void Sum8PackedScaled(const uint8_t* base, ptrdiff_t rowBytes, const int32_t wx[kWindow],
                             const int32_t wy[kWindow], bool wide, float c[4]) {
  const __m128i sum = wide ? Sum8PackedWide(base, rowBytes, wx, wy) : Sum8Packed(base, rowBytes, wx, wy);
  _mm_storeu_ps(c, _mm_mul_ps(_mm_cvtepi32_ps(sum), _mm_loadu_ps(kScale2048Squared4)));
}

#else

void Sum8Packed(const uint8_t* base, ptrdiff_t rowBytes, const int32_t wx[kWindow], const int32_t wy[kWindow],
                int32_t out[4]) {
  int32_t acc[4] = {0, 0, 0, 0};
  for (int j = 0; j < kWindow; ++j) {
    const uint8_t* row = base + j * rowBytes;
    int32_t s[4] = {0, 0, 0, 0};
    for (int i = 0; i < kWindow; ++i) {
      const uint32_t w = Load<uint32_t>(row + 4 * i);
      const int32_t k = wx[i];
      s[0] += k * int32_t(w >> 24);
      s[1] += k * int32_t((w >> 16) & 255u);
      s[2] += k * int32_t((w >> 8) & 255u);
      s[3] += k * int32_t(w & 255u);
    }
    for (int c = 0; c < 4; ++c) acc[c] += wy[j] * s[c];
  }
  for (int c = 0; c < 4; ++c) out[c] = acc[c];
}

inline void Sum8PackedScaled(const uint8_t* base, ptrdiff_t rowBytes, const int32_t wx[kWindow],
                             const int32_t wy[kWindow], bool /*wide: none here*/, float c[4]) {
  int32_t sum[4];
  Sum8Packed(base, rowBytes, wx, wy, sum);
  for (int i = 0; i < 4; ++i) c[i] = float(sum[i]) * kScale2048Squared4[i];
}

#endif

// 16-bit values with ×32768 weights: each row sum is brought back to the
// value scale (truncating toward zero) before the row weight, so that every
// intermediate fits 32 bits.
template <int kChannels>
void Sum16(const uint8_t* base, ptrdiff_t rowBytes, const int32_t wx[kWindow], const int32_t wy[kWindow],
           int32_t out[kChannels]) {
  int32_t acc[kChannels] = {};
  for (int j = 0; j < kWindow; ++j) {
    if (wy[j] == 0) continue;
    const uint8_t* row = base + j * rowBytes;
    int32_t s[kChannels] = {};
    for (int i = 0; i < kWindow; ++i)
      for (int c = 0; c < kChannels; ++c) s[c] += wx[i] * int32_t(Load<uint16_t>(row + (i * kChannels + c) * 2));
    for (int c = 0; c < kChannels; ++c) acc[c] += wy[j] * (s[c] / 32768);
  }
  for (int c = 0; c < kChannels; ++c) out[c] = acc[c];
}

}  // namespace

namespace {

// Chosen once at start-up; tests turn it off to compare the two sums.
std::atomic<bool> gWideSums{FilteredWideSumsAvailable()};

// Sample4's steps once the level is known to be there and of the kind.
inline void Sample4Located(const PyramidDescriptor* p, int32_t level, const float* table, bool wide, float x, float y,
                           float c[4]) {
  Axis ax, ay;
  if (!SplitAxis(x, p->levelClampX[level], &ax) || !SplitAxis(y, p->levelClampY[level], &ay)) {
    c[0] = c[1] = c[2] = c[3] = 0.0f;
    return;
  }
  int32_t wx[kWindow], wy[kWindow];
  IntWeights(table, kFilter2048Arrays, ax.phase, wx);
  IntWeights(table, kFilter2048Arrays, ay.phase, wy);
  alignas(16) uint8_t scratch[kWindow * kWindow * 4];
  ptrdiff_t rowBytes;
  const uint8_t* base = Window<4, true>(p, level, ax, ay, scratch, &rowBytes);
  Sum8PackedScaled(base, rowBytes, wx, wy, wide, c);
}

inline bool Packed8Level(const PyramidDescriptor* p, int32_t level) {
  return PyramidHasLevel(p, level) && p->dataKind == PyramidDataKind_Packed8;
}

inline void Sample4(const PyramidDescriptor* p, int32_t level, float x, float y, float c[4]) {
  if (!Packed8Level(p, level)) {
    c[0] = c[1] = c[2] = c[3] = 0.0f;
    return;
  }
  Sample4Located(p, level, TableOf(p), gWideSums.load(std::memory_order_relaxed), x, y, c);
}

}  // namespace

bool gauss_pyramid_allow_wide_sums(bool allow) {
  const bool wide = allow && FilteredWideSumsAvailable();
  gWideSums.store(wide, std::memory_order_relaxed);
  return wide;
}

void gauss_pyramid_sample4_rgba(const PyramidDescriptor* p, int32_t level, float x, float y, float c[4]) {
  Sample4(p, level, x, y, c);
}

void gauss_pyramid_sample4_run(const PyramidDescriptor* p, int32_t level, const float* x, const float* y, int32_t n,
                               float (*c)[4]) {
  if (!Packed8Level(p, level)) {
    for (int32_t i = 0; i < n; ++i) c[i][0] = c[i][1] = c[i][2] = c[i][3] = 0.0f;
    return;
  }
  const float* table = TableOf(p);
  const bool wide = gWideSums.load(std::memory_order_relaxed);
  for (int32_t i = 0; i < n; ++i) Sample4Located(p, level, table, wide, x[i], y[i], c[i]);
}

void gauss_pyramid_sample4_pair(const PyramidDescriptor* p, int32_t level0, float x0, float y0, float c0[4],
                                int32_t level1, float x1, float y1, float c1[4]) {
  Sample4(p, level0, x0, y0, c0);
  Sample4(p, level1, x1, y1, c1);
}

void gauss_pyramid_sample4(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g, float* b,
                           float* a) {
  float c[4];
  gauss_pyramid_sample4_rgba(p, level, x, y, c);
  *r = c[0];
  *g = c[1];
  *b = c[2];
  *a = c[3];
}

float gauss_pyramid_sample1(const PyramidDescriptor* p, int32_t level, float x, float y) {
  Axis ax, ay;
  if (!Locate(p, level, PyramidDataKind_Byte, x, y, &ax, &ay)) return 0.0f;
  const float* table = TableOf(p);
  int32_t wx[kWindow], wy[kWindow];
  IntWeights(table, kFilter2048Arrays, ax.phase, wx);
  IntWeights(table, kFilter2048Arrays, ay.phase, wy);
  uint8_t scratch[kWindow * kWindow];
  ptrdiff_t rowBytes;
  const uint8_t* base = Window<1, false>(p, level, ax, ay, scratch, &rowBytes);
  int32_t acc = 0;
  for (int j = 0; j < kWindow; ++j) {
    int32_t s = 0;
    for (int i = 0; i < kWindow; ++i) s += wx[i] * int32_t(base[j * rowBytes + i]);
    acc += wy[j] * s;
  }
  return float(acc) * kScale2048Squared;
}

void gauss_pyramid_sample64bit(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g,
                               float* b, float* a) {
  Axis ax, ay;
  if (!Locate(p, level, PyramidDataKind_Four16, x, y, &ax, &ay)) {
    *r = *g = *b = *a = 0.0f;
    return;
  }
  const float* table = TableOf(p);
  int32_t wx[kWindow], wy[kWindow];
  IntWeights(table, kFilter32768Arrays, ax.phase, wx);
  IntWeights(table, kFilter32768Arrays, ay.phase, wy);
  alignas(16) uint8_t scratch[kWindow * kWindow * 8];
  ptrdiff_t rowBytes;
  const uint8_t* base = Window<8, false>(p, level, ax, ay, scratch, &rowBytes);
  int32_t sum[4];
  Sum16<4>(base, rowBytes, wx, wy, sum);
  *r = float(sum[0]) * kScale32768;
  *g = float(sum[1]) * kScale32768;
  *b = float(sum[2]) * kScale32768;
  *a = float(sum[3]) * kScale32768;
}

float gauss_pyramid_sample16bitgray(const PyramidDescriptor* p, int32_t level, float x, float y) {
  Axis ax, ay;
  if (!Locate(p, level, PyramidDataKind_Grey16, x, y, &ax, &ay)) return 0.0f;
  const float* table = TableOf(p);
  int32_t wx[kWindow], wy[kWindow];
  IntWeights(table, kFilter32768Arrays, ax.phase, wx);
  IntWeights(table, kFilter32768Arrays, ay.phase, wy);
  uint8_t scratch[kWindow * kWindow * 2];
  ptrdiff_t rowBytes;
  const uint8_t* base = Window<2, false>(p, level, ax, ay, scratch, &rowBytes);
  int32_t sum[1];
  Sum16<1>(base, rowBytes, wx, wy, sum);
  return float(sum[0]) * kScale32768;
}

void gauss_pyramid_sample128bit(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g,
                                float* b, float* a) {
  Axis ax, ay;
  if (!Locate(p, level, PyramidDataKind_FourFloat, x, y, &ax, &ay)) {
    *r = *g = *b = *a = 0.0f;
    return;
  }
  const float* table = TableOf(p);
  double wx[kWindow], wy[kWindow];
  DoubleWeights(table, ax.phase, wx);
  DoubleWeights(table, ay.phase, wy);
  alignas(16) uint8_t scratch[kWindow * kWindow * 16];
  ptrdiff_t rowBytes;
  const uint8_t* base = Window<16, false>(p, level, ax, ay, scratch, &rowBytes);
#if defined(__SSE2__)
  double acc[4];
  if (gWideSums.load(std::memory_order_relaxed)) {
    Sum128Wide(base, rowBytes, wx, wy, acc);
  } else {
    // The same roundings as the scalar loops below, half the steps.
    DoublePair total = ZeroPair();
    for (int j = 0; j < kWindow; ++j) {
      const uint8_t* row = base + j * rowBytes;
      DoublePair s = ZeroPair();
      for (int i = 0; i < kWindow; ++i) AddWeighted(&s, wx[i], WidenFloats(row + i * 16));
      AddWeighted(&total, wy[j], s);
    }
    StorePair(acc, total);
  }
#else
  double acc[4] = {0.0, 0.0, 0.0, 0.0};
  for (int j = 0; j < kWindow; ++j) {
    const uint8_t* row = base + j * rowBytes;
    double s[4] = {0.0, 0.0, 0.0, 0.0};
    for (int i = 0; i < kWindow; ++i)
      for (int c = 0; c < 4; ++c) s[c] += wx[i] * double(Load<float>(row + i * 16 + c * 4));
    for (int c = 0; c < 4; ++c) acc[c] += wy[j] * s[c];
  }
#endif
  *r = float(acc[0]);
  *g = float(acc[1]);
  *b = float(acc[2]);
  *a = float(acc[3]);
}

void gauss_pyramid_sampleColor(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g,
                               float* b, float* a) {
  switch (PyramidHasLevel(p, level) ? p->dataKind : -1) {
    case PyramidDataKind_Packed8: return gauss_pyramid_sample4(p, level, x, y, r, g, b, a);
    case PyramidDataKind_Four16: return gauss_pyramid_sample64bit(p, level, x, y, r, g, b, a);
    case PyramidDataKind_FourFloat: return gauss_pyramid_sample128bit(p, level, x, y, r, g, b, a);
    case PyramidDataKind_Byte:
      *r = *g = *b = gauss_pyramid_sample1(p, level, x, y);
      *a = 255.0f;
      return;
    case PyramidDataKind_Grey16:
      *r = *g = *b = gauss_pyramid_sample16bitgray(p, level, x, y);
      *a = 32768.0f;
      return;
    default: *r = *g = *b = *a = 0.0f;
  }
}
