// The brick sphere as the brick preview shows it: a ray from a point of one
// of four fixed views marched through the cell grid to the face it hits, and
// the shaded colour of that face.
#pragma once

#include <cstdint>

#include "export/brick/lego_structure.h"

constexpr int32_t kBrickNoHit = -5;

struct LegoMarchRequest {
  int32_t view;  // 0..3, clamped
  float u, v;    // -1..1 across the view
};

// 0 and region colour * 6 + face when a cell was hit, else 1 and region -5.
int32_t LegoMarch_yielding_region(const LegoStructure* ball, const LegoMarchRequest* request, int32_t* region);
// The unit colour of a region code of 0 or more; a negative code leaves the
// colour as it was.
void LegoRegionCodeToShadedColor(int32_t region, float colour[4]);
// Display colours of the preview and the plan, by colour code (above 12 as
// 12; 0 the white of an empty cell).
void BrickDisplayRGB(int32_t code, uint8_t rgb[3]);
