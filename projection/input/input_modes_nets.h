// Input layouts that are nets cut from the sphere: 12 or 6 polyconic gores
// side by side, the northern halves of 12 gores laid round the pole as
// petals, and the net of an input polyhedron.
#pragma once

#include "projection/input/input_modes_common.h"

void InputGores12(const InputQuery& q, InputAnswer* a);
void InputGores12Half(const InputQuery& q, InputAnswer* a);
void InputGores6(const InputQuery& q, InputAnswer* a);
// The input is the net of the input polyhedron, fitted into the picture:
// the face the direction points at, found through the calling task's input
// hint (whose lists must have been built for that polyhedron), gives the net
// point. Layer: the hit net triangle + 3. No polyhedron, no hint or a
// direction that meets no face: outside.
void InputPolyhedronNet(const InputQuery& q, InputAnswer* a);
