// Joining wedges and caps: the similarity that moves one fragment onto its
// neighbour, the midpoint vertices the joins add, and the joins that find
// nothing to work with.
#include "polyhedron/nets/wedge_joins.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/nets/unfold.h"
#include "polyhedron/vertex_maps.h"
#include "support/poly_fixture.h"

namespace {

// Fragment 1: the unit square at the origin (vertices 0..3); fragment 2: a
// square of side 2 turned and moved (vertices 4..7).
PolyPtr TwoSquares() {
  PolyPtr p = NewOwningPoly();
  const double a[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  const double b[4][2] = {{5, 5}, {5, 7}, {3, 7}, {3, 5}};
  for (int32_t i = 0; i < 4; ++i) {
    Set2DPoint(i, DPoint{a[i][0], a[i][1], -1, 1, i, 1}, p.get());
    Set2DPoint(4 + i, DPoint{b[i][0], b[i][1], -1, 2, 4 + i, 1}, p.get());
  }
  return p;
}

double Dist(const polyhedron* p, int32_t u, int32_t v) {
  return std::hypot(p->coords2D[u][0] - p->coords2D[v][0], p->coords2D[u][1] - p->coords2D[v][1]);
}

TEST(WedgeJoins, AlignFragmentsLaysOneEdgeOnAnother) {
  PolyPtr p = TwoSquares();
  // Edge 4 -> 5 of fragment 2 onto edge 0 -> 1 of fragment 1.
  EXPECT_EQ(AlignFragments(p.get(), 0, 1, 4, 5, 2), 0);
  EXPECT_NEAR(p->coords2D[4][0], 0.0, 1e-6);
  EXPECT_NEAR(p->coords2D[4][1], 0.0, 1e-6);
  EXPECT_NEAR(p->coords2D[5][0], 1.0, 1e-6);
  EXPECT_NEAR(p->coords2D[5][1], 0.0, 1e-6);
  // A similarity: the square keeps its shape at the new scale.
  EXPECT_NEAR(Dist(p.get(), 4, 6), std::sqrt(2.0), 1e-6);
  EXPECT_NEAR(Dist(p.get(), 6, 7), 1.0, 1e-6);
  // Fragment 1 stays where it was.
  EXPECT_EQ(p->coords2D[1][0], 1.0);
  EXPECT_EQ(p->fragmentOf2D[4], 2);
}

TEST(WedgeJoins, AlignFragmentsOnItselfAndOnAPoint) {
  {
    PolyPtr p = TwoSquares();
    AlignFragments(p.get(), 4, 5, 4, 5, 2);  // c = a, d = b
    EXPECT_NEAR(p->coords2D[6][0], 3.0, 1e-6);
    EXPECT_NEAR(p->coords2D[6][1], 7.0, 1e-6);
  }
  {
    PolyPtr p = TwoSquares();
    AlignFragments(p.get(), 0, 0, 4, 5, 2);  // |ab| = 0: moved and turned, not scaled
    EXPECT_NEAR(p->coords2D[4][0], 0.0, 1e-6);
    EXPECT_NEAR(Dist(p.get(), 4, 5), 2.0, 1e-6);
  }
  {
    PolyPtr p = TwoSquares();
    const double before = p->coords2D[6][0];
    EXPECT_EQ(AlignFragments(p.get(), 0, 1, 4, 4, 2), -1);  // |cd| = 0 has no direction
    EXPECT_EQ(AlignFragments(p.get(), 0, 1, 4, 3000, 2), -1);  // a vertex not in use
    EXPECT_EQ(p->coords2D[6][0], before);
  }
}

// A cube with every edge cut unfolds into six one-face fragments; the key
// edges name one solid edge as each of two neighbouring fragments holds it.
PolyPtr CutCube(int32_t* f1, int32_t* f2, int32_t edge[2]) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  for (int32_t f = 0; f < p->n3DFaces; ++f)
    for (int32_t e = 0; e < p->faces[f].n3D; ++e) p->faces[f].edgeFlags3D[e] |= kEdgeFlagCut;
  p->skipOverlapTest = 1;
  Build2DNet(p.get());
  // Solid face 0 and its neighbour across edge 0.
  const int32_t g = p->faces[0].nbrFace3D[0];
  edge[0] = p->faces[0].vert3D[0];
  edge[1] = p->faces[0].vert3D[1];
  *f1 = p->faces[p->faces[0].netFace].fragment;
  *f2 = p->faces[p->faces[g].netFace].fragment;
  return p;
}

// The vertex of the fragment that was not in use before.
int32_t NewVertexIn(const polyhedron* p, const std::vector<uint8_t>& usedBefore, int32_t fragment) {
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v)
    if (p->vert2DUsed[v] && !usedBefore[size_t(v)] && p->fragmentOf2D[v] == fragment) return v;
  return -1;
}

int32_t UsedCount(const polyhedron* p) {
  int32_t n = 0;
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) n += p->vert2DUsed[v];
  return n;
}

TEST(WedgeJoins, JoinWedgesMeetsAtTheMidpoints) {
  int32_t f1 = 0, f2 = 0, edge[2];
  PolyPtr p = CutCube(&f1, &f2, edge);
  ASSERT_NE(f1, f2);
  p->key3DVerts[2] = edge[0];
  p->key3DVerts[3] = edge[1];
  p->key3DVerts[4] = edge[1];
  p->key3DVerts[5] = edge[0];
  const std::vector<uint8_t> used(p->vert2DUsed, p->vert2DUsed + kPolyMax2DVerts);
  const int32_t before = UsedCount(p.get());
  EXPECT_EQ(JoinWedges(p.get(), 2, 4, f1, f2), 0);
  const int32_t q = Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(p.get(), edge[1], f1);
  const int32_t r = Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(p.get(), edge[1], f2);
  const int32_t s = Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(p.get(), edge[0], f2);
  // Two midpoints were added, each carrying the solid vertex of its pair's
  // second vertex.
  EXPECT_EQ(UsedCount(p.get()), before + 2);
  const int32_t m1 = NewVertexIn(p.get(), used, f1), m2 = NewVertexIn(p.get(), used, f2);
  ASSERT_GE(m1, 0);
  ASSERT_GE(m2, 0);
  EXPECT_EQ(Vert_Index_2D_to_3D(p.get(), m1), edge[1]);
  EXPECT_EQ(Vert_Index_2D_to_3D(p.get(), m2), edge[0]);
  // R sits on the midpoint m1, and R's half edge covers m1 -> Q.
  EXPECT_NEAR(Dist(p.get(), r, m1), 0.0, 1e-6);
  EXPECT_NEAR(Dist(p.get(), m2, q), 0.0, 1e-6);
  EXPECT_NEAR(Dist(p.get(), r, s), 2.0 * Dist(p.get(), m1, q), 1e-6);
}

TEST(WedgeJoins, ACapJoinLaysItsWholeEdgeOnTheHalfEdge) {
  int32_t f1 = 0, f2 = 0, edge[2];
  PolyPtr p = CutCube(&f1, &f2, edge);
  p->key3DVerts[0] = edge[0];
  p->key3DVerts[1] = edge[1];
  p->key3DVerts[2] = edge[1];
  p->key3DVerts[3] = edge[0];
  const std::vector<uint8_t> used(p->vert2DUsed, p->vert2DUsed + kPolyMax2DVerts);
  const int32_t before = UsedCount(p.get());
  EXPECT_EQ(JoinLastWedgeToLastCap(p.get(), 0, 2, f1, f2), 0);
  EXPECT_EQ(UsedCount(p.get()), before + 1);  // no midpoint in the cap
  const int32_t m1 = NewVertexIn(p.get(), used, f1);
  ASSERT_GE(m1, 0);
  const int32_t q = Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(p.get(), edge[1], f1);
  const int32_t r = Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(p.get(), edge[1], f2);
  const int32_t s = Vert_Index_3D_to_2D_Looking_Only_in_a_particular_2D_fragment(p.get(), edge[0], f2);
  EXPECT_NEAR(Dist(p.get(), r, m1), 0.0, 1e-6);
  EXPECT_NEAR(Dist(p.get(), s, q), 0.0, 1e-6);
}

TEST(WedgeJoins, AKeyVertexMissingFromItsFragmentMovesNothing) {
  int32_t f1 = 0, f2 = 0, edge[2];
  PolyPtr p = CutCube(&f1, &f2, edge);
  p->key3DVerts[0] = edge[0];
  p->key3DVerts[1] = edge[1];
  p->key3DVerts[2] = 3999;  // no such solid vertex
  p->key3DVerts[3] = edge[0];
  const double x = p->coords2D[FindHighest2DVert(p.get())][0];
  EXPECT_EQ(JoinFirstWedge(p.get()), -1);
  EXPECT_EQ(p->coords2D[FindHighest2DVert(p.get())][0], x);
}

}  // namespace
