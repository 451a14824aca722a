#include "projection/inverse/star_projections_reuleaux.h"

#include <cmath>

#include "projection/complex_math.h"
#include "projection/inverse/conformal_warp.h"
#include "projection/lookup/lookup_fetch.h"
#include "projection/planes.h"
#include "projection/ray_geometry.h"
#include "projection/scalar_math.h"
#include "projection/inverse/special_views.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr int32_t kTetrahedronTopVertex = 3;
constexpr double kOctreleauxReach = 1.7320508075688772;
constexpr double kOctreleauxCentres[3][2] = {
    {-1.4142135623730951, 0.0}, {0.7071067811865476, 1.224744871}, {0.7071067811865476, -1.224744871}};

void FacePoint(const NetSectorSample* s, float b0, float b1, float b2, float out[3]) {
  double p[3];
  Get3DPointFromCornersAndBarys(s->corner3D[0], s->corner3D[1], s->corner3D[2], b0, b1, b2, s->fancyPointMode, p);
  out[0] = static_cast<float>(p[0]);
  out[1] = static_cast<float>(p[1]);
  out[2] = static_cast<float>(p[2]);
}

void MarkOutside(float point[3], uint8_t* outside, int32_t* region) {
  *outside = 1;
  *region = -5;
  point[0] = 0.0f;
  point[1] = 0.0f;
  point[2] = 1.0f;
}

void StoreFloats(const double q[3], float point[3]) {
  point[0] = static_cast<float>(q[0]);
  point[1] = static_cast<float>(q[1]);
  point[2] = static_cast<float>(q[2]);
}

void Assign(double q[3], double x, double y, double z) {
  q[0] = x;
  q[1] = y;
  q[2] = z;
}

// The Reuleaux triangle's sector on the disk or face: mirrored on even
// sectors, turned to its place among the six of its group.
fcomplex ReuleauxSectorDisk(fcomplex (*fetch)(fcomplex), const NetSectorSample* s, double spin) {
  fcomplex w = fetch(Complex(s->b2, s->b0));
  if ((s->sector & 1) == 0) w.im = -w.im;
  return Cmul(w, Cspun(spin));
}

}  // namespace

int32_t OutsideReuleaux(const NetSectorSample* s, double point[3], int32_t shape) {
  float p3[3];
  FacePoint(s, s->b0, s->b1, s->b2, p3);
  const double zx = p3[0], zy = p3[1];
  StereoIntersect_NiceD(zx, zy, point);
  point[0] = -point[0];
  if (shape == ReuleauxShape_Tetrahedron) {
    return NearestTetrahedronVertex(p3) == kTetrahedronTopVertex ? 0 : 1;
  }
  if (shape == ReuleauxShape_Octahedron) {
    for (const auto& c : kOctreleauxCentres) {
      const double dx = zx - c[0], dy = zy - c[1];
      // Written so that a NaN distance is outside too.
      if (!(std::sqrt(dx * dx + dy * dy) <= kOctreleauxReach)) return 1;
    }
  }
  return 0;
}

void TotalReuleaux8ToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, int32_t* region) {
  double q[3];
  if (s->sector < 0 || OutsideReuleaux(s, q, ReuleauxShape_Tetrahedron)) {
    MarkOutside(point, outside, region);
    return;
  }
  const int32_t g = s->sector / 6;
  *region = g;
  const fcomplex w = ReuleauxSectorDisk(FetchFromCache_ReuleauxSextantToOctoface, s, Reuleaux8_spin[s->sector % 6]);
  // The table gives x and y of the face point on the sphere; lift it.
  Assign(q, w.re, w.im, std::sqrt(std::fmax(0.0, 1.0 - w.re * w.re - w.im * w.im)));
  SpinIt(q, 0.5235987755982989);
  LatitudeIt(q, -0.6154797086703874);
  switch (g % 4) {
    case 1:
      Assign(q, -q[2], q[1], q[0]);
      break;
    case 2:
      Assign(q, -q[0], q[1], -q[2]);
      break;
    case 3:
      Assign(q, q[2], q[1], -q[0]);
      break;
    default:
      break;
  }
  if (g > 3) Assign(q, q[2], -q[1], q[0]);
  Assign(q, q[2], q[1], -q[0]);
  StoreFloats(q, point);
}

void TotalReuleaux1Or2ToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, int32_t variant,
                               int32_t* region) {
  double q[3];
  if (s->sector < 0 || OutsideReuleaux(s, q, ReuleauxShape_Tetrahedron)) {
    MarkOutside(point, outside, region);
    return;
  }
  const int32_t g = s->sector / 6;
  *region = g;
  double spin = Reuleaux8_spin[s->sector % 6];
  if (variant == 2) {
    spin = static_cast<float>(spin + 2.0943951023931957);
    if (g == 1) spin = static_cast<float>(spin + 2.0943951023931957);
  }
  const fcomplex w = ReuleauxSectorDisk(FetchFromCache_ReuleauxSextantToCircle, s, spin);
  StereoIntersect_NiceD(w.re, w.im, q);
  SpinIt(q, 0.5235987755982989);
  if (variant == 1) {
    SubstituteSphereSegment_NiceD(q, 0.5, outside, 0.0);
  } else if (g == 1) {
    Assign(q, -q[0], -q[2], -q[1]);
  } else {
    Assign(q, q[0], q[2], -q[1]);
  }
  StoreFloats(q, point);
}

void TotalReuleaux4ToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, int32_t* region) {
  double q[3];
  if (s->sector < 0 || OutsideReuleaux(s, q, ReuleauxShape_Tetrahedron)) {
    MarkOutside(point, outside, region);
    return;
  }
  const int32_t g = s->sector / 6;
  *region = g;
  SpinIt(q, 0.5235987755982989);
  LatitudeIt(q, 0.3398369094541219);
  if (g == 1) {
    LatitudeIt(q, 1.2309594173407747);
    q[1] = -q[1];
  } else if (g == 2) {
    q[0] = -q[0];
    LongitudeIt(q, 2.0943951023931953);
  } else if (g == 3) {
    q[0] = -q[0];
    LongitudeIt(q, -2.0943951023931953);
  }
  LatitudeIt(q, 1.2309594173407747);
  LongitudeIt(q, 1.0471975511965979);
  Assign(q, q[0], -q[2], q[1]);
  StoreFloats(q, point);
}

void TotalOctreleauxToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, int32_t* region) {
  double q[3];
  if (s->sector < 0 || OutsideReuleaux(s, q, ReuleauxShape_Octahedron)) {
    MarkOutside(point, outside, region);
    return;
  }
  const int32_t g = s->sector / 6;
  *region = g;
  SpinIt(q, 1.5707963267948966);
  LatitudeIt(q, -0.6154797086703874);
  switch (g % 4) {
    case 0:
      Assign(q, q[2], q[1], -q[0]);
      break;
    case 2:
      Assign(q, -q[2], q[1], q[0]);
      break;
    case 3:
      Assign(q, -q[0], q[1], -q[2]);
      break;
    default:
      break;
  }
  if (g > 3) Assign(q, -q[2], -q[1], -q[0]);
  StoreFloats(q, point);
}

void Total4ShurikenToSphere(const NetSectorSample* s, float point[3], int32_t* region) {
  float b0 = s->b0, b1 = s->b1, b2 = s->b2;
  WarpBarysForCube(&b0, &b1, &b2);
  FacePoint(s, b0, b1, b2, point);
  *region = s->triangle;
}

void TotalWaffleToSphere(const NetSectorSample* s, float point[3], uint8_t* outside, const WaffleNetMarks* marks,
                         float netX, float netY, int32_t* region) {
  float b0 = s->b0, b1 = s->b1, b2 = s->b2;
  WarpBarysForCube(&b0, &b1, &b2);
  float f[3];
  FacePoint(s, b0, b1, b2, f);
  *region = s->sector;
  double q[3] = {f[0], f[1], f[2]};
  NormalizeVectorD(q);
  LatitudeIt(q, 0.7853981633974483);
  SubstituteSphereSegment_NiceD(q, 2.0, outside, 0.0);
  // The two halves of the upper part of the net are the same picture a
  // half-turn apart; each side keeps the half that faces it.
  if (netY > (marks->vertex22Y + marks->vertex50Y) / 2) {
    const bool turn = netX > marks->vertex22X ? q[0] > 0.0 : q[0] <= 0.0;
    if (turn) {
      q[0] = -q[0];
      q[2] = -q[2];
    }
  }
  StoreFloats(q, point);
}
