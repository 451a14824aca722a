// Nets of the Reuleaux layouts: each group of six 2D faces is the triangle
// that touches a Reuleaux triangle at its arc midpoints, cut into sixths
// about its centre (corners in the order centre O, arc midpoint M, triangle
// corner T: the sector of the Reuleaux lookup tables). Sector j of a group
// lies on the triangle's side j / 2, at its corner (j / 2 + j % 2) mod 3, so
// the six run once round the centre and neighbours share an edge O-M or O-T.
//
// The solid of a layout is one face in the plane of its stereographic
// picture, lifted to a height: the centre, the three arc midpoints and the
// three triangle corners. Which Reuleaux face a group shows is its place in
// the face order; the sphere maps turn the plane picture onto that face.
// The lifted face surrounds no centre and so has no outside of its own:
// some maps turn the plane onto their face mirrored (the four-face map three
// of its four), others read the sector's lookup table and use the plane
// only to tell what lies off the face. How a sector turns against this
// plane says nothing of how it shows the sphere; that is judged through the
// maps (Evaluate).
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <vector>

#include "sector_nets.h"

namespace reuleaux {

using shapes::cplx;
using shapes::Dir3;

// Solid points of a face, in this order.
enum FacePoint : int32_t { kCentre = 0, kMid01 = 1, kT0 = 2, kT1 = 3, kMid12 = 4, kT2 = 5, kMid20 = 6 };

// The plane of the face: triangle corners t0, t1, t2 at the azimuths
// azimuth0 + turn · 120 · i degrees and radius cornerRadius, arc midpoints
// between them at midRadius; the centre, the midpoints and the corners at
// their own heights.
struct FaceFrame {
  double azimuth0Degrees;
  int32_t turn;  // +1 or -1
  double midRadius;
  double cornerRadius;
  double centreLift, midLift, cornerLift;
};

std::vector<Dir3> FacePoints(const FaceFrame& frame);

// A group in the net: its three triangle corners c0, c1, c2 (the centre is
// their mean) and the solid corner t_label[i] each shows.
struct Group {
  cplx corner[3];
  int32_t label[3];
};

struct ReuleauxNet {
  std::vector<cplx> points;                  // 2D vertices, numbered from 0
  std::vector<std::array<int32_t, 3>> faces;  // O, M, T of each sector
  std::vector<int32_t> solidOf;              // per 2D vertex, its FacePoint
};

// Appends a group's six sectors, sharing their points among them. Points of
// earlier groups at the same place and on the same solid point are shared
// too when `share` is set.
void AddGroup(ReuleauxNet* net, const Group& group, bool share);

// A group whose triangle has its centre at `centre`, circumradius r and
// corner c0 at the given azimuth; the corners run counter-clockwise for
// turn +1, clockwise for -1.
Group GroupAt(cplx centre, double r, double azimuthDegrees, int32_t turn, const std::array<int32_t, 3>& labels);

}  // namespace reuleaux
