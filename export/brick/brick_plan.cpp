#include "export/brick/brick_plan.h"

#include "export/export_services.h"
#include "export/brick/brick_march.h"
#include "export/brick/lego_build.h"
#include "export/psd/psd_doc.h"
#include "frame/globals.h"  // the brick layers render through the invocation: its settings, pyramids and progress counts
#include "projection/tumble.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"

namespace {

constexpr int32_t kCellPitch = 9, kCellSpan = 10;
constexpr uint8_t kEmptyBorder = 230;
constexpr float kByteUnit = 0.003921568627451f;

void PutPixel(PyramidDescriptor* canvas, int32_t x, int32_t y, const uint8_t rgb[3]) {
  switch (canvas->dataKind) {
    case PyramidDataKind_Grey16:
    case PyramidDataKind_Four16: {
      auto wide = [](int32_t v) { return v < 255 ? (v >> 1) | (v << 7) : 32768; };
      set_pyramid_sample_pointColor(x, y, canvas, 0, wide(rgb[0]), wide(rgb[1]), wide(rgb[2]), 32768);
      return;
    }
    case PyramidDataKind_GreyFloat:
    case PyramidDataKind_FourFloat:
      set_pyramid_sample_point128bit_floats(x, y, canvas, 0, rgb[0] * kByteUnit, rgb[1] * kByteUnit,
                                            rgb[2] * kByteUnit, 1.0f);
      return;
    default: set_pyramid_sample_pointColor(x, y, canvas, 0, rgb[0], rgb[1], rgb[2], 255);
  }
}

}  // namespace

void DrawLegoCell(const LegoStructure* ball, PyramidDescriptor* canvas, int32_t x, int32_t y, int32_t z,
                  bool drawContents) {
  uint8_t code = kBrickFallbackColour;
  if (ball && ball->cells && LegoInGrid(ball, x, y, z)) code = LegoCellAt(ball, x, y, z)->code;
  int32_t colour = code & kCellColourMask;
  if (drawContents && colour == 0) return;
  if (!drawContents) colour = 0;
  const bool hidden = colour != 0 && !(code & kCellVisible);
  uint8_t inner[3], border[3];
  BrickDisplayRGB(colour, inner);
  for (uint8_t& b : border) b = colour ? 0 : kEmptyBorder;
  static constexpr uint8_t kBlack[3] = {0, 0, 0};
  for (int32_t j = 0; j < kCellSpan; ++j)
    for (int32_t i = 0; i < kCellSpan; ++i) {
      const bool edge = i == 0 || j == 0 || i == kCellSpan - 1 || j == kCellSpan - 1;
      // A cell hidden inside the shell carries a dot: it is built but unseen.
      const bool dot = hidden && (i == 4 || i == 5) && (j == 4 || j == 5);
      PutPixel(canvas, kCellPitch * x + i, kCellPitch * y + j, edge ? border : (dot ? kBlack : inner));
    }
}

void GenerateOneLayerOfLego(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled,
                            LegoStructure* ball) {
  MondoProgressUpdate(globals, 0, 100, globals ? globals->progressLayerCount : 1);
  if (!canvas || !ball || !globals) return;
  const TParameters* p = Params(globals);
  if (layer == 1 && p) {
    CreateLegoBall(ball, globals, p->brickLayers, p->brickPlates, p->brickDither, p->brickPalette);
    if (!ball->cells) return;
    tumbletype tumble;
    LegoTumbleFromSettings(globals, &tumble);
    BuildLegoball(ball, globals, &tumble);
  }
  if (!ball->cells) return;
  const int32_t w = LegoBallWidth(ball->layerCount, ball->plates);
  for (int pass = 0; pass < 2; ++pass)
    for (int32_t y = 0; y < w; ++y)
      for (int32_t x = 0; x < w; ++x) DrawLegoCell(ball, canvas, x, y, layer - 1, pass == 1);
  if (cancelled && CCTestAbort(globals)) {
    *cancelled = 1;
    MondoProgressShowCancelling(globals);
  }
  if (layer == ball->layerCount) {
    GenerateBrickStatistics(ball, globals);
    DestroyLegoBall(ball, globals);
  }
}

void GenerateOneLayerOfLegoForDocument(Globals* globals, PyramidDescriptor* canvas, int32_t layer,
                                       uint8_t* cancelled, PSDdoc* doc) {
  if (doc) GenerateOneLayerOfLego(globals, canvas, layer, cancelled, &doc->brickSphere);
}
