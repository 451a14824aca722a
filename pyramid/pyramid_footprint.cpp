#include "pyramid/pyramid_footprint.h"

#include <array>
#include <bit>
#include <cmath>

#include "projection/float_atan.h"
#include "projection/scalar_math.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_overhang.h"
#include "pyramid/pyramid_reads.h"
#include "pyramid/pyramid_sampling.h"

namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr float kQuarterPi = 0.7853982f;
// Far beyond any level-0 side (32767): keeps the squares and products of
// the ellipse finite in float for any footprint.
constexpr float kMaxFootprintPixels = 1.0e6f;
constexpr float kOneReadBelow = 1.25f;  // ratios below this take one read
constexpr float kTwoReadsFrom = 1.5f;   // from here two reads at the full spacing

void Zero(float c[4]) { c[0] = c[1] = c[2] = c[3] = 0.0f; }

// 1/n for every read count, rounded as the division rounds (the compiler
// divides in float as the processor would): a division a pixel saved.
constexpr auto kOneOver = [] {
  std::array<float, kFootprintMaxSamples + 1> t{};
  for (int32_t n = 1; n <= kFootprintMaxSamples; ++n) t[size_t(n)] = 1.0f / float(n);
  return t;
}();
static_assert(kOneOver[4] == 0.25f && kOneOver[1] == 1.0f);

// NaN or infinite (the frame's zor_isnan, inline: it is asked several times
// per sample).
bool NotFinite(float x) { return (std::bit_cast<uint32_t>(x) & 0x7FFFFFFFu) > 0x7F7FFFFFu; }

// The larger of the two; b when a is NaN.
float Max(float a, float b) { return a > b ? a : b; }

float Bound(float d) {
  return d > kMaxFootprintPixels ? kMaxFootprintPixels : (d < -kMaxFootprintPixels ? -kMaxFootprintPixels : d);
}

// The derivative pairs after the missing rule: a missing (or non-finite)
// vector takes the other's value; with both gone the stored level serves.
struct Footprint {
  float duX, dvX, duY, dvY;
  int32_t missing;
};

inline Footprint ResolveMissing(float duX, float dvX, float duY, float dvY, int32_t missing) {
  const bool firstGone = (missing & FootprintMissing_First) || NotFinite(duX) || NotFinite(dvX);
  const bool secondGone = (missing & FootprintMissing_Second) || NotFinite(duY) || NotFinite(dvY);
  Footprint f{duX, dvX, duY, dvY, (firstGone ? 1 : 0) + (secondGone ? 2 : 0)};
  if (firstGone && !secondGone) {
    f.duX = duY;
    f.dvX = dvY;
  } else if (secondGone && !firstGone) {
    f.duY = duX;
    f.dvY = dvX;
  }
  return f;
}

// The footprint in level-0 pixels, folded across the seams the pyramid wraps.
inline PDtype PixelFootprint(const Footprint& f, const PyramidDescriptor* p) {
  PDtype pd{1.0f, float(p->levelWidth[0]), float(p->levelHeight[0]), p->overhangMode, f.duX, f.dvX, f.duY, f.dvY, 0};
  OverhangizePDs(&pd);
  pd.duX = Bound(pd.duX);
  pd.dvX = Bound(pd.dvX);
  pd.duY = Bound(pd.duY);
  pd.dvY = Bound(pd.dvY);
  return pd;
}

// Integer level and blend fraction; NaN and negative levels read level 0.
void SplitLevel(float level, const PyramidDescriptor* p, int32_t* L, float* t) {
  const float top = float(p->topLevel);
  if (level > top) level = top;
  if (!(level > 0.0f)) level = 0.0f;
  *L = int32_t(level);
  *t = level - float(*L);
}

bool Samplable(const PyramidDescriptor* p, float u, float v) {
  return p && p->tileTable && !NotFinite(u) && !NotFinite(v);
}

inline int32_t MissingOf(float uA, float vA, float uB, float vB) {
  const bool first = uA == kFootprintMissingU || NotFinite(uA) || NotFinite(vA);
  const bool second = uB == kFootprintMissingU || NotFinite(uB) || NotFinite(vB);
  return (first ? FootprintMissing_First : 0) + (second ? FootprintMissing_Second : 0);
}

// Nearest pixel of level L, without the half-pixel shift; the pixel read
// clamps (or wraps) what lies beyond the level.
int32_t NearestIndex(int32_t scale, float unit) {
  const float x = float(scale) * unit;
  const float lo = -1.0f, hi = float(scale) + 1.0f;
  return int32_t(x < lo ? lo : (x > hi ? hi : x));
}

}  // namespace

FootprintEllipse FitFootprintEllipse(float a, float b, float c, float d, float sharpen) {
  FootprintEllipse e{};
  // Each squared axis length at least one pixel: a footprint smaller than a
  // pixel is read as one pixel.
  const float P = Max(b * b + d * d, 1.0f);
  const float Q = Max(a * a + c * c, 1.0f);
  // Both cross products take the factor: a footprint of two equal
  // perpendicular vectors is a circle whatever its rotation.
  const float B = -2.0f * (a * b + c * d);
  const float det = P * Q - 0.25f * B * B;
  const float inv = det >= 1e-6f ? 1.0f / det : 1e6f;
  e.EA = P * inv;
  e.EC = Q * inv;
  e.EB = B * inv;
  const float R = SqrtFastSloppyFloat((e.EA - e.EC) * (e.EA - e.EC) + e.EB * e.EB);
  const float longSum = e.EA + e.EC - R, shortSum = e.EA + e.EC + R;
  const float major = SqrtFastSloppyFloat(longSum < 1e-6f ? 2e6f : 2.0f / longSum);
  const float minor = SqrtFastSloppyFloat(shortSum < 1e-6f ? 2e6f : 2.0f / shortSum);
  // Sharpening reads a finer level than the footprint asks for.
  const float k = 1.0f - 0.5f * sharpen;
  e.major = k * major;
  e.minor = Max(k * minor, 0.5f);
  e.level = std::log2(e.minor);
  e.ratio = e.major / e.minor;
  return e;
}

float FootprintMajorAngle(const FootprintEllipse& e) {
  const float diff = e.EA - e.EC;
  // Equal diagonal terms: the axes lie at 45°, on the side the cross term
  // picks (the limit of the general case from either side).
  if (diff == 0.0f) return e.EB < 0.0f ? kQuarterPi : (e.EB > 0.0f ? -kQuarterPi : 0.0f);
  float theta = 0.5f * AtanF(e.EB / diff);
  if (e.EA > e.EC) theta += kHalfPi;
  return theta;
}

FootprintSamples PlanFootprintSamples(const FootprintEllipse& e, float pixelStepU, float pixelStepV) {
  FootprintSamples s{1, 1.0f, 0.0f, 0.0f};
  if (e.ratio > kOneReadBelow && e.ratio < kTwoReadsFrom) {
    // Two reads that start together and move apart as the ratio grows,
    // reaching the regular two-read spacing at 1.5: no jump in the result.
    s.count = 2;
    s.spread = (e.ratio - kOneReadBelow) * 4.0f;
  } else {
    const float rounded = std::floor(e.ratio + 0.5f);
    s.count = rounded >= float(kFootprintMaxSamples) ? kFootprintMaxSamples : (rounded < 1.0f ? 1 : int32_t(rounded));
  }
  const float theta = FootprintMajorAngle(e);
  const float perRead = kOneOver[s.count];
  s.stepU = perRead * e.major * std::cos(theta) * s.spread * pixelStepU;
  s.stepV = std::sin(theta) * s.spread * e.major * perRead * pixelStepV;
  return s;
}

float FastLog2Sloppy(float m) {
  const uint32_t bits = std::bit_cast<uint32_t>(m);
  const float exponent = float((bits >> 23) & 255u);
  const float f = float(bits & 0x7FFFFFu) * (1.0f / 8388608.0f);
  return (exponent - 126.9f) + f - 0.4f * (f - 0.5f) * (f - 0.5f);
}

void SampleAnisotropicallyColorCore_unitary(float duX, float dvX, float duY, float dvY, float u, float v,
                                            int32_t missing, const PyramidDescriptor* p, float colour[4], float sharpen,
                                            AnisoState* state) {
  if (!Samplable(p, u, v)) return Zero(colour);
  AnisoState cleared{};
  if (!state) state = &cleared;
  const Footprint f = ResolveMissing(duX, dvX, duY, dvY, missing);

  int32_t L;
  float t;
  if (f.missing == FootprintMissing_Both || state->reuseLevel == 1) {
    float raised = 0.0f;
    if (OverhangizeCoordinates(&u, &v, &raised, p->overhangMode, p)) return Zero(colour);
    SplitLevel(state->level + raised, p, &L, &t);
    return get_sharpened_color(p, L, t, u, v, 0.0f, colour);
  }

  const PDtype pd = PixelFootprint(f, p);
  const FootprintEllipse e = FitFootprintEllipse(pd.duX, pd.dvX, pd.duY, pd.dvY, sharpen);
  state->level = e.level;
  SplitLevel(e.level, p, &L, &t);
  if (e.ratio < kOneReadBelow) return get_sharpened_color(p, L, t, u, v, 0.0f, colour);
  if (pd.discontinuous) {
    // The footprint straddles the image rather than a seam: averaging along
    // it would smear the far side in, so read the point alone.
    get_borked(p, L, t, u, v, &colour[0], &colour[1], &colour[2], &colour[3]);
    for (int i = 0; i < 4; ++i) colour[i] *= p->toUnitScale;
    return;
  }
  if (e.major <= 1.0f && e.minor <= 1.0f) return get_sharpened_color(p, 0, 0.0f, u, v, 0.0f, colour);

  const FootprintSamples s = PlanFootprintSamples(e, p->pixelStepX[0], p->pixelStepY[0]);
  const float su = u - 0.5f * float(s.count - 1) * s.stepU;
  const float sv = v - 0.5f * float(s.count - 1) * s.stepV;
  // The reads are summed in double and divided by their count: a float sum
  // times a rounded 1/n came out below the colour of a flat area, and the
  // output step truncates (37 became 36 in an 8-bit image).
  double sum[4] = {0.0, 0.0, 0.0, 0.0};
  AddSharpenedColours(p, L, t, su, sv, s.stepU, s.stepV, s.count, 0.0f, sum);  // an empty read counts as transparent
  const double n = double(s.count);
  if ((s.count & (s.count - 1)) == 0) {
    // A power of two divides exactly as its reciprocal multiplies.
    const double inverse = 1.0 / n;
    for (int k = 0; k < 4; ++k) colour[k] = float(sum[k] * inverse);
  } else {
    for (int k = 0; k < 4; ++k) colour[k] = float(sum[k] / n);
  }
}

void SampleUglyColorCore_core(float duX, float dvX, float duY, float dvY, float u, float v, int32_t missing,
                              const PyramidDescriptor* p, float colour[4], float sharpen, AnisoState* state) {
  if (!Samplable(p, u, v)) return Zero(colour);
  AnisoState cleared{};
  if (!state) state = &cleared;
  float unused = 0.0f;
  if (OverhangizeCoordinates(&u, &v, &unused, p->overhangMode, p)) return Zero(colour);
  const Footprint f = ResolveMissing(duX, dvX, duY, dvY, missing);

  float level = 0.0f;
  if (f.missing == FootprintMissing_Both || state->reuseLevel == 1) {
    level = state->level;
  } else {
    const PDtype pd = PixelFootprint(f, p);
    const float mX = Max(std::fabs(pd.duX), std::fabs(pd.dvX));
    const float mY = Max(std::fabs(pd.duY), std::fabs(pd.dvY));
    const float m = (mY - mX) * 0.5f + mX;
    if (m > 1.0f) level = FastLog2Sloppy(m);  // capped at the top level below
  }
  int32_t L;
  float t;
  SplitLevel(level, p, &L, &t);
  get_intcoord_unitary_color(NearestIndex(p->scaleWidth[L], u), NearestIndex(p->scaleHeight[L], v), p, L, colour);
}

void SampleAnisotropicallyColor_Centered_unitary(float uA, float vA, float uB, float vB, float uC, float vC, float u,
                                                 float v, const PyramidDescriptor* p, float colour[4], float sharpen,
                                                 AnisoState* state) {
  SampleAnisotropicallyColorCore_unitary(uC - uA, vC - vA, uC - uB, vC - vB, u, v, MissingOf(uA, vA, uB, vB), p, colour,
                                         sharpen, state);
}

void SampleUglyColor_Centered_unitary(float uA, float vA, float uB, float vB, float uC, float vC, float u, float v,
                                      const PyramidDescriptor* p, float colour[4], float sharpen, AnisoState* state) {
  SampleUglyColorCore_core(uC - uA, vC - vA, uC - uB, vC - vB, u, v, MissingOf(uA, vA, uB, vB), p, colour, sharpen,
                           state);
}
