// Matching a stored net to its solid: nets made by unfolding, shuffled and
// stripped of their links, must be matched back by an isometry of the solid
// (the identity when the solid has no symmetry); the fixed rule of the
// pentagon-seeded shape; the vertex maps.
#include "polyhedron/correspondence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <vector>

#include "net_checks.h"
#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/nets/unfold.h"
#include "polyhedron/vertex_maps.h"

namespace {

TEST(Correspondence, AnglesAreNearlyEqualWithinTwentyFiveTenThousandths) {
  const struct {
    float a, b;
    bool equal;
  } cases[] = {{1.0f, 1.0024f, true}, {1.0f, 1.0026f, false}, {1.0026f, 1.0f, false}, {2.5f, 2.5f, true}};
  for (const auto& c : cases) EXPECT_EQ(AnglesAreNearlyEqual(c.a, c.b), c.equal) << c.a << " " << c.b;
}

enum class Recovery {
  kIsometry,  // some symmetry of the solid
  kIdentity,  // the solid has none
  // Faces alike in corner count, valence and angles but not in size (the
  // box's rectangles) are told apart by nothing the search compares: the
  // links are only consistent.
  kConsistent,
};

struct SolidCase {
  const char* name;
  std::function<void(polyhedron*)> build;
  Recovery recovery;
};

const std::vector<SolidCase>& Solids() {
  static const std::vector<SolidCase> solids = {
      {"cube", BuildCube, Recovery::kIsometry},
      {"tetrahedron", BuildTetrahedron, Recovery::kIsometry},
      {"octahedron", BuildOctahedron, Recovery::kIsometry},
      {"icosahedron", BuildIcosahedron, Recovery::kIsometry},
      {"dodecahedron", BuildDodecahedron, Recovery::kIsometry},
      {"truncated icosahedron", BuildTruncatedIcosahedron, Recovery::kIsometry},
      {"box 1x2x3", [](polyhedron* p) { BuildBox(p, 1, 2, 3); }, Recovery::kConsistent},
      {"prism", [](polyhedron* p) { BuildPrism(p, 2.5); }, Recovery::kIsometry},
      {"scattered 24", [](polyhedron* p) { BuildConvexSolid(p, ScatteredSpherePoints(24, 7)); }, Recovery::kIdentity},
      {"scattered 40", [](polyhedron* p) { BuildConvexSolid(p, ScatteredSpherePoints(40, 11)); }, Recovery::kIdentity},
  };
  return solids;
}

// The 3D vertex each 2D vertex of the net lies on according to the face
// links, or a failure when the faces disagree about one vertex or a face is
// not linked.
testing::AssertionResult VertexMap(const polyhedron* p, std::vector<int32_t>* map) {
  map->assign(size_t(kPolyMax2DVerts), -1);
  std::set<int32_t> shown;
  for (int32_t j = 0; j < p->n2DFaces; ++j) {
    const PolyFace& f = p->faces[j];
    if (f.face3D < 0) return testing::AssertionFailure() << "net face " << j << " is not linked";
    if (!shown.insert(f.face3D).second) return testing::AssertionFailure() << "solid face " << f.face3D << " twice";
    if (p->faces[f.face3D].n3D != f.n2D) return testing::AssertionFailure() << "net face " << j << " corner count";
    for (int32_t c = 0; c < f.n2D; ++c) {
      const int32_t v3 = p->faces[f.face3D].vert3D[(c + f.cornerOffset) % f.n2D];
      int32_t& m = (*map)[size_t(f.vert2D[c])];
      if (m != -1 && m != v3)
        return testing::AssertionFailure() << "net vertex " << f.vert2D[c] << " on 3D vertices " << m << " and " << v3;
      m = v3;
    }
  }
  return testing::AssertionSuccess();
}

double Distance3D(const polyhedron* p, int32_t a, int32_t b) {
  const triplex u = grab_coordinates3D_into_T(a, p), v = grab_coordinates3D_into_T(b, p);
  return std::sqrt((u.x - v.x) * (u.x - v.x) + (u.y - v.y) * (u.y - v.y) + (u.z - v.z) * (u.z - v.z));
}

// The recovered map composed with the true one is a permutation of the
// solid's vertices; it must keep every distance (a symmetry of the solid).
void ExpectIsometricRecovery(const polyhedron* unfolded, const polyhedron* stored, bool identity) {
  std::vector<int32_t> map;
  ASSERT_TRUE(VertexMap(stored, &map));
  // 2D vertices of the stored net are renumbered; match them by position.
  std::vector<int32_t> permutation(size_t(unfolded->n3DVerts), -1);
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    if (!unfolded->vert2DUsed[v]) continue;
    for (int32_t w = 0; w < kPolyMax2DVerts; ++w) {
      if (!stored->vert2DUsed[w] || stored->coords2D[w][0] != unfolded->coords2D[v][0] ||
          stored->coords2D[w][1] != unfolded->coords2D[v][1])
        continue;
      permutation[unfolded->vert3DOf2D[v]] = map[size_t(w)];
    }
  }
  for (int32_t a = 0; a < unfolded->n3DVerts; ++a) {
    ASSERT_GE(permutation[size_t(a)], 0) << a;
    if (identity) {
      EXPECT_EQ(permutation[size_t(a)], a);
    }
    for (int32_t b = a + 1; b < unfolded->n3DVerts; ++b)
      EXPECT_NEAR(Distance3D(unfolded, a, b), Distance3D(unfolded, permutation[size_t(a)], permutation[size_t(b)]),
                  1e-9);
  }
}

TEST(Correspondence, AShuffledNetIsMatchedBackToItsSolid) {
  for (const SolidCase& solid : Solids())
    for (const uint32_t seed : {1u, 2u, 3u}) {
      SCOPED_TRACE(std::string(solid.name) + " seed " + std::to_string(seed));
      PolyPtr unfolded = NewOwningPoly(), stored = NewOwningPoly();
      solid.build(unfolded.get());
      Build2DNet(unfolded.get());
      ASSERT_EQ(unfolded->fragmentCount, 1);
      std::vector<int32_t> shuffledOf, turnOf;
      CopyAsStaticNet(unfolded.get(), stored.get(), seed, &shuffledOf, &turnOf);
      EXPECT_EQ(DetermineCorrespondence(stored.get()), 1);
      if (solid.recovery == Recovery::kConsistent) {
        std::vector<int32_t> map;
        EXPECT_TRUE(VertexMap(stored.get(), &map));
      } else {
        ExpectIsometricRecovery(unfolded.get(), stored.get(), solid.recovery == Recovery::kIdentity);
      }
    }
}

TEST(Correspondence, AnAsymmetricSolidGetsItsFacesAndCornersBack) {
  PolyPtr unfolded = NewOwningPoly(), stored = NewOwningPoly();
  BuildConvexSolid(unfolded.get(), ScatteredSpherePoints(24, 7));
  Build2DNet(unfolded.get());
  std::vector<int32_t> shuffledOf, turnOf;
  CopyAsStaticNet(unfolded.get(), stored.get(), 5, &shuffledOf, &turnOf);
  ASSERT_EQ(DetermineCorrespondence(stored.get()), 1);
  for (int32_t j = 0; j < stored->n2DFaces; ++j) {
    const PolyFace& original = unfolded->faces[shuffledOf[size_t(j)]];
    EXPECT_EQ(stored->faces[j].face3D, original.face3D) << j;
    EXPECT_EQ(stored->faces[j].cornerOffset, (turnOf[size_t(j)] + original.cornerOffset) % original.n2D) << j;
  }
}

TEST(Correspondence, AGivenCorrespondenceIsKept) {
  PolyPtr unfolded = NewOwningPoly(), stored = NewOwningPoly();
  BuildCube(unfolded.get());
  Build2DNet(unfolded.get());
  std::vector<int32_t> shuffledOf, turnOf;
  CopyAsStaticNet(unfolded.get(), stored.get(), 1, &shuffledOf, &turnOf);
  stored->correspondenceGiven = 1;
  EXPECT_EQ(DetermineCorrespondence(stored.get()), 1);
  for (int32_t j = 0; j < stored->n2DFaces; ++j) EXPECT_EQ(stored->faces[j].face3D, -1);
}

TEST(Correspondence, ANetFaceWithoutNeighboursDoesNotStopTheSearch) {
  // Face 0 of the cube cut off all round: the net is one loose square and a
  // piece of five. Stored with the loose square first, the piece of five is
  // still matched.
  PolyPtr unfolded = NewOwningPoly(), stored = NewOwningPoly();
  BuildCube(unfolded.get());
  for (int32_t e = 0; e < 4; ++e) {
    unfolded->faces[0].edgeFlags3D[e] |= kEdgeFlagCut;
    const int32_t g = unfolded->faces[0].nbrFace3D[e];
    const int32_t ge = (unfolded->faces[0].nbrEdge3D[e] + 3) % 4;
    unfolded->faces[g].edgeFlags3D[ge] |= kEdgeFlagCut;
  }
  Build2DNet(unfolded.get());
  ASSERT_EQ(unfolded->fragmentCount, 2);
  ASSERT_EQ(unfolded->faces[0].fragment, 1);
  std::vector<int32_t> shuffledOf, turnOf;
  // Find a shuffle that keeps the loose square in slot 0.
  uint32_t seed = 1;
  do {
    CopyAsStaticNet(unfolded.get(), stored.get(), seed++, &shuffledOf, &turnOf);
  } while (shuffledOf[0] != 0);
  EXPECT_EQ(DetermineCorrespondence(stored.get()), 1);
  EXPECT_EQ(stored->faces[0].face3D, -1);  // nothing reaches it
  std::set<int32_t> shown;
  for (int32_t j = 1; j < 6; ++j) {
    ASSERT_GE(stored->faces[j].face3D, 0) << j;
    shown.insert(stored->faces[j].face3D);
  }
  EXPECT_EQ(shown.size(), 5u);
}

TEST(Correspondence, PentagonSeededShapeStartsFromItsFifthNetFace) {
  PolyPtr unfolded = NewOwningPoly(), stored = NewOwningPoly();
  BuildDodecahedron(unfolded.get());
  Build2DNet(unfolded.get());
  std::vector<int32_t> shuffledOf, turnOf;
  CopyAsStaticNet(unfolded.get(), stored.get(), 4, &shuffledOf, &turnOf);
  stored->shapeCode = 21;
  EXPECT_EQ(DetermineCorrespondence(stored.get()), 1);
  EXPECT_EQ(stored->faces[5].face3D, 0);
  EXPECT_EQ(stored->faces[5].cornerOffset, 0);
  EXPECT_EQ(stored->faces[0].placedFlags[3], 1);  // the pentagon it took
  // Any pentagon in any turn is a symmetry of the dodecahedron: the links
  // spread from there make a consistent map.
  ExpectIsometricRecovery(unfolded.get(), stored.get(), false);
}

TEST(Correspondence, PentagonSeededShapeNeedsSixFaces) {
  PolyPtr p = NewOwningPoly();
  BuildTetrahedron(p.get());
  p->faces[0].face3D = 2;
  p->faces[0].n2D = 3;
  p->faces[0].cornerOffset = 1;
  p->shapeCode = 21;
  EXPECT_EQ(DetermineCorrespondence(p.get()), 1);
  EXPECT_EQ(p->faces[0].face3D, -1);
  EXPECT_EQ(p->faces[0].cornerOffset, 0);
}

TEST(Correspondence, NoSeedPairMeansNoLinks) {
  // A net of triangles has nothing to match on a box of four-cornered faces.
  PolyPtr p = NewOwningPoly();
  BuildBox(p.get(), 1, 2, 3);
  BuildNet(p.get(), {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, {{0, 1, 2}, {1, 3, 2}});
  Build2DConnectivityCompletelyFromScratch(p.get(), 2);
  EXPECT_EQ(DetermineCorrespondence(p.get()), 0);
  EXPECT_EQ(p->faces[0].face3D, -1);
  EXPECT_EQ(p->faces[1].face3D, -1);
}

TEST(VertexMaps, TwoDToThreeDUsesTheCacheThenTheFaces) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  Build2DNet(p.get());
  const int32_t v = p->faces[2].vert2D[1];
  const int32_t expected = p->faces[p->faces[2].face3D].vert3D[1];
  EXPECT_EQ(Vert_Index_2D_to_3D(p.get(), v), expected);
  p->vert3DOf2D[v] = kPolyNoVertex16;
  EXPECT_EQ(Vert_Index_2D_to_3D(p.get(), v), expected);  // found through its face
  // A used vertex that no face holds and that caches nothing maps nowhere;
  // so does an unused one.
  Set2DPoint(4000, DPoint{9, 9, -1, 1, 4000, 1}, p.get());
  EXPECT_EQ(Vert_Index_2D_to_3D(p.get(), 4000), -1);
  EXPECT_EQ(Vert_Index_2D_to_3D(p.get(), 4001), -1);
  EXPECT_EQ(Vert_Index_2D_to_3D(p.get(), -1), -1);
}

TEST(VertexMaps, ThreeDToTwoDLooksOnlyInTheFragment) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  Build2DNet(p.get());
  for (int32_t v3 = 0; v3 < 8; ++v3) {
    const int32_t v = Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(p.get(), v3, 1);
    ASSERT_GE(v, 0) << v3;
    EXPECT_EQ(Vert_Index_2D_to_3D(p.get(), v), v3);
    EXPECT_EQ(Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(p.get(), v3, 2), -1);
  }
  EXPECT_EQ(Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(p.get(), -1, 1), -1);
}

TEST(VertexMaps, TriangleCornerToFaceCorner) {
  PolyPtr p = NewOwningPoly();
  BuildNet(p.get(), {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 1, 2, 3}});
  p->triangles[0] = NetTriangle{};
  p->triangles[0].vert2D[0] = 0;
  p->triangles[0].vert2D[1] = 2;
  p->triangles[0].vert2D[2] = 3;
  p->triangles[0].face2D = 0;
  int32_t face = 7, corner = 7;
  Get_2D_Face_and_Index_From_Triangle_and_Index(p.get(), 0, 1, &face, &corner);
  EXPECT_EQ(face, 0);
  EXPECT_EQ(corner, 2);
  p->triangles[0].face2D = -1;
  Get_2D_Face_and_Index_From_Triangle_and_Index(p.get(), 0, 1, &face, &corner);
  EXPECT_EQ(face, -1);
  EXPECT_EQ(corner, -1);
}

}  // namespace
