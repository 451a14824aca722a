// Building the coarser levels of a pyramid on the worker tasks: each level is
// reduced from the one below it, strip by strip, one level after another.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct PerTaskStuffType;
struct PyramidDescriptor;

// One level's work order, shared read-only by every strip of it; lives on the
// stack of the thread that waits for the level.
struct MipLevelJob {
  PyramidDescriptor* mipPyramid;
  int32_t mipLevel;  // the source level; its strips fill mipLevel + 1
  Rect destination;  // the whole of level mipLevel + 1
};

// Rebuilds levels 1 to topLevel from level 0 and returns when all are done.
// Without an owner with task records the strips run here, in one piece.
void paint_mipmap_of_pyramid(PyramidDescriptor* pyramid);

// Runs a level-building work order on one task record; false when the kind is
// not a level-building kind, so the caller hands it on.
bool DoStandardTasks(PerTaskStuffType* task, int32_t kind);

// The high-quality reduction: every tap is a bilinear unit-colour read at
// half-pixel steps. Kinds 3, 4 and 9; clips `strip` to level + 1 first.
void UpdateNextSmallerLevel_high_quality_core(PyramidDescriptor* pyramid, int32_t level, Rect* strip);
