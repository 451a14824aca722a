// Small pyramids on system memory for the pyramid suites.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "pyramid/pyramid_descriptor.h"

struct PyramidDeleter {
  void operator()(PyramidDescriptor* p) const {
    DisposePyramidData(p);
    delete p;
  }
};
using PyramidPtr = std::unique_ptr<PyramidDescriptor, PyramidDeleter>;

// Allocated without an owner (levels then build on the calling thread); null
// when the allocation is refused.
inline PyramidPtr MakePyramid(int32_t width, int32_t height, int32_t kind, int32_t wrapMode = 0) {
  PyramidPtr p(new PyramidDescriptor{});
  InitPyramidProcs(p.get(), nullptr, nullptr);
  if (!TryToAllocatePyramid_2006(p.get(), width, height, kind, wrapMode)) return nullptr;
  return p;
}

// Every byte of one level, row by row, for comparing whole levels.
inline std::vector<uint8_t> LevelBytes(const PyramidDescriptor* p, int32_t level) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < p->levelHeight[level]; ++y)
    for (int32_t x = 0; x < p->levelWidth[level]; ++x) {
      const uint8_t* at = PyramidPixelAddress(p, level, x, y);
      out.insert(out.end(), at, at + p->bytesPerPixel);
    }
  return out;
}

// Deterministic noise for test images.
inline uint32_t TestNoise(uint32_t x, uint32_t y, uint32_t salt) {
  uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u ^ salt * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h;
}
