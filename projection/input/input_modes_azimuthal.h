// Input layouts centred on the front direction: mirror balls (a plain one
// and two widened ones), polar and fisheye discs, the orthographic and
// stereographic hemispheres and the rectilinear (pinhole) picture.
#pragma once

#include "projection/input/input_modes_common.h"

void InputMirrorBall(const InputQuery& q, InputAnswer* a);
void InputMirrorBallK1149(const InputQuery& q, InputAnswer* a);
void InputMirrorBallK155(const InputQuery& q, InputAnswer* a);
void InputPolar(const InputQuery& q, InputAnswer* a);
void InputHalfPolar(const InputQuery& q, InputAnswer* a);
void InputFullFrameFisheye(const InputQuery& q, InputAnswer* a);
void InputOrthographic(const InputQuery& q, InputAnswer* a);
void InputRectilinear(const InputQuery& q, InputAnswer* a);
void InputStereographic(const InputQuery& q, InputAnswer* a);
