#include "projection/inverse/classic_peirce.h"

#include <cmath>

#include "projection/lookup/lookup_fetch.h"
#include "projection/lookup/lookup_fold.h"
#include "projection/scalar_math.h"
#include "projection/inverse/stereographic.h"

namespace {

// An eighth turn: the table puts the square's corners on the diagonals.
constexpr fcomplex kEighthTurn = {0.707106781186548, 0.707106781186548};
constexpr fcomplex kMinusEighthTurn = {0.707106781186548, -0.707106781186548};

// Takes the quincuncial square onto the unit square so that the diamond
// |x| + |y| <= 1 fills it. The factor is a hair above one half so that the
// outer square's corners land just beyond the corner triangles and are
// outside.
constexpr fcomplex kDiamondToSquare = {0.5000000000000007, -0.5000000000000007};

constexpr double kHalfPi = 1.5707963267948966;

constexpr double kChevronTurn = 0.78539816325;
constexpr double kChevronExponent = 1.3333333333333333;
constexpr double kChevronDiskTurn = -0.5235987755;
constexpr double kChevronNotchStart = -1.5707963265;

bool InUnitSquare(double a, double b) { return a >= 0.0 && a <= 1.0 && b >= 0.0 && b <= 1.0; }

void SetPole(float point[3]) {
  point[0] = 0.0f;
  point[1] = 0.0f;
  point[2] = 1.0f;
}

// The unit-square point onto the front hemisphere through the disk. below
// tells on which side of the square's diagonal a + b = 1 (the disk's real
// axis) the point lies.
//
// The table only knows the disk point to its own rounding, so a point on
// the negative real axis may come back a hair on either side of it. With a
// fractional exponent that axis is the branch cut of the power, and the
// wrong side lands the point a whole sector away: the bent maps, whose
// twist counts on the side the plane point is on, would tear along that
// line. The side is therefore taken from the plane point.
void SquareToHemisphere(fcomplex z, bool below, double exponent, double turn, float point[3]) {
  fcomplex w = PeirceInverseMagically(z);
  if (w.re < 0.0 && std::signbit(w.im) != below) w.im = below ? -0.0 : 0.0;
  w = Cpow(w, exponent);
  w = Cmul(w, Cspun(turn));
  StereoIntersect(static_cast<float>(2.0 * w.re), static_cast<float>(2.0 * w.im), point);
}

// The twist that variants 5 and 6 give the two sectors beside the negative
// real axis of the turned point z (where its angle t, measured from the
// imaginary axis, is near -pi/2). Raising z to the power n (1.25 and 1.5
// where these variants are used) wraps the angles of the points within
// pi - pi/n of that axis past a half turn; the twist turns them back after
// the map has undone the power.
//
// The sectors end where the wrap begins, at exact multiples of pi (a
// boundary a few 1e-10 off leaves a sliver of points that are wrapped but
// not turned back, a sector away from their neighbours). On the axis
// itself t cannot tell the two sides apart (it rounds to -pi/2 for every
// point within 1e-16 of it), so the side is the one the power takes: that
// of the sign of z's imaginary part, zeros included.
double BendyTwist(int32_t variant, double n, double t, double zIm) {
  double half, k;
  if (variant == 5) {
    half = kPi / 5.0;
    k = 6.283185307 / (n * 0.25);
  } else if (variant == 6) {
    half = kPi / 3.0;
    k = 2.094395102;
  } else {
    return 0.0;
  }
  if (t <= -kHalfPi - half || t >= -kHalfPi + half) return 0.0;
  return std::signbit(zIm) ? k : -k;
}

}  // namespace

fcomplex PeirceInverseMagically(fcomplex z) {
  fcomplex w = RCmul(2.0, Csub(z, Complex(0.5, 0.5)));
  int32_t flags;
  fold_octants(&w, &flags);
  w = FetchFromCache_Peirce(w);
  unfold_octants(&w, flags);
  return Cmul(w, kEighthTurn);
}

void TotalPeirce(double x, double y, uint8_t* outside, float point[3], double exponent, double turn) {
  *outside = 0;
  if (!(x >= -1.0 && x <= 1.0 && y >= -1.0 && y <= 1.0)) {
    *outside = 1;
    SetPole(point);
    return;
  }
  const fcomplex z = Cadd(Cmul(Complex(x, y), kDiamondToSquare), Complex(0.5, 0.5));
  double a = z.re, b = z.im;
  if (InUnitSquare(a, b)) {
    SquareToHemisphere(z, std::signbit(y), exponent, turn, point);
    return;
  }
  // A corner triangle is the mirror image of the diamond across its edge;
  // mirroring across the edge of the square is mirroring across the equator
  // on the sphere.
  const double s = a + b, d = a - b;
  if (a >= 1.0 && s < 2.0 && d < 1.0) {
    a = 2.0 - a;
  } else if (a < 0.0 && s > 0.0 && d > -1.0) {
    a = -a;
  } else if (b >= 1.0 && s < 2.0 && d > -1.0) {
    b = 2.0 - b;
  } else if (b < 0.0 && d < 1.0 && s > 0.0) {
    b = -b;
  } else {
    *outside = 1;
    SetPole(point);
    return;
  }
  SquareToHemisphere(Complex(a, b), a + b < 1.0, exponent, turn, point);
  point[2] = -point[2];
}

void ChevronPeirce(double x, double y, uint8_t* outside, float point[3], double dx, double dy) {
  const fcomplex z = Cmul(Cadd(Complex(x, y), Complex(dx, dy)), Cspun(kChevronTurn));
  const double t = std::atan2(z.re, z.im);
  TotalPeirce(z.re, z.im, outside, point, kChevronExponent, kChevronDiskTurn);
  // The power 4/3 opens three quarters of the disk to the whole circle; the
  // fourth quarter would cover a third of it a second time and is cut away.
  if (t > kChevronNotchStart && t < 0.0) *outside = 1;
}

void BendyPeirce(double x, double y, uint8_t* outside, float point[3], double n, int32_t variant, double turn,
                 double scale, double dx, double dy) {
  fcomplex z = {(x + dx) / scale, (y + dy) / scale};
  z = Cmul(z, Cspun(turn));
  const double t = std::atan2(z.re, z.im);
  const double k = BendyTwist(variant, n, t, z.im);
  z = Cpow(z, n);
  TotalPeirce(z.re, z.im, outside, point, 1.0 / n, k);
}

void TotalGuyou(double x, double y, uint8_t* outside, float point[3], fcomplex* aux) {
  *outside = 0;
  fcomplex z = {x + 1.0, y + 0.5};
  if (!(z.re >= 0.0 && z.re <= 2.0 && z.im >= 0.0 && z.im <= 1.0)) {
    *outside = 1;
    if (aux != nullptr) *aux = {0.0, 0.0};
    return;
  }
  const bool left = z.re < 1.0;
  if (!left) z.re -= 1.0;
  const fcomplex w = Cmul(PeirceInverseMagically(z), kMinusEighthTurn);
  float p[3];
  StereoIntersect(static_cast<float>(2.0 * w.re), static_cast<float>(2.0 * w.im), p);
  // Each square is a hemisphere about the x axis: the left one about +x,
  // the right one about -x.
  if (left) {
    point[0] = p[2];
    point[1] = p[1];
    point[2] = -p[0];
  } else {
    point[0] = -p[2];
    point[1] = p[1];
    point[2] = p[0];
  }
  if (aux != nullptr) *aux = w;
}
