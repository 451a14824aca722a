// HSL conversions against Python's colorsys (reference values made by
// tools/make_hsl_reference.py), the perceptual twin by its round trip, and
// the HSL glue modes by the properties that define them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

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

bool Near(Px p, Px q, int32_t tol) {
  return std::abs(p.r - q.r) <= tol && std::abs(p.g - q.g) <= tol && std::abs(p.b - q.b) <= tol;
}

std::string Str(Px p) { return std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b); }

// Hue is a turn: 0 and 1 are the same red.
double HueDistance(double a, double b) {
  const double d = std::fabs(a - b);
  return std::min(d, 1.0 - d);
}

TEST(GlueHsl, ConversionsAgreeWithColorsys) {
  std::ifstream in(GYRELLE_TEST_DATA "/glue_hsl_reference.txt");
  ASSERT_TRUE(in) << "missing reference data";
  std::string line;
  int32_t forward = 0, inverse = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    char kind;
    double x[6];
    fields >> kind >> x[0] >> x[1] >> x[2] >> x[3] >> x[4] >> x[5];
    ASSERT_TRUE(fields) << line;
    if (kind == 'F') {
      float h, s, l;
      RGB_to_HSL(static_cast<float>(x[0]), static_cast<float>(x[1]), static_cast<float>(x[2]), h, s, l);
      // A gray has no hue: colorsys and we both say 0, but only s matters.
      if (x[4] > 0) {
        EXPECT_LE(HueDistance(h, x[3]), 1e-6) << line;
      }
      EXPECT_NEAR(s, x[4], 1e-6) << line;
      EXPECT_NEAR(l, x[5], 1e-6) << line;
      ++forward;
    } else {
      float r, g, b;
      HSL_to_RGB(static_cast<float>(x[0]), static_cast<float>(x[1]), static_cast<float>(x[2]), r, g, b);
      EXPECT_NEAR(r, x[3], 1e-6) << line;
      EXPECT_NEAR(g, x[4], 1e-6) << line;
      EXPECT_NEAR(b, x[5], 1e-6) << line;
      ++inverse;
    }
  }
  EXPECT_EQ(forward, 11 * 11 * 11);
  EXPECT_EQ(inverse, 24 * 9 * 9);
}

TEST(GlueHsl, HexconeEdgeCases) {
  float h, s, l, r, g, b;
  RGB_to_HSL(0, 0, 0, h, s, l);
  EXPECT_TRUE(h == 0 && s == 0 && l == 0);
  RGB_to_HSL(0.5f, 0.5f, 0.5f, h, s, l);
  EXPECT_TRUE(h == 0 && s == 0 && l == 0.5f);
  // Pure red comes out as a full turn, which the inverse reads as red.
  RGB_to_HSL(1, 0, 0, h, s, l);
  EXPECT_EQ(h, 1.0f);
  HSL_to_RGB(h, s, l, r, g, b);
  EXPECT_TRUE(r == 1 && g == 0 && b == 0) << r << " " << g << " " << b;
  for (float hue : {0.0f, 0.3f, 0.999f, 1.0f}) {
    for (float sat : {0.0f, 0.5f, 1.0f}) {
      HSL_to_RGB(hue, sat, 0, r, g, b);
      EXPECT_TRUE(r == 0 && g == 0 && b == 0) << hue << " " << sat;
    }
  }
}

TEST(GlueHsl, PerceptualPairKeepsGraysAndRoundTrips) {
  float h, s, l, r, g, b;
  Kyoto_RGB_to_HSL(0.25f, 0.25f, 0.25f, h, s, l);
  EXPECT_FLOAT_EQ(l, 0.25f);
  Kyoto_HSL_to_RGB(0.4f, 0.7f, 1.0f, r, g, b);
  EXPECT_TRUE(r == 1 && g == 1 && b == 1);
  Kyoto_HSL_to_RGB(0.4f, 0.7f, 1.5f, r, g, b);
  EXPECT_TRUE(r == 1 && g == 1 && b == 1);
  Kyoto_HSL_to_RGB(0.4f, 0.7f, 0.0f, r, g, b);
  EXPECT_TRUE(r == 0 && g == 0 && b == 0);
  Kyoto_HSL_to_RGB(0.4f, 0.7f, -0.1f, r, g, b);
  EXPECT_TRUE(r == 0 && g == 0 && b == 0);

  // Saturated blue is perceptually darker than saturated yellow.
  float lBlue, lYellow;
  Kyoto_RGB_to_HSL(0, 0, 1, h, s, lBlue);
  Kyoto_RGB_to_HSL(1, 1, 0, h, s, lYellow);
  EXPECT_LT(lBlue, lYellow);

  for (int32_t i = 0; i <= 10; ++i) {
    for (int32_t j = 0; j <= 10; ++j) {
      for (int32_t k = 0; k <= 10; ++k) {
        const float in[3] = {i / 10.0f, j / 10.0f, k / 10.0f};
        Kyoto_RGB_to_HSL(in[0], in[1], in[2], h, s, l);
        Kyoto_HSL_to_RGB(h, s, l, r, g, b);
        ASSERT_NEAR(r, in[0], 1e-5) << i << "," << j << "," << k;
        ASSERT_NEAR(g, in[1], 1e-5) << i << "," << j << "," << k;
        ASSERT_NEAR(b, in[2], 1e-5) << i << "," << j << "," << k;
      }
    }
  }
}

// A spread of 8-bit pixels: grays, primaries, darks, lights and mixtures.
template <class Fn>
void ForPixelPairs(Fn fn) {
  const int32_t levels[] = {0, 1, 37, 90, 127, 128, 200, 254, 255};
  for (int32_t r : levels)
    for (int32_t g : levels)
      for (int32_t b : levels) {
        const Px p = {r, g, b};
        fn(p, Px{g, b, r});
        fn(p, Px{255 - b, r, (g + 100) % 256});
      }
}

bool IsGray(Px p) { return p.r == p.g && p.g == p.b; }
int32_t Luma(Px p) { return (77 * p.r + 150 * p.g + 28 * p.b) >> 8; }

TEST(GlueHslModes, PixelGluedWithItselfStays) {
  const int32_t modes[] = {GlueMode_Hue, GlueMode_Saturation, GlueMode_Wax, GlueMode_Wane, GlueMode_Frontal};
  for (int32_t mode : modes) {
    ForPixelPairs([&](Px p, Px) {
      const Px got = Glue(mode, GlueForm::Bits8, p, p);
      ASSERT_TRUE(Near(got, p, 1)) << "mode " << mode << " pixel " << Str(p) << " gives " << Str(got);
    });
  }
}

TEST(GlueHslModes, GrayPartsGiveGrays) {
  ForPixelPairs([](Px p, Px q) {
    const Px gray = {q.g, q.g, q.g};
    // Hue of the result on a gray unfiltered pixel: nothing to take the hue to.
    Px got = Glue(GlueMode_Hue, GlueForm::Bits8, p, gray);
    ASSERT_TRUE(Near(got, gray, 1)) << "hue " << Str(p) << " on " << Str(gray) << " gives " << Str(got);
    // Saturation of a gray result makes the unfiltered pixel gray.
    got = Glue(GlueMode_Saturation, GlueForm::Bits8, gray, p);
    ASSERT_TRUE(IsGray(got) || Near(got, Px{got.g, got.g, got.g}, 1)) << Str(got);
    // Colour of a gray result: a gray of the unfiltered luminance.
    got = Glue(GlueMode_Color, GlueForm::Bits8, gray, p);
    const int32_t y = Luma(p);
    ASSERT_TRUE(Near(got, Px{y, y, y}, 1)) << "color " << Str(gray) << " on " << Str(p) << " gives " << Str(got);
    // Luminance of the result on a gray unfiltered pixel: a gray of that luminance.
    got = Glue(GlueMode_Luminance, GlueForm::Bits8, p, gray);
    const int32_t yr = Luma(p);
    ASSERT_TRUE(Near(got, Px{yr, yr, yr}, 1)) << "luminance " << Str(p) << " on " << Str(gray) << " gives " << Str(got);
  });
}

TEST(GlueHslModes, SaturationWeightedMixes) {
  ForPixelPairs([](Px p, Px q) {
    const Px gray = {p.r, p.r, p.r};
    // Wax takes the result by its saturation: none of a gray result.
    ASSERT_TRUE(Near(Glue(GlueMode_Wax, GlueForm::Bits8, gray, q), q, 1)) << Str(q);
    // Wane takes it by its lack of saturation: none of a pure mid-lightness colour.
    for (Px pure : {Px{255, 0, 0}, Px{0, 255, 255}, Px{255, 0, 255}}) {
      ASSERT_TRUE(Near(Glue(GlueMode_Wane, GlueForm::Bits8, pure, q), q, 1)) << Str(q);
      ASSERT_TRUE(Near(Glue(GlueMode_Wax, GlueForm::Bits8, pure, q), pure, 1)) << Str(q);
    }
  });
}

TEST(GlueHslModes, FrontalTakesTheDarkerLightness) {
  const float u = 1.0f / 255.0f;
  auto lightness = [&](Px p) {
    float h, s, l;
    RGB_to_HSL(p.r * u, p.g * u, p.b * u, h, s, l);
    return l;
  };
  ForPixelPairs([&](Px p, Px q) {
    const Px got = Glue(GlueMode_Frontal, GlueForm::Bits8, p, q);
    ASSERT_NEAR(lightness(got), std::min(lightness(p), lightness(q)), 1.5f / 255.0f)
        << Str(p) << " on " << Str(q) << " gives " << Str(got);
    // Over white the unfiltered chroma weighs nothing: the result stays.
    ASSERT_TRUE(Near(Glue(GlueMode_Frontal, GlueForm::Bits8, p, Px{255, 255, 255}), p, 1)) << Str(p);
  });
}

TEST(GlueHslModes, PseudocolorKeepsTheLeadingBlackAndWhite) {
  ForPixelPairs([](Px p, Px q) {
    if (IsGray(q) && (q.r == 0 || q.r == 255)) return;
    for (int32_t v : {0, 255}) {
      const Px bw = {v, v, v};
      ASSERT_TRUE(Near(Glue(GlueMode_Anterior, GlueForm::Bits8, bw, q), bw, 1)) << Str(q);
      ASSERT_TRUE(Near(Glue(GlueMode_Posterior, GlueForm::Bits8, q, bw), bw, 1)) << Str(q);
    }
  });
  // Anterior keeps the result's hue, posterior the unfiltered pixel's.
  const Px red = {200, 40, 40}, blue = {40, 40, 200};
  const Px ant = Glue(GlueMode_Anterior, GlueForm::Bits8, red, blue);
  const Px post = Glue(GlueMode_Posterior, GlueForm::Bits8, red, blue);
  EXPECT_GT(ant.r, ant.b) << Str(ant);
  EXPECT_GT(post.b, post.r) << Str(post);
}

TEST(GlueHslModes, SinisterFollowsTheLightnessRatio) {
  for (int32_t v = 1; v < 256; ++v) {
    // A black unfiltered pixel darkens everything to black ...
    EXPECT_TRUE(Near(Glue(GlueMode_Sinister, GlueForm::Bits8, Px{v, v / 2, 255 - v}, Px{0, 0, 0}), Px{0, 0, 0}, 0))
        << v;
    // ... and a gray on itself keeps no more than half its lightness: its
    // luminance Y = ((255 v) >> 8) / 255 is a shade below its lightness
    // v / 255, so the ratio is 0.5 Y / l.
    const Px got = Glue(GlueMode_Sinister, GlueForm::Bits8, Px{v, v, v}, Px{v, v, v});
    const int32_t want = static_cast<int32_t>(127.5 * ((255 * v) >> 8) / v);
    EXPECT_TRUE(Near(got, Px{want, want, want}, 1)) << v << " gives " << Str(got);
  }
  // Both black: the ratio of nothing to nothing is 1, white.
  EXPECT_TRUE(Near(Glue(GlueMode_Sinister, GlueForm::Bits8, Px{0, 0, 0}, Px{0, 0, 0}), Px{255, 255, 255}, 0));
}

}  // namespace
