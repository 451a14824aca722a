// Whole-pyramid and whole-level operations around previews, thumbnails, cube
// faces and export canvases: copies, a rescale into an 8-bit canvas, a grey
// mask into alpha, and solid and test-pattern fills. A precondition that does
// not hold (layouts or kinds that differ, an unallocated pyramid, an empty
// overlap) makes them do nothing.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct PyramidDescriptor;

// Raw copy of every tile when both have the same level-0 size, bytes per
// pixel, level count and total bytes.
void CopyPyrAToB(const PyramidDescriptor* a, PyramidDescriptor* b);
// Pixel by pixel through unit colour over the overlap of the two levels;
// both pyramids of the same data kind.
void CopyLevelToLevelSlowly(const PyramidDescriptor* a, PyramidDescriptor* b, int32_t levelA, int32_t levelB);
// `source` of a's `level` into b at (destX, destY) of the same level.
void CopyPartOfAtoB(const PyramidDescriptor* a, const Rect* source, PyramidDescriptor* b, int32_t destX,
                    int32_t destY, int32_t level);
// Resamples the whole of `source` into `targetRect` of the 8-bit target's
// level 0 (opaque), reading `bias` levels finer than the width ratio asks,
// then rebuilds the target's levels.
void ScalePyrNicely_TargetAlways4(const PyramidDescriptor* source, PyramidDescriptor* target,
                                  const Rect* sourceRect, const Rect* targetRect, float bias);
// Same level-0 size: copy level 0 and rebuild b's levels; else rescale.
void CopyOrScalePyrToPyr(const PyramidDescriptor* a, PyramidDescriptor* b);
// The bytes of a kind 0 mask become the alpha of a kind 3 target.
void Copy1ToAlpha4(const PyramidDescriptor* mask, PyramidDescriptor* target, int32_t level);
// Components as set_pyramid_sample_pointColor takes them.
void PaintLevelSolidColor(PyramidDescriptor* pyramid, int32_t level, int32_t r, int32_t g, int32_t b,
                          int32_t a);
// A diagonal colour pattern in level 0 (x XOR y).
void PaintTestPattern(PyramidDescriptor* pyramid);
