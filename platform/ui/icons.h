// Icon images by reference: a window's bevel buttons show the image their
// content names. The images belong to the caller and must outlive their use.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct UiIconImage {
  FourCC ref;
  const uint8_t* rgba;  // rows of width * 4 bytes
  int32_t width, height;
};

// Registers (or replaces) the image of `ref`; false when the pool is full.
bool UiRegisterIcon(FourCC ref, const uint8_t* rgba, int32_t width, int32_t height);
// The image of `ref`, or null.
const UiIconImage* UiFindIcon(FourCC ref);
