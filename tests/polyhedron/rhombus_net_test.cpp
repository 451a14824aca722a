// The first rhombus: four sectors, a hemisphere on each side of its long
// diagonal. Its counts and options, no sector over another, no seam wider
// than half a pixel of a 1024-pixel-wide world map along its shared edges,
// the sphere the right way round and the sky up.
#include <gtest/gtest.h>

#include <cmath>

#include "polyhedron/catalogue.h"
#include "polyhedron/catalogue_static.h"
#include "sphere_net_checks.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPixelAt1024 = kPi / 1024.0;
constexpr int32_t kRhombus = 34;

TEST(RhombusNet, LoadsWithItsCountsAndOptions) {
  EXPECT_FALSE(StaticShapeTablesMissing(kRhombus));
  PolyPtr p = LoadedShape(kRhombus);
  EXPECT_TRUE(LoadsAsSectorNet(p.get(), 4, 5));
  EXPECT_EQ(p->mirrorFlipA, 0);
  EXPECT_EQ(p->mirrorFlipB, 0);
}

TEST(RhombusNet, IsOnePieceWithoutOverlapsOrSeams) {
  PolyPtr p = SetUpShape(kRhombus);
  ASSERT_EQ(FaceTriangles(p.get()), 4);
  EXPECT_EQ(OverlappingFacePairs(p.get(), 4), 0);
  const SharedEdges shared = CompareSharedEdges(p.get(), 4);
  // The two sectors of each hemisphere along their centre edge, and the
  // hemispheres along the equator.
  EXPECT_EQ(shared.count, 4);
  EXPECT_LT(shared.worstAngle, kHalfPixelAt1024);
}

TEST(RhombusNet, ShowsTheSphereTheRightWayRoundAndUp) {
  PolyPtr reference = SetUpShape(17, 6);
  const int32_t want = NetHandedness(reference.get(), 20);
  ASSERT_NE(want, 0);
  PolyPtr p = SetUpShape(kRhombus);
  EXPECT_EQ(NetHandedness(p.get(), 4), want);
  const SkyReach sky = MeasureSky(p.get(), 4);
  EXPECT_GT(sky.skyAtTop, 0.9999);
  EXPECT_GT(sky.groundAtBottom, 0.9999);
  EXPECT_LT(sky.skyInLowerHalf, 1e-3);
}

}  // namespace
