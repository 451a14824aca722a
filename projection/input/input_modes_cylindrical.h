// Input layouts whose columns are meridians: the equirectangular panorama
// and its half and quarter strips, the central cylinder, Mercator and the
// equal-area cylinder. All read the picture mirrored (u = 1 - s).
#pragma once

#include "projection/input/input_modes_common.h"
#include "projection/sphere_convention.h"

// Inline: the most common input of all, reached for every mapped point.
inline void InputEquirectangular(const InputQuery& q, InputAnswer* a) {
  float s, t;
  SphericalToRectangular(q.point, &s, &t);
  a->u = 1.0f - s;
  a->v = t;
}
void InputCylindrical(const InputQuery& q, InputAnswer* a);
void InputEquirectangularHalf(const InputQuery& q, InputAnswer* a);
void InputEquirectangularQuarter(const InputQuery& q, InputAnswer* a);
void InputMercator(const InputQuery& q, InputAnswer* a);
void InputEqualAreaCylinder(const InputQuery& q, InputAnswer* a);
