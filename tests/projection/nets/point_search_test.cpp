// Plane point to sphere through a net: every point of a grid over several
// nets is judged against a brute-force search of all triangles, searched
// through band lists of many sizes, in several orders (so every search
// starts from a different last hit); tabs, hidden faces, facegroups, empty
// bands, shared edges, and faces whose warp has no picture at the point.
#include "projection/nets/net_projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "netproj_fixture.h"
#include "projection/nets/net_projection_lists.h"
#include "projection/sphere_convention.h"

namespace {

constexpr double kDirectionTolerance = 2e-5;  // radians

struct Result {
  uint8_t outside;
  uint8_t hit;
  uint8_t tabHit;
  int32_t tabId;
  int32_t face;  // lastFace after a face hit, else -1
  float point[3];
};

Result Search(const polyhedron* poly, renderhinttype* hint, float x, float y) {
  Result r{};
  r.point[0] = 0.0f, r.point[1] = 0.0f, r.point[2] = 1.0f;
  r.outside = 9;
  DoPolyhedralTransforms(r.point, poly, x, y, &r.outside, hint);
  r.hit = hint->hit;
  r.tabHit = hint->tabHit;
  r.tabId = hint->tabId;
  r.face = (r.hit && !r.tabHit) ? hint->lastFace : -1;
  return r;
}

// Judges one search against every triangle of the net.
testing::AssertionResult AgreesWithBruteForce(const polyhedron* poly, float x, float y, const Result& r) {
  bool faceIn = false, faceNear = false, tabIn = false, tabNear = false;
  for (int32_t t = 0; t < poly->nTriangles; ++t) {
    const Cover c = CoverOf(poly, t, x, y);
    const bool tab = poly->triangles[t].isTab;
    (tab ? tabIn : faceIn) |= c == Cover::In;
    (tab ? tabNear : faceNear) |= c != Cover::Out;
  }
  const std::string at = " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
  if (r.outside == 0) {
    if (!r.hit || r.tabHit || r.face < 0 || poly->triangles[r.face].isTab)
      return testing::AssertionFailure() << "inside without a face hit" << at;
    if (CoverOf(poly, r.face, x, y) == Cover::Out)
      return testing::AssertionFailure() << "found triangle " << r.face << " does not hold the point" << at;
    double b[3], want[3];
    NetBarys(poly, r.face, x, y, b);
    DirectionOf(poly, r.face, b, want);
    const double angle = AngleBetween(r.point, want);
    if (!(angle < kDirectionTolerance))
      return testing::AssertionFailure() << "direction off by " << angle << at;
    return testing::AssertionSuccess();
  }
  if (r.outside != 1) return testing::AssertionFailure() << "flag " << int(r.outside) << at;
  if (faceIn) return testing::AssertionFailure() << "a face holds the point but it is outside" << at;
  if (r.tabHit) {
    if (!tabNear || r.point[0] != 1.0f || r.point[1] != 1.0f || r.point[2] != 0.0f || r.tabId < 0)
      return testing::AssertionFailure() << "bad tab hit" << at;
  } else if (tabIn && !faceNear) {
    return testing::AssertionFailure() << "a tab holds the point but no tab was hit" << at;
  }
  return testing::AssertionSuccess();
}

void TriangleCentroid(const polyhedron* poly, int32_t t, double* x, double* y) {
  *x = *y = 0.0;
  for (int k = 0; k < 3; ++k) {
    *x += poly->verts2D[poly->triangles[t].vert2D[k]].x / 3.0;
    *y += poly->verts2D[poly->triangles[t].vert2D[k]].y / 3.0;
  }
}

bool OnAFace(const polyhedron* poly, double x, double y) {
  for (int32_t f = 0; f < poly->nTriangles; ++f)
    if (!poly->triangles[f].isTab && CoverOf(poly, f, x, y) != Cover::Out) return true;
  return false;
}

struct NetCase {
  const char* name;
  std::function<PolyPtr()> make;
};

const std::vector<NetCase>& Nets() {
  static const std::vector<NetCase> nets = {
      {"cube cross with tabs", [] { return CubeCrossPoly(0.3f); }},
      {"tetrahedron", [] { return UnfoldedPoly(BuildTetrahedron); }},
      {"icosahedron", [] { return UnfoldedPoly(BuildIcosahedron); }},
      {"dodecahedron", [] { return UnfoldedPoly(BuildDodecahedron); }},
      {"truncated icosahedron", [] { return UnfoldedPoly(BuildTruncatedIcosahedron); }},
  };
  return nets;
}

enum class Order { Rows, Serpentine, Shuffled };

// The points of a band in the order a task would meet them.
std::vector<std::pair<int, int>> Visit(int c0, int c1, int r0, int r1, Order order, uint32_t seed) {
  std::vector<std::pair<int, int>> v;
  for (int r = r0; r < r1; ++r)
    for (int i = 0; i < c1 - c0; ++i)
      v.push_back({order == Order::Serpentine && (r & 1) ? c1 - 1 - i : c0 + i, r});
  if (order == Order::Shuffled) {
    for (size_t i = v.size(); i > 1; --i) {
      seed = seed * 1664525u + 1013904223u;
      std::swap(v[i - 1], v[(seed >> 8) % i]);
    }
  }
  return v;
}

TEST(NetPointSearch, EveryGridPointAgreesWithBruteForceInEveryBandAndOrder) {
  constexpr int kColumns = 83, kRows = 67;
  struct Banding {
    int rowsPerBand, columnsPerTask;
  };
  const Banding bandings[] = {{kRows, kColumns}, {8, kColumns}, {8, 11}, {3, 29}, {1, 5}};
  for (const NetCase& net : Nets()) {
    const PolyPtr p = net.make();
    const float* nb = p->netBounds;
    const float dx = (nb[1] - nb[0]) * 1.1f / (kColumns - 1), dy = (nb[3] - nb[2]) * 1.1f / (kRows - 1);
    const float x0 = nb[0] - (nb[1] - nb[0]) * 0.05f, y0 = nb[2] - (nb[3] - nb[2]) * 0.05f;
    auto X = [&](int c) { return x0 + dx * float(c); };
    auto Y = [&](int r) { return y0 + dy * float(r); };
    HintPtr whole = WholeNetHint(p.get());
    for (const Banding& b : bandings)
      for (const Order order : {Order::Rows, Order::Serpentine, Order::Shuffled}) {
        SCOPED_TRACE(std::string(net.name) + ", band of " + std::to_string(b.rowsPerBand) + " rows x " +
                     std::to_string(b.columnsPerTask) + " columns, order " + std::to_string(int(order)));
        int failures = 0, inside = 0, tabs = 0, points = 0;
        HintPtr hint = NewHint();
        for (int r0 = 0; r0 < kRows; r0 += b.rowsPerBand)
          for (int c0 = 0; c0 < kColumns; c0 += b.columnsPerTask) {
            const int r1 = std::min(kRows, r0 + b.rowsPerBand), c1 = std::min(kColumns, c0 + b.columnsPerTask);
            // As the renderer asks: the band's first and last rows, the
            // columns one beyond each end, one pixel of margin.
            PrepareShortTriList(p.get(), Y(r0), Y(r1 - 1), -1, std::max(dx, dy), hint.get(), X(c0 - 1), X(c1),
                                true);
            for (const auto& [c, r] : Visit(c0, c1, r0, r1, order, uint32_t(r0 * 131 + c0))) {
              const Result got = Search(p.get(), hint.get(), X(c), Y(r));
              const Result all = Search(p.get(), whole.get(), X(c), Y(r));
              const auto verdict = AgreesWithBruteForce(p.get(), X(c), Y(r), got);
              const bool same = got.outside == all.outside && got.tabHit == all.tabHit;
              ++points;
              inside += got.outside == 0;
              tabs += got.tabHit;
              if ((!verdict || !same) && ++failures <= 5) {
                ADD_FAILURE() << (verdict ? "differs from the whole-net search" : verdict.message());
              }
            }
          }
        EXPECT_EQ(failures, 0);
        // The grid covers the net and its surroundings, tabs included.
        EXPECT_EQ(points, kColumns * kRows);
        EXPECT_GT(inside, points / 5);
        EXPECT_LT(inside, points * 9 / 10);
        EXPECT_EQ(tabs > 0, p->triangles[p->nTriangles - 1].isTab == 1);
      }
  }
}

TEST(NetPointSearch, CrossNetPointsLandOnTheirCubeFace) {
  const PolyPtr p = CubeCrossPoly();
  HintPtr hint = WholeNetHint(p.get());
  for (int32_t face = 0; face < 6; ++face) {
    const double fx = p->verts2D[p->faces[face].vert2D[0]].x, fy = p->verts2D[p->faces[face].vert2D[0]].y;
    for (const auto& [sx, sy] : {std::pair{0.5, 0.5}, {0.1, 0.8}, {0.93, 0.02}, {0.25, 0.6}}) {
      const Result r = Search(p.get(), hint.get(), float(fx + sx), float(fy + sy));
      ASSERT_EQ(r.outside, 0) << face;
      EXPECT_EQ(p->triangles[r.face].face2D, face);
      double cube[3];
      CubePointOfCrossNet(face, fx + sx, fy + sy, cube);
      EXPECT_LT(AngleBetween(r.point, cube), kDirectionTolerance) << face << " " << sx << " " << sy;
      // The straight transform leaves the point on the solid behind.
      EXPECT_NEAR(hint->barycentrics.x, cube[0], 1e-6);
      EXPECT_NEAR(hint->barycentrics.y, cube[1], 1e-6);
      EXPECT_NEAR(hint->barycentrics.z, cube[2], 1e-6);
    }
  }
}

TEST(NetPointSearch, APointOnASharedEdgeGoesToTheTriangleHitLast) {
  // The front square (1, 1)-(2, 2) is cut along its diagonal from its lower
  // left corner: one triangle below it, one above.
  const PolyPtr p = CubeCrossPoly();
  HintPtr hint = WholeNetHint(p.get());
  const Result below = Search(p.get(), hint.get(), 1.8f, 1.2f);
  const int32_t lower = below.face;
  const Result onEdge1 = Search(p.get(), hint.get(), 1.5f, 1.5f);
  const Result above = Search(p.get(), hint.get(), 1.2f, 1.8f);
  const int32_t upper = above.face;
  const Result onEdge2 = Search(p.get(), hint.get(), 1.5f, 1.5f);
  ASSERT_NE(lower, upper);
  EXPECT_EQ(onEdge1.face, lower);
  EXPECT_EQ(onEdge2.face, upper);
}

TEST(NetPointSearch, TabsAreOutsideAndNamed) {
  const PolyPtr p = CubeCrossPoly(0.3f);
  HintPtr hint = WholeNetHint(p.get());
  ASSERT_GT(hint->tabCount, 0);
  int tested = 0;
  for (int32_t t = 0; t < p->nTriangles; ++t) {
    if (!p->triangles[t].isTab) continue;
    double cx, cy;
    TriangleCentroid(p.get(), t, &cx, &cy);
    if (OnAFace(p.get(), cx, cy)) continue;
    const Result r = Search(p.get(), hint.get(), float(cx), float(cy));
    EXPECT_EQ(r.outside, 1) << t;
    EXPECT_EQ(r.tabHit, 1) << t;
    EXPECT_EQ(r.tabId, p->triangles[t].face2D) << t;
    EXPECT_EQ(r.point[0], 1.0f);
    EXPECT_EQ(r.point[1], 1.0f);
    EXPECT_EQ(r.point[2], 0.0f);
    ++tested;
  }
  EXPECT_GT(tested, 4);
}

TEST(NetPointSearch, HiddenTrianglesAreOutsideWithoutSpoilingLaterTabHits) {
  const PolyPtr p = CubeCrossPoly(0.3f);
  for (int32_t t = 0; t < p->nTriangles; ++t)
    if (p->triangles[t].face2D == kCrossFront && !p->triangles[t].isTab) p->triangles[t].hideFlag = 1;
  HintPtr hint = WholeNetHint(p.get());
  const Result hidden = Search(p.get(), hint.get(), 1.3f, 1.6f);
  EXPECT_EQ(hidden.outside, 1);
  EXPECT_EQ(hidden.hit, 0);
  EXPECT_EQ(hidden.tabHit, 0);
  EXPECT_EQ(hidden.tabId, -1);
  EXPECT_EQ(Search(p.get(), hint.get(), 0.5f, 1.5f).outside, 0);  // the left face is shown
  // A tab met right after a hidden face is still a tab: whether a point is
  // hidden depends on the triangle under it, not on the one before it.
  int32_t tab = -1;
  double cx = 0, cy = 0;
  for (int32_t t = 0; t < p->nTriangles && tab < 0; ++t) {
    if (!p->triangles[t].isTab) continue;
    TriangleCentroid(p.get(), t, &cx, &cy);
    if (!OnAFace(p.get(), cx, cy)) tab = t;
  }
  ASSERT_GE(tab, 0);
  Search(p.get(), hint.get(), 1.3f, 1.6f);
  const Result afterHidden = Search(p.get(), hint.get(), float(cx), float(cy));
  EXPECT_EQ(afterHidden.tabHit, 1);
  EXPECT_EQ(afterHidden.tabId, p->triangles[tab].face2D);
}

TEST(NetPointSearch, APointThatIsNotANumberIsOffTheNet) {
  const PolyPtr p = CubeCrossPoly(0.3f);
  HintPtr hint = WholeNetHint(p.get());
  for (const auto& [x, y] : {std::pair{NAN, 1.5f}, {1.5f, NAN}, {NAN, NAN}}) {
    const Result r = Search(p.get(), hint.get(), x, y);
    EXPECT_EQ(r.outside, 1);
    EXPECT_EQ(r.hit, 0);
  }
}

TEST(NetPointSearch, ASelectedFacegroupIsTheOnlyOneFound) {
  const PolyPtr p = CubeCrossPoly(0.3f);
  HintPtr hint = NewHint();
  PrepareShortTriList(p.get(), 0.0f, 0.0f, kCrossFront, 0.0f, hint.get(), 0.0f, 0.0f, false);
  EXPECT_EQ(hint->faceCount, 2);
  EXPECT_EQ(Search(p.get(), hint.get(), 1.5f, 1.3f).outside, 0);
  for (const auto& [x, y] : {std::pair{0.5f, 1.5f}, {2.5f, 1.5f}, {3.5f, 1.5f}, {1.5f, 2.5f}, {1.5f, 0.5f}})
    EXPECT_EQ(Search(p.get(), hint.get(), x, y).outside, 1) << x << " " << y;
}

TEST(NetPointSearch, ABandWithNothingInItMapsNothing) {
  const PolyPtr p = CubeCrossPoly(0.3f);
  HintPtr hint = WholeNetHint(p.get());
  hint->lastListIndex = 5;
  hint->lastTab = 3;
  // A band above the whole net.
  PrepareShortTriList(p.get(), 10.0f, 11.0f, -1, 0.01f, hint.get(), -1.0f, 5.0f, true);
  EXPECT_EQ(hint->faceCount, 0);
  EXPECT_EQ(hint->tabCount, 0);
  EXPECT_EQ(hint->lastListIndex, 0);
  EXPECT_EQ(hint->lastTab, 0);
  EXPECT_EQ(hint->bandMinX, 100.0f);
  EXPECT_EQ(hint->bandMaxX, -100.0f);
  for (const auto& [x, y] : {std::pair{1.5f, 1.5f}, {0.2f, 1.2f}, {1.5f, 2.9f}})
    EXPECT_EQ(Search(p.get(), hint.get(), x, y).outside, 1);
  // The same with the band's rows handed in bottom first.
  PrepareShortTriList(p.get(), 11.0f, 10.0f, -1, 0.01f, hint.get(), 5.0f, -1.0f, true);
  EXPECT_EQ(hint->faceCount, 0);
}

TEST(NetPointSearch, ABandHandedInUpsideDownKeepsItsTriangles) {
  const PolyPtr p = CubeCrossPoly();
  HintPtr up = NewHint(), down = NewHint();
  PrepareShortTriList(p.get(), 1.2f, 1.4f, -1, 0.01f, up.get(), 0.5f, 2.5f, true);
  PrepareShortTriList(p.get(), 1.4f, 1.2f, -1, 0.01f, down.get(), 2.5f, 0.5f, true);
  EXPECT_EQ(up->faceCount, 6);  // left, front and right: two triangles each
  ASSERT_EQ(down->faceCount, up->faceCount);
  EXPECT_TRUE(std::equal(up->faceList, up->faceList + 2 * up->faceCount, down->faceList));
}

// Two triangles over the same piece of net: the first's corners sit where
// the Reuleaux warp has no picture, the second's where it has.
TEST(NetPointSearch, AFaceWhoseWarpHasNoPictureHandsThePointOn) {
  PolyPtr p = NewPoly();
  const float net[3][2] = {{0, 0}, {1, 0}, {0, 1}};
  const float render[2][3] = {{1, 0, 0}, {0, 0, 1}};
  for (int copy = 0; copy < 2; ++copy)
    for (int k = 0; k < 3; ++k) {
      PolyVertex2D& v = p->verts2D[copy * 3 + k];
      v.x = net[k][0], v.y = net[k][1];
      v.renderX = render[copy][0], v.renderY = render[copy][1], v.renderZ = render[copy][2];
    }
  for (int t = 0; t < 2; ++t) {
    NetTriangle& tri = p->triangles[t];
    tri.vert2D[0] = 3 * t, tri.vert2D[1] = 3 * t + 1, tri.vert2D[2] = 3 * t + 2;
    tri.face2D = int16_t(6 * t);  // the sector: region 0 and 1
  }
  p->nTriangles = 2;
  FinishNet(p.get());
  p->warpStyle = 1;
  p->shapeCode = 55;
  HintPtr hint = WholeNetHint(p.get());
  const Result r = Search(p.get(), hint.get(), 0.2f, 0.3f);
  EXPECT_EQ(r.outside, 0);
  EXPECT_EQ(r.face, 1);
  EXPECT_EQ(hint->hitRegion, 1);
  EXPECT_EQ(hint->lastListIndex, 1);
  // Without the second triangle nothing takes the point.
  p->nTriangles = 1;
  HintPtr lone = WholeNetHint(p.get());
  EXPECT_EQ(Search(p.get(), lone.get(), 0.2f, 0.3f).outside, 1);
  EXPECT_EQ(lone->hit, 0);
}

TEST(NetPointSearch, MapNetsAndUprightViewsShapeThePoint) {
  const PolyPtr p = CubeCrossPoly();
  HintPtr hint = WholeNetHint(p.get());
  const float x = 1.3f, y = 1.8f;
  double cube[3];
  CubePointOfCrossNet(kCrossFront, x, y, cube);

  // A net laid out as a map reads its solid point as (u, v).
  p->sphericalFlag = 0;
  Result r = Search(p.get(), hint.get(), x, y);
  float want[3];
  RectangularToSpherical(float(cube[0]) + 0.75f, float(cube[1]), want);
  ASSERT_EQ(r.outside, 0);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(r.point[i], want[i], 1e-6f);

  // The upright view looks from the up point, not from the centre.
  p->sphericalFlag = 1;
  p->upVector[0] = 0.0, p->upVector[1] = 0.25, p->upVector[2] = -0.1;
  hint->renderKind = 3;
  r = Search(p.get(), hint.get(), x, y);
  const double shifted[3] = {cube[0], cube[1] - 0.25, cube[2] + 0.1};
  EXPECT_LT(AngleBetween(r.point, shifted), kDirectionTolerance);
  EXPECT_NEAR(std::hypot(r.point[0], r.point[1], r.point[2]), 1.0, 1e-6);
}

}  // namespace
