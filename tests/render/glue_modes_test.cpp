// Glue modes of both integer forms: every 8-bit per-channel mode against its
// formula written out here once more, over every pair of channel values; the
// whole-pixel modes against their rules or properties; the 16-bit form
// against the 8-bit form on the rescaled values.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "render/output/glue_channel.h"
#include "render/output/glue_modes.h"

namespace {

struct Px {
  int32_t r, g, b;
};

Px Glue(int32_t mode, GlueForm form, Px res, Px unf) {
  GlueFunctionFor(mode, form)(res.r, res.g, res.b, unf.r, unf.g, unf.b);
  return res;
}

int32_t Lim(int32_t v) { return std::clamp(v, 0, 255); }
int32_t Pin(int32_t x, int32_t y) { return x > 127 ? std::max(2 * x - 255, y) : std::min(2 * x, y); }
int32_t Hard(int32_t x, int32_t y) { return x > 127 ? 255 - (((255 - x) * (255 - y)) >> 7) : (x * y) >> 7; }
int32_t TwoStage(int32_t s1, int32_t s2) { return s1 < 128 ? std::min(2 * s1, s2) : std::max(2 * s1 - 255, s2); }

int32_t Superlay(int32_t a, int32_t b) {
  const int32_t s = 255 - ((a * b) >> 8);
  const int32_t q = (s * s) >> 8;
  const int32_t t = 255 - q;
  const int32_t u = 255 - (a + ((b * (255 - a)) >> 8));
  if (t > 127) return 255 - ((q * ((u * u) >> 8)) >> 7);
  return (t * (255 - ((u * u) >> 8))) >> 7;
}

float Ratio(float x, float y) {
  if (y > x) return y <= 0 ? 1.0f : std::min(1.0f, static_cast<float>(0.5 * x / y));
  return x <= 0 ? 1.0f : std::min(1.0f, static_cast<float>(1.0 - 0.5 * y / x));
}

struct ChannelCase {
  int32_t mode;
  std::function<int32_t(int32_t a, int32_t b)> expect;
};

// The 8-bit formulas, a the result's channel, b the unfiltered one.
const ChannelCase kChannelCases[] = {
    {GlueMode_Normal, [](int32_t a, int32_t) { return a; }},
    {GlueMode_ProceduralPlus,
     [](int32_t a, int32_t b) {
       const int32_t t = b < 128 ? 2 * b : 511 - 2 * b;
       return (t * a + (255 - t) * b) >> 8;
     }},
    {GlueMode_ProceduralMinus, [](int32_t a, int32_t b) { return std::min(a + ((a * b) >> 8), 255); }},
    {GlueMode_Difference, [](int32_t a, int32_t b) { return ((255 - a) * b + a * (255 - b)) >> 8; }},
    {GlueMode_Lighten, [](int32_t a, int32_t b) { return std::max(a, b); }},
    {GlueMode_Darken, [](int32_t a, int32_t b) { return std::min(a, b); }},
    {GlueMode_Add, [](int32_t a, int32_t b) { return std::min(a + b, 255); }},
    {GlueMode_Subtract, [](int32_t a, int32_t b) { return std::max(a - b, 0); }},
    {GlueMode_Multiply, [](int32_t a, int32_t b) { return (a * b) >> 8; }},
    {GlueMode_Screen, [](int32_t a, int32_t b) { return a + (((255 - a) * b) >> 8); }},
    {GlueMode_HardLight, [](int32_t a, int32_t b) { return Hard(a, b); }},
    {GlueMode_Overlay, [](int32_t a, int32_t b) { return Hard(b, a); }},
    {GlueMode_Superlay, Superlay},
    {GlueMode_Exclusion, [](int32_t a, int32_t b) { return ((256 - a) * b + a * (255 - b)) >> 8; }},
    {GlueMode_LinearLight,
     [](int32_t a, int32_t b) { return a < 128 ? std::max(b + 2 * a - 256, 0) : std::min(b + 2 * a - 255, 255); }},
    {GlueMode_PinLight, [](int32_t a, int32_t b) { return Pin(a, b); }},
    {GlueMode_SpinLight, [](int32_t a, int32_t b) { return Pin(b, a); }},
    {GlueMode_VividA,
     [](int32_t a, int32_t b) {
       return Lim(a < 128 ? 255 - ((255 - b) << 8) / (2 * a + 1) : (b << 8) / (511 - 2 * a));
     }},
    {GlueMode_VividB, [](int32_t a, int32_t b) { return Lim(2 * a - b); }},
    {GlueMode_Similarity, [](int32_t a, int32_t b) { return 255 - std::abs(a + b - 255); }},
    {GlueMode_Cross,
     [](int32_t a, int32_t b) { return Lim(255 - std::abs((a - 128) * (a - 128) / 64 - (b - 128) * (b - 128) / 64)); }},
    {GlueMode_HardDiff, [](int32_t a, int32_t b) { return std::abs(a - b); }},
    {GlueMode_SoftLight,
     [](int32_t a, int32_t b) {
       if (a < 128) return ((b * b / 256) * (128 - a) + a * b) >> 7;
       const int32_t c = 255 - b;
       return 255 - (((c * c / 256) * (a - 130) + c * (258 - a)) >> 7);
     }},
    {GlueMode_Dodge, [](int32_t a, int32_t b) { return Lim((b << 8) / (256 - a)); }},
    {GlueMode_Burn, [](int32_t a, int32_t b) { return Lim(255 - ((255 - b) << 8) / (a + 1)); }},
    {GlueMode_Ace, [](int32_t a, int32_t b) { return ((256 - a) * b + a * a) >> 8; }},
    {GlueMode_King, [](int32_t a, int32_t b) { return (b * (a - b + 256)) >> 8; }},
    {GlueMode_Queen, [](int32_t a, int32_t b) { return ((a + 1) * b + a * (255 - a)) >> 8; }},
    {GlueMode_Jack, [](int32_t a, int32_t b) { return ((b + 1) * b + (255 - b) * a) >> 8; }},
    {GlueMode_And, [](int32_t a, int32_t b) { return a & b; }},
    {GlueMode_Or, [](int32_t a, int32_t b) { return a | b; }},
    {GlueMode_Xor, [](int32_t a, int32_t b) { return a ^ b; }},
    {GlueMode_Multibright,
     [](int32_t a, int32_t b) {
       const float t = static_cast<float>(a * b) * 1.53787e-5f;
       return static_cast<int32_t>(t * (2.0f - t) * 255.0f);
     }},
    {GlueMode_Hot, [](int32_t a, int32_t b) { return TwoStage(Pin(b, a), Pin(b, 255 - a)); }},
    {GlueMode_Cold, [](int32_t a, int32_t b) { return TwoStage(Pin(a, b), Pin(a, 255 - b)); }},
    {GlueMode_Wet, [](int32_t a, int32_t b) { return TwoStage(Hard(b, a), Hard(255 - a, b)); }},
    {GlueMode_Dry, [](int32_t a, int32_t b) { return TwoStage(Hard(b, 255 - a), Hard(a, b)); }},
    {GlueMode_Up, [](int32_t a, int32_t b) { return TwoStage(Hard(a, b), Hard(b, a)); }},
    {GlueMode_Down, [](int32_t a, int32_t b) { return TwoStage(Hard(b, a), Hard(a, b)); }},
    {GlueMode_HardMix, [](int32_t a, int32_t b) { return a + b < 256 ? 0 : 255; }},
    {GlueMode_Dextrous,
     [](int32_t a, int32_t b) {
       const float u = 1.0f / 255.0f;
       return static_cast<int32_t>(Ratio(static_cast<float>(b) * u, static_cast<float>(a) * u) * 255.0f);
     }},
    {GlueMode_Screendim,
     [](int32_t a, int32_t b) {
       const float t = 1.0f - static_cast<float>((255 - a) * (255 - b)) * 1.53787e-5f;
       return static_cast<int32_t>(t * t * 255.0f);
     }},
};

std::string Name(int32_t mode) {
  const GlueModeRow* row = FindGlueMode(mode);
  return std::to_string(mode) + " (" + (row ? row->keyword : "?") + ")";
}

// Every pair (a, b) is met three times: as red, as green (roles swapped) and
// as blue (both complemented), so a mode that mixes up channels fails too.
TEST(GlueModes8, EveryChannelModeMatchesItsFormulaForEveryPair) {
  for (const ChannelCase& c : kChannelCases) {
    int32_t failures = 0;
    std::string first;
    for (int32_t a = 0; a < 256; ++a) {
      for (int32_t b = 0; b < 256; ++b) {
        const Px got = Glue(c.mode, GlueForm::Bits8, {a, b, 255 - a}, {b, a, 255 - b});
        const Px want = {c.expect(a, b), c.expect(b, a), c.expect(255 - a, 255 - b)};
        if (got.r != Lim(want.r) || got.g != Lim(want.g) || got.b != Lim(want.b)) {
          if (failures++ == 0) {
            first = "a=" + std::to_string(a) + " b=" + std::to_string(b) + " got " + std::to_string(got.r) + "," +
                    std::to_string(got.g) + "," + std::to_string(got.b) + " want " + std::to_string(want.r) + "," +
                    std::to_string(want.g) + "," + std::to_string(want.b);
          }
        }
      }
    }
    EXPECT_EQ(failures, 0) << "mode " << Name(c.mode) << ", first: " << first;
  }
}

// A formula that leaves 0..255 on its own would be hidden by the limit in
// the test above; the raw formulas of the 8-bit form stay in range.
TEST(GlueModes8, ChannelFormulasStayInRangeWithoutTheLimit) {
  for (const ChannelCase& c : kChannelCases) {
    for (int32_t a = 0; a < 256; ++a) {
      for (int32_t b = 0; b < 256; ++b) {
        const int32_t v = c.expect(a, b);
        ASSERT_TRUE(v >= 0 && v <= 255) << "mode " << Name(c.mode) << " a=" << a << " b=" << b << " gives " << v;
      }
    }
  }
}

TEST(GlueModes8, SymmetricModesDoNotCareWhichPixelIsTheResult) {
  const int32_t symmetric[] = {GlueMode_Difference, GlueMode_Lighten,  GlueMode_Darken,      GlueMode_Add,
                               GlueMode_Multiply,   GlueMode_Screen,   GlueMode_Similarity,  GlueMode_Cross,
                               GlueMode_HardDiff,   GlueMode_And,      GlueMode_Or,          GlueMode_Xor,
                               GlueMode_HardMix,    GlueMode_Multibright, GlueMode_Screendim};
  for (int32_t mode : symmetric) {
    for (int32_t a = 0; a < 256; ++a) {
      for (int32_t b = 0; b < a; ++b) {
        const Px ab = Glue(mode, GlueForm::Bits8, {a, a, a}, {b, b, b});
        const Px ba = Glue(mode, GlueForm::Bits8, {b, b, b}, {a, a, a});
        ASSERT_NEAR(ab.r, ba.r, 1) << "mode " << Name(mode) << " a=" << a << " b=" << b;
      }
    }
  }
}

// Modes that give back the result when the unfiltered pixel is some fixed
// value, or the unfiltered pixel for a fixed result.
TEST(GlueModes8, IdentityRows) {
  struct Row {
    int32_t mode;
    bool fixResult;  // true: the result is fixed and the unfiltered value must come out
    int32_t fixed;
    int32_t tolerance;
  };
  const Row rows[] = {
      {GlueMode_Multiply, false, 255, 1},  {GlueMode_Screen, false, 0, 0},    {GlueMode_Add, false, 0, 0},
      {GlueMode_Subtract, false, 0, 0},    {GlueMode_Difference, false, 0, 1}, {GlueMode_Lighten, false, 0, 0},
      {GlueMode_Darken, false, 255, 0},    {GlueMode_HardLight, true, 128, 2}, {GlueMode_Overlay, false, 128, 2},
      {GlueMode_PinLight, true, 128, 1},   {GlueMode_SpinLight, false, 128, 1}, {GlueMode_Or, false, 0, 0},
      {GlueMode_And, false, 255, 0},       {GlueMode_Xor, false, 0, 0},       {GlueMode_Dodge, true, 0, 0},
      {GlueMode_Burn, true, 255, 0},       {GlueMode_LinearLight, true, 128, 1},
  };
  for (const Row& row : rows) {
    for (int32_t v = 0; v < 256; ++v) {
      const Px got = row.fixResult ? Glue(row.mode, GlueForm::Bits8, {row.fixed, row.fixed, row.fixed}, {v, v, v})
                                   : Glue(row.mode, GlueForm::Bits8, {v, v, v}, {row.fixed, row.fixed, row.fixed});
      ASSERT_NEAR(got.r, v, row.tolerance) << "mode " << Name(row.mode) << " v=" << v;
    }
  }
}

// The documented cases, each worked out by hand.
TEST(GlueModes8, WorkedCases) {
  struct Case {
    int32_t mode;
    int32_t a, b, want;
  };
  const Case cases[] = {
      {GlueMode_HardMix, 128, 127, 0},
      {GlueMode_HardMix, 128, 128, 255},
      {GlueMode_Dodge, 255, 200, 255},
      {GlueMode_ProceduralPlus, 200, 128, (255 * 200) >> 8},
      {GlueMode_Hot, 0, 200, 255},
      {GlueMode_Cross, 0, 128, 0},
      {GlueMode_Cross, 128, 128, 255},
      {GlueMode_Dextrous, 100, 100, 127},
      {GlueMode_Dextrous, 0, 0, 255},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Glue(c.mode, GlueForm::Bits8, {c.a, c.a, c.a}, {c.b, c.b, c.b}).r, c.want)
        << "mode " << Name(c.mode) << " a=" << c.a << " b=" << c.b;
  }
  EXPECT_FLOAT_EQ(weirdRatio(0.4f, 0.2f), 0.75f);
  EXPECT_FLOAT_EQ(weirdRatio(0.2f, 0.4f), 0.25f);
  EXPECT_FLOAT_EQ(weirdRatio(0.0f, 0.0f), 1.0f);
  EXPECT_FLOAT_EQ(weirdRatio(-0.5f, -0.2f), 1.0f);
}

int32_t Luma(Px p) { return (77 * p.r + 150 * p.g + 28 * p.b) >> 8; }

// Bright and dim take the whole unfiltered pixel or none of it.
TEST(GlueModes8, BrightAndDimChooseWholePixelsByLuminance) {
  // Darker by luminance, though its red is the brighter channel.
  const Px res = {250, 10, 10};
  const Px unf = {100, 100, 100};
  ASSERT_LT(Luma(res), Luma(unf));
  const Px bright = Glue(GlueMode_Bright, GlueForm::Bits8, res, unf);
  EXPECT_EQ(bright.r, 100);
  EXPECT_EQ(bright.g, 100);
  EXPECT_EQ(bright.b, 100);
  const Px dim = Glue(GlueMode_Dim, GlueForm::Bits8, res, unf);
  EXPECT_EQ(dim.r, 250);
  EXPECT_EQ(dim.g, 10);

  for (int32_t a = 0; a < 256; ++a) {
    for (int32_t b = 0; b < 256; ++b) {
      const Px p = {a, b, 255 - a};
      const Px q = {b, 255 - b, a};
      const Px hi = Glue(GlueMode_Bright, GlueForm::Bits8, p, q);
      const Px lo = Glue(GlueMode_Dim, GlueForm::Bits8, p, q);
      // Ties keep the result in both modes.
      const Px wantHi = Luma(p) < Luma(q) ? q : p;
      const Px wantLo = Luma(p) > Luma(q) ? q : p;
      ASSERT_TRUE(hi.r == wantHi.r && hi.g == wantHi.g && hi.b == wantHi.b) << a << "," << b;
      ASSERT_TRUE(lo.r == wantLo.r && lo.g == wantLo.g && lo.b == wantLo.b) << a << "," << b;
    }
  }
}

// Compass modes: each channel moves towards the unfiltered one, weighted by
// a neighbouring channel taken before the call.
TEST(GlueModes8, CompassModesWeighByTheNamedChannels) {
  auto toward = [](int32_t x, int32_t target, int32_t w) { return ((256 - w) * x + w * target) >> 8; };
  struct Case {
    int32_t mode;
    std::function<Px(Px, Px)> expect;
  };
  const Case cases[] = {
      {GlueMode_North,
       [&](Px p, Px u) { return Px{toward(p.r, u.r, p.g), toward(p.g, u.g, p.b), toward(p.b, u.b, p.r)}; }},
      {GlueMode_South,
       [&](Px p, Px u) { return Px{toward(p.r, u.r, p.b), toward(p.g, u.g, p.r), toward(p.b, u.b, p.g)}; }},
      {GlueMode_East,
       [&](Px p, Px u) { return Px{toward(p.r, u.r, u.g), toward(p.g, u.g, u.b), toward(p.b, u.b, u.r)}; }},
      {GlueMode_West,
       [&](Px p, Px u) { return Px{toward(p.r, u.r, u.b), toward(p.g, u.g, u.r), toward(p.b, u.b, u.g)}; }},
  };
  for (const Case& c : cases) {
    for (int32_t a = 0; a < 256; ++a) {
      for (int32_t b = 0; b < 256; b += 3) {
        const Px p = {a, b, (a * 7 + b) & 255};
        const Px u = {255 - b, (a + 3 * b) & 255, a ^ b};
        const Px got = Glue(c.mode, GlueForm::Bits8, p, u);
        const Px want = c.expect(p, u);
        ASSERT_TRUE(got.r == want.r && got.g == want.g && got.b == want.b)
            << "mode " << Name(c.mode) << " a=" << a << " b=" << b;
      }
    }
  }
}

TEST(GlueModeTable, NumbersOutsideTheTableLeaveTheResult) {
  for (int32_t mode : {-1, 0, 1, 63, 64, 1000}) {
    for (GlueForm form : {GlueForm::Bits8, GlueForm::Bits16}) {
      const Px got = Glue(mode, form, {10, 200, 30}, {90, 90, 90});
      EXPECT_TRUE(got.r == 10 && got.g == 200 && got.b == 30) << "mode " << mode;
    }
    EXPECT_TRUE(IsGlueIdentity(mode)) << mode;
  }
  EXPECT_FALSE(IsGlueIdentity(GlueMode_Multiply));
  EXPECT_EQ(FindGlueMode(0), nullptr);
  EXPECT_EQ(FindGlueMode(63), nullptr);
}

TEST(GlueModeTable, RowsRunInModeOrderWithTheirKeywords) {
  const auto table = GlueModeTable();
  ASSERT_EQ(static_cast<int32_t>(table.size()), 62);
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].mode, static_cast<int32_t>(i) + 1);
    EXPECT_NE(table[i].glue8, nullptr) << i;
    EXPECT_NE(table[i].glue16, nullptr) << i;
    EXPECT_NE(table[i].keyword, nullptr) << i;
  }
  EXPECT_STREQ(FindGlueMode(GlueMode_ProceduralPlus)->keyword, "procedural +");
  EXPECT_STREQ(FindGlueMode(GlueMode_HardMix)->keyword, "hard mix");
  EXPECT_STREQ(FindGlueMode(GlueMode_Screendim)->keyword, "screendim");
  EXPECT_STREQ(FindGlueMode(GlueMode_Occipital)->keyword, "occipital");
}

// Whatever the mode and the pixels, a glued channel stays within full scale.
TEST(GlueModes, EveryModeStaysWithinFullScale) {
  std::mt19937 rng(7);
  for (GlueForm form : {GlueForm::Bits8, GlueForm::Bits16}) {
    const int32_t full = GlueFullScale(form);
    std::uniform_int_distribution<int32_t> any(0, full);
    const int32_t ends[] = {0, 1, full / 2, full / 2 + 1, full - 1, full};
    for (int32_t mode = 1; mode <= 62; ++mode) {
      for (int32_t i = 0; i < 4000; ++i) {
        Px p, u;
        if (i < 216) {  // every combination of end values on two channels
          p = {ends[i % 6], ends[(i / 6) % 6], ends[(i / 36) % 6]};
          u = {ends[(i / 36) % 6], ends[i % 6], ends[(i / 6) % 6]};
        } else {
          p = {any(rng), any(rng), any(rng)};
          u = {any(rng), any(rng), any(rng)};
        }
        const Px got = Glue(mode, form, p, u);
        for (int32_t v : {got.r, got.g, got.b}) {
          ASSERT_TRUE(v >= 0 && v <= full) << "mode " << Name(mode) << " form " << full << " gives " << v;
        }
      }
    }
  }
}

}  // namespace
