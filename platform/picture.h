// A recorded picture: what the plug-in draws to show a small image elsewhere
// (the memory-dot hover thumbnail) as an in-memory RGB raster with 16-bit
// channels, the colour depth the drawing calls take.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct RGBPicture {
  Rect frame;  // top-left at (0, 0)
  int32_t width, height;
  uint16_t* rgb;  // width * height pixels of red, green, blue, row by row
};

// A picture of `frame`'s size, painted black; null when there is no memory
// or the frame is empty.
RGBPicture* NewRGBPicture(const Rect* frame);
void DisposeRGBPicture(RGBPicture* picture);  // null-safe
// Paints the 1 x 1 rectangle at (x, y); points outside the frame are ignored.
void RGBPicturePaintPixel(RGBPicture* picture, int32_t x, int32_t y, RGBColorPI colour);
// (0, 0, 0) outside the frame.
RGBColorPI RGBPictureGetPixel(const RGBPicture* picture, int32_t x, int32_t y);
