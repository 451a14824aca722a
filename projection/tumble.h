// The whole-sphere tumble: the rotation the user sets with three angles and
// that every output point passes through before the input mapping. Built
// once per view, then only read, so any number of worker tasks may apply
// one tumble at the same time.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

#include "projection/rotation.h"

struct tumbletype {
  float rotateX[4][4];     // about axisX by angleX
  float rotateY[4][4];     // about axisY by angleY
  float rotateSpin[4][4];  // about spinAxis by angleSpin
  float axisX[3];
  float axisY[3];
  float axisZ[3];
  float spinAxis[3];  // the z axis turned by rotateX, then by rotateY
  float angleX;
  float angleY;
  float angleSpin;
  // 1 when the three matrices came out exactly the identity (every angle
  // zero): TwirlTransform may then leave most points as they are. Set by
  // InitTwirlTranformation from the matrices themselves; a record built any
  // other way keeps 0 and turns every point by the products.
  uint8_t identity;
};

// Angles in radians.
void InitTwirlTranformation(tumbletype* tumble, float angleX, float angleY, float angleSpin);
// Angles in degrees; note that the first argument is the Y angle and the
// second the X angle, the order in which the settings hand them over.
void InitTwirlTranformationForGyrelle(float y, float x, float spin, tumbletype* tumble);

// The front hemisphere opened to the whole sphere, the step output modes
// 134, 142 and 143 take before the tumble.
void OpenFrontHemisphere(float p[3]);

namespace tumble_detail {

inline bool OpensHemisphere(int32_t outputMode) { return outputMode == 134 || outputMode == 142 || outputMode == 143; }

// Whether x·1 + y·0 + z·0 (any order of the sums, any signs of the zeros)
// gives back x's bits: true for every finite x that is neither zero (whose
// sign the zero terms may change) nor subnormal (kept out in case the FPU
// flushes them). Infinities and NaN are left to the products as well, since
// inf·0 is NaN.
inline bool SurvivesIdentityProducts(float x) {
  uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  // The exponent field neither all zeros nor all ones, in one comparison.
  return (bits & 0x7F800000u) - 0x00800000u < 0x7F000000u;
}

#if defined(__SSE2__)
// p·M with the three results side by side: lane j is p0·M0j + p1·M1j +
// p2·M2j, multiplied and added in that order like the scalar product, so
// every lane rounds as MultiplyRowVectorBy3x3 does. Lane 3 carries the
// matrices' fourth column along and is never read.
inline __m128 TurnRow(__m128 p, const float M[4][4]) {
  const __m128 x = _mm_shuffle_ps(p, p, _MM_SHUFFLE(0, 0, 0, 0));
  const __m128 y = _mm_shuffle_ps(p, p, _MM_SHUFFLE(1, 1, 1, 1));
  const __m128 z = _mm_shuffle_ps(p, p, _MM_SHUFFLE(2, 2, 2, 2));
  const __m128 a = _mm_mul_ps(x, _mm_loadu_ps(M[0]));
  const __m128 b = _mm_mul_ps(y, _mm_loadu_ps(M[1]));
  const __m128 c = _mm_mul_ps(z, _mm_loadu_ps(M[2]));
  return _mm_add_ps(_mm_add_ps(a, b), c);
}
#endif

}  // namespace tumble_detail

// p = p·rotateX·rotateY·rotateSpin, in place and not normalised again. Output
// modes 134, 142 and 143 first open the front hemisphere to the whole
// sphere. Inline: every mapped point passes here.
inline void TwirlTransform(const tumbletype* tumble, int32_t outputMode, float p[3]) {
  using namespace tumble_detail;
  if (OpensHemisphere(outputMode)) OpenFrontHemisphere(p);
  // The identity leaves an ordinary point as it is; only points with a
  // zero, subnormal or non-finite coordinate need the products' signs.
  if (tumble->identity && SurvivesIdentityProducts(p[0]) && SurvivesIdentityProducts(p[1]) &&
      SurvivesIdentityProducts(p[2]))
    return;
#if defined(__SSE2__)
  // The three products stay in one register.
  __m128 v = _mm_setr_ps(p[0], p[1], p[2], 0.0f);
  v = TurnRow(v, tumble->rotateX);
  v = TurnRow(v, tumble->rotateY);
  v = TurnRow(v, tumble->rotateSpin);
  alignas(16) float out[4];
  _mm_store_ps(out, v);
  p[0] = out[0], p[1] = out[1], p[2] = out[2];
#else
  MultiplyRowVectorBy3x3(p, tumble->rotateX, p);
  MultiplyRowVectorBy3x3(p, tumble->rotateY, p);
  MultiplyRowVectorBy3x3(p, tumble->rotateSpin, p);
#endif
}
