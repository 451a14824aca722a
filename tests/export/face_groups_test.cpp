// Face groups of the solids and the export plan: one group per face unless
// a table says otherwise, the narrowest turn of each group, and the vertex
// ranges the model writers size their lists by.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "polybuild/setup/face_groups.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/fragment_layout.h"
#include "support/poly_fixture.h"

namespace {

constexpr int32_t kCubeMode = 7;
constexpr int32_t kOctahedronMode = 8;

TEST(FaceGroups, EachFaceItsOwnGroupUnlessATableSaysSo) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  p->n2DFaces = p->n3DFaces;
  EXPECT_EQ(NewCountFacegroupsInPoly(p.get()), 6);
  EXPECT_EQ(FacegroupOf2DFace(3, p.get()), 3);
  EXPECT_EQ(FacegroupOf2DFace(99, p.get()), 5) << "past the last face answers for the last";
  EXPECT_EQ(FacegroupOf2DFace(-1, p.get()), -1);
  EXPECT_EQ(FacegroupOf2DFace(2, nullptr), 0);
  static const int16_t table[6] = {0, 0, 1, 1, 2, 2};
  p->facegroupTable = table;
  EXPECT_EQ(NewCountFacegroupsInPoly(p.get()), 3);
  EXPECT_EQ(FacegroupOf2DFace(5, p.get()), 2);
  p->facegroupTable = nullptr;
  EXPECT_EQ(NewCountFacegroupsInPoly(nullptr), 1);
  PolyPtr empty = NewOwningPoly();
  EXPECT_EQ(NewCountFacegroupsInPoly(empty.get()), 1);
  EXPECT_EQ(highest_3D_vertex(empty.get()), -1);
  EXPECT_EQ(highest_2D_vertex_excluding_tabs(empty.get()), -1);
  EXPECT_EQ(highest_3D_vertex(p.get()), 7);
}

TEST(FaceGroups, NetVerticesOfFacesOnlyNotTabs) {
  PolyPtr p = NewPoly();
  DarOzoPolySetup(kCubeMode, p.get(), 1.0f, 0.1f, 1, 0.0f, 3, nullptr, 1);
  ASSERT_GT(p->n2DFaces, 0);
  int32_t highest = -1;
  for (int32_t f = 0; f < p->n2DFaces; ++f)
    if (p->faces[f].face3D >= 0)
      for (int32_t c = 0; c < p->faces[f].n2D; ++c) highest = std::max(highest, p->faces[f].vert2D[c]);
  EXPECT_EQ(highest_2D_vertex_excluding_tabs(p.get()), highest);
  EXPECT_LT(highest_2D_vertex_excluding_tabs(p.get()), p->n2DVerts) << "tab vertices lie above the faces'";
}

TEST(FaceGroups, PlanFindsTheNarrowestTurnOfEachGroup) {
  for (int32_t mode : {kCubeMode, kOctahedronMode}) {
    SCOPED_TRACE(mode);
    PolyPtr p = NewPoly();
    DarOzoPolySetup(mode, p.get(), 1.0f, 0.0f, 1, 0.0f, 3, nullptr, 1);
    const int32_t groups = NewCountFacegroupsInPoly(p.get());
    ASSERT_EQ(groups, mode == kCubeMode ? 6 : 8);
    std::vector<float> cx(groups), cy(groups), angle(groups);
    CrammingPlan plan{cx.data(), cy.data(), angle.data(), 0.0f, nullptr, nullptr};
    const double ratio = PlanCrammingForExportation_core(mode, groups, nullptr, p.get(), 0.0f, 1, &plan);
    EXPECT_EQ(p->unfoldingIndex, groups - 1);
    // A square lies edge-on at its narrowest (height = width); a triangle is
    // narrowest with an edge upright: as wide as its altitude, as tall as
    // its edge.
    EXPECT_NEAR(ratio, mode == kCubeMode ? 1.0 : 2.0 / std::sqrt(3.0), 1e-3);
    EXPECT_GT(plan.scale, 0.0f);
    // Every recorded angle is one of the candidates of its face, and no
    // candidate gives a narrower box than the recorded one.
    for (int32_t k = 0; k < groups; ++k) {
      p->unfoldingIndex = k;
      DarOzoPolySetup(mode, p.get(), 1.0f, 0.0f, 1, angle[k], 3, nullptr, 1);
      float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
      Find2DBoundingBoxSpecial(p.get(), &x0, &x1, &y0, &y1, k, kBoxOfFace);
      EXPECT_NEAR(cx[k], (x0 + x1) / 2, 1e-5);
      EXPECT_NEAR(cy[k], (y0 + y1) / 2, 1e-5);
      EXPECT_NEAR(1.0f / plan.scale, x1 - x0, 1e-3);
    }
  }
}

// The plan as whole set-ups find it, one per group and trial turn: what the
// planner's turns of a solid built once must match to the bit.
double PlanBySetups(int32_t mode, int32_t groups, polyhedron* poly, float tabDepth, CrammingPlan* plan) {
  float maxWidth = 0.0f, maxHeight = 0.0f;
  for (int32_t k = 0; k < groups; ++k) {
    poly->unfoldingIndex = k;
    DarOzoPolySetup(mode, poly, 1.0f, tabDepth, 1, 0.0f, 3, nullptr, 1);
    float candidates[2 * kPolyMaxCorners];
    int32_t count = 0;
    for (int32_t e = 0; k < poly->n2DFaces && e < poly->faces[k].n2D && e < kPolyMaxCorners; ++e) {
      candidates[count++] = poly->faces[k].edgeAngle2D[e];
      candidates[count++] = -poly->faces[k].edgeAngle2D[e];
    }
    float chosenWidth = 0.0f, chosenHeight = 0.0f;
    for (int32_t i = 0; i < count; ++i) {
      DarOzoPolySetup(mode, poly, 1.0f, tabDepth, 1, candidates[i], 3, nullptr, 1);
      float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
      Find2DBoundingBoxSpecial(poly, &x0, &x1, &y0, &y1, k, kBoxOfFace);
      if (i > 0 && !(x1 - x0 < chosenWidth)) continue;
      chosenWidth = x1 - x0;
      chosenHeight = y1 - y0;
      plan->centreX[k] = (x0 + x1) * 0.5f;
      plan->centreY[k] = (y0 + y1) * 0.5f;
      plan->angle[k] = candidates[i];
    }
    maxWidth = std::max(maxWidth, chosenWidth);
    maxHeight = std::max(maxHeight, chosenHeight);
  }
  plan->scale = maxWidth > 0.0f ? 1.0f / maxWidth : 0.0f;
  return maxWidth > 0.0f ? double(maxHeight) / double(maxWidth) : 0.0;
}

struct PlanArrays {
  std::vector<float> x, y, angle;
  CrammingPlan plan;
  explicit PlanArrays(int32_t groups) : x(groups, -7.0f), y(groups, -7.0f), angle(groups, -7.0f) {
    plan = CrammingPlan{x.data(), y.data(), angle.data(), 0.0f, nullptr, nullptr};
  }
};

// Solids with and without tabs, several fragments, many groups and curved
// elements: the same plan, and the solid left as a whole set-up leaves it.
TEST(FaceGroups, PlanOfOneBuildEqualsThePlanOfWholeSetUps) {
  struct Case {
    int32_t mode;
    float tabDepth;
  };
  const Case cases[] = {{kCubeMode, 0.0f}, {kCubeMode, 0.05f}, {9, 0.05f},  {10, 0.02f},
                        {177, 0.05f},      {182, 0.01f},       {258, 0.0f}, {258, 0.05f}, {246, 0.05f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " tabs " << c.tabDepth);
    PolyPtr fast = NewPoly(), slow = NewPoly();
    for (polyhedron* p : {fast.get(), slow.get()}) DarOzoPolySetup(c.mode, p, 1.0f, c.tabDepth, 1, 0.0f, 3, nullptr, 1);
    const int32_t groups = NewCountFacegroupsInPoly(fast.get());
    ASSERT_GT(groups, 1);
    PlanArrays a(groups), b(groups);
    const double ratio = PlanCrammingForExportation_core(c.mode, groups, nullptr, fast.get(), c.tabDepth, 1, &a.plan);
    EXPECT_EQ(ratio, PlanBySetups(c.mode, groups, slow.get(), c.tabDepth, &b.plan));
    EXPECT_EQ(a.plan.scale, b.plan.scale);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.angle, b.angle);
    EXPECT_EQ(fast->unfoldingIndex, slow->unfoldingIndex);
    EXPECT_EQ(fast->unfoldingBuilt, slow->unfoldingBuilt);
    EXPECT_EQ(fast->n2DVerts, slow->n2DVerts);
    ASSERT_EQ(fast->nTriangles, slow->nTriangles);
    EXPECT_EQ(std::memcmp(fast->triangles, slow->triangles, sizeof(NetTriangle) * size_t(fast->nTriangles)), 0);
    EXPECT_EQ(std::memcmp(fast->verts2D, slow->verts2D, sizeof(PolyVertex2D) * size_t(fast->n2DVerts)), 0);
    EXPECT_EQ(fast->setupCache.angle, slow->setupCache.angle);
  }
}

TEST(FaceGroups, PlanningReportsEachGroupAndCanBeStopped) {
  PolyPtr p = NewPoly();
  DarOzoPolySetup(kOctahedronMode, p.get(), 1.0f, 0.0f, 1, 0.0f, 3, nullptr, 1);
  struct Log {
    std::vector<int32_t> done;
    int32_t stopAt;
  };
  for (int32_t stopAt : {-1, 3}) {
    SCOPED_TRACE(stopAt);
    Log log{{}, stopAt};
    PlanArrays a(8);
    a.plan.progress = [](void* context, int32_t done, int32_t total) {
      auto* l = static_cast<Log*>(context);
      l->done.push_back(done);
      EXPECT_EQ(total, 8);
      return done != l->stopAt;
    };
    a.plan.progressContext = &log;
    const double ratio = PlanCrammingForExportation_core(kOctahedronMode, 8, nullptr, p.get(), 0.0f, 1, &a.plan);
    if (stopAt < 0) {
      EXPECT_EQ(log.done, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
      EXPECT_GT(ratio, 0.0);
    } else {
      EXPECT_EQ(log.done, (std::vector<int32_t>{0, 1, 2, 3}));
      EXPECT_EQ(ratio, 0.0) << "a stopped plan has no layout";
      EXPECT_EQ(a.plan.scale, 0.0f);
    }
  }
}

}  // namespace
