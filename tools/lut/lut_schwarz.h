// Integrals of the form  F(s) = A * integral from 0 to s of
//   prod over rings r of (1 - c_r * t^n)^(-beta_r) dt,
// the symmetric Schwarz-Christoffel integrals that every conformal table
// rests on: the disk onto a regular polygon (one ring, beta = 2/n), and a
// sphere face, in the stereographic coordinate about its centre, onto the
// flat face of its polyhedron (one ring per ring of vertices, beta = the
// vertex's angle defect over 2 pi).
//
// Inside the disk |c_r| * |s|^n <= 1 of the nearest ring every factor keeps
// a positive real part along the straight path from 0, so principal powers
// are continuous there; the face's corners sit on that circle.
#pragma once

#include <complex>

namespace lut {

using cplx = std::complex<double>;

constexpr int kMaxRings = 4;

struct SymmetricIntegral {
  int n = 1;
  int rings = 0;
  cplx c[kMaxRings];
  double beta[kMaxRings] = {};
  cplx scale = 1.0;
};

// F'(s).
cplx IntegrandAt(const SymmetricIntegral& f, cplx s);
// F(s), by double-exponential quadrature along the ray from 0 to s; an
// endpoint on a corner (c_r s^n = 1) is integrable and handled exactly.
cplx IntegralTo(const SymmetricIntegral& f, cplx s);
// |c_r| |s|^n of the nearest ring: below 1 inside the corners' circle.
double RingReach(const SymmetricIntegral& f, cplx s);

// s with F(s) = target, by damped Newton steps from `guess`, kept near the
// corners' circle. Returns false when it does not converge to 1e-13.
bool InvertIntegral(const SymmetricIntegral& f, cplx target, cplx guess, cplx* s);

// The same from s = 0, walking the target in from the centre so that every
// Newton run starts close to its root.
bool InvertIntegralFromCentre(const SymmetricIntegral& f, cplx target, cplx* s);

// A corner of the map: its prevertex s (c_r s^n = 1), its image F(s) and the
// exponent beta of its factor.
struct Corner {
  cplx prevertex;
  cplx image;
  double beta;
};

// The inverse everywhere in the closed polygon. Near a corner F behaves as
// (s - prevertex)^(1 - beta), where Newton steps in s are badly conditioned;
// there the unknown is sigma with s = prevertex (1 - sigma^(1/(1-beta))),
// in which F is smooth. A target on a corner's image gives its prevertex.
bool InvertIntegralNearCorners(const SymmetricIntegral& f, const Corner* corners, int count, cplx target,
                               cplx* s);

}  // namespace lut
