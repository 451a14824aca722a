// The fetch protocol on the real tables, the sphere-cube fetch and the
// barycentric warps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "projection/complex_math.h"
#include "projection/inverse/conformal_warp.h"
#include "projection/lookup/lookup_cache.h"
#include "projection/lookup/lookup_fetch.h"
#include "projection/tables/lookup_tables.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct PairFetch {
  const char* name;
  fcomplex (*fetch)(fcomplex);
  int32_t cacheId;
};

const PairFetch kPairFetches[] = {
    {"Peirce", FetchFromCache_Peirce, LookupCache_Peirce},
    {"decant", FetchFromCache_decant, LookupCache_Decant},
    {"sextant", FetchFromCache_sextant, LookupCache_Sextant},
    {"dodecant", FetchFromCache_dodecant, LookupCache_Dodecant},
    {"tetfacesextant", FetchFromCache_tetfacesextant, LookupCache_TetfaceSextant},
    {"ReuleauxSextantToOctoface", FetchFromCache_ReuleauxSextantToOctoface, LookupCache_ReuleauxSextantToOctoface},
    {"ReuleauxSextantToCircle", FetchFromCache_ReuleauxSextantToCircle, LookupCache_ReuleauxSextantToCircle},
    {"nuoctant", FetchFromCache_nuoctant, LookupCache_NuOctant},
    {"Winkel", FetchFromCache_Winkel, LookupCache_Winkel},
    {"octaface", FetchFromCache_octaface, LookupCache_Octaface},
    {"ConformalDodecDecant", FetchFromCache_ConformalDodecDecant, LookupCache_ConformalDodecDecant},
};

bool SameC(fcomplex a, fcomplex b) { return a.re == b.re && a.im == b.im; }

TEST(LookupFetch, UnitCornersReadTheGridCornersAndOutsidePointsTheClampedEdge) {
  for (const PairFetch& f : kPairFetches) {
    const LookupGrid& g = *ResidentLookupGrid(f.cacheId);
    const int last = g.size - 1;
    const fcomplex corner = f.fetch({1.0, 1.0});
    EXPECT_EQ(corner.re, g.cell[last][last][0]) << f.name;
    EXPECT_EQ(corner.im, g.cell[last][last][1]) << f.name;
    const fcomplex origin = f.fetch({0.0, 0.0});
    EXPECT_EQ(origin.re, g.cell[0][0][0]) << f.name;
    EXPECT_TRUE(SameC(f.fetch({1.2, -0.3}), f.fetch({1.0, 0.0}))) << f.name;
    EXPECT_TRUE(SameC(f.fetch({-4.0, 0.5}), f.fetch({0.0, 0.5}))) << f.name;
    EXPECT_TRUE(SameC(f.fetch({1e300, 1e300}), corner)) << f.name;
  }
}

TEST(LookupFetch, NonFinitePointsGiveTheZeroResult) {
  const fcomplex bad[] = {{kNaN, 0.5}, {0.5, kNaN}, {kInf, 0.5}, {0.5, -kInf}, {kNaN, kNaN}};
  for (const fcomplex z : bad) {
    for (const PairFetch& f : kPairFetches) EXPECT_TRUE(SameC(f.fetch(z), {0.0, 0.0})) << f.name;
    const triplex t = FetchFromCache_Equalsquarea(z);
    EXPECT_EQ(t.x, 0.0);
    EXPECT_EQ(t.y, 0.0);
    EXPECT_EQ(t.z, 0.0);
    float p[3] = {9.0f, 9.0f, 9.0f};
    EXPECT_TRUE(SameC(FetchFromCache_spherecube(z, p), {0.0, 0.0}));
    EXPECT_EQ(p[0], 0.0f);
    EXPECT_EQ(p[1], 0.0f);
    EXPECT_EQ(p[2], 1.0f);
  }
}

TEST(LookupFetch, GeneralFetchReadsOnlyTheTableItsIdNames) {
  const fcomplex z = {0.3, 0.45};
  const auto general = [&](int32_t id, int32_t n, int32_t shape, const float* table, int32_t floats, int32_t form) {
    return FetchFromCache_general_simplex(z, id, n, shape, table, floats, form);
  };
  const fcomplex right = general(LookupCache_CompleteIcoface, 50, LookupShape_Triangle, complete_icoface_freezedried,
                                 kCompleteIcofaceFloats, LookupForm_PairToo);
  EXPECT_NE(right.re, 0.0);
  EXPECT_TRUE(SameC(general(LookupCache_Octaface, 50, LookupShape_Triangle, octahedron_face_freezedried,
                            kOctahedronFaceFloats, LookupForm_PairToo),
                    FetchFromCache_octaface(z)));
  // Another table under the id, a wrong size, length or form, an id that
  // names no table: nothing is read.
  EXPECT_TRUE(SameC(general(LookupCache_CompleteIcoface, 50, LookupShape_Triangle, octahedron_face_freezedried,
                            kOctahedronFaceFloats, LookupForm_PairToo),
                    {0.0, 0.0}));
  EXPECT_TRUE(SameC(general(LookupCache_CompleteIcoface, 51, LookupShape_Triangle, complete_icoface_freezedried,
                            kCompleteIcofaceFloats, LookupForm_PairToo),
                    {0.0, 0.0}));
  EXPECT_TRUE(SameC(general(LookupCache_CompleteIcoface, 50, LookupShape_Triangle, complete_icoface_freezedried,
                            kCompleteIcofaceFloats - 2, LookupForm_PairToo),
                    {0.0, 0.0}));
  EXPECT_TRUE(SameC(general(LookupCache_CompleteIcoface, 50, LookupShape_Triangle, complete_icoface_freezedried,
                            kCompleteIcofaceFloats, LookupForm_Pair),
                    {0.0, 0.0}));
  EXPECT_TRUE(SameC(general(11, 50, LookupShape_Triangle, complete_icoface_freezedried, kCompleteIcofaceFloats,
                            LookupForm_PairToo),
                    {0.0, 0.0}));
}

TEST(LookupFetch, SphereCubeGivesAUnitPointAndItsCentralView) {
  const fcomplex points[] = {{0.0, 0.0}, {1.0, 1.0}, {0.3, 0.7}, {-0.6, 0.2}, {0.9, -0.45}, {-0.25, -0.8}};
  for (const fcomplex z : points) {
    float p[3];
    const fcomplex w = FetchFromCache_spherecube(z, p);
    EXPECT_NEAR(double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2], 1.0, 1e-6);
    EXPECT_NEAR(w.re, -p[0] / p[2], 1e-6);
    EXPECT_NEAR(w.im, -p[1] / p[2], 1e-6);
    // The face's symmetries: the quadrant and the diagonal mirror.
    float q[3];
    const fcomplex m = FetchFromCache_spherecube({-z.re, z.im}, q);
    EXPECT_NEAR(m.re, -w.re, 1e-6);
    EXPECT_NEAR(m.im, w.im, 1e-6);
    const fcomplex d = FetchFromCache_spherecube({z.im, z.re}, q);
    EXPECT_NEAR(d.re, w.im, 1e-6);
    EXPECT_NEAR(d.im, w.re, 1e-6);
  }
  float p[3];
  const fcomplex corner = FetchFromCache_spherecube({1.0, 1.0}, p);
  EXPECT_NEAR(corner.re, 1.0, 1e-6);
  EXPECT_NEAR(corner.im, 1.0, 1e-6);
  EXPECT_NEAR(p[2], 0.57735, 1e-5);
  const fcomplex centre = FetchFromCache_spherecube({0.0, 0.0}, p);
  EXPECT_EQ(centre.re, 0.0);
  EXPECT_EQ(p[2], 1.0f);
}

using Warp = void (*)(float*, float*, float*);

struct WarpCase {
  const char* name;
  Warp warp;
  float b[3];     // in
  float want[3];  // out (within 1e-5)
};

// Points the warps must keep: the corners of their triangles, and the
// points on the face's mirror lines that the symmetry fixes.
const WarpCase kKept[] = {
    {"icosahedron corner 0", WarpBarysForConformalIcosahedron, {1, 0, 0}, {1, 0, 0}},
    {"icosahedron corner 1", WarpBarysForConformalIcosahedron, {0, 1, 0}, {0, 1, 0}},
    {"icosahedron corner 2", WarpBarysForConformalIcosahedron, {0, 0, 1}, {0, 0, 1}},
    {"octahedron corner 0", WarpBarysForConformalOctahedron, {1, 0, 0}, {1, 0, 0}},
    {"octahedron corner 2", WarpBarysForConformalOctahedron, {0, 0, 1}, {0, 0, 1}},
    {"tetrahedron centre", WarpBarysForTetrahedron, {1, 0, 0}, {1, 0, 0}},
    {"tetrahedron midpoint", WarpBarysForTetrahedron, {0, 1, 0}, {0, 1, 0}},
    {"tetrahedron corner", WarpBarysForTetrahedron, {0, 0, 1}, {0, 0, 1}},
    {"dodecahedron centre", WarpBarysForConformalDodecahedron, {1, 0, 0}, {1, 0, 0}},
    {"dodecahedron midpoint", WarpBarysForConformalDodecahedron, {0, 1, 0}, {0, 1, 0}},
    {"dodecahedron corner", WarpBarysForConformalDodecahedron, {0, 0, 1}, {0, 0, 1}},
    {"cube centre", WarpBarysForCube, {1, 0, 0}, {1, 0, 0}},
    {"cube midpoint", WarpBarysForCube, {0, 1, 0}, {0, 1, 0}},
    {"cube corner", WarpBarysForCube, {0, 0, 1}, {0, 0, 1}},
};

TEST(ConformalWarp, CornersOfEachTriangleStayPut) {
  for (const WarpCase& c : kKept) {
    float b[3] = {c.b[0], c.b[1], c.b[2]};
    c.warp(&b[0], &b[1], &b[2]);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(b[i], c.want[i], 1e-5) << c.name << " coordinate " << i;
  }
}

TEST(ConformalWarp, WarpsKeepTheSumAndStayInTheTriangle) {
  const Warp warps[] = {WarpBarysForConformalIcosahedron, WarpBarysForConformalOctahedron, WarpBarysForTetrahedron,
                        WarpBarysForConformalDodecahedron, WarpBarysForCube};
  for (const Warp warp : warps) {
    for (float a = 0.05f; a < 1.0f; a += 0.1f) {
      for (float c = 0.05f; a + c < 1.0f; c += 0.1f) {
        float b[3] = {a, 1.0f - a - c, c};
        warp(&b[0], &b[1], &b[2]);
        EXPECT_NEAR(double(b[0]) + b[1] + b[2], 1.0, 1e-6);
        for (float v : b) EXPECT_GT(v, -1e-6f);
      }
    }
  }
  // The icosahedron's centre is fixed by its symmetry; a point near a corner
  // moves toward it: the conformal image crowds a vertex, where five flat
  // corners of 60 degrees meet but five sphere corners of 72 degrees.
  float b[3] = {1.0f / 3, 1.0f / 3, 1.0f / 3};
  WarpBarysForConformalIcosahedron(&b[0], &b[1], &b[2]);
  EXPECT_NEAR(b[0], 1.0 / 3, 1e-5);
  EXPECT_NEAR(b[2], 1.0 / 3, 1e-5);
  float n[3] = {0.9f, 0.05f, 0.05f};
  WarpBarysForConformalIcosahedron(&n[0], &n[1], &n[2]);
  EXPECT_GT(n[0], 0.9f);
}

TEST(ConformalWarp, CubeWarpLandsOnTheSpherePointOfItsFetch) {
  // Warped barycentrics on the eighth (centre, edge midpoint, corner) of
  // the face z = 1 give the flat point (1 - b0, b2); its direction is the
  // fetch's sphere point mirrored into the quadrant (the table holds minus
  // x and y).
  const float cases[][3] = {{0.5f, 0.3f, 0.2f}, {0.1f, 0.2f, 0.7f}, {0.25f, 0.7f, 0.05f}};
  for (const auto& c : cases) {
    float b[3] = {c[0], c[1], c[2]};
    float p[3];
    FetchFromCache_spherecube({1.0 - double(c[0]), c[2]}, p);
    WarpBarysForCube(&b[0], &b[1], &b[2]);
    const double x = 1.0 - b[0], y = b[2], len = std::sqrt(x * x + y * y + 1.0);
    EXPECT_NEAR(x / len, -p[0], 1e-6);
    EXPECT_NEAR(y / len, -p[1], 1e-6);
    EXPECT_NEAR(1.0 / len, p[2], 1e-6);
  }
}

TEST(ConformalWarp, TetrahedronTumbleIsAHalfTurn) {
  float p[3] = {0.48f, -0.6f, 0.64f};
  TumbleSphereForConformalTetrahedron(p);
  EXPECT_EQ(p[0], 0.6f);
  EXPECT_EQ(p[1], -0.48f);
  EXPECT_EQ(p[2], -0.64f);
  TumbleSphereForConformalTetrahedron(p);
  EXPECT_EQ(p[0], 0.48f);
  EXPECT_EQ(p[1], -0.6f);
  EXPECT_EQ(p[2], 0.64f);
}

}  // namespace
