// Unfolding solids into nets: sound nets of many solids, the growth order,
// fragments and their limits, facegroups, cut and disdained edges, mirrored
// faces and the face and vertex tables running full.
#include "polyhedron/nets/unfold.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "net_checks.h"
#include "support/poly_fixture.h"
#include "polyhedron/nets/net_face_add.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_links.h"

namespace {

struct SolidCase {
  const char* name;
  std::function<void(polyhedron*)> build;
};

const std::vector<SolidCase>& Solids() {
  static const std::vector<SolidCase> solids = {
      {"cube", BuildCube},
      {"tetrahedron", BuildTetrahedron},
      {"octahedron", BuildOctahedron},
      {"icosahedron", BuildIcosahedron},
      {"dodecahedron", BuildDodecahedron},
      {"truncated icosahedron", BuildTruncatedIcosahedron},
      {"box 1x2x3", [](polyhedron* p) { BuildBox(p, 1, 2, 3); }},
      {"prism", [](polyhedron* p) { BuildPrism(p, 2.5); }},
      {"scattered 24", [](polyhedron* p) { BuildConvexSolid(p, ScatteredSpherePoints(24, 7)); }},
  };
  return solids;
}

PolyPtr Unfolded(const SolidCase& solid, bool depthFirst = false) {
  PolyPtr p = NewOwningPoly();
  solid.build(p.get());
  p->depthFirstPropagate = depthFirst ? 1 : 0;
  Build2DNet(p.get());
  return p;
}

int32_t UsedVertices(const polyhedron* p) {
  int32_t n = 0;
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) n += p->vert2DUsed[v];
  return n;
}

TEST(Unfold, EverySolidGivesASoundNet) {
  for (const SolidCase& solid : Solids())
    for (const bool depthFirst : {false, true}) {
      SCOPED_TRACE(std::string(solid.name) + (depthFirst ? ", depth first" : ""));
      PolyPtr p = Unfolded(solid, depthFirst);
      ASSERT_GT(p->n3DFaces, 0);
      EXPECT_TRUE(NetIsSound(p.get()));
      if (p->fragmentCount == 1) {
        // A tree of F faces shares two vertices per hinge and no others.
        int32_t corners = 0;
        for (int32_t j = 0; j < p->n2DFaces; ++j) corners += p->faces[j].n2D;
        EXPECT_EQ(UsedVertices(p.get()), corners - 2 * (p->n2DFaces - 1));
      }
    }
}

TEST(Unfold, ConvexSolidsUnfoldIntoOneFragment) {
  for (const SolidCase& solid : Solids()) {
    SCOPED_TRACE(solid.name);
    EXPECT_EQ(Unfolded(solid)->fragmentCount, 1);
  }
}

TEST(Unfold, TheSameSolidGivesTheSameNet) {
  for (const SolidCase& solid : Solids()) {
    SCOPED_TRACE(solid.name);
    PolyPtr a = Unfolded(solid), b = Unfolded(solid);
    ASSERT_EQ(a->n2DFaces, b->n2DFaces);
    EXPECT_EQ(std::memcmp(a->coords2D, b->coords2D, sizeof(double[2]) * kPolyMax2DVerts), 0);
    EXPECT_EQ(std::memcmp(a->faces, b->faces, sizeof(PolyFace) * size_t(a->n2DFaces)), 0);
    EXPECT_EQ(std::memcmp(a->vert2DUsed, b->vert2DUsed, sizeof(a->vert2DUsed)), 0);
  }
}

TEST(Unfold, CubeGrowsFromFaceZeroInTwoGenerations) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  Build2DNet(p.get());
  ASSERT_EQ(p->n2DFaces, 6);
  EXPECT_EQ(p->fragmentCount, 1);
  EXPECT_EQ(p->fragmentFaceCount[1], 6);
  EXPECT_EQ(p->faces[0].face3D, 0);
  EXPECT_EQ(p->faces[0].generation, 0);
  for (int32_t j = 1; j <= 4; ++j) EXPECT_EQ(p->faces[j].generation, 1) << j;
  EXPECT_EQ(p->faces[5].generation, 2);
  EXPECT_EQ(p->faces[p->faces[5].face3D].netFace, 5);
  // Five faces placed by growth: not yet a big fragment; seven are.
  EXPECT_EQ(p->bigFragmentCount, 0);
  EXPECT_EQ(Unfolded(Solids()[2])->bigFragmentCount, 1);
}

TEST(Unfold, EveryEdgeCutGivesOneFaceFragmentsUpToNineteen) {
  PolyPtr p = NewOwningPoly();
  BuildIcosahedron(p.get());
  for (int32_t f = 0; f < p->n3DFaces; ++f)
    for (int32_t e = 0; e < p->faces[f].n3D; ++e) forbid_joining(p.get(), f, e);
  Build2DNet(p.get());
  EXPECT_EQ(p->errorCode, kPolyErrorTooManyFragments);
  EXPECT_EQ(p->fragmentCount, 19);
  EXPECT_EQ(p->n2DFaces, 19);
  for (int32_t k = 1; k <= 19; ++k) EXPECT_EQ(p->fragmentFaceCount[k], 1) << k;
  EXPECT_EQ(p->faces[19].netFace, -1);  // the twentieth face is left out
  // Laid out in a row, the fragments do not overlap.
  for (int32_t a = 0; a < 19; ++a)
    for (int32_t b = a + 1; b < 19; ++b)
      EXPECT_LE(ConvexOverlapArea(NetFacePolygon(p.get(), a), NetFacePolygon(p.get(), b)), 1e-9) << a << " " << b;
}

TEST(Unfold, ARebuildLeavesNoStaleNetFaces) {
  PolyPtr p = NewOwningPoly();
  BuildIcosahedron(p.get());
  Build2DNet(p.get());
  ASSERT_EQ(p->n2DFaces, 20);
  for (int32_t f = 0; f < p->n3DFaces; ++f)
    for (int32_t e = 0; e < p->faces[f].n3D; ++e) forbid_joining(p.get(), f, e);
  Build2DNet(p.get());
  ASSERT_EQ(p->n2DFaces, 19);
  // Slot 19 held a net face of the first net; nothing may still show a
  // solid face from there.
  EXPECT_EQ(p->faces[19].face3D, -1);
  EXPECT_EQ(p->faces[19].n2D, 0);
}

TEST(Unfold, CutEdgesAreNeverJoined) {
  for (const SolidCase& solid : Solids()) {
    SCOPED_TRACE(solid.name);
    PolyPtr p = NewOwningPoly();
    solid.build(p.get());
    // Cut every third edge of every face (on that side only: the hinge is
    // refused from either side).
    for (int32_t f = 0; f < p->n3DFaces; ++f)
      for (int32_t e = f % 3; e < p->faces[f].n3D; e += 3) forbid_joining(p.get(), f, e);
    Build2DNet(p.get());
    // NetIsSound checks that no net link crosses a cut edge, seen from
    // either face.
    EXPECT_TRUE(NetIsSound(p.get()));
  }
}

TEST(Unfold, FacegroupsChooseTheirFragments) {
  // Faces 0, 2, 4 of the cube meet at one corner, so do 1, 3, 5.
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  for (int32_t f = 0; f < 6; ++f) p->faces[f].facegroup = int16_t(f % 2 == 0 ? 1 : 2);
  Build2DNet(p.get());
  ASSERT_EQ(p->n2DFaces, 6);
  EXPECT_EQ(p->fragmentCount, 2);
  for (int32_t j = 0; j < 6; ++j)
    EXPECT_EQ(p->faces[j].fragment, p->faces[p->faces[j].face3D].facegroup) << "net face " << j;
  EXPECT_TRUE(NetIsSound(p.get()));
}

TEST(Unfold, NothingUnfoldsWithoutAFirstFragment) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  for (int32_t f = 0; f < 6; ++f) p->faces[f].facegroup = 2;
  Build2DNet(p.get());
  EXPECT_EQ(p->n2DFaces, 0);
  EXPECT_EQ(p->fragmentCount, 0);
}

TEST(Unfold, AFaceTurnedOverIsMirroredIntoTheNet) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  // Face 5 flattened with its normal reversed runs clockwise; stored as it
  // is, it would lie on its neighbour and be refused.
  for (double& c : p->faces[5].normal) c = -c;
  Build2DNet(p.get());
  EXPECT_EQ(p->fragmentCount, 1);
  EXPECT_EQ(p->n2DFaces, 6);
  const int32_t j = p->faces[5].netFace;
  ASSERT_GE(j, 0);
  EXPECT_GT(SignedArea2(NetFacePolygon(p.get(), j)), 0.0);
  for (int32_t a = 0; a < 6; ++a)
    for (int32_t b = a + 1; b < 6; ++b)
      EXPECT_LE(ConvexOverlapArea(NetFacePolygon(p.get(), a), NetFacePolygon(p.get(), b)), 1e-9);
}

TEST(Unfold, DisdainedEdgesAreTriedLast) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  Build2DNet(p.get());
  const int32_t j = 0, f = p->faces[j].face3D;
  int32_t order[kPolyMaxCorners];
  ASSERT_EQ(BuildPrioritizedVertList(p.get(), j, order), 4);
  EXPECT_EQ((std::vector<int32_t>(order, order + 4)), (std::vector<int32_t>{0, 1, 2, 3}));
  // Disdained on the far side only still counts.
  const int32_t g = p->faces[f].nbrFace3D[1];
  const int32_t ge = (p->faces[f].nbrEdge3D[1] - 1 + p->faces[g].n3D) % p->faces[g].n3D;
  p->faces[g].edgeFlags3D[ge] |= kEdgeFlagDisdained;
  ASSERT_EQ(BuildPrioritizedVertList(p.get(), j, order), 4);
  EXPECT_EQ((std::vector<int32_t>(order, order + 4)), (std::vector<int32_t>{0, 2, 3, 1}));
}

TEST(Unfold, SingleFragmentCurvedShapesTryTheirOwnGroupFirst) {
  // A cube dressed as a single-fragment curved-element solid (code 162):
  // faces carry element tags, tags map to groups through the record's
  // table. Face 0 and its neighbour across edge 2 form one group; edge 3
  // has lost its neighbour and is not listed at all; edge 1 is disdained,
  // which counts for nothing here.
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  Build2DNet(p.get());
  p->shapeCode = 162;
  const int32_t j = p->faces[0].netFace;
  ASSERT_GE(j, 0);
  for (int32_t f = 0; f < 6; ++f) p->faces[f].facegroup = 2;
  p->tagFacegroup[0] = 5;
  p->tagFacegroup[1] = 5;
  p->tagFacegroup[2] = 7;
  p->faces[0].facegroup = 0;
  p->faces[p->faces[0].nbrFace3D[2]].facegroup = 1;
  p->faces[0].nbrFace3D[3] = -1;
  p->faces[0].edgeFlags3D[1] |= kEdgeFlagDisdained;
  // Net edge e of face j shows solid edge edge3D[e] of face 0.
  int32_t netEdgeOf[4] = {-1, -1, -1, -1};
  for (int32_t e = 0; e < 4; ++e) {
    int32_t f = -1, c = -1;
    Face_and_Index_2D_to_3D(j, e, &f, &c, p.get());
    ASSERT_EQ(f, 0);
    netEdgeOf[c] = e;
  }
  int32_t order[kPolyMaxCorners];
  ASSERT_EQ(BuildPrioritizedVertList(p.get(), j, order), 3);
  EXPECT_EQ(order[0], netEdgeOf[2]);
  std::vector<int32_t> rest{netEdgeOf[0], netEdgeOf[1]};
  std::sort(rest.begin(), rest.end());
  EXPECT_EQ((std::vector<int32_t>(order + 1, order + 3)), rest);
  // The same faces on a shape without the single-fragment rule: every
  // edge is listed, the disdained one after the plain ones.
  p->shapeCode = 161;
  ASSERT_EQ(BuildPrioritizedVertList(p.get(), j, order), 4);
  EXPECT_NE(order[0], netEdgeOf[1]);
  EXPECT_NE(order[1], netEdgeOf[1]);
}

TEST(Unfold, DisdainedEdgesAreHingedOnlyWhenNothingElseWorks) {
  // Every edge of face 0 but one is disdained: the net still joins face 0
  // to its neighbours, the preferred edge first.
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  for (int32_t e = 1; e < 4; ++e) p->faces[0].edgeFlags3D[e] |= kEdgeFlagDisdained;
  Build2DNet(p.get());
  EXPECT_EQ(p->faces[1].face3D, p->faces[0].nbrFace3D[0]);
  EXPECT_TRUE(NetIsSound(p.get()));
}

TEST(Unfold, AFullFaceTableRefusesTheFaceAndKeepsNoVertices) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  temp2Dface temp{};
  Make2DVersionOf3DFace(p.get(), 2, &temp, 1);
  p->n2DFaces = kPolyMaxFaces;
  EXPECT_EQ(Add2DFaceToNet(p.get(), &temp, 0, -1), -1);
  EXPECT_EQ(p->errorCode, kPolyErrorTooMany2DFaces);
  EXPECT_EQ(UsedVertices(p.get()), 0);
  // The solid face counts as placed all the same.
  EXPECT_EQ(p->faces[2].placedFlags[3], 1);
  EXPECT_EQ(p->faces[2].netFace, -1);
}

TEST(Unfold, AddingACornerlessFaceStoresNothing) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  temp2Dface temp{};
  temp.face3D = -1;
  EXPECT_EQ(Add2DFaceToNet(p.get(), &temp, 0, -1), -1);
  EXPECT_EQ(p->n2DFaces, 0);
  EXPECT_EQ(p->errorCode, 0);
}

TEST(Unfold, AStoredFaceTakesItsSolidFacesHideFlag) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  p->faces[3].placedFlags[0] = 1;
  Build2DNet(p.get());
  for (int32_t j = 0; j < p->n2DFaces; ++j) EXPECT_EQ(p->faces[j].placedFlags[1], p->faces[j].face3D == 3 ? 1 : 0) << j;
}

TEST(Unfold, HighestVertexAndForbiddingEdges) {
  PolyPtr p = NewOwningPoly();
  EXPECT_EQ(FindHighest2DVert(p.get()), 0);
  p->vert2DUsed[4009] = 1;
  EXPECT_EQ(FindHighest2DVert(p.get()), 4009);
  BuildCube(p.get());
  for (const int32_t edge : {-1, 10}) {
    forbid_joining(p.get(), 0, edge);
    for (int32_t e = 0; e < kPolyMaxCorners; ++e) EXPECT_EQ(p->faces[0].edgeFlags3D[e], 0);
  }
  forbid_joining(p.get(), 0, 9);
  EXPECT_EQ(p->faces[0].edgeFlags3D[9], kEdgeFlagCut);
}

// An octahedron with a tall three-sided spike on every face: eight spike
// triangles meet at each old corner, far more than a full turn of angle, so
// the faces around it cannot all lie flat without overlapping.
void BuildSpikyOctahedron(polyhedron* p, double height) {
  PolyPtr octa = NewOwningPoly();
  BuildOctahedron(octa.get());
  std::vector<Point3> points;
  for (int32_t v = 0; v < octa->n3DVerts; ++v)
    points.push_back({octa->coords3D[v][0], octa->coords3D[v][1], octa->coords3D[v][2]});
  std::vector<std::vector<int32_t>> faces;
  for (int32_t f = 0; f < octa->n3DFaces; ++f) {
    const int32_t* c = octa->faces[f].vert3D;
    Point3 s{0, 0, 0};
    for (int k = 0; k < 3; ++k) {
      s.x += points[size_t(c[k])].x * height / 3;
      s.y += points[size_t(c[k])].y * height / 3;
      s.z += points[size_t(c[k])].z * height / 3;
    }
    points.push_back(s);
    const int32_t apex = int32_t(points.size()) - 1;
    for (int k = 0; k < 3; ++k) faces.push_back({c[k], c[(k + 1) % 3], apex});
  }
  BuildSolid(p, points, faces);
}

TEST(Unfold, TheOverlapTestKeepsFacesApartUnlessSkipped) {
  PolyPtr tested = NewOwningPoly(), skipped = NewOwningPoly();
  BuildSpikyOctahedron(tested.get(), 3.0);
  BuildSpikyOctahedron(skipped.get(), 3.0);
  ASSERT_EQ(tested->n3DFaces, 24);
  skipped->skipOverlapTest = 1;
  Build2DNet(tested.get());
  Build2DNet(skipped.get());
  EXPECT_TRUE(NetIsSound(tested.get()));
  EXPECT_EQ(skipped->fragmentCount, 1);
  EXPECT_EQ(skipped->n2DFaces, 24);
  EXPECT_FALSE(NetIsSound(skipped.get()));
}

TEST(Unfold, ANetTouchingItselfAtAPointKeepsItsVerticesApart) {
  // Unfolded, the spiky solid touches itself: two different solid vertices
  // land on one spot of the same fragment. Merged into one net vertex they
  // would join faces that are not neighbours on the solid.
  PolyPtr p = NewOwningPoly();
  BuildSpikyOctahedron(p.get(), 3.0);
  Build2DNet(p.get());
  int32_t touching = 0;
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v)
    for (int32_t w = v + 1; w < kPolyMax2DVerts; ++w) {
      if (!p->vert2DUsed[v] || !p->vert2DUsed[w] || p->fragmentOf2D[v] != p->fragmentOf2D[w]) continue;
      const double dx = p->coords2D[v][0] - p->coords2D[w][0], dy = p->coords2D[v][1] - p->coords2D[w][1];
      if (dx * dx + dy * dy < 0.002 * 0.002) {
        EXPECT_NE(p->vert3DOf2D[v], p->vert3DOf2D[w]);
        ++touching;
      }
    }
  EXPECT_GT(touching, 0);
  EXPECT_TRUE(NetIsSound(p.get()));
}

}  // namespace
