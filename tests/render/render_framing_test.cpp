// Framing of the modes without a polyhedron: the box each mode shows, the
// per-mode sheet and gore fields, and that every box is centred in the
// output whatever the output's shape.
#include <gtest/gtest.h>

#include <cmath>

#include "projection/framing.h"
#include "render/framing_modes.h"
#include "render/output_modes.h"
#include "render/vort.h"

namespace {

vort FramedView(int32_t mode, float aspect, float viewAngle = 120.0f, int32_t sheetViews = 0, int32_t anamorphic = 0) {
  vort v{};
  v.outputMode = mode;
  v.outputAspect = aspect;
  v.viewAngle = viewAngle;
  PrepBoundingBoxForNonPolyhedron(sheetViews, &v, anamorphic, viewAngle);
  return v;
}

struct BoxCase {
  int32_t mode;
  double xMin, yMin, xMax, yMax;
};

const BoxCase kBoxes[] = {
    {1, 0.0, 0.0, 1.0, 0.5},  // not the 2:1 box the other world maps share
    {46, -0.5, -0.25, 0.5, 0.25},
    {13, -0.5, -0.25, 0.5, 0.25},
    {2, -0.5, -0.5, 0.5, 0.5},
    {12, -0.5, -0.5, 0.5, 0.5},  // a mode with no rule of its own keeps the default
    {128, -1.414213562373095, -1.414213562373095, 1.414213562373095, 0.7071067811865475},
    {35, -2.570796326312263, -1.5707963267948966, 2.570796326312263, 1.5707963267948966},
    {53, -0.5, -0.5, 0.5, 0.5},
    {61, -0.5, -1.0, 0.5, 1.0},
    {160, -3.141592653, -1.5707963265, 3.92699081625, 1.5707963265},
    {999, -0.5, -0.5, 0.5, 0.5},
};

TEST(Framing, BoxOfEachMode) {
  for (const BoxCase& c : kBoxes) {
    const SnuggleRecord& s = FramedView(c.mode, 0.5f).snuggle;
    EXPECT_EQ(s.xMin, c.xMin) << "mode " << c.mode;
    EXPECT_EQ(s.yMin, c.yMin) << "mode " << c.mode;
    EXPECT_EQ(s.xMax, c.xMax) << "mode " << c.mode;
    EXPECT_EQ(s.yMax, c.yMax) << "mode " << c.mode;
  }
}

// The whole box shows, centred, at any output shape: the output's centre is
// the box centre and its edges touch the box's in the tighter direction.
TEST(Framing, EveryBoxIsCentredAndWhollyShown) {
  for (const OutputModeRow& row : OutputModeTable()) {
    for (const float aspect : {0.25f, 0.5f, 1.0f, 2.0f}) {
      const vort v = FramedView(row.mode, aspect, 120.0f, 12);
      const SnuggleRecord& s = v.snuggle;
      fcomplex centre, topLeft, bottomRight;
      UF_to_snuggle(0.5f, 0.5f, &centre, &s);
      UF_to_snuggle(0.0f, 0.0f, &topLeft, &s);
      UF_to_snuggle(1.0f, 1.0f, &bottomRight, &s);
      EXPECT_NEAR(centre.re, (s.xMin + s.xMax) / 2, 1e-9) << "mode " << row.mode;
      EXPECT_NEAR(centre.im, (s.yMin + s.yMax) / 2, 1e-9) << "mode " << row.mode;
      EXPECT_LE(topLeft.re, s.xMin + 1e-9) << "mode " << row.mode << " aspect " << aspect;
      EXPECT_LE(topLeft.im, s.yMin + 1e-9) << "mode " << row.mode << " aspect " << aspect;
      EXPECT_GE(bottomRight.re, s.xMax - 1e-9) << "mode " << row.mode << " aspect " << aspect;
      EXPECT_GE(bottomRight.im, s.yMax - 1e-9) << "mode " << row.mode << " aspect " << aspect;
    }
  }
}

// The equirectangular map on the 2:1 output it was made for fills it
// exactly; on a wider output it sits in the middle with void either side.
TEST(Framing, EquirectangularOnItsOwnAndOnAWiderOutput) {
  fcomplex z;
  const vort tuned = FramedView(1, 0.5f);
  UF_to_snuggle(0.0f, 0.0f, &z, &tuned.snuggle);
  EXPECT_NEAR(z.re, 0.0, 1e-12);
  EXPECT_NEAR(z.im, 0.0, 1e-12);
  UF_to_snuggle(1.0f, 1.0f, &z, &tuned.snuggle);
  EXPECT_NEAR(z.re, 1.0, 1e-12);
  EXPECT_NEAR(z.im, 0.5, 1e-12);

  const vort wide = FramedView(1, 0.25f);
  UF_to_snuggle(0.25f, 0.5f, &z, &wide.snuggle);
  EXPECT_NEAR(z.re, 0.0, 1e-7);  // the map starts a quarter in
  UF_to_snuggle(0.75f, 0.5f, &z, &wide.snuggle);
  EXPECT_NEAR(z.re, 1.0, 1e-7);
}

TEST(Framing, MultiViewSheetGrids) {
  struct Case {
    int32_t mode, views, columns, rows;
  };
  const Case cases[] = {
      {75, 4, 2, 2}, {76, 12, 4, 3}, {77, 24, 6, 4}, {79, 72, 9, 8}, {78, 60, 10, 6}, {76, 5, 3, 2},
  };
  for (const Case& c : cases) {
    const vort v = FramedView(c.mode, 1.0f, 120.0f, c.views);
    EXPECT_EQ(v.viewColumns, c.columns) << c.views << " views";
    EXPECT_EQ(v.viewRows, c.rows) << c.views << " views";
    EXPECT_EQ(v.snuggle.xMax - v.snuggle.xMin, c.columns);
    EXPECT_EQ(v.snuggle.yMax - v.snuggle.yMin, c.rows);
  }
}

// A sheet of a solid without faces has no grid and a finite frame.
TEST(Framing, MultiViewSheetWithoutViewsIsGuarded) {
  for (const int32_t views : {0, -3}) {
    const vort v = FramedView(77, 1.0f, 120.0f, views);
    EXPECT_EQ(v.viewColumns, 0);
    EXPECT_EQ(v.viewRows, 0);
    EXPECT_TRUE(std::isfinite(v.snuggle.scale));
    EXPECT_TRUE(std::isfinite(v.snuggle.invScale));
  }
}

TEST(Framing, GoreFields) {
  EXPECT_EQ(FramedView(38, 0.5f, 10.0f).goreCount, 3.0f);
  EXPECT_EQ(FramedView(38, 0.5f, 179.0f).goreCount, 35.0f);
  EXPECT_EQ(FramedView(38, 0.5f, 120.0f).goreCount, 24.0f);
  EXPECT_EQ(FramedView(36, 0.5f).goreCount, 12.0f);
  EXPECT_EQ(FramedView(1044, 0.5f).goreCount, 18.0f);
  EXPECT_EQ(FramedView(63, 0.5f).goreCount, 8.0f);
  EXPECT_FLOAT_EQ(FramedView(36, 0.5f, 90.0f).viewAngleFactor, 1.0f);
  EXPECT_EQ(FramedView(36, 0.5f, 90.0f, 0, 1).renderKind, 2);
  EXPECT_EQ(FramedView(46, 0.5f, 90.0f, 0, 1).renderKind, 0);  // not a gore layout
  // The folding sphere: the span -0.5..0.5 and one glue tab on the left.
  const SnuggleRecord& s = FramedView(288, 0.5f, 120.0f).snuggle;
  EXPECT_NEAR(s.xMin, -(0.5 + 1.0 / (3.0 * 24.0)), 1e-12);
  EXPECT_EQ(s.xMax, 0.5);
  EXPECT_NEAR(s.yMax - s.yMin, 0.5 / 3.0 + 0.037, 1e-12);
}

}  // namespace
