// The export-layer renderers called on their own: the cube's fixed turns
// whatever the user's, a one-row layer that never polls for abort, a face
// group drawn alone, and no work without a canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "export/layer_renderers.h"
#include "frame/export_layer.h"
#include "frame/render_passes.h"
#include "frame/globals.h"
#include "export/psd/psd_doc.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/nets/fragment_layout.h"
#include "support/poly_fixture.h"
#include "polyhedron/polyhedron_record.h"
#include "export_host.h"
#include "pyramid/pyramid_copy.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"

namespace {

TEST(LayerRenderers, CubeTurnsAreFixedByFace) {
  const struct {
    int32_t layer;
    float x, y, spin;
  } cases[] = {{1, -90, -90, -90}, {2, 90, 90, -90}, {3, 0, -90, 0}, {4, 0, 180, 0},
               {5, 0, 90, 0},      {6, 0, 0, 0},      {0, -90, -90, -90}, {9, 0, 0, 0}};
  for (const auto& c : cases) {
    const CubeFaceTurn t = CubeFaceTurnOf(c.layer);
    EXPECT_EQ(t.twirlX, c.x) << c.layer;
    EXPECT_EQ(t.twirlY, c.y) << c.layer;
    EXPECT_EQ(t.twirlSpin, c.spin) << c.layer;
  }
}

struct OpenHost {
  OpenHost() : host(64, 32) {
    EXPECT_EQ(host.Call(kSelectorPrepare), 0);
    g = host.OpenInvocation();
  }
  ~OpenHost() {
    DisposePyramidData(&g->storage->exportCanvasPyramid);
    host.CloseInvocation();
  }
  PyramidDescriptor* Canvas(int w, int h) {
    PyramidDescriptor* c = &g->storage->exportCanvasPyramid;
    EXPECT_TRUE(TryToAllocatePyramid_2006(c, w, h, PyramidDataKind_Packed8, 0));
    return c;
  }
  ExportHost host;
  Globals* g = nullptr;
};

TEST(LayerRenderers, OneRowLayerRendersWithoutPolling) {
  OpenHost o;
  o.host.abortAfterPolls = 0;  // any poll would cancel
  o.host.Settings()->outputMode = 7;
  PyramidDescriptor* canvas = o.Canvas(40, 1);
  PyramidDescriptor pattern{};
  ASSERT_TRUE(TryToAllocatePyramid_2006(&pattern, 40, 1, PyramidDataKind_Packed8, 0));
  PaintTestPattern(&pattern);
  uint8_t cancelled = 0;
  GenerateOneLayerOfCube(o.g, canvas, 6, &cancelled);
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(o.g->result, 0);
  int changed = 0;
  for (int x = 0; x < 40; ++x) {
    int32_t a[4], b[4];
    get_pyramid_sample_point4(x, 0, canvas, 0, &a[0], &a[1], &a[2], &a[3]);
    get_pyramid_sample_point4(x, 0, &pattern, 0, &b[0], &b[1], &b[2], &b[3]);
    changed += a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
  }
  DisposePyramidData(&pattern);
  EXPECT_GT(changed, 20) << "the row was rendered over the test pattern";
  EXPECT_EQ(o.host.Settings()->outputMode, 7) << "the settings are put back";
}

// Each group of the cube's net is drawn alone, where the export plan put
// it: after planning (as the writer plans before its first layer), every
// group's box is centred on the page, and a group covers only part of it.
TEST(LayerRenderers, FaceGroupsAreDrawnOneAtATimeAtTheirPlannedPlace) {
  OpenHost o;
  TParameters* p = o.host.Settings();
  p->outputMode = 7;
  p->exportKind = 2;
  p->facesExportSize = 64;
  PSDdoc doc{};
  GrabPSDMetrics(o.g, &doc);
  ASSERT_EQ(doc.layerCount, 6);
  const int w = doc.width, h = doc.height;
  ASSERT_EQ(std::max(w, h), 64);
  PyramidDescriptor* canvas = o.Canvas(w, h);
  polyhedron* poly = &o.g->storage->outputPolyhedron;
  for (int layer : {1, 2, 6}) {
    SCOPED_TRACE(layer);
    PaintLevelSolidColor(canvas, 0, 0, 0, 0, 0);
    uint8_t cancelled = 0;
    GenerateOneLayerOfExportFaces(o.g, canvas, layer, &cancelled);
    EXPECT_EQ(poly->unfoldingIndex, -1);
    int x0 = w, y0 = h, x1 = -1, y1 = -1, covered = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int32_t c[4];
        get_pyramid_sample_point4(x, y, canvas, 0, &c[0], &c[1], &c[2], &c[3]);
        if (c[3] == 0) continue;
        ++covered;
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
    ASSERT_GT(covered, w * h / 4) << "the group is drawn at the plan's scale";
    // The first group has no glue tabs of its own: its square alone leaves
    // the page's margins bare.
    if (layer == 1) EXPECT_LT(covered, w * h * 3 / 4) << "one group, not the whole net";
    EXPECT_NEAR((x0 + x1) / 2.0, (w - 1) / 2.0, 1.0);
    EXPECT_NEAR((y0 + y1) / 2.0, (h - 1) / 2.0, 1.0);
  }
}

// The dodecahedron's groups (pentagons with glue tabs) change their box
// with every turn: each layer's drawn box is the planned group's box, turned
// by its planned angle and scaled by the plan's common scale.
TEST(LayerRenderers, FaceGroupsAreDrawnAtTheirPlannedTurnAndScale) {
  constexpr int32_t kDodecahedron = 9;
  OpenHost o;
  TParameters* p = o.host.Settings();
  p->outputMode = kDodecahedron;
  p->exportKind = 2;
  p->facesExportSize = 160;
  PSDdoc doc{};
  GrabPSDMetrics(o.g, &doc);
  ASSERT_EQ(doc.layerCount, 12);
  const int w = doc.width, h = doc.height;
  PyramidDescriptor* canvas = o.Canvas(w, h);
  const InvocationStorage* s = o.g->storage;
  // The planner's own build of each group, to measure its box at its angle.
  PolyPtr scratch = NewPoly();
  const float tabDepth = p->tabSize * 0.005f;
  for (int layer : {1, 2, 7, 12}) {
    SCOPED_TRACE(layer);
    const int32_t k = layer - 1;
    scratch->unfoldingIndex = k;
    DarOzoPolySetup(kDodecahedron, scratch.get(), 1.0f, tabDepth, 1, s->crammedAngle[k], 3, nullptr, 1);
    float bx0 = 0, bx1 = 0, by0 = 0, by1 = 0;
    Find2DBoundingBoxSpecial(scratch.get(), &bx0, &bx1, &by0, &by1, k, kBoxOfFace);
    const double wantW = (bx1 - bx0) * s->crammedScale * w, wantH = (by1 - by0) * s->crammedScale * w;

    PaintLevelSolidColor(canvas, 0, 0, 0, 0, 0);
    uint8_t cancelled = 0;
    GenerateOneLayerOfExportFaces(o.g, canvas, layer, &cancelled);
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int32_t c[4];
        get_pyramid_sample_point4(x, y, canvas, 0, &c[0], &c[1], &c[2], &c[3]);
        if (c[3] != 0) x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
    ASSERT_GE(x1, x0);
    EXPECT_NEAR(x1 - x0 + 1, wantW, 2.5);
    EXPECT_NEAR(y1 - y0 + 1, wantH, 2.5);
  }
}

// An export layer is drawn from the image already read into the pyramid and
// written into the canvas: a host that hands over no buffers while it runs
// must not stop it.
TEST(LayerRenderers, AnExportNeedsNoHostBuffers) {
  OpenHost o;
  o.host.Settings()->outputMode = 7;
  MaybeAllocatePyramids(o.g);
  ASSERT_EQ(o.g->result, 0);
  o.host.deliverData = false;
  o.host.record.inData = o.host.record.outData = nullptr;
  PyramidDescriptor* canvas = o.Canvas(64, 32);
  uint8_t cancelled = 0;
  GenerateOneLayerOfBasicResult(o.g, canvas, 0, &cancelled);
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(o.g->result, 0);
  int changed = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) {
      int32_t a[4], b[4];
      get_pyramid_sample_point4(x, y, canvas, 0, &a[0], &a[1], &a[2], &a[3]);
      get_pyramid_sample_point4(x, y, &o.g->pyramids[kPyramidMain], 0, &b[0], &b[1], &b[2], &b[3]);
      changed += a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
    }
  EXPECT_GT(changed, 64 * 32 / 4) << "the layer was rendered over the unfiltered image";
}

TEST(LayerRenderers, NothingWithoutACanvas) {
  OpenHost o;
  uint8_t cancelled = 0;
  GenerateOneLayerOfCube(o.g, nullptr, 1, &cancelled);
  GenerateOneLayerOfExportFaces(o.g, nullptr, 1, &cancelled);
  GenerateOneLayerOfEquiPolyMap(o.g, nullptr, 1, &cancelled);
  EXPECT_EQ(cancelled, 0);
}

}  // namespace
