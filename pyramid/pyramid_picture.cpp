#include "pyramid/pyramid_picture.h"

#include "platform/picture.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"

void CopyPyr4ToPaint(const PyramidDescriptor* p, int32_t level, RGBPicture* port) {
  if (!port || !PyramidHasLevel(p, level) || p->dataKind != PyramidDataKind_Packed8) return;
  for (int32_t x = 0; x < p->levelWidth[level]; ++x)
    for (int32_t y = 0; y < p->levelHeight[level]; ++y) {
      int32_t r, g, b, a;
      get_pyramid_sample_point4call(x, y, p, level, &r, &g, &b, &a);
      RGBPicturePaintPixel(port, x, y, RGBColorPI{uint16_t(r << 8), uint16_t(g << 8), uint16_t(b << 8)});
    }
}

RGBPicture* MakePictFromPyr(const PyramidDescriptor* p, int32_t level) {
  if (!PyramidHasLevel(p, level) || p->dataKind != PyramidDataKind_Packed8) return nullptr;
  Rect frame;
  GetBoundingRectOfPyrLevel(p, level, &frame);
  RGBPicture* picture = NewRGBPicture(&frame);
  CopyPyr4ToPaint(p, level, picture);
  return picture;
}
