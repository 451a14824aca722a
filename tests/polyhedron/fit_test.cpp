// Laying fragments out in a row and fitting the net into its target area.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/poly_fixture.h"
#include "polyhedron/nets/fragment_layout.h"
#include "polyhedron/nets/net_fit.h"
#include "polyhedron/polyhedron_access.h"
#include "polyhedron/nets/unfold.h"

namespace {

struct Vertex {
  double x, y;
  int32_t fragment;
};

// Used 2D vertices 0..n-1 with double coordinates and float net points.
void PutVertices(polyhedron* p, const std::vector<Vertex>& vertices) {
  for (size_t i = 0; i < vertices.size(); ++i) {
    const Vertex& v = vertices[i];
    Set2DPoint(int32_t(i), DPoint{v.x, v.y, -1, v.fragment, int32_t(i), 1}, p);
    p->verts2D[i].x = float(v.x);
    p->verts2D[i].y = float(v.y);
  }
  p->n2DVerts = int32_t(vertices.size());
}

// The two corners of a box, as a fragment's vertices.
std::vector<Vertex> BoxOf(double x0, double y0, double x1, double y1, int32_t fragment) {
  return {{x0, y0, fragment}, {x1, y1, fragment}};
}

std::vector<Vertex> Join(std::vector<Vertex> a, const std::vector<Vertex>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Box {
  float xMin, xMax, yMin, yMax;
};

Box FragmentBox(const polyhedron* p, int32_t fragment) {
  Box b{0, 0, 0, 0};
  Find2DBoundingBoxPointsAndFragment(p, &b.xMin, &b.xMax, &b.yMin, &b.yMax, fragment);
  return b;
}

TEST(FragmentLayout, OneFragmentMovesToTheOrigin) {
  PolyPtr p = NewOwningPoly();
  PutVertices(p.get(), BoxOf(3, -2, 5, 1, 1));
  LayOutFragments(p.get());
  const Box b = FragmentBox(p.get(), 1);
  EXPECT_FLOAT_EQ(b.xMin, 0);
  EXPECT_FLOAT_EQ(b.yMin, 0);
  EXPECT_FLOAT_EQ(b.xMax, 2);
  EXPECT_FLOAT_EQ(b.yMax, 3);
}

TEST(FragmentLayout, FragmentsStandInARowCentredOnTheTallest) {
  PolyPtr p = NewOwningPoly();
  // Widths 2 and 1, heights 1 and 3, both lying anywhere at first.
  PutVertices(p.get(), Join(BoxOf(10, 10, 12, 11, 1), BoxOf(-4, 7, -3, 10, 2)));
  LayOutFragments(p.get());
  const Box a = FragmentBox(p.get(), 1), b = FragmentBox(p.get(), 2);
  EXPECT_FLOAT_EQ(a.xMin, 0);
  EXPECT_FLOAT_EQ(a.yMin, 1);      // raised to the middle of the taller one
  EXPECT_FLOAT_EQ(b.xMin, 2.06f);  // 3 % of the wider neighbour apart
  EXPECT_FLOAT_EQ(b.yMin, 0);
  EXPECT_FLOAT_EQ(b.yMax, 3);
}

TEST(FragmentLayout, StackedShapePutsFragmentsUnderTheFirst) {
  PolyPtr p = NewOwningPoly();
  PutVertices(p.get(), Join(Join(BoxOf(0, 0, 2, 1, 1), BoxOf(0, 0, 1, 1, 2)), BoxOf(0, 0, 1, 2, 3)));
  Layout_PutBUnderA(1, 2, p.get());
  const Box a = FragmentBox(p.get(), 1), b = FragmentBox(p.get(), 2), c = FragmentBox(p.get(), 3);
  EXPECT_FLOAT_EQ(b.xMin, a.xMin);
  EXPECT_FLOAT_EQ(b.yMin, a.yMax + 0.03f);
  // Higher-numbered fragments move along with b.
  EXPECT_FLOAT_EQ(c.yMin, b.yMin);
}

TEST(FragmentLayout, BoundingBoxOfTheNetPoints) {
  PolyPtr p = NewOwningPoly();
  float x0 = 5, x1 = 5, y0 = 5, y1 = 5;
  Find2DBoundingBox(p.get(), &x0, &x1, &y0, &y1);
  EXPECT_EQ((std::vector<float>{x0, x1, y0, y1}), (std::vector<float>{0, 0, 0, 0}));
  PutVertices(p.get(), Join(BoxOf(-1, 2, 3, 4, 1), BoxOf(0, -5, 0.5, 0, 2)));
  Find2DBoundingBox(p.get(), &x0, &x1, &y0, &y1);
  EXPECT_EQ((std::vector<float>{x0, x1, y0, y1}), (std::vector<float>{-1, 3, -5, 4}));
}

TEST(FragmentLayout, BoundingBoxOfChosenTriangles) {
  PolyPtr p = NewOwningPoly();
  PutVertices(p.get(), {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {5, 5, 2}, {6, 5, 2}, {5, 7, 2}});
  const struct {
    int32_t face, fragment;
    int32_t v[3];
  } triangles[] = {{0, 1, {0, 1, 2}}, {3, 2, {3, 4, 5}}};
  for (const auto& t : triangles) {
    NetTriangle& n = p->triangles[p->nTriangles++];
    n.face2D = int16_t(t.face);
    n.fragment = int16_t(t.fragment);
    std::copy(std::begin(t.v), std::end(t.v), n.vert2D);
  }
  const struct {
    int32_t id;
    uint16_t mode;
    std::vector<float> box;
  } cases[] = {
      {3, kBoxOfFace, {5, 6, 5, 7}},     {1, kBoxOfFragment, {0, 1, 0, 1}}, {0, kBoxOfAll, {0, 6, 0, 7}},
      {9, kBoxOfFace, {-1, -1, -1, -1}}, {0, 3, {-1, -1, -1, -1}},
  };
  for (const auto& c : cases) {
    float b[4] = {-1, -1, -1, -1};
    Find2DBoundingBoxSpecial(p.get(), &b[0], &b[1], &b[2], &b[3], c.id, c.mode);
    EXPECT_EQ(std::vector<float>(b, b + 4), c.box) << c.id << " mode " << c.mode;
  }
}

struct FitCase {
  const char* name;
  std::vector<Vertex> net;
  float target[4];  // xMin, xMax, yMin, yMax
};

TEST(NetFit, TheNetFillsTheTargetKeepingItsShape) {
  const FitCase cases[] = {
      {"wide net, square target", BoxOf(0, 0, 2, 1, 1), {0, 1, 0, 1}},
      {"tall net, wide target", BoxOf(-3, -1, -2, 4, 1), {0, 1, 0, 0.75f}},
      {"square net, tall target", BoxOf(5, 5, 6, 6, 1), {0, 1, 0, 2}},
      {"offset target", Join(BoxOf(0, 0, 1, 3, 1), BoxOf(1.2, 0, 2, 1, 2)), {-4, -1, 10, 12}},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(c.name);
    PolyPtr p = NewOwningPoly();
    PutVertices(p.get(), c.net);
    std::copy(std::begin(c.target), std::end(c.target), p->targetRect);
    float b[4];
    Find2DBoundingBox(p.get(), &b[0], &b[1], &b[2], &b[3]);
    CramPoints(p.get(), kCramFit);
    const float W = c.target[1] - c.target[0], H = c.target[3] - c.target[2];
    const float s = std::min(W / (b[1] - b[0]), H / (b[3] - b[2]));
    EXPECT_FLOAT_EQ(p->snugglingScale, s);
    float f[4];
    Find2DBoundingBox(p.get(), &f[0], &f[1], &f[2], &f[3]);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(f[k], p->netBounds[k], 1e-5) << k;
    // Inside, centred, one side filled, proportions kept.
    EXPECT_GE(f[0], c.target[0] - 1e-5f);
    EXPECT_LE(f[1], c.target[1] + 1e-5f);
    EXPECT_GE(f[2], c.target[2] - 1e-5f);
    EXPECT_LE(f[3], c.target[3] + 1e-5f);
    EXPECT_NEAR((f[0] + f[1]) / 2, (c.target[0] + c.target[1]) / 2, 1e-5);
    EXPECT_NEAR((f[2] + f[3]) / 2, (c.target[2] + c.target[3]) / 2, 1e-5);
    EXPECT_TRUE(std::fabs((f[1] - f[0]) - W) < 1e-5 || std::fabs((f[3] - f[2]) - H) < 1e-5);
    EXPECT_NEAR((f[1] - f[0]) / (f[3] - f[2]), (b[1] - b[0]) / (b[3] - b[2]), 1e-5);
    // The unit factor divides by the side the net fills.
    const bool fillsWidth = H / (b[3] - b[2]) > W / (b[1] - b[0]);
    EXPECT_FLOAT_EQ(p->unitScale[0], fillsWidth ? 1 / W : 1);
    EXPECT_FLOAT_EQ(p->unitScale[1], fillsWidth ? 1 : 1 / H);
    // The double net coordinates stay as they were.
    for (size_t i = 0; i < c.net.size(); ++i) EXPECT_EQ(p->coords2D[i][0], c.net[i].x);
  }
}

TEST(NetFit, TwoByOneIntoTheUnitSquare) {
  PolyPtr p = NewOwningPoly();
  PutVertices(p.get(), BoxOf(0, 0, 2, 1, 1));
  CramPoints(p.get(), kCramFit);
  EXPECT_FLOAT_EQ(p->snugglingScale, 0.5f);
  EXPECT_FLOAT_EQ(p->centre[0], 0.5f);
  EXPECT_FLOAT_EQ(p->centre[1], 0.5f);
  EXPECT_EQ((std::vector<float>(p->netBounds, p->netBounds + 4)), (std::vector<float>{0, 1, 0.25f, 0.75f}));
  EXPECT_FLOAT_EQ(p->unitScale[0], 1);
  EXPECT_FLOAT_EQ(p->unitScale[1], 1);
  EXPECT_FLOAT_EQ(p->crammedSize[0], 1);
  EXPECT_FLOAT_EQ(p->crammedSize[1], 0.5f);
}

TEST(NetFit, CramModeFitsIntoTheSquareAroundTheOrigin) {
  PolyPtr p = NewOwningPoly(0.75f);
  PutVertices(p.get(), BoxOf(0, 0, 2, 1, 1));
  p->cramMode = 1;
  CramPoints(p.get(), kCramFit);
  EXPECT_EQ((std::vector<float>(p->targetRect, p->targetRect + 4)), (std::vector<float>{-1, 1, -1, 1}));
  EXPECT_EQ((std::vector<float>(p->netBounds, p->netBounds + 4)), (std::vector<float>{-1, 1, -0.5f, 0.5f}));
}

TEST(NetFit, GivenBoundsReplaceTheMeasuredOnes) {
  PolyPtr p = NewOwningPoly();
  PutVertices(p.get(), BoxOf(0, 0, 1, 1, 1));
  p->cramMode2 = 1;
  const float given[4] = {-1, 3, -1, 1};  // a margin around the net
  std::copy(std::begin(given), std::end(given), p->cramBounds);
  CramPoints(p.get(), kCramFit);
  EXPECT_FLOAT_EQ(p->snugglingScale, 0.25f);
  EXPECT_FLOAT_EQ(p->verts2D[0].x, 0.25f);  // (0 - 1) / 4 + 0.5
  EXPECT_FLOAT_EQ(p->verts2D[1].x, 0.5f);
}

TEST(NetFit, AnEmptyGivenBoxFallsBackToTheMeasuredBounds) {
  // The empty box (999, -999, 999, -999) stands for "no bounds given"; taken
  // as bounds it would give a negative scale and turn the net over.
  PolyPtr p = NewOwningPoly();
  PutVertices(p.get(), BoxOf(0, 0, 2, 1, 1));
  p->cramMode2 = 1;
  const float empty[4] = {999, -999, 999, -999};
  std::copy(std::begin(empty), std::end(empty), p->cramBounds);
  CramPoints(p.get(), kCramFit);
  EXPECT_FLOAT_EQ(p->snugglingScale, 0.5f);
  EXPECT_EQ((std::vector<float>(p->netBounds, p->netBounds + 4)), (std::vector<float>{0, 1, 0.25f, 0.75f}));
}

TEST(NetFit, UnitModeOnlyResetsTheUnitFactors) {
  PolyPtr p = NewOwningPoly();
  PutVertices(p.get(), BoxOf(0, 0, 2, 1, 1));
  p->unitScale[0] = 7;
  p->unitScale[1] = 8;
  p->snugglingScale = 3;
  CramPoints(p.get(), kCramUnitOnly);
  EXPECT_FLOAT_EQ(p->unitScale[0], 1);
  EXPECT_FLOAT_EQ(p->unitScale[1], 1);
  EXPECT_FLOAT_EQ(p->snugglingScale, 3);
  EXPECT_FLOAT_EQ(p->verts2D[1].x, 2);
}

TEST(NetFit, PlannedModePlacesByThePlan) {
  PolyPtr p = NewOwningPoly();
  PutVertices(p.get(), BoxOf(0, 0, 2, 1, 1));
  p->plannedPlacement[0] = 1;
  p->plannedPlacement[1] = 0;
  p->plannedPlacement[2] = 0.25f;
  CramPoints(p.get(), kCramPlanned);
  EXPECT_FLOAT_EQ(p->snugglingScale, 0.25f);
  EXPECT_FLOAT_EQ(p->verts2D[0].x, 0.25f);  // (0 - 1) · 0.25 + 0.5
  EXPECT_FLOAT_EQ(p->verts2D[0].y, 0.5f);
  EXPECT_FLOAT_EQ(p->verts2D[1].x, 0.75f);
  EXPECT_FLOAT_EQ(p->verts2D[1].y, 0.75f);
  EXPECT_EQ((std::vector<float>(p->netBounds, p->netBounds + 4)), (std::vector<float>{0.25f, 0.75f, 0.5f, 0.75f}));
  EXPECT_FLOAT_EQ(p->crammedSize[0], 0);
  EXPECT_FLOAT_EQ(p->unitScale[0], 1);
  EXPECT_FLOAT_EQ(p->unitScale[1], 1);
}

TEST(NetFit, OtherModesOnlyMeasure) {
  PolyPtr p = NewOwningPoly();
  PutVertices(p.get(), BoxOf(0, 0, 2, 1, 1));
  p->snugglingScale = 3;
  CramPoints(p.get(), 7);
  EXPECT_FLOAT_EQ(p->crammedSize[0], 1);
  EXPECT_FLOAT_EQ(p->snugglingScale, 3);
  EXPECT_FLOAT_EQ(p->verts2D[1].x, 2);
}

TEST(NetFit, NetsWithoutAreaStayFinite) {
  const struct {
    const char* name;
    std::vector<Vertex> net;
    float scale;
  } cases[] = {
      {"no vertices", {}, 1},
      {"one point", {{3, 4, 1}}, 1},
      {"a horizontal line", BoxOf(0, 2, 4, 2, 1), 0.25f},
      {"a vertical line", BoxOf(1, 0, 1, 2, 1), 0.5f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PolyPtr p = NewOwningPoly();
    PutVertices(p.get(), c.net);
    CramPoints(p.get(), kCramFit);
    EXPECT_FLOAT_EQ(p->snugglingScale, c.scale);
    for (size_t i = 0; i < c.net.size(); ++i) {
      EXPECT_TRUE(std::isfinite(p->verts2D[i].x) && std::isfinite(p->verts2D[i].y));
      EXPECT_NEAR(p->verts2D[i].x, 0.5, 0.5 + 1e-6);
      EXPECT_NEAR(p->verts2D[i].y, 0.5, 0.5 + 1e-6);
    }
  }
}

TEST(NetFit, AnUnfoldedNetFitsItsPicture) {
  PolyPtr p = NewOwningPoly(0.75f);
  BuildTruncatedIcosahedron(p.get());
  Build2DNet(p.get());
  p->n2DVerts = FindHighest2DVert(p.get()) + 1;
  for (int32_t v = 0; v < p->n2DVerts; ++v) {
    p->verts2D[v].x = float(p->coords2D[v][0]);
    p->verts2D[v].y = float(p->coords2D[v][1]);
  }
  CramPoints(p.get(), kCramFit);
  for (int32_t v = 0; v < p->n2DVerts; ++v) {
    if (!p->vert2DUsed[v]) continue;
    EXPECT_GE(p->verts2D[v].x, -1e-5f);
    EXPECT_LE(p->verts2D[v].x, 1 + 1e-5f);
    EXPECT_GE(p->verts2D[v].y, -1e-5f);
    EXPECT_LE(p->verts2D[v].y, 0.75f + 1e-5f);
  }
  EXPECT_NEAR((p->netBounds[0] + p->netBounds[1]) / 2, 0.5, 1e-5);
  EXPECT_NEAR((p->netBounds[2] + p->netBounds[3]) / 2, 0.375, 1e-5);
}

}  // namespace
