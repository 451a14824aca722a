// Push-pull hole filling: every fully transparent pixel of level 0 gets
// colour spread from the opaque pixels around it, and level 0 ends opaque.
// The push builds each coarser level as an alpha-weighted average of the
// finer one (levels 1 and up are overwritten); the pull fills each level's
// holes from the level above, from the top down to level 0. Kinds 3, 4 and 9;
// any other kind is left alone.
#pragma once

#include <cstdint>

struct PyramidDescriptor;

void paint_pushpull_of_pyramid_above(PyramidDescriptor* pyramid);
// Rebuild level + 1 from level; the first hands kind 9 to the second.
void PushPaintLevelAbove(PyramidDescriptor* pyramid, int32_t level);
void PushPaintLevelAboveFloat(PyramidDescriptor* pyramid, int32_t level);
// Fill the holes of level from level + 1 and make level opaque.
void PullPaintLevel(PyramidDescriptor* pyramid, int32_t level);
void PullPaintLevelFloat(PyramidDescriptor* pyramid, int32_t level);
