// Scissor marks: their vertices, tags and limits.
#include <gtest/gtest.h>

#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/nets/scissor_marks.h"

namespace {

constexpr triplex kP1{1, 0, 0}, kP2{0, 1, 0}, kP3{0, 0, 1};

void Mark(polyhedron* p, triplex point, int32_t tag, spintype spin = GetSpintypeForIdentity()) {
  AddScissorMark(p, point, 0.5, tag, spin, 7, kP1, kP2, kP3);
}

triplex Vertex(const polyhedron* p, int32_t v) { return grab_coordinates3D_into_T(v, p); }

TEST(ScissorMarks, RecordsTheMarkAndItsVertices) {
  PolyPtr p = NewOwningPoly();
  AddScissorMark(p.get(), triplex{0.25, 0.5, 0.75}, 1.5, 12, GetSpintypeForIdentity(), 4, kP1, kP2, kP3);
  ASSERT_EQ(p->scissorMarkCount, 1);
  const ScissorMark& m = p->scissorMarks[0];
  EXPECT_EQ(m.inUse, 1);
  EXPECT_EQ(m.tag, 12);
  EXPECT_EQ(m.param, 4);
  EXPECT_EQ(m.value, 1.5);
  EXPECT_EQ(p->scissorMarkOfTag[12], 0);
  // With the identity spin the stored points are the given ones, pivot first.
  EXPECT_EQ(m.pivotVertex, 0);
  EXPECT_EQ(Vertex(p.get(), 0).z, 0.75);
  const triplex companions[3] = {kP1, kP2, kP3};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(m.verts3D[i], 1 + i);
    EXPECT_EQ(Vertex(p.get(), m.verts3D[i]).x, companions[i].x);
    EXPECT_EQ(Vertex(p.get(), m.verts3D[i]).y, companions[i].y);
    EXPECT_EQ(Vertex(p.get(), m.verts3D[i]).z, companions[i].z);
  }
  EXPECT_EQ(p->n3DVerts, 4);
}

TEST(ScissorMarks, PointsAreTurnedBeforeTheyAreStored) {
  PolyPtr p = NewOwningPoly();
  const spintype quarter{triplex{0, 0, 0}, triplex{0, 0, 1}, 1.5707963267948966};
  Mark(p.get(), triplex{2, 0, 0}, 0, quarter);
  const triplex v = Vertex(p.get(), p->scissorMarks[0].pivotVertex);
  EXPECT_NEAR(v.x, 0.0, 1e-12);
  EXPECT_NEAR(v.y, -2.0, 1e-12);
  const triplex c = Vertex(p.get(), p->scissorMarks[0].verts3D[0]);  // (1, 0, 0) turned
  EXPECT_NEAR(c.y, -1.0, 1e-12);
}

TEST(ScissorMarks, MergingWithStoredVertices) {
  const struct {
    const char* name;
    double offset;
    int32_t newVertices;
  } cases[] = {
      {"1e-5 away: the stored vertex", 1e-5, 0},
      {"3e-5 away: a new vertex", 3e-5, 1},
  };
  for (const auto& c : cases) {
    PolyPtr p = NewOwningPoly();
    Mark(p.get(), triplex{0.5, 0.5, 0.5}, 1);  // four vertices
    Mark(p.get(), triplex{0.5 + c.offset, 0.5, 0.5}, 2);
    EXPECT_EQ(p->n3DVerts, 4 + c.newVertices) << c.name;
    EXPECT_EQ(p->scissorMarks[1].pivotVertex, c.newVertices ? 4 : 0) << c.name;
    EXPECT_EQ(p->scissorMarks[1].verts3D[2], 3) << c.name << ": companions reused";
  }
}

TEST(ScissorMarks, TagsAndLimits) {
  PolyPtr p = NewOwningPoly();
  Mark(p.get(), triplex{0, 0, 0}, 5);
  Mark(p.get(), triplex{1, 1, 1}, 5);
  EXPECT_EQ(p->scissorMarkOfTag[5], 1) << "the later mark of a tag";

  // A tag outside the tag range has no slot in scissorMarkOfTag: no mark.
  for (int32_t tag : {-1, kPolyElementTags}) {
    Mark(p.get(), triplex{3, 3, 3}, tag);
    EXPECT_EQ(p->scissorMarkCount, 2) << tag;
    EXPECT_EQ(p->n3DVerts, 5) << tag;
  }

  for (int32_t i = 2; i < kPolyMaxScissorMarks; ++i) Mark(p.get(), triplex{double(i), 0, 0}, i);
  ASSERT_EQ(p->scissorMarkCount, kPolyMaxScissorMarks);
  const int32_t verts = p->n3DVerts;
  const int32_t unmarked = kPolyElementTags - 1;
  Mark(p.get(), triplex{-9, -9, -9}, unmarked);
  EXPECT_EQ(p->scissorMarkCount, kPolyMaxScissorMarks) << "a mark past the last slot";
  EXPECT_EQ(p->n3DVerts, verts);
  EXPECT_EQ(p->scissorMarkOfTag[unmarked], -1);
}

TEST(ScissorMarks, FullVertexList) {
  PolyPtr p = NewOwningPoly();
  for (int32_t i = 0; i < kPolyMax3DVerts; ++i) {
    const double q[3] = {double(i), 0, 0};
    ASSERT_EQ(AddNew3DDVertToPolyhedron(p.get(), q), i);
  }
  // A mark point matching no vertex gets none: error 5, no mark.
  Mark(p.get(), triplex{0.5, 7, 0}, 3);
  EXPECT_EQ(p->errorCode, kPolyErrorTooMany3DVerts);
  EXPECT_EQ(p->scissorMarkCount, 0);
  EXPECT_EQ(p->scissorMarkOfTag[3], -1);

  // A mark on a stored vertex is recorded; companions without one are -1.
  p->errorCode = 0;
  AddScissorMark(p.get(), triplex{2, 0, 0}, 0, 3, GetSpintypeForIdentity(), 0, triplex{5, 0, 0},
                 triplex{0, 9, 9}, triplex{6, 0, 0});
  EXPECT_EQ(p->scissorMarkCount, 1);
  EXPECT_EQ(p->scissorMarks[0].pivotVertex, 2);
  EXPECT_EQ(p->scissorMarks[0].verts3D[0], 5);
  EXPECT_EQ(p->scissorMarks[0].verts3D[1], -1);
  EXPECT_EQ(p->scissorMarks[0].verts3D[2], 6);
  EXPECT_EQ(p->errorCode, kPolyErrorTooMany3DVerts);
}

}  // namespace
