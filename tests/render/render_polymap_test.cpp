// The equirectangular map of a solid (output mode 1045): every direction of
// the sphere is cast as a ray from the solid's centre and shows the face it
// meets, in false colours.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/nets/net_projection_lists.h"
#include "projection/sphere_convention.h"
#include "projection/task_record.h"
#include "render/rows/column_record.h"
#include "render/rows/inverse_mapping.h"
#include "render/view_build.h"
#include "render/vort.h"
#include "support/row_render_harness.h"

namespace {

constexpr int32_t kPolyMap = 1045;
constexpr int32_t kAllFacegroups = -1;
constexpr int kSteps = 64;

struct PolyMapHost : RowRenderHarness {
  explicit PolyMapHost(int32_t solidMode) : RowRenderHarness(64, 32, 1) {
    Settings()->outputMode = kPolyMap;
    Settings()->altOutputMode = solidMode;
    EXPECT_TRUE(PaintInput([](int, int, float c[4]) { c[0] = c[1] = c[2] = 0.5f; }));
  }
  ViewBuildStatus Build() {
    const ViewBuildStatus s = BuildPrimaryView(host.globals, &view);
    // The map's lists are never culled: every triangle, as the row set-up
    // gives them for this mode.
    if (s == ViewBuild_OK)
      PrepareShortTriList(view.polyhedron, 0.0f, 0.0f, kAllFacegroups, 0.0f, &Task()->outputHint, 0.0f, 0.0f, false);
    return s;
  }
  PerTaskStuffType* Task() { return &host.globals->taskRecords[0]; }
  vort view{};
  TransformationReply reply{};
};

double Dot(const double a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Plain solids, a warped conformal net, the petal solid of a floret and the
// solid whose faces the view supplies:
// each closed, so every direction meets exactly the face it points at.
TEST(PolyMap, EveryDirectionShowsTheFaceItPointsAt) {
  for (int32_t solidMode : {6, 7, 9, 27, 30, 156, 1046}) {
    PolyMapHost h(solidMode);
    ASSERT_EQ(h.Build(), ViewBuild_OK) << solidMode;
    EXPECT_EQ(h.view.legoMode, 2) << solidMode;
    EXPECT_EQ(h.view.falseColors, 1) << solidMode;
    EXPECT_EQ(h.view.isPolyhedral, 1) << solidMode;
    const polyhedron& poly = *h.view.polyhedron;
    std::set<int32_t> faces;
    int32_t misses = 0, wrongSide = 0;
    for (int j = 0; j < kSteps; ++j)
      for (int i = 0; i < kSteps; ++i) {
        const float u = (i + 0.5f) / kSteps, v = (j + 0.5f) / kSteps;
        CrazyDoSolarRect(u, v, h.view, &h.reply, h.Task());
        if (h.reply.regionCode < 0) {
          ++misses;
          continue;
        }
        EXPECT_EQ(h.reply.regionCode, h.reply.faceRegion) << solidMode;
        EXPECT_EQ(h.reply.inputU, -1.0f) << solidMode << ": a false-coloured face needs no input";
        faces.insert(h.reply.faceRegion);
        float dir[3];
        RectangularToSpherical(u, v, dir);
        const NetTriangle& t = poly.triangles[h.Task()->outputHint.lastFace];
        double centre[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k)
          for (int c = 0; c < 3; ++c) centre[c] += t.corner3D[k][c] / 3.0;
        if (Dot(centre, dir) <= 0.0) ++wrongSide;
        // The hint holds the point where the direction meets the face.
        const triplex& hitPoint = h.Task()->outputHint.barycentrics;
        const double along = hitPoint.x * dir[0] + hitPoint.y * dir[1] + hitPoint.z * dir[2];
        const double len = std::sqrt(hitPoint.x * hitPoint.x + hitPoint.y * hitPoint.y + hitPoint.z * hitPoint.z);
        EXPECT_NEAR(along, len, 1e-5 * len) << solidMode;
      }
    EXPECT_EQ(misses, 0) << solidMode;
    EXPECT_EQ(wrongSide, 0) << solidMode;
    EXPECT_GE(int32_t(faces.size()), std::min(poly.n3DFaces, 4)) << solidMode;
  }
}

// The map turns with the view: a quarter spin moves every face a quarter of
// the map's width along the equator.
TEST(PolyMap, TheMapTurnsWithTheView) {
  PolyMapHost plain(6), turned(6);
  turned.Settings()->twirlSpin = 90.0f;
  ASSERT_EQ(plain.Build(), ViewBuild_OK);
  ASSERT_EQ(turned.Build(), ViewBuild_OK);
  int32_t same = 0, differ = 0;
  for (int i = 0; i < kSteps; ++i) {
    const float u = (i + 0.5f) / kSteps;
    CrazyDoSolarRect(u, 0.5f, plain.view, &plain.reply, plain.Task());
    const int32_t a = plain.reply.faceRegion;
    CrazyDoSolarRect(u, 0.5f, turned.view, &turned.reply, turned.Task());
    (a == turned.reply.faceRegion ? same : differ)++;
  }
  EXPECT_GT(differ, kSteps / 4) << "the spin turns the solid under the map";
}

TEST(PolyMap, AModeWithoutASolidIsRefused) {
  for (int32_t mode : {1, 14, 1045}) {
    PolyMapHost h(mode);
    EXPECT_EQ(h.Build(), ViewBuild_PolyMapNeedsSolid) << mode;
  }
  EXPECT_NE(std::string(ViewBuildStatusMessage(ViewBuild_PolyMapNeedsSolid)), "");
}

}  // namespace
