// Curved three-corner faces: the stored quadratic coefficients, and the
// point of the solid that a net point of such a face leads to.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

#include "support/net_fixture.h"
#include "polyhedron/nets/net_triangles.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/rind_faces.h"
#include "polyhedron/vertex_upkeep.h"
#include "projection/sphere_convention.h"

namespace {

using Quad = std::array<std::pair<double, double>, 4>;
using Solid = std::array<std::array<double, 3>, 4>;

// The solid corners of the patch at height 1 over the unit square, so that
// the bilinear blend at (s, t) is (s, t, 1).
constexpr Solid kUnitSquareAbove = {{{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}};

// Net face 0: corners P0, P1, P2 with partner P3 (2D vertex 3), over solid
// face 0 with corners Q0, Q1, Q2 and the partner's solid vertex Q3; net
// triangle 0 over the face.
PolyPtr CurvedFace(const Quad& P, const Solid& Q, int32_t mode = 0) {
  PolyPtr p = NewOwningPoly();
  BuildLinkedNet(p.get(), {P[0], P[1], P[2], P[3]}, {{0, 1, 2}});
  PolyFace& f = p->faces[0];
  f.extraVertex2D = 3;
  for (int k = 0; k < 4; ++k) AddNew3DDVertToPolyhedron(p.get(), Q[size_t(k)].data());
  f.n3D = 3;
  for (int k = 0; k < 3; ++k) f.vert3D[k] = k;
  p->vert3DOfVert2D[3] = 3;
  p->fancyPointMode = mode;
  MakeNetTriangle(0, p.get(), 0, 0, 1, 2);
  p->nTriangles = 1;
  Fill_in_rind_precalculables(p.get());
  return p;
}

// (s, t) back from a point of the patch over kUnitSquareAbove: the result is
// (s, t, 1) normalised with x and y negated.
std::pair<double, double> PatchParameters(const polyhedron* p, float x, float y) {
  float out[3];
  Get3DPointFancily(0, x, y, out, p);
  return {-out[0] / out[2], -out[1] / out[2]};
}

std::pair<double, double> PatchPoint(const Quad& P, double s, double t) {
  auto lerp = [](std::pair<double, double> a, std::pair<double, double> b, double w) {
    return std::pair<double, double>{a.first + (b.first - a.first) * w, a.second + (b.second - a.second) * w};
  };
  return lerp(lerp(P[0], P[1], s), lerp(P[3], P[2], s), t);
}

const Quad kExample = {{{0, 0}, {2, 0.5}, {1.5, 1.5}, {0, 1}}};

TEST(RindFaces, CoefficientsOfTheQuadratics) {
  const struct {
    const char* name;
    Quad P;
    double a, b, ha, c, d, hc;
  } cases[] = {
      {"example quad", kExample, 0.25, 2, 2, -0.5, 2, -1},
      // A parallelogram has no quadratic term: 1.0 stands in for 0.5 / 0.
      {"parallelogram", {{{0, 0}, {2, 0}, {3, 1}, {1, 1}}}, 0, 2, 1, 0, 2, 1},
  };
  for (const auto& c : cases) {
    PolyPtr p = CurvedFace(c.P, kUnitSquareAbove);
    const PolyFace& f = p->faces[0];
    EXPECT_DOUBLE_EQ(f.rindQuadS[0], c.a) << c.name;
    EXPECT_DOUBLE_EQ(f.rindQuadS[1], c.b) << c.name;
    EXPECT_DOUBLE_EQ(f.rindQuadS[2], c.ha) << c.name;
    EXPECT_DOUBLE_EQ(f.rindQuadT[0], c.c) << c.name;
    EXPECT_DOUBLE_EQ(f.rindQuadT[1], c.d) << c.name;
    EXPECT_DOUBLE_EQ(f.rindQuadT[2], c.hc) << c.name;
  }
}

TEST(RindFaces, NetPointToPatchParameters) {
  const Quad parallelogram = {{{0, 0}, {2, 0}, {3, 1}, {1, 1}}};
  const struct {
    const char* name;
    Quad P;
    float x, y;
    double s, t;
  } cases[] = {
      {"example, centre", kExample, 0.875f, 0.75f, 0.5, 0.5},
      {"example, off centre", kExample, 0.40625f, 0.875f, 0.25, 0.75},
      {"example, corner 0", kExample, 0.0f, 0.0f, 0.0, 0.0},
      {"example, corner 1", kExample, 2.0f, 0.5f, 1.0, 0.0},
      {"example, corner 2", kExample, 1.5f, 1.5f, 1.0, 1.0},
      // Linear, not quadratic: the stored 1.0 must not be taken as 0.5 / a.
      {"parallelogram", parallelogram, 1.0f, 0.5f, 0.25, 0.5},
      {"parallelogram, corner 1", parallelogram, 2.0f, 0.0f, 1.0, 0.0},
  };
  for (const auto& c : cases) {
    PolyPtr p = CurvedFace(c.P, kUnitSquareAbove);
    const auto [s, t] = PatchParameters(p.get(), c.x, c.y);
    EXPECT_NEAR(s, c.s, 1e-6) << c.name;
    EXPECT_NEAR(t, c.t, 1e-6) << c.name;
  }
}

// Counter-clockwise convex quads of every kind, near-parallelograms included:
// a point of the patch gives back its parameters.
TEST(RindFaces, PatchRoundTrip) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> jitter(-0.3, 0.3), unit(0.0, 1.0), tiny(-1e-6, 1e-6);
  for (int i = 0; i < 200; ++i) {
    auto& d = i % 2 ? tiny : jitter;  // every other quad almost a parallelogram
    Quad P = {{{0, 0}, {1 + d(rng), d(rng)}, {1 + d(rng), 1 + d(rng)}, {d(rng), 1 + d(rng)}}};
    if (i % 2) P[2] = {P[1].first + P[3].first + tiny(rng), P[1].second + P[3].second + tiny(rng)};
    // The face stores its corners as floats; the patch is theirs.
    for (auto& q : P) q = {double(float(q.first)), double(float(q.second))};
    PolyPtr p = CurvedFace(P, kUnitSquareAbove);
    const double s0 = unit(rng), t0 = unit(rng);
    const auto [x, y] = PatchPoint(P, s0, t0);
    const auto [s, t] = PatchParameters(p.get(), float(x), float(y));
    EXPECT_NEAR(s, s0, 2e-5) << "quad " << i;
    EXPECT_NEAR(t, t0, 2e-5) << "quad " << i;
  }
}

TEST(RindFaces, SeamOfLongitudeBlendsAcrossIt) {
  // Corners one degree either side of the back meridian (u = 0 / 1), ten
  // degrees above and below the equator: the centre of the patch is the
  // back of the sphere, (0, 0, -1), not its front.
  auto direction = [](double lonDeg, double latDeg) {
    std::array<double, 3> p;
    RectangularToSphericalD(0.5 + lonDeg / 360.0, 0.5 - latDeg / 180.0, p.data());
    return p;
  };
  const Solid Q = {direction(179, -10), direction(-179, -10), direction(-179, 10), direction(179, 10)};
  PolyPtr p = CurvedFace(kExample, Q, 1);
  float out[3];
  Get3DPointFancily(0, 0.875f, 0.75f, out, p.get());
  EXPECT_NEAR(out[0], 0.0, 1e-5);
  EXPECT_NEAR(out[1], 0.0, 1e-5);
  EXPECT_NEAR(out[2], -1.0, 1e-5);

  // Blended directly, the same patch centre is a unit vector there too.
  PolyPtr direct = CurvedFace(kExample, Q, 0);
  Get3DPointFancily(0, 0.875f, 0.75f, out, direct.get());
  EXPECT_NEAR(out[2], -1.0, 1e-5);
}

TEST(RindFaces, FacesThatAreNotCurvedKeepTheStartingPoint) {
  const struct {
    const char* name;
    int32_t corners;   // of net face 0
    int32_t partner;   // its extraVertex2D
    int32_t mode;
    std::array<float, 3> expected;
  } cases[] = {
      {"four corners", 4, 3, 0, {1, 0, 0}},
      {"no partner", 3, -1, 0, {1, 0, 0}},
      {"unknown mode: negated like every result", 3, 3, 2, {-1, 0, 0}},
  };
  for (const auto& c : cases) {
    PolyPtr p = CurvedFace(kExample, kUnitSquareAbove, c.mode);
    p->faces[0].n2D = c.corners;
    p->faces[0].vert2D[3] = 3;
    p->faces[0].extraVertex2D = c.partner;
    float out[3] = {7, 7, 7};
    Get3DPointFancily(0, 0.875f, 0.75f, out, p.get());
    for (int k = 0; k < 3; ++k) EXPECT_EQ(out[k], c.expected[size_t(k)]) << c.name;
  }
}

TEST(VertexUpkeep, CleanseUsedFlagsFromTheFaces) {
  PolyPtr p = NewOwningPoly();
  for (int32_t v = 0; v < 20; ++v) p->vert2DUsed[v] = 1;
  p->freeVertCursor = 300;
  const std::vector<std::vector<int32_t>> faces = {{0, 1, 2, 3}, {4, 5, 6}, {7, 12, 1}};
  for (const auto& face : faces) {
    PolyFace& f = p->faces[p->n2DFaces++];
    f.n2D = int32_t(face.size());
    for (size_t k = 0; k < face.size(); ++k) f.vert2D[k] = face[k];
  }
  Cleanse2DVertList(p.get());
  for (int32_t v = 0; v < 20; ++v) EXPECT_EQ(p->vert2DUsed[v], v <= 7 || v == 12 ? 1 : 0) << v;
  EXPECT_EQ(p->freeVertCursor, 12);
}

TEST(VertexUpkeep, CentroidAndOffsetOfTheSolid) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  double c[3];
  GetCentroidOf3DFace(0, p.get(), c);  // the face at z = -0.5
  EXPECT_DOUBLE_EQ(c[0], 0.0);
  EXPECT_DOUBLE_EQ(c[1], 0.0);
  EXPECT_DOUBLE_EQ(c[2], -0.5);

  OffsetAll3DPoints(p.get(), triplex{1, 2, 3});
  GetCentroidOf3DFace(0, p.get(), c);
  EXPECT_DOUBLE_EQ(c[0], 1.0);
  EXPECT_DOUBLE_EQ(c[1], 2.0);
  EXPECT_DOUBLE_EQ(c[2], 2.5);

  // Static tables are read-only: nothing moves.
  static const double table[1][3] = {{0.25, 0.5, 0.75}};
  PolyPtr borrowed = NewPoly();
  borrowed->coords3D = table;
  borrowed->n3DVerts = 1;
  OffsetAll3DPoints(borrowed.get(), triplex{1, 1, 1});
  EXPECT_EQ(table[0][0], 0.25);
}

}  // namespace
