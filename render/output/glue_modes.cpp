#include "render/output/glue_modes.h"

#include <iterator>

#include "render/output/glue_channel.h"
#include "render/output/glue_compass.h"
#include "render/output/glue_hsl.h"
#include "render/output/glue_lab.h"

namespace {

using S8 = Glue8Scale;
using S16 = Glue16Scale;
using ChannelFormula = int32_t (*)(int32_t a, int32_t b);

// A per-channel formula applied to red, green and blue. Every glued channel
// is limited to the full scale: a few formulas overshoot at the ends of the
// scale (16-bit soft light reaches 32896 at b = 32768, and the bitwise modes
// combine the 16-bit full-scale bit with lower bits).
template <ChannelFormula Fn, int32_t Full>
void PerChannel(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  r = GlueLimit(Fn(r, R), Full);
  g = GlueLimit(Fn(g, G), Full);
  bl = GlueLimit(Fn(bl, B), Full);
}

template <ChannelFormula Fn>
constexpr GlueFunction Ch8 = &PerChannel<Fn, 255>;
template <ChannelFormula Fn>
constexpr GlueFunction Ch16 = &PerChannel<Fn, 32768>;

int32_t Luma(int32_t r, int32_t g, int32_t b) { return (77 * r + 150 * g + 28 * b) >> 8; }

// Whole-pixel choice by luminance; ties keep the result.
void PickBrighter(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  if (Luma(r, g, bl) < Luma(R, G, B)) {
    r = R;
    g = G;
    bl = B;
  }
}

void PickDimmer(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  if (Luma(r, g, bl) > Luma(R, G, B)) {
    r = R;
    g = G;
    bl = B;
  }
}

using HslGlue = void (*)(int32_t&, int32_t&, int32_t&, int32_t, int32_t, int32_t, int32_t, float);

template <HslGlue Op, int32_t Full>
void WithScale(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  Op(r, g, bl, R, G, B, Full, 1.0f / static_cast<float>(Full));
}

template <int32_t Full, int32_t LeadByResult>
void Pseudocolor(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  PseudocolorGlueIfy(r, g, bl, R, G, B, Full, 1.0f / static_cast<float>(Full), LeadByResult);
}

using LabGlue = void (*)(int32_t&, int32_t&, int32_t&, int32_t, int32_t, int32_t, int32_t);

// Flag 1: 8-bit channels; 0: 16-bit channels.
template <LabGlue Op, int32_t Flag>
void WithFlag(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B) {
  Op(r, g, bl, R, G, B, Flag);
}

template <HslGlue Op>
constexpr GlueModeRow HslRow(GlueMode mode, const char* keyword) {
  return {mode, keyword, &WithScale<Op, 255>, &WithScale<Op, 32768>};
}

template <LabGlue Op>
constexpr GlueModeRow LabRow(GlueMode mode, const char* keyword) {
  return {mode, keyword, &WithFlag<Op, 1>, &WithFlag<Op, 0>};
}

constexpr GlueModeRow kGlueModes[] = {
    {GlueMode_Normal, "normal", &GlueKeep, &GlueKeep},
    {GlueMode_ProceduralPlus, "procedural +", Ch8<GlueProceduralPlus8>, Ch16<GlueProceduralPlus16>},
    {GlueMode_ProceduralMinus, "procedural -", Ch8<GlueProceduralMinus<S8>>, Ch16<GlueProceduralMinus<S16>>},
    {GlueMode_Difference, "difference", Ch8<GlueDifference<S8>>, Ch16<GlueDifference<S16>>},
    {GlueMode_Lighten, "lighten", Ch8<GlueLighten<S8>>, Ch16<GlueLighten<S16>>},
    {GlueMode_Darken, "darken", Ch8<GlueDarken<S8>>, Ch16<GlueDarken<S16>>},
    {GlueMode_Add, "add", Ch8<GlueAdd<S8>>, Ch16<GlueAdd<S16>>},
    {GlueMode_Subtract, "subtract", Ch8<GlueSubtract<S8>>, Ch16<GlueSubtract<S16>>},
    {GlueMode_Multiply, "multiply", Ch8<GlueMultiply<S8>>, Ch16<GlueMultiply<S16>>},
    {GlueMode_Screen, "screen", Ch8<GlueScreen<S8>>, Ch16<GlueScreen<S16>>},
    {GlueMode_HardLight, "hard light", Ch8<GlueHardLight<S8>>, Ch16<GlueHardLight<S16>>},
    {GlueMode_Overlay, "overlay", Ch8<GlueOverlay<S8>>, Ch16<GlueOverlay<S16>>},
    {GlueMode_Superlay, "superlay", Ch8<GlueSuperlay<S8>>, Ch16<GlueSuperlay<S16>>},
    {GlueMode_Exclusion, "exclusion", Ch8<GlueExclusion<S8>>, Ch16<GlueExclusion<S16>>},
    HslRow<ColorGlueIfy>(GlueMode_Color, "color"),
    HslRow<LumGlueIfy>(GlueMode_Luminance, "luminance"),
    {GlueMode_LinearLight, "linear light", Ch8<GlueLinearLight<S8>>, Ch16<GlueLinearLight<S16>>},
    {GlueMode_PinLight, "pin light", Ch8<GluePinLight<S8>>, Ch16<GluePinLight<S16>>},
    {GlueMode_SpinLight, "spin light", Ch8<GlueSpinLight<S8>>, Ch16<GlueSpinLight<S16>>},
    {GlueMode_VividA, "vivid a", Ch8<GlueVividA8>, Ch16<GlueVividA16>},
    {GlueMode_VividB, "vivid b", Ch8<GlueVividB<S8>>, Ch16<GlueVividB<S16>>},
    HslRow<SatGlueIfy>(GlueMode_Saturation, "saturation"),
    HslRow<HueGlueIfy>(GlueMode_Hue, "hue"),
    {GlueMode_Similarity, "similarity", Ch8<GlueSimilarity<S8>>, Ch16<GlueSimilarity<S16>>},
    {GlueMode_Cross, "cross", Ch8<GlueCross8>, Ch16<GlueCross16>},
    {GlueMode_HardDiff, "hard diff", Ch8<GlueHardDiff<S8>>, Ch16<GlueHardDiff<S16>>},
    {GlueMode_SoftLight, "soft light", Ch8<GlueSoftLight8>, Ch16<GlueSoftLight16>},
    {GlueMode_Bright, "bright", &PickBrighter, &PickBrighter},
    {GlueMode_Dim, "dim", &PickDimmer, &PickDimmer},
    {GlueMode_Dodge, "dodge", Ch8<GlueDodge<S8>>, Ch16<GlueDodge<S16>>},
    {GlueMode_Burn, "burn", Ch8<GlueBurn<S8>>, Ch16<GlueBurn<S16>>},
    {GlueMode_Ace, "ace", Ch8<GlueAce<S8>>, Ch16<GlueAce<S16>>},
    {GlueMode_King, "king", Ch8<GlueKing<S8>>, Ch16<GlueKing<S16>>},
    {GlueMode_Queen, "queen", Ch8<GlueQueen8>, Ch16<GlueQueen16>},
    {GlueMode_Jack, "jack", Ch8<GlueJack8>, Ch16<GlueJack16>},
    {GlueMode_And, "and", Ch8<GlueAnd<S8>>, Ch16<GlueAnd<S16>>},
    {GlueMode_Or, "or", Ch8<GlueOr<S8>>, Ch16<GlueOr<S16>>},
    {GlueMode_Xor, "xor", Ch8<GlueXor<S8>>, Ch16<GlueXor<S16>>},
    {GlueMode_Multibright, "multibright", Ch8<GlueMultibright8>, Ch16<GlueMultibright16>},
    {GlueMode_Hot, "hot", Ch8<GlueHot<S8>>, Ch16<GlueHot<S16>>},
    {GlueMode_Cold, "cold", Ch8<GlueCold<S8>>, Ch16<GlueCold<S16>>},
    {GlueMode_Wet, "wet", Ch8<GlueWet<S8>>, Ch16<GlueWet<S16>>},
    {GlueMode_Dry, "dry", Ch8<GlueDry<S8>>, Ch16<GlueDry<S16>>},
    {GlueMode_Up, "up", Ch8<GlueUp<S8>>, Ch16<GlueUp<S16>>},
    {GlueMode_Down, "down", Ch8<GlueDown<S8>>, Ch16<GlueDown<S16>>},
    HslRow<GlueMaxSat>(GlueMode_Wax, "wax"),
    HslRow<GlueMinSat>(GlueMode_Wane, "wane"),
    {GlueMode_North, "north", &GlueNorth, &xo_GlueNorth},
    {GlueMode_South, "south", &GlueSouth, &xo_GlueSouth},
    {GlueMode_East, "east", &GlueEast, &xo_GlueEast},
    {GlueMode_West, "west", &GlueWest, &xo_GlueWest},
    {GlueMode_HardMix, "hard mix", Ch8<GlueHardMix8>, Ch16<GlueHardMix16>},
    HslRow<GlueFrontal>(GlueMode_Frontal, "frontal"),
    LabRow<GlueLabMultiply>(GlueMode_Parietal, "parietal"),
    LabRow<GlueLabScreen>(GlueMode_Temporal, "temporal"),
    LabRow<GlueLabPinLight>(GlueMode_Occipital, "occipital"),
    LabRow<GlueLabSpinLight>(GlueMode_Limbic, "limbic"),
    {GlueMode_Dextrous, "dextrous", Ch8<GlueDextrous<S8>>, Ch16<GlueDextrous<S16>>},
    HslRow<LumRatioGlueIfy>(GlueMode_Sinister, "sinister"),
    {GlueMode_Anterior, "anterior", &Pseudocolor<255, 1>, &Pseudocolor<32768, 1>},
    {GlueMode_Posterior, "posterior", &Pseudocolor<255, 0>, &Pseudocolor<32768, 0>},
    {GlueMode_Screendim, "screendim", Ch8<GlueScreendim8>, Ch16<GlueScreendim16>},
};

static_assert(std::size(kGlueModes) == kGlueModeCount, "one row per glue mode");

constexpr bool RowsInModeOrder() {
  for (int32_t i = 0; i < kGlueModeCount; ++i) {
    if (kGlueModes[i].mode != kGlueModeFirst + i) return false;
  }
  return true;
}
static_assert(RowsInModeOrder(), "rows must run in mode order");

}  // namespace

void GlueKeep(int32_t&, int32_t&, int32_t&, int32_t, int32_t, int32_t) {}

std::span<const GlueModeRow> GlueModeTable() { return kGlueModes; }

const GlueModeRow* FindGlueMode(int32_t mode) {
  if (mode < kGlueModeFirst || mode > kGlueModeLast) return nullptr;
  return &kGlueModes[mode - kGlueModeFirst];
}

GlueFunction GlueFunctionFor(int32_t mode, GlueForm form) {
  const GlueModeRow* row = FindGlueMode(mode);
  if (row == nullptr) return &GlueKeep;
  return form == GlueForm::Bits8 ? row->glue8 : row->glue16;
}

bool IsGlueIdentity(int32_t mode) { return mode == GlueMode_Normal || FindGlueMode(mode) == nullptr; }
