// The layered exports that rest on this folder's writers, through the save
// dispatcher in a real invocation: the brick plan (one 217 x 217 layer per
// layer of a 20-layer ball) and the equirectangular polyhedron map.
#include <gtest/gtest.h>

#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/render_passes.h"
#include "frame/save_dispatch.h"
#include "model_scratch.h"
#include "support/driver_host.h"

using namespace models_test;

namespace {
size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}
}  // namespace

namespace {

constexpr int kW = 64, kH = 32;

struct LayeredHost {
  LayeredHost() : h(kW, kH, 3) {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        uint8_t* px = &h.image[(size_t(y) * kW + x) * 3];
        px[0] = uint8_t(y < kH / 2 ? 250 : 20), px[1] = uint8_t(x * 4), px[2] = 40;
      }
    g = h.OpenInvocation();
    h.SetUpPreview(Rect{0, 0, 100, 100}, 1);
    DoPreviewFiltration(g);
  }
  ~LayeredHost() { h.CloseInvocation(); }
  DriverHost h;
  Globals* g = nullptr;
};

}  // namespace

TEST(BrickPlanSave, TwentyLayersOfPlans) {
  LayeredHost host;
  host.h.Settings()->exportKind = 0;
  host.h.Settings()->brickLayers = 20;
  Scratch dir;
  FSRef psd = dir.MadeFile("Sphere plan.psd");
  ASSERT_EQ(DoSaveThings(host.g, &psd, 0, SaveKind_PSD), 0);
  std::string out;
  ASSERT_EQ(RunCommand("identify '" + std::string(psd.path) + "'", &out), 0) << out;
  // The merged image and the twenty layers.
  EXPECT_EQ(Count(out, "PSD 217x217 "), 21u) << out;
  int32_t cells = 0;
  for (int c = 1; c <= 12; ++c) cells += host.g->storage->brickKindCounts[c];
  EXPECT_GT(cells, 1000) << "counted after the last layer";
}

TEST(BrickPlanSave, EquirectangularPolyhedronMapIsWholeOrNotAtAll) {
  LayeredHost host;
  host.h.Settings()->outputMode = 6;
  host.h.Settings()->facesExportSize = 32;
  Scratch dir;
  FSRef psd = dir.MadeFile("Polyhedron map.psd");
  WriteWhole(psd.path, "old");
  const int32_t kindBefore = host.h.Settings()->exportKind;
  const int32_t e = DoSaveThings(host.g, &psd, 0, SaveKind_EquiPolyMap);
  std::string out;
  if (e == 0) {
    ASSERT_EQ(RunCommand("identify '" + std::string(psd.path) + "'", &out), 0) << out;
    EXPECT_NE(out.find("64x32"), std::string::npos) << out;
  } else {
    // Its render mode is not built yet: the old file stands.
    EXPECT_EQ(ReadWhole(psd.path), "old") << e;
  }
  EXPECT_EQ(host.h.Settings()->exportKind, kindBefore) << "restored";
  EXPECT_EQ(host.h.Settings()->outputMode, 6);
  std::printf("[ poly map ] result %d %s\n", e, out.c_str());
}
