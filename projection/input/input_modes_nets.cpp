#include "projection/input/input_modes_nets.h"

#include <cmath>

#include "polyhedron/nets/net_points.h"  // the net's inverse mapping queries the triangles the net set-up fills
#include "polyhedron/polyhedron_record.h"  // record-only include: the plain polyhedron record
#include "projection/nets/net_projection_rays.h"
#include "projection/sphere_convention.h"

namespace {

constexpr double kTwoPiD = 6.283185307;
constexpr double kPiD = 3.141592653;
constexpr double kPetalTurn = -6.2831854820251465;  // the float 2·pi, widened, clockwise
// A net's layers are its triangles, numbered past the layers of the other
// layouts.
constexpr int32_t kNetTriangleLayerBase = 3;

// A layout of n gores: the gore of image column k has its central meridian
// at (k - centre)·2·pi/n in mirrored longitude.
struct GoreLayout {
  int n;
  double centre;
  bool petals;
};

constexpr GoreLayout kGores12 = {12, 5.5, false};
constexpr GoreLayout kGores12Half = {12, 5.5, true};
constexpr GoreLayout kGores6 = {6, 2.5, false};

// The northern half-gore (v <= 0.5) turned about the picture centre into
// its petal: the pole at the centre, the equator on the rim.
void LayAsPetal(const GoreLayout& g, double offset, float* u, float* v) {
  if (*v > 0.5f) {
    *v = -1.0f;
    return;
  }
  const float scaled = *u * static_cast<float>(g.n);
  const float k2 = std::trunc(scaled);
  const float du = 2.0f * ((scaled - k2) - 0.5f) / static_cast<float>(g.n);
  const double alpha = (offset + 0.5) * kPetalTurn / g.n;
  const float ca = static_cast<float>(std::cos(alpha));
  const float sa = static_cast<float>(std::sin(alpha));
  const float vv = *v;
  *u = ca * du - sa * vv + 0.5f;
  *v = du * sa + vv * ca + 0.5f;
}

void Gores(const InputQuery& q, InputAnswer* a, const GoreLayout& g) {
  float s, t;
  SphericalToRectangular(q.point, &s, &t);
  const float u0 = 1.0f - s;
  // u0 = 1 (the back meridian, s = 0) belongs to the last gore, not to a
  // gore beyond the picture.
  int k = static_cast<int>(static_cast<float>(g.n) * u0);
  if (k > g.n - 1) k = g.n - 1;
  const double offset = k - g.centre;

  const float m = static_cast<float>((static_cast<double>(u0) - 0.5) * kTwoPiD);
  const float phi = static_cast<float>((static_cast<double>(t) - 0.5) * kPiD);
  const double lon0 = (kTwoPiD / g.n) * offset;
  const float dl = static_cast<float>(m - lon0);

  // Polyconic about lon0; on the equator the limits of both terms.
  double x = dl, y = 0.0;
  if (phi != 0.0f) {
    const double e = dl * std::sin(static_cast<double>(phi));
    const double tp = std::tan(static_cast<double>(phi));
    x = std::sin(e) / tp;
    y = phi + (1.0 - std::cos(e)) / tp;
  }
  a->u = static_cast<float>((x + lon0) / kTwoPiD + 0.5);
  a->v = static_cast<float>(y / kPiD + 0.5);
  if (g.petals) LayAsPetal(g, offset, &a->u, &a->v);

  a->layer = static_cast<int32_t>(offset);  // toward zero: both central gores are 0
  if (!InUnit(a->u) || !InUnit(a->v)) MarkOutsideNoLayer(a);
}

}  // namespace

void InputGores12(const InputQuery& q, InputAnswer* a) { Gores(q, a, kGores12); }

void InputGores12Half(const InputQuery& q, InputAnswer* a) { Gores(q, a, kGores12Half); }

void InputGores6(const InputQuery& q, InputAnswer* a) { Gores(q, a, kGores6); }

void InputPolyhedronNet(const InputQuery& q, InputAnswer* a) {
  const polyhedron* poly = q.inputPolyhedron;
  renderhinttype* hint = q.inputHint;
  if (poly == nullptr || hint == nullptr) {
    MarkOutside(a);
    return;
  }
  // The net's triangles run counter-clockwise seen from outside, and the
  // one-sided ray test meets such a face from behind: cast the ray backwards
  // to land in the face the direction points at.
  const double ray[3] = {-double(q.point[0]), -double(q.point[1]), -double(q.point[2])};
  uint8_t outside = 1;
  double b0 = 0.0, b1 = 0.0, b2 = 0.0;
  if (IntersectRayWithPoly_ReturningBarycentrics(ray, poly, &outside, hint, &b0, &b1, &b2) < 0 || outside) {
    MarkOutside(a);
    return;
  }
  double net[3];
  Get2DPointFromTriangleAndBarys(hint->lastFace, float(b0), float(b1), float(b2), net, poly);
  a->u = static_cast<float>((net[0] - poly->targetRect[0]) * poly->unitScale[0]);
  a->v = static_cast<float>((net[1] - poly->targetRect[2]) * poly->unitScale[1]);
  a->layer = hint->lastFace + kNetTriangleLayerBase;
}
