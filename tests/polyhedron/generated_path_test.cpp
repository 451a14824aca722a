// The generated-shape path of the catalogue: the generator arguments of the
// geodesic and rollout codes, and what happens to a generated solid once its
// generator is done (unfolding, re-attachment of small fragments).
#include <gtest/gtest.h>

#include <string>

#include "polybuild/catalogue/catalogue_generated.h"
#include "polyhedron/catalogue.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/nets/unfold.h"
#include "support/poly_fixture.h"

namespace {

TEST(GeneratedPath, GeodesicCodesNameTheirFrequencyAndBase) {
  struct Case {
    int32_t code, frequency, base;
  } cases[] = {{80, 2, 16}, {83, 5, 16}, {84, 1, 18}, {88, 5, 18}, {89, 2, 19},
               {93, 1, 9},  {97, 5, 9},  {98, 2, 17}, {101, 5, 17}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    int32_t a = -1, b = -1;
    ASSERT_TRUE(GeodesicArgumentsOf(c.code, &a, &b));
    EXPECT_EQ(a, c.frequency);
    EXPECT_EQ(b, c.base);
  }
  for (int32_t code = 80; code <= 101; ++code) EXPECT_TRUE(GeodesicArgumentsOf(code, nullptr, nullptr)) << code;
  for (const int32_t code : {79, 102, -1, 0}) EXPECT_FALSE(GeodesicArgumentsOf(code, nullptr, nullptr)) << code;
}

TEST(GeneratedPath, RolloutCodesNameTheirSidesAndVariant) {
  struct Case {
    int32_t code;
    RolloutArguments args;
  } cases[] = {{102, {3, 0, 0, 0}}, {106, {4, 0, 1, 0}}, {110, {5, 2, 0, 0}}, {114, {6, 1, 1, 0}},
               {118, {7, 3, 0, 0}}, {124, {8, 2, 1, 0}}, {129, {9, 4, 0, 0}}, {135, {10, 2, 1, 0}},
               {136, {4, 0, 0, 1}}, {138, {6, 1, 0, 1}}, {140, {8, 1, 0, 1}}, {143, {10, 2, 0, 1}},
               {144, {11, 0, 0, 0}}, {149, {11, 5, 0, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    RolloutArguments got{};
    ASSERT_TRUE(RolloutArgumentsOf(c.code, &got));
    EXPECT_EQ(got.n, c.args.n);
    EXPECT_EQ(got.a, c.args.a);
    EXPECT_EQ(got.b, c.args.b);
    EXPECT_EQ(got.c, c.args.c);
  }
  // Every code of the range has its row, and a variant never reaches half
  // the sides.
  for (int32_t code = 102; code <= 149; ++code) {
    RolloutArguments got{};
    ASSERT_TRUE(RolloutArgumentsOf(code, &got)) << code;
    EXPECT_LT(2 * got.a, got.n) << code;
  }
  EXPECT_FALSE(RolloutArgumentsOf(101, nullptr));
  EXPECT_FALSE(RolloutArgumentsOf(150, nullptr));
}

// Cuts every solid edge, on both sides: the unfolding gives one fragment per
// face.
void CutEverything(polyhedron* p) {
  for (int32_t f = 0; f < p->n3DFaces; ++f)
    for (int32_t e = 0; e < p->faces[f].n3D; ++e) p->faces[f].edgeFlags3D[e] |= kEdgeFlagCut;
}

TEST(GeneratedPath, ASolidFromItsGeneratorIsUnfolded) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  UnfoldGeneratedSolid(p.get());
  EXPECT_EQ(p->errorCode, kPolyErrorNone);
  EXPECT_EQ(p->fragmentCount, 1);
  EXPECT_EQ(p->n2DFaces, 6);
  EXPECT_EQ(p->fragmentFaceCount[1], 6);
}

TEST(GeneratedPath, SmallFragmentsAreReattachedOnlyWhenTheShapeAllowsIt) {
  for (const bool revisable : {false, true}) {
    SCOPED_TRACE(revisable ? "revisable" : "fixed");
    PolyPtr p = NewOwningPoly();
    BuildCube(p.get());
    CutEverything(p.get());
    p->fragmentationRevisable = revisable ? 1 : 0;
    p->reattachFaceLimit = kPolyDefaultReattachFaceLimit;
    UnfoldGeneratedSolid(p.get());
    EXPECT_EQ(p->errorCode, kPolyErrorNone);
    EXPECT_EQ(p->n2DFaces, 6);
    // Each of the six one-face fragments gives up one edge, so the second
    // unfolding needs fewer pieces.
    if (revisable)
      EXPECT_LT(p->fragmentCount, 6);
    else
      EXPECT_EQ(p->fragmentCount, 6);
  }
}

TEST(GeneratedPath, FragmentsAboveTheFaceLimitStayApart) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  CutEverything(p.get());
  p->fragmentationRevisable = 1;
  p->reattachFaceLimit = 0;  // no fragment is small enough
  UnfoldGeneratedSolid(p.get());
  EXPECT_EQ(p->fragmentCount, 6);
}

TEST(GeneratedPath, TheEmptyShapeIsBuiltByNothing) {
  PolyPtr p = NewOwningPoly();
  ReadFaceInfo(p.get(), 78, 0, nullptr, 1);
  EXPECT_EQ(p->errorCode, kPolyErrorNone);
  EXPECT_EQ(p->n3DFaces, 0);
  EXPECT_EQ(p->n2DFaces, 0);
}

}  // namespace
