// Input layouts whose columns are meridians: the equirectangular panorama
// and its half and quarter strips, the central cylinder, Mercator and the
// equal-area cylinder. All read the picture mirrored (u = 1 - s).
#pragma once

#include "projection/input/input_modes_common.h"

void InputEquirectangular(const InputQuery& q, InputAnswer* a);
void InputCylindrical(const InputQuery& q, InputAnswer* a);
void InputEquirectangularHalf(const InputQuery& q, InputAnswer* a);
void InputEquirectangularQuarter(const InputQuery& q, InputAnswer* a);
void InputMercator(const InputQuery& q, InputAnswer* a);
void InputEqualAreaCylinder(const InputQuery& q, InputAnswer* a);
