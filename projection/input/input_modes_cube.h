// Input layouts made of cube faces: six faces as layers of one picture, the
// zenith and nadir faces side by side, and the horizontal and vertical
// crosses (split by the pass set-up into six face pyramids).
#pragma once

#include <cstdint>

#include "projection/input/input_modes_common.h"

// Cube face of a direction: 0 -z (back), 1 -x, 2 -y (down), 3 +z (front),
// 4 +x, 5 +y (up); (a, b) in [-1, 1] across the face. Only a strictly
// largest component picks the x or y faces; every tie falls to the z faces,
// where a direction whose z is not the largest (e.g. on the x = y diagonal
// of the equator) gets coordinates beyond [-1, 1] or infinite ones, which
// callers must treat as off the face.
int32_t SphereToCubeFaceCoords(const float point[3], float* a, float* b);

void InputCubeFaceLayers(const InputQuery& q, InputAnswer* a);
void InputZenithNadir(const InputQuery& q, InputAnswer* a);
void InputHorizontalCross(const InputQuery& q, InputAnswer* a);
void InputVerticalCross(const InputQuery& q, InputAnswer* a);
