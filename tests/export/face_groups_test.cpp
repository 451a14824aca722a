// Face groups of the solids and the export plan: one group per face unless
// a table says otherwise, the narrowest turn of each group, and the vertex
// ranges the model writers size their lists by.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "polybuild/face_groups.h"
#include "polybuild/polyhedron_setup.h"
#include "polyhedron/fragment_layout.h"
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
    CrammingPlan plan{cx.data(), cy.data(), angle.data(), 0.0f};
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

}  // namespace
