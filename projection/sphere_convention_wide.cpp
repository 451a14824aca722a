#include "projection/sphere_convention_wide.h"

#include "platform/processor.h"
#include "projection/sphere_convention.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define GYRELLE_WIDE_SPHERE 1
#include <immintrin.h>
#endif

namespace {

void ScalarRun(const float* x, const float* y, const float* z, int32_t from, int32_t n, float* u, float* v) {
  for (int32_t i = from; i < n; ++i) {
    const float p[3] = {x[i], y[i], z[i]};
    SphericalToRectangular(p, &u[i], &v[i]);
  }
}

}  // namespace

#if defined(GYRELLE_WIDE_SPHERE)

// Plain adds, multiplies, divides, square roots, compares and blends: the
// attribute adds no fused multiply-add, and each lane rounds as the scalar
// code does.
#define GYRELLE_AVX2 __attribute__((target("avx2")))

namespace {

using namespace float_atan_detail;

GYRELLE_AVX2 inline __m256 Pick(__m256 mask, __m256 yes, __m256 no) { return _mm256_blendv_ps(no, yes, mask); }
GYRELLE_AVX2 inline __m256 Set(float f) { return _mm256_set1_ps(f); }
GYRELLE_AVX2 inline __m256 Less(__m256 a, float b) { return _mm256_cmp_ps(a, Set(b), _CMP_LT_OQ); }

// fast_acos(y) / pi with y clamped and a NaN turned to 0, as the scalar
// SphericalToRectangular gives v. fast_acos's two branches are one
// polynomial of |y| (at y = -0 both give the same bits), the negative one
// then taken from pi.
GYRELLE_AVX2 __m256 LatitudeV(__m256 y) {
  y = Pick(_mm256_cmp_ps(y, Set(1.0f), _CMP_GT_OQ), Set(1.0f), y);
  y = Pick(_mm256_cmp_ps(y, Set(-1.0f), _CMP_LT_OQ), Set(-1.0f), y);
  const __m256 m = _mm256_andnot_ps(Set(-0.0f), y);
  __m256 poly = _mm256_add_ps(_mm256_mul_ps(Set(-0.0187293f), m), Set(0.074261f));
  poly = _mm256_sub_ps(_mm256_mul_ps(poly, m), Set(0.2121144f));
  poly = _mm256_add_ps(_mm256_mul_ps(poly, m), Set(1.5707288f));
  const __m256 r = _mm256_mul_ps(poly, _mm256_sqrt_ps(_mm256_sub_ps(Set(1.0f), m)));
  const __m256 acos = Pick(_mm256_cmp_ps(y, Set(0.0f), _CMP_GE_OQ), r, _mm256_sub_ps(Set(kPiF), r));
  const __m256 vv = _mm256_mul_ps(acos, Set(sphere_convention_detail::kInvPiF));
  return _mm256_andnot_ps(_mm256_cmp_ps(vv, vv, _CMP_UNORD_Q), vv);
}

// AtanF of a positive finite t, every range of its argument reduction in a
// lane of its own: a reduction is (a·t - b) / (c + d·t) with the constants
// of the lane's range, which gives the scalar formulas' bits (1·t and 0 + t
// are t, 0·t - 1 is -1).
GYRELLE_AVX2 __m256 AtanPositive(__m256 t) {
  const __m256 small = Less(t, 0.4375f);
  const __m256 r0 = _mm256_andnot_ps(small, Less(t, 0.6875f));
  const __m256 r1 = _mm256_andnot_ps(Less(t, 0.6875f), Less(t, 1.1875f));
  const __m256 r2 = _mm256_andnot_ps(Less(t, 1.1875f), Less(t, 2.4375f));
  const __m256 r3 = _mm256_cmp_ps(t, Set(2.4375f), _CMP_GE_OQ);
  const __m256 a = Pick(r0, Set(2.0f), Pick(r3, Set(0.0f), Set(1.0f)));
  const __m256 b = Pick(r2, Set(1.5f), Set(1.0f));
  const __m256 c = Pick(r0, Set(2.0f), Pick(r3, Set(0.0f), Set(1.0f)));
  const __m256 d = Pick(r2, Set(1.5f), Set(1.0f));
  const __m256 reduced = _mm256_div_ps(_mm256_sub_ps(_mm256_mul_ps(a, t), b), _mm256_add_ps(c, _mm256_mul_ps(d, t)));
  const __m256 x = Pick(small, t, reduced);
  const __m256 hi = Pick(r0, Set(kAtanHi[0]), Pick(r1, Set(kAtanHi[1]), Pick(r2, Set(kAtanHi[2]), Set(kAtanHi[3]))));
  const __m256 lo = Pick(r0, Set(kAtanLo[0]), Pick(r1, Set(kAtanLo[1]), Pick(r2, Set(kAtanLo[2]), Set(kAtanLo[3]))));

  const __m256 z = _mm256_mul_ps(x, x);
  const __m256 w = _mm256_mul_ps(z, z);
  __m256 s1 = _mm256_add_ps(Set(kAtanT[8]), _mm256_mul_ps(w, Set(kAtanT[10])));
  s1 = _mm256_add_ps(Set(kAtanT[6]), _mm256_mul_ps(w, s1));
  s1 = _mm256_add_ps(Set(kAtanT[4]), _mm256_mul_ps(w, s1));
  s1 = _mm256_add_ps(Set(kAtanT[2]), _mm256_mul_ps(w, s1));
  s1 = _mm256_mul_ps(z, _mm256_add_ps(Set(kAtanT[0]), _mm256_mul_ps(w, s1)));
  __m256 s2 = _mm256_add_ps(Set(kAtanT[7]), _mm256_mul_ps(w, Set(kAtanT[9])));
  s2 = _mm256_add_ps(Set(kAtanT[5]), _mm256_mul_ps(w, s2));
  s2 = _mm256_add_ps(Set(kAtanT[3]), _mm256_mul_ps(w, s2));
  s2 = _mm256_mul_ps(w, _mm256_add_ps(Set(kAtanT[1]), _mm256_mul_ps(w, s2)));
  const __m256 xs = _mm256_mul_ps(x, _mm256_add_ps(s1, s2));
  const __m256 inner = _mm256_sub_ps(x, xs);
  const __m256 outer = _mm256_sub_ps(hi, _mm256_sub_ps(_mm256_sub_ps(xs, lo), x));
  // Below 2^-29 the scalar code returns t itself, which the series gives too.
  const __m256 r = Pick(small, inner, outer);
  return Pick(_mm256_cmp_ps(t, Set(0x1p25f), _CMP_GE_OQ), Set(kAtanHi[3] + kAtanLo[3]), r);
}

// u of eight directions, and a mask of the lanes the scalar code must do:
// those where Atan2F leaves its main path.
GYRELLE_AVX2 __m256 LongitudeU(__m256 py, __m256 px, int* special) {
  const __m256i hy = _mm256_castps_si256(py), hx = _mm256_castps_si256(px);
  const __m256i magnitude = _mm256_set1_epi32(0x7fffffff);
  const __m256i iy = _mm256_and_si256(hy, magnitude), ix = _mm256_and_si256(hx, magnitude);
  const __m256i infinity = _mm256_set1_epi32(0x7f800000);
  const __m256i zero = _mm256_setzero_si256();
  // Zero, infinite or NaN arguments, or exponents more than 60 apart. (At
  // x = 1 the scalar code takes AtanF(y), the bits the main path gives.)
  const __m256i k = _mm256_srai_epi32(_mm256_sub_epi32(iy, ix), 23);
  __m256i apart = _mm256_cmpeq_epi32(ix, zero);
  apart = _mm256_or_si256(apart, _mm256_cmpeq_epi32(iy, zero));
  apart = _mm256_or_si256(apart, _mm256_cmpgt_epi32(ix, _mm256_sub_epi32(infinity, _mm256_set1_epi32(1))));
  apart = _mm256_or_si256(apart, _mm256_cmpgt_epi32(iy, _mm256_sub_epi32(infinity, _mm256_set1_epi32(1))));
  apart = _mm256_or_si256(apart, _mm256_cmpgt_epi32(k, _mm256_set1_epi32(60)));
  apart = _mm256_or_si256(apart, _mm256_cmpgt_epi32(_mm256_set1_epi32(-60), k));
  *special = _mm256_movemask_ps(_mm256_castsi256_ps(apart));

  const __m256 zz = AtanPositive(_mm256_andnot_ps(Set(-0.0f), _mm256_div_ps(py, px)));
  const __m256 negY = _mm256_castsi256_ps(_mm256_cmpgt_epi32(zero, hy));
  const __m256 negX = _mm256_castsi256_ps(_mm256_cmpgt_epi32(zero, hx));
  const __m256 zlo = _mm256_sub_ps(zz, Set(kAtanPiLo));
  const __m256 left = Pick(negY, _mm256_sub_ps(zlo, Set(kAtanPi)), _mm256_sub_ps(Set(kAtanPi), zlo));
  const __m256 right = Pick(negY, _mm256_xor_ps(zz, Set(-0.0f)), zz);
  const __m256 angle = Pick(negX, left, right);
  return _mm256_mul_ps(_mm256_add_ps(angle, Set(kPiF)), Set(sphere_convention_detail::kInvTwoPiF));
}

GYRELLE_AVX2 void WideRun(const float* x, const float* y, const float* z, int32_t n, float* u, float* v) {
  int32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    int special = 0;
    _mm256_storeu_ps(u + i, LongitudeU(_mm256_loadu_ps(x + i), _mm256_loadu_ps(z + i), &special));
    _mm256_storeu_ps(v + i, LatitudeV(_mm256_loadu_ps(y + i)));
    for (int lane = 0; special != 0; ++lane, special >>= 1) {
      if (special & 1) ScalarRun(x, y, z, i + lane, i + lane + 1, u, v);
    }
  }
  ScalarRun(x, y, z, i, n, u, v);
}

}  // namespace

void SphericalToRectangularRun(const float* x, const float* y, const float* z, int32_t n, float* u, float* v) {
  if (ProcessorHasAvx2())
    WideRun(x, y, z, n, u, v);
  else
    ScalarRun(x, y, z, 0, n, u, v);
}

#else

void SphericalToRectangularRun(const float* x, const float* y, const float* z, int32_t n, float* u, float* v) {
  ScalarRun(x, y, z, 0, n, u, v);
}

#endif
