// Glue tabs: their shape, that they stand outside the net on the marked
// outline edges, and the table limits.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "support/net_fixture.h"
#include "polyhedron/nets/net_points.h"
#include "polyhedron/nets/net_tabs.h"
#include "polyhedron/nets/net_triangles.h"

namespace {

// One triangle (0, 0), (1, 0), (0, 1) whose edge 0 is marked for a tab.
PolyPtr OneMarkedTriangle(float depth, uint8_t style) {
  PolyPtr p = NewOwningPoly();
  BuildLinkedNet(p.get(), {{0, 0}, {1, 0}, {0, 1}}, {{0, 1, 2}});
  p->tabDepth = depth;
  p->tabStyle = style;
  p->faces[0].tabEdge[0] = 1;
  MakeNetTriangle(0, p.get(), 0, 0, 1, 2);
  p->nTriangles = 1;
  return p;
}

TEST(NetTabs, TrapezoidOnTheEdge) {
  const struct {
    const char* name;
    uint8_t style;
    float nearX, farX;  // the far side's ends
  } cases[] = {
      {"30-degree sides", 0, 0.0577f, 0.9423f},
      {"steep sides", 1, 0.1036f, 0.8964f},
  };
  for (const auto& c : cases) {
    PolyPtr p = OneMarkedTriangle(0.1f, c.style);
    BuildTabsUponTriangles(p.get());
    ASSERT_EQ(p->errorCode, 0);
    ASSERT_EQ(p->n2DVerts, 5);
    ASSERT_EQ(p->nTriangles, 3);
    // The edge runs from b = (0, 0) to a = (1, 0); (dy, -dx) points down.
    EXPECT_NEAR(p->verts2D[3].x, c.nearX, 1e-4) << c.name;
    EXPECT_NEAR(p->verts2D[3].y, -0.1, 1e-6) << c.name;
    EXPECT_NEAR(p->verts2D[4].x, c.farX, 1e-4) << c.name;
    EXPECT_NEAR(p->verts2D[4].y, -0.1, 1e-6) << c.name;
    for (int32_t v : {3, 4}) {
      EXPECT_EQ(p->vert2DUsed[v], 1);
      EXPECT_EQ(p->verts2D[v].renderX, 1.0f);
      EXPECT_EQ(p->verts2D[v].renderY, 1.0f);
      EXPECT_EQ(p->verts2D[v].renderZ, 1.0f);
    }
    const int32_t expected[2][3] = {{0, 3, 1}, {3, 4, 1}};
    for (int32_t i = 0; i < 2; ++i) {
      const NetTriangle& t = p->triangles[1 + i];
      for (int k = 0; k < 3; ++k) EXPECT_EQ(t.vert2D[k], expected[i][k]) << c.name;
      EXPECT_EQ(t.isTab, 1);
      EXPECT_EQ(t.hideFlag, 0);
      EXPECT_EQ(t.face2D, 0);
      EXPECT_EQ(t.facegroup, 0);
    }
  }
}

// On the cross net with alternate outline edges marked (as the set-up marks
// them), every marked edge gets one tab, on its own face, and no tab covers
// any part of the net.
TEST(NetTabs, TabsStandOutsideTheNet) {
  PolyPtr p = NewOwningPoly();
  BuildCubeCrossNet(p.get());
  p->tabDepth = 0.2f;
  MarkAlternateOutlineTabs(p.get());
  FanTriangulate(p.get());
  const int32_t faceTriangles = p->nTriangles;
  BuildTabsUponTriangles(p.get());
  ASSERT_EQ(p->errorCode, 0);
  ASSERT_EQ(p->nTriangles, faceTriangles + 7 * 2) << "7 of the 14 outline edges";

  for (int32_t t = faceTriangles; t < p->nTriangles; ++t) {
    barycentrics_precalc(t, p.get());
    EXPECT_EQ(p->triangles[t].isTab, 1);
    EXPECT_GT(NetTriangleArea(p.get(), t), 0.0) << "tabs keep the net's winding";
  }
  for (int32_t t = faceTriangles; t < p->nTriangles; t += 2) {
    // The tab's base edge is a marked outline edge of the face it names.
    const NetTriangle& tab = p->triangles[t];
    const PolyFace& f = p->faces[tab.face2D];
    bool onMarkedEdge = false;
    for (int32_t e = 0; e < 4; ++e)
      onMarkedEdge = onMarkedEdge || (f.tabEdge[e] && f.vert2D[e] == tab.vert2D[0] &&
                                      f.vert2D[(e + 1) % 4] == tab.vert2D[2]);
    EXPECT_TRUE(onMarkedEdge) << "tab " << t;
  }
  // Points spread over each tab (off its base edge) lie in no face triangle.
  for (int32_t t = faceTriangles; t < p->nTriangles; ++t) {
    const NetTriangle& tab = p->triangles[t];
    for (const auto& w : {std::array<float, 3>{0.6f, 0.2f, 0.2f}, {0.2f, 0.6f, 0.2f}, {0.2f, 0.2f, 0.6f}}) {
      float x = 0, y = 0;
      for (int k = 0; k < 3; ++k) {
        x += w[size_t(k)] * p->verts2D[tab.vert2D[k]].x;
        y += w[size_t(k)] * p->verts2D[tab.vert2D[k]].y;
      }
      for (int32_t f = 0; f < faceTriangles; ++f) {
        float b0, b1, b2;
        EXPECT_FALSE(find_barycentrics(f, x, y, &b0, &b1, &b2, p.get())) << "tab " << t << " over " << f;
      }
    }
  }
}

TEST(NetTabs, NoMarkedEdgeChangesNothing) {
  PolyPtr p = NewOwningPoly();
  BuildCubeCrossNet(p.get());
  p->tabDepth = 0.2f;
  FanTriangulate(p.get());
  auto before = std::make_unique<polyhedron>(*p);
  BuildTabsUponTriangles(p.get());
  EXPECT_EQ(std::memcmp(before.get(), p.get(), sizeof(polyhedron)), 0);
}

TEST(NetTabs, TableLimits) {
  const struct {
    const char* name;
    int32_t n2DVerts, nTriangles;
    int32_t error, vertsAfter, trianglesAfter;
  } cases[] = {
      {"4007 vertices: built", 4007, 1, kPolyErrorNone, 4009, 3},
      {"4008 vertices: no room", 4008, 1, kPolyErrorNoRoomForTabs, 4008, 1},
      {"3007 triangles: built", 3, 3007, kPolyErrorNone, 5, 3009},
      // Nothing is added, vertices included: two used vertices without their
      // triangles would still widen the net's bounding box.
      {"3008 triangles: no room", 3, 3008, kPolyErrorTooManyTriangles, 3, 3008},
  };
  for (const auto& c : cases) {
    PolyPtr p = OneMarkedTriangle(0.1f, 0);
    p->n2DVerts = c.n2DVerts;
    p->nTriangles = c.nTriangles;
    MaybeBuildTab(p.get(), 0, 0);
    EXPECT_EQ(p->errorCode, c.error) << c.name;
    EXPECT_EQ(p->n2DVerts, c.vertsAfter) << c.name;
    EXPECT_EQ(p->nTriangles, c.trianglesAfter) << c.name;
    if (c.error != kPolyErrorNone) {
      EXPECT_EQ(p->vert2DUsed[c.n2DVerts], 0) << c.name;
    }
  }
}

TEST(NetTabs, OnlyMarkedEdgesAndFreshSlots) {
  PolyPtr p = OneMarkedTriangle(0.1f, 0);
  MaybeBuildTab(p.get(), 0, 1);
  MaybeBuildTab(p.get(), 0, 2);
  EXPECT_EQ(p->nTriangles, 1) << "edges 1 and 2 are not marked";
  // The slots the tab takes held a marked face triangle of an earlier build.
  for (int32_t s : {1, 2}) {
    p->triangles[s].tabEdge[0] = p->triangles[s].tabEdge[1] = 1;
    p->triangles[s].fragment = 4;
    p->triangles[s].fancyFace = 1;
  }
  BuildTabsUponTriangles(p.get());
  ASSERT_EQ(p->nTriangles, 3);
  for (int32_t s : {1, 2}) {
    for (int k = 0; k < 3; ++k) EXPECT_EQ(p->triangles[s].tabEdge[k], 0);
    EXPECT_EQ(p->triangles[s].fragment, 0);
    EXPECT_EQ(p->triangles[s].fancyFace, 0);
  }
  BuildTabsUponTriangles(p.get());
  EXPECT_EQ(p->nTriangles, 5) << "a second pass builds on the face triangle only";
}

}  // namespace
