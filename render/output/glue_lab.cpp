#include "render/output/glue_lab.h"

#include <algorithm>
#include <utility>

#include "render/output/glue_channel.h"
#include "render/output/glue_lab_tables.h"

namespace {

constexpr float kStep8 = 17.0f;
constexpr float kStep16 = 32768.0f / 15.0f;  // 2184.5334 as f32
constexpr int32_t kAxisStride[3] = {3, 48, 768};
constexpr int32_t kLastCell = kLabTableNodes - 2;

float StepFor(int32_t flag) { return flag ? kStep8 : kStep16; }

struct Lab {
  int32_t L, a, b;
};

Lab ToLab(int32_t red, int32_t green, int32_t blue, int32_t flag) {
  Lab out;
  RGB_to_LAB(red, green, blue, out.L, out.a, out.b, flag);
  return out;
}

void StoreRgb(const Lab& lab, int32_t& r, int32_t& g, int32_t& bl, int32_t flag) {
  LAB_to_RGB(lab.L, lab.a, lab.b, r, g, bl, flag);
  const int32_t full = flag ? 255 : 32768;
  r = GlueLimit(r, full);
  g = GlueLimit(g, full);
  bl = GlueLimit(bl, full);
}

// x1 the result's Lab channels, x2 the unfiltered pixel's.
template <class S>
Lab LabMultiply(const Lab& x1, const Lab& x2) {
  return {(x1.L * x2.L) >> S::kShift8, GlueHard<S>(x2.a, x1.a), GlueHard<S>(x2.b, x1.b)};
}
template <class S>
Lab LabScreen(const Lab& x1, const Lab& x2) {
  return {S::k255 - (((S::k255 - x1.L) * (S::k255 - x2.L)) >> S::kShift8), GlueHard<S>(x2.a, x1.a),
          GlueHard<S>(x2.b, x1.b)};
}
template <class S>
Lab LabPin(const Lab& x1, const Lab& x2) {
  return {GluePin<S>(x1.L, x2.L), GluePin<S>(x1.a, x2.a), GluePin<S>(x1.b, x2.b)};
}

template <Lab (*Blend8)(const Lab&, const Lab&), Lab (*Blend16)(const Lab&, const Lab&)>
void GlueInLab(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t flag, bool swap) {
  Lab res = ToLab(r, g, bl, flag);
  Lab unf = ToLab(R, G, B, flag);
  if (swap) std::swap(res, unf);
  StoreRgb(flag ? Blend8(res, unf) : Blend16(res, unf), r, g, bl, flag);
}

}  // namespace

void tetrahedral_lookup(const int32_t input[3], int32_t output[3], const uint8_t* table, float step) {
  const float top = step * static_cast<float>(kLabTableNodes - 1);
  int32_t cell[3];
  int32_t frac[3];
  for (int32_t i = 0; i < 3; ++i) {
    const float v = std::clamp(static_cast<float>(input[i]), 0.0f, top);
    // The last node of an axis is reached as the far corner of cell 14.
    cell[i] = std::min(static_cast<int32_t>(v / step), kLastCell);
    frac[i] = static_cast<int32_t>(v - static_cast<float>(cell[i]) * step);
  }
  // Walk the cell's tetrahedron from the base node along the axis with the
  // largest fraction first; ties keep the earlier axis first.
  int32_t lo = 0, mid = 1, hi = 2;
  if (frac[lo] > frac[mid]) std::swap(lo, mid);
  if (frac[lo] > frac[hi]) std::swap(lo, hi);
  if (frac[mid] > frac[hi]) std::swap(mid, hi);
  const int32_t w0 = static_cast<int32_t>(step - static_cast<float>(frac[hi]));
  const int32_t w1 = frac[hi] - frac[mid];
  const int32_t w2 = frac[mid] - frac[lo];
  const int32_t w3 = frac[lo];
  const int32_t n0 = cell[0] * kAxisStride[0] + cell[1] * kAxisStride[1] + cell[2] * kAxisStride[2];
  const int32_t n1 = n0 + kAxisStride[hi];
  const int32_t n2 = n1 + kAxisStride[mid];
  const int32_t n3 = n2 + kAxisStride[lo];
  for (int32_t k = 0; k < 3; ++k) {
    output[k] = (w0 * table[n0 + k] + w1 * table[n1 + k] + w2 * table[n2 + k] + w3 * table[n3 + k]) / 17;
  }
}

void RGB_to_LAB(int32_t red, int32_t green, int32_t blue, int32_t& L, int32_t& a, int32_t& b, int32_t flag) {
  const int32_t in[3] = {red, green, blue};
  int32_t out[3];
  tetrahedral_lookup(in, out, RGB_to_Lab_table, StepFor(flag));
  L = out[0];
  a = out[1];
  b = out[2];
}

void LAB_to_RGB(int32_t L, int32_t a, int32_t b, int32_t& red, int32_t& green, int32_t& blue, int32_t flag) {
  const int32_t in[3] = {L, a, b};
  int32_t out[3];
  tetrahedral_lookup(in, out, Lab_to_RGB_table, StepFor(flag));
  red = out[0];
  green = out[1];
  blue = out[2];
}

void GlueLabMultiply(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t flag) {
  GlueInLab<LabMultiply<Glue8Scale>, LabMultiply<Glue16Scale>>(r, g, bl, R, G, B, flag, false);
}

void GlueLabScreen(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t flag) {
  GlueInLab<LabScreen<Glue8Scale>, LabScreen<Glue16Scale>>(r, g, bl, R, G, B, flag, false);
}

void GlueLabPinLight(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t flag) {
  GlueInLab<LabPin<Glue8Scale>, LabPin<Glue16Scale>>(r, g, bl, R, G, B, flag, false);
}

// Spin light is pin light with the two pixels' parts exchanged.
void GlueLabSpinLight(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t flag) {
  GlueInLab<LabPin<Glue8Scale>, LabPin<Glue16Scale>>(r, g, bl, R, G, B, flag, true);
}
