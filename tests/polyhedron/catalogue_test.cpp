// The shape catalogue: every static shape loads with the counts and options
// of the shape list and its net folds onto its solid once the set-up has
// matched them; the two cube crosses; the row loader; codes that give an
// empty shape, and known shapes that cannot be built yet.
#include "polyhedron/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "net_checks.h"
#include "support/poly_fixture.h"
#include "polyhedron/catalogue_rows.h"
#include "polyhedron/catalogue_static.h"
#include "polyhedron/correspondence.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/polyhedron_add.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/polyhedron_predicates.h"
#include "polyhedron/vertex_maps.h"
#include "polyhedron/vertex_upkeep.h"
#include "sphere_net_checks.h"

namespace {

// What the set-up does with a static net before anything else: the used
// points, both sets of links and angles, and which solid face each net face
// shows.
void MatchNetToSolid(polyhedron* p) {
  Cleanse2DVertList(p);
  Build2DConnectivityCompletelyFromScratch(p, p->n3DFaces);
  Calc3DAngles(p);
  Build3DConnectivity(p);
  Calc2DAnglesAroundFaces(p);
  DetermineCorrespondence(p);
}

// Counts and options of the shape list. The tetrahedron's list entry names
// five solid vertices; four triangles close up around four, which its table
// has (a fifth would be unused). The vertical cross numbers its points in
// the cube's one point table, after the fourteen of the horizontal cross, so
// its rows name up to sixteen.
struct StaticCase {
  int32_t code;
  int32_t faces;
  std::set<int32_t> cornerKinds;
  int32_t points2D;
  int32_t vertices3D;
  uint8_t mirrorFlipA;
  uint8_t exportFlipFirstAxis;
  int32_t warpStyle;
  int32_t upFace;
  bool fitsByUnitFactors;  // cramMode 1 and no band culling
};

const StaticCase kStaticCases[] = {
    {0, 24, {4}, 50, 26, 0, 1, 0, -1, false},      {1, 26, {3, 4}, 46, 24, 1, 0, 0, -1, false},
    {2, 32, {5, 6}, 118, 60, 1, 0, 0, -1, false},  {3, 32, {3, 5}, 58, 30, 0, 1, 0, -1, false},
    {4, 38, {3, 4}, 46, 24, 0, 1, 0, -1, false},   {5, 60, {4}, 122, 62, 0, 1, 0, -1, false},
    {6, 62, {3, 4, 5}, 118, 60, 0, 1, 0, -1, false}, {7, 14, {3, 4}, 22, 12, 1, 0, 0, -1, false},
    {8, 30, {4}, 62, 32, 0, 1, 0, -1, false},      {9, 12, {5}, 38, 20, 0, 1, 0, -1, false},
    {12, 24, {5}, 74, 38, 1, 0, 0, -1, false},     {16, 4, {3}, 6, 4, 1, 0, 0, -1, false},
    {17, 20, {3}, 22, 12, 0, 0, 0, -1, false},     {18, 6, {4}, 14, 8, 1, 0, 0, 4, false},
    {19, 8, {3}, 10, 6, 1, 0, 0, -1, false},       {23, 20, {3}, 22, 12, 0, 1, 0, -1, false},
    {65, 20, {3}, 22, 12, 0, 0, 1, -1, true},      {67, 8, {3}, 10, 6, 1, 0, 1, -1, true},
    {73, 6, {4}, 16, 8, 1, 0, 0, 4, false},
};

TEST(Catalogue, StaticShapesLoadWithTheirCountsAndOptions) {
  for (const StaticCase& c : kStaticCases) {
    SCOPED_TRACE("shape " + std::to_string(c.code));
    PolyPtr p = LoadedShape(c.code);
    const polyhedron& r = *p;
    EXPECT_EQ(r.errorCode, kPolyErrorNone);
    EXPECT_EQ(r.shapeCode, c.code);
    EXPECT_EQ(r.n3DFaces, c.faces);
    EXPECT_EQ(r.n2DFaces, c.faces);
    // Net row k and solid row k share slot k but need not show each other:
    // only the faces of each kind must agree in number.
    std::multiset<int32_t> net, solid;
    for (int32_t f = 0; f < r.n3DFaces; ++f) {
      net.insert(r.faces[f].n2D);
      solid.insert(r.faces[f].n3D);
    }
    EXPECT_EQ(net, solid);
    EXPECT_EQ(std::set<int32_t>(net.begin(), net.end()), c.cornerKinds);
    EXPECT_EQ(r.n2DVerts, c.points2D);
    EXPECT_EQ(r.n3DVerts, c.vertices3D);
    // Slots up to the highest row number are in use, none tied to the solid.
    EXPECT_EQ(std::count(r.vert2DUsed, r.vert2DUsed + kPolyMax2DVerts, 1), c.points2D);
    EXPECT_EQ(std::count(r.vert3DOf2D, r.vert3DOf2D + kPolyMax2DVerts, kPolyNoVertex16), kPolyMax2DVerts);
    // Borrowed tables, a net to be matched to its solid.
    EXPECT_EQ(r.ownsArrays, 0);
    EXPECT_EQ(r.correspondenceGiven, 0);
    EXPECT_NE(r.coords2D, nullptr);
    EXPECT_NE(r.faces3DRows, nullptr);
    // Only the shark net names its solid vertices too, so that its rows
    // pair with the solid's by that map rather than by a search.
    EXPECT_EQ(r.map2Dto3D != nullptr, c.code == 65);
    // The entry's own options.
    EXPECT_EQ(r.mirrorFlipA, c.mirrorFlipA);
    EXPECT_EQ(r.exportFlipFirstAxis, c.exportFlipFirstAxis);
    EXPECT_EQ(r.warpStyle, c.warpStyle);
    EXPECT_EQ(r.upFace, c.upFace);
    EXPECT_EQ(r.cramMode, c.fitsByUnitFactors ? 1 : 0);
    EXPECT_EQ(r.bandCulling, c.fitsByUnitFactors ? 0 : 1);
    // Everything else as every shape starts.
    EXPECT_EQ(r.mirrorFlipB, 0);
    EXPECT_EQ(r.sphericalFlag, 1);
    EXPECT_EQ(r.tabPhaseFlip, 0);
    EXPECT_EQ(r.tabStyle, 0);
    EXPECT_EQ(r.cramMode2, 0);
    EXPECT_EQ(r.cramBounds[0], 999.0f);
    EXPECT_EQ(r.cramBounds[1], -999.0f);
    EXPECT_EQ(r.cramBounds[2], 999.0f);
    EXPECT_EQ(r.cramBounds[3], -999.0f);
    EXPECT_EQ(r.segmentStretch, 0);
    EXPECT_EQ(r.segmentStretchAlpha, 1.0);
    EXPECT_EQ(r.exportPlanShape, -1);
    EXPECT_EQ(r.reattachFaceLimit, 10);
    EXPECT_EQ(r.fragmentMode, 0);
    EXPECT_EQ(r.spinStyle, 0);
    EXPECT_EQ(r.fancyPointMode, 0);
    EXPECT_EQ(r.origamiTabOption, 0);
    EXPECT_EQ(std::count(std::begin(r.regionRule), std::end(r.regionRule), 0), 4);
  }
}

// The solid's length between two of its vertices.
double SolidDistance(const polyhedron* p, int32_t a, int32_t b) {
  double pa[3], pb[3];
  grab_coordinates3D_into_vector3D(a, p, pa);
  grab_coordinates3D_into_vector3D(b, p, pb);
  return std::sqrt((pa[0] - pb[0]) * (pa[0] - pb[0]) + (pa[1] - pb[1]) * (pa[1] - pb[1]) +
                   (pa[2] - pb[2]) * (pa[2] - pb[2]));
}

// The net is one piece that folds onto the solid: every net face shows its
// own solid face, is congruent to it corner by corner and runs
// counter-clockwise; every net point lies on one solid vertex whichever face
// holds it; every net edge shared by two faces lies on the solid edge the two
// solid faces share.
testing::AssertionResult NetFoldsOntoSolid(const polyhedron* p) {
  std::vector<int32_t> shownBy(size_t(p->n3DFaces), -1);
  std::vector<int32_t> vertexOf(size_t(kPolyMax2DVerts), -1);
  for (int32_t j = 0; j < p->n2DFaces; ++j) {
    const PolyFace& net = p->faces[j];
    const int32_t F = net.face3D, n = net.n2D;
    if (F < 0 || F >= p->n3DFaces) return testing::AssertionFailure() << "net face " << j << " shows no solid face";
    if (shownBy[size_t(F)] >= 0)
      return testing::AssertionFailure() << "net faces " << shownBy[size_t(F)] << " and " << j << " show solid face "
                                         << F;
    shownBy[size_t(F)] = j;
    const PolyFace& solid = p->faces[F];
    if (solid.n3D != n) return testing::AssertionFailure() << "net face " << j << " has the wrong corner count";
    const Polygon2D poly = NetFacePolygon(p, j);
    if (SignedArea2(poly) <= 0) return testing::AssertionFailure() << "net face " << j << " runs clockwise";
    for (int32_t c = 0; c < n; ++c) {
      const int32_t s = (c + net.cornerOffset) % n;
      // Two edges and the diagonal between them fix each corner.
      for (int32_t step : {1, 2}) {
        const auto& a = poly[size_t(c)];
        const auto& b = poly[size_t((c + step) % n)];
        const double net2 = std::hypot(b.first - a.first, b.second - a.second);
        const double solid3 = SolidDistance(p, solid.vert3D[s], solid.vert3D[(s + step) % n]);
        if (std::fabs(net2 - solid3) > 1e-12)
          return testing::AssertionFailure() << "net face " << j << " corner " << c << ": " << net2 << " on the net, "
                                             << solid3 << " on the solid";
      }
      int32_t& v = vertexOf[size_t(net.vert2D[c])];
      if (v >= 0 && v != solid.vert3D[s])
        return testing::AssertionFailure() << "net point " << net.vert2D[c] << " lies on two solid vertices";
      v = solid.vert3D[s];
    }
    for (int32_t e = 0; e < n; ++e) {
      const int32_t g = net.nbrFace2D[e];
      if (g < 0) continue;
      if (solid.nbrFace3D[(e + net.cornerOffset) % n] != p->faces[g].face3D)
        return testing::AssertionFailure() << "net edge " << j << ":" << e << " is no edge of the solid";
    }
  }
  // One piece: every face is reached from face 0 across net edges.
  std::vector<bool> reached(size_t(p->n2DFaces), false);
  std::vector<int32_t> stack{0};
  reached[0] = true;
  while (!stack.empty()) {
    const int32_t f = stack.back();
    stack.pop_back();
    for (int32_t e = 0; e < p->faces[f].n2D; ++e) {
      const int32_t g = p->faces[f].nbrFace2D[e];
      if (g >= 0 && !reached[size_t(g)]) {
        reached[size_t(g)] = true;
        stack.push_back(g);
      }
    }
  }
  if (std::find(reached.begin(), reached.end(), false) != reached.end())
    return testing::AssertionFailure() << "the net falls apart";
  return testing::AssertionSuccess();
}

TEST(Catalogue, EveryStaticNetFoldsOntoItsSolid) {
  for (const StaticCase& c : kStaticCases) {
    SCOPED_TRACE("shape " + std::to_string(c.code));
    PolyPtr p = LoadedShape(c.code);
    MatchNetToSolid(p.get());
    EXPECT_TRUE(NetFoldsOntoSolid(p.get()));
    // A tree of faces hinged edge to edge: two points fewer per hinge than
    // the corners of its faces.
    int32_t corners = 0;
    for (int32_t f = 0; f < p->n2DFaces; ++f) corners += p->faces[f].n2D;
    EXPECT_EQ(std::count(p->vert2DUsed, p->vert2DUsed + kPolyMax2DVerts, 1), corners - 2 * (p->n2DFaces - 1));
    for (int32_t v = 0; v < p->n2DVerts; ++v) {
      if (!p->vert2DUsed[v]) continue;
      EXPECT_GE(Vert_Index_2D_to_3D(p.get(), v), 0) << "net point " << v;
    }
  }
}

// The centre of the net face that shows solid face F, in edge lengths.
std::pair<double, double> CellOf(const polyhedron* p, int32_t F, double edge) {
  for (int32_t j = 0; j < p->n2DFaces; ++j) {
    if (p->faces[j].face3D != F) continue;
    double x = 0, y = 0;
    for (const auto& q : NetFacePolygon(p, j)) {
      x += q.first / p->faces[j].n2D;
      y += q.second / p->faces[j].n2D;
    }
    return {x / edge, y / edge};
  }
  return {-100, -100};
}

TEST(Catalogue, TheTwoCrossesFoldTheSameCube) {
  constexpr int32_t kFront = 0, kRight = 1, kBack = 2, kLeft = 3, kTop = 4, kBottom = 5;
  PolyPtr horizontal = LoadedShape(18), vertical = LoadedShape(73);
  EXPECT_EQ(horizontal->coords3D, vertical->coords3D);
  EXPECT_EQ(horizontal->faces3DRows, vertical->faces3DRows);
  EXPECT_EQ(horizontal->coords2D, vertical->coords2D);
  EXPECT_NE(horizontal->faces2DRows, vertical->faces2DRows);
  EXPECT_EQ(horizontal->upFace, 4);
  EXPECT_EQ(vertical->upFace, 4);
  MatchNetToSolid(horizontal.get());
  MatchNetToSolid(vertical.get());
  const double edge = SolidDistance(horizontal.get(), 0, 1);
  using Cell = std::pair<double, double>;
  auto near = [](Cell a, Cell b) { return std::fabs(a.first - b.first) < 1e-12 && std::fabs(a.second - b.second) < 1e-12; };
  // Cells by centre, in edge lengths; y grows downwards on the picture, and
  // the solid's +y face (kTop) shows the nadir, so it sits below the front
  // and the zenith's face above it.
  for (polyhedron* p : {horizontal.get(), vertical.get()}) {
    EXPECT_TRUE(near(CellOf(p, kFront, edge), {1.5, 1.5}));
    EXPECT_TRUE(near(CellOf(p, kTop, edge), {1.5, 2.5}));
    EXPECT_TRUE(near(CellOf(p, kBottom, edge), {1.5, 0.5}));
  }
  // The row of four runs across in the horizontal cross, down in the
  // vertical one; the side faces flank the front in both.
  const Cell left = CellOf(horizontal.get(), kLeft, edge), right = CellOf(horizontal.get(), kRight, edge);
  EXPECT_TRUE((near(left, {0.5, 1.5}) && near(right, {2.5, 1.5})) || (near(left, {2.5, 1.5}) && near(right, {0.5, 1.5})));
  EXPECT_TRUE(near(CellOf(horizontal.get(), kBack, edge), {3.5, 1.5}));
  EXPECT_TRUE(near(CellOf(vertical.get(), kLeft, edge), left));
  EXPECT_TRUE(near(CellOf(vertical.get(), kRight, edge), right));
  EXPECT_TRUE(near(CellOf(vertical.get(), kBack, edge), {1.5, 3.5}));
  // The vertical cross leaves two of the shared points unused.
  EXPECT_EQ(std::count(vertical->vert2DUsed, vertical->vert2DUsed + kPolyMax2DVerts, 1), 14);
}

TEST(Catalogue, IcosahedronTablesServeTwoShapes) {
  PolyPtr plain = LoadedShape(17), warped = LoadedShape(65), strip = LoadedShape(23);
  // The shark florets' icosahedron is the same solid, turned to the petal's
  // pole, on a net of its own: the same face rows, and every pair of
  // vertices as far apart as on the plain one.
  EXPECT_EQ(plain->faces3DRows, warped->faces3DRows);
  EXPECT_NE(plain->coords2D, warped->coords2D);
  for (int32_t i = 0; i < 12; ++i) {
    for (int32_t j = 0; j < 12; ++j) {
      const auto d = [i, j](const double (*c)[3]) {
        return std::hypot(c[i][0] - c[j][0], c[i][1] - c[j][1], c[i][2] - c[j][2]);
      };
      EXPECT_NEAR(d(plain->coords3D), d(warped->coords3D), 1e-12) << i << " " << j;
    }
  }
  EXPECT_EQ(plain->warpStyle, 0);
  EXPECT_EQ(warped->warpStyle, 1);
  EXPECT_EQ(plain->cramMode, 0);
  EXPECT_EQ(warped->cramMode, 1);
  EXPECT_EQ(plain->bandCulling, 1);
  EXPECT_EQ(warped->bandCulling, 0);
  // The older icosahedron has its own net on the same solid.
  EXPECT_EQ(strip->coords3D, plain->coords3D);
  EXPECT_EQ(strip->faces3DRows, plain->faces3DRows);
  EXPECT_NE(strip->coords2D, plain->coords2D);
}

TEST(Catalogue, FaceRowsKeepTenCornersAndStopAtTheTableEnd) {
  // Rows of 10, 11 and 3 corners, then a table that ends one row short.
  static const double points2D[12][2] = {};
  static const int16_t rows[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 0, 3, 2, 1, 0};
  PolyPtr p = NewPoly();
  WipeFaceInfo(p.get());
  p->coords2D = points2D;
  p->faces2DRows = rows;
  p->n3DFaces = 4;
  p->n3DVerts = 77;
  LoadStaticFaceRows(p.get(), int32_t(std::size(rows)), 0);
  EXPECT_EQ(p->faces[0].n2D, 10);
  EXPECT_EQ(p->faces[0].vert2D[9], 9);
  EXPECT_EQ(p->faces[1].n2D, 10);  // the eleventh corner is dropped
  EXPECT_EQ(p->faces[1].vert2D[9], 9);
  EXPECT_EQ(p->faces[2].n2D, 3);
  EXPECT_EQ(p->faces[2].vert2D[0], 2);
  EXPECT_EQ(p->faces[2].vert2D[3], -1);
  EXPECT_EQ(p->faces[3].n2D, 0);  // no row left for it
  EXPECT_EQ(p->faces[3].vert2D[0], -1);
  EXPECT_EQ(p->n2DFaces, 4);
  EXPECT_EQ(p->n2DVerts, 10);  // the dropped corner's 12 is not counted
  EXPECT_EQ(p->n3DVerts, 77);  // no 3D rows: left alone
  EXPECT_EQ(std::count(p->vert2DUsed, p->vert2DUsed + kPolyMax2DVerts, 1), 10);
  p->coords2D = nullptr;
  p->faces2DRows = nullptr;
}

TEST(Catalogue, CodesWithoutAShapeLeaveItEmpty) {
  for (const int32_t code : {14, 44, 45, 78, 221, 1000, -1, -5}) {
    SCOPED_TRACE("shape " + std::to_string(code));
    // Over a shape loaded before, as a set-up that changes shape would.
    PolyPtr p = LoadedShape(2);
    WipeFaceInfo(p.get());
    ReadFaceInfo(p.get(), code, 0, nullptr, 1);
    EXPECT_EQ(p->shapeCode, code);
    EXPECT_EQ(p->errorCode, kPolyErrorNone);
    EXPECT_EQ(p->n3DFaces, 0);
    EXPECT_EQ(p->n2DFaces, 0);
    EXPECT_EQ(p->n2DVerts, 0);
    EXPECT_EQ(p->n3DVerts, 0);
  }
}

// The catalogue's settings of a generated shape; its geometry waits for its
// generator, so the shape stays empty and says so.
struct GeneratedCase {
  int32_t code;
  uint8_t mirrorFlipA;
  uint8_t skipOverlapTest;
  int32_t fancyPointMode;  // with regionRule[0] 1 and spinStyle 1
  bool fitsByUnitFactors;
  int32_t fragmentMode;
  bool regionsFromFacegroups;  // regionRule[2] and [3]
  int32_t spinStyle;
};

const GeneratedCase kGeneratedCases[] = {
    {25, 1, 1, 0, false, 0, false, 0}, {48, 1, 1, 0, true, 0, false, 0},  {50, 1, 1, 0, true, 0, false, 0},
    {71, 1, 1, 1, false, 0, false, 1}, {72, 1, 1, 1, false, 0, false, 1}, {74, 1, 0, 0, false, 0, false, 0},
    {75, 0, 1, 1, false, 0, false, 1}, {76, 1, 1, 0, false, 0, false, 0}, {77, 1, 1, 0, false, 0, false, 0},
    {80, 1, 0, 0, false, 0, false, 0}, {101, 1, 0, 0, false, 0, false, 0}, {102, 1, 1, 0, false, 0, false, 0},
    {149, 1, 1, 0, false, 0, false, 0}, {150, 1, 1, 1, true, 0, false, 1}, {151, 1, 1, 0, false, 0, false, 0},
    {161, 1, 1, 0, false, 1, true, 3}, {162, 1, 1, 0, false, 0, true, 3},  {163, 1, 1, 0, false, 1, true, 4},
    {166, 1, 1, 0, false, 0, true, 3}, {167, 1, 1, 0, false, 1, true, 1},  {170, 1, 1, 0, false, 0, true, 4},
    {171, 1, 1, 0, false, 1, true, 4}, {173, 1, 1, 0, false, 1, true, 1},  {174, 1, 1, 0, false, 1, true, 1},
    {176, 1, 1, 0, false, 0, true, 1}, {177, 1, 1, 0, false, 1, true, 0},  {180, 1, 1, 0, false, 0, true, 0},
    {181, 1, 1, 0, false, 0, false, 0}, {201, 1, 1, 0, false, 0, false, 0}, {220, 1, 1, 0, false, 0, false, 0},
};

TEST(Catalogue, GeneratedShapesTakeTheirSettingsAndAreBuiltOrRefused) {
  for (const GeneratedCase& c : kGeneratedCases) {
    SCOPED_TRACE("shape " + std::to_string(c.code));
    // A record that owns arrays from an earlier generated shape gives them
    // back: the generator allocates its own.
    PolyPtr p = NewOwningPoly();
    ReadFaceInfo(p.get(), c.code, 0, nullptr, 1);
    if (p->errorCode != kPolyErrorShapeNotAvailable) {
      // Its generator exists: what it built is unfolded, into arrays of its
      // own (the generator may have set options of its own too).
      if (p->n3DFaces > 0) {
        EXPECT_GT(p->n2DFaces, 0);
        EXPECT_GT(p->n2DVerts, 0);
        EXPECT_EQ(p->ownsArrays, 1);
      }
      continue;
    }
    EXPECT_EQ(p->ownsArrays, 0);
    EXPECT_EQ(p->n3DFaces, 0);
    EXPECT_EQ(p->n2DFaces, 0);
    EXPECT_EQ(p->n2DVerts, 0);
    EXPECT_EQ(p->n3DVerts, 0);
    EXPECT_EQ(p->correspondenceGiven, 1);
    EXPECT_EQ(p->mirrorFlipA, c.mirrorFlipA);
    EXPECT_EQ(p->mirrorFlipB, 0);
    EXPECT_EQ(p->skipOverlapTest, c.skipOverlapTest);
    EXPECT_EQ(p->fancyPointMode, c.fancyPointMode);
    EXPECT_EQ(p->regionRule[0], c.fancyPointMode);
    EXPECT_EQ(p->regionRule[1], 0);
    EXPECT_EQ(p->regionRule[2], c.regionsFromFacegroups ? 1 : 0);
    EXPECT_EQ(p->regionRule[3], c.regionsFromFacegroups ? 1 : 0);
    EXPECT_EQ(p->cramMode, c.fitsByUnitFactors ? 1 : 0);
    EXPECT_EQ(p->bandCulling, c.fitsByUnitFactors ? 0 : 1);
    EXPECT_EQ(p->fragmentMode, c.fragmentMode);
    EXPECT_EQ(p->spinStyle, c.spinStyle);
    EXPECT_EQ(p->reattachFaceLimit, 10);
  }
}

TEST(Catalogue, StaticShapesWithoutTablesAreRefused) {
  for (const int32_t code : {10, 11, 13, 15, 20, 21, 24, 28, 43, 46, 47, 51, 52, 60, 61, 64, 66, 68, 69, 70, 79}) {
    // A code whose tables have since been made is no longer refused.
    if (!StaticShapeTablesMissing(code)) continue;
    SCOPED_TRACE("shape " + std::to_string(code));
    PolyPtr p = LoadedShape(2);
    WipeFaceInfo(p.get());
    ReadFaceInfo(p.get(), code, 0, nullptr, 1);
    EXPECT_EQ(p->errorCode, kPolyErrorShapeNotAvailable);
    EXPECT_EQ(p->n3DFaces, 0);
    EXPECT_EQ(p->n2DFaces, 0);
    EXPECT_EQ(p->n2DVerts, 0);
    EXPECT_EQ(p->n3DVerts, 0);
    // The soccer ball's options are gone with it.
    EXPECT_EQ(p->mirrorFlipA, 0);
  }
}

TEST(Catalogue, EveryCodeIsAShapeARefusalOrNothing) {
  const std::set<int32_t> loads = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                   15, 16, 17, 18, 19, 20, 23, 29, 65, 67, 70, 73, 79};
  const std::set<int32_t> empty = {14, 44, 45, 78};
  for (int32_t code = 0; code <= 220; ++code) {
    SCOPED_TRACE("shape " + std::to_string(code));
    PolyPtr p = LoadedShape(code);
    // Static shapes whose tables joined the catalogue later load as well.
    if (loads.count(code) || FindStaticShape(code)) {
      EXPECT_EQ(p->errorCode, kPolyErrorNone);
      EXPECT_GT(p->n3DFaces, 0);
    } else if (empty.count(code)) {
      EXPECT_EQ(p->errorCode, kPolyErrorNone);
      EXPECT_EQ(p->n3DFaces, 0);
    } else if (code == kShapeCodeCallerFaces) {
      EXPECT_EQ(p->errorCode, kPolyErrorNone);
    } else if (PolyhedronIsBuiltOnTheFly(code) && p->errorCode != kPolyErrorShapeNotAvailable) {
      // Its generator exists and the shape is whatever it built.
    } else {
      EXPECT_EQ(p->errorCode, kPolyErrorShapeNotAvailable);
      EXPECT_EQ(p->n3DFaces, 0);
      // Known to the catalogue: a generated shape or a static one.
      EXPECT_TRUE(PolyhedronIsBuiltOnTheFly(code) || StaticShapeTablesMissing(code));
    }
  }
}

TEST(Catalogue, ShapeWithFacesFromItsCallersSetsOnlyItsOptions) {
  PolyPtr p = NewPoly();
  WipeFaceInfo(p.get());
  p->mirrorFlipB = 1;
  p->tabStyle = 1;
  p->warpStyle = 1;
  ReadFaceInfo(p.get(), kShapeCodeCallerFaces, 0, nullptr, 1);
  EXPECT_EQ(p->errorCode, kPolyErrorNone);
  EXPECT_EQ(p->n3DFaces, 4);
  EXPECT_EQ(p->correspondenceGiven, 1);
  EXPECT_EQ(p->mirrorFlipA, 1);
  EXPECT_EQ(p->mirrorFlipB, 0);
  EXPECT_EQ(p->tabStyle, 0);
  EXPECT_EQ(p->sphericalFlag, 1);
  EXPECT_EQ(p->warpStyle, 1);  // not among its options
  EXPECT_EQ(p->n2DVerts, 0);
}

TEST(Catalogue, AStaticShapeAfterAGeneratedOneForgetsItsVertices) {
  // A generated solid of 300 vertices in owned arrays, then the cube: the
  // cube borrows its tables, the owned arrays are freed (the deleter frees
  // nothing more, so a leak would show under the sanitizer), and the vertex
  // count is the cube's, not a count that would walk off its 8-vertex table.
  PolyPtr p = NewOwningPoly();
  for (int32_t i = 0; i < 300; ++i) {
    const double point[3] = {double(i), 0.0, 0.0};
    AddNew3DDVertToPolyhedron(p.get(), point);
  }
  ASSERT_EQ(p->n3DVerts, 300);
  WipeFaceInfo(p.get());
  ReadFaceInfo(p.get(), 18, 0, nullptr, 1);
  EXPECT_EQ(p->ownsArrays, 0);
  EXPECT_EQ(p->n3DVerts, 8);
  EXPECT_EQ(p->errorCode, kPolyErrorNone);
  // The borrowed tables are read-only.
  EXPECT_EQ(MutableCoords3D(p.get()), nullptr);
}

}  // namespace
