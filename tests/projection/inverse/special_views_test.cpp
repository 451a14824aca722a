#include "projection/inverse/special_views.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "projection/render_hint.h"
#include "views_test_util.h"

namespace {

renderhinttype* BandHint(float lo, float hi) {
  static renderhinttype hint;
  hint.bandMinX = lo;
  hint.bandMaxX = hi;
  return &hint;
}

TEST(SkewedCoordinates, StaysInsideTheBandAndNetForEveryScale) {
  const renderhinttype* hint = BandHint(-0.7f, 1.3f);
  std::mt19937 gen(3);
  std::uniform_real_distribution<float> u(-50.0f, 50.0f);
  for (float scale : {0.5f, 1.0f, 2.0f, 3.0f, 7.0f}) {
    for (int i = 0; i < 2000; ++i) {
      float x, y;
      calc_skewed_coordinates(scale, -0.4f, 0.6f, u(gen), u(gen), &x, &y, hint);
      ASSERT_TRUE(x >= -0.7f && x < 1.3f) << x;
      ASSERT_TRUE(y >= -0.4f && y < 0.6f) << y;
    }
  }
  // A point that would round onto the upper edge wraps to the lower one.
  float x, y;
  calc_skewed_coordinates(1.0f, 0.0f, 1.0f, std::nextafter(1.0f, 0.0f), 0.0f, &x, &y, BandHint(0.0f, 1.0f));
  EXPECT_LT(x, 1.0f);
  EXPECT_GE(x, 0.0f);
}

TEST(SkewedCoordinates, ScaleTwoRepeatsTwice) {
  const renderhinttype* hint = BandHint(0.0f, 2.0f);
  for (float y0 : {0.05f, 0.3f}) {
    for (float x0 : {0.1f, 0.6f}) {
      float ax, ay, bx, by;
      calc_skewed_coordinates(2.0f, 0.0f, 1.0f, x0, y0, &ax, &ay, hint);
      // Half the band along x.
      calc_skewed_coordinates(2.0f, 0.0f, 1.0f, x0 + 1.0f, y0, &bx, &by, hint);
      EXPECT_NEAR(ax, bx, 1e-5);
      EXPECT_NEAR(ay, by, 1e-6);
      // Half the net's height along the sheared y (x moves with it).
      const float dy = 0.5f / 1.1547005384f;
      calc_skewed_coordinates(2.0f, 0.0f, 1.0f, x0 - 0.25f, y0 + dy, &bx, &by, hint);
      EXPECT_NEAR(ay, by, 1e-5);
      EXPECT_NEAR(ax, bx, 1e-5);
    }
  }
}

TEST(SkewedCoordinates, EmptyRangesGiveTheirLowerBound) {
  float x, y;
  // A hint with no triangles yet holds the reversed band (100, -100).
  calc_skewed_coordinates(1.0f, 0.5f, 0.5f, 0.3f, 0.2f, &x, &y, BandHint(100.0f, -100.0f));
  EXPECT_EQ(x, 100.0f);
  EXPECT_EQ(y, 0.5f);
}

TEST(AnamorphicMirror, HalvesTowardTheFrontAndNormalises) {
  const struct {
    float in[3];
    float want[3];
  } cases[] = {
      {{0, 0, 1}, {0, 0, 1}},
      {{0, 0, -1}, {0, 0, 1}},  // the zero vector becomes the picture centre
      {{1, 0, 0}, {0.70710677f, 0, 0.70710677f}},
      {{0, -1, 0}, {0, -0.70710677f, 0.70710677f}},
  };
  for (const auto& c : cases) {
    float p[3] = {c.in[0], c.in[1], c.in[2]};
    AnamorphicIntersect(p);
    EXPECT_TRUE(Near3(p, c.want, 1e-6));
  }
}

TEST(UnFishWarp, CentreBoundsAndFlag) {
  float a = 9, b = 9;
  uint8_t out = 0;
  DoUnFishWarp(0.0f, 0.0f, &a, &b, &out);
  EXPECT_EQ(a, 0.0f);
  EXPECT_EQ(b, 0.0f);
  EXPECT_EQ(out, 0);
  out = 1;  // an earlier verdict is not cleared
  DoUnFishWarp(0.1f, 0.1f, &a, &b, &out);
  EXPECT_EQ(out, 1);
  out = 0;
  DoUnFishWarp(0.0f, 0.6f, &a, &b, &out);
  EXPECT_EQ(out, 1);
  EXPECT_EQ(a, -1.0f);
  EXPECT_EQ(b, -1.0f);
  // Odd in both coordinates, and pulled toward the centre.
  float c, d;
  out = 0;
  DoUnFishWarp(0.3f, 0.2f, &a, &b, &out);
  DoUnFishWarp(-0.3f, -0.2f, &c, &d, &out);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(a, -c);
  EXPECT_EQ(b, -d);
  EXPECT_GT(a, 0.0f);
  EXPECT_LT(a, 0.3f);
  EXPECT_NEAR(b, std::atan(1.26) / 1.26 * std::sin(0.6) / 3.0, 1e-6);
}

TEST(FlatSheet, EquirectangularWithMirroredLongitude) {
  const struct {
    float x, y;
    uint8_t outside;
    float want[3];
  } cases[] = {
      {0.0f, 0.0f, 0, {0, 0, 1}},   {0.25f, 0.0f, 0, {-1, 0, 0}}, {-0.25f, 0.0f, 0, {1, 0, 0}},
      {0.0f, -0.5f, 0, {0, 1, 0}},  {0.5f, 0.0f, 0, {0, 0, -1}},  {0.6f, 0.0f, 1, {7, 7, 7}},
      {0.0f, -0.51f, 1, {7, 7, 7}}, {NAN, 0.0f, 1, {7, 7, 7}},
  };
  for (const auto& c : cases) {
    float p[3] = {7, 7, 7};
    uint8_t out = 9;
    transform_2D_equi_to_sphere(c.x, c.y, p, &out);
    EXPECT_EQ(out, c.outside) << c.x << " " << c.y;
    EXPECT_TRUE(Near3(p, c.want, 2e-6)) << c.x << " " << c.y;
  }
}

TEST(Predicates, MultiviewModes) {
  for (int m = 70; m <= 85; ++m) EXPECT_EQ(IsMultiview(m), m >= 75 && m <= 79) << m;
}

TEST(Predicates, NearestTetrahedronVertex) {
  const float top[3] = {0, 0, 1};
  EXPECT_EQ(NearestTetrahedronVertex(top), 3);
  const float v1[3] = {-0.47140452f, 0.8164966f, -0.33333334f};
  EXPECT_EQ(NearestTetrahedronVertex(v1), 1);
  const float v2[3] = {-0.5f, -0.8f, -0.3f};
  EXPECT_EQ(NearestTetrahedronVertex(v2), 2);
  // Ties go to the lower index: the nadir is as near to V0, V1 and V2, and
  // -x as near to V1 and V2.
  const float nadir[3] = {0, 0, -1};
  EXPECT_EQ(NearestTetrahedronVertex(nadir), 0);
  const float back[3] = {-1, 0, 0};
  EXPECT_EQ(NearestTetrahedronVertex(back), 1);
}

}  // namespace
