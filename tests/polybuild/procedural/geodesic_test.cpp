// Geodesic spheres through the catalogue: the solid, its counts and its net.
#include <gtest/gtest.h>

#include "polybuild/procedural/geodesic.h"
#include "polyhedron/catalogue.h"
#include "polyhedron/polyhedron_add.h"
#include "solid_checks.h"

namespace {

struct GeodesicCase {
  int32_t code;
  int32_t frequency;
  int32_t baseTriangles;  // triangles of the base after its faces are fanned
  // Cut at frequency 4 or more, the tetrahedron's big triangles bulge so
  // unevenly that the edges near its corners fold inward a little: that
  // sphere is not convex, by construction.
  bool convex;
  double netTolerance;
};

// Tetrahedron 4, cube 6 x 4, octahedron 8, dodecahedron 12 x 5, icosahedron 20.
constexpr double kNet = kNetLengthTolerance;
const GeodesicCase kCases[] = {
    {80, 2, 4, true, kNet},   {81, 3, 4, true, kNet},   {82, 4, 4, false, kNet},  {83, 5, 4, false, kNet},
    {84, 1, 24, true, kNet},  {85, 2, 24, true, kNet},  {86, 3, 24, true, kNet},  {87, 4, 24, true, kNet},
    {88, 5, 24, true, kNet},  {89, 2, 8, true, kNet},   {90, 3, 8, true, kNet},   {91, 4, 8, true, kNet},
    {92, 5, 8, true, kNet},   {93, 1, 60, true, kNet},  {94, 2, 60, true, kNet},  {95, 3, 60, true, kNet},
    {96, 4, 60, true, kNet},  {97, 5, 60, true, kSnappedNetTolerance}, {98, 2, 20, true, kNet},  {99, 3, 20, true, kNet},
    {100, 4, 20, true, kNet}, {101, 5, 20, true, kNet},
};

class GeodesicShapes : public testing::TestWithParam<GeodesicCase> {};

TEST_P(GeodesicShapes, ClosedConvexTriangulatedSphereWithSoundNet) {
  const GeodesicCase c = GetParam();
  ProcPolyPtr poly = NewGeneratorRecord();
  ReadFaceInfo(poly.get(), c.code, 0, nullptr, 1);
  ASSERT_EQ(poly->errorCode, kPolyErrorNone);
  // A triangulated sphere: F triangles, 3F/2 edges, F/2 + 2 vertices
  // (10 f^2 + 2 on the icosahedron).
  const int32_t faces = c.baseTriangles * c.frequency * c.frequency;
  const SolidCounts counts = CountSolid(poly.get());
  EXPECT_EQ(counts.faces, faces);
  EXPECT_EQ(counts.vertices, faces / 2 + 2);
  EXPECT_EQ(poly->n3DVerts, faces / 2 + 2) << "no stray vertex is stored";
  for (int32_t f = 0; f < poly->n3DFaces; ++f) ASSERT_EQ(poly->faces[f].n3D, 3);
  EXPECT_TRUE(IsClosed(poly.get()));
  EXPECT_TRUE(EulerHolds(poly.get()));
  EXPECT_TRUE(NoDegenerateFaces(poly.get()));
  EXPECT_TRUE(VerticesOnSphere(poly.get(), 1.0, 1e-12));
  EXPECT_TRUE(FacesPointOutward(poly.get()));
  EXPECT_EQ(bool(MatchesHull(poly.get())), c.convex);
  EXPECT_TRUE(NetIsSoundFor(poly.get(), c.netTolerance));
  EXPECT_EQ(poly->fragmentCount, 1) << "the overlap test never has to start a second piece";
}

INSTANTIATE_TEST_SUITE_P(AllCodes, GeodesicShapes, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<GeodesicCase>& info) {
                           return "code" + std::to_string(info.param.code);
                         });

TEST(GeodesicBuilder, FrequencyBelowOneCountsAsOneAndAnUnknownBaseIsReported) {
  ProcPolyPtr low = NewGeneratorRecord();
  BuildGeodesicNotTriangleFacedClass1(low.get(), nullptr, 0, 17);
  EXPECT_EQ(low->errorCode, kPolyErrorNone);
  EXPECT_EQ(low->n3DFaces, 20);
  EXPECT_EQ(low->n3DVerts, 12);

  // A base shape the catalogue cannot build must not pass for a solid.
  for (int32_t base : {14, 78, -1}) {
    ProcPolyPtr none = NewGeneratorRecord();
    BuildGeodesicNotTriangleFacedClass1(none.get(), nullptr, 2, base);
    EXPECT_NE(none->errorCode, kPolyErrorNone) << base;
    EXPECT_EQ(none->n3DFaces, 0) << base;
  }
}

TEST(GeodesicBuilder, SubdividedTriangleKeepsItsWindingAndSharesEdgeVertices) {
  // One face of a scratch record cut at frequency 3: 9 triangles, 10
  // vertices, each wound like the source (normal away from the origin).
  ProcPolyPtr source = NewGeneratorRecord();
  getPolyStorageEtc(source.get(), nullptr, kPolyMax3DVerts, kPolyMaxFaces);
  const double u[3] = {1, 0, 0}, v[3] = {0, 1, 0}, w[3] = {0, 0, 1};
  const int32_t corners[3] = {AddNew3DDVertToPolyhedron(source.get(), u), AddNew3DDVertToPolyhedron(source.get(), v),
                              AddNew3DDVertToPolyhedron(source.get(), w)};
  Add3DFaceToPolyhedron_macro(source.get(), corners, 3, -1, 1, 0, -1, -1, -1);
  ProcPolyPtr target = NewGeneratorRecord();
  getPolyStorageEtc(target.get(), nullptr, kPolyMax3DVerts, kPolyMaxFaces);
  geodesate_one_face(source.get(), target.get(), 3, 0);
  EXPECT_EQ(target->n3DFaces, 9);
  EXPECT_EQ(target->n3DVerts, 10);
  EXPECT_TRUE(FacesPointOutward(target.get()));

  ProcPolyPtr fan = NewGeneratorRecord();
  getPolyStorageEtc(fan.get(), nullptr, kPolyMax3DVerts, kPolyMaxFaces);
  tesselate_one_face_about_centroid(source.get(), fan.get(), 0);
  EXPECT_EQ(fan->n3DFaces, 3);
  EXPECT_EQ(fan->n3DVerts, 4);
  EXPECT_TRUE(VerticesOnSphere(fan.get(), 1.0, 1e-12));
}

}  // namespace
