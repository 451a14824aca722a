// The floret table: the petal set-up (FloretBasis) of every output mode
// that lays the sphere out as petals around a centre, and the predicates
// the view set-up and the polyhedron table ask of it.
#pragma once

#include <cstdint>

#include "projection/complex_math.h"

enum FloretKind : int32_t {
  FloretKind_None = -1,
  FloretKind_Circle = 0,
  FloretKind_Lagrange = 1,
  FloretKind_Ellipse = 2,
  FloretKind_Guyou = 3,
  FloretKind_EllipseTurned = 4,
  FloretKind_Thorn = 5,
  FloretKind_Rind1Net = 6,
  FloretKind_Rind2Net = 7,
  FloretKind_Rind3Net = 8,
  FloretKind_Net51 = 9,
  FloretKind_ShurikenNet = 10,
  FloretKind_TridentNet = 11,
  FloretKind_AstercurveNet = 12,
  FloretKind_TrizagNet = 13,
  FloretKind_SharkNet = 14,
  FloretKind_BurstNet = 15,
  FloretKind_ShardNet = 16,
  FloretKind_PhenylNet = 18,
  FloretKind_QuatretatNet = 19,
  FloretKind_ThornSpun = 9999,
};

// The petal set-up of one output mode.
struct FloretBasis {
  int32_t kind;           // a FloretKind; -1: the mode is not a floret
  int32_t petalCount;     // n; written only for floret modes
  double diskShift;       // handed to the sphere-segment stretch
  double scale;           // applied to the petal point after the power
  double finalSpin;       // radians, SpinIt last when non-zero
  double finalLongitude;  // radians, LongitudeIt after finalSpin when non-zero
  fcomplex spin;          // unit rotor multiplied into the plane point first
  fcomplex canvasMin;     // layout box, thousandths of the framing unit
  fcomplex canvasMax;
  double turnFraction;      // factor of the longitude turn that undoes the petal's rotation
  double exponentDivisor;   // divides the petal exponent n/2
  int32_t polyhedronId;     // shape code of the petal net's solid; -1 none
  int32_t polyhedronParam;  // net method for polyhedronId
};

// Writes the defaults, then the mode's row of the floret table; petalCount
// is left as it was for a mode that is not a floret.
void GetBasisOfWarpyPolyprojection(int32_t outputMode, FloretBasis* basis);
bool IsProjectionAFloret(int32_t outputMode);
bool IsFloretWithPolyhedronBasis(int32_t outputMode);
