#include "render/routes/routes_closed.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "projection/inverse/classic_cached.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"
#include "render/routes/route_plane.h"
#include "render/vort.h"

namespace {

constexpr double kFourRootTwo = 5.656854249492384;  // 4·sqrt(2): Hammer and Mollweide plane scale
constexpr double kInvRootTwo = 0.707106781186548;
constexpr float kTwoRootTwoF = 2.82842712474619f;
constexpr float kHalfPiF = 1.5707964f;
// The equirectangular box (0, 0)-(1, 0.5): its centre in its own plane.
constexpr double kEquirectCentreX = 0.5;
constexpr double kEquirectCentreY = 0.25;
constexpr float kPoleHair = 1e-6f;
// Werner: the pole of the heart shape lies above the box centre.
constexpr float kWernerScale = 0.6f;
constexpr float kWernerPoleOffset = 0.4166666666666667f;
// Two circles: each circle's centre sits a quarter of the box from the middle.
constexpr float kTwoCirclesCentre = 0.25f;
constexpr float kTwoCirclesSlack = 1.001f;

void Doubled(fcomplex plane, float* X, float* Y) {
  *X = float(2.0 * plane.re);
  *Y = float(2.0 * plane.im);
}

// The disc centre (the north pole of the equirectangular frame) becomes the
// picture centre +z and the rim the point behind.
void PoleToFront(float p[3]) {
  const float y = p[1], z = p[2];
  p[1] = -z;
  p[2] = y;
}

// The polar family: r2 is the squared radius on the unit disc, already
// checked to lie in [0, 1]; `magnify` widens the rim.
void PolarCore(fcomplex plane, float r2, bool magnify, float sphere[3]) {
  const float a = XYtoRadians(float(plane.re), float(plane.im));
  float r = std::sqrt(r2);
  if (magnify) r = float((1.0 / (1.2 - double(r)) - 0.8333333333333334) * 6.0 / 25.0);
  RectangularToSpherical(-a / kTwoPiF, r, sphere);
}

double Clamp1(double s) { return s > 1.0 ? 1.0 : (s < -1.0 ? -1.0 : s); }

bool InUnitRange(float r2) { return r2 >= 0.0f && r2 <= 1.0f; }  // false for NaN

// A row of a Mollweide picture keeps one latitude, whose two arcsines and
// sines cost more than the rest of the point; each thread keeps the last
// two it worked out (a pixel row's centres and the corner row beside it
// take turns), by the bits of the plane height they came from.
struct MollweideLatitude {
  uint64_t key = ~uint64_t(0);  // a NaN's bits, which no height that passes the rim test has
  float c = 0.0f, y = 0.0f, r = 0.0f;
};
struct MollweideLatitudes {
  MollweideLatitude entry[2];
  int32_t older = 0;  // the entry a new latitude replaces
};
thread_local MollweideLatitudes t_mollweideLatitudes;

}  // namespace

void Route_Equirectangular(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const double Y = 2.0 * (plane.im - kEquirectCentreY);
  if (!(Y >= -0.5 && Y <= 0.5)) return;
  const double xe = plane.re - kEquirectCentreX;
  if (!(xe >= -0.5 && xe <= 0.5)) return;
  *outside = 0;
  const float s = std::sin(-kPiF * float(Y));
  // The top and bottom corner rows lie on the poles, where a direction has
  // no longitude; held a hair off the pole, a corner keeps its meridian, so
  // the first and last pixel rows sample their own longitudes rather than
  // one shared by the whole row.
  float c = SqrtQuakeyFloat(1.0f - s * s);
  if (c < kPoleHair) c = kPoleHair;
  const float lon = float(xe) * kTwoPiF;
  sphere[0] = -std::sin(lon) * c;
  sphere[1] = s;
  sphere[2] = c * std::cos(lon);
}

void Route_MirrorBall(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(PlaneInRegisters(plane), &X, &Y);
  const float z = 2.0f * (1.0f - X * X - Y * Y) - 1.0f;
  if (!(z >= -1.0f)) return;
  *outside = 0;
  const float k = std::sqrt(2.0f * (1.0f + z));
  sphere[0] = -X * k;
  sphere[1] = -Y * k;
  sphere[2] = z;
}

void Route_Polar(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float r2 = X * X + Y * Y;
  if (!InUnitRange(r2)) return;
  *outside = 0;
  PolarCore(plane, r2, false, sphere);
  PoleToFront(sphere);
}

void Route_Magnipolar(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float r2 = X * X + Y * Y;
  if (!InUnitRange(r2)) return;
  *outside = 0;
  PolarCore(plane, r2, true, sphere);
  PoleToFront(sphere);
}

// The polar map with a hole: the disc of radius sqrt(k) is cut out and the
// ring beyond it carries the whole sphere, north pole on the inner rim.
void Route_Annulus(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float k = float(1.0 - double(view.viewAngle) / 180.0);
  if (k == 1.0f) return;
  const float r2 = (X * X + Y * Y - k) / (1.0f - k);
  if (!InUnitRange(r2)) return;
  *outside = 0;
  PolarCore(plane, r2, false, sphere);
}

void Route_HalfPolar(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float Yh = Y + 0.5f;
  const float r = std::sqrt(X * X + Yh * Yh);
  float a = XYtoRadians(X, Yh);
  if (a < 0.0f) a += kTwoPiF;
  if (a > kTwoPiF) a -= kTwoPiF;
  a = (a - kPiF) * -2.0f;
  if (!(a >= -kPiF && a <= kPiF) || !(r >= 0.0f && r <= 1.0f)) return;
  *outside = 0;
  RectangularToSpherical((a + kPiF) / kTwoPiF, r, sphere);
}

void Route_Orthographic(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const fcomplex q = PlaneInRegisters(plane);
  const float Xo = float(-2.0 * q.re);
  const float Yo = float(-2.0 * q.im);
  const float h = 1.0f - Xo * Xo - Yo * Yo;
  if (!(h >= 0.0f)) return;
  *outside = 0;
  sphere[0] = Xo;
  sphere[1] = Yo;
  sphere[2] = std::sqrt(h);
}

void Route_Hammer(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const double Xh = kFourRootTwo * plane.re;
  const double Yh = kFourRootTwo * plane.im;
  const float q = float(Xh * Xh * 0.25 + Yh * Yh);
  if (!(q <= 2.0f)) return;
  const double w = std::sqrt(1.0 - 0.25 * double(q));
  const float t = float(Yh * w);
  if (!(t >= -1.0f && t <= 1.0f)) return;
  *outside = 0;
  const float lat = std::asin(t);
  const float ang = XYtoRadians(float(-0.5 * Xh * w), 0.5f * q - 1.0f);
  const float L = 2.0f * ang + kPiF;
  RectangularToSpherical(0.5f * L / -kPiF + 1.0f, lat / kPiF + 0.5f, sphere);
}

void Route_Werner(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float Xw = kWernerScale * X;
  const float Yw = kWernerScale * Y + kWernerPoleOffset;
  const float r = std::sqrt(Xw * Xw + Yw * Yw);
  float a = XYtoRadians(Xw, Yw);
  if (a < 0.0f) a += kTwoPiF;
  if (a > kTwoPiF) a -= kTwoPiF;
  a -= kPiF;
  const float d = 1.0f - r;
  if (d == 0.0f) return;
  a = -a / d;
  if (!(a >= -kPiF && a <= kPiF) || !(r >= 0.0f && r <= 1.0f)) return;
  *outside = 0;
  RectangularToSpherical((a + kPiF) / kTwoPiF, r, sphere);
}

void Route_Sinusoidal(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  float X, Y;
  Doubled(plane, &X, &Y);
  const float lat = Y * kPiF;
  // Inside these bounds cos(lat) stays above zero, so the division is safe.
  if (!(lat < kHalfPiF && lat > -kHalfPiF)) return;
  float lon = float(-kPi * double(X) / std::cos(double(lat)));
  if (!(lon < kPiF && lon > -kPiF)) return;
  lon += kPiF;
  if (lon >= kPiF) lon -= kTwoPiF;
  *outside = 0;
  RectangularToSpherical(0.5f * lon / kPiF, lat / kPiF + 0.5f, sphere);
}

// One full turn of longitude across the output's width, whatever its aspect;
// never outside.
void Route_Cylindrical(fcomplex plane, const vort& view, float sphere[3], uint8_t* outside, RouteMarks*) {
  const bool wide = view.outputAspect < 1.0f;
  const float k = wide ? 2.0f * view.outputAspect : 2.0f;
  const float m = wide ? view.outputAspect : 1.0f;
  const float lon = float(k * plane.re * kPi);
  sphere[0] = -std::sin(lon);
  sphere[1] = float(-8.0 * m * plane.im);
  sphere[2] = std::cos(lon);
  NormalizeVector(sphere);
  *outside = 0;
}

// Two hemispheres side by side: the front (+z) in the left circle, the back
// in the right one.
void Route_TwoCircles(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const float xs = float(plane.re);
  const bool right = !(xs < 0.0f);
  const float xc = right ? xs - kTwoCirclesCentre : xs + kTwoCirclesCentre;
  const float yc = float(plane.im);
  const float Xc = 4.0f * xc, Yc = 4.0f * yc;
  const float q = Xc * Xc + Yc * Yc;
  const float a = XYtoRadians(xc, yc);
  if (!(q <= kTwoCirclesSlack)) return;
  *outside = 0;
  RectangularToSpherical(-a / kTwoPiF, 1.0f - 1.0f / (std::sqrt(q) + 1.0f), sphere);
  PoleToFront(sphere);
  if (right) {
    sphere[0] = -sphere[0];
    sphere[2] = -sphere[2];
  }
}

// The plane is the Winkel Tripel's own, its resident table read on the way.
void Route_WinkelTripel(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  TotalWinkel(plane.re, plane.im, sphere, outside);
}

void Route_Mollweide(fcomplex plane, const vort&, float sphere[3], uint8_t* outside, RouteMarks*) {
  *outside = 1;
  const double Xm = kFourRootTwo * plane.re;
  const double Ym = kFourRootTwo * plane.im;
  const float q = float(Xm * Xm * 0.25 + Ym * Ym);
  if (!(q <= 2.0f)) return;
  const double t = Ym * std::sqrt(1.0 - 0.25 * double(q));
  if (!(t >= -1.0 && t <= 1.0)) return;
  *outside = 0;
  uint64_t key;
  std::memcpy(&key, &Ym, sizeof key);
  // The thread's cache is reached once: each reach of a thread-local in the
  // plug-in is a call.
  MollweideLatitudes& cache = t_mollweideLatitudes;
  MollweideLatitude row;
  if (key == cache.entry[0].key) {
    row = cache.entry[0];
  } else if (key == cache.entry[1].key) {
    row = cache.entry[1];
  } else {
    // q is rounded to single precision, so on the rim the sines can pass 1
    // by a rounding step; they are held to the pole there instead of giving
    // NaN.
    const float theta = float(std::asin(Clamp1(Ym * kInvRootTwo)));
    const float lat = float(std::asin(Clamp1((2.0 * double(theta) + std::sin(2.0 * double(theta))) / kPi)));
    row.c = std::cos(theta) * kTwoRootTwoF;
    LatitudeCircle(lat / kPiF + 0.5f, &row.y, &row.r);
    row.key = key;
    cache.entry[cache.older] = row;
    cache.older ^= 1;
  }
  const float c = row.c;
  const float L = c > 0.0f ? float(Xm * kPi / double(c) + kPi) : 0.0f;
  OnLatitudeCircle(0.5f * L / -kPiF + 1.0f, row.y, row.r, sphere);
}
