#include "pyramid/pyramid_reduce.h"

#include <algorithm>
#include <cstring>

#include "pyramid/pyramid_descriptor.h"
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

struct Packed8 {
  using Acc = int32_t;
  static constexpr int kChannels = 4, kBytes = 4;
  static void Add(const uint8_t* px, Acc w, Acc* s) {
    const uint32_t word = Load<uint32_t>(px);
    s[0] += w * int32_t(word >> 24);
    s[1] += w * int32_t((word >> 16) & 255u);
    s[2] += w * int32_t((word >> 8) & 255u);
    s[3] += w * int32_t(word & 255u);
  }
  static void Put(uint8_t* dst, const Acc* s) {
    Store<uint32_t>(dst, (uint32_t(ScaleToByte(s[0])) << 24) | (uint32_t(ScaleToByte(s[1])) << 16) |
                             (uint32_t(ScaleToByte(s[2])) << 8) | uint32_t(ScaleToByte(s[3])));
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

template <class K, bool kWrap>
void ReduceStripSeparable(const PyramidDescriptor* p, int32_t level, const Rect& strip) {
  using Acc = typename K::Acc;
  constexpr int C = K::kChannels;
  constexpr int32_t kColumns = 2 * kSeparableChunk + 4;
  Acc columnSum[kColumns][C];
  Acc edgeSum[kColumns][C];  // the top and bottom source pixels, for the corners
  for (int32_t Y = strip.top; Y < strip.bottom; ++Y) {
    int32_t rows[6];
    SourceRows<kWrap>(p, level, Y, rows);
    for (int32_t X0 = strip.left; X0 < strip.right; X0 += kSeparableChunk) {
      const int32_t n = std::min<int32_t>(kSeparableChunk, strip.right - X0);
      const int32_t first = 2 * X0 - 2, count = 2 * n + 4;
      for (int32_t k = 0; k < count; ++k) {
        const int32_t logical = first + k;
        const int32_t x = kWrap ? WrapColumn(p, level, logical) : Clamp(logical, p->levelClampX[level]);
        Acc* v = columnSum[k];
        Acc* e = edgeSum[k];
        for (int c = 0; c < C; ++c) v[c] = e[c] = 0;
        for (int j = 0; j < 6; ++j) {
          const uint8_t* px = PyramidPixelAddress(p, level, x, rows[j]);
          K::Add(px, kSeparableTaps[j], v);
          if (j == 0 || j == 5) K::Add(px, 1, e);
        }
      }
      for (int32_t m = 0; m < n; ++m) {
        const int32_t k = 2 * m;
        Acc sum[C];
        for (int c = 0; c < C; ++c) {
          Acc full = 0;
          for (int i = 0; i < 6; ++i) full += kSeparableTaps[i] * columnSum[k + i][c];
          sum[c] = (full - edgeSum[k][c] - edgeSum[k + 5][c]) / kSeparableScale;
        }
        K::Put(PyramidPixelAddress(p, level + 1, X0 + m, Y), sum);
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
