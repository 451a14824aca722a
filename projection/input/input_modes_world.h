// Input layouts that are whole-world maps: Mollweide, Robinson, Lagrange,
// Winkel Tripel, Hammer, the oval with circular-arc meridians, and the
// globular disc of the front hemisphere. The two-sided maps tell the
// renderer which half (before the mirror) a point lies in.
#pragma once

#include "projection/complex_math.h"
#include "projection/input/input_modes_common.h"

void InputMollweide(const InputQuery& q, InputAnswer* a);
void InputRobinson(const InputQuery& q, InputAnswer* a);
void InputLagrange(const InputQuery& q, InputAnswer* a);
void InputWinkelTripel(const InputQuery& q, InputAnswer* a);
void InputHammer(const InputQuery& q, InputAnswer* a);
void InputOval(const InputQuery& q, InputAnswer* a);
void InputTwoCircles(const InputQuery& q, InputAnswer* a);

// Winkel Tripel (standard parallel arccos(2/pi)) of (longitude, latitude) in
// radians; X reaches pi/2 + 1 at (pi, 0).
fcomplex WinkelTripelForward(fcomplex z);
