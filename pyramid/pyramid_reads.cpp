#include "pyramid/pyramid_reads.h"

#include <bit>
#include <cstring>

#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"

namespace {

int32_t Clamp(int32_t v, int32_t last) { return v < 0 ? 0 : (v > last ? last : v); }

}  // namespace

void get_intcoord_unitary_color(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level,
                                float colour[4]) {
  colour[0] = colour[1] = colour[2] = colour[3] = 0.0f;
  if (!PyramidHasLevel(p, level)) return;
  const float scale = p->toUnitScale;
  switch (p->dataKind) {
    case PyramidDataKind_Packed8:
    case PyramidDataKind_Four16: {
      int32_t c[4];
      get_pyramid_sample_pointColorcall(x, y, p, level, &c[0], &c[1], &c[2], &c[3]);
      for (int i = 0; i < 4; ++i) colour[i] = float(c[i]) * scale;
      return;
    }
    case PyramidDataKind_FourFloat:
      get_pyramid_sample_point128bit_HDRcomponent_call(x, y, p, level, &colour[0], &colour[1], &colour[2],
                                                       &colour[3]);
      return;
    default: {
      const int32_t g = get_pyramid_sample_pointGray(x, y, p, level);
      const float grey = p->dataKind == PyramidDataKind_GreyFloat ? std::bit_cast<float>(g) : float(g) * scale;
      colour[0] = colour[1] = colour[2] = grey;
      colour[3] = 1.0f;
      return;
    }
  }
}

int32_t get_pyramid_sample_pointGray(int32_t x, int32_t y, const PyramidDescriptor* p, int32_t level) {
  if (!PyramidHasLevel(p, level)) return 0;
  const uint8_t* at =
      PyramidPixelAddress(p, level, Clamp(x, p->levelClampX[level]), Clamp(y, p->levelClampY[level]));
  switch (p->dataKind) {
    case PyramidDataKind_Byte:
    case PyramidDataKind_Packed8: return *at;
    case PyramidDataKind_GreyFloat:
    case PyramidDataKind_FourFloat: {
      int32_t w;
      std::memcpy(&w, at, sizeof w);
      return w;
    }
    default: {
      uint16_t v;
      std::memcpy(&v, at, sizeof v);
      return v;
    }
  }
}
