// The standard reduction of one strip of a pyramid level into the next
// coarser level with the fixed 32-tap kernel.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct PyramidDescriptor;

// Taps of the kernel by source offset (dx, dy) from (2X, 2Y), offsets -2 to 3;
// the corners weigh nothing and the weights sum to 1640.
constexpr int32_t kReductionWeights[6][6] = {
    {0, 1, 4, 4, 1, 0},         {1, 16, 64, 64, 16, 1}, {4, 64, 256, 256, 64, 4},
    {4, 64, 256, 256, 64, 4},   {1, 16, 64, 64, 16, 1}, {0, 1, 4, 4, 1, 0},
};

// The integer kinds divide by the 1640 the weights sum to and round to the
// nearest step, so a uniform level stays the same at every coarser level
// (dividing by 1630 and truncating, as once done, lifted 200 to 201 and on
// to 207 by level 7, brightening everything seen from afar). The float
// kinds are exact.
constexpr int32_t kReductionWeightSum = 1640;
constexpr float kReductionScaleFloat = 0.00060975610f;

// Fills `strip` of level + 1 from `level`; clips the strip to level + 1 in
// place first. Kind 3 folds source coordinates by the wrap mode, every other
// kind clamps them; kind 7 takes a 2 x 2 box; kind 2 is left as it is.
void UpdateNextSmallerLevel_core(PyramidDescriptor* pyramid, int32_t level, Rect* strip);

// Clips `strip` to level + 1; false when nothing of it is left or the level
// pair does not exist.
bool ClipReductionStrip(const PyramidDescriptor* pyramid, int32_t level, Rect* strip);
