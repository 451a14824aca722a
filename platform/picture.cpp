#include "platform/picture.h"

#include "platform/memory.h"

namespace {

bool InFrame(const RGBPicture* picture, int32_t x, int32_t y) {
  return picture && x >= 0 && y >= 0 && x < picture->width && y < picture->height;
}

}  // namespace

RGBPicture* NewRGBPicture(const Rect* frame) {
  if (!frame) return nullptr;
  const int32_t width = int32_t(frame->right) - frame->left, height = int32_t(frame->bottom) - frame->top;
  if (width < 1 || height < 1) return nullptr;
  auto* picture = static_cast<RGBPicture*>(NewPtrClear(sizeof(RGBPicture)));
  if (!picture) return nullptr;
  picture->rgb = static_cast<uint16_t*>(NewPtrClear(int64_t(width) * height * 3 * int64_t(sizeof(uint16_t))));
  if (!picture->rgb) {
    DisposePtr(picture);
    return nullptr;
  }
  picture->frame = Rect{0, 0, int16_t(height), int16_t(width)};
  picture->width = width;
  picture->height = height;
  return picture;
}

void DisposeRGBPicture(RGBPicture* picture) {
  if (!picture) return;
  DisposePtr(picture->rgb);
  DisposePtr(picture);
}

void RGBPicturePaintPixel(RGBPicture* picture, int32_t x, int32_t y, RGBColorPI colour) {
  if (!InFrame(picture, x, y)) return;
  uint16_t* px = picture->rgb + (int64_t(y) * picture->width + x) * 3;
  px[0] = colour.red;
  px[1] = colour.green;
  px[2] = colour.blue;
}

RGBColorPI RGBPictureGetPixel(const RGBPicture* picture, int32_t x, int32_t y) {
  if (!InFrame(picture, x, y)) return RGBColorPI{0, 0, 0};
  const uint16_t* px = picture->rgb + (int64_t(y) * picture->width + x) * 3;
  return RGBColorPI{px[0], px[1], px[2]};
}
