// The 128 x 128 preset preview that settings files, presets and memory dots
// carry (Globals.previewPyramid), and its copies to and from other pyramids.
// Each does nothing while the preview has no tiles.
#pragma once

#include <cstdint>

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
