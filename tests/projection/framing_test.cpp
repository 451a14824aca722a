#include "projection/framing.h"

#include <gtest/gtest.h>

#include "geom_test_util.h"

namespace {

struct FrameCase {
  const char* name;
  double aspect, xMin, yMin, xMax, yMax;
  float u, v;
  fcomplex want;
};

TEST(Framing, FitsTheBoxCentred) {
  const FrameCase cases[] = {
      {"square box, wide output: left edge", 0.5, -0.5, -0.5, 0.5, 0.5, 0, 0.5f, {-1, 0}},
      {"square box, wide output: right edge", 0.5, -0.5, -0.5, 0.5, 0.5, 1, 0.5f, {1, 0}},
      {"square box, wide output: top", 0.5, -0.5, -0.5, 0.5, 0.5, 0.5f, 0, {0, -0.5}},
      {"centre maps to the box centre", 1.0, 1, 2, 5, 4, 0.5f, 0.5f, {3, 3}},
      {"wide box, square output: width decides", 1.0, -2, -1, 2, 1, 0, 0, {-2, -2}},
      {"tall box, square output: height decides", 1.0, -1, -3, 1, 3, 1, 1, {3, 3}},
      {"zero-width box: height decides", 2.0, 0, -1, 0, 1, 1, 1, {0.5, 1}},
  };
  for (const FrameCase& c : cases) {
    SnuggleRecord r;
    SetUpSnugglebox(&r, c.aspect, c.xMin, c.yMin, c.xMax, c.yMax);
    fcomplex z;
    UF_to_snuggle(c.u, c.v, &z, &r);
    EXPECT_TRUE(NearC(z, c.want, 1e-15)) << c.name;
  }
  SnuggleRecord r;
  SetUpSnugglebox(&r, 0.5, -0.5, -0.5, 0.5, 0.5);
  EXPECT_EQ(r.scale, 0.5);
  EXPECT_EQ(r.invScale, 2.0);
  EXPECT_EQ(r.xMin, -0.5);
  EXPECT_EQ(r.yMax, 0.5);
}

struct SizeCase {
  int32_t w, h, longest;
  int32_t wantW, wantH;
};

TEST(Framing, MakeSnug) {
  const SizeCase cases[] = {
      {300, 200, 128, 128, 85},
      {1, 1000, 128, 1, 128},  // the short side kept at least 1
      {200, 300, 0, 200, 300},
      {200, 300, -5, 200, 300},
      {64, 64, 512, 512, 512},
      {0, 0, 128, 0, 0},                    // nothing to scale
      {60000, 40000, 50000, 50000, 33333},  // 60000·50000 passes 2^31
  };
  for (const SizeCase& c : cases) {
    int32_t w = c.w, h = c.h;
    MakeSnug(&w, &h, c.longest);
    EXPECT_EQ(w, c.wantW) << c.w << "x" << c.h << " to " << c.longest;
    EXPECT_EQ(h, c.wantH) << c.w << "x" << c.h << " to " << c.longest;
  }
}

TEST(Framing, MatchProportions) {
  struct Case {
    int32_t oldW, oldH, w, h;
    bool widthChanged;
    int32_t wantW, wantH;
  };
  const Case cases[] = {
      {400, 300, 200, 999, true, 200, 150},
      {400, 300, 999, 100, false, 133, 100},
      {0, 300, 200, 999, true, 200, 999},
      {400, 0, 999, 100, false, 999, 100},
      {60000, 45000, 50000, 1, true, 50000, 37500},  // 45000·50000 passes 2^31
  };
  for (const Case& c : cases) {
    int32_t w = c.w, h = c.h;
    MatchProportions(c.oldW, c.oldH, &w, &h, c.widthChanged);
    EXPECT_EQ(w, c.wantW);
    EXPECT_EQ(h, c.wantH);
  }
}

}  // namespace
