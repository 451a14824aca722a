// Rind balls, the thirty-sphere, the oddball and the tattoo balls.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "polybuild/procedural/rind_ball.h"
#include "polybuild/procedural/tattoo_ball.h"
#include "polyhedron/catalogue.h"
#include "solid_checks.h"

namespace {

int32_t FacesWithPartner(const polyhedron* poly) {
  int32_t count = 0;
  for (int32_t f = 0; f < poly->n3DFaces; ++f) count += poly->faces[f].extraVertex >= 0 ? 1 : 0;
  return count;
}

TEST(Thirtysphere, ConvexClosedAndPlanarOnTwelveSectorsBySixBands) {
  ProcPolyPtr poly = NewGeneratorRecord();
  ReadFaceInfo(poly.get(), 74, 0, nullptr, 1);
  ASSERT_EQ(poly->errorCode, kPolyErrorNone);
  const SolidCounts c = CountSolid(poly.get());
  EXPECT_EQ(c.faces, 12 * 6);
  EXPECT_EQ(c.vertices, 2 + 12 * 5) << "the seam at u = 0 and 1 shares its vertices";
  EXPECT_TRUE(IsClosed(poly.get()));
  EXPECT_TRUE(EulerHolds(poly.get()));
  EXPECT_TRUE(FacesArePlanar(poly.get(), 1e-9));
  EXPECT_TRUE(FacesPointOutward(poly.get()));
  EXPECT_TRUE(VerticesOnSphere(poly.get(), kRindRadius, 1e-12));
  EXPECT_TRUE(MatchesHull(poly.get()));
  EXPECT_TRUE(NetIsSoundFor(poly.get()));
  EXPECT_EQ(poly->fragmentCount, 1);
}

struct RindCase {
  int32_t code;
  int32_t turns;
  uint8_t fullDetail;
};

class RindBalls : public testing::TestWithParam<RindCase> {};

TEST_P(RindBalls, SpiralStripBetweenTwoPolarFans) {
  const RindCase c = GetParam();
  ProcPolyPtr poly = NewGeneratorRecord();
  ReadFaceInfo(poly.get(), c.code, 0, nullptr, c.fullDetail);
  ASSERT_EQ(poly->errorCode, kPolyErrorNone);
  // Two fans of 49 and two faces per strip step, less those whose corners
  // merged where the eased steps crowd together at the strip's ends.
  const int32_t steps = RindStripSteps(c.turns, c.fullDetail);
  EXPECT_LE(poly->n3DFaces, 2 * 49 + 2 * steps);
  EXPECT_GE(poly->n3DFaces, 2 * 49 + 2 * steps * 95 / 100);
  EXPECT_TRUE(NoDegenerateFaces(poly.get()));
  EXPECT_TRUE(VerticesOnSphere(poly.get(), kRindRadius, 1e-12));
  // Most strip faces carry their partner; fan faces never do.
  EXPECT_GE(FacesWithPartner(poly.get()), 2 * steps * 90 / 100);
  EXPECT_LE(FacesWithPartner(poly.get()), poly->n3DFaces - 2 * 49);
  // The strip unrolls without the overlap test (the catalogue skips it for
  // the rinds), so only the faces themselves are checked here.
  EXPECT_TRUE(NetIsSoundFor(poly.get(), kNetLengthTolerance, false));
  EXPECT_EQ(poly->fragmentCount, 1) << "one strip from pole to pole";
}

INSTANTIATE_TEST_SUITE_P(AllCodes, RindBalls,
                         testing::Values(RindCase{25, 2, 1}, RindCase{26, 3, 1}, RindCase{27, 4, 1},
                                         RindCase{25, 2, 0}, RindCase{26, 3, 0}, RindCase{27, 4, 0},
                                         RindCase{48, 2, 1}, RindCase{49, 3, 1}, RindCase{50, 4, 1}),
                         [](const testing::TestParamInfo<RindCase>& info) {
                           return "code" + std::to_string(info.param.code) + (info.param.fullDetail ? "full" : "draft");
                         });

TEST(RindBalls, TurnCountsOutsideTwoToFourAreRefused) {
  for (int32_t turns : {0, 1, 5}) {
    ProcPolyPtr poly = NewGeneratorRecord();
    BuildRindBall3D(poly.get(), nullptr, turns, 1);
    EXPECT_NE(poly->errorCode, kPolyErrorNone) << turns;
    EXPECT_EQ(poly->n3DFaces, 0) << turns;
  }
}

TEST(Oddball, OpenFanOfTwentyAboutOnePole) {
  ProcPolyPtr poly = NewGeneratorRecord();
  ReadFaceInfo(poly.get(), 75, 0, nullptr, 1);
  ASSERT_EQ(poly->errorCode, kPolyErrorNone);
  EXPECT_EQ(poly->n3DFaces, kOddballSteps);
  EXPECT_EQ(poly->n3DVerts, kOddballSteps + 3) << "both poles and the 21 path points";
  for (int32_t f = 0; f < poly->n3DFaces; ++f) EXPECT_EQ(poly->faces[f].vert3D[0], 0) << "one shared apex";
  EXPECT_EQ(CountSolid(poly.get()).vertices, kOddballSteps + 2) << "the second pole belongs to no face";
  EXPECT_EQ(poly->key3DVerts[0], -1);
  EXPECT_TRUE(VerticesOnSphere(poly.get(), kOddballRadius, 1e-12));
  EXPECT_TRUE(NetIsSoundFor(poly.get()));
  EXPECT_EQ(poly->fragmentCount, 1);
}

struct TattooCase {
  int32_t code;
  int32_t swaths;
  std::vector<int32_t> keys;
};

class TattooBalls : public testing::TestWithParam<TattooCase> {};

TEST_P(TattooBalls, CapsAndSwathsCloseUpWithTheirKeyVertices) {
  const TattooCase& c = GetParam();
  ProcPolyPtr poly = NewGeneratorRecord();
  ReadFaceInfo(poly.get(), c.code, 0, nullptr, 1);
  ASSERT_EQ(poly->errorCode, kPolyErrorNone);
  std::vector<int32_t> keys;
  for (int32_t k = 0; k < kPolyKey3DVerts && poly->key3DVerts[k] != -1; ++k) keys.push_back(poly->key3DVerts[k]);
  EXPECT_EQ(keys, c.keys);
  // Path vertex t has index t: the key list names them directly.
  for (int32_t t = 0; t <= kTattooPeriod * c.swaths; ++t) {
    double u, v;
    ASSERT_EQ(BuildTattooVertex(t, poly.get(), kTattooPeriod, kTattooPeriod * c.swaths, 0.0, &u, &v), t);
  }
  EXPECT_LE(poly->n3DFaces, 2 * 79 + 2 * kTattooPeriod * (c.swaths - 1));
  EXPECT_TRUE(NoDegenerateFaces(poly.get()));
  EXPECT_TRUE(VerticesOnSphere(poly.get(), 1.0, 1e-12));
  EXPECT_GT(FacesWithPartner(poly.get()), 0);
  // The caps and swaths unfold apart and are laid onto each other's key
  // edges, each scaled as a whole, so neighbours may lap over a little at
  // the joins (the catalogue skips the overlap test for these shapes); the
  // tiny faces at the poles come out snapped by the net store.
  EXPECT_TRUE(NetIsSoundFor(poly.get(), kSnappedNetTolerance, false, true));
  EXPECT_EQ(poly->fragmentCount, c.swaths + 1) << "two caps and the swaths between them, each cut free";
}

INSTANTIATE_TEST_SUITE_P(AllCodes, TattooBalls,
                         testing::Values(TattooCase{71, 3, {0, 80, 0, 160, 80, 240, 160, 240}},
                                         TattooCase{72, 5, {0, 80, 0, 160, 80, 240, 160, 320, 240, 400, 320, 400}},
                                         TattooCase{150, 5, {0, 80, 0, 160, 80, 240, 160, 320, 240, 400, 320, 400}}),
                         [](const testing::TestParamInfo<TattooCase>& info) {
                           return "code" + std::to_string(info.param.code);
                         });

TEST(TattooBalls, SwathCountsWithoutRoomAreRefused) {
  for (int32_t swaths : {0, -3, 10}) {
    ProcPolyPtr poly = NewGeneratorRecord();
    BuildTattooBall3D(poly.get(), nullptr, swaths);
    EXPECT_NE(poly->errorCode, kPolyErrorNone) << swaths;
    EXPECT_EQ(poly->n3DFaces, 0) << swaths;
  }
}

}  // namespace
