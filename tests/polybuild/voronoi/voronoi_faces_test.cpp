// The cell writer: options and their copy into the polyhedron, the point
// list that refuses near points, and cells turned into triangles (order
// round the cell, orientation, shaved corners, the fan's apex, hints).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "polybuild/voronoi/voronoi_faces.h"
#include "polybuild/voronoi/voronoi_options.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "support/poly_fixture.h"
#include "voronoi_lists.h"

namespace {

void AddCorners(List& l, const std::vector<Vec3>& pts) {
  for (size_t i = 0; i < pts.size(); ++i) {
    const double p[3] = {pts[i].x, pts[i].y, pts[i].z};
    ASSERT_NE(AddPointToList(p, &l.head, int32_t(i)), nullptr);
  }
}

Vec3 Coord(const polyhedron* poly, int32_t v) {
  double x, y, z;
  grab_coordinates3DD(v, poly, &x, &y, &z);
  return {x, y, z};
}

// Twice the area vector of face f, wound as stored.
Vec3 AreaVector(const polyhedron* poly, int32_t f) {
  const PolyFace& face = poly->faces[f];
  const Vec3 a = Coord(poly, face.vert3D[0]), b = Coord(poly, face.vert3D[1]), c = Coord(poly, face.vert3D[2]);
  const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z}, w{c.x - a.x, c.y - a.y, c.z - a.z};
  return {u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
}

double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Len(Vec3 a) { return std::sqrt(Dot(a, a)); }

TEST(VoronoiOptions, DefaultsAndTheWordsCopiedIntoThePolyhedron) {
  VoronoiHandlingOptions o;
  o.shaveSillyVerts = 7;
  o.arcList = reinterpret_cast<HALFSPACE*>(&o);
  GetDefaultVoronoiHandlingOptions(&o);
  EXPECT_EQ(o.shaveSillyVerts, 0);
  EXPECT_EQ(o.spareFlag, 0);
  EXPECT_EQ(o.skipOverlapTest, 1);
  EXPECT_EQ(o.siteIndexMode, 0);
  EXPECT_EQ(o.polyOption, 0);
  EXPECT_EQ(o.fanApexRule, kFanApexLongestEdge);
  EXPECT_EQ(o.patternCode, 0);
  EXPECT_EQ(o.pullToSphere, 0.0);
  EXPECT_EQ(o.mergeDistance, 0.002);
  EXPECT_EQ(o.planeTolerance, 0.00001);
  EXPECT_EQ(o.arcList, nullptr);

  PolyPtr poly = NewPoly();
  poly->slicingMode = 9;
  poly->skipOverlapTest = 0;
  o.siteIndexMode = 2;
  o.polyOption = 5;
  o.skipOverlapTest = 1;
  CopyCertainVoronoiPrefsIntoPoly(&o, poly.get());
  EXPECT_EQ(poly->slicingMode, 2);
  EXPECT_EQ(poly->voronoiOption, 5);
  EXPECT_EQ(poly->skipOverlapTest, 1);
  CopyCertainVoronoiPrefsIntoPoly(nullptr, poly.get());
  CopyCertainVoronoiPrefsIntoPoly(&o, nullptr);
  EXPECT_EQ(poly->slicingMode, 2);
}

TEST(VoronoiPointList, RefusesPointsCloserThanTheDistanceAndAddsAtTheFront) {
  List l;
  const double a[3] = {1, 0, 0}, nearA[3] = {1, 0.0019, 0}, atDistance[3] = {1, 0.0025, 0}, b[3] = {0, 1, 0};
  ASSERT_NE(AddPointToList_while_killing_redundancies(a, &l.head, 1, 0.002), nullptr);
  EXPECT_EQ(AddPointToList_while_killing_redundancies(nearA, &l.head, 2, 0.002), nullptr);
  EXPECT_NE(AddPointToList_while_killing_redundancies(atDistance, &l.head, 3, 0.002), nullptr);
  HALFSPACE* added = AddPointToList_while_killing_redundancies(b, GetFirstElement(&l.head), 4, 0.002);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(GetFirstElement(&l.head), added) << "any node of the list names its head";
  EXPECT_EQ(added->index, 4);
  EXPECT_EQ(GetElementCount(&l.head), 3);
  EXPECT_EQ(AddPointToList_while_killing_redundancies(a, nullptr, 1, 0.002), nullptr);

  double c[3];
  GetCentroidOfPointlist(&l.head, c);
  EXPECT_NEAR(c[0], 2.0 / 3, 1e-15);
  EXPECT_NEAR(c[1], (1 + 0.0025) / 3, 1e-15);
  List empty;
  GetCentroidOfPointlist(&empty.head, c);
  EXPECT_EQ(c[0], 0);
  EXPECT_EQ(c[1], 0);
  EXPECT_EQ(c[2], 0);
}

// Regular cells in shuffled order round sites in every octant and near the
// poles (the sort's other reference axis): the fan must tile the cell once,
// every triangle wound the same way and carrying the site.
TEST(VoronoiCellWriter, FanTilesTheCellWoundOutwardWhateverTheCornerOrder) {
  const Vec3 sites[] = {{0, 0, 1},   {0, 0, -1}, {0.3, 0.2, -0.9}, {1, 1, 1}, {-1, 0.5, -0.2},
                        {0, 1, 0.05}, {0, -1, 0}, {0.7, -0.7, 0.1}};
  for (int32_t n : {3, 4, 5, 6, 9, 10, 13}) {
    for (const Vec3& s0 : sites) {
      const Vec3 s = Unit(s0);
      PolyPtr poly = NewOwningPoly();
      std::vector<Vec3> pts = TangentPolygon(s, n, 0.3, 0.1);
      std::rotate(pts.begin(), pts.begin() + n / 2, pts.end());
      std::reverse(pts.begin() + 1, pts.end());
      List corners;
      AddCorners(corners, pts);
      HALFSPACE site = MakeSite(s, 42);
      VoronoiHandlingOptions o;
      GetDefaultVoronoiHandlingOptions(&o);
      DumpPointListIntoPolyhedron(&corners.head, &site, poly.get(), &o);
      SCOPED_TRACE(testing::Message() << n << " corners round " << s.x << " " << s.y << " " << s.z);
      EXPECT_EQ(poly->errorCode, 0);
      EXPECT_EQ(poly->n3DVerts, n);
      ASSERT_EQ(poly->n3DFaces, n - 2);
      double area = 0;
      std::set<int32_t> apexes;
      for (int32_t f = 0; f < poly->n3DFaces; ++f) {
        const PolyFace& face = poly->faces[f];
        EXPECT_EQ(face.n3D, 3);
        EXPECT_EQ(face.siteIndex, 42);
        EXPECT_EQ(face.point[0], s.x);
        EXPECT_EQ(face.point[2], s.z);
        const Vec3 av = AreaVector(poly.get(), f);
        // Stored corners run counter-clockwise seen from outside the sphere.
        EXPECT_GT(Dot(av, s), 0) << "face " << f;
        area += Len(av) / 2;
      }
      const double cellArea = 0.5 * n * 0.09 * std::sin(2 * M_PI / n);
      EXPECT_NEAR(area, cellArea, 1e-12) << "the triangles overlap or leave gaps";
      // The corners come back in order round the cell, one index each.
      std::set<int32_t> idx;
      for (HALFSPACE* k = GetFirstElement(&corners.head); !k->isHead; k = k->next) idx.insert(k->index);
      EXPECT_EQ(int32_t(idx.size()), n);
    }
  }
}

TEST(VoronoiCellWriter, FewerThanThreeCornersAddNothing) {
  PolyPtr poly = NewOwningPoly();
  List corners;
  AddCorners(corners, TangentPolygon({0, 0, 1}, 2, 0.2));
  HALFSPACE site = MakeSite({0, 0, 1}, 1);
  HALFSPACE other = MakeSite({0, 0.1, 1}, 2);
  GetFirstElement(&corners.head)->corners[0] = &other;
  VoronoiHandlingOptions o;
  GetDefaultVoronoiHandlingOptions(&o);
  DumpPointListIntoPolyhedron(&corners.head, &site, poly.get(), &o);
  EXPECT_EQ(poly->n3DFaces, 0);
  EXPECT_EQ(poly->n3DVerts, 0);
  EXPECT_EQ(other.hints[0], nullptr) << "an unbuilt cell hints nothing";
}

// The apex rules on an irregular pentagon: every fan triangle shares the
// apex, and the apex is the corner the rule names.
TEST(VoronoiCellWriter, FanApexByRule) {
  // Seen from +z (site (0, 0, 1)); corner 0 starts the longest edge (0 -> 1),
  // corner 3 lies nearest the y axis, corner 2 has the largest |y|.
  const std::vector<Vec3> pts = {{0.5, -0.4, 1}, {0.45, 0.45, 1}, {0.1, 0.6, 1}, {-0.05, 0.2, 1}, {-0.3, -0.3, 1}};
  const int32_t expectedApex[3] = {0, 2, 3};
  for (int32_t rule = 0; rule <= 2; ++rule) {
    PolyPtr poly = NewOwningPoly();
    List corners;
    AddCorners(corners, pts);
    HALFSPACE site = MakeSite({0, 0, 1}, 0);
    VoronoiHandlingOptions o;
    GetDefaultVoronoiHandlingOptions(&o);
    o.fanApexRule = rule;
    DumpPointListIntoPolyhedron(&corners.head, &site, poly.get(), &o);
    ASSERT_EQ(poly->n3DFaces, 3);
    const double apex[3] = {pts[expectedApex[rule]].x, pts[expectedApex[rule]].y, pts[expectedApex[rule]].z};
    const int32_t v = CloseMatch3D(poly.get(), apex, 1e-12);
    for (int32_t f = 0; f < 3; ++f) {
      const int32_t* c = poly->faces[f].vert3D;
      EXPECT_TRUE(c[0] == v || c[1] == v || c[2] == v) << "rule " << rule << " face " << f;
    }
  }
}

// A hexagon with one corner bent to 170 degrees: with shaving on, that
// corner goes into a triangle of its own, marked; off, the plain fan.
TEST(VoronoiCellWriter, ShavesNearlyStraightCornersIntoMarkedTriangles) {
  std::vector<Vec3> pts = TangentPolygon({0, 0, 1}, 6, 0.3);
  // Corner 1 moved towards the midpoint of corners 0 and 2 so that its
  // angle is 170 degrees.
  const Vec3 m{(pts[0].x + pts[2].x) / 2, (pts[0].y + pts[2].y) / 2, 1};
  const double half = std::hypot(pts[2].x - pts[0].x, pts[2].y - pts[0].y) / 2;
  const double out = half * std::tan(5 * M_PI / 180);
  const Vec3 dir = Unit({m.x, m.y, 0});
  pts[1] = {m.x + dir.x * out, m.y + dir.y * out, 1};
  for (uint8_t shave : {0, 1}) {
    PolyPtr poly = NewOwningPoly();
    List corners;
    AddCorners(corners, pts);
    HALFSPACE site = MakeSite({0, 0, 1}, 3);
    VoronoiHandlingOptions o;
    GetDefaultVoronoiHandlingOptions(&o);
    o.shaveSillyVerts = shave;
    DumpPointListIntoPolyhedron(&corners.head, &site, poly.get(), &o);
    ASSERT_EQ(poly->n3DFaces, 4);
    int32_t marked = 0;
    double area = 0;
    for (int32_t f = 0; f < 4; ++f) {
      const PolyFace& face = poly->faces[f];
      marked += face.placedFlags[0];
      EXPECT_EQ(face.placedFlags[0], face.sliceWholeFace);
      const Vec3 av = AreaVector(poly.get(), f);
      EXPECT_GT(av.z, 0);
      area += Len(av) / 2;
      if (face.placedFlags[0]) {
        const double bent[3] = {pts[1].x, pts[1].y, pts[1].z};
        EXPECT_EQ(face.vert3D[1], CloseMatch3D(poly.get(), bent, 1e-12)) << "the shaved corner in the middle";
      }
    }
    EXPECT_EQ(marked, shave);
    EXPECT_EQ(GetElementCount(&corners.head), 6 - shave);
    const double hexArea = 1.5 * std::sqrt(3.0) * 0.09;
    EXPECT_NEAR(area, hexArea - half * (0.15 - out), 1e-12);
  }
}

// Four corners in a line-like quadrilateral never shave below a triangle.
TEST(VoronoiCellWriter, ShavingKeepsAtLeastThreeCorners) {
  const std::vector<Vec3> pts = {{-0.3, 0, 1}, {0, 0.01, 1}, {0.3, 0, 1}, {0, -0.01, 1}};
  PolyPtr poly = NewOwningPoly();
  List corners;
  AddCorners(corners, pts);
  HALFSPACE site = MakeSite({0, 0, 1}, 3);
  VoronoiHandlingOptions o;
  GetDefaultVoronoiHandlingOptions(&o);
  o.shaveSillyVerts = 1;
  DumpPointListIntoPolyhedron(&corners.head, &site, poly.get(), &o);
  EXPECT_EQ(poly->n3DFaces, 2);
  EXPECT_EQ(poly->errorCode, 0);
}

// Each corner's neighbour sites learn the site once, into the first free
// hint slot; a full set keeps its first two and takes the site last.
TEST(VoronoiCellWriter, HintsGoToTheCornersSites) {
  PolyPtr poly = NewOwningPoly();
  List corners;
  AddCorners(corners, TangentPolygon({0, 0, 1}, 4, 0.2));
  HALFSPACE site = MakeSite({0, 0, 1}, 1);
  HALFSPACE b = MakeSite({0.4, 0, 0.9}, 2), c = MakeSite({0, 0.4, 0.9}, 3), full = MakeSite({-0.4, 0, 0.9}, 4);
  HALFSPACE x = MakeSite({1, 0, 0}, 5);
  full.hints[0] = full.hints[1] = full.hints[2] = &x;
  HALFSPACE* k = GetFirstElement(&corners.head);
  k->corners[0] = &site;
  k->corners[1] = &b;
  k->corners[2] = &site;
  k->corners[3] = &c;
  k->next->corners[0] = &b;
  k->next->corners[1] = &full;
  VoronoiHandlingOptions o;
  GetDefaultVoronoiHandlingOptions(&o);
  DumpPointListIntoPolyhedron(&corners.head, &site, poly.get(), &o);
  EXPECT_EQ(b.hints[0], &site);
  EXPECT_EQ(b.hints[1], nullptr) << "named twice, hinted once";
  EXPECT_EQ(c.hints[0], &site);
  EXPECT_EQ(site.hints[0], nullptr) << "a site is no hint of itself";
  EXPECT_EQ(full.hints[0], &x);
  EXPECT_EQ(full.hints[1], &x);
  EXPECT_EQ(full.hints[2], &site);
}

// Corners that merge into one 3D vertex leave their sliver out without an
// error, and the neighbouring cell's shared vertices are reused.
TEST(VoronoiCellWriter, SliversBelowTheMergeDistanceAreLeftOut) {
  PolyPtr poly = NewOwningPoly();
  HALFSPACE site = MakeSite({0, 0, 1}, 1);
  const double a[3] = {0, 0, 1}, b[3] = {0.001, 0, 1}, c[3] = {0, 0.5, 1}, d[3] = {0.5, 0, 1};
  SaveFace_core(a, b, c, poly.get(), &site, 0, 0.002);
  EXPECT_EQ(poly->n3DFaces, 0);
  EXPECT_EQ(poly->errorCode, 0);
  SaveFace_core(a, d, c, poly.get(), &site, 0, 0.002);
  SaveFace_core(b, d, c, poly.get(), &site, 1, 0.0005);
  EXPECT_EQ(poly->n3DFaces, 2);
  EXPECT_EQ(poly->n3DVerts, 4);
  EXPECT_EQ(poly->faces[1].placedFlags[0], 1);
}

TEST(VoronoiCellWriter, AlignsPointsWithTheSolidsVertices) {
  PolyPtr poly = NewOwningPoly();
  BuildCube(poly.get());
  List l;
  double corner[3];
  grab_coordinates3D_into_vector3D(5, poly.get(), corner);
  corner[0] += 0.0015;
  const double far[3] = {0, 0, 0};
  AddPointToList(corner, &l.head, 77);
  AddPointToList(far, &l.head, 78);
  AlignPointlistWith3DVerts(&l.head, poly.get());
  EXPECT_EQ(GetFirstElement(&l.head)->index, -1);
  EXPECT_EQ(GetFirstElement(&l.head)->next->index, 5);
}

}  // namespace
