// The custom icon every written document and settings file receives: the
// picture fitted into 116 pixels and centred in 128 x 128, with a soft drop
// shadow, as an 'icns' family of one 32-bit image and its 8-bit mask.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct FSRef;
struct PyramidDescriptor;

constexpr int32_t kIconSide = 128;
constexpr int32_t kIconPictureSide = 116;
constexpr uint32_t kIcnsBytes = 81944;

// A soft shadow mask in level 0 of a one-byte pyramid: 255 inside the box,
// falling off smoothly outside it over 3.5·radius, 2 pixels lower.
void PaintRectShadow(PyramidDescriptor* mask, float radius, const Rect* box);
// The source's size fitted into 116 pixels on its longer edge.
void FitIconPicture(int32_t width, int32_t height, int32_t* fittedWidth, int32_t* fittedHeight);
// The icon picture into a 128 x 128 packed RGBA pyramid.
void PaintLovelyPreview(PyramidDescriptor* source, PyramidDescriptor* icon);
// The 81944-byte 'icns' family of the icon picture.
void BuildIcnsResource(const PyramidDescriptor* icon, uint8_t* out);
// Builds and stores the icon of `file`; 0 (stored, or no memory for it) or
// the store's error. `shownAs` names the file once put in place, when the
// icon is stored for a temporary about to be renamed over it. A failure
// leaves the file as it was, without an icon: callers carry on.
int16_t MaybeAddOSXIconCore(PyramidDescriptor* image, const FSRef* file, const FSRef* shownAs = nullptr);
int16_t MaybeAddOSXIcon(PyramidDescriptor* image, const FSRef* file, const FSRef* shownAs = nullptr);
