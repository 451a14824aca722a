// The cube stood on a corner in eighths: the zigzag (the whole cube in one
// band) and the monozag (half of it, which the segment stretch opens to the
// whole sphere). Their counts and options, no eighth over another, no seam
// wider than half a pixel of a 1024-pixel-wide world map along any edge two
// eighths share, the sphere shown the right way round, and the sky on top.
#include <gtest/gtest.h>

#include <string>

#include "polyhedron/catalogue.h"
#include "polyhedron/catalogue_static.h"
#include "sphere_net_checks.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPixelAt1024 = kPi / 1024.0;

struct ZigzagCase {
  int32_t shape;
  int32_t faces;
  int32_t points2D;  // the highest net point the rows use
  bool half;         // the monozag: half the cube, stretched
};

const ZigzagCase kCases[] = {{46, 48, 39, false}, {64, 48, 39, false}, {47, 24, 60, true}, {51, 24, 60, true}};

TEST(ZigzagNets, LoadWithTheirCountsAndOptions) {
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    EXPECT_FALSE(StaticShapeTablesMissing(c.shape));
    PolyPtr p = LoadedShape(c.shape);
    EXPECT_TRUE(LoadsAsSectorNet(p.get(), c.faces, c.points2D));
    EXPECT_EQ(p->mirrorFlipA, 0);
    EXPECT_EQ(p->mirrorFlipB, 1);
    EXPECT_EQ(p->segmentStretch, c.half ? 1 : 0);
    EXPECT_EQ(p->segmentStretchAlpha, c.half ? 0.5 : 1.0);
  }
}

TEST(ZigzagNets, NoTwoEighthsOverlap) {
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    ASSERT_EQ(FaceTriangles(p.get()), c.faces);
    EXPECT_EQ(OverlappingFacePairs(p.get(), c.faces), 0);
  }
}

TEST(ZigzagNets, SharedEdgesShowTheSameSphereFromBothSides) {
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    ASSERT_EQ(FaceTriangles(p.get()), c.faces);
    const SharedEdges shared = CompareSharedEdges(p.get(), c.faces);
    // One piece: every eighth joined to the rest.
    EXPECT_GE(shared.count, c.faces - 1);
    EXPECT_LT(shared.worstAngle, kHalfPixelAt1024);
  }
}

TEST(ZigzagNets, ShowTheSphereTheSameWayRoundAsTheMatchedNets) {
  PolyPtr reference = SetUpShape(17, 6);
  const int32_t want = NetHandedness(reference.get(), 20);
  ASSERT_NE(want, 0);
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    EXPECT_EQ(NetHandedness(p.get(), c.faces), want);
  }
}

// The sky is at the top of the net and the ground at the bottom: the top
// row reaches the zenith, the bottom row the nadir, and the zenith lies in
// no lower half of the net.
TEST(ZigzagNets, SkyUp) {
  for (const ZigzagCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape);
    const SkyReach sky = MeasureSky(p.get(), c.faces);
    EXPECT_GT(sky.skyAtTop, 0.9999);
    EXPECT_GT(sky.groundAtBottom, 0.9999);
    EXPECT_LT(sky.skyInLowerHalf, 0.9);
  }
}

}  // namespace
