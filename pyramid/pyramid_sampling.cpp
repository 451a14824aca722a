#include "pyramid/pyramid_sampling.h"

#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_filtered.h"
#include "pyramid/pyramid_footprint.h"
#include "pyramid/pyramid_overhang.h"
#include "pyramid/pyramid_reads.h"

namespace {

void Zero(float c[4]) { c[0] = c[1] = c[2] = c[3] = 0.0f; }

// One level of the trilinear read, in the stored scale.
inline void ReadLevel(const PyramidDescriptor* p, int32_t level, float u, float v, float c[4]) {
  const float x = float(p->scaleWidth[level]) * u - 0.5f;
  const float y = float(p->scaleHeight[level]) * v - 0.5f;
  // The 8-bit kind is nearly every read: straight to its member.
  if (p->dataKind == PyramidDataKind_Packed8) return gauss_pyramid_sample4_rgba(p, level, x, y, c);
  gauss_pyramid_sampleColor(p, level, x, y, &c[0], &c[1], &c[2], &c[3]);
}

// Column (or row) of a corner, by truncation toward zero. The position is
// bounded to a pixel beyond the level first; the pixel read clamps there
// anyway, and the conversion stays defined for any value.
float Bounded(float position, int32_t last) {
  const float lo = -1.0f, hi = float(last) + 2.0f;
  return position < lo ? lo : (position > hi ? hi : position);
}
int32_t CornerIndex(double position, int32_t last) {
  const double lo = -1.0, hi = double(last) + 2.0;
  return int32_t(position < lo ? lo : (position > hi ? hi : position));
}

}  // namespace

namespace {

// The two levels a trilinear read at `level` blends: the finer one held
// below the top, the coarser one above it.
inline void TrilinearLevels(const PyramidDescriptor* p, int32_t level, int32_t* L0, int32_t* L1) {
  const int32_t top = p->topLevel;
  *L0 = level < top - 1 ? level : top - 1;
  if (*L0 < 0) *L0 = 0;
  *L1 = *L0 + 1 <= top ? *L0 + 1 : top;
}

// The trilinear read into c0 (zeros without tiles); inline here, for every
// read of the footprint sampler passes through it once or twice.
inline void Trilinear(const PyramidDescriptor* p, int32_t level, float t, float u, float v, float c0[4]) {
  c0[0] = c0[1] = c0[2] = c0[3] = 0.0f;
  if (!p || !p->tileTable) return;
  int32_t L0, L1;
  TrilinearLevels(p, level, &L0, &L1);
  if (t == 0.0f) return ReadLevel(p, L0, u, v, c0);
  float c1[4];
  if (p->dataKind == PyramidDataKind_Packed8) {
    gauss_pyramid_sample4_pair(p, L0, float(p->scaleWidth[L0]) * u - 0.5f, float(p->scaleHeight[L0]) * v - 0.5f, c0,
                               L1, float(p->scaleWidth[L1]) * u - 0.5f, float(p->scaleHeight[L1]) * v - 0.5f, c1);
  } else {
    ReadLevel(p, L0, u, v, c0);
    ReadLevel(p, L1, u, v, c1);
  }
  // Grey kinds carry a constant alpha in both levels, so it survives.
  for (int i = 0; i < 4; ++i) c0[i] = c0[i] + (c1[i] - c0[i]) * t;
}

inline void UnitTrilinear(const PyramidDescriptor* p, int32_t level, float t, float u, float v, float colour[4]) {
  Trilinear(p, level, t, u, v, colour);
  const float scale = p ? p->toUnitScale : 0.0f;
  for (int i = 0; i < 4; ++i) colour[i] *= scale;
}

}  // namespace

void get_borked(const PyramidDescriptor* p, int32_t level, float t, float u, float v, float* r, float* g, float* b,
                float* a) {
  float c0[4];
  Trilinear(p, level, t, u, v, c0);
  *r = c0[0];
  *g = c0[1];
  *b = c0[2];
  *a = c0[3];
}

void get_unitarycoord_unitary_color(const PyramidDescriptor* p, int32_t level, float t, float u, float v,
                                    float colour[4]) {
  UnitTrilinear(p, level, t, u, v, colour);
}

namespace {

inline void SharpenedColour(const PyramidDescriptor* p, int32_t level, float t, float u, float v, float sharpen,
                            float colour[4]) {
  float ignoredLevel = 0.0f;
  if (!p) return Zero(colour);
  // A point inside the picture, nearly every one, has no overhang to map.
  const bool inside = u >= 0.0f && u <= 1.0f && v >= 0.0f && v < 1.0f;
  if (!inside && OverhangizeCoordinates(&u, &v, &ignoredLevel, p->overhangMode, p)) return Zero(colour);
  UnitTrilinear(p, level, t, u, v, colour);
  if (sharpen == 0.0f) return;
  float coarser[4];
  UnitTrilinear(p, level + 1, t, u, v, coarser);
  for (int i = 0; i < 3; ++i) colour[i] = colour[i] + (colour[i] - coarser[i]) * sharpen;
}

// SharpenedColour's steps for the 8-bit kind unsharpened, nearly every
// read, with what depends only on the level looked up once for a run.
struct Packed8Levels {
  const PyramidDescriptor* p;
  int32_t L0, L1;
  float t;
  float sx0, sy0, sx1, sy1;
};

inline bool Packed8LevelsOf(const PyramidDescriptor* p, int32_t level, float t, Packed8Levels* l) {
  if (!p || !p->tileTable || p->dataKind != PyramidDataKind_Packed8) return false;
  int32_t L0, L1;
  TrilinearLevels(p, level, &L0, &L1);
  *l = Packed8Levels{p,
                     L0,
                     L1,
                     t,
                     float(p->scaleWidth[L0]),
                     float(p->scaleHeight[L0]),
                     float(p->scaleWidth[L1]),
                     float(p->scaleHeight[L1])};
  return true;
}

// Reads at (u, v) and count - 1 steps on, each colour handed to `take` as
// SharpenedColour would give it. A template so that each caller has the
// loop inline with its own use of the colour. The points of a run are
// placed first and read together, a level at a time: no read depends on
// another, and the colours reach `take` in order.
template <class Take>
inline void Packed8UnitColours(const Packed8Levels& l, float u, float v, float stepU, float stepV, int32_t count,
                               Take&& take) {
  constexpr int32_t kRun = kFootprintMaxSamples;  // a footprint's reads in one run
  const PyramidDescriptor* p = l.p;
  while (count > 0) {
    const int32_t n = count < kRun ? count : kRun;
    float x0[kRun], y0[kRun], x1[kRun], y1[kRun];
    bool gone[kRun];
    int32_t read = 0;
    for (int32_t i = 0; i < n; ++i, u += stepU, v += stepV) {
      float pu = u, pv = v, ignoredLevel = 0.0f;
      const bool inside = pu >= 0.0f && pu <= 1.0f && pv >= 0.0f && pv < 1.0f;
      gone[i] = !inside && OverhangizeCoordinates(&pu, &pv, &ignoredLevel, p->overhangMode, p);
      if (gone[i]) continue;
      x0[read] = l.sx0 * pu - 0.5f;
      y0[read] = l.sy0 * pv - 0.5f;
      if (l.t != 0.0f) {
        x1[read] = l.sx1 * pu - 0.5f;
        y1[read] = l.sy1 * pv - 0.5f;
      }
      ++read;
    }
    float c0[kRun][4], c1[kRun][4];
    gauss_pyramid_sample4_run(p, l.L0, x0, y0, read, c0);
    if (l.t != 0.0f) gauss_pyramid_sample4_run(p, l.L1, x1, y1, read, c1);
    for (int32_t i = 0, k = 0; i < n; ++i) {
      float c[4];
      if (gone[i]) {
        Zero(c);
        take(c);
        continue;
      }
      for (int j = 0; j < 4; ++j) c[j] = c0[k][j];
      if (l.t != 0.0f) {
        for (int j = 0; j < 4; ++j) c[j] = c[j] + (c1[k][j] - c[j]) * l.t;
      }
      ++k;
      for (int j = 0; j < 4; ++j) c[j] *= p->toUnitScale;
      take(c);
    }
    count -= n;
  }
}

}  // namespace

void get_sharpened_color(const PyramidDescriptor* p, int32_t level, float t, float u, float v, float sharpen,
                         float colour[4]) {
  Packed8Levels levels;
  if (sharpen == 0.0f && Packed8LevelsOf(p, level, t, &levels)) {
    return Packed8UnitColours(levels, u, v, 0.0f, 0.0f, 1, [colour](const float c[4]) {
      for (int k = 0; k < 4; ++k) colour[k] = c[k];
    });
  }
  SharpenedColour(p, level, t, u, v, sharpen, colour);
}

void AddSharpenedColours(const PyramidDescriptor* p, int32_t level, float t, float u, float v, float stepU,
                         float stepV, int32_t count, float sharpen, double sum[4]) {
  Packed8Levels levels;
  if (sharpen == 0.0f && Packed8LevelsOf(p, level, t, &levels)) {
    return Packed8UnitColours(levels, u, v, stepU, stepV, count, [sum](const float c[4]) {
      for (int k = 0; k < 4; ++k) sum[k] += double(c[k]);
    });
  }
  for (int32_t i = 0; i < count; ++i) {
    float c[4];
    SharpenedColour(p, level, t, u, v, sharpen, c);
    for (int k = 0; k < 4; ++k) sum[k] += double(c[k]);
    u += stepU;
    v += stepV;
  }
}

void get_unit_ramped_wrapped_pyramid_sample_point(float u, float v, const PyramidDescriptor* p, int32_t level,
                                                  float colour[4]) {
  if (!PyramidHasLevel(p, level) || u != u || v != v) return Zero(colour);
  const float su = float(p->scaleWidth[level]), sv = float(p->scaleHeight[level]);
  const int32_t lastX = p->levelClampX[level], lastY = p->levelClampY[level];
  float cu[4] = {u, u + p->pixelStepX[level], u, u + p->pixelStepX[level]};
  float cv[4] = {v, v, v + p->pixelStepY[level], v + p->pixelStepY[level]};
  for (int i = 0; i < 4; ++i) {
    float ignoredLevel = 0.0f;
    OverhangizeCoordinates(&cu[i], &cv[i], &ignoredLevel, p->overhangMode, p);
  }
  const float x0 = Bounded(su * cu[0] - 0.5f, lastX), y0 = Bounded(sv * cv[0] - 0.5f, lastY);
  const int32_t i0 = int32_t(x0), j0 = int32_t(y0);
  const float fx = x0 - float(i0), fy = y0 - float(j0);
  int32_t col[4] = {i0, 0, 0, 0}, row[4] = {j0, 0, 0, 0};
  for (int i = 1; i < 4; ++i) {
    col[i] = CornerIndex(double(su * cu[i]) - 0.5, lastX);
    row[i] = CornerIndex(double(sv * cv[i]) - 0.5, lastY);
  }
  float c[4][4];
  for (int i = 0; i < 4; ++i) get_intcoord_unitary_color(col[i], row[i], p, level, c[i]);
  for (int k = 0; k < 4; ++k) {
    const float top = c[0][k] + (c[1][k] - c[0][k]) * fx;
    const float bottom = c[2][k] + (c[3][k] - c[2][k]) * fx;
    colour[k] = top + (bottom - top) * fy;
  }
}
