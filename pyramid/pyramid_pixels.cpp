#include "pyramid/pyramid_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/globals.h"  // the transparency rule reads the invocation's host filter case
#include "pyramid/pyramid_descriptor.h"

namespace {

int32_t Clamp(int32_t v, int32_t last) { return v < 0 ? 0 : (v > last ? last : v); }

// One period folded back, then clamped.
int32_t Fold(int32_t v, int32_t size) {
  if (v < 0) {
    v += size;
    return v < 0 ? 0 : v;
  }
  if (v >= size) {
    v -= size;
    return v >= size ? size - 1 : v;
  }
  return v;
}

bool Usable(const PyramidDescriptor* p, int32_t level, int32_t kind) {
  return PyramidHasLevel(p, level) && p->dataKind == kind;
}

bool Inside(const PyramidDescriptor* p, int32_t level, int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x <= p->levelClampX[level] && y <= p->levelClampY[level];
}

uint8_t* Clamped(const PyramidDescriptor* p, int32_t level, int32_t x, int32_t y) {
  return PyramidPixelAddress(p, level, Clamp(x, p->levelClampX[level]), Clamp(y, p->levelClampY[level]));
}

uint8_t* Wrapped(const PyramidDescriptor* p, int32_t level, int32_t x, int32_t y) {
  return PyramidPixelAddress(p, level, WrapColumn(p, level, x), WrapRow(p, level, y));
}

template <class T>
T Load(const uint8_t* at) {
  T v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

template <class T>
void Store(uint8_t* at, T v) {
  std::memcpy(at, &v, sizeof v);
}

uint32_t Pack(int32_t r, int32_t g, int32_t b, int32_t a) {
  return (uint32_t(r) << 24) | ((uint32_t(g) & 255u) << 16) | ((uint32_t(b) & 255u) << 8) | (uint32_t(a) & 255u);
}

void Unpack(uint32_t w, int32_t* r, int32_t* g, int32_t* b, int32_t* a) {
  *r = int32_t(w >> 24);
  *g = int32_t((w >> 16) & 255u);
  *b = int32_t((w >> 8) & 255u);
  *a = int32_t(w & 255u);
}

void Store16x(uint8_t* at, const int32_t* values, int n) {
  for (int i = 0; i < n; ++i) Store<uint16_t>(at + 2 * i, uint16_t(values[i]));
}

void Zero(int32_t* r, int32_t* g, int32_t* b, int32_t* a) { *r = *g = *b = *a = 0; }

// Stored channel value of a unit component, within 0 to `full`.
int32_t UnitToStored(float unit, float full) {
  const float v = unit * full;
  if (!(v > 0.0f)) return 0;  // negative or NaN
  if (v >= full) return int32_t(full);
  return int32_t(v);
}

}  // namespace

int32_t WrapColumn(const PyramidDescriptor* p, int32_t level, int32_t x) {
  if (p->wrapMode == 1 || p->wrapMode == 2) return Fold(x, p->levelWidth[level]);
  return Clamp(x, p->levelClampX[level]);
}

int32_t WrapRow(const PyramidDescriptor* p, int32_t level, int32_t y) {
  if (p->wrapMode == 1) return Fold(y, p->levelHeight[level]);
  return Clamp(y, p->levelClampY[level]);
}

void get_pyramid_sample_pointColorcall(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level,
                                       int32_t* r, int32_t* g, int32_t* b, int32_t* a) {
  if (!PyramidHasLevel(p, level)) return Zero(r, g, b, a);
  switch (p->dataKind) {
    case PyramidDataKind_Packed8: return Unpack(Load<uint32_t>(Wrapped(p, level, x, y)), r, g, b, a);
    case PyramidDataKind_Four16: {
      const uint8_t* at = Clamped(p, level, x, y);
      *r = Load<uint16_t>(at);
      *g = Load<uint16_t>(at + 2);
      *b = Load<uint16_t>(at + 4);
      *a = Load<uint16_t>(at + 6);
      return;
    }
    case PyramidDataKind_ThreeSigned16: {
      const uint8_t* at = Clamped(p, level, x, y);
      *r = Load<int16_t>(at);
      *g = Load<int16_t>(at + 2);
      *b = Load<int16_t>(at + 4);
      return;
    }
    case PyramidDataKind_FourFloat: {
      const uint8_t* at = Clamped(p, level, x, y);
      *r = Load<int32_t>(at);
      *g = Load<int32_t>(at + 4);
      *b = Load<int32_t>(at + 8);
      *a = Load<int32_t>(at + 12);
      return;
    }
    default: return Zero(r, g, b, a);
  }
}

void get_pyramid_sample_point4call(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level, int32_t* r,
                                   int32_t* g, int32_t* b, int32_t* a) {
  if (!Usable(p, level, PyramidDataKind_Packed8)) return Zero(r, g, b, a);
  Unpack(Load<uint32_t>(Wrapped(p, level, x, y)), r, g, b, a);
}

void get_pyramid_sample_point4(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level, int32_t* r,
                               int32_t* g, int32_t* b, int32_t* a) {
  get_pyramid_sample_point4call(x, y, p, level, r, g, b, a);
}

uint32_t* get_pyramid_sample_point4_raw(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level,
                                        uint32_t* out) {
  *out = Usable(p, level, PyramidDataKind_Packed8) ? Load<uint32_t>(Wrapped(p, level, x, y)) : 0u;
  return out;
}

int32_t get_pyramid_sample_point_grey32_as_long(int32_t x, int32_t y, const PyramidDescriptor* p,
                                                int32_t level) {
  if (!PyramidHasLevel(p, level) || p->bytesPerPixel != 4) return 0;
  return Load<int32_t>(Clamped(p, level, x, y));
}

void get_pyramid_sample_point128bit_HDRcomponent_call(int32_t x, int32_t y, const PyramidDescriptor* p,
                                                      int32_t level, float* r, float* g, float* b, float* a) {
  if (!Usable(p, level, PyramidDataKind_FourFloat)) {
    *r = *g = *b = *a = 0.0f;
    return;
  }
  const uint8_t* at = Clamped(p, level, x, y);
  *r = Load<float>(at);
  *g = Load<float>(at + 4);
  *b = Load<float>(at + 8);
  *a = Load<float>(at + 12);
}

void get_pyramid_sample_point128bitcall(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level, float* r,
                                        float* g, float* b, float* a) {
  get_pyramid_sample_point128bit_HDRcomponent_call(x, y, p, level, r, g, b, a);
}

void get_pyramid_sample_point64bitcall(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level,
                                       int32_t* r, int32_t* g, int32_t* b, int32_t* a) {
  if (!Usable(p, level, PyramidDataKind_Four16)) return Zero(r, g, b, a);
  const uint8_t* at = Clamped(p, level, x, y);
  *r = Load<uint16_t>(at);
  *g = Load<uint16_t>(at + 2);
  *b = Load<uint16_t>(at + 4);
  *a = Load<uint16_t>(at + 6);
}

void set_pyramid_sample_pointColor(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, int32_t r,
                                   int32_t g, int32_t b, int32_t a) {
  if (!PyramidHasLevel(p, level) || !Inside(p, level, x, y)) return;
  const int32_t values[4] = {r, g, b, a};
  switch (p->dataKind) {
    case PyramidDataKind_Packed8: return Store(PyramidPixelAddress(p, level, x, y), Pack(r, g, b, a));
    case PyramidDataKind_Four16: return Store16x(PyramidPixelAddress(p, level, x, y), values, 4);
    case PyramidDataKind_ThreeSigned16: return Store16x(PyramidPixelAddress(p, level, x, y), values, 3);
    case PyramidDataKind_FourFloat: {
      uint8_t* at = PyramidPixelAddress(p, level, x, y);
      for (int i = 0; i < 4; ++i) Store<int32_t>(at + 4 * i, values[i]);
      return;
    }
    default: return;
  }
}

void set_pyramid_sample_point_unclampedColorcall(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level,
                                                 int32_t r, int32_t g, int32_t b, int32_t a) {
  if (!PyramidHasLevel(p, level)) return;
  if (p->dataKind == PyramidDataKind_Packed8) {
    Store(PyramidPixelAddress(p, level, x, y), Pack(r, g, b, a));
  } else if (p->dataKind == PyramidDataKind_Four16) {
    const int32_t values[4] = {r, g, b, a};
    Store16x(PyramidPixelAddress(p, level, x, y), values, 4);
  }
}

void set_pyramid_sample_point4(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, int32_t r, int32_t g,
                               int32_t b, int32_t a) {
  if (!Usable(p, level, PyramidDataKind_Packed8) || !Inside(p, level, x, y)) return;
  Store(PyramidPixelAddress(p, level, x, y), Pack(r, g, b, a));
}

void set_pyramid_sample_point64bit(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, int32_t r,
                                   int32_t g, int32_t b, int32_t a) {
  if (!Usable(p, level, PyramidDataKind_Four16) || !Inside(p, level, x, y)) return;
  const int32_t values[4] = {r, g, b, a};
  Store16x(PyramidPixelAddress(p, level, x, y), values, 4);
}

void set_pyramid_sample_point128bit_floats(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, float r,
                                           float g, float b, float a) {
  if (!Usable(p, level, PyramidDataKind_FourFloat) || !Inside(p, level, x, y)) return;
  const float values[4] = {r, g, b, a};
  std::memcpy(PyramidPixelAddress(p, level, x, y), values, sizeof values);
}

void set_pyramid_sample_point1(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, int32_t value) {
  if (!Usable(p, level, PyramidDataKind_Byte) || !Inside(p, level, x, y)) return;
  *PyramidPixelAddress(p, level, x, y) = uint8_t(value);
}

void set_unitary_color(int32_t x, int32_t y, PyramidDescriptor* p, int32_t level, const float unitColour[4]) {
  if (!PyramidHasLevel(p, level)) return;
  switch (p->dataKind) {
    case PyramidDataKind_Packed8:
    case PyramidDataKind_Four16: {
      const float full = p->fromUnitScale;
      set_pyramid_sample_pointColor(x, y, p, level, UnitToStored(unitColour[0], full),
                                    UnitToStored(unitColour[1], full), UnitToStored(unitColour[2], full),
                                    UnitToStored(unitColour[3], full));
      return;
    }
    case PyramidDataKind_FourFloat:
      set_pyramid_sample_point128bit_floats(x, y, p, level, unitColour[0], unitColour[1], unitColour[2],
                                            unitColour[3]);
      return;
    default: return;
  }
}

uint8_t make8from32f(float f) {
  const float v = 255.0f * f;
  if (!(v > 0.0f)) return 0;  // negative or NaN
  if (v >= 255.0f) return 255;
  return uint8_t(v);
}

uint8_t make8from32f_for_little_previews(float f) {
  if (!(f >= 0.0f)) return 0;
  f = std::min(f, 65535.0f);
  const float v = 255.0f * std::sqrt(f);
  return v >= 255.0f ? 255 : uint8_t(v);
}

bool ShouldCopyTransparencyForPyramid(const Globals* globals) {
  const FilterRecord* fr = globals ? globals->filterRecord : nullptr;
  return fr && (fr->filterCase == kFilterCaseEditableTransparencyNoSelection ||
                fr->filterCase == kFilterCaseEditableTransparencyWithSelection);
}
