#pragma once
// Per-channel glue formulas: a is a channel of the filter's result, b the
// same channel of the unfiltered pixel. One template serves both integer
// forms: the 16-bit form (0..32768) is the 8-bit form with its constants
// swapped for those of the scale record, except where a mode needs its own
// 16-bit formula (those carry a 16 in their name).
//
// Signed 32-bit arithmetic throughout; every product stays below 2^31 for
// channels in range (the largest is full scale squared, 2^30).

#include <algorithm>
#include <cstdint>
#include <cstdlib>

// 8-bit channels: 255 is full scale, but several formulas use 256 as the
// weight of a whole and >> 8 as the division by it.
struct Glue8Scale {
  static constexpr int32_t k255 = 255;
  static constexpr int32_t k256 = 256;
  static constexpr int32_t k127 = 127;
  static constexpr int32_t k128 = 128;
  static constexpr int32_t kShift8 = 8;
  static constexpr int32_t kShift7 = 7;
  static constexpr int32_t kFull = 255;
};

// 16-bit channels run 0..32768, a power of two, so 255 and 256 fold into
// one full scale and the shifts divide by it exactly.
struct Glue16Scale {
  static constexpr int32_t k255 = 32768;
  static constexpr int32_t k256 = 32768;
  static constexpr int32_t k127 = 16383;
  static constexpr int32_t k128 = 16384;
  static constexpr int32_t kShift8 = 15;
  static constexpr int32_t kShift7 = 14;
  static constexpr int32_t kFull = 32768;
};

constexpr int32_t GlueLimit(int32_t v, int32_t full) { return v < 0 ? 0 : (v > full ? full : v); }

// pin(x, y): x lifts y to 2x - full above mid-scale, caps it at 2x below.
template <class S>
constexpr int32_t GluePin(int32_t x, int32_t y) {
  return x > S::k127 ? std::max(2 * x - S::k255, y) : std::min(2 * x, y);
}

// hard(x, y): x multiplies y below mid-scale and screens it above.
template <class S>
constexpr int32_t GlueHard(int32_t x, int32_t y) {
  return x > S::k127 ? S::k255 - (((S::k255 - x) * (S::k255 - y)) >> S::kShift7) : (x * y) >> S::kShift7;
}

// Blend of x and y whose weight rises and falls with the triangle wave of
// the unfiltered value: unfiltered mid-tones take the result, its ends keep
// themselves. T[i] = 2i below 128, 511 - 2i from 128.
constexpr int32_t GlueTriangleWave(int32_t i) { return i < 128 ? 2 * i : 511 - 2 * i; }

constexpr int32_t GlueProceduralPlus8(int32_t a, int32_t b) {
  const int32_t t = GlueTriangleWave(b);
  return (t * a + (255 - t) * b) >> 8;
}

// Same strength as the 8-bit form: the weight of the result runs 0..32768
// (a whole) at mid-scale, as T runs 0..255 of 256 there.
constexpr int32_t GlueProceduralPlus16(int32_t a, int32_t b) {
  const int32_t w = b < 16384 ? 2 * b : 65536 - 2 * b;
  return (w * a + (32768 - w) * b) >> 15;
}

template <class S>
constexpr int32_t GlueProceduralMinus(int32_t a, int32_t b) {
  return std::min(a + ((a * b) >> S::kShift8), S::kFull);
}

// a + b - 2ab: the program's "difference"; the absolute difference is "hard diff".
template <class S>
constexpr int32_t GlueDifference(int32_t a, int32_t b) {
  return ((S::k255 - a) * b + a * (S::k255 - b)) >> S::kShift8;
}

template <class S>
constexpr int32_t GlueLighten(int32_t a, int32_t b) { return std::max(a, b); }
template <class S>
constexpr int32_t GlueDarken(int32_t a, int32_t b) { return std::min(a, b); }
template <class S>
constexpr int32_t GlueAdd(int32_t a, int32_t b) { return std::min(a + b, S::kFull); }
template <class S>
constexpr int32_t GlueSubtract(int32_t a, int32_t b) { return std::max(a - b, 0); }
template <class S>
constexpr int32_t GlueMultiply(int32_t a, int32_t b) { return (a * b) >> S::kShift8; }
template <class S>
constexpr int32_t GlueScreen(int32_t a, int32_t b) { return a + (((S::k255 - a) * b) >> S::kShift8); }
template <class S>
constexpr int32_t GlueHardLight(int32_t a, int32_t b) { return GlueHard<S>(a, b); }
template <class S>
constexpr int32_t GlueOverlay(int32_t a, int32_t b) { return GlueHard<S>(b, a); }

template <class S>
constexpr int32_t GlueSuperlay(int32_t a, int32_t b) {
  const int32_t s = S::k255 - ((a * b) >> S::kShift8);
  const int32_t q = (s * s) >> S::kShift8;
  const int32_t t = S::k255 - q;
  const int32_t u = S::k255 - (a + ((b * (S::k255 - a)) >> S::kShift8));
  const int32_t uu = (u * u) >> S::kShift8;
  return t > S::k127 ? S::k255 - ((q * uu) >> S::kShift7) : (t * (S::k255 - uu)) >> S::kShift7;
}

// In 16 bits 255 and 256 coincide, so this becomes the "difference" formula.
template <class S>
constexpr int32_t GlueExclusion(int32_t a, int32_t b) {
  return ((S::k256 - a) * b + a * (S::k255 - b)) >> S::kShift8;
}

template <class S>
constexpr int32_t GlueLinearLight(int32_t a, int32_t b) {
  return a < S::k128 ? std::max(b + 2 * a - S::k256, 0) : std::min(b + 2 * a - S::k255, S::kFull);
}

template <class S>
constexpr int32_t GluePinLight(int32_t a, int32_t b) { return GluePin<S>(a, b); }
template <class S>
constexpr int32_t GlueSpinLight(int32_t a, int32_t b) { return GluePin<S>(b, a); }

constexpr int32_t GlueVividA8(int32_t a, int32_t b) {
  const int32_t v = a < 128 ? 255 - ((255 - b) << 8) / (2 * a + 1) : (b << 8) / (511 - 2 * a);
  return GlueLimit(v, 255);
}

// The vivid divisions blow up near the ends of the scale, so the 16-bit form
// runs them on 8-bit values and widens the answer again.
constexpr int32_t GlueNarrow16To8(int32_t v) { return std::min(((v + 1) & 0xFFFF) >> 7, 255); }
constexpr int32_t GlueVividA16(int32_t a, int32_t b) {
  const int32_t v = GlueVividA8(GlueNarrow16To8(a), GlueNarrow16To8(b));
  return v < 255 ? (v << 7) | (v >> 1) : 32768;
}

template <class S>
constexpr int32_t GlueVividB(int32_t a, int32_t b) { return GlueLimit(2 * a - b, S::kFull); }

template <class S>
constexpr int32_t GlueSimilarity(int32_t a, int32_t b) { return S::k255 - std::abs(a + b - S::k255); }

constexpr int32_t GlueCross8(int32_t a, int32_t b) {
  return GlueLimit(255 - std::abs((a - 128) * (a - 128) / 64 - (b - 128) * (b - 128) / 64), 255);
}
constexpr int32_t GlueCross16(int32_t a, int32_t b) {
  return GlueLimit(32768 - std::abs((a - 16384) * (a - 16384) / 8192 - (b - 16384) * (b - 16384) / 8192), 32768);
}

template <class S>
constexpr int32_t GlueHardDiff(int32_t a, int32_t b) { return std::abs(a - b); }

// 2ab + b^2 (1 - 2a) in integers; the upper half is written about 255 - b so
// that white stays white.
constexpr int32_t GlueSoftLight8(int32_t a, int32_t b) {
  if (a < 128) return ((b * b / 256) * (128 - a) + a * b) >> 7;
  const int32_t c = 255 - b;
  return 255 - (((c * c / 256) * (a - 130) + c * (258 - a)) >> 7);
}
// The upper half runs on 8-bit values; at b = 32768 its c is -1 and the
// result overshoots full scale, which the caller's limit takes back.
constexpr int32_t GlueSoftLight16(int32_t a, int32_t b) {
  if (a < 16384) return ((b * b / 32768) * (16384 - a) + a * b) >> 14;
  const int32_t c = 255 - b / 128;
  const int32_t a8 = a >> 7;
  return (255 - (((c * c / 256) * (a8 - 130) + c * (258 - a8)) >> 7)) << 7;
}

// At a = full scale the 16-bit divisor would be 0; there the result is kept.
template <class S>
constexpr int32_t GlueDodge(int32_t a, int32_t b) {
  if (a >= S::k256) return a;
  return GlueLimit((b << S::kShift8) / (S::k256 - a), S::kFull);
}

template <class S>
constexpr int32_t GlueBurn(int32_t a, int32_t b) {
  return GlueLimit(S::kFull - ((S::k255 - b) << S::kShift8) / (a + 1), S::kFull);
}

template <class S>
constexpr int32_t GlueAce(int32_t a, int32_t b) { return ((S::k256 - a) * b + a * a) >> S::kShift8; }

template <class S>
constexpr int32_t GlueKing(int32_t a, int32_t b) { return (b * (a - b + S::k256)) >> S::kShift8; }

constexpr int32_t GlueQueen8(int32_t a, int32_t b) { return ((a + 1) * b + a * (255 - a)) >> 8; }
constexpr int32_t GlueQueen16(int32_t a, int32_t b) { return (a * (b - a + 32768)) >> 15; }
constexpr int32_t GlueJack8(int32_t a, int32_t b) { return ((b + 1) * b + (255 - b) * a) >> 8; }
constexpr int32_t GlueJack16(int32_t a, int32_t b) { return (b * b + (32768 - b) * a) >> 15; }

template <class S>
constexpr int32_t GlueAnd(int32_t a, int32_t b) { return a & b; }
template <class S>
constexpr int32_t GlueOr(int32_t a, int32_t b) { return a | b; }
template <class S>
constexpr int32_t GlueXor(int32_t a, int32_t b) { return a ^ b; }

// The float constant is about 1/255^2, slightly below it, so t stays under 1.
constexpr float kGlueUnitSquared8 = 1.53787e-5f;
constexpr double kGlueUnitSquared16 = 9.3132257462e-10;  // 2^-30

inline int32_t GlueMultibright8(int32_t a, int32_t b) {
  const float t = static_cast<float>(a * b) * kGlueUnitSquared8;
  return static_cast<int32_t>(t * (2.0f - t) * 255.0f);
}
inline int32_t GlueMultibright16(int32_t a, int32_t b) {
  const double t = static_cast<double>(a * b) * kGlueUnitSquared16;
  return static_cast<int32_t>(t * (2.0 - t) * 32768.0);
}
inline int32_t GlueScreendim8(int32_t a, int32_t b) {
  const float t = 1.0f - static_cast<float>((255 - a) * (255 - b)) * kGlueUnitSquared8;
  return static_cast<int32_t>(t * t * 255.0f);
}
inline int32_t GlueScreendim16(int32_t a, int32_t b) {
  const double t = 1.0 - static_cast<double>((32768 - a) * (32768 - b)) * kGlueUnitSquared16;
  return static_cast<int32_t>(t * t * 32768.0);
}

// Two-stage modes: a pin step of S1 against S2.
template <class S>
constexpr int32_t GlueTwoStage(int32_t s1, int32_t s2) {
  return s1 < S::k128 ? std::min(2 * s1, s2) : std::max(2 * s1 - S::k255, s2);
}
template <class S>
constexpr int32_t GlueHot(int32_t a, int32_t b) {
  return GlueTwoStage<S>(GluePin<S>(b, a), GluePin<S>(b, S::k255 - a));
}
template <class S>
constexpr int32_t GlueCold(int32_t a, int32_t b) {
  return GlueTwoStage<S>(GluePin<S>(a, b), GluePin<S>(a, S::k255 - b));
}
template <class S>
constexpr int32_t GlueWet(int32_t a, int32_t b) {
  return GlueTwoStage<S>(GlueHard<S>(b, a), GlueHard<S>(S::k255 - a, b));
}
template <class S>
constexpr int32_t GlueDry(int32_t a, int32_t b) {
  return GlueTwoStage<S>(GlueHard<S>(b, S::k255 - a), GlueHard<S>(a, b));
}
template <class S>
constexpr int32_t GlueUp(int32_t a, int32_t b) { return GlueTwoStage<S>(GlueHard<S>(a, b), GlueHard<S>(b, a)); }
template <class S>
constexpr int32_t GlueDown(int32_t a, int32_t b) { return GlueTwoStage<S>(GlueHard<S>(b, a), GlueHard<S>(a, b)); }

// The 16-bit threshold sits one above full scale, so an exact mid-scale pair
// (16384 + 16384) still counts as dark.
constexpr int32_t GlueHardMix8(int32_t a, int32_t b) { return a + b < 256 ? 0 : 255; }
constexpr int32_t GlueHardMix16(int32_t a, int32_t b) { return a + b < 32769 ? 0 : 32768; }

// A ratio of two unit values folded into 0..1: 1 - y/2x while y is not above
// x (1 at y = 0 down to 0.5 at y = x), x/2y beyond (down to 0 at x = 0), and
// 1 when the larger of them is not above 0. The quotients are taken in double.
inline float weirdRatio(float x, float y) {
  if (y > x) {
    if (!(y > 0.0f)) return 1.0f;
    return std::min(1.0f, static_cast<float>(0.5 * static_cast<double>(x) / static_cast<double>(y)));
  }
  if (!(x > 0.0f)) return 1.0f;
  return std::min(1.0f, static_cast<float>(1.0 - 0.5 * static_cast<double>(y) / static_cast<double>(x)));
}

template <class S>
inline int32_t GlueDextrous(int32_t a, int32_t b) {
  constexpr float u = 1.0f / static_cast<float>(S::kFull);
  return static_cast<int32_t>(weirdRatio(static_cast<float>(b) * u, static_cast<float>(a) * u) *
                              static_cast<float>(S::kFull));
}
