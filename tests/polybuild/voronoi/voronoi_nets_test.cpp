// Voronoi solids as the catalogue hands them on: built by shape code and
// unfolded. Every solid face is shown once, every net edge as long as its
// solid edge, and for the shapes that are output modes no two net faces
// overlap. Net points are single precision, so lengths agree to float
// rounding and faces sharing an edge may cross it by an ulp or so.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "polyhedron/catalogue.h"
#include "polyhedron/polyhedron.h"
#include "polyhedron/polyhedron_access.h"
#include "support/poly_fixture.h"
#include "voronoi_checks.h"
// Polygon helpers of the polyhedron tests' net checks.
#include "tests/polyhedron/net_checks.h"

namespace {

constexpr double kLengthTolerance = 1e-5;
constexpr double kOverlapTolerance = 1e-5;

struct Box {
  double x0, y0, x1, y1;
};

Box Bounds(const Polygon2D& p) {
  Box b{1e30, 1e30, -1e30, -1e30};
  for (auto [x, y] : p) {
    b.x0 = std::min(b.x0, x);
    b.y0 = std::min(b.y0, y);
    b.x1 = std::max(b.x1, x);
    b.y1 = std::max(b.y1, y);
  }
  return b;
}

double SolidEdge(const polyhedron* p, int32_t a, int32_t b) {
  double pa[3], pb[3];
  grab_coordinates3D_into_vector3D(a, p, pa);
  grab_coordinates3D_into_vector3D(b, p, pb);
  return std::hypot(pa[0] - pb[0], pa[1] - pb[1], pa[2] - pb[2]);
}

class VoronoiNet : public testing::TestWithParam<int32_t> {};

TEST_P(VoronoiNet, UnfoldsCongruentWithoutOverlaps) {
  const int32_t code = GetParam();
  PolyPtr p = NewPoly();
  WipeFaceInfo(p.get());
  ReadFaceInfo(p.get(), code, 0, nullptr, 1);
  ASSERT_EQ(p->errorCode, 0);
  ASSERT_GT(p->n2DFaces, 0);
  EXPECT_TRUE(SolidIsClosed(p.get()));

  std::vector<int32_t> shown(size_t(p->n3DFaces), 0);
  double worstLength = 0;
  for (int32_t j = 0; j < p->n2DFaces; ++j) {
    const PolyFace& f = p->faces[j];
    ASSERT_GE(f.face3D, 0) << "net face " << j;
    ++shown[size_t(f.face3D)];
    const PolyFace& g = p->faces[f.face3D];
    ASSERT_EQ(f.n2D, g.n3D);
    for (int32_t e = 0; e < f.n2D; ++e) {
      double x0, y0, x1, y1;
      grab_coordinates2DD(f.vert2D[e], p.get(), &x0, &y0);
      grab_coordinates2DD(f.vert2D[(e + 1) % f.n2D], p.get(), &x1, &y1);
      const int32_t a = g.vert3D[(e + f.cornerOffset) % g.n3D], b = g.vert3D[(e + 1 + f.cornerOffset) % g.n3D];
      worstLength = std::max(worstLength, std::fabs(std::hypot(x1 - x0, y1 - y0) - SolidEdge(p.get(), a, b)));
    }
  }
  EXPECT_LT(worstLength, kLengthTolerance);
  EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](int32_t n) { return n == 1; }))
      << "every solid face once in the net";

  // Shapes 181-200 are only the solids the Truchet duals are made from; the
  // output modes are 151-160.
  if (code > 160) return;
  std::vector<Polygon2D> polygons;
  std::vector<Box> boxes;
  for (int32_t j = 0; j < p->n2DFaces; ++j) {
    polygons.push_back(NetFacePolygon(p.get(), j));
    boxes.push_back(Bounds(polygons.back()));
  }
  double worst = 0;
  for (size_t a = 0; a < polygons.size(); ++a)
    for (size_t b = a + 1; b < polygons.size(); ++b) {
      if (boxes[a].x1 < boxes[b].x0 || boxes[b].x1 < boxes[a].x0 || boxes[a].y1 < boxes[b].y0 ||
          boxes[b].y1 < boxes[a].y0)
        continue;
      worst = std::max(worst, ConvexOverlapArea(polygons[a], polygons[b]));
    }
  EXPECT_LT(worst, kOverlapTolerance);
}

std::vector<int32_t> Codes() {
  std::vector<int32_t> codes;
  for (int32_t c = 151; c <= 160; ++c) codes.push_back(c);
  for (int32_t c = 181; c <= 200; ++c) codes.push_back(c);
  return codes;
}

INSTANTIATE_TEST_SUITE_P(AllCodes, VoronoiNet, testing::ValuesIn(Codes()));

}  // namespace
