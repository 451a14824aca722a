#include "projection/tumble.h"

#include "projection/rotation.h"
#include "projection/scalar_math.h"
#include "projection/stereographic.h"

namespace {

constexpr float kDegreesPerHalfTurn = 180.0f;

bool OpensHemisphere(int32_t outputMode) { return outputMode == 134 || outputMode == 142 || outputMode == 143; }

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
  MultiplyRowVectorBy3x3(p, tumble->rotateX, p);
  MultiplyRowVectorBy3x3(p, tumble->rotateY, p);
  MultiplyRowVectorBy3x3(p, tumble->rotateSpin, p);
}
