// A level of an 8-bit pyramid as a recorded picture, for thumbnails shown by
// the dialog.
#pragma once

#include <cstdint>

struct PyramidDescriptor;
struct RGBPicture;

// Paints every pixel of a kind 3 level into `port` as a 1 x 1 rectangle of
// colour (r << 8, g << 8, b << 8), alpha ignored, column by column.
void CopyPyr4ToPaint(const PyramidDescriptor* pyramid, int32_t level, RGBPicture* port);
// A picture framed by the level's rectangle holding that painting; null when
// there is no memory, or no such level of a kind 3 pyramid.
RGBPicture* MakePictFromPyr(const PyramidDescriptor* pyramid, int32_t level);
