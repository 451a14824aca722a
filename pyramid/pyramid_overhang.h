// What a point or a footprint that reaches past the edge of the image means
// for the image's layout: an equirectangular panorama continues across its
// left and right edges and over its poles, a cylindrical one wraps only
// horizontally, a flat picture is clamped at its border.
#pragma once

#include <cstdint>

struct PyramidDescriptor;

// Values of PyramidDescriptor.overhangMode; any other value leaves points
// outside the image unchanged.
enum OverhangMode : int32_t {
  OverhangMode_Empty = 1,          // an outside point is empty: (0, 0, 0, 0)
  OverhangMode_ClampBlurred = 2,   // clamped, and read coarser the further out it lies
  OverhangMode_Clamp = 3,          // clamped to the border
  OverhangMode_WrapX = 4,          // wraps horizontally, clamped vertically
  OverhangMode_WrapBoth = 5,       // wraps both ways
  OverhangMode_WrapBothFloor = 6,  // wraps both ways, by the true floor
  OverhangMode_PoleFold = 7,       // over a pole, then wraps horizontally
};

// A sample footprint: two difference vectors in unit coordinates and the
// factors that turn them into level-0 pixels.
struct PDtype {
  float scale;
  float width;   // factor of the u parts: the level-0 width
  float height;  // factor of the v parts: the level-0 height
  int32_t overhangMode;
  float duX, dvX;  // along the first screen axis
  float duY, dvY;  // along the second screen axis
  // Set when a difference spans more than half the image in a direction
  // that does not wrap: the footprint straddles the image, not a seam.
  uint8_t discontinuous;
};

// Maps (u, v) by `mode` when it lies outside the image (u < 0, u > 1, v < 0
// or v >= 1); an inside point is left as it is. Mode 2 raises `level` toward
// p->topLevel. Returns 1 when the point is empty (mode 1 and outside), else 0.
// A NaN coordinate counts as inside: callers test finiteness first.
int32_t OverhangizeCoordinates(float* u, float* v, float* level, int32_t mode, const PyramidDescriptor* p);

// Folds the differences the short way across the seams the mode wraps, flags
// a footprint that straddles a seam that does not wrap, and scales the
// differences to level-0 pixels.
void OverhangizePDs(PDtype* pd);
