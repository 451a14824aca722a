#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "polybuild/curved/vivo_curves.h"
#include "polybuild/curved/vivo_elements.h"
#include "polybuild/curved/vivo_entries.h"
#include "polyhedron/polyhedron_add.h"
#include "support/poly_fixture.h"

namespace {

constexpr double kPi = std::numbers::pi;

void ExpectPoint(fcomplex p, double x, double y, const char* what) {
  EXPECT_NEAR(p.re, x, 1e-12) << what;
  EXPECT_NEAR(p.im, y, 1e-12) << what;
}

}  // namespace

TEST(VivoCurves, OuterArcsRunBetweenTheSideCorners) {
  MakeVivo2DPoints();
  struct Row {
    int32_t style;
    double x0, y0, x1, y1;
  };
  const double s3 = std::sqrt(3.0) / 2.0;
  const Row rows[] = {{0, s3, -0.5, 0, 1}, {2, s3, -0.5, 0, 1}, {4, s3, -0.5, 0, 1}, {5, s3, -0.5, 0, 1},
                      {1, 1, 0, 0, 1},     {6, 1, 0, 0, 1},     {7, 1, 0, 0, 1},
                      {3, 1, 0, std::cos(0.4 * kPi), std::sin(0.4 * kPi)}};
  for (const Row& r : rows) {
    ExpectPoint(BCurve(0.0, r.style), r.x0, r.y0, "start");
    ExpectPoint(BCurve(1.0, r.style), r.x1, r.y1, "end");
    // The inner arc is the outer one mirrored across the same chord: same
    // ends, opposite bulge.
    ExpectPoint(ACurve(0.0, r.style), r.x0, r.y0, "A start");
    ExpectPoint(ACurve(1.0, r.style), r.x1, r.y1, "A end");
    const fcomplex b = BCurve(0.5, r.style), a = ACurve(0.5, r.style);
    EXPECT_GT(Cmag(b), Cmag(a)) << "style " << r.style << ": the A arc bulges into the element";
  }
}

TEST(VivoCurves, SquircleAndSquareZ) {
  MakeVivo2DPoints();
  ExpectPoint(BCurve_squircle(0.5), 0.5 + 1.0 / kPi, 0.5 + 1.0 / kPi, "squircle middle");
  ExpectPoint(BCurve_squircle(0.0), 1.0, 0.0, "squircle start");
  for (double t : {0.0, 0.3, 0.5, 1.0})
    ExpectPoint(ZCurve_square(t), std::sin(t * kPi / 2.0) - 1.0, std::cos(t * kPi / 2.0) - 1.0, "Z");
  // The 360-degree template entries are computed, so they sit off (1, 0) by
  // rounding only.
  EXPECT_NEAR(Ysquare[4].re, 1.0, 1e-15);
  EXPECT_NEAR(Ypent[5].im, 0.0, 1e-15);
  ExpectPoint(Ytriangle[0], 0.0, 0.0, "triangle centre");
}

TEST(VivoCurves, ElementCornersFormRegularPolygons) {
  // The flat element joins the middles of its arcs: equal distances from
  // the centre for each template.
  MakeVivo2DPoints();
  for (int32_t style : {0, 1, 3, 7}) {
    const double r = Cmag(ACurve(0.5, style));
    EXPECT_NEAR(Cmag(CCurve(0.5, style)), r, 1e-12) << style;
    EXPECT_NEAR(Cmag(YCurve(0.5, style)), r, 1e-12) << style;
    if (style != 0) {
      EXPECT_NEAR(Cmag(ZCurve(0.5, style)), r, 1e-12) << style;
    }
  }
}

TEST(VivoFrame, SideDirectionAndOutwardNormal) {
  triplex u, w;
  BuildFrame(Triplex(0, 0, 0), Triplex(2, 0, 0), Triplex(1, -1, 0), &u, &w);
  EXPECT_NEAR(u.x, 1.0, 1e-15);
  EXPECT_NEAR(w.y, 1.0, 1e-15);
  BuildFrame(Triplex(1, 1, 1), Triplex(1, 1, 1), Triplex(1, 1, 1), &u, &w);
  EXPECT_EQ(Tmag(u), 0.0) << "a zero side normalises to zero";
}

TEST(VivoDizzify, TurnsEveryVertex) {
  PolyPtr p = NewOwningPoly();
  uint8_t made = 0;
  AddNew3DTVertToPolyhedron_tol(p.get(), Triplex(1, 2, 3), 2e-5, &made);
  AddNew3DTVertToPolyhedron_tol(p.get(), Triplex(3, 4, 0), 2e-5, &made);
  DizzifyAll3DPoints(p.get(), 0, Triplex(0, 0, 0));
  EXPECT_EQ(p->coords3D[0][0], 1.0);
  EXPECT_EQ(p->coords3D[0][1], -3.0);
  EXPECT_EQ(p->coords3D[0][2], 2.0);
  DizzifyAll3DPoints(p.get(), 9, Triplex(0, 0, 0));
  EXPECT_EQ(p->coords3D[0][1], -3.0) << "other styles leave the solid";
  // Style 2 brings the direction onto +y; vertex 1 is (3, 0, 4) by now.
  DizzifyAll3DPoints(p.get(), 2, Triplex(3, 0, 4));
  EXPECT_NEAR(p->coords3D[1][0], 0.0, 1e-12);
  EXPECT_NEAR(p->coords3D[1][1], 5.0, 1e-12);
}

TEST(AdjustScissorInfo, PiecesKeepTheirTwoLowestMarkedTags) {
  PolyPtr p = NewPoly();
  for (auto& g : p->tagFacegroup) g = -1;
  p->tagFacegroup[3] = 1, p->scissorMarkOfTag[3] = 10;
  p->tagFacegroup[5] = 1, p->scissorMarkOfTag[5] = 11;
  p->tagFacegroup[9] = 1, p->scissorMarkOfTag[9] = 12;  // third mark of piece 1: dropped
  p->tagFacegroup[4] = 1;                               // no mark
  p->tagFacegroup[20] = -1, p->scissorMarkOfTag[20] = 13;
  p->tagFacegroup[21] = kPolyElementTags, p->scissorMarkOfTag[21] = 14;
  p->tagFacegroup[22] = 0, p->scissorMarkOfTag[22] = 15;
  p->scissorPair[7][0] = 99;  // stale pair from an earlier build
  AdjustScissorInfo(p.get());
  EXPECT_EQ(p->scissorPair[1][0], 10);
  EXPECT_EQ(p->scissorPair[1][1], 11);
  EXPECT_EQ(p->scissorPair[0][0], 15);
  EXPECT_EQ(p->scissorPair[0][1], -1);
  EXPECT_EQ(p->scissorPair[7][0], -1);
  for (int32_t g = 2; g < kPolyElementTags; ++g) EXPECT_EQ(p->scissorPair[g][0], -1) << g;
}
