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

#include "polybuild/polyhedron_setup.h"
#include "polyhedron/catalogue.h"
#include "projection/net_projection_core.h"
#include "projection/render_hint.h"
#include "support/poly_fixture.h"

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

PolyPtr Loaded(int32_t code) {
  PolyPtr p = NewPoly();
  WipeFaceInfo(p.get());
  ReadFaceInfo(p.get(), code, 0, nullptr, 1);
  return p;
}

// Net methods: 0 the fixed net with its map, 5 the same without recounting
// the used points (the tiling), 6 the net matched to its solid's rows.
PolyPtr SetUpShape(int32_t code, int16_t method = 0) {
  PolyPtr p = NewPoly(2.0f);
  SetUpReallyGeneralPolyhedron(p.get(), code, method, 0, 0.0, nullptr, 1);
  return p;
}

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
    PolyPtr p = Loaded(c.shape);
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
  PolyPtr p = Loaded(24);
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
    PolyPtr p = Loaded(c.shape);
    ASSERT_EQ(p->errorCode, kPolyErrorNone);
    EXPECT_EQ(p->n3DFaces, c.faces);
    EXPECT_EQ(p->n2DFaces, c.faces);
    EXPECT_EQ(p->n2DVerts, c.points2D);
    for (int32_t f = 0; f < c.faces; ++f) EXPECT_EQ(p->faces[f].n2D, 3);
    EXPECT_EQ(p->faces3DRows, nullptr);
    ASSERT_NE(p->map2Dto3D, nullptr);
    EXPECT_EQ(p->warpStyle, 1);
    EXPECT_EQ(p->origamiTabOption, 1);
    EXPECT_EQ(p->mirrorFlipB, c.mirrorFlipB);
    EXPECT_EQ(p->cramMode2, c.shape == 68 ? 1 : 0);
    // Every corner names a solid vertex inside the solid.
    for (int32_t f = 0; f < c.faces; ++f)
      for (int32_t j = 0; j < 3; ++j) {
        const int32_t v3 = p->map2Dto3D[p->faces[f].vert2D[j]];
        EXPECT_GE(v3, 0);
        EXPECT_LT(v3, p->n3DVerts);
      }
  }
}

// The crammed phenanthrene-like net fills its box.
TEST(SectorNets, TheCrammedRingsKeepTheirBox) {
  PolyPtr p = Loaded(68);
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

// The face triangles come first, one per face; tabs and marks follow.
int32_t FaceTriangles(const polyhedron* p) {
  int32_t n = 0;
  while (n < p->nTriangles && !p->triangles[n].isTab) ++n;
  return n;
}

double Cross(const PolyVertex2D& o, const PolyVertex2D& a, const PolyVertex2D& b) {
  return double(a.x - o.x) * (b.y - o.y) - double(a.y - o.y) * (b.x - o.x);
}

// Some edge of one of the two triangles has the other wholly on its outer
// side (touching allowed).
bool Apart(const polyhedron* p, int32_t s, int32_t t, double slack) {
  for (int pass = 0; pass < 2; ++pass) {
    const NetTriangle& a = p->triangles[pass ? t : s];
    const NetTriangle& b = p->triangles[pass ? s : t];
    const PolyVertex2D* A[3] = {&p->verts2D[a.vert2D[0]], &p->verts2D[a.vert2D[1]], &p->verts2D[a.vert2D[2]]};
    const double sign = Cross(*A[0], *A[1], *A[2]) > 0 ? 1.0 : -1.0;
    for (int e = 0; e < 3; ++e) {
      bool allOut = true;
      for (int k = 0; k < 3 && allOut; ++k)
        allOut = sign * Cross(*A[e], *A[(e + 1) % 3], p->verts2D[b.vert2D[k]]) <= slack;
      if (allOut) return true;
    }
  }
  return false;
}

TEST(GeneratedNets, NoTwoFacesOverlap) {
  for (const BuiltNet& c : AllBuiltNets()) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    const polyhedron* p = c.poly.get();
    // Origami corner marks (the square's) lie over the faces on purpose.
    ASSERT_EQ(FaceTriangles(p), c.faces);
    const double size = double(p->netBounds[1] - p->netBounds[0]);
    for (int32_t s = 0; s < c.faces; ++s)
      for (int32_t t = s + 1; t < c.faces; ++t) EXPECT_TRUE(Apart(p, s, t, 1e-5 * size * size)) << s << " " << t;
  }
}

double AngleBetween(const float a[3], const float b[3]) {
  const double na = std::sqrt(double(a[0]) * a[0] + double(a[1]) * a[1] + double(a[2]) * a[2]);
  const double nb = std::sqrt(double(b[0]) * b[0] + double(b[1]) * b[1] + double(b[2]) * b[2]);
  double d = (double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2]) / (na * nb);
  return std::acos(std::clamp(d, -1.0, 1.0));
}

// The sphere point of the point at s along the net edge from 2D vertex va
// to vb, as triangle t maps it.
void EdgePointOf(const polyhedron* p, int32_t t, int32_t va, int32_t vb, double s, float out[3]) {
  const NetTriangle& tri = p->triangles[t];
  float b[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k) {
    if (tri.vert2D[k] == va) b[k] = float(1.0 - s);
    if (tri.vert2D[k] == vb) b[k] = float(s);
  }
  const PolyVertex2D& a = p->verts2D[va];
  const PolyVertex2D& c = p->verts2D[vb];
  renderhinttype hint{};
  uint8_t outside = 0;
  DoPolyhedralTransformCore(p, b[0], b[1], b[2], t, float(a.x + s * (c.x - a.x)), float(a.y + s * (c.y - a.y)), out,
                            &outside, &hint);
}

TEST(GeneratedNets, SharedEdgesShowTheSameSphereFromBothSides) {
  for (const BuiltNet& c : AllBuiltNets()) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    const polyhedron* p = c.poly.get();
    ASSERT_EQ(FaceTriangles(p), c.faces);
    int32_t shared = 0;
    double worst = 0.0;
    for (int32_t s = 0; s < c.faces; ++s)
      for (int32_t t = s + 1; t < c.faces; ++t)
        for (int e = 0; e < 3; ++e) {
          const int32_t va = p->triangles[s].vert2D[e], vb = p->triangles[s].vert2D[(e + 1) % 3];
          const int32_t* tv = p->triangles[t].vert2D;
          if (std::count(tv, tv + 3, va) == 0 || std::count(tv, tv + 3, vb) == 0) continue;
          ++shared;
          for (double f : {0.0, 0.1, 0.25, 0.5, 0.75, 0.9, 1.0}) {
            float a[3], b[3];
            EdgePointOf(p, s, va, vb, f, a);
            EdgePointOf(p, t, va, vb, f, b);
            worst = std::max(worst, AngleBetween(a, b));
          }
        }
    // A tree of sectors at least: every face joined to the rest.
    EXPECT_GE(shared, c.faces - (c.shape == 58 ? 2 : 1));
    EXPECT_LT(worst, kHalfPixelAt1024);
  }
}

// Which way round a net shows the sphere, triangle by triangle: the turn of
// three points inside it in the plane against the turn of their directions
// seen from outside. +1 or -1 when all its face triangles agree, 0 when not.
int32_t Handedness(const polyhedron* p, int32_t faces) {
  int32_t sign = 0;
  const float inner[3][3] = {{0.6f, 0.2f, 0.2f}, {0.2f, 0.6f, 0.2f}, {0.2f, 0.2f, 0.6f}};
  for (int32_t t = 0; t < faces; ++t) {
    double d[3][3], xy[3][2];
    for (int k = 0; k < 3; ++k) {
      const float* b = inner[k];
      double x = 0, y = 0;
      for (int j = 0; j < 3; ++j) {
        x += b[j] * p->verts2D[p->triangles[t].vert2D[j]].x;
        y += b[j] * p->verts2D[p->triangles[t].vert2D[j]].y;
      }
      renderhinttype hint{};
      uint8_t outside = 0;
      float q[3];
      DoPolyhedralTransformCore(p, b[0], b[1], b[2], t, float(x), float(y), q, &outside, &hint);
      for (int j = 0; j < 3; ++j) d[k][j] = q[j];
      xy[k][0] = x;
      xy[k][1] = y;
    }
    const double turn = (xy[1][0] - xy[0][0]) * (xy[2][1] - xy[0][1]) - (xy[1][1] - xy[0][1]) * (xy[2][0] - xy[0][0]);
    const double det = d[0][0] * (d[1][1] * d[2][2] - d[1][2] * d[2][1]) - d[0][1] * (d[1][0] * d[2][2] - d[1][2] * d[2][0]) +
                       d[0][2] * (d[1][0] * d[2][1] - d[1][1] * d[2][0]);
    const int32_t s = turn * det > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return 0;
    sign = s;
  }
  return sign;
}

// No generated net shows a mirror image of the sphere: each turns the way
// the catalogue's icosahedron net, matched to its solid, does.
TEST(GeneratedNets, ShowTheSphereTheSameWayRoundAsTheMatchedNets) {
  PolyPtr reference = SetUpShape(17, 6);
  const int32_t want = Handedness(reference.get(), 20);
  ASSERT_NE(want, 0);
  for (const BuiltNet& c : AllBuiltNets()) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    EXPECT_EQ(Handedness(c.poly.get(), c.faces), want);
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
