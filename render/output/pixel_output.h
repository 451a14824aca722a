// render/output/: a finished colour into the host's pixels: compositing, glue modes and materials.
// Pixel output: one finished unit colour into the host's pixel format. The
// colour is scaled to the channel range of the image, the excess of
// channels above full scale is spread into the others, grey images get one
// luminance channel, the glue mode blends it with the unfiltered pixel, and
// it is stored: into the host's output buffer (final render), mixed over a
// checkerboard by the selection mask (dialog preview), or into the canvas
// of the export layer being rendered.
//
// Everything that depends only on the image and the settings is decided
// once per row in a PixelSink, so the per-pixel step only scales and stores.
#pragma once

#include <cstdint>

#include "render/output/glue_modes.h"

struct Globals;
struct PyramidDescriptor;

enum PixelPath : int32_t {
  PixelPath_None = 0,   // an image mode and depth that nothing can store
  PixelPath_Bits8 = 1,  // grey or RGB, 0..255
  PixelPath_Bits16 = 2,  // 16-bit grey or RGB, 0..32768
  PixelPath_Float = 3,   // unit floats, above 1 for high dynamic range
};

struct PixelSink {
  PixelPath path;
  int32_t fullScale;       // integer channel maximum
  int32_t alphaFullScale;  // 1 on the float path
  float unitMultiplier;
  int32_t runMode;
  int32_t imageMode;
  int32_t outPlanes;     // samples per output pixel
  int32_t inPlanes;      // samples per input pixel
  int32_t writeChannels;  // colour samples written per pixel: 1 or 3
  bool transparency;      // an alpha plane to write
  int32_t inAlpha, outAlpha;  // index of the alpha sample in an input and an output pixel
  GlueFunction glue;      // null: the result is stored unglued
  const uint8_t* inRow;   // start of the row in the host's buffers (final and preview)
  uint8_t* outRow;
  PyramidDescriptor* canvas;  // export layer
  int32_t width, height;      // output size
  int32_t y;
  const Globals* globals;  // for the selection mask
  // Set by PreparePixelSink for an 8-bit RGB final render without glue,
  // nearly every render: the per-pixel step then skips what the other
  // paths ask. A sink filled by hand may leave it false.
  bool plainRgb8;
};

PixelPath PixelPathOf(int32_t imageMode, int32_t depth);

// Prepares the sink for output row y. The row's buffers are taken from the
// host record (by run mode); false when the host gave none to write into.
bool PreparePixelSink(Globals* globals, int32_t y, PixelSink* sink);

// Stores the pixel at column x (clamped into the output); colour is not
// changed.
void Output_a_Pixel(const PixelSink& sink, int32_t x, const float colour[4]);
