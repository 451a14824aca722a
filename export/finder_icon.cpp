#include "export/finder_icon.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/finder_icon.h"
#include "pyramid/pyramid_copy.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_pixels.h"

namespace {

constexpr float kShadowRadius = 3.0f;
constexpr float kShadowReach = 3.5f;
constexpr int32_t kShadowDrop = 2;
constexpr float kScaleBias = 0.5f;
constexpr uint32_t kImageElementBytes = 8 + kIconSide * kIconSide * 4;
constexpr uint32_t kMaskElementBytes = 8 + kIconSide * kIconSide;
static_assert(8 + kImageElementBytes + kMaskElementBytes == kIcnsBytes);

float SmoothStep(float t) {
  if (t <= 0.0f) return 0.0f;
  if (t >= 1.0f) return 1.0f;
  return t * t * (3.0f - 2.0f * t);
}

void PutBig32(uint8_t* at, uint32_t v) {
  at[0] = uint8_t(v >> 24);
  at[1] = uint8_t(v >> 16);
  at[2] = uint8_t(v >> 8);
  at[3] = uint8_t(v);
}

}  // namespace

void PaintRectShadow(PyramidDescriptor* mask, float radius, const Rect* box) {
  if (!mask || !box || !PyramidHasLevel(mask, 0)) return;
  const float reach = kShadowReach * radius;
  auto f = [reach](int32_t d) { return SmoothStep(float(d) / reach + 0.5f); };
  for (int32_t y = 0; y < mask->levelHeight[0]; ++y) {
    const int32_t yd = y - kShadowDrop;
    for (int32_t x = 0; x < mask->levelWidth[0]; ++x) {
      int32_t v = 255;
      if (!(x >= box->left && x < box->right && y >= box->top && y < box->bottom))
        v = int32_t(255.0f * f(x - box->left) * f(box->right - x - 1) * f(yd - box->top) * f(box->bottom - yd - 1));
      set_pyramid_sample_point1(x, y, mask, 0, v);
    }
  }
}

void FitIconPicture(int32_t width, int32_t height, int32_t* fittedWidth, int32_t* fittedHeight) {
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  if (width >= height) {
    *fittedWidth = kIconPictureSide;
    *fittedHeight = int32_t(std::lround(double(height) * kIconPictureSide / width));
  } else {
    *fittedHeight = kIconPictureSide;
    *fittedWidth = int32_t(std::lround(double(width) * kIconPictureSide / height));
  }
  if (*fittedWidth < 1) *fittedWidth = 1;
  if (*fittedHeight < 1) *fittedHeight = 1;
}

void PaintLovelyPreview(PyramidDescriptor* source, PyramidDescriptor* icon) {
  if (!PyramidHasLevel(source, 0) || !PyramidHasLevel(icon, 0)) return;
  int32_t w = 0, h = 0;
  FitIconPicture(source->levelWidth[0], source->levelHeight[0], &w, &h);
  paint_mipmap_of_pyramid(source);
  PaintLevelSolidColor(icon, 0, 0, 0, 0, 0);
  const int16_t left = int16_t((kIconSide - w) / 2), top = int16_t((kIconSide - h) / 2);
  const Rect picture{top, left, int16_t(top + h), int16_t(left + w)};
  const Rect whole{0, 0, int16_t(source->levelHeight[0]), int16_t(source->levelWidth[0])};
  ScalePyrNicely_TargetAlways4(source, icon, &whole, &picture, kScaleBias);
  PyramidDescriptor mask{};
  InitPyramidProcs_from_another_pyr(&mask, icon);
  // Without a mask the icon keeps the alpha the scaling painted: no shadow.
  if (!TryToAllocatePyramid_2006(&mask, kIconSide, kIconSide, PyramidDataKind_Byte, 0)) return;
  PaintRectShadow(&mask, kShadowRadius, &picture);
  Copy1ToAlpha4(&mask, icon, 0);
  DisposePyramidData(&mask);
}

void BuildIcnsResource(const PyramidDescriptor* icon, uint8_t* out) {
  std::memcpy(out, "icns", 4);
  PutBig32(out + 4, kIcnsBytes);
  std::memcpy(out + 8, "it32", 4);
  PutBig32(out + 12, kImageElementBytes);
  uint8_t* image = out + 16;
  uint8_t* maskHead = image + kIconSide * kIconSide * 4;
  std::memcpy(maskHead, "t8mk", 4);
  PutBig32(maskHead + 4, kMaskElementBytes);
  uint8_t* mask = maskHead + 8;
  for (int32_t y = 0; y < kIconSide; ++y)
    for (int32_t x = 0; x < kIconSide; ++x) {
      int32_t r = 0, g = 0, b = 0, a = 0;
      if (PyramidHasLevel(icon, 0)) get_pyramid_sample_point4(x, y, icon, 0, &r, &g, &b, &a);
      const int32_t i = y * kIconSide + x;
      PutBig32(image + 4 * i, 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b));
      mask[i] = uint8_t(a);
    }
}

int16_t MaybeAddOSXIconCore(PyramidDescriptor* image, const FSRef* file, const FSRef* shownAs) {
  if (!PyramidHasLevel(image, 0) || !file) return 0;
  PyramidDescriptor icon{};
  InitPyramidProcs_from_another_pyr(&icon, image);
  if (!TryToAllocatePyramid_2006(&icon, kIconSide, kIconSide, PyramidDataKind_Packed8, 0)) return 0;
  PaintLovelyPreview(image, &icon);
  int16_t e = 0;
  if (uint8_t* icns = static_cast<uint8_t*>(std::malloc(kIcnsBytes))) {
    BuildIcnsResource(&icon, icns);
    e = PlatformStoreCustomIcon(file, icns, kIcnsBytes, shownAs);
    std::free(icns);
  }
  DisposePyramidData(&icon);
  return e;
}

int16_t MaybeAddOSXIcon(PyramidDescriptor* image, const FSRef* file, const FSRef* shownAs) {
  // Elsewhere the file is renamed around the store and its date set to now
  // so that the file manager redraws it. Here the icon is found by the
  // file's name and date: both must stay as the icon records them.
  return MaybeAddOSXIconCore(image, file, shownAs);
}
