// The brick preview (output mode 45) rendered by the real renderer: four
// views of the ball, every brick pixel one of the shaded display colours of
// the ball's visible cells, and every colour of the ball on show; and the
// same mode through gyrelle on the built-in picture.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "export/brick/brick_march.h"
#include "export/brick/lego_build.h"
#include "frame/globals.h"
#include "model_scratch.h"
#include "projection/tumble.h"
#include "support/row_render_harness.h"

using namespace models_test;

TEST(BrickPreview, FourViewsShowTheBallsVisibleColours) {
  constexpr int kW = 200, kH = 200;
  RowRenderHarness h(kW, kH, 2);
  // Six bands of colour down the sphere, so that the ball takes several.
  const float bands[6][3] = {{1, 1, 1}, {1, 0, 0}, {1, 0.9f, 0}, {0, 0.55f, 0.3f}, {0.2f, 0.3f, 0.6f}, {0, 0, 0}};
  h.PaintInput([&](int, int y, float c[4]) {
    const float* b = bands[y * 6 / kH];
    c[0] = b[0], c[1] = b[1], c[2] = b[2], c[3] = 1.0f;
  });
  Globals* g = h.globals();
  g->savedFilterRect = Rect{0, 0, kH, kW};
  TParameters* p = h.Settings();
  p->outputMode = 45;
  p->brickLayers = 12;
  p->transparentVoid = 0;
  const std::vector<uint8_t> picture = h.RenderFinal();

  LegoStructure ball;
  CreateLegoBall(&ball, g, 12, 0, 0, p->brickPalette);
  tumbletype t;
  LegoTumbleFromSettings(g, &t);
  BuildLegoball(&ball, g, &t);
  int32_t counts[13], seen[13];
  CountBrickKinds(&ball, counts, seen);
  DestroyLegoBall(&ball, g);

  std::map<uint32_t, int32_t> shadeToCode;
  for (int32_t code = 1; code <= 12; ++code)
    for (int face = 0; face < 6; ++face) {
      float c[4];
      LegoRegionCodeToShadedColor(code * 6 + face, c);
      const uint32_t key = uint32_t(c[0] * 255 + 0.5f) << 16 | uint32_t(c[1] * 255 + 0.5f) << 8 | uint32_t(c[2] * 255 + 0.5f);
      shadeToCode.emplace(key, code);
    }
  std::map<int32_t, int32_t> pixelsOfCode;
  int32_t quadrantPixels[4] = {0, 0, 0, 0};
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const uint8_t* px = &picture[(size_t(y) * kW + x) * 3];
      const uint32_t key = uint32_t(px[0]) << 16 | uint32_t(px[1]) << 8 | px[2];
      auto it = shadeToCode.find(key);
      if (it == shadeToCode.end()) continue;  // the backdrop, or a pixel on a brick edge
      ++pixelsOfCode[it->second];
      ++quadrantPixels[(x >= kW / 2) + 2 * (y >= kH / 2)];
    }
  for (int q = 0; q < 4; ++q) EXPECT_GT(quadrantPixels[q], kW * kH / 40) << "view " << q;
  // A blend of two bricks on an edge may happen to equal a third colour's
  // shade; a colour no visible cell has can take no more than a few pixels.
  int32_t brickPixels = 0;
  for (const auto& [code, n] : pixelsOfCode) brickPixels += n;
  for (const auto& [code, n] : pixelsOfCode) {
    if (seen[code] == 0) {
      EXPECT_LT(n, brickPixels / 100) << "colour " << code << " is on no visible cell";
    }
  }
  for (int32_t code = 1; code <= 12; ++code) {
    if (seen[code] >= 8) {
      EXPECT_GT(pixelsOfCode[code], 0) << "colour " << code << " of " << seen[code] << " cells";
    }
  }
}

#ifdef GYRELLE_EXE
TEST(BrickPreview, RendersThroughGyrelle) {
  Scratch dir;
  const std::string out = dir.Path("bricks.png"), in = dir.Path("panorama with alpha.png");
  std::string log;
  // With a transparency plane the void stays transparent, and the ball must
  // still be shaded.
  ASSERT_EQ(RunCommand("convert '" + std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png' -alpha on "
                       "PNG32:'" + in + "'", &log), 0) << log;
  const std::string cmd = std::string(GYRELLE_EXE) + " --quiet --plugin '" + GYRELLE_PLUGIN +
                          "' --set Foky=Fo44 --set 0018=16 '" + in + "' '" + out + "'";
  ASSERT_EQ(RunCommand(cmd, &log), 0) << log;
  // Four balls: each quadrant holds colour, the middle of the picture none.
  std::string stats;
  ASSERT_EQ(RunCommand("convert '" + out + "' -crop 2x2@ +repage -format '%[fx:standard_deviation] ' info:", &stats), 0);
  double sd[4] = {0, 0, 0, 0};
  ASSERT_EQ(std::sscanf(stats.c_str(), "%lf %lf %lf %lf", &sd[0], &sd[1], &sd[2], &sd[3]), 4) << stats;
  for (double s : sd) EXPECT_GT(s, 0.05) << stats;
}
#endif
