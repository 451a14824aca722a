#include "projection/complex_math.h"

#include <cmath>

#include "projection/scalar_math.h"

// ---- complex --------------------------------------------------------------

fcomplex Complex(double re, double im) { return {re, im}; }

fcomplex Cadd(fcomplex a, fcomplex b) { return {a.re + b.re, a.im + b.im}; }

fcomplex Caddthree(fcomplex a, fcomplex b, fcomplex c) { return {a.re + b.re + c.re, a.im + b.im + c.im}; }

fcomplex Csub(fcomplex a, fcomplex b) { return {a.re - b.re, a.im - b.im}; }

fcomplex Cmul(fcomplex a, fcomplex b) {
  const double rr = a.re * b.re;
  const double ii = a.im * b.im;
  return {rr - ii, (a.re + a.im) * (b.re + b.im) - (rr + ii)};
}

fcomplex Csquare(fcomplex a) { return Cmul(a, a); }

fcomplex RCmul(double r, fcomplex a) { return {r * a.re, r * a.im}; }

fcomplex Cdiv(fcomplex a, fcomplex b) {
  // Smith's method: divide by the larger part first so that neither the
  // squared modulus nor an intermediate product overflows.
  if (std::fabs(b.re) >= std::fabs(b.im)) {
    const double r = b.im / b.re;
    const double s = 1.0 / (b.re + b.im * r);
    return {(a.re + r * a.im) * s, (a.im - r * a.re) * s};
  }
  const double r = b.re / b.im;
  const double s = 1.0 / (b.im + b.re * r);
  return {(r * a.re + a.im) * s, (r * a.im - a.re) * s};
}

fcomplex Cpow(fcomplex a, double p) {
  if (a.re == 0.0 && a.im == 0.0) return {0.0, 0.0};
  const double m = std::exp(p * 0.5 * std::log(a.re * a.re + a.im * a.im));
  const double angle = std::atan2(a.im, a.re) * p;
  return {std::cos(angle) * m, m * std::sin(angle)};
}

double Cmag(fcomplex a) { return SqrtQuakeyDouble(a.re * a.re + a.im * a.im); }

double Cdot_product(fcomplex a, fcomplex b) { return a.re * b.re + a.im * b.im; }

double Cdist(fcomplex a, fcomplex b) {
  const double dx = a.re - b.re;
  const double dy = a.im - b.im;
  return SqrtQuakeyDouble(dx * dx + dy * dy);
}

fcomplex Cnormalize(fcomplex a) {
  const double m = Cmag(a);
  if (m == 0.0) return {0.0, 0.0};
  const double r = 1.0 / m;
  return {a.re * r, a.im * r};
}

fcomplex Cspun(double t) { return {std::cos(t), std::sin(t)}; }

fcomplex Carcsin(fcomplex z) {
  const fcomplex w = Csub(Complex(1.0, 0.0), Csquare(z));
  fcomplex s{0.0, 0.0};
  if (w.re != 0.0 || w.im != 0.0) {
    const double t = SqrtQuakeyDouble((Cmag(w) + std::fabs(w.re)) / 2.0);
    if (w.re >= 0.0) {
      s = {t, w.im / (2.0 * t)};
    } else {
      const double tt = w.im < 0.0 ? -t : t;
      s = {w.im / (2.0 * tt), tt};
    }
  }
  // i·z through the product keeps its rounding ((x + y) - y, not x), which
  // the elliptic maps were tuned with.
  s = Cadd(s, Cmul(z, Complex(0.0, 1.0)));
  const double l = 0.5 * std::log(s.re * s.re + s.im * s.im);
  return {std::atan2(s.im, s.re), -l};
}

fcomplex automorphicDisk(fcomplex z, fcomplex a) {
  const fcomplex num = Csub(z, a);
  const fcomplex den = Csub(Complex(1.0, 0.0), Cmul(Complex(a.re, -a.im), z));
  return Cdiv(num, den);
}

// ---- triplex --------------------------------------------------------------

triplex Triplex(double x, double y, double z) { return {x, y, z}; }

triplex Tadd(triplex a, triplex b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

triplex Tsub(triplex a, triplex b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

triplex Taddthree(triplex a, triplex b, triplex c) { return {a.x + b.x + c.x, a.y + b.y + c.y, a.z + b.z + c.z}; }

triplex RTmul(double r, triplex a) { return {r * a.x, r * a.y, r * a.z}; }

double Tdot_product(triplex a, triplex b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double Tmagsquared(triplex a) { return a.x * a.x + a.y * a.y + a.z * a.z; }

double Tmag(triplex a) { return SqrtQuakeyDouble(Tmagsquared(a)); }

double Tdist(triplex a, triplex b) { return Tmag(Tsub(a, b)); }

triplex Tcross_product(triplex a, triplex b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

triplex TVectorFromTo(triplex a, triplex b) { return Tsub(b, a); }

triplex Tmidpoint(triplex a, triplex b) { return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5}; }

triplex Tlerp(double t, triplex a, triplex b) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

triplex Tnormalize(triplex a) {
  const double m = Tmag(a);
  if (m == 0.0) return {0.0, 0.0, 0.0};
  return RTmul(1.0 / m, a);
}

triplex TMakeLength(triplex a, double r) { return RTmul(r, Tnormalize(a)); }

triplex TUnitVectorFromTo(triplex a, triplex b) { return Tnormalize(Tsub(b, a)); }

void VECTOR3DfromT(triplex a, double out[3]) {
  out[0] = a.x;
  out[1] = a.y;
  out[2] = a.z;
}

triplex TFromVECTOR3(const float v[3]) { return {v[0], v[1], v[2]}; }

triplex TFromVECTOR3D(const double v[3]) { return {v[0], v[1], v[2]}; }

// ---- VECTOR3D, in place ---------------------------------------------------

double Dot3D(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void Cross3D(const double a[3], const double b[3], double out[3]) {
  const double x = a[1] * b[2] - a[2] * b[1];
  const double y = a[2] * b[0] - a[0] * b[2];
  const double z = a[0] * b[1] - a[1] * b[0];
  out[0] = x;
  out[1] = y;
  out[2] = z;
}

void Sub3D(const double a[3], const double b[3], double out[3]) {
  out[0] = a[0] - b[0];
  out[1] = a[1] - b[1];
  out[2] = a[2] - b[2];
}
