#include "projection/tumble.h"

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

#include "projection/rotation.h"
#include "projection/scalar_math.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr float kDegreesPerHalfTurn = 180.0f;

bool OpensHemisphere(int32_t outputMode) { return outputMode == 134 || outputMode == 142 || outputMode == 143; }

#if defined(__SSE2__)

// p·M with the three results side by side: lane j is p0·M0j + p1·M1j +
// p2·M2j, multiplied and added in that order like the scalar product, so
// every lane rounds as MultiplyRowVectorBy3x3 does. Lane 3 carries the
// matrices' fourth column along and is never read.
__m128 TurnRow(__m128 p, const float M[4][4]) {
  const __m128 x = _mm_shuffle_ps(p, p, _MM_SHUFFLE(0, 0, 0, 0));
  const __m128 y = _mm_shuffle_ps(p, p, _MM_SHUFFLE(1, 1, 1, 1));
  const __m128 z = _mm_shuffle_ps(p, p, _MM_SHUFFLE(2, 2, 2, 2));
  const __m128 a = _mm_mul_ps(x, _mm_loadu_ps(M[0]));
  const __m128 b = _mm_mul_ps(y, _mm_loadu_ps(M[1]));
  const __m128 c = _mm_mul_ps(z, _mm_loadu_ps(M[2]));
  return _mm_add_ps(_mm_add_ps(a, b), c);
}

#endif


}  // namespace

void InitTwirlTranformation(tumbletype* tumble, float angleX, float angleY, float angleSpin) {
  tumble->angleX = angleX;
  tumble->angleY = angleY;
  tumble->angleSpin = angleSpin;
  const float x[3] = {1.0f, 0.0f, 0.0f};
  const float y[3] = {0.0f, 1.0f, 0.0f};
  const float z[3] = {0.0f, 0.0f, 1.0f};
  for (int i = 0; i < 3; ++i) {
    tumble->axisX[i] = x[i];
    tumble->axisY[i] = y[i];
    tumble->axisZ[i] = z[i];
  }
  // The matrices' fourth column is left as MatrixFromAxisAngle finds it;
  // start from zero so that the record is fully defined.
  for (int i = 0; i < 4; ++i) {
    tumble->rotateX[i][3] = 0.0f;
    tumble->rotateY[i][3] = 0.0f;
    tumble->rotateSpin[i][3] = 0.0f;
  }
  tumble->rotateX[3][3] = tumble->rotateY[3][3] = tumble->rotateSpin[3][3] = 1.0f;

  MatrixFromAxisAngle(tumble->axisX, angleX, tumble->rotateX);
  MatrixFromAxisAngle(tumble->axisY, angleY, tumble->rotateY);
  MultiplyRowVectorBy3x3(tumble->axisZ, tumble->rotateX, tumble->spinAxis);
  normalize3(tumble->spinAxis);
  MultiplyRowVectorBy3x3(tumble->spinAxis, tumble->rotateY, tumble->spinAxis);
  normalize3(tumble->spinAxis);
  MatrixFromAxisAngle(tumble->spinAxis, angleSpin, tumble->rotateSpin);
}

void InitTwirlTranformationForGyrelle(float y, float x, float spin, tumbletype* tumble) {
  InitTwirlTranformation(tumble, x * kPiF / kDegreesPerHalfTurn, y * kPiF / kDegreesPerHalfTurn,
                         spin * kPiF / kDegreesPerHalfTurn);
}

void TwirlTransform(const tumbletype* tumble, int32_t outputMode, float p[3]) {
  if (OpensHemisphere(outputMode)) {
    uint8_t ignored = 0;
    SubstituteSphereSegment(p, 0.5, &ignored);
  }
#if defined(__SSE2__)
  // Every mapped point passes here: the three products stay in one register.
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
