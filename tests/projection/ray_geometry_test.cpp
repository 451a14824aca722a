#include "projection/ray_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geom_test_util.h"
#include "projection/sphere_convention.h"

namespace {

TEST(RayGeometry, DoesIntersectSeesClockwiseTrianglesFromTheirSide) {
  // Clockwise seen from +z, looking back at the origin.
  const double a[3] = {1, 0, 1}, b[3] = {-1, -1, 1}, c[3] = {0, 1, 1};
  struct Case {
    const char* name;
    double d[3];
    bool hit;
  };
  const Case cases[] = {
      {"through the inside", {0, 0, 1}, true},
      {"through the inside, scaled", {0, 0, 5}, true},
      {"away from the triangle", {0, 0, -1}, false},
      {"through a corner", {1, 0, 1}, true},
      {"through an edge", {0.5, 0.5, 1}, true},
      {"beside it", {2, 2, 1}, false},
  };
  for (const Case& k : cases) EXPECT_EQ(DoesIntersect(a, b, c, k.d), k.hit) << k.name;
  const double up[3] = {0, 0, 1};
  EXPECT_FALSE(DoesIntersect(a, c, b, up)) << "the other winding";
}

TEST(RayGeometry, RayTriangleIntersection) {
  const double T0[3] = {0, 0, 0}, T1[3] = {1, 0, 0}, T2[3] = {0, 1, 0};
  const double up[3] = {0, 0, 1};
  struct Case {
    const char* name;
    double o[3];
    const double* d;
    bool swapWinding;
    int hit;
    double t, u, v;
  };
  const double along[3] = {1, 0, 0};
  const Case cases[] = {
      {"inside", {0.2, 0.3, -1}, up, false, 1, 1, 0.2, 0.3},
      {"other winding", {0.2, 0.3, -1}, up, true, 1, 1, 0.3, 0.2},
      {"behind the origin", {0.2, 0.3, 2}, up, false, 1, -2, 0.2, 0.3},
      {"on the edge u + v = 1", {0.5, 0.5, -1}, up, false, 1, 1, 0.5, 0.5},
      {"outside", {0.7, 0.7, -1}, up, false, 0, 0, 0, 0},
      {"negative u", {-0.1, 0.5, -1}, up, true, 0, 0, 0, 0},
      {"edge-on", {-1, 0.2, 0}, along, false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    double t = 0, u = 0, v = 0;
    const int hit = c.swapWinding ? intersect_triangle2(c.o, c.d, T0, T2, T1, &t, &u, &v)
                                  : intersect_triangle2(c.o, c.d, T0, T1, T2, &t, &u, &v);
    EXPECT_EQ(hit, c.hit) << c.name;
    if (hit == 0) continue;
    EXPECT_NEAR(t, c.t, 1e-15) << c.name;
    EXPECT_NEAR(u, c.u, 1e-15) << c.name;
    EXPECT_NEAR(v, c.v, 1e-15) << c.name;
  }
}

TEST(RayGeometry, BarycentricsRoundTrip) {
  const double A[3] = {0.5, -1, 0}, B[3] = {3, 0.25, 0}, C[3] = {-0.75, 2, 0};
  double a, b, c;
  XY_and_3points_to_barycentrics(B[0], B[1], A[0], A[1], B[0], B[1], C[0], C[1], &a, &b, &c);
  EXPECT_NEAR(a, 0, 1e-15);
  EXPECT_NEAR(b, 1, 1e-15);
  EXPECT_NEAR(c, 0, 1e-15);
  for (double x = -1; x <= 3; x += 0.5) {
    for (double y = -1; y <= 2; y += 0.5) {
      XY_and_3points_to_barycentrics(x, y, A[0], A[1], B[0], B[1], C[0], C[1], &a, &b, &c);
      EXPECT_NEAR(a + b + c, 1.0, 1e-14);
      double D[3];
      D_Gets_Barycentric_of_A_B_C(a, b, c, A, B, C, D);
      const double want[3] = {x, y, 0};
      EXPECT_TRUE(Near3(D, want, 1e-14)) << x << ", " << y;
    }
  }
  XY_and_3points_to_barycentrics(0, 0, 0, 0, 1, 1, 2, 2, &a, &b, &c);
  EXPECT_FALSE(std::isfinite(a) && std::isfinite(b) && std::isfinite(c));  // degenerate triangle
}

void Direction(double u, double v, double p[3]) { RectangularToSphericalD(u, v, p); }

TEST(RayGeometry, PointFromCornersAndBarys) {
  const double A[3] = {0, 0, 2}, B[3] = {2, 0, 2}, C[3] = {0, 4, 2};
  double out[3];
  Get3DPointFromCornersAndBarys(A, B, C, 0.5f, 0.25f, 0.25f, 0, out);
  const double linear[3] = {0.5, 1, 2};
  EXPECT_TRUE(Near3(out, linear, 1e-15));

  struct Case {
    const char* name;
    double uvA[2], uvB[2], uvC[2];
    float b[3];
    double want[2];  // (u, v) of the expected direction
  };
  const Case cases[] = {
      {"plain", {0.3, 0.4}, {0.4, 0.4}, {0.3, 0.5}, {0.5f, 0.25f, 0.25f}, {0.325, 0.425}},
      // Corners in the last and first quarters: across the seam, u = 1.
      {"across the seam", {0.95, 0.5}, {0.05, 0.5}, {0.95, 0.4}, {0.5f, 0.5f, 0.0f}, {1.0, 0.5}},
      // The pole corner has no longitude; the others decide it.
      {"one corner at a pole", {0.5, 0.0}, {0.3, 0.3}, {0.4, 0.3}, {0.5f, 0.25f, 0.25f}, {0.35, 0.15}},
      // All the weight on the pole corner: the pole itself.
      {"at the pole corner", {0.5, 0.0}, {0.3, 0.3}, {0.4, 0.3}, {1.0f, 0.0f, 0.0f}, {0.5, 0.0}},
  };
  for (const Case& c : cases) {
    double pa[3], pb[3], pc[3], want[3];
    Direction(c.uvA[0], c.uvA[1], pa);
    Direction(c.uvB[0], c.uvB[1], pb);
    Direction(c.uvC[0], c.uvC[1], pc);
    for (int i = 0; i < 3; ++i) pb[i] *= 3;  // corners need not be unit
    Direction(c.want[0], c.want[1], want);
    Get3DPointFromCornersAndBarys(pa, pb, pc, c.b[0], c.b[1], c.b[2], 1, out);
    EXPECT_TRUE(Near3(out, want, 1e-7)) << c.name;
  }
}

TEST(RayGeometry, NormalizeAndRectangularize) {
  double north[3] = {0, 1, 0};
  EXPECT_EQ(Normalize_and_RectangularizeD(north), 0.0);
  EXPECT_EQ(north[1], 0.0);
  double front[3] = {0, 0, 2};
  EXPECT_EQ(Normalize_and_RectangularizeD(front), 1.0);
  const double want[3] = {0.5, 0.5, 0};
  EXPECT_TRUE(Near3(front, want, 1e-16));
}

TEST(RayGeometry, QuadricIntersections) {
  const double origin[3] = {0, 0, 0};
  struct Case {
    const char* name;
    double ray[6];
    double centre[3];
    double scale;
    int kind;
    int hit;
    double nearHit[6], farHit[6];  // normals only for sphere and cylinder
  };
  const Case cases[] = {
      {"sphere", {0, 0, -2, 0, 0, 1}, {0, 0, 0}, 1, kQuadricSphere, 1, {0, 0, -1, 0, 0, -1}, {0, 0, 1, 0, 0, 1}},
      {"sphere off centre", {5, 1, -2, 0, 0, 2}, {5, 1, 0}, 1, kQuadricSphere, 1, {5, 1, -1, 0, 0, -1},
       {5, 1, 1, 0, 0, 1}},
      {"sphere of radius 2", {0, 0, -3, 0, 0, 1}, {0, 0, 0}, 2, kQuadricSphere, 1, {0, 0, -2, 0, 0, -1},
       {0, 0, 2, 0, 0, 1}},
      {"sphere missed", {0, 2, -2, 0, 0, 1}, {0, 0, 0}, 1, kQuadricSphere, 0, {}, {}},
      {"cylinder", {-3, 0, 7, 1, 0, 0}, {0, 0, 0}, 1, kQuadricCylinder, 1, {-1, 0, 7, -1, 0, 0},
       {1, 0, 7, 1, 0, 0}},
      {"along the cylinder's axis", {0.5, 0, 0, 0, 0, 1}, {0, 0, 0}, 1, kQuadricCylinder, 0, {}, {}},
      {"cone", {-2, 0, 1, 1, 0, 0}, {0, 0, 0}, 1, kQuadricCone, 1, {-1, 0, 1}, {1, 0, 1}},
      {"parallel to the cone's side", {1, 0, 0, 1, 0, 1}, {0, 0, 0}, 1, kQuadricCone, 1, {0.5, 0, -0.5},
       {0.5, 0, -0.5}},
      {"no such quadric", {0, 0, -2, 0, 0, 1}, {0, 0, 0}, 1, 3, 0, {}, {}},
      {"zero direction", {0, 0, -2, 0, 0, 0}, {0, 0, 0}, 1, kQuadricSphere, 0, {}, {}},
  };
  for (const Case& c : cases) {
    double nearOut[6] = {9, 9, 9, 9, 9, 9}, farOut[6] = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(IntersectRayWithQuadricSurface(c.ray, c.centre, c.scale, nearOut, farOut, c.kind), c.hit) << c.name;
    if (c.hit == 0) {
      EXPECT_EQ(nearOut[0], 9) << c.name << ": nothing written on a miss";
      continue;
    }
    EXPECT_TRUE(Near3(nearOut, c.nearHit, 1e-15)) << c.name;
    EXPECT_TRUE(Near3(farOut, c.farHit, 1e-15)) << c.name;
    if (c.kind != kQuadricCone) {
      EXPECT_TRUE(Near3(nearOut + 3, c.nearHit + 3, 1e-15)) << c.name;
      EXPECT_TRUE(Near3(farOut + 3, c.farHit + 3, 1e-15)) << c.name;
    }
  }
  const double ray[6] = {0, 0, -2, 0, 0, 1};
  double nearOut[6];
  EXPECT_EQ(IntersectRayWithQuadricSurface(ray, origin, 1, nearOut, nullptr, kQuadricSphere), 1);
}

}  // namespace
