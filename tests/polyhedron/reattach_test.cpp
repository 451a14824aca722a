// Re-attaching small fragments: each rule walks one fragment's outline and
// releases one cut solid edge on both of its sides.
#include "polyhedron/nets/reattach.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/nets/unfold.h"

namespace {

using Rule = std::function<bool(polyhedron*, int32_t)>;

const struct {
  const char* name;
  Rule rule;
} kRules[] = {
    {"cusp", AttemptToReattachedFragment_at_cusp},
    {"tiny face", AttemptToReattachedFragment_at_tinyface},
    {"single neighbour", AttemptToReattachedFragment_at_singleneighbor},
    {"arc start", AttemptToReattachedFragment_at_arcstart},
};

// Cuts every edge of a solid face, on both sides.
void CutAround(polyhedron* p, int32_t f) {
  for (int32_t e = 0; e < p->faces[f].n3D; ++e) {
    p->faces[f].edgeFlags3D[e] |= kEdgeFlagCut;
    const int32_t g = p->faces[f].nbrFace3D[e];
    const int32_t ge = (p->faces[f].nbrEdge3D[e] - 1 + p->faces[g].n3D) % p->faces[g].n3D;
    p->faces[g].edgeFlags3D[ge] |= kEdgeFlagCut;
  }
}

// The solid edge between faces f and g, seen from f; -1 when they do not
// meet.
int32_t EdgeToward(const polyhedron* p, int32_t f, int32_t g) {
  for (int32_t e = 0; e < p->faces[f].n3D; ++e)
    if (p->faces[f].nbrFace3D[e] == g) return e;
  return -1;
}

int32_t CutEdges(const polyhedron* p) {
  int32_t n = 0;
  for (int32_t f = 0; f < p->n3DFaces; ++f)
    for (int32_t e = 0; e < p->faces[f].n3D; ++e) n += p->faces[f].edgeFlags3D[e] & kEdgeFlagCut;
  return n;
}

TEST(Reattach, AClosedNetHasNoOutlineToWalk) {
  // The tetrahedron's own faces as a net: every edge is joined.
  PolyPtr p = NewOwningPoly();
  BuildTetrahedron(p.get());
  BuildNet(p.get(), {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}});
  Build2DConnectivityCompletelyFromScratch(p.get(), 4);
  for (int32_t j = 0; j < 4; ++j) {
    p->faces[j].fragment = 1;
    p->faces[j].face3D = j;
    p->faces[j].cornerOffset = 0;
  }
  for (const auto& r : kRules) EXPECT_FALSE(r.rule(p.get(), 1)) << r.name;
}

TEST(Reattach, SingleNeighbourReleasesTheEdgeToABranchEnd) {
  // Face 0 of the tetrahedron cut all round is a fragment of its own; the
  // other three make a fan whose two outer triangles have one net neighbour.
  PolyPtr p = NewOwningPoly();
  BuildTetrahedron(p.get());
  CutAround(p.get(), 0);
  for (int32_t e = 0; e < 3; ++e) p->faces[0].edgeFlags3D[e] |= kEdgeFlagDisdained;
  Build2DNet(p.get());
  ASSERT_EQ(p->fragmentCount, 2);
  ASSERT_EQ(p->faces[0].fragment, 1);
  EXPECT_TRUE(AttemptToReattachedFragment_at_singleneighbor(p.get(), 1));
  EXPECT_EQ(CutEdges(p.get()), 4);  // one of three edges released on both sides
  for (int32_t e = 0; e < 3; ++e) {
    const int32_t g = p->faces[0].nbrFace3D[e];
    const int32_t ge = EdgeToward(p.get(), g, 0);
    const bool released = !(p->faces[0].edgeFlags3D[e] & kEdgeFlagCut);
    EXPECT_EQ(released, !(p->faces[g].edgeFlags3D[ge] & kEdgeFlagCut)) << e;
    EXPECT_TRUE(p->faces[0].edgeFlags3D[e] & kEdgeFlagDisdained);
    if (!released) continue;
    // The face across is the end of a branch: one net neighbour.
    const int32_t j = p->faces[g].netFace;
    int32_t linked = 0;
    for (int32_t k = 0; k < 3; ++k) linked += p->faces[j].nbrFace2D[k] != -1;
    EXPECT_EQ(linked, 1);
  }
  // Unfolded again, the net is one piece.
  Build2DNet(p.get());
  EXPECT_EQ(p->fragmentCount, 1);
}

TEST(Reattach, TinyFacePicksTheSmallestNeighbourFirstMet) {
  // A long prism with one side cut all round: across its outline lie the two
  // triangular ends (longest edge about 1.73) and two long sides (2.5).
  PolyPtr p = NewOwningPoly();
  BuildPrism(p.get(), 2.5);
  CutAround(p.get(), 2);
  Build2DNet(p.get());
  const int32_t k = p->faces[p->faces[2].netFace].fragment;
  ASSERT_EQ(p->fragmentFaceCount[k], 1);
  EXPECT_TRUE(AttemptToReattachedFragment_at_tinyface(p.get(), k));
  EXPECT_EQ(CutEdges(p.get()), 6);
  // The walk starts at net edge 0 of the lone face and goes round it in
  // order; the first end face met is released.
  const int32_t j = p->faces[2].netFace;
  int32_t firstEnd = -1;
  for (int32_t e = 0; e < 4 && firstEnd < 0; ++e) {
    const int32_t g = p->faces[2].nbrFace3D[(e + p->faces[j].cornerOffset) % 4];
    if (p->faces[g].n3D == 3) firstEnd = g;
  }
  ASSERT_GE(firstEnd, 0);
  EXPECT_FALSE(p->faces[2].edgeFlags3D[EdgeToward(p.get(), 2, firstEnd)] & kEdgeFlagCut);
}

TEST(Reattach, SliceMarksDecideCuspAndArcStart) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  CutAround(p.get(), 0);
  Build2DNet(p.get());
  ASSERT_EQ(p->faces[0].fragment, 1);
  // No marks: neither rule finds a candidate.
  EXPECT_FALSE(AttemptToReattachedFragment_at_cusp(p.get(), 1));
  EXPECT_FALSE(AttemptToReattachedFragment_at_arcstart(p.get(), 1));

  // Arc start: the outline edge marked with the first slice mark, here on
  // the far side only.
  const int32_t g = p->faces[0].nbrFace3D[2];
  p->faces[g].edgeFlags3D[EdgeToward(p.get(), g, 0)] |= kEdgeFlagSliceA;
  EXPECT_TRUE(AttemptToReattachedFragment_at_arcstart(p.get(), 1));
  EXPECT_FALSE(p->faces[0].edgeFlags3D[2] & kEdgeFlagCut);
  EXPECT_FALSE(p->faces[g].edgeFlags3D[EdgeToward(p.get(), g, 0)] & kEdgeFlagCut);
  EXPECT_TRUE(p->faces[g].edgeFlags3D[EdgeToward(p.get(), g, 0)] & kEdgeFlagSliceA);

  // Cusp: a face across the outline with exactly two marked edges.
  const int32_t h = p->faces[0].nbrFace3D[1];
  EXPECT_FALSE(AttemptToReattachedFragment_at_cusp(p.get(), 1));  // g has one
  p->faces[h].edgeFlags3D[(EdgeToward(p.get(), h, 0) + 1) % 4] |= kEdgeFlagSliceB;
  p->faces[h].edgeFlags3D[(EdgeToward(p.get(), h, 0) + 2) % 4] |= kEdgeFlagSliceA;
  EXPECT_TRUE(AttemptToReattachedFragment_at_cusp(p.get(), 1));
  EXPECT_FALSE(p->faces[0].edgeFlags3D[1] & kEdgeFlagCut);
}

TEST(Reattach, AFragmentWithoutFacesReleasesNothing) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  CutAround(p.get(), 0);
  Build2DNet(p.get());
  const int32_t before = CutEdges(p.get());
  for (const auto& r : kRules) EXPECT_FALSE(r.rule(p.get(), 7)) << r.name;
  EXPECT_EQ(CutEdges(p.get()), before);
}

}  // namespace
