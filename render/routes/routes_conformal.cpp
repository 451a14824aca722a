#include "render/routes/routes_conformal.h"

#include <cmath>

#include "projection/inverse/classic_projections.h"
#include "projection/nets/florets.h"
#include "projection/nets/florets_basis.h"
#include "projection/render_hint.h"
#include "projection/inverse/robinson.h"
#include "projection/inverse/special_views.h"
#include "projection/inverse/special_views_thorn.h"
#include "projection/sphere_convention.h"
#include "projection/inverse/stereographic.h"
#include "render/routes/route_plane.h"
#include "render/vort.h"

namespace {

constexpr double kEighthTurnCos = 0.7071067811865476;  // e^(i pi/4) = (c, c)
// Centres of the boxes that do not sit on the origin, in their own planes:
// the Adams square (0, 0)-(1, 1), the wide rectangle (0, 0)-(1, 0.5) and the
// ellipse (0, 0)-(1.3246..., 0.8686...). The maps themselves are centred.
constexpr double kAdamsCentre = 0.5;
constexpr double kWiderectCentreX = 0.5;
constexpr double kWiderectCentreY = 0.25;
constexpr double kEllipseCentreX = 0.5 * 1.324609089252006;
constexpr double kEllipseCentreY = 0.5 * 0.8686709614860096;

void Narrow(const double pd[3], float p[3]) {
  p[0] = float(pd[0]);
  p[1] = float(pd[1]);
  p[2] = float(pd[2]);
}

// The Lagrange inverse only ever raises the flag (and with keep 0 clears it
// at the end), so it starts from a cleared flag of its own.
void Lagrange(fcomplex plane, double n, uint8_t keep, float sphere[3], uint8_t* outside) {
  *outside = 1;
  uint8_t off = 0;
  float p[3];
  LagrangeInverse(plane, n, &off, p, keep);
  if (off) return;
  sphere[0] = p[0];
  sphere[1] = p[1];
  sphere[2] = p[2];
  *outside = 0;
}

void Adams(fcomplex plane, int32_t variant, float sphere[3], uint8_t* outside) {
  *outside = 1;
  double pd[3] = {0.0, 0.0, 1.0};
  TotalAdams(plane.re - kAdamsCentre, plane.im - kAdamsCentre, outside, pd, variant, nullptr);
  if (*outside) return;
  Narrow(pd, sphere);
}

// The stereographic plane scaled by vpw²/2, the lune about the vertical axis
// opened by 1/k: never outside, the plane's far reaches wrap round.
void StereoSegment(fcomplex plane, const vort& view, double k, float sphere[3], uint8_t* outside) {
  *outside = 1;
  const double s = 0.5 * double(view.viewPlaneWidth) * double(view.viewPlaneWidth);
  double pd[3];
  StereoIntersect_NiceD(plane.re * s, plane.im * s, pd);
  double y = pd[1];
  pd[1] = pd[2];
  pd[2] = -y;
  uint8_t beyond = 0;
  SubstituteSphereSegment_NiceD(pd, k, &beyond, 0.0);
  y = pd[1];
  pd[1] = -pd[2];
  pd[2] = y;
  Narrow(pd, sphere);
  *outside = 0;
}

// The Adams disk point under the doubled square, as the two square fisheyes
// read it; false off the square.
bool AdamsDisk(fcomplex plane, fcomplex* w) {
  uint8_t out = 1;
  double pd[3];
  TotalAdams(0.5 * plane.re, 0.5 * plane.im, &out, pd, 2, w);
  return out == 0;
}

// The output's unit coordinates back from the plane point: the view's
// framing made the plane from them, and two routes scale by them.
void UnitFromPlane(fcomplex plane, const vort& view, float* u, float* v) {
  const SnuggleRecord& f = view.snuggle;
  const double across = f.invScale, down = f.aspect * f.invScale;
  *u = across != 0.0 ? float((plane.re - f.centerX) / across + 0.5) : 0.5f;
  *v = down != 0.0 ? float((plane.im - f.centerY) / down + 0.5) : 0.5f;
}

}  // namespace

void Route_Lagrange2(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  plane = PlaneInRegisters(plane);
  Lagrange(plane, 2.0, 1, sphere, outside);
}

void Route_Lagrange43(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  plane = PlaneInRegisters(plane);
  Lagrange(plane, 4.0 / 3.0, 1, sphere, outside);
}

// The Lagrange disk without its rim: the whole plane is on the map.
void Route_Lagrange2Open(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  plane = PlaneInRegisters(plane);
  Lagrange(plane, 2.0, 0, sphere, outside);
}

void Route_Robinson(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float x = float(plane.re), y = float(plane.im);
  const float* table = view.ellipsoidTable ? view.ellipsoidTable : RobinsonInverseTable();
  uint8_t out = 1;
  RobinsonInverse(&x, &y, &out, table);
  if (out) return;
  *outside = 0;
  RectangularToSpherical(0.5f * x + 0.5f, 0.5f + 0.5f * y, sphere);
}

void Route_StereoPerspective(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  plane = PlaneInRegisters(plane);
  const float s = view.viewPlaneWidth * view.viewPlaneWidth;
  StereoIntersectCore(float(plane.re) * s, float(plane.im) * s, sphere, -0.5f);
  *outside = 0;
}

// The stereographic plane magnified down the output: the scale grows from
// vpw² at the top to twice that at the bottom.
void Route_StereoGrowing(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  plane = PlaneInRegisters(plane);
  float u, v;
  UnitFromPlane(plane, view, &u, &v);
  const float s = view.viewPlaneWidth * view.viewPlaneWidth * (v + 1.0f);
  StereoIntersect(float(plane.re) * s, float(plane.im) * s, sphere);
  *outside = 0;
}

// A fisheye picture of half the view angle opened onto an equirectangular
// sheet, on the output's unit coordinates.
void Route_UnFish(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  if (!(view.imageHeight > 0.0f)) return;
  float u, v;
  UnitFromPlane(plane, view, &u, &v);
  const float h = view.halfAngleViewPlaneWidth;
  const float s = (u - 0.5f) * 0.5f * 1.039501f * h;
  const float t = ((v - 0.5f) * 0.5f * view.outputHeight / view.imageHeight) * view.outputAspect * 2.0204333f * h;
  uint8_t off = 0;
  float a, b;
  DoUnFishWarp(s, t, &a, &b, &off);
  if (off) return;
  float p[3];
  transform_2D_equi_to_sphere(a, b, p, &off);
  if (off) return;
  sphere[0] = p[0];
  sphere[1] = p[1];
  sphere[2] = p[2];
  *outside = 0;
}

void Route_ThornSheet(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  GetThornView(float(plane.re), float(plane.im), view.viewColumns, view.viewRows, sphere, outside, 0, 1);
}

void Route_ThornSheet2(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  GetThornView(float(plane.re), float(plane.im), view.viewColumns, view.viewRows, sphere, outside, 1, 1);
}

void Route_AdamsCorners(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  Adams(plane, 1, sphere, outside);
}

void Route_AdamsEdges(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  Adams(plane, 2, sphere, outside);
}

void Route_Peirce92(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  BendyPeirce(plane.re, plane.im, outside, sphere, 0.5, 2, 1.5707963267948966, 0.5, 0.0, 0.0);
}

void Route_Peirce93(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  BendyPeirce(plane.re, plane.im, outside, sphere, 0.75, 3, 0.5235987755, 0.727802037845706, 0.0,
              -0.21398305084745764);
}

void Route_PeirceQuincuncial(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  TotalPeirce(plane.re, plane.im, outside, sphere, 1.0, 0.0);
}

void Route_Peirce95(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  BendyPeirce(plane.re, plane.im, outside, sphere, 1.25, 5, -0.3141592653, 0.7955812101910829, 0.0, -0.101);
}

void Route_Peirce96(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  BendyPeirce(plane.re, plane.im, outside, sphere, 1.5, 6, 0.5235987755, 0.7911392405063291, 0.0, 0.0);
}

void Route_Guyou(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  TotalGuyou(plane.re, plane.im, outside, sphere, nullptr);
}

// Two Guyou sheets side by side, each squeezed into a hemisphere and turned
// to face its own side; x = 0 belongs to the right-hand one.
void Route_DoubleGuyou(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const bool right = plane.re >= 0.0;
  float p[3];
  TotalGuyou(right ? plane.re - 1.0 : plane.re + 1.0, plane.im, outside, p, nullptr);
  if (*outside) return;
  SubstituteSphereSegment(p, 2.0, outside);
  if (*outside) return;
  if (right) {
    sphere[0] = -p[2];
    sphere[1] = p[1];
    sphere[2] = p[0];
  } else {
    sphere[0] = p[2];
    sphere[1] = p[1];
    sphere[2] = -p[0];
  }
}

void Route_WideRectangle(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  double pd[3] = {0.0, 0.0, 1.0};
  TotalWiderect(plane.re - kWiderectCentreX, plane.im - kWiderectCentreY, outside, pd);
  if (*outside) return;
  Narrow(pd, sphere);
}

// The Lagrange disk folded onto a half disk: the flat edge at the bottom of
// the box, the round one above it.
void Route_Semicircle(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  fcomplex z = Complex(0.5 - plane.im, plane.re);
  if (!(z.re > 0.0)) return;
  z = Csquare(Cmul(z, Complex(kEighthTurnCos, kEighthTurnCos)));
  float p[3];
  uint8_t off = 0;
  LagrangeInverse(z, 2.0, &off, p, 1);
  if (off) return;
  *outside = 0;
  p[0] = -p[0];
  p[1] = -p[1];
  const fcomplex w = Cmul(Complex(p[1], p[2]), Complex(kEighthTurnCos, -kEighthTurnCos));
  sphere[0] = p[0];
  sphere[1] = float(w.im);
  sphere[2] = float(w.re);
}

void Route_Ellipse(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  double pd[3] = {0.0, 0.0, 1.0};
  TotalEllipse(plane.re - kEllipseCentreX, plane.im - kEllipseCentreY, outside, pd);
  if (*outside) return;
  Narrow(pd, sphere);
}

// The chevron's box reaches twice as far up as down; read in the box's own
// plane the map needs no further shift (a shift by the box's offset of
// -sqrt(2)/4 on top of the framing's would cut off the chevron's legs).
void Route_Chevron(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  ChevronPeirce(plane.re, plane.im, outside, sphere, 0.0, 0.0);
}

// The Malta crosses: a floret whose petals are opened from a hemisphere to
// the whole sphere. Their petals sit on no net; the petal hint the core
// writes is not read after the route.
void Route_Malta(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  FloretBasis basis;
  GetBasisOfWarpyPolyprojection(view.outputMode, &basis);
  if (basis.kind == FloretKind_None) return;
  renderhinttype hint{};
  uint8_t off = 1;
  double pd[3];
  CopsInTroubleCore(plane, &off, pd, &basis, nullptr, &hint);
  if (off) return;
  SubstituteSphereSegment_NiceD(pd, 0.5, &off, 0.0);
  if (off) return;
  Narrow(pd, sphere);
  *outside = 0;
}

void Route_StereoTwice(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  StereoSegment(plane, view, 0.5, sphere, outside);
}

void Route_StereoThrice(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  StereoSegment(plane, view, 1.0 / 3.0, sphere, outside);
}

void Route_EqualAreaSquare(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  plane = PlaneInRegisters(plane);
  *outside = 1;
  TotalEqualsquarea(plane.re, plane.im, outside, sphere);
}

// The Adams disk point read as a mirror ball: the rim is the point behind.
void Route_SquareFish1(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  fcomplex w;
  if (!AdamsDisk(plane, &w)) return;
  const float a = float(w.re), b = float(w.im);
  const float f = 2.0f * (1.0f - a * a - b * b) - 1.0f;
  if (!(f >= -1.0f)) return;
  const float s = std::sqrt(2.0f * f + 2.0f);
  sphere[0] = -a * s;
  sphere[1] = -b * s;
  sphere[2] = f;
  *outside = 0;
}

// The Adams disk point read as an orthographic hemisphere.
void Route_SquareFish2(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  fcomplex w;
  if (!AdamsDisk(plane, &w)) return;
  const float a = float(-w.re), b = float(-w.im);
  const float g = 1.0f - a * a - b * b;
  if (!(g >= 0.0f)) return;
  sphere[0] = a;
  sphere[1] = b;
  sphere[2] = std::sqrt(g);
  *outside = 0;
}
