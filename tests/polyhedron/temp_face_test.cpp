// Flattening a solid face, hinging it onto a net edge, its winding, and the
// overlap test against a net face.
#include "polyhedron/temp_face.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "projection/rotation.h"

namespace {

using Points2D = std::vector<std::pair<double, double>>;

temp2Dface Scratch(const Points2D& corners) {
  temp2Dface t{};
  t.nCorners = int32_t(corners.size());
  t.face3D = -1;
  for (size_t i = 0; i < corners.size(); ++i)
    t.corners[i] = TempCorner{corners[i].first, corners[i].second, -1, 1, -1, int32_t(i), 0};
  return t;
}

double Dist(const TempCorner& a, const TempCorner& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The corners of a face flattened by one of the two turns.
std::vector<std::pair<double, double>> FlattenBy(const polyhedron* p, int32_t f, bool direct) {
  const double down[3] = {0, 0, -1}, xAxis[3] = {1, 0, 0};
  double first[4][4] = {}, second[4][4] = {};
  if (direct) {
    FromToBuildRotationD(p->faces[f].normal, down, first);
  } else {
    FromToBuildRotationD(p->faces[f].normal, xAxis, first);
    FromToBuildRotationD(xAxis, down, second);
  }
  std::vector<std::pair<double, double>> out;
  for (int32_t i = 0; i < p->faces[f].n3D; ++i) {
    double q[3];
    grab_coordinates3D_into_vector3D(p->faces[f].vert3D[i], p, q);
    MultiplyRowVectorBy3x3D(q, first, q);
    if (!direct) MultiplyRowVectorBy3x3D(q, second, q);
    out.push_back({q[0], q[1]});
  }
  return out;
}

// The normal is set by hand so that each case picks its turn; the corners
// need not lie in a plane with that normal for the choice to show.
TEST(TempFace, FlatteningGoesRoundByXOnlyBeyondNineTenths) {
  const struct {
    double nz;
    double dotDown;
    bool direct;
  } cases[] = {{-0.95, 0.95, false}, {0.95, -0.95, false}, {-0.9, 0.9, true}, {0.9, -0.9, true}, {0.5, -0.5, true}};
  for (const auto& c : cases) {
    PolyPtr p = NewOwningPoly();
    BuildTetrahedron(p.get());
    PolyFace& f = p->faces[1];
    // Off the x-z plane: there both turns are about y and agree.
    f.normal[0] = f.normal[1] = std::sqrt((1.0 - c.nz * c.nz) / 2.0);
    f.normal[2] = c.nz;
    temp2Dface t{};
    Make2DVersionOf3DFace(p.get(), 1, &t, 7);
    EXPECT_EQ(t.normalDotDown, c.dotDown);
    ASSERT_EQ(t.nCorners, 3);
    EXPECT_EQ(t.face3D, 1);
    const auto chosen = FlattenBy(p.get(), 1, c.direct);
    const auto other = FlattenBy(p.get(), 1, !c.direct);
    bool differs = false;
    for (int32_t i = 0; i < 3; ++i) {
      EXPECT_EQ(t.corners[i].x, chosen[size_t(i)].first) << c.nz;
      EXPECT_EQ(t.corners[i].y, chosen[size_t(i)].second) << c.nz;
      differs |= std::abs(chosen[size_t(i)].first - other[size_t(i)].first) > 1e-6 ||
                 std::abs(chosen[size_t(i)].second - other[size_t(i)].second) > 1e-6;
      EXPECT_EQ(t.corners[i].vert3D, f.vert3D[i]);
      EXPECT_EQ(t.corners[i].fragment, 7);
    }
    EXPECT_TRUE(differs) << "the two turns must be told apart at " << c.nz;
  }
}

TEST(TempFace, FlattenedSolidFacesKeepTheirShapeAndRunCounterClockwise) {
  for (void (*build)(polyhedron*) : {BuildCube, BuildTetrahedron}) {
    PolyPtr p = NewOwningPoly();
    build(p.get());
    for (int32_t f = 0; f < p->n3DFaces; ++f) {
      temp2Dface t{};
      Make2DVersionOf3DFace(p.get(), f, &t, 1);
      const PolyFace& face = p->faces[f];
      for (int32_t i = 0; i < face.n3D; ++i) {
        const int32_t j = (i + 1) % face.n3D;
        const double* a = p->coords3D[face.vert3D[i]];
        const double* b = p->coords3D[face.vert3D[j]];
        const double len3 =
            std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
        EXPECT_NEAR(Dist(t.corners[i], t.corners[j]), len3, 1e-12) << f << " " << i;
      }
      EXPECT_EQ(FindOrientationOfTempface(&t), 1.0f) << f;
    }
    // Not a face of the solid: the scratch face stays as it was.
    temp2Dface t = Scratch({{9, 9}});
    Make2DVersionOf3DFace(p.get(), p->n3DFaces, &t, 1);
    Make2DVersionOf3DFace(p.get(), -1, &t, 1);
    EXPECT_EQ(t.nCorners, 1);
    EXPECT_EQ(t.corners[0].x, 9.0);
  }
}

TEST(TempFace, OrientationOfCornerOrders) {
  const struct {
    const char* name;
    Points2D corners;
    float orientation;
  } cases[] = {
      {"counter-clockwise square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 1.0f},
      {"clockwise square", {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, -1.0f},
      {"collinear", {{0, 0}, {1, 1}, {2, 2}}, 0.0f},
      {"empty", {}, 0.0f},
      {"counter-clockwise, lowest corner last", {{1, 1}, {0, 1}, {0.5, -1}}, 1.0f},
      {"reflex corners elsewhere", {{0, 0}, {4, 0}, {4, 4}, {2, 1}, {0, 4}}, 1.0f},
  };
  for (const auto& c : cases) {
    const temp2Dface t = Scratch(c.corners);
    EXPECT_EQ(FindOrientationOfTempface(&t), c.orientation) << c.name;
  }
}

// Net face 0: the unit square (0,0) (1,0) (1,1) (0,1).
PolyPtr SquareNet() {
  PolyPtr p = NewOwningPoly();
  BuildNet(p.get(), {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 1, 2, 3}});
  return p;
}

TEST(TempFace, HingingPutsTheFaceAlongTheNetEdgeBackwards) {
  PolyPtr p = SquareNet();
  // A unit square somewhere else, turned by 30 degrees.
  Points2D corners;
  const double c = std::cos(0.5236), s = std::sin(0.5236);
  for (auto [x, y] : Points2D{{0, 0}, {1, 0}, {1, 1}, {0, 1}})
    corners.push_back({5 + c * x - s * y, 3 + s * x + c * y});
  temp2Dface t = Scratch(corners);
  TranslateTempface_core(&t, 0, 0, 0, p.get());  // corner 0 onto the start of edge (0,0)-(1,0)
  EXPECT_NEAR(t.corners[0].x, 0.0, 1e-6);
  EXPECT_NEAR(t.corners[0].y, 0.0, 1e-6);
  EXPECT_NEAR(t.corners[3].x, 1.0, 1e-6);  // the corner before 0 on the positive x axis
  EXPECT_NEAR(t.corners[3].y, 0.0, 1e-6);
  EXPECT_NEAR(Dist(t.corners[1], t.corners[2]), 1.0, 1e-6);
  // It now lies below the net square, sharing its edge: no conflict.
  EXPECT_LT(t.corners[1].y, -0.99);
  EXPECT_FALSE(New2DConflict(&t, 0, p.get(), -1, -1));

  // Hinged on the top edge (1,1)-(0,1) with corner 2, it lies above.
  TranslateTempface_core(&t, 2, 0, 2, p.get());
  EXPECT_NEAR(t.corners[2].x, 1.0, 1e-6);
  EXPECT_NEAR(t.corners[2].y, 1.0, 1e-6);
  EXPECT_NEAR(t.corners[1].x, 0.0, 1e-6);
  EXPECT_NEAR(t.corners[1].y, 1.0, 1e-6);
  EXPECT_GT(t.corners[0].y, 1.99);
  EXPECT_FALSE(New2DConflict(&t, 0, p.get(), -1, -1));
}

TEST(TempFace, PointOnEdgeWithinAHundredthOfTheEdge) {
  const temp2Dface t = Scratch({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
  const struct {
    double x, y;
    bool on;
  } cases[] = {
      {1.0, 0.0, true},                                                // a midpoint
      {1.0, 0.019, true},                                              // under a hundredth of the length 2
      {1.0, 0.04, false},                                              // 0.02 edge lengths away
      {1.0, -0.019, true},                                             // outside, just as near
      {2.01, 1.0, true},   {1.0, 1.0, false}, {-0.019, -0.001, true},  // past a corner: measured to the end point
  };
  for (const auto& c : cases) EXPECT_EQ(PointIsOnEdgeOfTempface(c.x, c.y, &t), c.on) << c.x << " " << c.y;
  const temp2Dface point = Scratch({{1, 1}, {1, 1}, {1, 1}});  // zero-length edges hold no point
  EXPECT_FALSE(PointIsOnEdgeOfTempface(1, 1, &point));
}

TEST(TempFace, OverlapWithTheNetFace) {
  const struct {
    const char* name;
    Points2D scratch;
    bool conflict;
  } cases[] = {
      {"neighbour across the right edge", {{1, 0}, {2, 0}, {2, 1}, {1, 1}}, false},
      {"neighbour across the bottom edge", {{0, -1}, {1, -1}, {1, 0}, {0, 0}}, false},
      {"touching at a corner only", {{1, 1}, {2, 1}, {2, 2}, {1, 2}}, false},
      {"apart", {{3, 3}, {4, 3}, {4, 4}, {3, 4}}, false},
      {"overlapping by half in x", {{0.5, 0}, {1.5, 0}, {1.5, 1}, {0.5, 1}}, true},
      {"crossing corner", {{0.5, 0.5}, {1.5, 0.5}, {1.5, 1.5}, {0.5, 1.5}}, true},
      {"large face around the net face", {{-1, -1}, {2, -1}, {2, 2}, {-1, 2}}, true},
      // No crossings, no net-face midpoint inside: caught by the corner means.
      {"small face inside the net face", {{0.4, 0.4}, {0.6, 0.4}, {0.6, 0.6}, {0.4, 0.6}}, true},
      {"same square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, true},
      {"same square, other start", {{1, 1}, {0, 1}, {0, 0}, {1, 0}}, true},
      {"inside, touching the net face's corner", {{0, 0}, {0.5, 0}, {0.5, 0.5}, {0, 0.5}}, true},
      {"thin sliver along an edge, outside", {{0, -0.1}, {1, -0.1}, {1, 0}, {0, 0}}, false},
      {"triangle over the middle", {{0.5, -0.5}, {1.5, 0.5}, {0.5, 1.5}}, true},
  };
  PolyPtr p = SquareNet();
  for (const auto& c : cases) {
    const temp2Dface t = Scratch(c.scratch);
    EXPECT_EQ(New2DConflict(&t, 0, p.get(), -1, -1), c.conflict) << c.name;
  }
}

TEST(TempFace, ExcludedFaceSkipsItsSharedEdgeAndThePointTests) {
  PolyPtr p = SquareNet();
  // Crosses the right edge (1) of the net square twice, nothing else.
  const temp2Dface across = Scratch({{0.8, 0.2}, {1.5, 0.2}, {1.5, 0.8}, {0.8, 0.8}});
  EXPECT_TRUE(New2DConflict(&across, 0, p.get(), -1, -1));
  EXPECT_TRUE(New2DConflict(&across, 0, p.get(), 0, 3));
  EXPECT_FALSE(New2DConflict(&across, 0, p.get(), 0, 1));
  // The large face around the square has no crossings at all.
  const temp2Dface around = Scratch({{-1, -1}, {2, -1}, {2, 2}, {-1, 2}});
  EXPECT_TRUE(New2DConflict(&around, 0, p.get(), 5, 0));
  EXPECT_FALSE(New2DConflict(&around, 0, p.get(), 0, 0));
}

// On a triangle lattice two placed triangles either share at most an edge or
// lie exactly on each other; the latter must count as an overlap.
TEST(TempFace, HingingOntoAnOccupiedLatticePlaceConflicts) {
  PolyPtr p = NewOwningPoly();
  const double h = std::sqrt(3.0) / 2;
  // Net: triangle 0 = (0,0) (1,0) (0.5,h) and triangle 1 hinged on its right
  // edge, (1,0) (1.5,h) (0.5,h).
  BuildNet(p.get(), {{0, 0}, {1, 0}, {0.5, h}, {1.5, h}}, {{0, 1, 2}, {1, 3, 2}});
  // A unit triangle hinged on the left edge (0.5,h)-(1,0) of triangle 1,
  // seen from triangle 1, falls exactly onto triangle 0.
  temp2Dface t = Scratch({{7, 7}, {8, 7}, {7.5, 7 + h}});
  TranslateTempface_core(&t, 0, 1, 2, p.get());
  EXPECT_EQ(FindOrientationOfTempface(&t), 1.0f);
  const double expected[3][2] = {{0.5, h}, {0, 0}, {1, 0}};
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(t.corners[i].x, expected[i][0], 1e-6) << i;
    EXPECT_NEAR(t.corners[i].y, expected[i][1], 1e-6) << i;
  }
  EXPECT_TRUE(New2DConflict(&t, 0, p.get(), -1, 2));
  EXPECT_FALSE(New2DConflict(&t, 1, p.get(), -1, 2));  // the face it is hinged on
}

TEST(TempFace, NetFaceCopy) {
  PolyPtr p = SquareNet();
  p->vert3DOf2D[2] = 12;
  p->fragmentOf2D[2] = 3;
  p->faces[0].face3D = 4;
  p->faces[1].n2D = 3;
  p->faces[1].vert2D[0] = 1;
  p->faces[1].vert2D[1] = -1;
  p->faces[1].vert2D[2] = 2;
  temp2Dface t{};
  PutNetfaceIntoTempface(&t, 0, p.get());
  ASSERT_EQ(t.nCorners, 4);
  EXPECT_EQ(t.face3D, 4);
  EXPECT_EQ(t.corners[2].x, 1.0);
  EXPECT_EQ(t.corners[2].y, 1.0);
  EXPECT_EQ(t.corners[2].vert3D, 12);
  EXPECT_EQ(t.corners[2].fragment, 3);
  EXPECT_EQ(t.corners[2].vert2D, 2);
  EXPECT_EQ(t.corners[2].cornerIndex, 2);
  EXPECT_EQ(t.corners[2].used, 1);
  EXPECT_EQ(t.corners[0].vert3D, -1);  // the u16 "none" reads back as -1

  PutNetfaceIntoTempface(&t, 1, p.get());
  ASSERT_EQ(t.nCorners, 3);
  const TempCorner& missing = t.corners[1];
  EXPECT_EQ(missing.x, 0.0);
  EXPECT_EQ(missing.y, 0.0);
  EXPECT_EQ(missing.vert3D, -1);
  EXPECT_EQ(missing.fragment, -1);
  EXPECT_EQ(missing.vert2D, -1);
  EXPECT_EQ(missing.used, 0);
  EXPECT_EQ(Next2DvertexTempface(&t, 2), 0);
}

}  // namespace
