#include "polybuild/curved/vivo_curves.h"

#include <cmath>
#include <numbers>

#include "projection/planes.h"

fcomplex Ytriangle[4];
fcomplex Ysquare[5];
fcomplex Ypent[6];

namespace {

constexpr double kPi = std::numbers::pi;

bool IsSquareStyle(int32_t style) { return style == 1 || style == 6 || style == 7; }

}  // namespace

void MakeVivo2DPoints() {
  for (int i = 0; i < 3; ++i) Ytriangle[i + 1] = Cspun(kPi / 2.0 + i * 2.0 * kPi / 3.0);
  Ytriangle[0] = RCmul(1.0 / 3.0, Caddthree(Ytriangle[1], Ytriangle[2], Ytriangle[3]));
  Ysquare[0] = Complex(0.0, 0.0);
  for (int i = 1; i <= 4; ++i) Ysquare[i] = Cspun(i * kPi / 2.0);
  Ypent[0] = Complex(0.0, 0.0);
  for (int i = 1; i <= 5; ++i) Ypent[i] = Cspun(i * 2.0 * kPi / 5.0);
}

fcomplex ReuleaxArc(double t) {
  const double r = Cdist(Ytriangle[1], Ytriangle[2]);
  return Cadd(Ytriangle[2], RCmul(r, Cspun(t * 2.0 * kPi / 6.0)));
}

fcomplex BCurve_squircle(double t) {
  const double s = 1.0 - t;
  const fcomplex q = Complex(std::sqrt(2.0) * s, std::sqrt(2.0) * std::sin(kPi * s) / kPi);
  return Cadd(Ysquare[1], Cmul(q, Cspun(-kPi / 4.0)));
}

fcomplex BCurve(double t, int32_t style) {
  if (style == 3) return Cspun(t * 0.2 * 2.0 * kPi);
  if (style == 1 || style == 6) return Cspun(t * kPi / 2.0);
  if (style == 7) return BCurve_squircle(t);
  return ReuleaxArc(t);
}

fcomplex ACurve(double t, int32_t style) {
  const fcomplex b = BCurve(t, style);
  if (style == 3) return ReflectAroundLine(Ypent[1], Ypent[5], b);
  if (IsSquareStyle(style)) return ReflectAroundLine(Ysquare[1], Ysquare[4], b);
  return ReflectAroundLine(Ytriangle[1], Ytriangle[3], b);
}

fcomplex CCurve(double t, int32_t style) {
  const fcomplex a = ACurve(t, style);
  if (style == 3) return ReflectAroundLine(Ypent[1], Ypent[0], a);
  if (IsSquareStyle(style)) return ReflectAroundLine(Ysquare[1], Ysquare[0], a);
  return ReflectAroundLine(Ytriangle[1], Ytriangle[0], a);
}

fcomplex YCurve(double t, int32_t style) {
  if (style == 3) return ReflectAroundLine(Ypent[3], Ypent[4], Cspun((t + 3.0) * 0.2 * 2.0 * kPi));
  const fcomplex a = ACurve(t, style);
  if (IsSquareStyle(style)) return ReflectAroundLine(Ysquare[4], Ysquare[0], a);
  return ReflectAroundLine(Ytriangle[3], Ytriangle[0], a);
}

namespace {

fcomplex ThreeSquareReflections(fcomplex p) {
  p = ReflectAroundLine(Ysquare[1], Ysquare[4], p);
  p = ReflectAroundLine(Ysquare[1], Ysquare[0], p);
  return ReflectAroundLine(Ysquare[2], Ysquare[0], p);
}

}  // namespace

fcomplex ZCurve_square(double t) { return ThreeSquareReflections(Cspun(t * kPi / 2.0)); }

fcomplex ZCurve(double t, int32_t style) {
  if (style == 3) return ReflectAroundLine(Ypent[2], Ypent[3], Cspun((t + 2.0) * 0.2 * 2.0 * kPi));
  if (style == 7) return ThreeSquareReflections(BCurve_squircle(t));
  return ZCurve_square(t);
}

void BuildFrame(triplex P, triplex Q, triplex R, triplex* u, triplex* w) {
  *u = TUnitVectorFromTo(P, Q);
  *w = TUnitVectorFromTo(R, Tmidpoint(P, Q));
}
