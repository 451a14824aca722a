// One worker task's memory of its last search over a polyhedron net: where
// the next search starts, what was hit, and the short triangle lists of the
// row band it works on. Owned by the task record, never shared.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

constexpr int kShortTriListCapacity = 6020;
constexpr int32_t kNoBand = -9999999;

struct renderhinttype {
  int32_t outputMode;
  float scale;
  int32_t renderKind;
  int32_t lastTab;
  int32_t lastFace;
  int32_t lastListIndex;
  uint8_t hit;
  uint8_t tabHit;
  int32_t tabId;
  int32_t hitRegion;
  int32_t petalIndex;
  int32_t quadrant;
  triplex barycentrics;
  int32_t faceList[kShortTriListCapacity];
  int32_t faceCount;
  int32_t tabListStart;
  int32_t tabCount;
  float bandMinX;
  float bandMaxX;
  int32_t band;
};
