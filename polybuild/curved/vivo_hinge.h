// The hinge of one wing step: the next hinge point turned about the strip's
// current hinge line by a trial angle, and how far the outer edge step it
// makes is from the length it must have. The downhill simplex minimises
// that error over the angle.
#pragma once

#include "projection/complex_math.h"

struct HingeSearchRecord {
  triplex centre;   // current hinge point Q, on the hinge axis
  triplex axis;     // unit direction of the hinge axis
  triplex anchorA;  // current outer point A
  triplex anchorB;  // current inner point P
  double lenA;      // new outer point's distance from the new hinge point
  double lenB;      // new inner point's distance from the new hinge point
  triplex pivot;    // next hinge point N before the turn
  double target;    // required length of the outer edge step
  double angle;     // trial angle (radians), written by the search
  double bestError; // error of the best vertex, written by the search
  triplex pointD;   // N turned by angle
  triplex pointE;   // new outer point
  triplex pointF;   // new inner point
};

// Angles outside [0, kHingeAngleLimit] are penalised, not clamped.
constexpr double kHingeAngleLimit = 1.5393804002589986;  // 0.49 pi
constexpr double kHingePenalty = 99999999.0;

// D = pivot turned about the hinge axis by angle; E and F continue the rung
// from D parallel to the current one.
void Build_D_and_F(HingeSearchRecord* record);
// | |E - A| - target |, or the penalty plus the distance from the range.
double hinge_error(HingeSearchRecord* record);
