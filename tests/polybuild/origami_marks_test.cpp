// Origami corner marks on a net's bounding box and the limits of the record;
// the face-group filter of the net triangles.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/origami_marks.h"
#include "polyhedron/polyhedron.h"

namespace {

std::unique_ptr<polyhedron> WipedPoly() {
  auto p = std::make_unique<polyhedron>();
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), 1.0f, 0.0f);
  WipeFaceInfo(p.get());
  return p;
}

// Used net points at slots 0.., render coordinates only.
void PutPoints(polyhedron* p, std::initializer_list<std::pair<float, float>> points) {
  int32_t i = 0;
  for (auto [x, y] : points) {
    p->verts2D[i].x = x;
    p->verts2D[i].y = y;
    p->vert2DUsed[i] = 1;
    ++i;
  }
  p->n2DVerts = i;
}

TEST(OrigamiMarks, FourRightTrianglesInTheBoxCorners) {
  auto p = WipedPoly();
  // A 2 x 1 box from (-1, 3); an unused slot far outside must not count.
  PutPoints(p.get(), {{-1.0f, 3.0f}, {1.0f, 3.5f}, {0.0f, 4.0f}, {99.0f, 99.0f}});
  p->vert2DUsed[3] = 0;
  p->nTriangles = 5;
  AddOrigamiTabs(p.get());
  EXPECT_EQ(p->errorCode, 0);
  ASSERT_EQ(p->n2DVerts, 4 + 12);
  ASSERT_EQ(p->nTriangles, 5 + 4);
  const float L = 0.0625f;
  const float expected[4][3][2] = {
      {{-1, 3}, {-1 + L, 3}, {-1, 3 + L}},
      {{1, 3}, {1 - L, 3}, {1, 3 + L}},
      {{-1, 4}, {-1 + L, 4}, {-1, 4 - L}},
      {{1, 4}, {1 - L, 4}, {1, 4 - L}},
  };
  for (int32_t m = 0; m < 4; ++m) {
    const NetTriangle& t = p->triangles[5 + m];
    EXPECT_EQ(t.isTab, 1);
    EXPECT_EQ(t.hideFlag, 0);
    EXPECT_EQ(t.face2D, -1);
    EXPECT_EQ(t.facegroup, -1);
    EXPECT_EQ(t.fragment, -1);
    for (int32_t k = 0; k < 3; ++k) {
      const int32_t v = 4 + 3 * m + k;
      EXPECT_EQ(t.vert2D[k], v);
      EXPECT_EQ(p->vert2DUsed[v], 1);
      EXPECT_FLOAT_EQ(p->verts2D[v].x, expected[m][k][0]) << m << " " << k;
      EXPECT_FLOAT_EQ(p->verts2D[v].y, expected[m][k][1]) << m << " " << k;
      EXPECT_EQ(p->verts2D[v].renderX, 1.0f);
      EXPECT_EQ(p->verts2D[v].renderY, 1.0f);
      EXPECT_EQ(p->verts2D[v].renderZ, 1.0f);
    }
  }
}

TEST(OrigamiMarks, LimitsOfTheRecord) {
  const struct {
    const char* name;
    int32_t verts, triangles;
    int32_t error, marksMade, trianglesMade;
  } cases[] = {
      {"4008 vertices in use", 4008, 0, kPolyErrorNoRoomForTabs, 0, 0},
      {"room for one mark", 4006, 0, kPolyErrorNoRoomForTabs, 1, 1},
      {"triangles full", 10, 3009, kPolyErrorTooManyTriangles, 4, 0},
      {"two triangle slots left", 10, 3007, kPolyErrorTooManyTriangles, 4, 2},
  };
  for (const auto& c : cases) {
    auto p = WipedPoly();
    PutPoints(p.get(), {{0.0f, 0.0f}, {1.0f, 1.0f}});
    p->n2DVerts = c.verts;
    p->nTriangles = c.triangles;
    AddOrigamiTabs(p.get());
    EXPECT_EQ(p->errorCode, c.error) << c.name;
    EXPECT_EQ(p->n2DVerts, c.verts + 3 * c.marksMade) << c.name;
    EXPECT_EQ(p->nTriangles, c.triangles + c.trianglesMade) << c.name;
    EXPECT_LE(p->n2DVerts, kPolyMax2DVerts) << c.name;
  }
}

TEST(OrigamiMarks, EmptyNetGetsMarksAtTheOrigin) {
  auto p = WipedPoly();
  AddOrigamiTabs(p.get());
  EXPECT_EQ(p->errorCode, 0);
  ASSERT_EQ(p->nTriangles, 4);
  for (int32_t v = 0; v < 12; ++v) {
    EXPECT_EQ(p->verts2D[v].x, 0.0f);
    EXPECT_EQ(p->verts2D[v].y, 0.0f);
  }
  AddOrigamiTabs(nullptr);  // nothing to mark, nothing read
}

TEST(FacegroupFilter, OnlyTheChosenGroupIsDrawn) {
  auto p = WipedPoly();
  p->triangles[0].facegroup = 3;
  p->triangles[1].facegroup = -1;  // marks and tabs of no group
  p->nTriangles = 2;
  const struct {
    int32_t triangle, filter;
    bool suppressed;
  } cases[] = {
      {0, -1, false}, {1, -1, false}, {0, 3, false}, {0, 2, true}, {1, 3, true},
      {1, 0, true},   {-1, 3, true},  {kPolyMaxTriangles, 3, true}, {kPolyMaxTriangles, -1, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ShouldSuppressTriangle(p.get(), c.triangle, c.filter), c.suppressed) << c.triangle << " " << c.filter;
  EXPECT_FALSE(ShouldSuppressTriangle(nullptr, 0, -1));
  EXPECT_TRUE(ShouldSuppressTriangle(nullptr, 0, 3));
}

}  // namespace
