// Vertex merging and face adding: tolerances, tie-breaks, duplicates and the
// error codes at every limit.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"

namespace {

int32_t Add3D(polyhedron* p, double x, double y, double z) {
  const double q[3] = {x, y, z};
  return AddNew3DDVertToPolyhedron(p, q);
}

void AddFace(polyhedron* p, std::vector<int32_t> corners, uint8_t defer = 0) {
  Add3DFaceToPolyhedron_macro(p, corners.data(), int32_t(corners.size()), -1, defer, 0, -1, -1, -1);
}

// Eight stored vertices on a line, enough for every face below.
PolyPtr PolyWithVertices(int32_t count = 8) {
  PolyPtr p = NewOwningPoly();
  for (int32_t i = 0; i < count; ++i) Add3D(p.get(), i, i * i, 0);
  return p;
}

TEST(PolyAdd, TwoDMergeToleranceDependsOnTheShapeFamily) {
  const struct {
    int32_t shapeCode;
    double apart;
    bool merges;
  } cases[] = {
      {18, 0.001, true},   {18, 0.0019, true}, {18, 0.0021, false},  // plain solids: 0.002
      {151, 0.9e-6, true}, {151, 2e-6, false}, {205, 2e-6, false},   // Voronoi and Truchet duals: 1e-6
      {161, 0.9e-7, true}, {162, 2e-7, false}, {161, 0.001, false},  // curved origami: 1e-7
  };
  for (const auto& c : cases) {
    PolyPtr p = NewOwningPoly();
    p->shapeCode = c.shapeCode;
    const int32_t a = AddNew2DVertToPolyhedron(p.get(), 1.0, 1.0, 5, 2);
    const int32_t b = AddNew2DVertToPolyhedron(p.get(), 1.0 + c.apart, 1.0, 5, 2);
    EXPECT_EQ(a == b, c.merges) << c.shapeCode << " " << c.apart;
    EXPECT_EQ(p->errorCode, 0);
  }
}

TEST(PolyAdd, TwoDVerticesMergeOnlyWithinTheirFragment) {
  PolyPtr p = NewOwningPoly();
  const int32_t a = AddNew2DVertToPolyhedron(p.get(), 0.5, 0.5, 1, 1);
  const int32_t b = AddNew2DVertToPolyhedron(p.get(), 0.501, 0.5, 1, 2);
  const int32_t c = AddNew2DVertToPolyhedron(p.get(), 0.5, 0.501, 7, 1);
  EXPECT_NE(a, b);
  EXPECT_EQ(a, c);
  EXPECT_EQ(p->vert3DOf2D[a], 1);  // a merge keeps the stored vertex as it was
  EXPECT_EQ(p->fragmentOf2D[b], 2);
  EXPECT_EQ(p->vert2DUsed[b], 1);
  EXPECT_EQ(p->n2DVerts, 0);  // the net builder recomputes the high-water count
}

TEST(PolyAdd, TwoDMergePicksTheLowestMatchingSlot) {
  PolyPtr p = NewOwningPoly();
  p->freeVertCursor = 100;
  const int32_t first = AddNew2DVertToPolyhedron(p.get(), 0.0, 0.0, 0, 1);
  p->freeVertCursor = 50;
  const int32_t second = AddNew2DVertToPolyhedron(p.get(), 0.0015, 0.0, 0, 1);  // 0.0015 from the first
  EXPECT_EQ(first, 100);
  EXPECT_EQ(second, 100);
  const int32_t third = AddNew2DVertToPolyhedron(p.get(), 0.003, 0.0, 0, 1);  // new, in slot 50
  EXPECT_EQ(third, 50);
  // Within reach of both: slot 50 is scanned first.
  EXPECT_EQ(AddNew2DVertToPolyhedron(p.get(), 0.0016, 0.0, 0, 1), 50);
}

TEST(PolyAdd, FreeSlotSearchWrapsAndFailsWhenFull) {
  PolyPtr p = NewOwningPoly();
  p->freeVertCursor = kPolyMax2DVerts - 1;
  EXPECT_EQ(AddNew2DVertToPolyhedron(p.get(), 0, 0, 0, 1), kPolyMax2DVerts - 1);
  EXPECT_EQ(AddNew2DVertToPolyhedron(p.get(), 1, 0, 0, 1), 0);  // wrapped
  EXPECT_EQ(p->freeVertCursor, 0);
  for (int32_t i = 0; i < kPolyMax2DVerts; ++i) p->vert2DUsed[i] = 1;
  EXPECT_EQ(AddNew2DVertToPolyhedron(p.get(), 5, 5, 0, 1), -1);
  EXPECT_EQ(p->errorCode, kPolyErrorNoFree2DVert);
  p->errorCode = 0;
  EXPECT_EQ(AddNew2DVertToPolyhedron(p.get(), 1, 0, 0, 1), 0);  // a match needs no free slot
  EXPECT_EQ(p->errorCode, 0);
}

TEST(PolyAdd, ThreeDMatchIsStrictlyCloserThanTheTolerance) {
  PolyPtr p = NewOwningPoly();
  EXPECT_EQ(CloseMatch3D(p.get(), std::array<double, 3>{0, 0, 0}.data(), 1.0), -1);  // nothing stored
  EXPECT_EQ(Add3D(p.get(), 0, 0, 0), 0);
  EXPECT_EQ(Add3D(p.get(), 0.0019, 0, 0), 0);
  EXPECT_EQ(Add3D(p.get(), 0, 0.002, 0), 1);  // exactly 0.002 away: a new vertex
  EXPECT_EQ(p->n3DVerts, 2);

  uint8_t made = 9;
  const double near[3] = {0, 0, 1.5e-5};
  EXPECT_EQ(AddNew3DDVertToPolyhedron_tol(p.get(), near, 2e-5, &made), 0);
  EXPECT_EQ(made, 0);
  EXPECT_EQ(AddNew3DTVertToPolyhedron_tol(p.get(), triplex{0, 0, 3e-5}, 2e-5, &made), 2);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(p->coords3D[2][2], 3e-5);
}

TEST(PolyAdd, ThreeDVertexTableFull) {
  PolyPtr p = NewOwningPoly();
  for (int32_t i = 0; i < kPolyMax3DVerts; ++i) ASSERT_EQ(Add3D(p.get(), i, 0, 0), i);
  uint8_t made = 1;
  const double fresh[3] = {0, 5, 0}, stored[3] = {17, 0, 0};
  EXPECT_EQ(AddNew3DDVertToPolyhedron_tol(p.get(), fresh, 0.002, &made), -1);
  EXPECT_EQ(made, 0);
  EXPECT_EQ(p->errorCode, kPolyErrorTooMany3DVerts);
  EXPECT_EQ(p->n3DVerts, kPolyMax3DVerts);
  EXPECT_EQ(AddNew3DDVertToPolyhedron(p.get(), stored), 17);
}

TEST(PolyAdd, FaceErrors) {
  const struct {
    const char* name;
    std::vector<int32_t> existing;
    std::vector<int32_t> face;
    uint8_t defer;
    int32_t error;
    int32_t faces;  // afterwards
  } cases[] = {
      {"same cycle, other start", {3, 4, 1, 2}, {1, 2, 3, 4}, 0, kPolyErrorDuplicateFace, 1},
      {"opposite direction", {4, 3, 2, 1}, {1, 2, 3, 4}, 0, 0, 2},
      {"duplicate test deferred", {3, 4, 1, 2}, {1, 2, 3, 4}, 1, 0, 2},
      {"other corner count", {1, 2, 3}, {1, 2, 3, 4}, 0, 0, 2},
      {"repeated middle corner", {}, {5, 6, 6, 7}, 0, kPolyErrorRepeatedCorner, 0},
      {"last equals first", {}, {5, 6, 7, 5}, 0, kPolyErrorRepeatedCorner, 0},
      {"two corners", {}, {1, 2}, 0, kPolyErrorBadFace, 0},
      {"vertex not stored", {}, {1, 2, 8}, 0, kPolyErrorBadFace, 0},
      {"failed vertex", {}, {1, -1, 2}, 0, kPolyErrorBadFace, 0},
  };
  for (const auto& c : cases) {
    PolyPtr p = PolyWithVertices();
    if (!c.existing.empty()) AddFace(p.get(), c.existing);
    ASSERT_EQ(p->errorCode, 0) << c.name;
    AddFace(p.get(), c.face, c.defer);
    EXPECT_EQ(p->errorCode, c.error) << c.name;
    EXPECT_EQ(p->n3DFaces, c.faces) << c.name;
  }
}

TEST(PolyAdd, FaceTableFull) {
  PolyPtr p = PolyWithVertices(kPolyMax3DVerts);
  for (int32_t i = 0; i < kPolyMaxFaces; ++i) AddFace(p.get(), {i, i + 1, i + 2}, 1);
  ASSERT_EQ(p->errorCode, 0);
  ASSERT_EQ(p->n3DFaces, kPolyMaxFaces);
  AddFace(p.get(), {3000, 3001, 3002}, 1);
  EXPECT_EQ(p->errorCode, kPolyErrorTooMany3DFaces);
  EXPECT_EQ(p->n3DFaces, kPolyMaxFaces);
}

TEST(PolyAdd, FaceFieldsFromTheOptions) {
  PolyPtr p = PolyWithVertices();
  const int32_t corners[] = {0, 1, 2, 3, 6};
  FaceAddingOptions o{};
  GetDefaultFaceAddingOptions(&o);
  EXPECT_EQ(o.cutEdgeA, -1);
  EXPECT_EQ(o.facegroup, -1);
  EXPECT_EQ(o.siteIndex, -1);
  o.corners = corners;
  o.nCorners = 4;
  o.cutEdgeA = 1;
  o.cutEdgeB = 12;  // no such edge: marks nothing
  o.takeExtraVertex = 1;
  o.facegroup = 7;
  o.siteIndex = 33;
  o.hideFlag = 1;
  o.sliceWholeFace = 1;
  o.point[2] = 4.5;
  core_Add3DFaceToPolyhedron(p.get(), &o);
  ASSERT_EQ(p->errorCode, 0);
  const PolyFace& f = p->faces[0];
  EXPECT_EQ(f.n3D, 4);
  EXPECT_EQ(f.vert3D[3], 3);
  EXPECT_EQ(f.vert3D[4], -1);
  EXPECT_EQ(f.edgeFlags3D[1], kEdgeFlagCut);
  EXPECT_EQ(f.edgeFlags3D[0] | f.edgeFlags3D[2] | f.edgeFlags3D[3], 0);
  EXPECT_EQ(f.extraVertex, 6);
  EXPECT_EQ(f.facegroup, 7);
  EXPECT_EQ(f.siteIndex, 33);
  EXPECT_EQ(f.placedFlags[0], 1);
  EXPECT_EQ(f.sliceWholeFace, 1);
  EXPECT_EQ(f.point[2], 4.5);
  EXPECT_EQ(f.fragment, 0);

  // An extra vertex that is one of the corners is no extra vertex.
  const int32_t again[] = {4, 5, 6, 5};
  Add3DFaceToPolyhedron_macro(p.get(), again, 3, -1, 0, 1, -1, -1, -1);
  EXPECT_EQ(p->faces[1].extraVertex, -1);

  // More than ten corners are cut to ten, and the count is written back.
  std::vector<int32_t> many;
  PolyPtr q = PolyWithVertices(12);
  for (int32_t i = 0; i < 12; ++i) many.push_back(i);
  GetDefaultFaceAddingOptions(&o);
  o.corners = many.data();
  o.nCorners = 12;
  core_Add3DFaceToPolyhedron(q.get(), &o);
  EXPECT_EQ(o.nCorners, 10);
  EXPECT_EQ(q->faces[0].n3D, 10);

  // Nothing to add: left alone.
  GetDefaultFaceAddingOptions(&o);
  core_Add3DFaceToPolyhedron(q.get(), &o);
  core_Add3DFaceToPolyhedron(q.get(), nullptr);
  core_Add3DFaceToPolyhedron(nullptr, &o);
  GetDefaultFaceAddingOptions(nullptr);
  EXPECT_EQ(q->n3DFaces, 1);
  EXPECT_EQ(q->errorCode, 0);
}

TEST(PolyAdd, UndeferredFacesAreLinkedAsTheyCome) {
  PolyPtr p = NewOwningPoly();
  for (double x : {0.0, 1.0})
    for (double y : {0.0, 1.0}) Add3D(p.get(), x, y, 0.0);
  Add3D(p.get(), 0.5, 0.5, 1.0);  // 4: apex
  AddFace(p.get(), {0, 1, 4});
  EXPECT_EQ(p->faces[0].nbrFace3D[1], -1);
  AddFace(p.get(), {1, 3, 4});  // shares edge 1-4 run the other way
  EXPECT_EQ(p->faces[0].nbrFace3D[1], 1);
  EXPECT_GT(p->faces[1].angle3D[0], 0.0f);
}

}  // namespace
