// Links across edges, vertex face counts, corner angles, normals and planes
// on small solids and nets.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "projection/complex_math.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Every edge of a closed solid is linked, and the link points back.
void ExpectClosedAndSymmetric(const polyhedron* p, const char* name) {
  for (int32_t f = 0; f < p->n3DFaces; ++f) {
    const PolyFace& face = p->faces[f];
    for (int32_t e = 0; e < face.n3D; ++e) {
      const int32_t g = face.nbrFace3D[e], k = face.nbrEdge3D[e];
      ASSERT_GE(g, 0) << name << " face " << f << " edge " << e;
      const PolyFace& other = p->faces[g];
      // Corner k of g holds the start vertex of edge e; g's edge ends there.
      EXPECT_EQ(other.vert3D[k], face.vert3D[e]) << name;
      const int32_t back = (k - 1 + other.n3D) % other.n3D;
      EXPECT_EQ(other.nbrFace3D[back], f) << name;
      EXPECT_EQ(other.nbrEdge3D[back], (e + 1) % face.n3D) << name;
    }
  }
}

TEST(PolyLinks, ClosedSolidsAreLinkedBothWays) {
  const struct {
    const char* name;
    void (*build)(polyhedron*);
    int32_t faces, verts, facesPerVertex;
    double faceAngleSum;    // per face
    double vertexAngleSum;  // per vertex
  } cases[] = {
      {"cube", BuildCube, 6, 8, 3, 2 * kPi, 1.5 * kPi},
      {"tetrahedron", BuildTetrahedron, 4, 4, 3, kPi, kPi},
  };
  for (const auto& c : cases) {
    PolyPtr p = NewOwningPoly();
    c.build(p.get());
    ASSERT_EQ(p->errorCode, 0) << c.name;
    ASSERT_EQ(p->n3DFaces, c.faces);
    ASSERT_EQ(p->n3DVerts, c.verts);
    ExpectClosedAndSymmetric(p.get(), c.name);

    std::vector<double> atVertex(size_t(c.verts), 0.0);
    for (int32_t f = 0; f < c.faces; ++f) {
      const PolyFace& face = p->faces[f];
      double sum = 0.0;
      for (int32_t i = 0; i < face.n3D; ++i) {
        sum += face.angle3D[i];
        atVertex[size_t(face.vert3D[i])] += face.angle3D[i];
      }
      EXPECT_NEAR(sum, c.faceAngleSum, 1e-5) << c.name << " face " << f;

      // Outward unit normal; the plane runs through the first corner.
      double centroid[3] = {0, 0, 0};
      for (int32_t i = 0; i < face.n3D; ++i)
        for (int k = 0; k < 3; ++k) centroid[k] += p->coords3D[face.vert3D[i]][k] / face.n3D;
      EXPECT_GT(Dot3D(face.normal, centroid), 0.0) << c.name << " face " << f;
      EXPECT_NEAR(Dot3D(face.normal, face.normal), 1.0, 1e-12);
      EXPECT_EQ(face.orientationSign, 1.0f);
      for (int32_t i = 0; i < face.n3D; ++i)
        EXPECT_NEAR(Dot3D(face.plane.normal, p->coords3D[face.vert3D[i]]), face.plane.d, 1e-12);
    }
    for (int32_t v = 0; v < c.verts; ++v) {
      EXPECT_EQ(p->faceCount3D[v], c.facesPerVertex) << c.name;
      EXPECT_NEAR(atVertex[size_t(v)], c.vertexAngleSum, 1e-5) << c.name;
    }
  }
}

TEST(PolyLinks, FaceCountsAddUpOverBuildsUntilWiped) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  Build3DConnectivity(p.get());
  EXPECT_EQ(p->faceCount3D[0], 6);
  ExpectClosedAndSymmetric(p.get(), "rebuilt cube");
}

TEST(PolyLinks, TwoSquaresOfANetShareOneEdge) {
  PolyPtr p = NewOwningPoly();
  // 3---4---5
  // |   |   |
  // 0---1---2   both squares wound the same way round.
  BuildNet(p.get(), {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}, {{0, 1, 4, 3}, {1, 2, 5, 4}});
  p->n3DFaces = 2;
  Build2DConnectivityCompletelyFromScratch(p.get(), 2);
  int linked = 0;
  for (int32_t f = 0; f < 2; ++f)
    for (int32_t e = 0; e < 4; ++e) linked += p->faces[f].nbrFace2D[e] >= 0;
  EXPECT_EQ(linked, 2);
  EXPECT_EQ(p->faces[0].nbrFace2D[1], 1);  // edge 1-4 of the left square
  EXPECT_EQ(p->faces[0].nbrEdge2D[1], 0);  // corner 0 of the right square holds vertex 1
  EXPECT_EQ(p->faces[1].nbrFace2D[3], 0);  // edge 4-1 of the right square
  EXPECT_EQ(p->faces[1].nbrEdge2D[3], 2);
  const int16_t counts[6] = {1, 2, 1, 1, 2, 1};
  for (int v = 0; v < 6; ++v) EXPECT_EQ(p->faceCount2D[v], counts[v]) << v;

  // The same net built face by face, as the unfolding does, links alike.
  PolyPtr q = NewOwningPoly();
  BuildNet(q.get(), {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}, {{0, 1, 4, 3}, {1, 2, 5, 4}});
  Build2DConnectivityIncrementally(q.get(), 0);
  EXPECT_EQ(q->faces[0].nbrFace2D[1], -1);
  Build2DConnectivityIncrementally(q.get(), 1);
  for (int32_t f = 0; f < 2; ++f)
    for (int32_t e = 0; e < 4; ++e) {
      EXPECT_EQ(q->faces[f].nbrFace2D[e], p->faces[f].nbrFace2D[e]);
      EXPECT_EQ(q->faces[f].nbrEdge2D[e], p->faces[f].nbrEdge2D[e]);
    }
  for (int v = 0; v < 6; ++v) EXPECT_EQ(q->faceCount2D[v], counts[v]) << v;

  Calc2DAnglesAroundFaces(p.get());
  for (int32_t i = 0; i < 4; ++i) EXPECT_NEAR(p->faces[0].angle2D[i], kPi / 2, 1e-6);
  // Edges leave corners 0..3 going +x, +y, -x, -y: angles to +y.
  const double edgeAngles[4] = {kPi / 2, 0.0, kPi / 2, kPi};
  for (int32_t i = 0; i < 4; ++i) EXPECT_NEAR(p->faces[0].edgeAngle2D[i], edgeAngles[i], 1e-6) << i;
}

TEST(PolyLinks, AFlippedFaceStaysUnlinkedOnItsSharedEdge) {
  PolyPtr p = NewOwningPoly();
  BuildNet(p.get(), {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}, {{0, 1, 4, 3}, {4, 5, 2, 1}});
  Build2DConnectivityCompletelyFromScratch(p.get(), 2);
  for (int32_t f = 0; f < 2; ++f)
    for (int32_t e = 0; e < 4; ++e) EXPECT_EQ(p->faces[f].nbrFace2D[e], -1);
}

TEST(PolyLinks, CornerStepsAndNetToSolidIndices) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  EXPECT_EQ(Next3Dvertex(p.get(), 0, 3), 0);
  EXPECT_EQ(Prev3Dvertex(p.get(), 0, 0), 3);
  p->faces[2].n2D = 4;
  p->faces[2].face3D = 5;
  p->faces[2].cornerOffset = 3;
  EXPECT_EQ(Next2Dvertex(p.get(), 2, 3), 0);
  int32_t f3 = 0, c3 = 0;
  Face_and_Index_2D_to_3D(2, 2, &f3, &c3, p.get());
  EXPECT_EQ(f3, 5);
  EXPECT_EQ(c3, 1);
  int32_t f2 = -5, c2 = -5;
  Face_and_Index_3D_to_2D(5, 1, &f2, &c2, p.get());
  EXPECT_EQ(f2, 2);
  EXPECT_EQ(c2, 2);
  // Two net faces showing face 5: the last one wins.
  p->faces[4].n2D = 4;
  p->faces[4].face3D = 5;
  p->faces[4].cornerOffset = 0;
  Face_and_Index_3D_to_2D(5, 1, &f2, &c2, p.get());
  EXPECT_EQ(f2, 4);
  EXPECT_EQ(c2, 1);
  // A solid face no net face shows gives (0, 0).
  Face_and_Index_3D_to_2D(1, 3, &f2, &c2, p.get());
  EXPECT_EQ(f2, 0);
  EXPECT_EQ(c2, 0);
  // An unmatched net face gives -1 and a corner still inside the face.
  p->faces[3].n2D = 4;
  p->faces[3].face3D = -1;
  p->faces[3].cornerOffset = -1;
  Face_and_Index_2D_to_3D(3, 0, &f3, &c3, p.get());
  EXPECT_EQ(f3, -1);
  EXPECT_GE(c3, 0);
}

TEST(PolyLinks, DisdainedEdges) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  const int32_t g = p->faces[0].nbrFace3D[2];
  const int32_t back = (p->faces[0].nbrEdge3D[2] - 1 + 4) % 4;
  EXPECT_TRUE(Edge3DIsNotDisdained(p.get(), 0, 2));
  p->faces[g].edgeFlags3D[back] |= kEdgeFlagDisdained;  // only the neighbour's side
  EXPECT_FALSE(Edge3DIsNotDisdained(p.get(), 0, 2));
  EXPECT_FALSE(Edge3DIsNotDisdained(p.get(), g, back));
  p->faces[1].edgeFlags3D[0] |= kEdgeFlagCut;  // other bits do not disdain
  EXPECT_TRUE(Edge3DIsNotDisdained(p.get(), 1, 0));
  EXPECT_FALSE(Edge3DIsNotDisdained(p.get(), -1, 0));
  EXPECT_FALSE(Edge3DIsNotDisdained(p.get(), 0, -1));
  p->faces[1].nbrFace3D[1] = -1;
  EXPECT_FALSE(Edge3DIsNotDisdained(p.get(), 1, 1));
}

TEST(PolyLinks, KillClearsOnlyTheFacesAsked) {
  PolyPtr p = NewOwningPoly();
  BuildCube(p.get());
  Kill3DConnectivity(p.get(), 2);
  EXPECT_EQ(p->faces[1].nbrFace3D[3], -1);
  EXPECT_EQ(p->faces[1].nbrEdge3D[3], -1);
  EXPECT_GE(p->faces[2].nbrFace3D[0], 0);
  Kill3DConnectivity(p.get(), 0);
  Kill3DConnectivity(p.get(), -4);
  EXPECT_GE(p->faces[2].nbrFace3D[0], 0);
}

// A straight corner (the last corner on the line between its neighbours)
// gives no normal of its own; the winding of the flattened face turns the
// stand-in the right way, and the sign taken before that stays.
TEST(PolyLinks, StraightLastCornerNormalIsTurnedByTheWinding) {
  PolyPtr p = NewOwningPoly();
  // A square in the plane z = 1 running counter-clockwise seen from +z, with
  // a fifth corner halfway down its left side.
  const std::vector<Point3> v = {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}, {0, 0.5, 1}};
  BuildSolid(p.get(), v, {{0, 1, 2, 3, 4}});
  const PolyFace& f = p->faces[0];
  EXPECT_EQ(f.orientationSign, 1.0f);  // from the stand-in (0, 0, 1)
  EXPECT_EQ(f.normal[0], 0.0);
  EXPECT_EQ(f.normal[1], 0.0);
  EXPECT_EQ(f.normal[2], -1.0);  // the corner normal of the other corners
  EXPECT_NEAR(f.angle3D[4], kPi, 1e-6);
  double sum = 0;
  for (int32_t i = 0; i < 5; ++i) sum += f.angle3D[i];
  EXPECT_NEAR(sum, 3 * kPi, 1e-5);
}

// Rounding can put the dot product of two opposite unit vectors just past
// -1; the angle must still be pi, not NaN.
TEST(PolyLinks, StraightCornersNeverGiveNaN) {
  PolyPtr p = NewOwningPoly();
  std::vector<Point3> v;
  std::vector<std::vector<int32_t>> faces;
  for (int32_t k = 0; k < 200; ++k) {
    const double t = 0.1 + 0.37 * k, s = 0.3 + 0.11 * k;
    // a, the midpoint of a and b, then b, then an apex off the line.
    const int32_t base = int32_t(v.size());
    v.push_back({t, s * 0.7, -s});
    v.push_back({(t + 3.3 * s) / 2, (s * 0.7 + t) / 2, (-s + 0.2 * t) / 2});
    v.push_back({3.3 * s, t, 0.2 * t});
    v.push_back({t + 5, s + 7, 11});
    faces.push_back({base, base + 1, base + 2, base + 3});
  }
  BuildSolid(p.get(), v, faces);
  for (int32_t f = 0; f < p->n3DFaces; ++f)
    for (int32_t i = 0; i < 4; ++i) ASSERT_FALSE(std::isnan(p->faces[f].angle3D[i])) << f << " " << i;
}

}  // namespace
