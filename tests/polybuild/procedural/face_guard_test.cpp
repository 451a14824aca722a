// The face adder of the procedural solids: merged corners and faces without
// area never reach the solid; a quadrilateral that lost a corner is kept as
// a triangle with its cut edges on the same sides.
#include <gtest/gtest.h>

#include "polybuild/procedural/tattoo_faces.h"
#include "polyhedron/polyhedron_add.h"
#include "solid_checks.h"

namespace {

struct Fixture {
  ProcPolyPtr poly = NewGeneratorRecord();
  int32_t v[5];
  Fixture() {
    getPolyStorageEtc(poly.get(), nullptr, kPolyMax3DVerts, kPolyMaxFaces);
    const double points[5][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}};
    for (int32_t i = 0; i < 5; ++i) v[i] = AddNew3DDVertToPolyhedron(poly.get(), points[i]);
  }
};

TEST(FaceGuard, SoundFacesAddedDegenerateOnesSkipped) {
  Fixture f;
  const int32_t quad[4] = {f.v[0], f.v[1], f.v[2], f.v[3]};
  EXPECT_TRUE(AddSoundFace(f.poly.get(), quad, 4, 1, 3, 7));
  EXPECT_EQ(f.poly->faces[0].n3D, 4);
  EXPECT_EQ(f.poly->faces[0].facegroup, 7);
  EXPECT_TRUE(f.poly->faces[0].edgeFlags3D[1] & kEdgeFlagCut);
  EXPECT_TRUE(f.poly->faces[0].edgeFlags3D[3] & kEdgeFlagCut);
  EXPECT_FALSE(f.poly->faces[0].edgeFlags3D[0] & kEdgeFlagCut);

  const struct {
    int32_t corners[4];
    int32_t n;
    const char* why;
  } refused[] = {
      {{f.v[0], f.v[0], f.v[1]}, 3, "two corners merged"},
      {{f.v[0], f.v[1], f.v[0], f.v[2]}, 4, "a corner comes twice"},
      {{f.v[0], f.v[1], f.v[4]}, 3, "three corners on a line"},
      {{f.v[0], f.v[1], 999}, 3, "a vertex that is not stored"},
      {{f.v[0], f.v[1]}, 2, "two corners"},
  };
  for (const auto& c : refused) {
    const int32_t before = f.poly->n3DFaces;
    EXPECT_FALSE(AddSoundFace(f.poly.get(), c.corners, c.n, -1, -1, -1)) << c.why;
    EXPECT_EQ(f.poly->n3DFaces, before) << c.why;
  }
  EXPECT_EQ(f.poly->errorCode, kPolyErrorNone) << "nothing reached the face adder's own checks";
}

TEST(FaceGuard, QuadrilateralThatLostACornerKeepsItsCuts) {
  Fixture f;
  // Corners 1 and 2 merged: edge 1 has no length and goes, edges 2 and 3
  // become edges 1 and 2.
  const int32_t quad[4] = {f.v[0], f.v[1], f.v[1], f.v[2]};
  ASSERT_TRUE(AddSoundFace(f.poly.get(), quad, 4, 3, 1, -1));
  const PolyFace& face = f.poly->faces[0];
  ASSERT_EQ(face.n3D, 3);
  EXPECT_EQ(face.vert3D[0], f.v[0]);
  EXPECT_EQ(face.vert3D[1], f.v[1]);
  EXPECT_EQ(face.vert3D[2], f.v[2]);
  EXPECT_FALSE(face.edgeFlags3D[0] & kEdgeFlagCut);
  EXPECT_FALSE(face.edgeFlags3D[1] & kEdgeFlagCut) << "the cut of the vanished edge goes with it";
  EXPECT_TRUE(face.edgeFlags3D[2] & kEdgeFlagCut) << "edge 3, from the last corner to the first";
}

TEST(FaceGuard, PartnerVertexOnlyWhenItIsAFourthVertex) {
  Fixture f;
  ASSERT_TRUE(AddSoundTriangle(f.poly.get(), f.v[0], f.v[1], f.v[2], 0, -1, f.v[3]));
  EXPECT_EQ(f.poly->faces[0].extraVertex, f.v[3]);
  ASSERT_TRUE(AddSoundTriangle(f.poly.get(), f.v[0], f.v[2], f.v[3], 0, -1, f.v[2]));
  EXPECT_EQ(f.poly->faces[1].extraVertex, -1) << "a partner equal to a corner makes a plain triangle";
  ASSERT_TRUE(AddSoundTriangle(f.poly.get(), f.v[1], f.v[4], f.v[2], 0, -1));
  EXPECT_EQ(f.poly->faces[2].extraVertex, -1);
}

TEST(FaceGuard, EmptySolidIsReported) {
  ProcPolyPtr poly = NewGeneratorRecord();
  getPolyStorageEtc(poly.get(), nullptr, kPolyMax3DVerts, kPolyMaxFaces);
  FinishProceduralSolid(poly.get());
  EXPECT_EQ(poly->errorCode, kPolyErrorShapeNotAvailable);
}

}  // namespace
