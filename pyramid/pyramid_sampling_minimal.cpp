// Bilinear stand-ins for the filtered reads, until the resampling filter
// table and the 5 x 5 readers exist. A flat area reads back exactly, which is
// all that their present callers (hole filling, rescaled previews) rely on.
#include <cmath>

#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_reads.h"
#include "pyramid/pyramid_sampling.h"

namespace {

void StoredPixel(const PyramidDescriptor* p, int32_t level, int32_t x, int32_t y, float out[4]) {
  if (p->dataKind == PyramidDataKind_FourFloat) {
    get_pyramid_sample_point128bit_HDRcomponent_call(x, y, p, level, &out[0], &out[1], &out[2], &out[3]);
    return;
  }
  int32_t c[4] = {0, 0, 0, 0};
  get_pyramid_sample_pointColorcall(x, y, p, level, &c[0], &c[1], &c[2], &c[3]);
  for (int i = 0; i < 4; ++i) out[i] = float(c[i]);
}

void Bilinear(const PyramidDescriptor* p, int32_t level, float x, float y, float out[4]) {
  const float fx0 = std::floor(x), fy0 = std::floor(y);
  const int32_t x0 = int32_t(fx0), y0 = int32_t(fy0);
  const float fx = x - fx0, fy = y - fy0;
  float c00[4], c10[4], c01[4], c11[4];
  StoredPixel(p, level, x0, y0, c00);
  StoredPixel(p, level, x0 + 1, y0, c10);
  StoredPixel(p, level, x0, y0 + 1, c01);
  StoredPixel(p, level, x0 + 1, y0 + 1, c11);
  for (int i = 0; i < 4; ++i) {
    const float top = c00[i] + (c10[i] - c00[i]) * fx;
    const float bottom = c01[i] + (c11[i] - c01[i]) * fx;
    out[i] = top + (bottom - top) * fy;
  }
}

bool Readable(const PyramidDescriptor* p, int32_t level) {
  return PyramidHasLevel(p, level) && (p->dataKind == PyramidDataKind_Packed8 ||
                                       p->dataKind == PyramidDataKind_Four16 ||
                                       p->dataKind == PyramidDataKind_FourFloat);
}

float WrapUnit(float u, bool wraps) {
  if (!wraps) return u;
  if (u >= 1.0f) return u - 1.0f;
  if (u < 0.0f) return u + 1.0f;
  return u;
}

}  // namespace

void gauss_pyramid_sampleColor(const PyramidDescriptor* p, int32_t level, float x, float y, float* r, float* g,
                               float* b, float* a) {
  float c[4] = {0, 0, 0, 0};
  if (Readable(p, level)) Bilinear(p, level, x, y, c);
  *r = c[0];
  *g = c[1];
  *b = c[2];
  *a = c[3];
}

void get_unitarycoord_unitary_color(const PyramidDescriptor* p, int32_t level, float t, float u, float v,
                                    float colour[4]) {
  colour[0] = colour[1] = colour[2] = colour[3] = 0.0f;
  if (!p || !p->tileTable) return;
  const int32_t top = p->topLevel > 0 ? p->topLevel - 1 : 0;
  const int32_t L0 = level < 0 ? 0 : (level < top ? level : top);
  const int32_t L1 = L0 + 1 <= p->topLevel ? L0 + 1 : L0;
  if (!Readable(p, L0)) return;
  float c0[4], c1[4];
  Bilinear(p, L0, float(p->scaleWidth[L0]) * u - 0.5f, float(p->scaleHeight[L0]) * v - 0.5f, c0);
  if (t != 0.0f) {
    Bilinear(p, L1, float(p->scaleWidth[L1]) * u - 0.5f, float(p->scaleHeight[L1]) * v - 0.5f, c1);
    for (int i = 0; i < 4; ++i) c0[i] = c0[i] + (c1[i] - c0[i]) * t;
  }
  for (int i = 0; i < 4; ++i) colour[i] = c0[i] * p->toUnitScale;
}

void get_unit_ramped_wrapped_pyramid_sample_point(float u, float v, const PyramidDescriptor* p, int32_t level,
                                                  float colour[4]) {
  colour[0] = colour[1] = colour[2] = colour[3] = 0.0f;
  if (!PyramidHasLevel(p, level)) return;
  const bool wrapX = p->wrapMode == 1 || p->wrapMode == 2, wrapY = p->wrapMode == 1;
  const float x0 = float(p->scaleWidth[level]) * u - 0.5f, y0 = float(p->scaleHeight[level]) * v - 0.5f;
  const int32_t i0 = int32_t(x0), j0 = int32_t(y0);
  const float fx = x0 - float(i0), fy = y0 - float(j0);
  const float u1 = WrapUnit(u + p->pixelStepX[level], wrapX), v1 = WrapUnit(v + p->pixelStepY[level], wrapY);
  const int32_t i1 = int32_t(double(p->scaleWidth[level]) * u1 - 0.5);
  const int32_t j1 = int32_t(double(p->scaleHeight[level]) * v1 - 0.5);
  float c00[4], c10[4], c01[4], c11[4];
  get_intcoord_unitary_color(i0, j0, p, level, c00);
  get_intcoord_unitary_color(i1, j0, p, level, c10);
  get_intcoord_unitary_color(i0, j1, p, level, c01);
  get_intcoord_unitary_color(i1, j1, p, level, c11);
  for (int i = 0; i < 4; ++i) {
    const float top = c00[i] + (c10[i] - c00[i]) * fx;
    const float bottom = c01[i] + (c11[i] - c01[i]) * fx;
    colour[i] = top + (bottom - top) * fy;
  }
}
