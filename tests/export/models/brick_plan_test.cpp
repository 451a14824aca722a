// The brick plan: one grid image per layer, cells in their display colours
// with black borders, empty cells as a grey grid, hidden cells dotted; the
// counts after the last layer are the ball's.
#include <gtest/gtest.h>

#include "export/brick/brick_march.h"
#include "export/brick/brick_plan.h"
#include "export/brick/lego_build.h"
#include "frame/globals.h"
#include "projection/tumble.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "support/row_render_harness.h"

namespace {

struct Rgb {
  int32_t r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

Rgb At(const PyramidDescriptor* p, int x, int y) {
  int32_t c[4];
  get_pyramid_sample_pointColorcall(x, y, p, 0, &c[0], &c[1], &c[2], &c[3]);
  return {c[0], c[1], c[2]};
}

}  // namespace

TEST(BrickPlan, EveryLayerIsAGridOfItsCells) {
  RowRenderHarness h(64, 32, 1);
  h.PaintInput([](int, int y, float c[4]) {
    c[0] = y < 16 ? 1.0f : 0.0f, c[1] = 0.0f, c[2] = y < 16 ? 0.0f : 1.0f, c[3] = 1.0f;
  });
  Globals* g = h.globals();
  g->savedFilterRect = Rect{0, 0, 32, 64};
  TParameters* p = h.Settings();
  p->brickLayers = 20;
  const int32_t side = LegoPlanSide(LegoBallWidth(20, 0));
  ASSERT_EQ(side, 217);
  PyramidDescriptor canvas{};
  InitPyramidProcs(&canvas, g, nullptr);
  ASSERT_TRUE(TryToAllocatePyramid_2006(&canvas, side, side, PyramidDataKind_Packed8, 0));

  // The same ball, built apart, to hold the plan against.
  LegoStructure same;
  CreateLegoBall(&same, g, 20, 0, 0, p->brickPalette);
  tumbletype t;
  LegoTumbleFromSettings(g, &t);
  BuildLegoball(&same, g, &t);
  int32_t counts[13], seen[13];
  CountBrickKinds(&same, counts, seen);

  LegoStructure ball{};
  uint8_t cancelled = 0;
  int32_t filledInPlan = 0, dots = 0;
  for (int32_t layer = 1; layer <= 20; ++layer) {
    GenerateOneLayerOfLego(g, &canvas, layer, &cancelled, &ball);
    const int32_t z = layer - 1;
    int32_t filledHere = 0;
    for (int32_t y = 0; y < same.depth; ++y)
      for (int32_t x = 0; x < same.width; ++x) {
        const uint8_t code = LegoCellAt(&same, x, y, z)->code;
        const int32_t c = code & kCellColourMask;
        uint8_t rgb[3];
        BrickDisplayRGB(c, rgb);
        // An inner pixel away from the dot shows the cell's colour.
        EXPECT_EQ(At(&canvas, 9 * x + 2, 9 * y + 2), (Rgb{rgb[0], rgb[1], rgb[2]})) << x << "," << y << "," << z;
        const Rgb border = At(&canvas, 9 * x, 9 * y + 3);
        if (c) {
          ++filledHere;
          EXPECT_EQ(border, (Rgb{0, 0, 0}));
          if (!(code & kCellVisible)) {
            EXPECT_EQ(At(&canvas, 9 * x + 4, 9 * y + 5), (Rgb{0, 0, 0}));
            ++dots;
          }
        } else if (x > 0 && !(LegoCellAt(&same, x - 1, y, z)->code & kCellColourMask)) {
          EXPECT_EQ(border, (Rgb{230, 230, 230}));
        }
      }
    if (layer == 1 || layer == 20) {
      EXPECT_LT(filledHere, 60) << "the ends of the ball hold few cells";
    }
    filledInPlan += filledHere;
  }
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(ball.cells, nullptr) << "freed after the last layer";
  EXPECT_GT(dots, 0);
  int32_t total = 0;
  for (int c = 1; c <= 12; ++c) {
    EXPECT_EQ(g->storage->brickKindCounts[c], counts[c]) << c;
    EXPECT_EQ(g->storage->brickKindFlaggedCounts[c], seen[c]) << c;
    total += counts[c];
  }
  EXPECT_EQ(filledInPlan, total);
  DestroyLegoBall(&same, g);
  DisposePyramidData(&canvas);
}
