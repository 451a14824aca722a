// Output framing: one uniform scale that fits a mode's plane box, centred,
// into the output rectangle, and two integer routines that keep the
// proportions of preview and gallery images.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

struct SnuggleRecord {
  double aspect;  // output height / output width
  double xMin;
  double xMax;
  double yMin;
  double yMax;
  double centerX;
  double centerY;
  double scale;     // min(1 / box width, aspect / box height)
  double invScale;  // the plane width that spans the output width
};

// Note the argument order: both minima, then both maxima. A box of zero
// width or height leaves that side's reciprocal infinite and the other side
// decides the scale.
void SetUpSnugglebox(SnuggleRecord* record, double aspect, double xMin, double yMin, double xMax, double yMax);
// Output unit coordinates to the plane; (0.5, 0.5) is the box centre.
// Inline: every mapped point of a mode with a route passes here.
inline void UF_to_snuggle(float u, float v, fcomplex* out, const SnuggleRecord* record) {
  out->re = (u - 0.5) * record->invScale + record->centerX;
  out->im = (v - 0.5) * record->aspect * record->invScale + record->centerY;
}

// Scales both sides so that the longer becomes `longest` (truncated, at
// least 1); longest <= 0 leaves them unchanged.
void MakeSnug(int32_t* width, int32_t* height, int32_t longest);
// Keeps the old proportions after one side changed: the height follows a new
// width when widthChanged is set, else the width follows the height. A zero
// old side leaves both as they are.
void MatchProportions(int32_t oldWidth, int32_t oldHeight, int32_t* width, int32_t* height, bool widthChanged);
