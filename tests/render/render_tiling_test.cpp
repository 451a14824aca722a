// The skewed tiling (output mode 64) reads its net at points sheared and
// wrapped into the net's box, wherever the output row lies: its row set-up
// keeps every triangle, as the poly-map's does, where other nets keep only
// the triangles near the row.
#include <gtest/gtest.h>

#include <set>

#include "frame/globals.h"
#include "frame/base/task_pool.h"
#include "polyhedron/polyhedron_record.h"
#include "projection/render_hint.h"
#include "projection/task_record.h"
#include "render/rows/inverse_mapping.h"
#include "render/rows/column_record.h"
#include "render/rows/scanline_setup.h"
#include "render/view_build.h"
#include "render/vort.h"
#include "support/row_render_harness.h"

namespace {

constexpr int32_t kCubeNetMode = 7;
constexpr int32_t kTilingMode = 64;
constexpr int32_t kPolyMapMode = 1045;

int32_t FaceTriangles(const polyhedron& p) {
  int32_t n = 0;
  for (int32_t t = 0; t < p.nTriangles; ++t) n += p.triangles[t].isTab ? 0 : 1;
  return n;
}

// Kept face triangles of the band of `row` when the view is read as `mode`.
int32_t KeptInBand(RowRenderHarness& h, vort* view, int32_t mode, int32_t row) {
  view->outputMode = mode;
  PerTaskStuffType& task = h.globals()->taskRecords[0];
  task.outputHint.outputMode = mode;
  task.outputHint.band = kNoBand;
  DoOncePerScanlineSetup(h.globals(), view, row);
  return task.outputHint.faceCount;
}

TEST(SkewedTiling, EveryBandKeepsTheWholeNet) {
  RowRenderHarness h(64, 64, 1);
  h.Settings()->outputMode = kCubeNetMode;
  ASSERT_TRUE(h.PaintInput([](int, int, float c[4]) { c[0] = c[1] = c[2] = 0.5f; }));
  vort view{};
  ASSERT_EQ(BuildPrimaryView(h.globals(), &view), ViewBuild_OK);
  ASSERT_TRUE(view.polyhedron->bandCulling);
  const int32_t all = FaceTriangles(*view.polyhedron);
  int32_t fewerForTheNet = 0;
  for (int32_t row : {0, 16, 40, 63}) {
    EXPECT_EQ(KeptInBand(h, &view, kTilingMode, row), all) << "row " << row;
    EXPECT_EQ(KeptInBand(h, &view, kPolyMapMode, row), all) << "row " << row;
    fewerForTheNet += KeptInBand(h, &view, kCubeNetMode, row) < all;
  }
  EXPECT_GT(fewerForTheNet, 0) << "the plain net is culled by bands";
}

// The tetrahedron's tile repeats without a gap: every point of the output,
// row band after row band, lands on a face of the net; an anamorphic tiling
// is bent at the sphere point like the flat maps.
TEST(SkewedTiling, TheTileCoversTheWholeOutput) {
  RowRenderHarness h(64, 64, 1);
  h.Settings()->outputMode = kTilingMode;
  h.Settings()->viewAngle = 40.0f;
  ASSERT_TRUE(h.PaintInput([](int, int, float c[4]) { c[0] = c[1] = c[2] = 0.5f; }));
  vort view{};
  ASSERT_EQ(BuildPrimaryView(h.globals(), &view), ViewBuild_OK);
  EXPECT_EQ(view.renderKind, 0);
  PerTaskStuffType* task = &h.globals()->taskRecords[0];
  constexpr int kSteps = 96;
  int32_t misses = 0;
  std::set<int32_t> faces;
  TransformationReply reply{};
  for (int j = 0; j < kSteps; ++j) {
    DoOncePerScanlineSetup(h.globals(), &view, j * 64 / kSteps);
    for (int i = 0; i < kSteps; ++i) {
      CrazyDoSolarRect((i + 0.5f) / kSteps, (j + 0.5f) / kSteps, view, &reply, task);
      if (reply.regionCode == kRegionNothing || reply.regionCode == kRegionColorA) ++misses;
      if (reply.faceRegion >= 0) faces.insert(reply.faceRegion);
    }
  }
  EXPECT_EQ(misses, 0);
  EXPECT_EQ(int32_t(faces.size()), view.polyhedron->n2DFaces) << "every face of the tile shows";

  h.Settings()->anamorphic = 1;
  ASSERT_EQ(BuildPrimaryView(h.globals(), &view), ViewBuild_OK);
  EXPECT_EQ(view.renderKind, 1);
}

}  // namespace
