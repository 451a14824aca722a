// Input layouts that are nets cut from the sphere: 12 or 6 polyconic gores
// side by side, the northern halves of 12 gores laid round the pole as
// petals, and the net of an input polyhedron.
#pragma once

#include "projection/input_modes_common.h"

void InputGores12(const InputQuery& q, InputAnswer* a);
void InputGores12Half(const InputQuery& q, InputAnswer* a);
void InputGores6(const InputQuery& q, InputAnswer* a);
// Needs the polyhedron model, which does not exist yet: every direction is
// outside until then.
void InputPolyhedronNet(const InputQuery& q, InputAnswer* a);
