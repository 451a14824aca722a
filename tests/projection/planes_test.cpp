#include "projection/planes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geom_test_util.h"
#include "projection/scalar_math.h"

namespace {

TEST(Planes, BuildFromPointAndDirection) {
  const double p[3] = {1, 2, 3}, dir[3] = {0, 0, 2};
  PLANED plane;
  BuildPlaneFromPointAndDirection(p, dir, &plane);
  const double n[3] = {0, 0, 1};
  EXPECT_TRUE(Near3(plane.normal, n, 0));
  EXPECT_TRUE(Near3(plane.unitNormal, n, 0));
  EXPECT_TRUE(Near3(plane.point, p, 0));
  EXPECT_EQ(plane.negDot, -3.0);
  EXPECT_EQ(plane.classifyOffset, -3.0);
  EXPECT_EQ(plane.d, 3.0);
  EXPECT_EQ(dir[2], 2.0);  // the caller's direction is not touched

  // Through b, with normal (b - a) × (c - a).
  const double a[3] = {0, 0, 5}, b[3] = {1, 0, 5}, c[3] = {0, 1, 5};
  BuildPlaneFromThreePoints(a, b, c, &plane);
  EXPECT_TRUE(Near3(plane.unitNormal, n, 0));
  EXPECT_TRUE(Near3(plane.point, b, 0));
  EXPECT_EQ(plane.d, 5.0);
  PLANED viaT;
  BuildPlaneFromThreePointsT({0, 0, 5}, {0, 1, 5}, {1, 0, 5}, &viaT);
  EXPECT_EQ(viaT.unitNormal[2], -1.0);  // the other order turns the normal over
}

TEST(Planes, ClassifyIsStrictAtTheTolerance) {
  PLANED plane;
  const double p[3] = {0, 0, 1}, dir[3] = {0, 0, 1};
  BuildPlaneFromPointAndDirection(p, dir, &plane);
  struct Case {
    double z, tol;
    int side;
  };
  const Case cases[] = {
      {1.0, 0.0, 0}, {1.0, 0.1, 0}, {1.05, 0.1, 0}, {0.95, 0.1, 0}, {1.25, 0.25, 0}, {1.5, 0.25, 1}, {0.5, 0.25, -1},
      {1.0 + 1e-12, 0.0, 1},
  };
  for (const Case& c : cases) {
    const double x[3] = {3, -4, c.z};
    EXPECT_EQ(Classify_PointD(&plane, x, c.tol), c.side) << c.z << " within " << c.tol;
    EXPECT_EQ(Classify_PointDT(&plane, {3, -4, c.z}, c.tol), c.side) << c.z << " within " << c.tol;
  }
}

TEST(Planes, IntersectionOfThreePlanes) {
  PLANED px, py, pz;
  const double at[3] = {1, 2, 3};
  const double ex[3] = {1, 0, 0}, ey[3] = {0, 1, 0}, ez[3] = {0, 0, 1};
  BuildPlaneFromPointAndDirection(at, ex, &px);
  BuildPlaneFromPointAndDirection(at, ey, &py);
  BuildPlaneFromPointAndDirection(at, ez, &pz);
  double x[3] = {9, 9, 9};
  ASSERT_TRUE(IntersectionOf3PlanesD(&px, &py, &pz, x));
  EXPECT_TRUE(Near3(x, at, 0));

  // Oblique planes through one point.
  const double q[3] = {-0.5, 4, 2.25};
  const double n1[3] = {1, 2, 3}, n2[3] = {-2, 0.5, 1}, n3[3] = {0.3, -1, 0.2};
  PLANED a, b, c;
  BuildPlaneFromPointAndDirection(q, n1, &a);
  BuildPlaneFromPointAndDirection(q, n2, &b);
  BuildPlaneFromPointAndDirection(q, n3, &c);
  ASSERT_TRUE(IntersectionOf3PlanesD(&a, &b, &c, x));
  EXPECT_TRUE(Near3(x, q, 1e-14));

  PLANED parallel;
  const double elsewhere[3] = {7, 0, 0};
  BuildPlaneFromPointAndDirection(elsewhere, ex, &parallel);
  double untouched[3] = {9, 9, 9};
  EXPECT_FALSE(IntersectionOf3PlanesD(&px, &parallel, &pz, untouched));
  EXPECT_EQ(untouched[0], 9.0);
}

TEST(Planes, DistanceToSegment) {
  struct Case {
    const char* name;
    double a[3], b[3], p[3];
    int snap;
    double distance;
    double nearest[3];
  };
  const Case cases[] = {
      {"a = b", {1, 1, 1}, {1, 1, 1}, {1, 1, 4}, 0, 3, {1, 1, 1}},
      {"beyond b", {0, 0, 0}, {2, 0, 0}, {5, 4, 0}, 0, 5, {2, 0, 0}},
      {"before a", {0, 0, 0}, {2, 0, 0}, {-3, 0, 4}, 0, 5, {0, 0, 0}},
      {"beside the middle", {0, 0, 0}, {2, 0, 0}, {0.5, 3, 0}, 0, 3, {0.5, 0, 0}},
      {"snapped onto b", {0, 0, 0}, {1, 0, 0}, {0.999999995, 1, 0}, 1, 1, {1, 0, 0}},
      {"snapped onto a", {0, 0, 0}, {1, 0, 0}, {5e-9, 1, 0}, 1, 1, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    double nearest[3];
    EXPECT_NEAR(DistanceFromPointToLineSegmentD(c.a, c.b, c.p, nearest, c.snap), c.distance, 1e-15) << c.name;
    EXPECT_TRUE(Near3(nearest, c.nearest, 0)) << c.name;
  }
  const double a[3] = {0, 0, 0}, b[3] = {1, 0, 0}, p[3] = {0.999999995, 1, 0};
  double nearest[3];
  DistanceFromPointToLineSegmentD(a, b, p, nearest, 0);
  EXPECT_EQ(nearest[0], 0.999999995);  // without the snap the foot stays
}

TEST(Planes, AnglesAtTheMiddlePoint) {
  const double a[3] = {-1, 2, 0}, b[3] = {1, 2, 0}, c[3] = {4, 2, 0};
  EXPECT_NEAR(DotProductAround3DpointsD(a, b, c), -1.0, 1e-16);
  const double r[3] = {3, 0, 0}, o[3] = {0, 0, 0}, s[3] = {0, 5, 0};
  EXPECT_NEAR(DotProductAround3DpointsD(r, o, s), 0.0, 1e-16);
  double n[3];
  NormalizedCrossProductAround3DpointsD(r, o, s, n);
  const double z[3] = {0, 0, 1};
  EXPECT_TRUE(Near3(n, z, 1e-16));
  // Of unit legs, but not itself of unit length: |n| = sin 60 here.
  const double t[3] = {1, std::sqrt(3.0), 0};
  NormalizedCrossProductAround3DpointsD(r, o, t, n);
  EXPECT_NEAR(n[2], std::sqrt(3.0) / 2, 1e-15);
}

TEST(Planes, SpinsAndTurns) {
  const triplex p{0.3, -1.2, 2.5};
  EXPECT_TRUE(NearT(SpinPointAroundAxis(GetSpintypeForIdentity(), p), p, 0));
  const spintype quarter{{0, 0, 0}, {0, 0, 1}, kPi / 2};
  EXPECT_TRUE(NearT(SpinPointAroundAxis(quarter, {1, 0, 0}), {0, -1, 0}, 1e-15));
  const spintype offCentre{{1, 1, 0}, {0, 0, 1}, kPi / 2};
  EXPECT_TRUE(NearT(SpinPointAroundAxis(offCentre, {2, 1, 7}), {1, 0, 7}, 1e-15));
  const spintype general{{0.5, -1, 2}, {0.48, 0.6, 0.64}, 1.3};
  const triplex rel = Tsub(p, general.centre);
  const double relv[3] = {rel.x, rel.y, rel.z}, axis[3] = {0.48, 0.6, 0.64};
  double want[3];
  RodriguesTurn(relv, axis, -1.3, want);
  EXPECT_TRUE(NearT(SpinPointAroundAxis(general, p), Tadd({want[0], want[1], want[2]}, general.centre), 1e-15));

  struct TurnCase {
    const char* name;
    void (*turn)(double*, double);
    double p[3];
    double t;
    double want[3];
  };
  const TurnCase turns[] = {
      {"SpinIt by 0", SpinIt, {0.1, 0.2, 0.3}, 0, {0.1, 0.2, 0.3}},
      {"SpinIt", SpinIt, {1, 0, 0.5}, kPi / 2, {0, 1, 0.5}},
      {"LatitudeIt", LatitudeIt, {0.5, 0, 1}, kPi / 2, {0.5, 1, 0}},
      {"LongitudeIt", LongitudeIt, {0, 0, 1}, kPi / 2, {1, 0, 0}},
      {"LongitudeIt back", LongitudeIt, {1, 0.25, 0}, kPi / 2, {0, 0.25, -1}},
  };
  for (const TurnCase& c : turns) {
    double q[3] = {c.p[0], c.p[1], c.p[2]};
    c.turn(q, c.t);
    EXPECT_TRUE(Near3(q, c.want, 3e-16)) << c.name;
  }
}

TEST(Planes, ReflectAroundLine) {
  struct Case {
    const char* name;
    fcomplex a, b, p, want;
  };
  const Case cases[] = {
      {"across the x axis", {0, 0}, {1, 0}, {2, 3}, {2, -3}},
      {"across a diagonal", {1, 1}, {3, 3}, {0, 2}, {2, 0}},
      {"a point on the line", {1, 1}, {3, 3}, {5, 5}, {5, 5}},
      {"no line: through the point a", {1, 2}, {1, 2}, {4, 6}, {-2, -2}},
  };
  for (const Case& c : cases) EXPECT_TRUE(NearC(ReflectAroundLine(c.a, c.b, c.p), c.want, 4e-15)) << c.name;
}

TEST(Planes, BuildRayNormalisesTheCallersDirection) {
  const double origin[3] = {1, 2, 3};
  double direction[3] = {0, 3, 4};
  double ray[6];
  BuildRay(ray, origin, direction);
  EXPECT_TRUE(Near3(ray, origin, 0));
  const double kept[3] = {0, 3, 4}, unit[3] = {0, 0.6, 0.8};
  EXPECT_TRUE(Near3(ray + 3, kept, 0));
  EXPECT_TRUE(Near3(direction, unit, 3e-16));
}

}  // namespace
