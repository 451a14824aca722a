// The surface material effects: the marble and sky tables, the lookups
// into them, the reflection factor, and which sample each effect touches.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/rows/column_record.h"
#include "render/output/marble_tables.h"
#include "render/output/material_effects.h"
#include "render/vort.h"

namespace {

// The known rows of the marble tables; the generator fills in the rest.
TEST(MarbleTables, KnownRowsZerosAndMonotony) {
  struct Row {
    int index;
    float r, g, b;
  };
  const Row rows[] = {{0, 0.9821f, 0.9908f, 0.9980f},   {20, 0.9340f, 0.9423f, 0.9492f},
                      {40, 0.7945f, 0.8016f, 0.8074f},  {60, 0.5772f, 0.5824f, 0.5866f},
                      {80, 0.3069f, 0.3064f, 0.3084f},  {100, 0.0760f, 0.0545f, 0.0252f},
                      {120, 0.0034f, 0.0002f, 0.0000f}};
  for (const Row& row : rows) {
    EXPECT_NEAR(marbleness_r[row.index], row.r, 0.00005f) << row.index;
    EXPECT_NEAR(marbleness_g[row.index], row.g, 0.00005f) << row.index;
    EXPECT_NEAR(marbleness_b[row.index], row.b, 0.00005f) << row.index;
  }
  struct Channel {
    const float* table;
    int zeroAt;
  };
  for (const Channel& c : {Channel{marbleness_r, 141}, Channel{marbleness_g, 129}, Channel{marbleness_b, 113}}) {
    for (int i = 0; i < kMarbleTableSize - 1; ++i) EXPECT_LE(c.table[i + 1], c.table[i]) << i;
    EXPECT_GT(c.table[c.zeroAt - 1], 0.0f);
    for (int i = c.zeroAt; i < kMarbleTableSize; ++i) EXPECT_EQ(c.table[i], 0.0f) << i;
    EXPECT_LE(c.table[0], 1.0f);
  }
}

TEST(MarbleTables, LookupEndsStayInsideTheTable) {
  // A table followed by a poisoned entry: no read may reach it.
  float table[kMarbleTableSize + 1];
  for (int i = 0; i < kMarbleTableSize; ++i) table[i] = 1.0f - float(i) / 200.0f;
  table[kMarbleTableSize] = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float t, want;
  };
  const Case cases[] = {{1.0f, 1.0f}, {5.0f, 1.0f}, {-1.0f, 0.0f}, {-7.0f, 0.0f}, {0.0f, 0.5f},
                        {0.5f, 0.75f}, {-0.995f, 0.0025f}, {-0.99999f, 0.000005f}};
  for (const Case& c : cases) EXPECT_NEAR(Marblize(c.t, table), c.want, 1e-6f) << "t " << c.t;
  EXPECT_EQ(Marblize(-1.0f, marbleness_r), marbleness_r[200]);
  EXPECT_EQ(Marblize(1.0f, marbleness_b), marbleness_b[0]);
  EXPECT_TRUE(std::isfinite(Marblize(std::numeric_limits<float>::quiet_NaN(), table)));
}

TEST(MarbleTables, EnvironmentRampFromZenithToNadir) {
  struct Case {
    float t;
    float want[3];  // 0..255
  };
  const Case cases[] = {
      {1.0f, {49, 107, 156}},    {3.0f, {49, 107, 156}},      // zenith
      {-1.0f, {13, 11, 10}},     {-2.0f, {13, 11, 10}},       // nadir
      {0.0f, {218, 226, 240}},                                // horizon: entry 10
      {0.95f, {50, 110, 159}},                                // halfway between entries 0 and 1
      {-0.35f, {(137 + 113) / 2.0f, (132 + 107) / 2.0f, (119 + 92) / 2.0f}},  // entry 13.5
  };
  for (const Case& c : cases) {
    float rgb[3];
    get_enviroramp(c.t, rgb);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(rgb[k] * 255.0f, c.want[k], 1e-3f) << "t " << c.t;
  }
}

TEST(Fresnel, BackFacingNormalAndNormalIncidence) {
  const float away[][3] = {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}, {0.6f, 0, -0.8f}};
  for (const auto& n : away) EXPECT_EQ(GetFresnel(n), 0.3364f);
  const float straight[3] = {0, 0, 1};
  // ((1.58 - 1) / (1.58 + 1))^2 for a head-on view.
  EXPECT_NEAR(GetFresnel(straight), 0.0505f, 1e-4f);
  EXPECT_NEAR(GetFresnel(straight), (0.58 / 2.58) * (0.58 / 2.58), 1e-5);
  // Glancing light reflects more than head-on light.
  const float glancing[3] = {0.99498744f, 0, 0.1f};
  const float oblique[3] = {0.6f, 0, 0.8f};
  EXPECT_GT(GetFresnel(glancing), GetFresnel(oblique));
  EXPECT_GT(GetFresnel(oblique), GetFresnel(straight));
}

// Each effect touches its own modes and regions only.
TEST(MaterialEffects, EachEffectFiresForItsOwnModeAndRegion) {
  enum Effect { None, Marble, SeamBlend, Lighten };
  struct Case {
    int32_t outputMode, inputMode, region;
    Effect effect;
  };
  const Case cases[] = {
      {139, 1, kRegionSurface, Marble},   {143, 1, kRegionSurface, Marble},   {139, 1, 0, None},
      {143, 1, kRegionGlueStrip, None},   {139, 1, kRegionVoid, None},        {134, 1, kRegionSurface, None},
      {1, 26, kRegionSurface, SeamBlend}, {1, 26, 0, None},                   {1, 26, kRegionGlueStrip, None},
      {288, 1, kRegionGlueStrip, Lighten}, {288, 1, kRegionSurface, None},    {1, 1, kRegionGlueStrip, None},
      {288, 26, kRegionGlueStrip, Lighten}, {1, 1, kRegionSurface, None},
  };
  const float start[4] = {0.5f, 0.25f, 0.75f, 0.8f};
  for (const Case& c : cases) {
    vort view{};
    view.outputMode = c.outputMode;
    view.inputMode = c.inputMode;
    TransformationReply reply;
    ResetTransformationReply(&reply);
    reply.regionCode = c.region;
    reply.blendWeight = 0.25f;
    reply.normal[0] = 0.3f, reply.normal[1] = 0.4f, reply.normal[2] = 0.8660254f;
    float colour[4] = {start[0], start[1], start[2], start[3]};
    ApplyMelFX(colour, view, reply);
    const std::string what =
        std::to_string(c.outputMode) + "/" + std::to_string(c.inputMode) + " region " + std::to_string(c.region);
    switch (c.effect) {
      case None:
        for (int k = 0; k < 4; ++k) EXPECT_EQ(colour[k], start[k]) << what;
        break;
      case Marble:
        EXPECT_NE(colour[0], start[0]) << what;
        EXPECT_EQ(colour[3], start[3]) << what;
        break;
      case SeamBlend:
        for (int k = 0; k < 3; ++k) EXPECT_EQ(colour[k], start[k]) << what;
        EXPECT_FLOAT_EQ(colour[3], 0.2f) << what;
        break;
      case Lighten:
        EXPECT_FLOAT_EQ(colour[0], 0.8f) << what;
        EXPECT_FLOAT_EQ(colour[1], 0.7f) << what;
        EXPECT_FLOAT_EQ(colour[2], 0.9f) << what;
        EXPECT_EQ(colour[3], start[3]) << what;
        break;
    }
  }
}

float MarbleOf(const float colour[4], const float normal[3], int c) {
  vort view{};
  view.outputMode = 139;
  view.inputMode = 1;
  TransformationReply reply;
  ResetTransformationReply(&reply);
  reply.regionCode = kRegionSurface;
  for (int k = 0; k < 3; ++k) reply.normal[k] = normal[k];
  float out[4] = {colour[0], colour[1], colour[2], colour[3]};
  ApplyMelFX(out, view, reply);
  return out[c];
}

TEST(MaterialEffects, MarbleLighting) {
  const float black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
  // Facing away from the viewer, lit by neither light's highlight: black
  // takes only the reflected horizon-to-nadir sky with the fixed factor.
  const float away[3] = {0, 0, -1};
  float sky[3];
  get_enviroramp(0.0f, sky);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(MarbleOf(black, away, c), 0.5f * sky[c] * 0.3364f, 1e-6f) << c;
  // Straight along the key light: the full highlight 0.7 on every channel
  // (the fill light is far off), then the reflection.
  const float key[3] = {0.54f, 0.42f, 0.7293833f};
  const float f = GetFresnel(key);
  get_enviroramp(key[1], sky);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(MarbleOf(black, key, c), 0.7f + (0.5f * sky[c] - 0.7f) * f, 1e-4f) << c;
  // Nothing clamps: a white surface under the highlight goes above 1.
  EXPECT_GT(MarbleOf(white, key, 0), 1.0f);
  // A normal a rounding step longer than 1 still lights (no NaN from acos).
  const float longKey[3] = {0.54f * 1.0000002f, 0.42f * 1.0000002f, 0.7293833f * 1.0000002f};
  EXPECT_TRUE(std::isfinite(MarbleOf(white, longKey, 0)));
}

}  // namespace
