// Marking the edge a slice node names, as the Truchet duals do.
#include <gtest/gtest.h>

#include "support/poly_fixture.h"
#include "polyhedron/halfspace.h"
#include "polyhedron/polyhedron_slicing.h"

namespace {

struct SliceNode {
  HALFSPACE a{}, b{}, node{};
  SliceNode(int32_t va, int32_t vb, uint8_t seed, uint8_t mark) {
    a.index = va;
    b.index = vb;
    node.parentA = &a;
    node.parentB = &b;
    node.sliceSeed = seed;
    node.sliceMark = mark;
  }
};

// Cube face 0 runs through vertices 0, 1, 3, 2. Its edge 0 joins vertices 0
// and 1, which face 2 (0, 4, 5, 1) also joins, by its edge 3, the other way
// round: face 0 comes first and takes the marks.
TEST(SliceMatch, MarksTheFirstFaceWithTheEdge) {
  const struct {
    const char* name;
    int32_t va, vb;
    uint8_t seed, mark;
    int32_t face, edge;
    int32_t flags;
  } cases[] = {
      {"plain node", 0, 1, 0, 0, 0, 0, kEdgeFlagCut},
      {"either order", 1, 0, 0, 0, 0, 0, kEdgeFlagCut},
      {"edge closing the face", 2, 0, 0, 0, 0, 3, kEdgeFlagCut},
      {"seed", 0, 1, 1, 0, 0, 0, kEdgeFlagCut | kEdgeFlagSliceA},
      {"mark", 0, 1, 0, 1, 0, 0, kEdgeFlagCut | kEdgeFlagSliceB},
      {"seed and mark", 1, 3, 1, 1, 0, 1, kEdgeFlagCut | kEdgeFlagSliceA | kEdgeFlagSliceB},
  };
  for (const auto& c : cases) {
    PolyPtr p = NewOwningPoly();
    BuildCube(p.get());
    SliceNode s(c.va, c.vb, c.seed, c.mark);
    EXPECT_EQ(FindSliceMatch(nullptr, &s.node, p.get()), 1) << c.name;
    const PolyFace& f = p->faces[c.face];
    EXPECT_EQ(f.edgeFlags3D[c.edge], c.flags) << c.name;
    // A seed disdains the edge before it and marks its face.
    const int32_t before = (c.edge + 3) % 4;
    EXPECT_EQ(f.edgeFlags3D[before], c.seed ? kEdgeFlagDisdained : 0) << c.name;
    EXPECT_EQ(f.isSeed, c.seed) << c.name;
    EXPECT_EQ(p->sliceMatchFlag, c.seed) << c.name;
    int32_t marked = 0;
    for (int32_t g = 0; g < p->n3DFaces; ++g)
      for (int32_t e = 0; e < 4; ++e) marked += p->faces[g].edgeFlags3D[e] != 0;
    EXPECT_EQ(marked, c.seed ? 2 : 1) << c.name << ": only the first face";
  }
}

TEST(SliceMatch, NothingToMatch) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  SliceNode diagonal(0, 3, 1, 1);  // corners of face 0, but not an edge
  EXPECT_EQ(FindSliceMatch(nullptr, &diagonal.node, p.get()), 0);
  SliceNode orphan(0, 1, 0, 0);
  orphan.node.parentB = nullptr;
  EXPECT_EQ(FindSliceMatch(nullptr, &orphan.node, p.get()), 0);
  for (int32_t g = 0; g < p->n3DFaces; ++g)
    for (int32_t e = 0; e < 4; ++e) EXPECT_EQ(p->faces[g].edgeFlags3D[e], 0);
  EXPECT_EQ(p->sliceMatchFlag, 0);

  PolyPtr empty = NewOwningPoly();
  SliceNode s(0, 1, 0, 0);
  EXPECT_EQ(FindSliceMatch(nullptr, &s.node, empty.get()), 0);
}

}  // namespace
