// Rollouts: two swept halves that meet along the cut and close up.
#include <gtest/gtest.h>

#include <cmath>

#include "polybuild/catalogue/catalogue_generated.h"
#include "polybuild/procedural/rollout.h"
#include "polyhedron/catalogue.h"
#include "solid_checks.h"

namespace {

class Rollouts : public testing::TestWithParam<int32_t> {};

TEST_P(Rollouts, ClosedPlanarOutwardAndUnrolled) {
  const int32_t code = GetParam();
  RolloutArguments args{};
  ASSERT_TRUE(RolloutArgumentsOf(code, &args));
  ProcPolyPtr poly = NewGeneratorRecord();
  ReadFaceInfo(poly.get(), code, 0, nullptr, 1);
  ASSERT_EQ(poly->errorCode, kPolyErrorNone);
  EXPECT_TRUE(NoDegenerateFaces(poly.get()));
  EXPECT_TRUE(IsClosed(poly.get()));
  EXPECT_TRUE(EulerHolds(poly.get()));
  EXPECT_TRUE(FacesArePlanar(poly.get(), 1e-9));
  EXPECT_TRUE(FacesPointOutward(poly.get()));
  EXPECT_TRUE(VerticesOnSphere(poly.get(), 1.0, 1e-12)) << "every profile vertex is on the unit circle";
  // Without a turn the halves rebuild the solid of revolution of a convex
  // polygon: convex, its faces the hull's.
  if (args.a == 0 && args.c == 0) {
    EXPECT_TRUE(MatchesHull(poly.get()));
  }
  EXPECT_TRUE(NetIsSoundFor(poly.get()));
}

INSTANTIATE_TEST_SUITE_P(AllCodes, Rollouts, testing::Range(102, 150),
                         [](const testing::TestParamInfo<int32_t>& info) {
                           return "code" + std::to_string(info.param);
                         });

TEST(RolloutBuilder, FacesPerHalfByProfile) {
  // 30 sweep steps per half; bands of the profile as quadrilaterals, the
  // edge at an apex as a triangle, a flat end as a fan that loses its last,
  // degenerate step.
  struct Case {
    int32_t n, plus;
    int32_t triangles, quads;  // per half
  };
  const Case cases[] = {
      {3, 0, 30 + 29, 0},       // apex band, bottom half disc
      {4, 0, 29 + 29, 30},      // two half discs, one band
      {4, 1, 30 + 30, 0},       // bicone: apex band and bottom cone
      {5, 0, 30 + 29, 30},      //
      {6, 1, 30 + 30, 30},      //
      {11, 0, 30 + 29, 4 * 30}  //
  };
  for (const Case& c : cases) {
    ProcPolyPtr poly = NewGeneratorRecord();
    BuildRollout(poly.get(), nullptr, 1, c.n, 0, c.plus, 0);
    ASSERT_EQ(poly->errorCode, kPolyErrorNone);
    int32_t triangles = 0, quads = 0;
    for (int32_t f = 0; f < poly->n3DFaces; ++f) (poly->faces[f].n3D == 3 ? triangles : quads) += 1;
    EXPECT_EQ(triangles, 2 * c.triangles) << c.n << "/" << c.plus;
    EXPECT_EQ(quads, 2 * c.quads) << c.n << "/" << c.plus;
    EXPECT_TRUE(IsClosed(poly.get())) << c.n;
  }
}

TEST(RolloutBuilder, TurnedHalvesMeetAndBadSideCountsAreRefused) {
  // m and m + n give the same solid: the turn is by whole polygon steps.
  ProcPolyPtr a = NewGeneratorRecord(), b = NewGeneratorRecord();
  BuildRollout(a.get(), nullptr, 1, 5, 1, 0, 0);
  BuildRollout(b.get(), nullptr, 1, 5, 6, 0, 0);
  ASSERT_EQ(a->n3DVerts, b->n3DVerts);
  for (int32_t v = 0; v < a->n3DVerts; ++v)
    for (int32_t k = 0; k < 3; ++k) EXPECT_NEAR(a->coords3D[v][k], b->coords3D[v][k], 1e-12);

  for (int32_t n : {-1, 0, 1, 2, 12}) {
    ProcPolyPtr poly = NewGeneratorRecord();
    BuildRollout(poly.get(), nullptr, 1, n, 1, 0, 0);
    EXPECT_NE(poly->errorCode, kPolyErrorNone) << n;
    EXPECT_EQ(poly->n3DFaces, 0) << n;
  }
}

}  // namespace
