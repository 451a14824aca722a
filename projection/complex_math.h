// Complex numbers for points of projection planes and nets, and 3-vectors for
// points and directions in space. Pure functions on values passed by value.
//
// The exact formulas matter: every mapped point of every projection goes
// through them, so the product keeps its three-multiplication form and the
// quotient Smith's method, even where a textbook form would differ only in
// the last bits.
#pragma once

struct fcomplex {
  double re;
  double im;
};

struct triplex {
  double x;
  double y;
  double z;
};

// The in-place vector forms of the matrix, normalisation and polyhedron code.
using VECTOR3D = double[3];
using VECTOR3 = float[3];

// ---- complex --------------------------------------------------------------

fcomplex Complex(double re, double im);
fcomplex Cadd(fcomplex a, fcomplex b);
fcomplex Caddthree(fcomplex a, fcomplex b, fcomplex c);
fcomplex Csub(fcomplex a, fcomplex b);
// (ar·br - ai·bi, (ar + ai)(br + bi) - (ar·br + ai·bi)).
fcomplex Cmul(fcomplex a, fcomplex b);
fcomplex Csquare(fcomplex a);
fcomplex RCmul(double r, fcomplex a);
// Smith's method. A zero divisor gives non-finite parts.
fcomplex Cdiv(fcomplex a, fcomplex b);
// a to the real power p on the principal branch; (0, 0) gives (0, 0) for
// every p, negative and zero powers included.
fcomplex Cpow(fcomplex a, double p);
double Cmag(fcomplex a);
double Cdot_product(fcomplex a, fcomplex b);
double Cdist(fcomplex a, fcomplex b);
// a / |a|; (0, 0) has no direction and gives (0, 0).
fcomplex Cnormalize(fcomplex a);
// (cos t, sin t).
fcomplex Cspun(double t);
// -i·ln(i·z + sqrt(1 - z²)) with the branch the elliptic maps rely on.
fcomplex Carcsin(fcomplex z);
// The Moebius map of the unit disk that carries a to 0: (z - a) / (1 - conj(a)·z).
fcomplex automorphicDisk(fcomplex z, fcomplex a);

// ---- triplex --------------------------------------------------------------

triplex Triplex(double x, double y, double z);
triplex Tadd(triplex a, triplex b);
triplex Tsub(triplex a, triplex b);
triplex Taddthree(triplex a, triplex b, triplex c);
triplex RTmul(double r, triplex a);
double Tdot_product(triplex a, triplex b);
double Tmagsquared(triplex a);
double Tmag(triplex a);
double Tdist(triplex a, triplex b);
triplex Tcross_product(triplex a, triplex b);
// b - a.
triplex TVectorFromTo(triplex a, triplex b);
triplex Tmidpoint(triplex a, triplex b);
// a + (b - a)·t.
triplex Tlerp(double t, triplex a, triplex b);
// A zero vector gives (0, 0, 0) here, unlike the in-place normalisers of
// scalar_math.h, which give (0, 0, 1).
triplex Tnormalize(triplex a);
triplex TMakeLength(triplex a, double r);
triplex TUnitVectorFromTo(triplex a, triplex b);
void VECTOR3DfromT(triplex a, double out[3]);
triplex TFromVECTOR3(const float v[3]);
triplex TFromVECTOR3D(const double v[3]);

// ---- VECTOR3D, in place ---------------------------------------------------

double Dot3D(const double a[3], const double b[3]);
// out = a × b; out may be a or b.
void Cross3D(const double a[3], const double b[3], double out[3]);
// out = a - b.
void Sub3D(const double a[3], const double b[3], double out[3]);
