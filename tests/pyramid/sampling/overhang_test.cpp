#include <gtest/gtest.h>

#include <cmath>

#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_overhang.h"

namespace {

PyramidDescriptor WithTopLevel(int32_t top) {
  PyramidDescriptor p{};
  p.topLevel = top;
  return p;
}

// Direction on the sphere of an equirectangular point, with the latitude
// allowed past the poles (the great circle through the pole goes on).
void Direction(float u, float v, double out[3]) {
  const double lon = (double(u) - 0.5) * 2.0 * M_PI, lat = (0.5 - double(v)) * M_PI;
  out[0] = std::cos(lat) * std::sin(lon);
  out[1] = std::sin(lat);
  out[2] = std::cos(lat) * std::cos(lon);
}

}  // namespace

TEST(Overhang, CoordinatesByMode) {
  struct Case {
    const char* what;
    int32_t mode;
    float u, v, level;
    float expectU, expectV, expectLevel;
    int32_t expectEmpty;
  };
  const Case cases[] = {
      {"u = 1 is inside, whatever the mode", 1, 1.0f, 0.5f, 0, 1.0f, 0.5f, 0, 0},
      {"u = 1 inside, pole fold", 7, 1.0f, 0.5f, 0, 1.0f, 0.5f, 0, 0},
      {"empty: outside", 1, 0.5f, 1.0f, 0, 0.5f, 1.0f, 0, 1},
      {"empty: inside", 1, 0.5f, 0.5f, 0, 0.5f, 0.5f, 0, 0},
      {"clamp keeps v = 1", 3, 0.5f, 1.0f, 0, 0.5f, 1.0f, 0, 0},
      {"clamp both", 3, -0.3f, 1.7f, 0, 0.0f, 1.0f, 0, 0},
      {"clamp blurred raises the level", 2, -0.25f, 0.5f, 1, 0.0f, 0.5f, 3, 0},
      {"clamp blurred, overshoot capped at 1", 2, 0.5f, 3.0f, 1, 0.5f, 1.0f, 9, 0},
      {"wrap x, clamp v", 4, 1.25f, 1.5f, 0, 0.25f, 1.0f, 0, 0},
      {"wrap x from the left", 4, -0.25f, 0.5f, 0, 0.75f, 0.5f, 0, 0},
      {"wrap both: v = 1 to 0", 5, 0.5f, 1.0f, 0, 0.5f, 0.0f, 0, 0},
      {"wrap both: u = -1 to 1", 5, -1.0f, 0.5f, 0, 1.0f, 0.5f, 0, 0},
      {"wrap by floor: u = -1 to 0", 6, -1.0f, 0.5f, 0, 0.0f, 0.5f, 0, 0},
      {"wrap by floor", 6, -0.25f, 1.5f, 0, 0.75f, 0.5f, 0, 0},
      {"pole fold at v = 1", 7, 0.5f, 1.0f, 0, 0.0f, 1.0f, 0, 0},
      {"pole fold over the top turns half way round", 7, 0.1f, -0.2f, 0, 0.6f, 0.2f, 0, 0},
      {"pole fold over the bottom", 7, 0.75f, 1.25f, 0, 0.25f, 0.75f, 0, 0},
      {"pole fold over both poles: back where it was", 7, 0.3f, 2.25f, 0, 0.3f, 0.25f, 0, 0},
      {"unknown mode leaves it", 9, -3.0f, 7.0f, 0, -3.0f, 7.0f, 0, 0},
  };
  const PyramidDescriptor p = WithTopLevel(9);
  for (const Case& c : cases) {
    float u = c.u, v = c.v, level = c.level;
    EXPECT_EQ(OverhangizeCoordinates(&u, &v, &level, c.mode, &p), c.expectEmpty) << c.what;
    EXPECT_NEAR(u, c.expectU, 1e-6f) << c.what;
    EXPECT_NEAR(v, c.expectV, 1e-6f) << c.what;
    EXPECT_NEAR(level, c.expectLevel, 1e-6f) << c.what;
  }
}

// Past a pole the picture must go on with the same part of the sphere: the
// folded point and the point beyond the pole are one direction.
TEST(Overhang, PoleFoldKeepsTheDirection) {
  const PyramidDescriptor p = WithTopLevel(5);
  for (const float u : {0.0f, 0.1f, 0.3f, 0.5f, 0.8f, 0.95f}) {
    for (const float v : {-0.3f, -0.05f, 1.05f, 1.4f}) {
      float fu = u, fv = v, level = 0;
      OverhangizeCoordinates(&fu, &fv, &level, OverhangMode_PoleFold, &p);
      double a[3], b[3];
      Direction(u, v, a);
      Direction(fu, fv, b);
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[i], b[i], 1e-5) << u << ", " << v;
      EXPECT_TRUE(fu >= 0.0f && fu < 1.0f && fv >= 0.0f && fv <= 1.0f) << fu << ", " << fv;
    }
  }
}

TEST(Overhang, NonFiniteCoordinatesNeverTrap) {
  const PyramidDescriptor p = WithTopLevel(5);
  for (int32_t mode = 0; mode <= 8; ++mode) {
    for (const float bad : {INFINITY, -INFINITY, 3e38f, -3e38f}) {
      float u = bad, v = 0.5f, level = 0;
      OverhangizeCoordinates(&u, &v, &level, mode, &p);
      u = 0.5f, v = bad;
      OverhangizeCoordinates(&u, &v, &level, mode, &p);
    }
  }
}

TEST(Overhang, FootprintDifferences) {
  struct Case {
    const char* what;
    int32_t mode;
    float d[4];  // duX, dvX, duY, dvY
    float expect[4];
    uint8_t discontinuous;
  };
  const Case cases[] = {
      {"wrap x folds u the short way", 4, {0.9f, 0.1f, -0.8f, 0.2f}, {-0.1f, 0.1f, 0.2f, 0.2f}, 0},
      {"wrap x: a long v difference straddles", 4, {0.1f, 0.7f, 0.0f, 0.0f}, {0.1f, 0.7f, 0.0f, 0.0f}, 1},
      {"pole fold folds u only", 7, {0.9f, 0.6f, 0.0f, 0.0f}, {-0.1f, 0.6f, 0.0f, 0.0f}, 1},
      {"clamp keeps 0.9 and flags it", 3, {0.9f, 0.0f, 0.0f, 0.0f}, {0.9f, 0.0f, 0.0f, 0.0f}, 1},
      {"clamp, short footprint", 3, {0.4f, -0.4f, 0.5f, 0.0f}, {0.4f, -0.4f, 0.5f, 0.0f}, 0},
      {"empty flags too", 1, {0.0f, 0.0f, 0.0f, -0.6f}, {0.0f, 0.0f, 0.0f, -0.6f}, 1},
      {"wrap both folds all, never flags", 5, {0.9f, -0.9f, 0.6f, -0.6f}, {-0.1f, 0.1f, -0.4f, 0.4f}, 0},
      {"wrap by floor does nothing", 6, {0.9f, 0.9f, 0.9f, 0.9f}, {0.9f, 0.9f, 0.9f, 0.9f}, 0},
  };
  for (const Case& c : cases) {
    PDtype pd{1.0f, 1.0f, 1.0f, c.mode, c.d[0], c.d[1], c.d[2], c.d[3], 1};
    OverhangizePDs(&pd);
    EXPECT_NEAR(pd.duX, c.expect[0], 1e-6f) << c.what;
    EXPECT_NEAR(pd.dvX, c.expect[1], 1e-6f) << c.what;
    EXPECT_NEAR(pd.duY, c.expect[2], 1e-6f) << c.what;
    EXPECT_NEAR(pd.dvY, c.expect[3], 1e-6f) << c.what;
    EXPECT_EQ(pd.discontinuous, c.discontinuous) << c.what;
  }
  // Scaled to level-0 pixels: u parts by the width, v parts by the height.
  PDtype pd{2.0f, 200.0f, 100.0f, 4, 0.9f, 0.25f, 0.5f, -0.5f, 0};
  OverhangizePDs(&pd);
  EXPECT_NEAR(pd.duX, -40.0f, 1e-3f);
  EXPECT_NEAR(pd.dvX, 50.0f, 1e-3f);
  EXPECT_NEAR(pd.duY, 200.0f, 1e-3f);
  EXPECT_NEAR(pd.dvY, -100.0f, 1e-3f);
}
