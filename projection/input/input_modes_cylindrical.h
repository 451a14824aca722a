// Input layouts whose columns are meridians: the equirectangular panorama
// and its half and quarter strips, the central cylinder, Mercator and the
// equal-area cylinder. All read the picture mirrored (u = 1 - s).
#pragma once

#include "projection/input/input_modes_common.h"
#include "projection/sphere_convention.h"

// The answer for SphericalToRectangular's (s, t), mirrored. Apart from the
// mapping, for callers that work out many points' (s, t) together.
inline void EquirectangularAnswer(float s, float t, InputAnswer* a) {
  a->u = 1.0f - s;
  a->v = t;
}

// Inline: the most common input of all, reached for every mapped point.
inline void InputEquirectangular(const InputQuery& q, InputAnswer* a) {
  float s, t;
  SphericalToRectangular(q.point, &s, &t);
  EquirectangularAnswer(s, t, a);
}
void InputCylindrical(const InputQuery& q, InputAnswer* a);
void InputEquirectangularHalf(const InputQuery& q, InputAnswer* a);
void InputEquirectangularQuarter(const InputQuery& q, InputAnswer* a);
void InputMercator(const InputQuery& q, InputAnswer* a);
void InputEqualAreaCylinder(const InputQuery& q, InputAnswer* a);
