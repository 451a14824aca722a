#include "pyramid/pyramid_copy.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "frame/base/host_rects.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_reads.h"
#include "pyramid/pyramid_sampling.h"

namespace {

bool Allocated(const PyramidDescriptor* p) { return p && p->tileTable && p->tileCount > 0; }

// The overlap of two level rectangles that both start at (0, 0).
void Overlap(const PyramidDescriptor* a, int32_t levelA, const PyramidDescriptor* b, int32_t levelB,
             int32_t* width, int32_t* height) {
  *width = std::min(a->levelWidth[levelA], b->levelWidth[levelB]);
  *height = std::min(a->levelHeight[levelA], b->levelHeight[levelB]);
}

}  // namespace

void CopyPyrAToB(const PyramidDescriptor* a, PyramidDescriptor* b) {
  if (!Allocated(a) || !Allocated(b)) return;
  if (a->levelWidth[0] != b->levelWidth[0] || a->levelHeight[0] != b->levelHeight[0] ||
      a->bytesPerPixel != b->bytesPerPixel || a->topLevel != b->topLevel || a->totalBytes != b->totalBytes)
    return;
  for (int32_t i = a->levelFirstTile[0]; i <= a->levelLastTile[a->topLevel]; ++i) {
    const PyramidTile& from = a->tileTable[i];
    const PyramidTile& to = b->tileTable[i];
    std::memcpy(to.pixels, from.pixels, size_t(from.width) * from.height * a->bytesPerPixel);
  }
}

void CopyLevelToLevelSlowly(const PyramidDescriptor* a, PyramidDescriptor* b, int32_t levelA, int32_t levelB) {
  if (!PyramidHasLevel(a, levelA) || !PyramidHasLevel(b, levelB) || a->dataKind != b->dataKind) return;
  int32_t width, height;
  Overlap(a, levelA, b, levelB, &width, &height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      float colour[4];
      get_intcoord_unitary_color(x, y, a, levelA, colour);
      set_unitary_color(x, y, b, levelB, colour);
    }
}

void CopyPartOfAtoB(const PyramidDescriptor* a, const Rect* source, PyramidDescriptor* b, int32_t destX,
                    int32_t destY, int32_t level) {
  if (!source || !PyramidHasLevel(a, level) || !PyramidHasLevel(b, level)) return;
  for (int32_t r = 0; r < int32_t(source->bottom) - source->top; ++r)
    for (int32_t c = 0; c < int32_t(source->right) - source->left; ++c) {
      float colour[4];
      get_intcoord_unitary_color(source->left + c, source->top + r, a, level, colour);
      set_unitary_color(destX + c, destY + r, b, level, colour);
    }
}

void ScalePyrNicely_TargetAlways4(const PyramidDescriptor* source, PyramidDescriptor* target,
                                  const Rect* sourceRect, const Rect* targetRect, float bias) {
  if (!source || !target) return;
  const int32_t sourceWidth = int32_t(sourceRect->right) - sourceRect->left;
  const int32_t width = int32_t(targetRect->right) - targetRect->left;
  const int32_t height = int32_t(targetRect->bottom) - targetRect->top;
  if (sourceWidth > 0 && width > 0 && height > 0 && Allocated(source)) {
    const float lod = float(std::log2(double(sourceWidth) / double(width)) - double(bias));
    int32_t level = 0;
    float fraction = 0.0f;
    if (lod >= float(source->topLevel)) {
      level = source->topLevel;
    } else if (lod > 0.0f) {
      level = int32_t(lod);
      fraction = lod - float(level);
    }
    for (int32_t r = 0; r < height; ++r)
      for (int32_t c = 0; c < width; ++c) {
        float u, v, colour[4];
        IntegerScanToUnitary2(c, r, &u, &v, float(width), float(height));
        get_unitarycoord_unitary_color(source, level, fraction, u, v, colour);
        set_pyramid_sample_point4(targetRect->left + c, targetRect->top + r, target, 0, make8from32f(colour[0]),
                                  make8from32f(colour[1]), make8from32f(colour[2]), 255);
      }
  }
  paint_mipmap_of_pyramid(target);
}

void CopyOrScalePyrToPyr(const PyramidDescriptor* a, PyramidDescriptor* b) {
  if (!a || !b) return;
  if (PyramidsAreSimilarSizeAtLevel0(a, b)) {
    if (Allocated(a) && Allocated(b)) CopyLevelToLevelSlowly(a, b, 0, 0);
    paint_mipmap_of_pyramid(b);
    return;
  }
  Rect sourceRect, targetRect;
  GetBoundingRectOfPyrLevel(a, 0, &sourceRect);
  GetBoundingRectOfPyrLevel(b, 0, &targetRect);
  ScalePyrNicely_TargetAlways4(a, b, &sourceRect, &targetRect, 0.5f);
}

void Copy1ToAlpha4(const PyramidDescriptor* mask, PyramidDescriptor* target, int32_t level) {
  if (!Allocated(mask) || !Allocated(target) || mask->dataKind != PyramidDataKind_Byte ||
      target->dataKind != PyramidDataKind_Packed8)
    return;
  const int32_t work = std::max(0, std::min({level, mask->topLevel, target->topLevel}));
  if (PyramidsAreSimilarSizeAtLevel0(mask, target)) {
    // Equal sizes give equal tile layouts at every level.
    for (int32_t i = mask->levelFirstTile[work]; i <= mask->levelLastTile[work]; ++i) {
      const PyramidTile& from = mask->tileTable[i];
      const PyramidTile& to = target->tileTable[i];
      const auto* bytes = static_cast<const uint8_t*>(from.pixels);
      auto* words = static_cast<uint8_t*>(to.pixels);
      for (int32_t k = 0; k < from.width * from.height; ++k) {
        uint32_t word;
        std::memcpy(&word, words + 4 * size_t(k), sizeof word);
        word = (word & ~uint32_t(255)) | bytes[k];
        std::memcpy(words + 4 * size_t(k), &word, sizeof word);
      }
    }
    return;
  }
  int32_t width, height;
  Overlap(mask, work, target, work, &width, &height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      int32_t r, g, b, a;
      get_pyramid_sample_pointColorcall(x, y, target, work, &r, &g, &b, &a);
      set_pyramid_sample_pointColor(x, y, target, work, r, g, b, get_pyramid_sample_pointGray(x, y, mask, work));
    }
}

void PaintLevelSolidColor(PyramidDescriptor* p, int32_t level, int32_t r, int32_t g, int32_t b, int32_t a) {
  if (!PyramidHasLevel(p, level)) return;
  if (p->dataKind == PyramidDataKind_Packed8) {
    const uint32_t word = (uint32_t(r) << 24) | ((uint32_t(g) & 255u) << 16) | ((uint32_t(b) & 255u) << 8) |
                          (uint32_t(a) & 255u);
    for (int32_t i = p->levelFirstTile[level]; i <= p->levelLastTile[level]; ++i) {
      const PyramidTile& t = p->tileTable[i];
      auto* bytes = static_cast<uint8_t*>(t.pixels);
      for (int32_t k = 0; k < t.width * t.height; ++k) std::memcpy(bytes + 4 * size_t(k), &word, sizeof word);
    }
    return;
  }
  for (int32_t y = 0; y < p->levelHeight[level]; ++y)
    for (int32_t x = 0; x < p->levelWidth[level]; ++x) set_pyramid_sample_pointColor(x, y, p, level, r, g, b, a);
}

void PaintTestPattern(PyramidDescriptor* p) {
  if (!PyramidHasLevel(p, 0)) return;
  const bool isFloat = p->dataKind == PyramidDataKind_GreyFloat || p->dataKind == PyramidDataKind_FourFloat;
  const int32_t s = (p->dataKind == PyramidDataKind_Byte || p->dataKind == PyramidDataKind_Packed8) ? 1 : 128;
  for (int32_t y = 0; y < p->levelHeight[0]; ++y)
    for (int32_t x = 0; x < p->levelWidth[0]; ++x) {
      const int32_t v = x ^ y;
      const int32_t red = v % 256, green = (v + 85) % 256, blue = (v + 170) % 256;
      if (isFloat) {
        const int32_t fb = std::bit_cast<int32_t>(float(blue) / 255.0f);
        set_pyramid_sample_pointColor(x, y, p, 0, std::bit_cast<int32_t>(float(red) / 255.0f),
                                      std::bit_cast<int32_t>(float(green) / 255.0f), fb, fb);
      } else {
        set_pyramid_sample_pointColor(x, y, p, 0, red * s, green * s, blue * s, 255 * s);
      }
    }
}
