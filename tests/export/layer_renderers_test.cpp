// The export-layer renderers called on their own: the cube's fixed turns
// whatever the user's, a one-row layer that never polls for abort, a face
// group drawn alone, and no work without a canvas.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "export/layer_renderers.h"
#include "frame/export_layer.h"
#include "frame/render_passes.h"
#include "frame/globals.h"
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

// Each group of the cube's net is drawn alone: the layers of two groups
// cover different pixels.
TEST(LayerRenderers, FaceGroupsAreDrawnOneAtATime) {
  OpenHost o;
  TParameters* p = o.host.Settings();
  p->outputMode = 7;
  PyramidDescriptor* canvas = o.Canvas(64, 64);
  std::vector<uint8_t> covered[2];
  for (int layer : {1, 2}) {
    PaintLevelSolidColor(canvas, 0, 0, 0, 0, 0);
    uint8_t cancelled = 0;
    GenerateOneLayerOfExportFaces(o.g, canvas, layer, &cancelled);
    EXPECT_EQ(o.g->storage->outputPolyhedron.unfoldingIndex, -1);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        int32_t c[4];
        get_pyramid_sample_point4(x, y, canvas, 0, &c[0], &c[1], &c[2], &c[3]);
        covered[layer - 1].push_back(c[3] > 0);
      }
  }
  size_t both = 0, first = 0, second = 0;
  for (size_t i = 0; i < covered[0].size(); ++i) {
    first += covered[0][i];
    second += covered[1][i];
    both += covered[0][i] && covered[1][i];
  }
  EXPECT_GT(first, 0u);
  EXPECT_GT(second, 0u);
  EXPECT_LT(both, first / 4) << "two groups barely overlap";
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
