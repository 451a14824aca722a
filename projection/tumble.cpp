#include "projection/tumble.h"

#include "projection/rotation.h"
#include "projection/scalar_math.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr float kDegreesPerHalfTurn = 180.0f;

// Ones on the diagonal and zeros (of either sign) elsewhere, in the 3×3 part
// the tumble multiplies by.
bool IsIdentity3(const float M[4][4]) {
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      if (M[i][j] != (i == j ? 1.0f : 0.0f)) return false;
    }
  }
  return true;
}

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
  tumble->identity = IsIdentity3(tumble->rotateX) && IsIdentity3(tumble->rotateY) && IsIdentity3(tumble->rotateSpin);
}

void InitTwirlTranformationForGyrelle(float y, float x, float spin, tumbletype* tumble) {
  InitTwirlTranformation(tumble, x * kPiF / kDegreesPerHalfTurn, y * kPiF / kDegreesPerHalfTurn,
                         spin * kPiF / kDegreesPerHalfTurn);
}

void OpenFrontHemisphere(float p[3]) {
  uint8_t ignored = 0;
  SubstituteSphereSegment(p, 0.5, &ignored);
}
