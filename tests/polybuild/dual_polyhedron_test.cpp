// Dual polyhedra: the dual of each regular solid of the catalogue is its
// regular dual, and the dual of that dual is the solid again; the walk round
// a vertex and what an open border or a missing scratch record leave.
#include "polybuild/procedural/dual_polyhedron.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "polybuild/setup/polyhedron_setup.h"
#include "polybuild/voronoi/voronoi_options.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "support/poly_fixture.h"

namespace {

int32_t EdgeCount(const polyhedron* p) {
  std::set<std::pair<int32_t, int32_t>> edges;
  for (int32_t f = 0; f < p->n3DFaces; ++f)
    for (int32_t i = 0; i < p->faces[f].n3D; ++i) {
      const int32_t a = p->faces[f].vert3D[i], b = p->faces[f].vert3D[(i + 1) % p->faces[f].n3D];
      edges.insert({std::min(a, b), std::max(a, b)});
    }
  return int32_t(edges.size());
}

std::vector<Point3> UnitVertices(const polyhedron* p) {
  std::vector<Point3> out;
  for (int32_t v = 0; v < p->n3DVerts; ++v) {
    const double* c = p->coords3D[v];
    const double l = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    out.push_back({c[0] / l, c[1] / l, c[2] / l});
  }
  return out;
}

// Every direction of `a` is one of `b` (to 1e-9), and the counts agree.
void SameDirections(const std::vector<Point3>& a, const std::vector<Point3>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (const Point3& p : a) {
    double best = 1e9;
    for (const Point3& q : b) best = std::min(best, std::hypot(p.x - q.x, std::hypot(p.y - q.y, p.z - q.z)));
    EXPECT_LT(best, 1e-9) << p.x << " " << p.y << " " << p.z;
  }
}

// The directions of the solid's face centres.
std::vector<Point3> FaceCentreDirections(const polyhedron* p) {
  std::vector<Point3> out;
  for (int32_t f = 0; f < p->n3DFaces; ++f) {
    double c[3];
    FetchCentroidOf3DFace(p, f, c);
    const double l = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    out.push_back({c[0] / l, c[1] / l, c[2] / l});
  }
  return out;
}

PolyPtr Source(int32_t code) {
  PolyPtr p = NewPoly();
  SetUpReallyGeneralPolyhedron(p.get(), code, kNetMethodComputed, 1, 0.0, nullptr, 1);
  return p;
}

// The dual of whatever solid the record holds, by the one-face builder.
PolyPtr DualOfRecord(polyhedron* scratch, VoronoiHandlingOptions* options) {
  PolyPtr dual = NewOwningPoly();
  for (int32_t f = 0; f < scratch->n3DFaces; ++f)
    for (int32_t i = 0; i < kPolyMaxCorners; ++i) scratch->faces[f].dualVisited[i] = 0;
  int32_t d = 0;
  for (int32_t f = 0; f < scratch->n3DFaces; ++f)
    for (int32_t c = 0; c < scratch->faces[f].n3D; ++c)
      if (!scratch->faces[f].dualVisited[c]) BuildOneDualFaceFrom(scratch, f, c, dual.get(), options, d++);
  return dual;
}

TEST(DualPolyhedron, RegularSolidsGiveTheirRegularDuals) {
  // (code, vertices, edges of the dual); faces follow from Euler's formula
  // once the writer's triangle fans are counted as the corners they share.
  struct Case {
    const char* name;
    int32_t code, dualVertices, dualEdgesAtLeast;
  } cases[] = {{"tetrahedron", 16, 4, 6}, {"cube", 18, 6, 12}, {"octahedron", 19, 8, 12},
               {"dodecahedron", 9, 12, 30}, {"icosahedron", 17, 20, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PolyPtr source = Source(c.code);
    ASSERT_GT(source->n3DFaces, 0);
    VoronoiHandlingOptions options;
    GetDefaultVoronoiHandlingOptions(&options);
    PolyPtr dual = NewPoly();
    BuildDualOfPoly(dual.get(), nullptr, c.code, &options);
    EXPECT_EQ(dual->errorCode, kPolyErrorNone);
    EXPECT_EQ(dual->n3DVerts, c.dualVertices);
    EXPECT_GE(EdgeCount(dual.get()), c.dualEdgesAtLeast);
    // A closed solid: V - E + F = 2, every edge linked on both sides.
    EXPECT_EQ(dual->n3DVerts - EdgeCount(dual.get()) + dual->n3DFaces, 2);
    for (int32_t f = 0; f < dual->n3DFaces; ++f)
      for (int32_t e = 0; e < dual->faces[f].n3D; ++e) EXPECT_NE(dual->faces[f].nbrFace3D[e], -1);
    SameDirections(UnitVertices(dual.get()), FaceCentreDirections(source.get()));

    // The dual of the dual is the solid again. The face writer fans faces
    // of more than three corners into triangles, so this holds where the
    // dual's faces are triangles (the duals of the tetrahedron, the cube and
    // the dodecahedron).
    if (c.code == 16 || c.code == 18 || c.code == 9) {
      Calc3DAngles(dual.get());
      Build3DConnectivity(dual.get());
      PolyPtr back = DualOfRecord(dual.get(), &options);
      SameDirections(UnitVertices(back.get()), UnitVertices(source.get()));
      EXPECT_EQ(back->n3DFaces, c.code == 16 ? 4 : (c.code == 18 ? 12 : 36));  // fanned: 6 squares, 12 pentagons
    }
  }
}

TEST(DualPolyhedron, EachVertexOfThreeFacesHandsThreePoints) {
  // The cube's eight vertices make eight dual faces, numbered 0 to 7, each a
  // triangle of the three faces around it.
  PolyPtr source = Source(18);
  VoronoiHandlingOptions options;
  GetDefaultVoronoiHandlingOptions(&options);
  PolyPtr dual = DualOfRecord(source.get(), &options);
  EXPECT_EQ(dual->n3DFaces, 8);
  for (int32_t f = 0; f < dual->n3DFaces; ++f) EXPECT_EQ(dual->faces[f].n3D, 3);
  for (int32_t f = 0; f < source->n3DFaces; ++f)
    for (int32_t c = 0; c < source->faces[f].n3D; ++c) EXPECT_EQ(source->faces[f].dualVisited[c], 1);
}

TEST(DualPolyhedron, AnOpenBorderEndsTheWalk) {
  // Three faces of a cube around one corner, nothing else: the corner's dual
  // face has the three points; a corner on the border has fewer than three
  // and adds nothing.
  PolyPtr p = NewOwningPoly();
  BuildSolid(p.get(), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}},
             {{0, 3, 2, 1}, {0, 1, 5, 4}, {0, 4, 6, 3}});
  VoronoiHandlingOptions options;
  GetDefaultVoronoiHandlingOptions(&options);
  PolyPtr dual = DualOfRecord(p.get(), &options);
  EXPECT_EQ(dual->n3DFaces, 1);
}

}  // namespace
