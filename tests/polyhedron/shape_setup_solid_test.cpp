// The output modes that show the exact and purpose-made static shapes,
// built whole by the set-up as the view, the export layout and the model
// writer build them: every net face cut into triangles that carry points of
// the solid, and no two face triangles of the fitted net overlapping (glue
// tabs may reach over a neighbour at a reflex corner of the outline, and
// origami corner marks lie on the corners by design).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "net_checks.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/polyhedron.h"
#include "sphere_net_checks.h"

namespace {

struct Deleter {
  void operator()(polyhedron* p) const {
    DumpPolyStorage(p, nullptr);
    delete p;
  }
};
using Record = std::unique_ptr<polyhedron, Deleter>;

Record Built(int32_t mode, int32_t method) {
  Record p(new polyhedron());
  NullifyPolyStorage(p.get());
  InitPoly(p.get(), 0.5f, 0.02f);
  DarOzoPolySetup(mode, p.get(), 0.5f, 0.02f, method == 3 ? 1 : 0, 0.0f, method, nullptr, 1);
  return p;
}

Polygon2D TrianglePolygon(const polyhedron* p, const NetTriangle& t) {
  Polygon2D q;
  for (int32_t k = 0; k < 3; ++k) q.emplace_back(p->verts2D[t.vert2D[k]].x, p->verts2D[t.vert2D[k]].y);
  if (SignedArea2(q) < 0) std::reverse(q.begin(), q.end());
  return q;
}

struct ModeCase {
  int32_t mode;
  int32_t shape;
};
// Balloon, paperlock, spikeball, dodo, GID, box, conformal dodecahedron.
const ModeCase kModes[] = {{41, 10}, {42, 11}, {44, 13}, {54, 20}, {55, 21}, {86, 29}, {168, 70}};

class SolidModeSetup : public testing::TestWithParam<int32_t> {};

TEST_P(SolidModeSetup, NetTrianglesShowTheSolidAndLieApart) {
  const int32_t method = GetParam();
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + ", net method " + std::to_string(method));
    Record p = Built(c.mode, method);
    EXPECT_EQ(p->shapeCode, c.shape);
    EXPECT_EQ(p->errorCode, kPolyErrorNone);
    int32_t expected = 0;
    for (int32_t f = 0; f < p->n2DFaces; ++f) expected += std::max(p->faces[f].n2D - 2, 0);
    std::vector<Polygon2D> faces;
    for (int32_t t = 0; t < p->nTriangles; ++t) {
      const NetTriangle& tri = p->triangles[t];
      if (tri.isTab) continue;
      faces.push_back(TrianglePolygon(p.get(), tri));
      // Each corner carries a point of the solid (the paperlock's sheet
      // points have y from 0 to 1, every other solid lies round the centre).
      for (int32_t k = 0; k < 3; ++k) {
        const double* q = tri.corner3D[k];
        EXPECT_GT(std::abs(q[0]) + std::abs(q[1]) + std::abs(q[2]), 1e-3) << "triangle " << t;
      }
      EXPECT_GT(std::abs(SignedArea2(faces.back())), 1e-9) << "triangle " << t;
    }
    EXPECT_EQ(int32_t(faces.size()), expected);
    double area = 0;
    for (const Polygon2D& q : faces) area += SignedArea2(q) / 2;
    // Overlaps are measured against the net's own size.
    const double tolerance = 1e-6 * area;
    for (size_t a = 0; a < faces.size(); ++a) {
      for (size_t b = a + 1; b < faces.size(); ++b)
        EXPECT_LT(ConvexOverlapArea(faces[a], faces[b]), tolerance) << "triangles " << a << " and " << b;
    }
  }
}

// The view (glued, with tabs), the export layout (a tab on each glued edge)
// and the model writer (no tabs).
INSTANTIATE_TEST_SUITE_P(ViewExportAndModel, SolidModeSetup, testing::Values(1, 3, 6));

// The conformal dodecahedron draws the glue tabs of the dodecahedron's net,
// which is its own outline.
TEST(SolidModeSetup, ConformalDodecahedronBorrowsTheDodecahedronsTabs) {
  Record cut = Built(168, 1), whole = Built(9, 1);
  int32_t cutTabs = 0, wholeTabs = 0;
  for (int32_t t = 0; t < cut->nTriangles; ++t) cutTabs += cut->triangles[t].isTab;
  for (int32_t t = 0; t < whole->nTriangles; ++t) wholeTabs += whole->triangles[t].isTab;
  EXPECT_GT(wholeTabs, 0);
  EXPECT_EQ(cutTabs, wholeTabs);
}

// Every net shows the sphere the same way round as the icosahedron's net
// matched to its solid, none a mirror image: the balloon's solid is stored
// mirrored for its mirror flip, and the paperlock's sheet lies in its net
// mirrored for the same reason.
TEST(SolidModeSetup, NetsShowTheSphereTheWayTheMatchedNetsDo) {
  // Judged over every face triangle, tabs skipped wherever they lie, close
  // round the middle of each; the records made as the view makes them.
  const auto handedness = [](int32_t code, int16_t method) {
    const PolyPtr p = SetUpShape(code, method, 0.5f);
    return NetHandedness(p.get(), p->nTriangles, kMiddleProbe);
  };
  const int32_t want = handedness(17, 6);
  ASSERT_NE(want, 0);
  const struct {
    int32_t shape;
    int16_t method;
  } cases[] = {{10, 0}, {11, 0}, {13, 1}, {15, 0}, {20, 1}, {21, 1}, {29, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape));
    EXPECT_EQ(handedness(c.shape, c.method), want);
  }
}

}  // namespace
