// Net triangles and the outline walk: what a triangle takes from its face,
// that a face's triangles cover it exactly once, and that the walk follows
// the net's boundary edge by edge.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <vector>

#include "support/net_fixture.h"
#include "polyhedron/nets/net_points.h"
#include "polyhedron/nets/net_triangles.h"

namespace {

// A unit square, corners counter-clockwise from (0, 0).
PolyPtr SquareNet() {
  PolyPtr p = NewOwningPoly();
  BuildLinkedNet(p.get(), {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 1, 2, 3}});
  return p;
}

TEST(NetTriangles, TabMarksOnlyOnFaceEdges) {
  const struct {
    const char* name;
    std::vector<int32_t> flaggedEdges;
    int32_t c0, c1, c2;
    uint8_t expected[3];
  } cases[] = {
      {"edge 0 of corners 0 1 2", {0}, 0, 1, 2, {1, 0, 0}},
      {"a diagonal never takes a tab", {0}, 0, 2, 3, {0, 0, 0}},
      {"edges 2 and 3 of corners 0 2 3", {2, 3}, 0, 2, 3, {0, 1, 1}},
      {"every edge of corners 0 1 2", {0, 1, 2, 3}, 0, 1, 2, {1, 1, 0}},
      {"corners listed backwards run against the face", {0, 1, 2, 3}, 2, 1, 0, {0, 0, 0}},
      {"the closing edge 3 to 0", {3}, 2, 3, 0, {0, 1, 0}},
  };
  for (const auto& c : cases) {
    PolyPtr p = SquareNet();
    for (int32_t e : c.flaggedEdges) p->faces[0].tabEdge[e] = 1;
    MakeNetTriangle(0, p.get(), 0, c.c0, c.c1, c.c2);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(p->triangles[0].tabEdge[k], c.expected[k]) << c.name << " entry " << k;
  }
}

TEST(NetTriangles, TriangleTakesItsFaceFields) {
  PolyPtr p = SquareNet();
  PolyFace& f = p->faces[0];
  f.fragment = 3;
  f.placedFlags[1] = 1;
  f.extraVertex2D = 2;
  p->triangles[5].isTab = 1;
  MakeNetTriangle(5, p.get(), 0, 1, 2, 3);
  const NetTriangle& t = p->triangles[5];
  EXPECT_EQ(t.vert2D[0], f.vert2D[1]);
  EXPECT_EQ(t.vert2D[1], f.vert2D[2]);
  EXPECT_EQ(t.vert2D[2], f.vert2D[3]);
  EXPECT_EQ(t.face2D, 0);
  EXPECT_EQ(t.facegroup, 0);
  EXPECT_EQ(t.fragment, 3);
  EXPECT_EQ(t.isTab, 0);
  EXPECT_EQ(t.hideFlag, 1);
  EXPECT_EQ(t.fancyFace, 1);
  EXPECT_EQ(p->nTriangles, 0) << "the caller counts";

  // A shape's group table names the group; a face past the last net face
  // answers for the last.
  static const int16_t groups[] = {7};
  p->facegroupTable = groups;
  MakeNetTriangle(6, p.get(), 0, 0, 1, 2);
  EXPECT_EQ(p->triangles[6].facegroup, 7);
  EXPECT_EQ(NetTriangleFacegroup(p.get(), 4), 7);
  EXPECT_EQ(NetTriangleFacegroup(p.get(), -1), -1);
}

TEST(NetTriangles, FullTableOrBadArgumentsWriteNothing) {
  const struct {
    const char* name;
    int32_t nTriangles, slot, face, c0, c1, c2;
    int32_t error;
  } cases[] = {
      {"3010 triangles exist", kPolyMaxTriangles, 0, 0, 0, 1, 2, kPolyErrorTooManyTriangles},
      {"slot past the table", 0, kPolyMaxTriangles, 0, 0, 1, 2, kPolyErrorTooManyTriangles},
      {"negative slot", 0, -1, 0, 0, 1, 2, kPolyErrorTooManyTriangles},
      {"corner past the face", 0, 0, 0, 0, 1, 4, kPolyErrorNone},
      {"no such face", 0, 0, kPolyMaxFaces, 0, 1, 2, kPolyErrorNone},
  };
  for (const auto& c : cases) {
    PolyPtr p = SquareNet();
    p->nTriangles = c.nTriangles;
    p->triangles[0].vert2D[0] = 77;
    MakeNetTriangle(c.slot, p.get(), c.face, c.c0, c.c1, c.c2);
    EXPECT_EQ(p->errorCode, c.error) << c.name;
    EXPECT_EQ(p->triangles[0].vert2D[0], 77) << c.name;
    EXPECT_EQ(p->nTriangles, c.nTriangles) << c.name;
  }
}

// Every face's triangles keep its face and cover it once: their areas sum to
// the face's, and each sample point of the net lies in exactly one triangle,
// of the face that holds it.
TEST(NetTriangles, TrianglesCoverEachFaceOnce) {
  PolyPtr p = NewOwningPoly();
  // The cross net of a cube plus, beside it, a convex pentagon.
  BuildCubeCrossNet(p.get());
  const int32_t pentagon = p->n2DFaces;
  std::vector<std::pair<double, double>> pts;
  for (int k = 0; k < 5; ++k)
    pts.push_back({6.0 + std::cos(2 * std::numbers::pi * k / 5), 1.5 + std::sin(2 * std::numbers::pi * k / 5)});
  {
    const int32_t base = p->n2DVerts;
    PolyFace& f = p->faces[pentagon];
    f.n2D = 5;
    f.fragment = 2;
    for (int k = 0; k < 5; ++k) {
      f.vert2D[k] = base + k;
      p->verts2D[base + k].x = float(pts[size_t(k)].first);
      p->verts2D[base + k].y = float(pts[size_t(k)].second);
    }
    p->n2DVerts += 5;
    ++p->n2DFaces;
  }
  FanTriangulate(p.get());
  ASSERT_EQ(p->errorCode, 0);
  ASSERT_EQ(p->nTriangles, 6 * 2 + 3);

  std::vector<double> area(size_t(p->n2DFaces), 0.0);
  for (int32_t t = 0; t < p->nTriangles; ++t) {
    const NetTriangle& tri = p->triangles[t];
    EXPECT_EQ(tri.facegroup, tri.face2D);
    EXPECT_EQ(tri.fragment, tri.face2D == pentagon ? 2 : 1);
    const double a = NetTriangleArea(p.get(), t);
    EXPECT_GT(a, 0.0) << "triangle " << t;
    area[size_t(tri.face2D)] += a;
  }
  for (int32_t f = 0; f < 6; ++f) EXPECT_NEAR(area[size_t(f)], 1.0, 1e-6) << "face " << f;
  EXPECT_NEAR(area[size_t(pentagon)], 2.5 * std::sin(2 * std::numbers::pi / 5), 1e-6);

  // Samples off the grid lines and the fan diagonals.
  int32_t samples = 0;
  for (double x = -0.5; x < 7.5; x += 0.0937)
    for (double y = -0.5; y < 3.5; y += 0.0911) {
      std::set<int32_t> facesHit;
      int32_t hits = 0;
      for (int32_t t = 0; t < p->nTriangles; ++t) {
        float b0, b1, b2;
        if (find_barycentrics(t, float(x), float(y), &b0, &b1, &b2, p.get())) {
          ++hits;
          facesHit.insert(p->triangles[t].face2D);
        }
      }
      int32_t holder = -1;
      for (int32_t f = 0; f < 6; ++f) {
        double cx = f == 0 ? 0 : f == 2 ? 2 : f == 3 ? 3 : 1, cy = f == 4 ? 2 : f == 5 ? 0 : 1;
        if (x > cx && x < cx + 1 && y > cy && y < cy + 1) holder = f;
      }
      const double dx = x - 6.0, dy = y - 1.5;
      if (holder < 0 && dx * dx + dy * dy < 0.6) holder = pentagon;  // well inside the pentagon
      if (holder >= 0) {
        ++samples;
        EXPECT_EQ(hits, 1) << x << ", " << y;
        EXPECT_EQ(facesHit.count(holder), 1u) << x << ", " << y;
      } else if (hits == 1) {
        // Between the pentagon's inscribed circle and its outline: fine.
        EXPECT_EQ(*facesHit.begin(), pentagon) << x << ", " << y;
      } else {
        EXPECT_EQ(hits, 0) << x << ", " << y;
      }
    }
  EXPECT_GT(samples, 500);
}

TEST(NetOutline, SingleTriangleStepsAroundItself) {
  PolyPtr p = NewOwningPoly();
  BuildLinkedNet(p.get(), {{0, 0}, {1, 0}, {0, 1}}, {{0, 1, 2}});
  int32_t f = 0, e = 0;
  for (int32_t expected : {1, 2, 0}) {
    NextAroundNet(p.get(), &f, &e);
    EXPECT_EQ(f, 0);
    EXPECT_EQ(e, expected);
  }
}

// The walk goes once around the cross: 14 edges, each starting where the
// last one ended, counter-clockwise, and every open edge is met once.
TEST(NetOutline, WalkFollowsTheBoundaryInOrder) {
  PolyPtr p = NewOwningPoly();
  BuildCubeCrossNet(p.get());
  int32_t face = -1, edge = -1;
  ASSERT_TRUE(FindANeighborless2DEdgeThatsUnconsidered(p.get(), &face, &edge));
  EXPECT_EQ(face, 0);
  EXPECT_EQ(edge, 0) << "the first open edge by face, then edge";
  const auto walk = WalkOutline(p.get(), face, edge);
  ASSERT_EQ(walk.size(), 14u);

  std::set<std::pair<int32_t, int32_t>> open;
  for (int32_t f = 0; f < p->n2DFaces; ++f)
    for (int32_t e = 0; e < 4; ++e)
      if (p->faces[f].nbrFace2D[e] == -1) open.insert({f, e});
  const std::set<std::pair<int32_t, int32_t>> walked(walk.begin(), walk.end());
  EXPECT_EQ(walked, open);

  double twiceArea = 0.0;
  for (size_t i = 0; i < walk.size(); ++i) {
    const auto [f, e] = walk[i];
    const auto [g, k] = walk[(i + 1) % walk.size()];
    const int32_t end = p->faces[f].vert2D[(e + 1) % 4];
    EXPECT_EQ(p->faces[g].vert2D[k], end) << "step " << i;
    const PolyVertex2D& a = p->verts2D[p->faces[f].vert2D[e]];
    const PolyVertex2D& b = p->verts2D[end];
    twiceArea += double(a.x) * b.y - double(b.x) * a.y;
  }
  EXPECT_NEAR(twiceArea, 12.0, 1e-9) << "six unit squares, counter-clockwise";
}

TEST(NetOutline, UnconsideredEdgesRunOutPerFragment) {
  PolyPtr p = NewOwningPoly();
  // Two separate squares: two outlines of four edges.
  BuildLinkedNet(p.get(), {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {3, 0}, {4, 0}, {4, 1}, {3, 1}},
                 {{0, 1, 2, 3}, {4, 5, 6, 7}});
  MarkAlternateOutlineTabs(p.get());
  for (int32_t f = 0; f < 2; ++f)
    for (int32_t e = 0; e < 4; ++e) {
      EXPECT_EQ(p->faces[f].outlineVisited[e], 1);
      EXPECT_EQ(p->faces[f].tabEdge[e], e % 2 == 0 ? 1 : 0) << "face " << f << " edge " << e;
    }
  int32_t face = 41, edge = 42;
  EXPECT_FALSE(FindANeighborless2DEdgeThatsUnconsidered(p.get(), &face, &edge));
  EXPECT_EQ(face, 41);
  EXPECT_EQ(edge, 42);
}

TEST(NetOutline, LinksThatNeverReachTheOutlineLeaveTheEdge) {
  PolyPtr p = SquareNet();
  // Edge 1 claims the face itself as neighbour, holding the same corner: the
  // turn around vertex 1 never meets an open edge.
  p->faces[0].nbrFace2D[1] = 0;
  p->faces[0].nbrEdge2D[1] = 1;
  int32_t f = 0, e = 0;
  NextAroundNet(p.get(), &f, &e);
  EXPECT_EQ(f, 0);
  EXPECT_EQ(e, 0);
}

}  // namespace
