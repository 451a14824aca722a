// The whole-sphere tumble: the rotation the user sets with three angles and
// that every output point passes through before the input mapping. Built
// once per view, then only read, so any number of worker tasks may apply
// one tumble at the same time.
#pragma once

#include <cstdint>

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
};

// Angles in radians.
void InitTwirlTranformation(tumbletype* tumble, float angleX, float angleY, float angleSpin);
// Angles in degrees; note that the first argument is the Y angle and the
// second the X angle, the order in which the settings hand them over.
void InitTwirlTranformationForGyrelle(float y, float x, float spin, tumbletype* tumble);
// p = p·rotateX·rotateY·rotateSpin, in place and not normalised again. Output
// modes 134, 142 and 143 first open the front hemisphere to the whole sphere.
void TwirlTransform(const tumbletype* tumble, int32_t outputMode, float p[3]);
