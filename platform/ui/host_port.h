// The port record a host hands the plug-in in the filter record's
// platformData. Before each displayPixels call the plug-in points it at the
// window it is drawing (pixels, size, clip); the host then paints the pixel
// map into it, as a host paints into the current port.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

constexpr uint32_t kUiHostPortSignature = 0x47505254u;  // 'GPRT'

struct UiHostPort {
  uint32_t signature;  // kUiHostPortSignature: set by the host
  uint8_t* pixels;     // RGBA, null: no port current
  int32_t width, height, rowBytes;
  Rect clip;           // the host paints only inside it
  int32_t paints;      // displayPixels calls that painted, kept by the host
};

// The port that platformData names, or null when it names none.
inline UiHostPort* UiHostPortFrom(void* platformData) {
  auto* p = static_cast<UiHostPort*>(platformData);
  return p && p->signature == kUiHostPortSignature ? p : nullptr;
}
