#include "projection/input/input_modes_world.h"

#include <cmath>

#include "projection/inverse/mollweide.h"
#include "projection/inverse/robinson.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr float kInvTwoPiF = 0.15915494f;
constexpr float kHalfPiF = 1.5707964f;
constexpr double kQuarterPiSquared = 2.46740110027234;  // (pi/2)^2
constexpr double kTwoOverPi = 0.6366197723675814;
constexpr double kWinkelHalfWidth = 2.570796326312263;  // pi/2 + 1
constexpr double kWinkelHalfHeight = 1.5707963267948966;
constexpr double kLagrangeLune = 0.5;  // the sphere squeezed into a half-turn lune: a disc
// Below this longitude the globular disc's meridian circle grows so large
// that its centre and rim cancel; nearer the centre the meridian is taken
// as a scaled copy of this one.
constexpr float kGlobularMinLon = 0.01f;

// Downward latitude and longitude of the direction.
struct LonPhi {
  float s, t, lon, phi;
};

LonPhi ConvertedAngles(const float* p) {
  LonPhi r;
  SphericalToRectangular(p, &r.s, &r.t);
  r.lon = (r.s - 0.5f) * kTwoPiF;
  r.phi = (r.t - 0.5f) * kPiF;
  return r;
}

}  // namespace

fcomplex WinkelTripelForward(fcomplex z) {
  const double lambda = z.re;
  const double phi = z.im;
  const double alpha = std::acos(std::cos(phi) * std::cos(lambda / 2.0));
  const double s = alpha != 0.0 ? alpha / std::sin(alpha) : 1.0;
  return {0.5 * (lambda * kTwoOverPi + 2.0 * s * std::cos(phi) * std::sin(lambda / 2.0)),
          0.5 * (phi + s * std::sin(phi))};
}

void InputMollweide(const InputQuery& q, InputAnswer* a) {
  const LonPhi g = ConvertedAngles(q.point);
  const float theta = Molltheta(g.phi, q.mollweideTable);
  const float x = g.lon * std::cos(theta) / kPiF;
  a->u = 1.0f - (x + 1.0f) / 2.0f;
  a->v = (std::sin(theta) + 1.0f) / 2.0f;
  LayerByHalf(a);
}

void InputRobinson(const InputQuery& q, InputAnswer* a) {
  float s, t;
  SphericalToRectangular(q.point, &s, &t);
  float mx, my;
  a->outside = RobinsonForward((1.0f - s - 0.5f) * 2.0f, (t - 0.5f) * 2.0f, &mx, &my);
  a->u = mx / 2.0f + 0.5f;
  a->v = my / 2.0f + 0.5f;
  LayerByHalf(a);
}

void InputLagrange(const InputQuery& q, InputAnswer* a) {
  double p[3] = {q.point[0], q.point[1], q.point[2]};
  const fcomplex z = LagrangeForward_AvantGarde(p, kLagrangeLune);
  a->u = static_cast<float>(z.re / 2.0 + 0.5);
  a->v = static_cast<float>(z.im / 2.0 + 0.5);
  LayerByHalf(a);
}

void InputWinkelTripel(const InputQuery& q, InputAnswer* a) {
  const LonPhi g = ConvertedAngles(q.point);
  const fcomplex z = WinkelTripelForward({g.lon, g.phi});
  a->u = static_cast<float>(0.5 - (z.re / kWinkelHalfWidth) / 2.0);
  a->v = static_cast<float>(0.5 + (z.im / kWinkelHalfHeight) / 2.0);
  LayerByHalf(a);
}

void InputHammer(const InputQuery& q, InputAnswer* a) {
  const LonPhi g = ConvertedAngles(q.point);
  const float d = std::sqrt(std::cos(g.lon / 2.0f) * std::cos(g.phi) + 1.0f);
  const float x = std::cos(g.phi) * std::sin(g.lon / 2.0f) / d;
  const float y = std::sin(g.phi) / d;
  a->u = 0.5f - x / 2.0f;
  a->v = y / 2.0f + 0.5f;
  LayerByHalf(a);
}

// The inner meridians are circular arcs through the poles, the outer ones
// half-circles shifted outward. The float pole (|phi| = 1.5707964) lies a
// rounding step beyond pi/2, so the radicands are kept from going negative:
// a NaN there would put a hole at each pole.
void InputOval(const InputQuery& q, InputAnswer* a) {
  const LonPhi g = ConvertedAngles(q.point);
  const double phi2 = static_cast<double>(g.phi) * g.phi;
  const float sigma = g.lon >= 0.0f ? 1.0f : -1.0f;
  const double l = std::fabs(g.lon);
  if (l == 0.0) {
    a->u = 0.5f;
  } else {
    double x;
    if (l < kHalfPiF) {
      const double f = (l + kQuarterPiSquared / l) / 2.0;
      x = (l - f) + std::sqrt(std::fmax(0.0, f * f - phi2));
    } else {
      x = (l - kHalfPiF) + std::sqrt(std::fmax(0.0, kQuarterPiSquared - phi2));
    }
    a->u = static_cast<float>(x * sigma * -kInvTwoPiF + 0.5);
  }
  a->v = g.t;
  LayerByHalf(a);
}

// The front hemisphere in a disc; each meridian is the circular arc through
// both poles and its point on the equator, divided evenly by latitude.
void InputTwoCircles(const InputQuery& q, InputAnswer* a) {
  const LonPhi g = ConvertedAngles(q.point);
  if (g.s < 0.25f || g.s > 0.75f) {
    MarkOutside(a);
    return;
  }
  float l = g.lon;
  const bool flip = l < 0.0f;
  if (flip) l = -l;
  const bool small = l < kGlobularMinLon;
  const float lSmall = l;
  if (small) l = kGlobularMinLon;

  const float e = 2.0f * l / kPiF;  // the meridian's equator point, 0..1
  const float c = e / 2.0f - 0.5f / e;
  const float r = std::fabs(c - e);
  float toPole[3] = {-c, -1.0f, 0.0f};
  float toEquator[3] = {e - c, 0.0f, 0.0f};
  normalize3(toPole);
  normalize3(toEquator);
  const float halfArc = fast_acos(toPole[0] * toEquator[0] + toPole[1] * toEquator[1] + toPole[2] * toEquator[2]);
  const float psi = 2.0f * halfArc * g.phi / kPiF;
  const float x = static_cast<float>(c + r * std::cos(static_cast<double>(psi)));
  const float y = r * std::sin(psi);
  a->u = 1.0f - (x / 2.0f + 0.5f);
  a->v = y / 2.0f + 0.5f;
  if (small) a->u = (lSmall / kGlobularMinLon) * (a->u - 0.5f) + 0.5f;
  if (flip) a->u = 1.0f - a->u;
}
