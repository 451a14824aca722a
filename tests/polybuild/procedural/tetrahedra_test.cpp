// Developable and cone tetrahedra: sliver fans that close up, their cut
// edges, and the cone construction.
#include <gtest/gtest.h>

#include <cmath>

#include "polybuild/procedural/dev_tetrahedra.h"
#include "polyhedron/catalogue.h"
#include "solid_checks.h"

namespace {

int32_t CutEdges(const PolyFace& f, int32_t* which) {
  int32_t count = 0;
  for (int32_t e = 0; e < f.n3D; ++e)
    if (f.edgeFlags3D[e] & kEdgeFlagCut) ++count, *which = e;
  return count;
}

TEST(DevelopableTetrahedron, HundredTwentySliversOnTheSphereEachWithItsArcCut) {
  ProcPolyPtr poly = NewGeneratorRecord();
  ReadFaceInfo(poly.get(), 76, 0, nullptr, 1);
  ASSERT_EQ(poly->errorCode, kPolyErrorNone);
  EXPECT_EQ(CountSolid(poly.get()).faces, 4 * kSliversPerArc);
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    int32_t edge = -1;
    ASSERT_EQ(CutEdges(poly->faces[f], &edge), 1) << f;
    EXPECT_EQ(edge, 1) << f;
  }
  EXPECT_TRUE(VerticesOnSphere(poly.get(), 1.0, 1e-12));
  EXPECT_TRUE(NoDegenerateFaces(poly.get()));
  EXPECT_TRUE(IsClosed(poly.get()));
  EXPECT_TRUE(EulerHolds(poly.get()));
  EXPECT_TRUE(NetIsSoundFor(poly.get()));
  EXPECT_EQ(poly->fragmentCount, 1);
}

TEST(ConeTetrahedron, ThreeSectorsPerFaceJoinedAtTheirFirstOrLastSliver) {
  ProcPolyPtr poly = NewGeneratorRecord();
  ReadFaceInfo(poly.get(), 77, 0, nullptr, 1);
  ASSERT_EQ(poly->errorCode, kPolyErrorNone);
  ASSERT_EQ(CountSolid(poly.get()).faces, 4 * 3 * kSliversPerArc);
  // Faces come face by face, sector by sector, sliver by sliver; the tags
  // are 0, 3, 6 and 9.
  for (int32_t f = 0; f < poly->n3DFaces; ++f) {
    const int32_t tag = 3 * (f / (3 * kSliversPerArc)), j = f % kSliversPerArc;
    const bool joined = (j == 0 && tag != 3) || (j == kSliversPerArc - 1 && tag == 3);
    int32_t edge = -1;
    EXPECT_EQ(CutEdges(poly->faces[f], &edge), joined ? 0 : 1) << f;
    if (!joined) {
      EXPECT_EQ(edge, 1) << f;
    }
  }
  EXPECT_TRUE(NoDegenerateFaces(poly.get()));
  EXPECT_TRUE(IsClosed(poly.get()));
  EXPECT_TRUE(EulerHolds(poly.get()));
  EXPECT_TRUE(NetIsSoundFor(poly.get()));
  EXPECT_EQ(poly->fragmentCount, 1);
}

TEST(ConeConstruction, LineIntersectionAndConePoint) {
  double pa[3], pb[3], mua = 0, mub = 0;
  const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0}, y0[3] = {0, 1, 0}, y1[3] = {1, 1, 0};
  EXPECT_EQ(LineLineIntersect(o, x, y0, y1, pa, pb, &mua, &mub), 0) << "parallel lines";
  EXPECT_EQ(LineLineIntersect(o, o, y0, y1, pa, pb, &mua, &mub), 0) << "a line without length";
  const double z0[3] = {0.5, 1, -1}, z1[3] = {0.5, 1, 1};
  ASSERT_EQ(LineLineIntersect(o, x, z0, z1, pa, pb, &mua, &mub), 1);
  EXPECT_NEAR(pa[0], 0.5, 1e-15);
  EXPECT_NEAR(pb[1], 1.0, 1e-15);
  EXPECT_NEAR(pb[2], 0.0, 1e-15);

  // The cone point stays on the ray of P and its generator meets the axis
  // apex-centre at the cone turn.
  const double apex[3] = {0, 0, 1};
  const double p[3] = {0.6, 0.0, 0.8};
  double q[3];
  MakeLieOnCone(apex, kConeTurn, p, q);
  EXPECT_NEAR(q[0] * p[2] - q[2] * p[0], 0.0, 1e-12);
  EXPECT_NEAR(q[1], 0.0, 1e-12);
  const double g[3] = {q[0] - apex[0], q[1] - apex[1], q[2] - apex[2]};
  const double cosTurn = -g[2] / std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
  EXPECT_NEAR(std::acos(cosTurn), kConeTurn, 1e-12);
}

}  // namespace
