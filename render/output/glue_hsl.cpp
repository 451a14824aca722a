#include "render/output/glue_hsl.h"

#include <algorithm>
#include <cmath>

#include "render/output/glue_channel.h"

namespace {

constexpr float kTurnF = 6.2831855f;       // 2 pi as the f32 the result's hue angle uses
constexpr double kTurnD = 6.283185307;     // 2 pi as the double the other angles use

// The colour of hue h on the hexcone between the extreme value v and the
// floor m (the last two steps of the inverse conversion). Hue 1.0 (sextant 6)
// is red again.
void HexconeColor(float h, float v, float m, float& red, float& green, float& blue) {
  const float sv = (v - m) / v;
  const float h6 = 6.0f * h;
  const int32_t n = static_cast<int32_t>(h6);
  const float f = h6 - static_cast<float>(n);
  const float vsf = v * sv * f;
  const float mid1 = m + vsf;
  const float mid2 = v - vsf;
  switch (n) {
    case 1: red = mid2; green = v; blue = m; break;
    case 2: red = m; green = v; blue = mid1; break;
    case 3: red = m; green = mid2; blue = v; break;
    case 4: red = mid1; green = m; blue = v; break;
    case 5: red = v; green = m; blue = mid2; break;
    default: red = v; green = mid1; blue = m; break;
  }
}

// Luminance of the pure colour of hue h at saturation s and lightness 0.5:
// the perceptual lightness scale is anchored there, so a saturated blue
// counts as darker than a saturated yellow of the same hexcone lightness.
float PureColorLuminance(float h, float s) {
  const float v = (1.0f + s) * 0.5f;
  float pr, pg, pb;
  HexconeColor(h, v, 1.0f - v, pr, pg, pb);
  return static_cast<float>(0.28 * pr + 0.52 * pg + 0.2 * pb);
}

// The glue module keeps its own polar pair so that it needs nothing from the
// geometry code; hue angles need no more than plain f32 accuracy.
void ChromaFromPolar(float& x, float& y, float angle, float radius) {
  x = std::cos(angle) * radius;
  y = radius * std::sin(angle);
}

void PolarFromChroma(float x, float y, float& angle, float& radius) {
  if (x == 0.0f && y == 0.0f) {
    angle = 3.1415927f;
  } else {
    angle = std::atan2(y, x);
    if (angle < 0.0f) angle += kTurnF;
  }
  radius = std::sqrt(x * x + y * y);
}

struct UnitColor {
  float red, green, blue;
};

UnitColor ToUnit(int32_t r, int32_t g, int32_t b, float unit) {
  return {static_cast<float>(r) * unit, static_cast<float>(g) * unit, static_cast<float>(b) * unit};
}

int32_t ToChannel(float v, int32_t full) { return GlueLimit(static_cast<int32_t>(static_cast<float>(full) * v), full); }

void Store(const UnitColor& c, int32_t& r, int32_t& g, int32_t& bl, int32_t full) {
  r = ToChannel(c.red, full);
  g = ToChannel(c.green, full);
  bl = ToChannel(c.blue, full);
}

float Luminance(int32_t R, int32_t G, int32_t B, float unit) {
  return unit * static_cast<float>((77 * R + 150 * G + 28 * B) >> 8);
}

struct Hsl {
  float h, s, l;
};

Hsl KyotoOf(int32_t r, int32_t g, int32_t b, float unit) {
  const UnitColor c = ToUnit(r, g, b, unit);
  Hsl out;
  Kyoto_RGB_to_HSL(c.red, c.green, c.blue, out.h, out.s, out.l);
  return out;
}

Hsl HexconeOf(int32_t r, int32_t g, int32_t b, float unit) {
  const UnitColor c = ToUnit(r, g, b, unit);
  Hsl out;
  RGB_to_HSL(c.red, c.green, c.blue, out.h, out.s, out.l);
  return out;
}

void StoreKyoto(float h, float s, float l, int32_t& r, int32_t& g, int32_t& bl, int32_t full) {
  UnitColor c;
  Kyoto_HSL_to_RGB(h, s, l, c.red, c.green, c.blue);
  Store(c, r, g, bl, full);
}

// 0 at mid lightness, 1 at black and white: how little room the lightness
// leaves for chroma.
float Extremity(float l) { return std::fabs(2.0f * l - 1.0f); }
float ChromaRoom(float l) {
  const float e = Extremity(l);
  return 1.0f - e * e * e * e;
}

void MixBySaturation(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit,
                     bool towardSaturated) {
  const Hsl hsl = HexconeOf(r, g, bl, unit);
  const float k = ChromaRoom(hsl.l) * (towardSaturated ? hsl.s : 1.0f - hsl.s);
  const auto mix = [&](int32_t a, int32_t b) {
    return GlueLimit(static_cast<int32_t>(k * static_cast<float>(a) + (1.0f - k) * static_cast<float>(b)), full);
  };
  r = mix(r, R);
  g = mix(g, G);
  bl = mix(bl, B);
}

}  // namespace

void RGB_to_HSL(float red, float green, float blue, float& h, float& s, float& l) {
  const float mx = std::max(red, std::max(green, blue));
  const float mn = std::min(red, std::min(green, blue));
  l = (mx + mn) * 0.5f;
  h = 0.0f;
  s = 0.0f;
  if (!(l > 0.0f)) return;
  const float d = mx - mn;
  s = d;
  if (!(d > 0.0f)) return;
  s = l <= 0.5f ? d / (mx + mn) : d / (2.0f - mx - mn);
  const float rc = (mx - red) / d;
  const float gc = (mx - green) / d;
  const float bc = (mx - blue) / d;
  if (red == mx) {
    h = green == mn ? 5.0f + bc : 1.0f - gc;
  } else if (green == mx) {
    h = blue == mn ? 1.0f + rc : 3.0f - bc;
  } else {
    h = red == mn ? 3.0f + gc : 5.0f - rc;
  }
  h /= 6.0f;
}

void HSL_to_RGB(float h, float s, float l, float& red, float& green, float& blue) {
  const float v = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
  if (!(v > 0.0f)) {
    red = green = blue = 0.0f;
    return;
  }
  HexconeColor(h, v, 2.0f * l - v, red, green, blue);
}

void Kyoto_RGB_to_HSL(float red, float green, float blue, float& h, float& s, float& l) {
  RGB_to_HSL(red, green, blue, h, s, l);
  const float p = PureColorLuminance(h, s);
  l = l <= 0.5f ? 2.0f * l * p : p + (2.0f * l - 1.0f) * (1.0f - p);
}

void Kyoto_HSL_to_RGB(float h, float s, float l, float& red, float& green, float& blue) {
  const float p = std::clamp(PureColorLuminance(h, s), 0.0f, 1.0f);
  float plain;
  if (l >= 1.0f) {
    plain = 1.0f;
  } else if (l <= 0.0f) {
    plain = 0.0f;
  } else if (l <= p) {
    plain = l / p * 0.5f;
  } else {
    plain = static_cast<float>((static_cast<double>(l) - p) / (1.0 - p) * 0.5 + 0.5);
  }
  HSL_to_RGB(h, s, plain, red, green, blue);
}

void HueGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit) {
  const Hsl res = KyotoOf(r, g, bl, unit);
  const Hsl unf = KyotoOf(R, G, B, unit);
  StoreKyoto(res.h, unf.s, unf.l, r, g, bl, full);
}

void SatGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit) {
  const Hsl res = KyotoOf(r, g, bl, unit);
  const Hsl unf = KyotoOf(R, G, B, unit);
  StoreKyoto(unf.h, res.s, unf.l, r, g, bl, full);
}

void ColorGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit) {
  const Hsl res = KyotoOf(r, g, bl, unit);
  StoreKyoto(res.h, res.s, Luminance(R, G, B, unit), r, g, bl, full);
}

void LumGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit) {
  const float y = Luminance(r, g, bl, unit);
  const Hsl unf = KyotoOf(R, G, B, unit);
  StoreKyoto(unf.h, unf.s, y, r, g, bl, full);
}

void GlueMaxSat(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit) {
  MixBySaturation(r, g, bl, R, G, B, full, unit, true);
}

void GlueMinSat(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit) {
  MixBySaturation(r, g, bl, R, G, B, full, unit, false);
}

void GlueFrontal(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit) {
  const Hsl res = HexconeOf(r, g, bl, unit);
  const Hsl unf = HexconeOf(R, G, B, unit);
  float x1, y1, x2, y2;
  ChromaFromPolar(x1, y1, kTurnF * res.h, res.s);
  ChromaFromPolar(x2, y2, static_cast<float>(kTurnD * unf.h), unf.s);
  // Where either pixel is near black or white its chroma means little, so
  // the result's chroma stays.
  const float w = ChromaRoom(res.l) * ChromaRoom(unf.l);
  float angle, radius;
  PolarFromChroma(x1 + w * (x2 - x1), y1 + w * (y2 - y1), angle, radius);
  UnitColor c;
  HSL_to_RGB(static_cast<float>(angle / kTurnD), radius, std::min(res.l, unf.l), c.red, c.green, c.blue);
  Store(c, r, g, bl, full);
}

void LumRatioGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit) {
  const Hsl res = KyotoOf(r, g, bl, unit);
  StoreKyoto(res.h, res.s, weirdRatio(Luminance(R, G, B, unit), res.l), r, g, bl, full);
}

void PseudocolorGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit,
                        int32_t leadByResult) {
  const Hsl res = KyotoOf(r, g, bl, unit);
  const Hsl unf = KyotoOf(R, G, B, unit);
  const Hsl& lead = leadByResult ? res : unf;
  const float k = lead.l;
  const double t = static_cast<double>(res.l) * unf.l;
  float l = static_cast<float>(t * (2.0 - t));
  // Near the ends the leading lightness takes over, so its black and white
  // survive the screen-like product.
  if (k > 0.8f) {
    l = l + (k - 0.8f) * 5.0f * (k - l);
  } else if (k < 0.2f) {
    l = l + (0.2f - k) * 5.0f * (k - l);
  }
  StoreKyoto(lead.h, lead.s, std::clamp(l, 0.0f, 1.0f), r, g, bl, full);
}
