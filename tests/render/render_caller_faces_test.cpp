// Output mode 1046 draws the one shape whose faces its caller supplies: the
// set-up fills the catalogue's four empty face slots with a regular
// tetrahedron and unfolds it into one connected net, for the view and for
// every other build of the shape.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "frame/globals.h"
#include "polyhedron/catalogue.h"
#include "polyhedron/polyhedron_record.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "support/poly_fixture.h"
#include "render/view_build.h"
#include "render/vort.h"
#include "support/row_render_harness.h"

namespace {

constexpr int32_t kCallerFacedMode = 1046;

struct SolidHost : RowRenderHarness {
  SolidHost() : RowRenderHarness(64, 32, 1) {
    Settings()->outputMode = kCallerFacedMode;
    EXPECT_TRUE(PaintInput([](int, int, float c[4]) { c[0] = c[1] = c[2] = 0.5f; }));
  }
  ViewBuildStatus Build() { return BuildPrimaryView(host.globals, &view); }
  vort view{};
};

double Length2D(const polyhedron& p, int32_t a, int32_t b) {
  return std::hypot(double(p.verts2D[a].x) - p.verts2D[b].x, double(p.verts2D[a].y) - p.verts2D[b].y);
}

// The builds of the exports (no tabs, the computed net) and of the shape by
// its code get the same four faces as the view.
TEST(CallerFaces, EveryBuildOfTheShapeGetsItsFaces) {
  PolyPtr byMode = NewPoly(0.5f);
  DarOzoPolySetup(kCallerFacedMode, byMode.get(), 0.5f, 0.0f, 0, 0.0f, kNetMethodComputed, nullptr, 1);
  PolyPtr byCode = NewPoly(1.0f);
  SetUpReallyGeneralPolyhedron(byCode.get(), kShapeCodeCallerFaces, kNetMethodGlued, 0, 0.3, nullptr, 1);
  for (const polyhedron* p : {byMode.get(), byCode.get()}) {
    EXPECT_EQ(p->errorCode, kPolyErrorNone);
    EXPECT_EQ(p->n3DFaces, 4);
    EXPECT_EQ(p->n3DVerts, 4);
    EXPECT_EQ(p->n2DFaces, 4);
    EXPECT_GE(p->nTriangles, 4);
  }
}

// Four equilateral faces on four corners of the unit sphere, six edges
// (Euler: 4 - 6 + 4 = 2), one net piece whose triangles all have the same
// side, and the same solid again when the view is built a second time from
// the set-up's cache.
TEST(CallerFaces, TheViewSuppliesARegularTetrahedron) {
  SolidHost h;
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  const polyhedron& p = *h.view.polyhedron;
  EXPECT_EQ(p.shapeCode, kShapeCodeCallerFaces);
  EXPECT_EQ(p.n3DFaces, 4);
  EXPECT_EQ(p.n3DVerts, 4);
  EXPECT_EQ(p.n2DFaces, 4);
  EXPECT_EQ(p.fragmentCount, 1);
  std::set<std::pair<int32_t, int32_t>> edges;
  for (int32_t f = 0; f < p.n3DFaces; ++f) {
    ASSERT_EQ(p.faces[f].n3D, 3) << f;
    for (int32_t k = 0; k < 3; ++k) {
      const int32_t a = p.faces[f].vert3D[k], b = p.faces[f].vert3D[(k + 1) % 3];
      edges.insert({std::min(a, b), std::max(a, b)});
      const double* v = p.coords3D[a];
      EXPECT_NEAR(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 1.0, 1e-12);
    }
  }
  EXPECT_EQ(edges.size(), 6u);
  const int32_t first = p.faces[0].vert2D[0], second = p.faces[0].vert2D[1];
  const double side = Length2D(p, first, second);
  EXPECT_GT(side, 0.01);
  for (int32_t f = 0; f < p.n2DFaces; ++f) {
    ASSERT_EQ(p.faces[f].n2D, 3) << f;
    for (int32_t k = 0; k < 3; ++k)
      EXPECT_NEAR(Length2D(p, p.faces[f].vert2D[k], p.faces[f].vert2D[(k + 1) % 3]), side, 2e-5 * side) << f;
  }
  const int32_t triangles = p.nTriangles;
  EXPECT_GE(triangles, 4);
  ASSERT_EQ(h.Build(), ViewBuild_OK);
  EXPECT_EQ(h.view.polyhedron->nTriangles, triangles);
  EXPECT_EQ(h.view.polyhedron->n3DFaces, 4);
}

}  // namespace
