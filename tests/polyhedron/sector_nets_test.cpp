// The generated flat nets of the catalogue (stars, polygons, fused rings,
// diamonds, and the lattice nets: the octahedron's square, the tetrahedron's
// tile, the icosahedron's sunburst): their counts, their solids named
// through the 2D-to-3D map, no two faces over each other, and a picture
// without seams: along every edge two faces share in the net, both faces'
// maps give the same direction, within half a pixel of a 1024-pixel-wide
// world map.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <cmath>
#include <string>
#include <vector>

#include "polyhedron/catalogue.h"
#include "sphere_net_checks.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPixelAt1024 = kPi / 1024.0;

struct SectorCase {
  int32_t shape;
  int32_t outputMode;  // 0: no output mode shows it alone
  int32_t faces;
  int32_t points2D;
  uint8_t mirrorFlipB;
};

const SectorCase kCases[] = {
    {30, 97, 20, 16, 0},  {31, 98, 10, 15, 0},  {32, 100, 12, 10, 0}, {33, 101, 6, 7, 0},
    {35, 103, 12, 11, 0}, {36, 104, 24, 19, 0}, {37, 105, 12, 13, 0}, {40, 113, 20, 19, 0},
    {41, 114, 24, 23, 0}, {42, 115, 36, 31, 0}, {58, 137, 16, 18, 1}, {63, 0, 24, 19, 0},
    {68, 0, 36, 31, 0},   {69, 167, 36, 41, 0}, {38, 106, 24, 19, 1}, {39, 107, 24, 23, 1},
};

struct LatticeCase {
  int32_t shape;
  int32_t faces;
  int32_t points2D;
  int16_t method;
};

const LatticeCase kLatticeCases[] = {{24, 8, 9, 5}, {28, 8, 9, 0}, {66, 20, 22, 6},
                                     {43, 48, 37, 0}, {57, 24, 30, 0}, {61, 48, 37, 0}};

// Every generated net as the set-up builds it, with its face count.
struct BuiltNet {
  int32_t shape;
  int32_t faces;
  PolyPtr poly;
};

std::vector<BuiltNet> AllBuiltNets() {
  std::vector<BuiltNet> out;
  for (const SectorCase& c : kCases) out.push_back({c.shape, c.faces, SetUpShape(c.shape)});
  for (const LatticeCase& c : kLatticeCases) out.push_back({c.shape, c.faces, SetUpShape(c.shape, c.method)});
  return out;
}

TEST(LatticeNets, LoadWithTheirCounts) {
  for (const LatticeCase& c : kLatticeCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = LoadedShape(c.shape);
    ASSERT_EQ(p->errorCode, kPolyErrorNone);
    EXPECT_EQ(p->n3DFaces, c.faces);
    EXPECT_EQ(p->n2DVerts, c.points2D);
    for (int32_t f = 0; f < c.faces; ++f) EXPECT_EQ(p->faces[f].n2D, 3);
    // The sunburst is warped like the icosahedron map and matched to its
    // rows; the square and the tile are drawn straight through their maps;
    // the cube's eighths go through the cube warp, mirrored by flip B, the
    // cross (the cube's upper half) stretched to the whole sphere.
    const bool cube = c.shape == 43 || c.shape == 57 || c.shape == 61;
    EXPECT_EQ(p->warpStyle, c.shape == 66 || cube ? 1 : 0);
    EXPECT_EQ(p->map2Dto3D == nullptr, c.shape == 66);
    EXPECT_EQ(p->faces3DRows != nullptr, c.shape == 66);
    EXPECT_EQ(p->mirrorFlipA, c.shape == 24 ? 1 : 0);
    EXPECT_EQ(p->mirrorFlipB, cube ? 1 : 0);
    EXPECT_EQ(p->segmentStretch, c.shape == 57 ? 1 : 0);
    EXPECT_EQ(p->segmentStretchAlpha, c.shape == 57 ? 0.5 : 1.0);
    // The tiling wraps points anywhere into the tile, so no row band may
    // leave faces out; 61 and 66 are fitted by their unit factors and not
    // culled either.
    EXPECT_EQ(p->bandCulling, c.shape == 24 || (c.shape >= 61 && c.shape <= 68) ? 0 : 1);
  }
}

// The tile repeats: its opposite sides carry the same solid vertices, so
// the sheared copies meet without a seam.
TEST(LatticeNets, TheTetrahedronTileRepeatsAcrossItsSides) {
  PolyPtr p = LoadedShape(24);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(p->map2Dto3D[i], p->map2Dto3D[6 + i]);
    EXPECT_EQ(p->map2Dto3D[3 * i], p->map2Dto3D[3 * i + 2]);
  }
  std::set<int32_t> used(p->map2Dto3D, p->map2Dto3D + 9);
  EXPECT_EQ(used.size(), 4u);
}

TEST(SectorNets, LoadWithTheirCountsAndOptions) {
  for (const SectorCase& c : kCases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = LoadedShape(c.shape);
    EXPECT_TRUE(LoadsAsSectorNet(p.get(), c.faces, c.points2D));
    EXPECT_EQ(p->mirrorFlipB, c.mirrorFlipB);
    EXPECT_EQ(p->cramMode2, c.shape == 68 ? 1 : 0);
  }
}

// The crammed phenanthrene-like net fills its box.
TEST(SectorNets, TheCrammedRingsKeepTheirBox) {
  PolyPtr p = LoadedShape(68);
  EXPECT_FLOAT_EQ(p->cramBounds[0], -1.732051f);
  EXPECT_FLOAT_EQ(p->cramBounds[1], 1.732051f);
  EXPECT_FLOAT_EQ(p->cramBounds[2], -3.0f);
  EXPECT_FLOAT_EQ(p->cramBounds[3], 1.0f);
  double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
  for (int32_t v = 0; v < p->n2DVerts; ++v)
    for (int i = 0; i < 2; ++i) {
      lo[i] = std::min(lo[i], p->coords2D[v][i]);
      hi[i] = std::max(hi[i], p->coords2D[v][i]);
    }
  EXPECT_GE(lo[0], -1.732051 - 1e-6);
  EXPECT_LE(hi[0], 1.732051 + 1e-6);
  EXPECT_GE(lo[1], -3.0 - 1e-6);
  EXPECT_LE(hi[1], 1.0 + 1e-6);
  EXPECT_TRUE(std::fabs(hi[0] - lo[0] - 3.464102) < 1e-5 || std::fabs(hi[1] - lo[1] - 4.0) < 1e-5);
}

TEST(GeneratedNets, NoTwoFacesOverlap) {
  for (const BuiltNet& c : AllBuiltNets()) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    const polyhedron* p = c.poly.get();
    // Origami corner marks (the square's) lie over the faces on purpose.
    ASSERT_EQ(FaceTriangles(p), c.faces);
    EXPECT_EQ(OverlappingFacePairs(p, c.faces), 0);
  }
}

TEST(GeneratedNets, SharedEdgesShowTheSameSphereFromBothSides) {
  for (const BuiltNet& c : AllBuiltNets()) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    const polyhedron* p = c.poly.get();
    ASSERT_EQ(FaceTriangles(p), c.faces);
    // The faces' own maps: the stretch that opens the cube's upper half
    // comes after them.
    const SharedEdges shared = CompareSharedEdges(p, c.faces, Stretch::kBefore);
    // A tree of sectors at least: every face joined to the rest.
    EXPECT_GE(shared.count, c.faces - (c.shape == 58 ? 2 : 1));
    EXPECT_LT(shared.worstAngle, kHalfPixelAt1024);
  }
}

// No generated net shows a mirror image of the sphere: each turns the way
// the catalogue's icosahedron net, matched to its solid, does.
TEST(GeneratedNets, ShowTheSphereTheSameWayRoundAsTheMatchedNets) {
  PolyPtr reference = SetUpShape(17, 6);
  const int32_t want = NetHandedness(reference.get(), 20);
  ASSERT_NE(want, 0);
  for (const BuiltNet& c : AllBuiltNets()) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    EXPECT_EQ(NetHandedness(c.poly.get(), c.faces), want);
  }
}

// The nets drawn on a flat-faced solid (the cube's eighths, the
// tetrahedron's sixths, the icosahedron's sunburst) are that solid's faces
// laid flat: every net edge is its solid edge at one common scale.
TEST(GeneratedNets, FlatFacedNetsAreTheirSolidsLaidFlat) {
  const struct {
    int32_t shape;
    int16_t method;
  } cases[] = {{38, 0}, {39, 0}, {43, 0}, {57, 0}, {61, 0}, {66, 6}};
  for (const auto& c : cases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    PolyPtr p = SetUpShape(c.shape, c.method);
    double lo = 1e9, hi = 0.0;
    for (int32_t t = 0; t < FaceTriangles(p.get()); ++t)
      for (int k = 0; k < 3; ++k) {
        const PolyVertex2D& a = p->verts2D[p->triangles[t].vert2D[k]];
        const PolyVertex2D& b = p->verts2D[p->triangles[t].vert2D[(k + 1) % 3]];
        const double flat = std::hypot(double(a.x) - b.x, double(a.y) - b.y);
        const double solid = std::sqrt(std::pow(double(a.renderX) - b.renderX, 2) +
                                       std::pow(double(a.renderY) - b.renderY, 2) +
                                       std::pow(double(a.renderZ) - b.renderZ, 2));
        ASSERT_GT(solid, 0.0);
        lo = std::min(lo, flat / solid);
        hi = std::max(hi, flat / solid);
      }
    EXPECT_LT(hi / lo - 1.0, 1e-5);
  }
}

}  // namespace
