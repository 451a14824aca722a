// Barycentric coordinates in net triangles and the points they lead to, in
// the net and on the solid.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/net_fixture.h"
#include "polyhedron/nets/net_points.h"
#include "polyhedron/nets/net_triangles.h"

namespace {

// Net triangle 0 over the given corners.
PolyPtr OneTriangle(std::pair<double, double> a, std::pair<double, double> b, std::pair<double, double> c) {
  PolyPtr p = NewOwningPoly();
  BuildLinkedNet(p.get(), {a, b, c}, {{0, 1, 2}});
  MakeNetTriangle(0, p.get(), 0, 0, 1, 2);
  p->nTriangles = 1;
  barycentrics_precalc(0, p.get());
  return p;
}

TEST(NetBarycentrics, ToleranceAndEarlyStop) {
  constexpr float kUntouched = 99.0f;
  const struct {
    const char* name;
    float x, y;
    bool inside;
    float b0, b1, b2;  // kUntouched: not written
  } cases[] = {
      {"a corner", 0.0f, 0.0f, true, 1.0f, 0.0f, 0.0f},
      {"on an edge", 0.5f, 0.0f, true, 0.5f, 0.5f, 0.0f},
      {"5e-7 outside an edge", 0.5f, -5e-7f, true, 0.5000005f, 0.5f, -5e-7f},
      {"1e-5 outside an edge", 0.5f, -1e-5f, false, 0.50001f, 0.5f, -1e-5f},
      {"fails on b1: b2 unwritten", -1.0f, 0.5f, false, 1.5f, -1.0f, kUntouched},
      {"fails on b0: b1 and b2 unwritten", 2.0f, 2.0f, false, -3.0f, kUntouched, kUntouched},
  };
  PolyPtr p = OneTriangle({0, 0}, {1, 0}, {0, 1});
  for (const auto& c : cases) {
    float b0 = kUntouched, b1 = kUntouched, b2 = kUntouched;
    EXPECT_EQ(find_barycentrics(0, c.x, c.y, &b0, &b1, &b2, p.get()), c.inside) << c.name;
    EXPECT_NEAR(b0, c.b0, 1e-7) << c.name;
    EXPECT_NEAR(b1, c.b1, 1e-7) << c.name;
    EXPECT_NEAR(b2, c.b2, 1e-7) << c.name;
  }
}

TEST(NetBarycentrics, EitherWindingAndDegenerateTriangles) {
  // Clockwise corners: the determinant is negative, the coordinates the same.
  PolyPtr cw = OneTriangle({0, 0}, {0, 1}, {1, 0});
  EXPECT_EQ(cw->triangles[0].invDet, -1.0f);
  float b0, b1, b2;
  EXPECT_TRUE(find_barycentrics(0, 0.25f, 0.5f, &b0, &b1, &b2, cw.get()));
  EXPECT_FLOAT_EQ(b0, 0.25f);
  EXPECT_FLOAT_EQ(b1, 0.5f);
  EXPECT_FLOAT_EQ(b2, 0.25f);

  // Collinear corners: 1.0 is stored and the raw cross products come back.
  PolyPtr line = OneTriangle({0, 0}, {1, 1}, {2, 2});
  EXPECT_EQ(line->triangles[0].invDet, 1.0f);
  EXPECT_FALSE(find_barycentrics(0, 0.0f, 1.0f, &b0, &b1, &b2, line.get()));
  EXPECT_EQ(b0, 1.0f);
  EXPECT_EQ(b1, -2.0f);
}

// A net point found in its triangle comes back from its barycentrics, and
// its point on the solid is the cube point that face shows there.
TEST(NetBarycentrics, RoundTripThroughTheCrossNet) {
  PolyPtr p = NewOwningPoly();
  BuildCubeCrossNet(p.get());
  FanTriangulate(p.get());
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> unit(0.01, 0.99);
  const double origin[6][2] = {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {1, 2}, {1, 0}};
  for (int32_t i = 0; i < 300; ++i) {
    const int32_t face = i % 6;
    const double x = origin[face][0] + unit(rng), y = origin[face][1] + unit(rng);
    int32_t found = -1;
    float b0 = 0, b1 = 0, b2 = 0;
    for (int32_t t = 0; t < p->nTriangles && found < 0; ++t)
      if (find_barycentrics(t, float(x), float(y), &b0, &b1, &b2, p.get())) found = t;
    ASSERT_GE(found, 0) << x << ", " << y;
    EXPECT_EQ(p->triangles[found].face2D, face);

    double net[3], solid[3], expected[3];
    Get2DPointFromTriangleAndBarys(found, b0, b1, b2, net, p.get());
    EXPECT_NEAR(net[0], x, 2e-6);
    EXPECT_NEAR(net[1], y, 2e-6);
    EXPECT_EQ(net[2], 0.0);
    Get3DPointFromFaceAndBarys(found, b0, b1, b2, solid, p.get());
    CubePointOfCrossNet(face, x, y, expected);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(solid[k], expected[k], 2e-6) << "face " << face;
    float solidF[3];
    Get3DPointFromFaceAndBarysF(found, b0, b1, b2, solidF, p.get());
    for (int k = 0; k < 3; ++k) EXPECT_EQ(solidF[k], float(solid[k]));
  }

  // Blended as a map, the point is a direction into the same face.
  p->fancyPointMode = 1;
  float b0, b1, b2;
  int32_t t = 0;
  while (t < p->nTriangles && !find_barycentrics(t, 1.6f, 1.3f, &b0, &b1, &b2, p.get())) ++t;
  ASSERT_EQ(p->triangles[t].face2D, kCrossFront);
  double d[3];
  Get3DPointFromFaceAndBarys(t, b0, b1, b2, d, p.get());
  EXPECT_NEAR(d[0] * d[0] + d[1] * d[1] + d[2] * d[2], 1.0, 1e-9);
  EXPECT_GT(d[2], std::fabs(d[0]));
  EXPECT_GT(d[2], std::fabs(d[1]));
}

TEST(NetBarycentrics, VertexBufferSkipsTabs) {
  PolyPtr p = NewOwningPoly();
  BuildCubeCrossNet(p.get());
  FanTriangulate(p.get());
  NetTriangle& tab = p->triangles[p->nTriangles];
  tab = p->triangles[0];
  tab.isTab = 1;
  tab.corner3D[0][0] = 42.0;
  ++p->nTriangles;
  Prepare_vert_buffer(p.get());
  for (int32_t t = 0; t + 1 < p->nTriangles; ++t)
    for (int k = 0; k < 3; ++k) {
      double render[3];
      convert_triangle_vertex_to_3D_vectorD(t, k, render, p.get());
      for (int i = 0; i < 3; ++i) EXPECT_EQ(p->triangles[t].corner3D[k][i], render[i]);
    }
  EXPECT_EQ(tab.corner3D[0][0], 42.0);
}

}  // namespace
