// Cutting a cube-cross input into six face pyramids, Globals.pyramids[3] to
// [8], so that the input mapping samples each face as an image of its own.
// The cut is made once per layout: the mark of pyramid 8 (cacheId 101 for
// the 4 x 3 cross, 102 for the 3 x 4 one) says which layout the faces hold.
#pragma once

#include <cstdint>

struct Globals;

constexpr int32_t kCubeCrossHorizontalMark = 101;
constexpr int32_t kCubeCrossVerticalMark = 102;

// Input mode 27: four cells across, three down.
void Fill_4x3_cubecross(Globals* globals);
// Input mode 28: three cells across, four down.
void Fill_vertical_cubecross(Globals* globals);
