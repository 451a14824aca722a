// The 128 x 128 preset preview that settings files, presets and memory dots
// carry (Globals.previewPyramid), and its copies to and from other pyramids.
// Each does nothing while the preview has no tiles.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;
struct PyramidDescriptor;

constexpr int32_t kPresetPreviewSide = 128;

// A vertical grey ramp: row y is (255 - y, 255 - y, 255 - y, 255).
void Build_blank_preview(Globals* globals);
// The preview into the target, scaled when the sizes differ.
void CopyPreviewIntoPyramid(Globals* globals, PyramidDescriptor* target);
// The source into the preview, scaled to 128 x 128; nothing when the source
// has no tiles either.
void CopyPyramidIntoPreview(Globals* globals, const PyramidDescriptor* source);

// The preview from the host's output: the centred square of the output
// rectangle scaled to 128 x 128 (the ramp stays when no memory can be had).
// Nothing unless the preview exists and the host offers advanceState.
void Build_preview(Globals* globals);
// `area` of the host's output buffer (coordinates from the buffer's first
// pixel) into level 0 of an 8-bit RGBA pyramid at (x - left, y - top),
// opaque; 16-bit and float samples are reduced to 8 bits.
void CopyPartOfOutrectIntoPyr(Globals* globals, const Rect* area, PyramidDescriptor* target);
