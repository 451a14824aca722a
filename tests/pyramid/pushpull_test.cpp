// Push-pull hole filling: holes get colour from around them, level 0 ends
// opaque, and pixels that were opaque keep their colour.
#include <gtest/gtest.h>

#include <cmath>

#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_pushpull.h"
#include "pyramid_test_util.h"

namespace {

struct Px {
  float c[4];
};

Px Read(const PyramidDescriptor* p, int32_t x, int32_t y, int32_t level = 0) {
  Px out{};
  if (p->dataKind == PyramidDataKind_FourFloat) {
    get_pyramid_sample_point128bit_HDRcomponent_call(x, y, p, level, &out.c[0], &out.c[1], &out.c[2], &out.c[3]);
    return out;
  }
  int32_t c[4];
  get_pyramid_sample_pointColorcall(x, y, p, level, &c[0], &c[1], &c[2], &c[3]);
  for (int i = 0; i < 4; ++i) out.c[i] = float(c[i]);
  return out;
}

void Write(PyramidDescriptor* p, int32_t x, int32_t y, const float c[4]) {
  if (p->dataKind == PyramidDataKind_FourFloat)
    set_pyramid_sample_point128bit_floats(x, y, p, 0, c[0], c[1], c[2], c[3]);
  else
    set_pyramid_sample_pointColor(x, y, p, 0, int32_t(c[0]), int32_t(c[1]), int32_t(c[2]), int32_t(c[3]));
}

float Full(int32_t kind) { return kind == 3 ? 255.0f : (kind == 4 ? 32768.0f : 1.0f); }

bool InHole(int32_t x, int32_t y) {
  return (x >= 5 && x < 17 && y >= 3 && y < 9) || (x + y) % 11 == 0 || x > 33;
}

TEST(PyramidPushPull, HolesAreFilledAndOpaquePixelsKept) {
  for (int32_t kind : {3, 4, 9}) {
    SCOPED_TRACE(testing::Message() << "kind " << kind);
    const float full = Full(kind);
    PyramidPtr p = MakePyramid(37, 23, kind, 2);
    for (int32_t y = 0; y < 23; ++y)
      for (int32_t x = 0; x < 37; ++x) {
        const uint32_t n = TestNoise(uint32_t(x), uint32_t(y), 9);
        const float scale = full / 255.0f;
        // Opaque pixels may carry any alpha but 0: it counts in the push only.
        const float c[4] = {float(n & 255u) * scale, float((n >> 8) & 255u) * scale, float((n >> 16) & 255u) * scale,
                            InHole(x, y) ? 0.0f : std::max(1.0f, float(n >> 24)) * scale};
        Write(p.get(), x, y, c);
      }
    std::vector<Px> before;
    for (int32_t y = 0; y < 23; ++y)
      for (int32_t x = 0; x < 37; ++x) before.push_back(Read(p.get(), x, y));
    paint_pushpull_of_pyramid_above(p.get());
    for (int32_t y = 0; y < 23; ++y)
      for (int32_t x = 0; x < 37; ++x) {
        const Px now = Read(p.get(), x, y);
        ASSERT_EQ(now.c[3], full) << x << ", " << y;
        if (!InHole(x, y)) {
          for (int i = 0; i < 3; ++i) ASSERT_EQ(now.c[i], before[size_t(y * 37 + x)].c[i]) << x << ", " << y;
        } else {
          for (int i = 0; i < 3; ++i) ASSERT_TRUE(now.c[i] >= 0.0f && now.c[i] <= full) << x << ", " << y;
        }
      }
  }
}

// Holes in a flat colour take that colour, whatever their size.
TEST(PyramidPushPull, HolesInAFlatColourTakeThatColour) {
  for (int32_t kind : {3, 4, 9}) {
    const float full = Full(kind);
    const float colour[4] = {full * 0.2f, full * 0.6f, full, full};
    const float hole[4] = {0, 0, 0, 0};
    PyramidPtr p = MakePyramid(40, 30, kind);
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x) Write(p.get(), x, y, InHole(x, y) ? hole : colour);
    paint_pushpull_of_pyramid_above(p.get());
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x) {
        const Px now = Read(p.get(), x, y);
        for (int i = 0; i < 4; ++i) {
          const float want = kind == 9 ? colour[i] : std::trunc(colour[i]);
          ASSERT_NEAR(now.c[i], want, kind == 9 ? 1e-6f : 0.0f)
              << "kind " << kind << " at " << x << ", " << y << " channel " << i;
        }
      }
  }
}

TEST(PyramidPushPull, TinyAndEmptyPyramids) {
  struct Case {
    int32_t alpha;
    int32_t wantRed;
  } cases[] = {{0, 0}, {3, 90}, {200, 90}};
  for (const Case& c : cases) {
    PyramidPtr p = MakePyramid(1, 1, PyramidDataKind_Packed8);
    set_pyramid_sample_pointColor(0, 0, p.get(), 0, 90, 80, 70, c.alpha);
    paint_pushpull_of_pyramid_above(p.get());
    const Px top = Read(p.get(), 0, 0, 1);
    // An alpha below 4 weighs nothing in the push...
    EXPECT_EQ(top.c[3], c.alpha >= 4 ? 255.0f : 0.0f) << "alpha " << c.alpha;
    // ...but any alpha but 0 keeps its colour in the pull.
    const Px now = Read(p.get(), 0, 0);
    EXPECT_EQ(now.c[0], float(c.wantRed)) << "alpha " << c.alpha;
    EXPECT_EQ(now.c[3], 255.0f);
  }
  PyramidPtr clear = MakePyramid(9, 5, PyramidDataKind_FourFloat);
  const float none[4] = {0.5f, 0.5f, 0.5f, 0.0f};
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 9; ++x) Write(clear.get(), x, y, none);
  paint_pushpull_of_pyramid_above(clear.get());
  EXPECT_EQ(Read(clear.get(), 0, 0, clear->topLevel).c[3], 0.0f);
  const Px black = Read(clear.get(), 4, 2);
  EXPECT_EQ(black.c[0], 0.0f);
  EXPECT_EQ(black.c[3], 1.0f);

  PyramidPtr grey = MakePyramid(4, 4, PyramidDataKind_Byte);
  set_pyramid_sample_point1(1, 1, grey.get(), 0, 0);
  paint_pushpull_of_pyramid_above(grey.get());  // not a colour kind: left alone
}

}  // namespace
