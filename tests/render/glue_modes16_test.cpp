// The 16-bit form (channels 0..32768) against the 8-bit form, and the rows
// where the 16-bit form has a formula of its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "render/output/glue_hsl.h"
#include "render/output/glue_modes.h"

namespace {

struct Px {
  int32_t r, g, b;
};

Px Glue(int32_t mode, GlueForm form, Px res, Px unf) {
  GlueFunctionFor(mode, form)(res.r, res.g, res.b, unf.r, unf.g, unf.b);
  return res;
}

int32_t Glue8(int32_t mode, int32_t a, int32_t b) { return Glue(mode, GlueForm::Bits8, {a, a, a}, {b, b, b}).r; }
int32_t Glue16(int32_t mode, int32_t a, int32_t b) { return Glue(mode, GlueForm::Bits16, {a, a, a}, {b, b, b}).r; }

std::string Name(int32_t mode) { return std::to_string(mode) + " (" + FindGlueMode(mode)->keyword + ")"; }

double To8(int32_t v16) { return v16 * 255.0 / 32768.0; }

// Channel modes whose 8-bit answer, taken on the 8-bit values around the
// rescaled 16-bit inputs, brackets the rescaled 16-bit answer. Steep or
// stepped formulas (dodge, hard mix, vivid) thus only have to agree with
// some neighbour, not with one rounded point.
TEST(GlueModes16, ChannelModesAgreeWithThe8BitFormAfterScaling) {
  const int32_t modes[] = {
      GlueMode_Normal,     GlueMode_ProceduralPlus, GlueMode_ProceduralMinus, GlueMode_Difference,
      GlueMode_Lighten,    GlueMode_Darken,         GlueMode_Add,             GlueMode_Subtract,
      GlueMode_Multiply,   GlueMode_Screen,         GlueMode_HardLight,       GlueMode_Overlay,
      GlueMode_Superlay,   GlueMode_Exclusion,      GlueMode_LinearLight,     GlueMode_PinLight,
      GlueMode_SpinLight,  GlueMode_VividA,         GlueMode_VividB,          GlueMode_Similarity,
      GlueMode_Cross,      GlueMode_HardDiff,       GlueMode_SoftLight,       GlueMode_Dodge,
      GlueMode_Burn,       GlueMode_Ace,            GlueMode_King,            GlueMode_Queen,
      GlueMode_Jack,       GlueMode_Multibright,    GlueMode_Hot,             GlueMode_Cold,
      GlueMode_Wet,        GlueMode_Dry,            GlueMode_Up,              GlueMode_Down,
      GlueMode_HardMix,    GlueMode_Dextrous,       GlueMode_Screendim,
  };
  std::vector<std::pair<int32_t, int32_t>> pairs;
  const int32_t ends[] = {0, 1, 127, 128, 16383, 16384, 16385, 32640, 32767, 32768};
  for (int32_t a : ends)
    for (int32_t b : ends) pairs.push_back({a, b});
  std::mt19937 rng(11);
  std::uniform_int_distribution<int32_t> any(0, 32768);
  for (int32_t i = 0; i < 20000; ++i) pairs.push_back({any(rng), any(rng)});

  // The 8-bit form works with 256 as the whole of a 255 scale and puts
  // mid-scale between 127 and 128; the 16-bit form, on a power-of-two scale,
  // has neither skew, so the forms differ by a level or two, more where a
  // formula doubles a difference (two-stage, superlay, cross).
  auto tolerance = [](int32_t mode) {
    switch (mode) {
      case GlueMode_ProceduralPlus:
      case GlueMode_SoftLight:
      case GlueMode_VividA:
        return 3.0;
      case GlueMode_Wet:
      case GlueMode_Dry:
      case GlueMode_Up:
      case GlueMode_Down:
        return 4.0;
      case GlueMode_Superlay:
      case GlueMode_Cross:
        return 5.0;
      case GlueMode_Dodge:
      case GlueMode_Burn:
        return 6.0;
      default:
        return 2.0;
    }
  };
  for (int32_t mode : modes) {
    int32_t failures = 0;
    std::string first;
    const double tol = tolerance(mode);
    for (auto [a16, b16] : pairs) {
      // Dodge and burn divide by 256 - a and a + 1 in 8 bits, by 32768 - a
      // and a + 1 in 16 bits; near the zero of the divisor the quotients part
      // by far more than a level, so they are compared away from it.
      if (mode == GlueMode_Dodge && a16 > 25700) continue;
      if (mode == GlueMode_Burn && a16 < 7067) continue;
      const double a = To8(a16), b = To8(b16);
      int32_t lo = 1 << 30, hi = -1;
      for (int32_t a8 = static_cast<int32_t>(std::floor(a)); a8 <= static_cast<int32_t>(std::ceil(a)); ++a8) {
        for (int32_t b8 = static_cast<int32_t>(std::floor(b)); b8 <= static_cast<int32_t>(std::ceil(b)); ++b8) {
          const int32_t v = Glue8(mode, std::min(a8, 255), std::min(b8, 255));
          lo = std::min(lo, v);
          hi = std::max(hi, v);
        }
      }
      const double got = To8(Glue16(mode, a16, b16));
      if (got < lo - tol || got > hi + tol) {
        if (failures++ == 0) {
          first = "a=" + std::to_string(a16) + " b=" + std::to_string(b16) + " gives " + std::to_string(got) +
                  " outside 8-bit " + std::to_string(lo) + ".." + std::to_string(hi);
        }
      }
    }
    EXPECT_EQ(failures, 0) << "mode " << Name(mode) << ", first: " << first;
  }
}

// Whole-pixel modes: a 16-bit pixel pair and the same pair rounded to 8 bits
// give the same colour within a per-mode tolerance. The rounding moves the
// inputs by up to half a level, which the conversions magnify: the HSL
// modes by a few levels, the Lab modes (whose coarse tables are steep where
// they clip to the gamut) by more. Hues of near-grays and near-black or
// near-white pixels are meaningless, so those pairs are left out.
TEST(GlueModes16, PixelModesAgreeWithThe8BitForm) {
  struct Row {
    int32_t mode;
    double tolerance;
  };
  const Row rows[] = {
      {GlueMode_Color, 8},      {GlueMode_Luminance, 8}, {GlueMode_Saturation, 10}, {GlueMode_Hue, 10},
      {GlueMode_Bright, 1},     {GlueMode_Dim, 1},       {GlueMode_Wax, 4},         {GlueMode_Wane, 4},
      {GlueMode_North, 3},      {GlueMode_South, 3},     {GlueMode_East, 3},        {GlueMode_West, 3},
      {GlueMode_Frontal, 4},    {GlueMode_Parietal, 24}, {GlueMode_Temporal, 24},   {GlueMode_Occipital, 16},
      {GlueMode_Limbic, 16},    {GlueMode_Sinister, 12}, {GlueMode_Anterior, 5},    {GlueMode_Posterior, 5},
  };
  auto colourful = [](const Px& p) {
    float h, s, l;
    RGB_to_HSL(p.r / 32768.0f, p.g / 32768.0f, p.b / 32768.0f, h, s, l);
    return s >= 0.2f && l >= 0.1f && l <= 0.9f;
  };
  auto to8 = [](const Px& p) {
    auto c = [](int32_t v) { return static_cast<int32_t>(std::lround(v * 255.0 / 32768.0)); };
    return Px{c(p.r), c(p.g), c(p.b)};
  };
  auto luma = [](const Px& p) { return (77 * p.r + 150 * p.g + 28 * p.b) >> 8; };
  std::mt19937 rng(1);
  std::uniform_int_distribution<int32_t> any(0, 32768);
  for (const Row& row : rows) {
    int32_t compared = 0;
    for (int32_t i = 0; i < 5000; ++i) {
      const Px p = {any(rng), any(rng), any(rng)};
      const Px q = {any(rng), any(rng), any(rng)};
      if (!colourful(p) || !colourful(q)) continue;
      const Px p8 = to8(p), q8 = to8(q);
      // Bright and dim switch on a luminance comparison; near a tie the
      // rounding may switch it the other way.
      if (std::abs(luma(p8) - luma(q8)) <= 2) continue;
      const Px got = Glue(row.mode, GlueForm::Bits16, p, q);
      const Px want = Glue(row.mode, GlueForm::Bits8, p8, q8);
      const double err = std::max({std::fabs(To8(got.r) - want.r), std::fabs(To8(got.g) - want.g),
                                   std::fabs(To8(got.b) - want.b)});
      ASSERT_LE(err, row.tolerance) << "mode " << Name(row.mode) << " sample " << i;
      ++compared;
    }
    EXPECT_GT(compared, 3000) << Name(row.mode);
  }
}

// The bitwise modes work on the bits of the 16-bit values; 32768 has a bit
// of its own, so OR and XOR with it are taken back to full scale.
TEST(GlueModes16, BitwiseModesWorkOnTheBits) {
  EXPECT_EQ(Glue16(GlueMode_And, 0x5555, 0x0FF0), 0x0550);
  EXPECT_EQ(Glue16(GlueMode_Or, 0x5555, 0x0FF0), 0x5FF5);
  EXPECT_EQ(Glue16(GlueMode_Xor, 0x5555, 0x0FF0), 0x5AA5);
  EXPECT_EQ(Glue16(GlueMode_Or, 32768, 32767), 32768);
  EXPECT_EQ(Glue16(GlueMode_Xor, 32768, 1), 32768);
  EXPECT_EQ(Glue16(GlueMode_And, 32768, 32768), 32768);
}

TEST(GlueModes16, OwnFormulaRows) {
  struct Case {
    int32_t mode;
    int32_t a, b, want;
  };
  const Case cases[] = {
      // Vivid runs on 8-bit values: 32768 narrows to 255; 255 widens to 32768,
      // anything below as (v << 7) | (v >> 1).
      {GlueMode_VividA, 32768, 0, 0},
      {GlueMode_VividA, 32768, 16384, 32768},
      {GlueMode_VividA, 16384, 16384, (128 << 7) | 64},
      // Cross peaks where both channels are at mid-scale.
      {GlueMode_Cross, 16384, 16384, 32768},
      {GlueMode_Cross, 0, 16384, 0},
      // Dodge keeps a full-scale result; burn never divides by zero.
      {GlueMode_Dodge, 32768, 100, 32768},
      {GlueMode_Dodge, 32768, 0, 32768},
      {GlueMode_Dodge, 16384, 8192, 16384},
      {GlueMode_Burn, 0, 32768, 32768},
      {GlueMode_Burn, 0, 32767, 0},
      {GlueMode_King, 32768, 32768, 32768},
      {GlueMode_Queen, 32768, 0, 0},
      {GlueMode_Queen, 16384, 16384, (16384 * 32768) >> 15},
      {GlueMode_Jack, 0, 32768, 32768},
      {GlueMode_Jack, 32768, 0, 32768},
      {GlueMode_Multibright, 32768, 32768, 32768},
      {GlueMode_Multibright, 16384, 32768, 24576},
      {GlueMode_Screendim, 0, 0, 0},
      {GlueMode_Screendim, 32768, 0, 32768},
      // The 16-bit hard-mix threshold: mid-scale pairs still count as dark.
      {GlueMode_HardMix, 16384, 16384, 0},
      {GlueMode_HardMix, 16384, 16385, 32768},
      // Exclusion and difference share one 16-bit formula.
      {GlueMode_Exclusion, 32768, 0, 32768},
      {GlueMode_Difference, 32768, 0, 32768},
      {GlueMode_LinearLight, 16384, 0, 0},
      {GlueMode_LinearLight, 32768, 32768, 32768},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Glue16(c.mode, c.a, c.b), c.want) << "mode " << Name(c.mode) << " a=" << c.a << " b=" << c.b;
  }
  for (int32_t a = 0; a <= 32768; a += 97) {
    for (int32_t b = 0; b <= 32768; b += 89) {
      ASSERT_EQ(Glue16(GlueMode_Difference, a, b), Glue16(GlueMode_Exclusion, a, b)) << a << "," << b;
    }
  }
}

// Soft light's upper half runs on 8-bit values; over a white unfiltered
// pixel it would reach 32896, above full scale, so it is limited there.
TEST(GlueModes16, SoftLightIsLimitedToFullScale) {
  for (int32_t a = 16384; a <= 32768; ++a) {
    const int32_t v = Glue16(GlueMode_SoftLight, a, 32768);
    ASSERT_LE(v, 32768) << "a=" << a;
    ASSERT_GE(v, 32768 - 128) << "a=" << a;  // white stays white
  }
}

// Procedural + weighs the result by the triangle wave of the unfiltered
// value: at mid-scale the result passes nearly whole in both forms.
TEST(GlueModes16, ProceduralPlusHasThe8BitStrength) {
  for (int32_t a = 0; a <= 255; ++a) {
    const int32_t a16 = static_cast<int32_t>(std::lround(a * 32768.0 / 255.0));
    EXPECT_NEAR(Glue8(GlueMode_ProceduralPlus, a, 128), a, 1) << a;
    EXPECT_NEAR(To8(Glue16(GlueMode_ProceduralPlus, a16, 16384)), a, 1.0) << a;
  }
  // Over black and white unfiltered pixels the unfiltered value stays.
  EXPECT_EQ(Glue16(GlueMode_ProceduralPlus, 20000, 0), 0);
  EXPECT_EQ(Glue16(GlueMode_ProceduralPlus, 20000, 32768), 32768);
}

}  // namespace
