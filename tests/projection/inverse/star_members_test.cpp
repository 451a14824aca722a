// Contract and edge cases of the star, ring, Reuleaux and cube-based members.
#include <gtest/gtest.h>

#include <cmath>

#include "projection/inverse/star_projections.h"
#include "projection/inverse/star_projections_reuleaux.h"
#include "views_test_util.h"

namespace {

NetSectorSample Sample(int32_t sector, float b0, float b1, float b2) {
  NetSectorSample s{};
  s.triangle = 40 + sector;
  s.sector = sector;
  s.b0 = b0;
  s.b1 = b1;
  s.b2 = b2;
  return s;
}

// A point with no place on the lookup grid reads the disk centre (0, 0),
// which each hemisphere of the pentalene puts on its own side of x.
TEST(StarMembers, PentaleneDiskCentre) {
  for (int32_t k : {0, 5, 9, 10, 19}) {
    const NetSectorSample s = Sample(k, NAN, 0.0f, NAN);
    float p[3];
    int32_t region = -1;
    uint8_t out = 0;
    TotalPentaleneToSphere(&s, p, 0, &region, &out);
    const float want[3] = {k <= 9 ? -1.0f : 1.0f, 0.0f, 0.0f};
    EXPECT_TRUE(Near3(p, want, 1e-6)) << k;
    EXPECT_EQ(region, k);
    EXPECT_EQ(out, 0);
  }
}

using Member = void (*)(const NetSectorSample*, float[3], int32_t, int32_t*, uint8_t*);

// A sector index beyond the layout would read past its spin table; it has
// no place on the sphere and is reported outside.
TEST(StarMembers, SectorBeyondTheLayoutIsOutside) {
  const struct {
    const char* name;
    Member member;
    int32_t sectors;
  } members[] = {
      {"pentalene", TotalPentaleneToSphere, kPentaleneSectors},
      {"five-star", TotalFivestarToSphere, kFivestarSectors},
      {"Adams diamonds", TotalAdamsdiamondsToSphere, kAdamsDiamondsSectors},
      {"naphthalene", TotalNaphthaleneToSphere, kNaphthaleneSectors},
      {"six-star", TotalSixstarToSphere, kSixstarSectors},
      {"pointy", TotalNEWPOINTYToSphere, kPointySectors},
      {"anthracene", TotalAnthraceneToSphere, kAnthraceneSectors},
      {"phenanthrene", TotalPhenatheneToSphere, kPhenantheneSectors},
      {"rhombus", TotalRhombusToSphere, kRhombusSectors},
      {"three-star", TotalThreestarToSphere, kThreestarSectors},
  };
  for (const auto& m : members) {
    for (int32_t k : {-1, m.sectors, 1000}) {
      const NetSectorSample s = Sample(k, 0.3f, 0.3f, 0.4f);
      float p[3] = {7, 7, 7};
      int32_t region = 0;
      uint8_t out = 0;
      m.member(&s, p, 0, &region, &out);
      const float pole[3] = {0, 0, 1};
      EXPECT_EQ(out, 1) << m.name << " " << k;
      EXPECT_EQ(region, -5) << m.name << " " << k;
      EXPECT_TRUE(Near3(p, pole, 0.0)) << m.name << " " << k;
    }
    // The last sector of the layout is still inside.
    const NetSectorSample s = Sample(m.sectors - 1, 0.3f, 0.3f, 0.4f);
    float p[3];
    int32_t region = 0;
    uint8_t out = 0;
    m.member(&s, p, 0, &region, &out);
    EXPECT_EQ(out, 0) << m.name;
    EXPECT_EQ(region, m.sectors - 1) << m.name;
    EXPECT_NEAR(std::hypot(p[0], p[1], p[2]), 1.0, 1e-5) << m.name;
  }
}

// The three-fold layouts read the sixth only up to its hypotenuse: a point
// beyond it (b0 + b2 > 1) reads the hypotenuse point with the same b0.
TEST(StarMembers, ThreeFoldLayoutsFoldAtTheHypotenuse) {
  for (Member m : {static_cast<Member>(TotalRhombusToSphere), static_cast<Member>(TotalThreestarToSphere)}) {
    const NetSectorSample beyond = Sample(1, 0.4f, -0.1f, 0.7f);
    const NetSectorSample on = Sample(1, 0.4f, 0.0f, 0.6f);
    float a[3], b[3];
    int32_t r;
    uint8_t out = 0;
    m(&beyond, a, 0, &r, &out);
    m(&on, b, 0, &r, &out);
    EXPECT_TRUE(Near3(a, b, 1e-6));
  }
}

// A Reuleaux sample on a face whose corners surround the tetrahedron's top
// vertex (0, 0, 1).
NetSectorSample TopFace(int32_t sector, float b0, float b1, float b2) {
  NetSectorSample s = Sample(sector, b0, b1, b2);
  const double c[3][3] = {{0.0, 0.0, 1.0}, {0.5, 0.0, 0.8660254}, {0.25, 0.4330127, 0.8660254}};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) s.corner3D[i][j] = c[i][j];
  }
  return s;
}

TEST(ReuleauxMembers, OutsideTestByShape) {
  double q[3];
  // Near the top vertex: inside the Reuleaux tetrahedron's top face; the
  // start point is the inverse stereographic image of (x, y), x negated.
  const NetSectorSample top = TopFace(0, 0.8f, 0.1f, 0.1f);
  EXPECT_EQ(OutsideReuleaux(&top, q, ReuleauxShape_Tetrahedron), 0);
  EXPECT_NEAR(std::hypot(q[0], q[1], q[2]), 1.0, 1e-12);
  EXPECT_GT(q[2], 0.9);
  // A face nearer another vertex of the tetrahedron.
  NetSectorSample side = TopFace(0, 1.0f, 0.0f, 0.0f);
  const double v0[3] = {0.94280905, 0.0, -0.33333334};
  for (int j = 0; j < 3; ++j) side.corner3D[0][j] = v0[j];
  EXPECT_EQ(OutsideReuleaux(&side, q, ReuleauxShape_Tetrahedron), 1);
  // The octahedron: within 1.732 of all three centres is inside.
  EXPECT_EQ(OutsideReuleaux(&top, q, ReuleauxShape_Octahedron), 0);
  NetSectorSample far = TopFace(0, 1.0f, 0.0f, 0.0f);
  far.corner3D[0][0] = 1.2;  // 2.6 from (-1.414, 0)
  EXPECT_EQ(OutsideReuleaux(&far, q, ReuleauxShape_Octahedron), 1);
  // Any other shape is inside.
  EXPECT_EQ(OutsideReuleaux(&far, q, 9), 0);
}

TEST(ReuleauxMembers, OutsidePointsAndRegions) {
  NetSectorSample side = TopFace(14, 1.0f, 0.0f, 0.0f);
  const double v1[3] = {-0.47140452, 0.8164966, -0.33333334};
  for (int j = 0; j < 3; ++j) side.corner3D[0][j] = v1[j];
  NetSectorSample far = TopFace(14, 1.0f, 0.0f, 0.0f);
  far.corner3D[0][0] = 1.2;
  const NetSectorSample inside = TopFace(14, 0.8f, 0.1f, 0.1f);

  const struct {
    const char* name;
    int which;
  } members[] = {{"Reuleaux 8", 0}, {"Reuleaux 1", 1}, {"Reuleaux 2", 2}, {"Reuleaux 4", 3}, {"octreleaux", 4}};
  for (const auto& m : members) {
    auto run = [&](const NetSectorSample& s, float p[3], uint8_t* out, int32_t* region) {
      switch (m.which) {
        case 0:
          TotalReuleaux8ToSphere(&s, p, out, region);
          break;
        case 1:
          TotalReuleaux1Or2ToSphere(&s, p, out, 1, region);
          break;
        case 2:
          TotalReuleaux1Or2ToSphere(&s, p, out, 2, region);
          break;
        case 3:
          TotalReuleaux4ToSphere(&s, p, out, region);
          break;
        default:
          TotalOctreleauxToSphere(&s, p, out, region);
          break;
      }
    };
    float p[3] = {7, 7, 7};
    uint8_t out = 0;
    int32_t region = 0;
    run(m.which == 4 ? far : side, p, &out, &region);
    const float pole[3] = {0, 0, 1};
    EXPECT_EQ(out, 1) << m.name;
    EXPECT_EQ(region, -5) << m.name;
    EXPECT_TRUE(Near3(p, pole, 0.0)) << m.name;

    out = 0;
    region = 0;
    run(inside, p, &out, &region);
    EXPECT_EQ(region, 2) << m.name << ": the group of six sectors";
    if (m.which != 1) {
      EXPECT_EQ(out, 0) << m.name;
    }
    EXPECT_NEAR(std::hypot(p[0], p[1], p[2]), 1.0, 1e-5) << m.name;
  }
}

TEST(CubeMembers, ShurikenAndWaffle) {
  NetSectorSample s = TopFace(3, 0.2f, 0.3f, 0.5f);
  s.triangle = 77;
  float p[3];
  int32_t region = 0;
  Total4ShurikenToSphere(&s, p, &region);
  EXPECT_EQ(region, 77);
  EXPECT_TRUE(std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]));

  // The waffle's upper half: right of vertex 22 the picture keeps x <= 0,
  // left of it x >= 0, each by a half-turn about y where needed.
  const WaffleNetMarks marks = {0.5f, 1.0f, 0.0f};
  float left[3], right[3], low[3];
  uint8_t out = 0;
  TotalWaffleToSphere(&s, left, &out, &marks, 0.2f, 0.8f, &region);
  EXPECT_EQ(region, 3);
  TotalWaffleToSphere(&s, right, &out, &marks, 0.8f, 0.8f, &region);
  TotalWaffleToSphere(&s, low, &out, &marks, 0.8f, 0.3f, &region);
  EXPECT_LE(right[0], 0.0f);
  EXPECT_GE(left[0], 0.0f);
  EXPECT_EQ(left[0], -right[0]);
  EXPECT_EQ(left[2], -right[2]);
  EXPECT_TRUE(Near3(right, low, 0.0) || Near3(left, low, 0.0)) << "the lower half is left as it is";
}

}  // namespace
