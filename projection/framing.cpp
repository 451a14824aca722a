#include "projection/framing.h"

#include <algorithm>

void SetUpSnugglebox(SnuggleRecord* record, double aspect, double xMin, double yMin, double xMax, double yMax) {
  record->aspect = aspect;
  record->xMin = xMin;
  record->xMax = xMax;
  record->yMin = yMin;
  record->yMax = yMax;
  record->centerX = (xMin + xMax) / 2.0;
  record->centerY = (yMin + yMax) / 2.0;
  record->scale = std::min(1.0 / (xMax - xMin), aspect / (yMax - yMin));
  record->invScale = 1.0 / record->scale;
}

void MakeSnug(int32_t* width, int32_t* height, int32_t longest) {
  if (longest <= 0) return;
  // 64-bit products: a side times `longest` can pass 2^31 for large images.
  const int64_t m = std::max(*width, *height);
  if (m <= 0) return;  // no sides to scale, and no division by zero
  const int64_t w = static_cast<int64_t>(*width) * longest / m;
  const int64_t h = static_cast<int64_t>(*height) * longest / m;
  *width = static_cast<int32_t>(std::max<int64_t>(w, 1));
  *height = static_cast<int32_t>(std::max<int64_t>(h, 1));
}

void MatchProportions(int32_t oldWidth, int32_t oldHeight, int32_t* width, int32_t* height, bool widthChanged) {
  if (widthChanged) {
    if (oldWidth != 0) *height = static_cast<int32_t>(static_cast<int64_t>(oldHeight) * *width / oldWidth);
  } else if (oldHeight != 0) {
    *width = static_cast<int32_t>(static_cast<int64_t>(oldWidth) * *height / oldHeight);
  }
}
