#include "pyramid/pyramid_pushpull.h"

#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_sampling.h"

namespace {

bool ServedKind(const PyramidDescriptor* p) {
  return p->dataKind == PyramidDataKind_Packed8 || p->dataKind == PyramidDataKind_Four16 ||
         p->dataKind == PyramidDataKind_FourFloat;
}

bool LevelPair(const PyramidDescriptor* p, int32_t level) {
  return PyramidHasLevel(p, level) && level + 1 <= p->topLevel && ServedKind(p);
}

int32_t FullAlpha(const PyramidDescriptor* p) { return p->dataKind == PyramidDataKind_Four16 ? 32768 : 255; }

// Nearly transparent samples (below 1/63 of full) carry no colour into the
// coarser level; 16-bit alphas are cut to 9 bits so the sums stay in 32 bits.
int32_t PushWeight(const PyramidDescriptor* p, int32_t alpha) {
  if (p->dataKind == PyramidDataKind_Four16) return alpha < 520 ? 0 : alpha >> 6;
  return alpha < 4 ? 0 : alpha;
}

int32_t ClampChannel(float v, int32_t full) {
  if (!(v > 0.0f)) return 0;
  return v >= float(full) ? full : int32_t(v);
}

}  // namespace

void PushPaintLevelAbove(PyramidDescriptor* p, int32_t level) {
  if (!LevelPair(p, level)) return;
  if (p->dataKind == PyramidDataKind_FourFloat) return PushPaintLevelAboveFloat(p, level);
  constexpr int32_t kPlus[5][2] = {{0, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}};
  const int32_t full = FullAlpha(p);
  for (int32_t Y = 0; Y < p->levelHeight[level + 1]; ++Y)
    for (int32_t X = 0; X < p->levelWidth[level + 1]; ++X) {
      int32_t sum[3] = {0, 0, 0}, weights = 0;
      for (const auto& d : kPlus) {
        int32_t c[4];
        get_pyramid_sample_pointColorcall(2 * X + d[0], 2 * Y + d[1], p, level, &c[0], &c[1], &c[2], &c[3]);
        const int32_t w = PushWeight(p, c[3]);
        for (int k = 0; k < 3; ++k) sum[k] += w * c[k];
        weights += w;
      }
      if (weights > 0)
        set_pyramid_sample_point_unclampedColorcall(X, Y, p, level + 1, sum[0] / weights, sum[1] / weights,
                                                    sum[2] / weights, full);
      else
        set_pyramid_sample_point_unclampedColorcall(X, Y, p, level + 1, 0, 0, 0, 0);
    }
}

void PushPaintLevelAboveFloat(PyramidDescriptor* p, int32_t level) {
  if (!LevelPair(p, level) || p->dataKind != PyramidDataKind_FourFloat) return;
  constexpr int32_t kPlus[5][2] = {{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}};
  for (int32_t Y = 0; Y < p->levelHeight[level + 1]; ++Y)
    for (int32_t X = 0; X < p->levelWidth[level + 1]; ++X) {
      float sum[3] = {0, 0, 0}, weights = 0.0f;
      for (const auto& d : kPlus) {
        float c[4];
        get_pyramid_sample_point128bit_HDRcomponent_call(2 * X + d[0], 2 * Y + d[1], p, level, &c[0], &c[1],
                                                         &c[2], &c[3]);
        for (int k = 0; k < 3; ++k) sum[k] += c[3] * c[k];
        weights += c[3];
      }
      if (weights > 0.0f) {
        const float inverse = 1.0f / weights;
        set_pyramid_sample_point128bit_floats(X, Y, p, level + 1, sum[0] * inverse, sum[1] * inverse,
                                              sum[2] * inverse, 1.0f);
      } else {
        set_pyramid_sample_point128bit_floats(X, Y, p, level + 1, sum[0], sum[1], sum[2], 0.0f);
      }
    }
}

void PullPaintLevel(PyramidDescriptor* p, int32_t level) {
  if (!LevelPair(p, level)) return;
  if (p->dataKind == PyramidDataKind_FourFloat) return PullPaintLevelFloat(p, level);
  const int32_t full = FullAlpha(p);
  for (int32_t y = 0; y < p->levelHeight[level]; ++y)
    for (int32_t x = 0; x < p->levelWidth[level]; ++x) {
      int32_t c[4];
      get_pyramid_sample_pointColorcall(x, y, p, level, &c[0], &c[1], &c[2], &c[3]);
      if (c[3] == 0) {
        float f[4];
        gauss_pyramid_sampleColor(p, level + 1, float(x) * 0.5f, float(y) * 0.5f, &f[0], &f[1], &f[2], &f[3]);
        for (int k = 0; k < 3; ++k) c[k] = ClampChannel(f[k], full);
      }
      set_pyramid_sample_point_unclampedColorcall(x, y, p, level, c[0], c[1], c[2], full);
    }
}

void PullPaintLevelFloat(PyramidDescriptor* p, int32_t level) {
  if (!LevelPair(p, level) || p->dataKind != PyramidDataKind_FourFloat) return;
  const float stepX = p->pixelStepX[level], stepY = p->pixelStepY[level];
  const float scaleX = float(p->scaleWidth[level + 1]), scaleY = float(p->scaleHeight[level + 1]);
  for (int32_t y = 0; y < p->levelHeight[level]; ++y)
    for (int32_t x = 0; x < p->levelWidth[level]; ++x) {
      float c[4];
      get_pyramid_sample_point128bit_HDRcomponent_call(x, y, p, level, &c[0], &c[1], &c[2], &c[3]);
      if (c[3] == 0.0f) {
        const float sx = (float(x) + 0.5f) * stepX * scaleX - 0.5f;
        const float sy = (float(y) + 0.5f) * stepY * scaleY - 0.5f;
        gauss_pyramid_sampleColor(p, level + 1, sx, sy, &c[0], &c[1], &c[2], &c[3]);
      }
      set_pyramid_sample_point128bit_floats(x, y, p, level, c[0], c[1], c[2], 1.0f);
    }
}

void paint_pushpull_of_pyramid_above(PyramidDescriptor* p) {
  if (!p || !p->tileTable || p->topLevel < 1 || !ServedKind(p)) return;
  for (int32_t L = 0; L < p->topLevel; ++L) PushPaintLevelAbove(p, L);
  for (int32_t L = p->topLevel - 1; L >= 0; --L) PullPaintLevel(p, L);
}
