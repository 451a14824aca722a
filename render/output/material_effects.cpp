#include "render/output/material_effects.h"

#include <cmath>

#include "render/rows/column_record.h"
#include "render/output/marble_tables.h"
#include "render/vort.h"

namespace {

constexpr int32_t kMarbleModeA = 139, kMarbleModeB = 143;
constexpr int32_t kSeamBlendInputMode = 26;
constexpr int32_t kFoldingSphereMode = 288;

// Two fixed lights: a warm key light from the upper right in front and a
// bluer fill from the upper left behind.
constexpr float kLight1[3] = {0.54f, 0.42f, 0.7293833f};
constexpr float kLight2[3] = {-0.48f, 0.66f, -0.5779273f};
constexpr float kFillBlueBoost = 1.7f;
constexpr float kDiffuseShare = 0.76f, kAmbient = 0.24f;
// The highlight starts where the normal is within about 8 degrees of a
// light (cosine 0.99) and reaches its full strength on the light.
constexpr float kHighlightStart = 0.99f;
constexpr float kHighlightScale = 99.99999999999991f;
constexpr float kHighlightStrength = 0.7f;
constexpr float kEnvironmentShare = 0.5f;
constexpr float kHalfPi = 1.5707963f;

constexpr float kRefractiveIndex = 1.58f;
constexpr float kInverseIndexSquared = 0.40057683063611593f;  // 1 / 1.58^2
constexpr float kBackFacingFresnel = 0.3364f;

constexpr float kGlueStripLightening = 0.6f;

constexpr int32_t kMarbleLast = 200;
constexpr int32_t kSkyLast = 20;

// -t clamped to -1..1; a NaN reads as t = 1.
float ClampedFlip(float t) {
  float s = -t;
  if (!(s > -1.0f)) s = -1.0f;
  if (s > 1.0f) s = 1.0f;
  return s;
}

float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A normal of unit length may give a cosine a rounding step beyond 1.
float ClampCosine(float d) { return d > 1.0f ? 1.0f : (d < -1.0f ? -1.0f : d); }

struct MarbleLight {
  float diffuse[3];
  float highlight;
};

MarbleLight LightMarble(const float n[3], const float light[3]) {
  const float d = ClampCosine(Dot(n, light));
  const float t = 1.0f - std::acos(d) / kHalfPi;
  MarbleLight m;
  m.diffuse[0] = Marblize(t, marbleness_r);
  m.diffuse[1] = Marblize(t, marbleness_g);
  m.diffuse[2] = Marblize(t, marbleness_b);
  float s = (d - kHighlightStart) * kHighlightScale;
  if (s < 0.0f) s = 0.0f;
  m.highlight = kHighlightStrength * s * s * s * s * s;
  return m;
}

void Marble(float colour[4], const float n[3]) {
  const MarbleLight a = LightMarble(n, kLight1), b = LightMarble(n, kLight2);
  for (int c = 0; c < 3; ++c) {
    const float fill = c == 2 ? kFillBlueBoost : 1.0f;
    colour[c] *= (a.diffuse[c] + fill * b.diffuse[c] * (1.0f - a.diffuse[c])) * kDiffuseShare + kAmbient;
    colour[c] += a.highlight + fill * b.highlight;
  }
  const float f = GetFresnel(n);
  float environment[3];
  get_enviroramp(n[1], environment);
  for (int c = 0; c < 3; ++c) colour[c] += (kEnvironmentShare * environment[c] - colour[c]) * f;
}

}  // namespace

float Marblize(float t, const float table[201]) {
  const float f = (ClampedFlip(t) + 1.0f) * 100.0f;
  int32_t i = int32_t(std::floor(f));
  if (i > kMarbleLast) i = kMarbleLast;
  const int32_t j = i < kMarbleLast ? i + 1 : kMarbleLast;
  return table[i] + (f - float(i)) * (table[j] - table[i]);
}

void get_enviroramp(float t, float rgb[3]) {
  const float f = (ClampedFlip(t) + 1.0f) * 10.0f;
  int32_t i = int32_t(std::floor(f));
  if (i > kSkyLast) i = kSkyLast;
  const int32_t j = i < kSkyLast ? i + 1 : kSkyLast;
  const float w = f - float(i);
  for (int c = 0; c < 3; ++c) {
    const float a = float(sky8bit[i][c]), b = float(sky8bit[j][c]);
    rgb[c] = (a + w * (b - a)) / 255.0f;
  }
}

float GetFresnel(const float normal[3]) {
  const float c = normal[2];
  if (!(c > 0.0f)) return kBackFacingFresnel;
  const float cr = c / kRefractiveIndex;
  const float g = std::sqrt(cr * cr + 1.0f - kInverseIndexSquared);
  const float ratio = (g - cr) / (g + cr);
  const float polar = (cr * (g + cr) - kInverseIndexSquared) / (cr * (g - cr) + kInverseIndexSquared);
  return 0.5f * ratio * ratio * (1.0f + polar * polar);
}

void ApplyMelFX(float colour[4], const vort& view, const TransformationReply& reply) {
  const int32_t region = reply.regionCode;
  if ((view.outputMode == kMarbleModeA || view.outputMode == kMarbleModeB) && region == kRegionSurface)
    Marble(colour, reply.normal);
  if (view.inputMode == kSeamBlendInputMode && region == kRegionSurface) colour[3] *= reply.blendWeight;
  if (view.outputMode == kFoldingSphereMode && region == kRegionGlueStrip) {
    for (int c = 0; c < 3; ++c) colour[c] += (1.0f - colour[c]) * kGlueStripLightening;
  }
}
