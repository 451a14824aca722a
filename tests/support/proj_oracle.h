// PROJ as the independent oracle of our map projections. Every comparison
// with PROJ goes through this file, so the correspondence between its
// coordinates and ours is stated once, here.
//
// Directions: PROJ's geographic (lon, lat) in radians on the unit sphere
// (R = 1) is our direction (sin lon·cos lat, sin lat, cos lon·cos lat): y up,
// +z at lon = lat = 0, positive longitude toward +x.
//
// Planes: our projection planes are PROJ's turned a half-turn and scaled. A
// PROJ plane point (x, y) is our (-k·x, -k·y), where k is
//   kOnStereoCoordinatePlane (1/2) for the stereographic coordinate
//     (-x/(1+z), -y/(1+z)) and everything built on it (the Lagrange maps, the
//     lune substitution, the disk moves);
//   kOnTangentPlane (1) for the planes of the ray-cast inverses (stereographic
//     onto the tangent plane at +z, gnomonic).
//
// Input pictures: an input layout reads its picture mirrored (u grows toward
// negative longitude) and downward (v grows southward), so its (u, v) is
// PROJ's plane point turned a half-turn as well, then scaled so that the
// whole picture spans `across` by `down` units of PROJ's plane, and moved so
// that PROJ's origin lies at the picture point (uAtOrigin, vAtOrigin):
//   u = uAtOrigin - x / across,  v = vAtOrigin - y / down.
#pragma once

#include <proj.h>

#include "projection/complex_math.h"

constexpr double kOnStereoCoordinatePlane = 0.5;
constexpr double kOnTangentPlane = 1.0;

void DirectionFromLonLat(double lon, double lat, double p[3]);
void LonLatFromDirection(const double p[3], double* lon, double* lat);

// PROJ's plane point (x, y) on our plane of scale k, and back.
fcomplex OurPlaneFromProj(double x, double y, double k);
void ProjPlaneFromOurs(fcomplex z, double k, double* x, double* y);

struct InputPictureFrame {
  double across;
  double down;
  double uAtOrigin;
  double vAtOrigin;
};

void InputPointFromProj(double x, double y, const InputPictureFrame& frame, double* u, double* v);

// One PROJ operation from a "+proj=..." definition; R = 1 is the caller's.
class ProjOracle {
 public:
  explicit ProjOracle(const char* definition);
  ~ProjOracle();
  ProjOracle(const ProjOracle&) = delete;
  ProjOracle& operator=(const ProjOracle&) = delete;

  bool valid() const { return pj_ != nullptr; }
  // Forward projection of (lon, lat) in radians; false where PROJ refuses.
  bool Forward(double lon, double lat, double* x, double* y) const;
  bool Inverse(double x, double y, double* lon, double* lat) const;

 private:
  PJ_CONTEXT* ctx_;
  PJ* pj_;
};
