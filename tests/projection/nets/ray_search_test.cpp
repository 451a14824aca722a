// Rays from the centre of a solid against its net triangles: which face a
// ray meets for either winding, the barycentrics and the point of the hit,
// the start at the last hit, tabs never met, empty lists, and faces too
// small for the exact intersection's edge-on limit.
#include "projection/nets/net_projection_rays.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "netproj_fixture.h"
#include "projection/nets/net_projection_lists.h"

namespace {

struct SolidCase {
  const char* name;
  std::function<PolyPtr()> make;
};

const std::vector<SolidCase>& Solids() {
  static const std::vector<SolidCase> solids = {
      {"cube cross", [] { return CubeCrossPoly(0.3f); }},
      {"tetrahedron", [] { return UnfoldedPoly(BuildTetrahedron); }},
      {"octahedron", [] { return UnfoldedPoly(BuildOctahedron); }},
      {"icosahedron", [] { return UnfoldedPoly(BuildIcosahedron); }},
      {"dodecahedron", [] { return UnfoldedPoly(BuildDodecahedron); }},
      {"truncated icosahedron", [] { return UnfoldedPoly(BuildTruncatedIcosahedron); }},
  };
  return solids;
}

void Centroid(const polyhedron* poly, int32_t t, double c[3]) {
  for (int i = 0; i < 3; ++i)
    c[i] = (poly->triangles[t].corner3D[0][i] + poly->triangles[t].corner3D[1][i] + poly->triangles[t].corner3D[2][i]) /
           3.0;
}

void ReverseWinding(polyhedron* poly) {
  for (int32_t t = 0; t < poly->nTriangles; ++t) {
    NetTriangle& tri = poly->triangles[t];
    if (tri.isTab) continue;
    std::swap(tri.vert2D[1], tri.vert2D[2]);
    for (int i = 0; i < 3; ++i) std::swap(tri.corner3D[1][i], tri.corner3D[2][i]);
  }
}

TEST(NetRaySearch, TheRayAwayFromAFaceMeetsItAndTheRayTowardItMeetsTheFarSide) {
  for (const SolidCase& solid : Solids()) {
    SCOPED_TRACE(solid.name);
    const PolyPtr p = solid.make();
    HintPtr hint = WholeNetHint(p.get());
    int faces = 0;
    for (int32_t t = 0; t < p->nTriangles; ++t) {
      if (p->triangles[t].isTab) continue;
      ++faces;
      ASSERT_GT(CornerWinding(p.get(), t), 0.0) << "the fixture's net must read from outside, triangle " << t;
      double c[3];
      Centroid(p.get(), t, c);
      const double away[3] = {-c[0], -c[1], -c[2]};
      uint8_t outside = 9;
      EXPECT_EQ(IntersectRayWithPoly(away, p.get(), &outside, hint.get()), t);
      EXPECT_EQ(outside, 0);
      EXPECT_EQ(hint->lastFace, t);
      EXPECT_EQ(hint->hit, 1);
      EXPECT_EQ(hint->tabId, -1);
      // Toward the face, the ray comes out through a face on the far side.
      const int32_t far = IntersectRayWithPoly(c, p.get(), &outside, hint.get());
      ASSERT_GE(far, 0) << t;
      double f[3];
      Centroid(p.get(), far, f);
      EXPECT_LT(f[0] * c[0] + f[1] * c[1] + f[2] * c[2], 0.0) << t;
    }
    EXPECT_EQ(hint->faceCount, faces);  // tabs are never in the search
  }
}

TEST(NetRaySearch, WoundTheOtherWayTheRayTowardAFaceMeetsIt) {
  for (const SolidCase& solid : Solids()) {
    SCOPED_TRACE(solid.name);
    PolyPtr p = solid.make();
    ReverseWinding(p.get());
    HintPtr hint = WholeNetHint(p.get());
    for (int32_t t = 0; t < p->nTriangles; ++t) {
      if (p->triangles[t].isTab) continue;
      double c[3];
      Centroid(p.get(), t, c);
      uint8_t outside = 9;
      EXPECT_EQ(IntersectRayWithPoly(c, p.get(), &outside, hint.get()), t);
      EXPECT_EQ(outside, 0);
    }
  }
}

TEST(NetRaySearch, BarycentricsAndPointOfTheHit) {
  struct Probe {
    double b[3];
  };
  const Probe probes[] = {{{1.0 / 3, 1.0 / 3, 1.0 / 3}}, {{0.7, 0.2, 0.1}}, {{0.05, 0.15, 0.8}}, {{0.2, 0.75, 0.05}}};
  for (const SolidCase& solid : Solids()) {
    SCOPED_TRACE(solid.name);
    const PolyPtr p = solid.make();
    HintPtr hint = WholeNetHint(p.get());
    for (int32_t t = 0; t < p->nTriangles; ++t) {
      if (p->triangles[t].isTab) continue;
      const double(*k)[3] = p->triangles[t].corner3D;
      for (const Probe& probe : probes) {
        double q[3];
        for (int i = 0; i < 3; ++i) q[i] = probe.b[0] * k[0][i] + probe.b[1] * k[1][i] + probe.b[2] * k[2][i];
        // Half way to the face, backwards: the line still meets the face at q.
        const double ray[3] = {-0.5 * q[0], -0.5 * q[1], -0.5 * q[2]};
        uint8_t outside = 9;
        double b0 = NAN, b1 = NAN, b2 = NAN;
        ASSERT_EQ(IntersectRayWithPoly_ReturningBarycentrics(ray, p.get(), &outside, hint.get(), &b0, &b1, &b2), t);
        EXPECT_EQ(outside, 0);
        EXPECT_NEAR(b0, probe.b[0], 1e-9);
        EXPECT_NEAR(b1, probe.b[1], 1e-9);
        EXPECT_NEAR(b2, probe.b[2], 1e-9);
        EXPECT_NEAR(hint->barycentrics.x, q[0], 1e-9);
        EXPECT_NEAR(hint->barycentrics.y, q[1], 1e-9);
        EXPECT_NEAR(hint->barycentrics.z, q[2], 1e-9);
      }
    }
  }
}

TEST(NetRaySearch, TheSearchStartsAtTheLastHit) {
  const PolyPtr p = CubeCrossPoly();
  HintPtr hint = WholeNetHint(p.get());
  // Along the front square's diagonal both of its triangles pass the test.
  const double diagonal[3] = {-0.2, -0.2, -0.5};
  const double lower[3] = {-0.3, 0.3, -0.5}, upper[3] = {0.3, -0.3, -0.5};
  uint8_t outside;
  const int32_t a = IntersectRayWithPoly(lower, p.get(), &outside, hint.get());
  EXPECT_EQ(IntersectRayWithPoly(diagonal, p.get(), &outside, hint.get()), a);
  const int32_t b = IntersectRayWithPoly(upper, p.get(), &outside, hint.get());
  ASSERT_NE(a, b);
  EXPECT_EQ(p->triangles[a].face2D, kCrossFront);
  EXPECT_EQ(p->triangles[b].face2D, kCrossFront);
  EXPECT_EQ(IntersectRayWithPoly(diagonal, p.get(), &outside, hint.get()), b);
}

TEST(NetRaySearch, EmptyListsMeetNothing) {
  const PolyPtr p = CubeCrossPoly(0.3f);
  HintPtr hint = NewHint();
  PrepareShortTriList(p.get(), 10.0f, 11.0f, -1, 0.0f, hint.get(), 0.0f, 4.0f, true);
  const double d[3] = {0.1, 0.2, -1.0};
  uint8_t outside = 0;
  double b0 = -7, b1 = -7, b2 = -7;
  hint->hit = 1;
  hint->tabHit = 1;
  EXPECT_EQ(IntersectRayWithPoly_ReturningBarycentrics(d, p.get(), &outside, hint.get(), &b0, &b1, &b2), -1);
  EXPECT_EQ(outside, 1);
  EXPECT_EQ(hint->hit, 0);
  EXPECT_EQ(hint->tabHit, 0);
  EXPECT_EQ(hint->tabId, -1);
  EXPECT_EQ(b0, -7);
  // A hint whose lists were never built is empty as well.
  HintPtr fresh = NewHint();
  EXPECT_EQ(IntersectRayWithPoly(d, p.get(), &outside, fresh.get()), -1);
  EXPECT_EQ(outside, 1);
}

// A cube a ten-thousandth of a unit across: the triangles' determinant lies
// far below the exact intersection's edge-on limit, yet every ray the
// hit test lets through must still get its place on the face.
TEST(NetRaySearch, TinyFacesStillGiveBarycentrics) {
  PolyPtr p = CubeCrossPoly();
  for (int32_t v = 0; v < p->n2DVerts; ++v) {
    p->verts2D[v].renderX *= 1e-4f;
    p->verts2D[v].renderY *= 1e-4f;
    p->verts2D[v].renderZ *= 1e-4f;
  }
  FinishNet(p.get());
  HintPtr hint = WholeNetHint(p.get());
  for (int32_t t = 0; t < p->nTriangles; ++t) {
    double c[3];
    Centroid(p.get(), t, c);
    const double away[3] = {-c[0] * 1e4, -c[1] * 1e4, -c[2] * 1e4};
    uint8_t outside = 9;
    double b0 = NAN, b1 = NAN, b2 = NAN;
    ASSERT_EQ(IntersectRayWithPoly_ReturningBarycentrics(away, p.get(), &outside, hint.get(), &b0, &b1, &b2), t);
    EXPECT_NEAR(b0, 1.0 / 3, 1e-6) << t;
    EXPECT_NEAR(b1, 1.0 / 3, 1e-6) << t;
    EXPECT_NEAR(b2, 1.0 / 3, 1e-6) << t;
    EXPECT_NEAR(hint->barycentrics.x, c[0], 1e-10);
    EXPECT_NEAR(hint->barycentrics.y, c[1], 1e-10);
    EXPECT_NEAR(hint->barycentrics.z, c[2], 1e-10);
  }
}

}  // namespace
