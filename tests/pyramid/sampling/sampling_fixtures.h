// Small pyramids on system memory for the sampling suites, with a filter
// table of their own so that each test picks its kernel.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_filter_table.h"
#include "pyramid/pyramid_pixels.h"

struct SamplingPyramid {
  PyramidDescriptor pyramid{};
  float table[kFilterTableSize];
  ~SamplingPyramid() { DisposePyramidData(&pyramid); }
};
using SamplingPyramidPtr = std::unique_ptr<SamplingPyramid>;

// Null when the allocation is refused.
inline SamplingPyramidPtr MakeSamplingPyramid(int32_t width, int32_t height, int32_t kind, int32_t wrapMode = 0,
                                              int32_t overhangMode = 3, int32_t kernel = FilterKernel_WindowedSinc) {
  auto s = std::make_unique<SamplingPyramid>();
  initGaussianPyrTable_switchable(s->table, kernel);
  InitPyramidProcs(&s->pyramid, nullptr, s->table);
  if (!TryToAllocatePyramid_2006(&s->pyramid, width, height, kind, wrapMode)) return nullptr;
  s->pyramid.overhangMode = overhangMode;
  return s;
}

// Writes one pixel of any kind from four stored-scale values (grey kinds
// take the first).
inline void PutStored(PyramidDescriptor* p, int32_t level, int32_t x, int32_t y, const float c[4]) {
  uint8_t* at = PyramidPixelAddress(p, level, x, y);
  switch (p->dataKind) {
    case PyramidDataKind_Byte: *at = uint8_t(c[0]); return;
    case PyramidDataKind_Grey16: {
      const uint16_t v = uint16_t(c[0]);
      std::memcpy(at, &v, 2);
      return;
    }
    case PyramidDataKind_GreyFloat: std::memcpy(at, &c[0], 4); return;
    case PyramidDataKind_FourFloat: std::memcpy(at, c, 16); return;
    default: set_pyramid_sample_pointColor(x, y, p, level, int32_t(c[0]), int32_t(c[1]), int32_t(c[2]), int32_t(c[3]));
  }
}

// Every pixel of `level` from f(x, y, c).
template <class F>
void FillLevel(PyramidDescriptor* p, int32_t level, F f) {
  for (int32_t y = 0; y < p->levelHeight[level]; ++y)
    for (int32_t x = 0; x < p->levelWidth[level]; ++x) {
      float c[4];
      f(x, y, c);
      PutStored(p, level, x, y, c);
    }
}

// Every level flat: level L holds the stored value base + step × L in red,
// green and blue, with alpha `alpha`.
inline void FillLevelsFlat(PyramidDescriptor* p, float base, float step, float alpha) {
  for (int32_t L = 0; L <= p->topLevel; ++L) {
    const float value = base + step * float(L);
    FillLevel(p, L, [&](int32_t, int32_t, float c[4]) {
      c[0] = c[1] = c[2] = value;
      c[3] = alpha;
    });
  }
}

// Deterministic noise for test images.
inline uint32_t SamplingNoise(uint32_t x, uint32_t y, uint32_t salt) {
  uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u ^ salt * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h;
}
