#include "projection/planes.h"

#include "projection/rotation.h"
#include "projection/scalar_math.h"

namespace {

constexpr double kSnapLow = 1e-8;
constexpr double kSnapHigh = 0.99999999;

// unit(b - a) and unit(b - c), the two legs at the middle point b.
void UnitLegs(const double a[3], const double b[3], const double c[3], double u[3], double w[3]) {
  for (int i = 0; i < 3; ++i) {
    u[i] = b[i] - a[i];
    w[i] = b[i] - c[i];
  }
  NormalizeVectorSlowlyD(u);
  NormalizeVectorSlowlyD(w);
}

// The complex turn of one coordinate pair by Cspun(t).
void TurnPair(double* re, double* im, double t) {
  const fcomplex r = Cmul(Complex(*re, *im), Cspun(t));
  *re = r.re;
  *im = r.im;
}

}  // namespace

void BuildRay(double ray[6], const double origin[3], double direction[3]) {
  for (int i = 0; i < 3; ++i) {
    ray[i] = origin[i];
    ray[3 + i] = direction[i];
  }
  NormalizeVectorSlowlyD(direction);
}

void BuildPlaneFromPointAndDirection(const double p[3], const double direction[3], PLANED* plane) {
  double n[3] = {direction[0], direction[1], direction[2]};
  NormalizeVectorSlowlyD(n);
  double n2[3] = {n[0], n[1], n[2]};
  NormalizeVectorSlowlyD(n2);
  for (int i = 0; i < 3; ++i) {
    plane->normal[i] = n[i];
    plane->unitNormal[i] = n2[i];
    plane->point[i] = p[i];
  }
  plane->negDot = -Dot3D(n, p);
  plane->classifyOffset = plane->negDot / SqrtQuakeyDouble(Dot3D(n, n));
  plane->d = Dot3D(p, plane->unitNormal);
}

void BuildPlaneFromThreePoints(const double a[3], const double b[3], const double c[3], PLANED* plane) {
  const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  const double e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e2[2] * e1[0], e1[0] * e2[1] - e1[1] * e2[0]};
  NormalizeVectorSlowlyD(n);
  BuildPlaneFromPointAndDirection(b, n, plane);
}

void BuildPlaneFromThreePointsT(triplex a, triplex b, triplex c, PLANED* plane) {
  const double pa[3] = {a.x, a.y, a.z};
  const double pb[3] = {b.x, b.y, b.z};
  const double pc[3] = {c.x, c.y, c.z};
  BuildPlaneFromThreePoints(pa, pb, pc, plane);
}

int Classify_PointD(const PLANED* plane, const double x[3], double e) {
  const double side = Dot3D(plane->unitNormal, x) + plane->classifyOffset;
  if (side > e) return 1;
  if (side < -e) return -1;
  return 0;
}

int Classify_PointDT(const PLANED* plane, triplex x, double e) {
  const double p[3] = {x.x, x.y, x.z};
  return Classify_PointD(plane, p, e);
}

bool IntersectionOf3PlanesD(const PLANED* P, const PLANED* Q, const PLANED* R, double x[3]) {
  double qr[3], rp[3], pq[3];
  Cross3D(Q->unitNormal, R->unitNormal, qr);
  Cross3D(R->unitNormal, P->unitNormal, rp);
  Cross3D(P->unitNormal, Q->unitNormal, pq);
  const double det = Dot3D(P->unitNormal, qr);
  if (det == 0.0) return false;
  const double inv = 1.0 / det;
  for (int i = 0; i < 3; ++i) x[i] = (P->d * qr[i] + Q->d * rp[i] + R->d * pq[i]) * inv;
  return true;
}

double DistanceFromPointToLineSegmentD(const double a[3], const double b[3], const double p[3], double nearest[3],
                                       int snap) {
  const double ab[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  const double ap[3] = {p[0] - a[0], p[1] - a[1], p[2] - a[2]};
  const double len2 = Dot3D(ab, ab);
  double t = 0.0;
  if (len2 != 0.0) {
    t = Dot3D(ap, ab) / len2;
    if (t < 0.0) t = 0.0;
    if (t > 1.0) t = 1.0;
    if (snap == 1) {
      if (t < kSnapLow) t = 0.0;
      if (t > kSnapHigh) t = 1.0;
    }
  }
  double off[3];
  for (int i = 0; i < 3; ++i) {
    nearest[i] = len2 == 0.0 ? a[i] : a[i] + t * ab[i];
    off[i] = p[i] - nearest[i];
  }
  return SqrtQuakeyDouble(Dot3D(off, off));
}

double DotProductAround3DpointsD(const double a[3], const double b[3], const double c[3]) {
  double u[3], w[3];
  UnitLegs(a, b, c, u, w);
  return Dot3D(u, w);
}

void NormalizedCrossProductAround3DpointsD(const double a[3], const double b[3], const double c[3], double out[3]) {
  double u[3], w[3];
  UnitLegs(a, b, c, u, w);
  Cross3D(u, w, out);
}

triplex SpinPointAroundAxis(spintype s, triplex p) {
  const double axis[3] = {s.axis.x, s.axis.y, s.axis.z};
  double M[4][4];
  MatrixFromAxisAngleD(axis, s.angle, M);
  const double rel[3] = {p.x - s.centre.x, p.y - s.centre.y, p.z - s.centre.z};
  double turned[3];
  MultiplyRowVectorBy3x3D(rel, M, turned);
  return {turned[0] + s.centre.x, turned[1] + s.centre.y, turned[2] + s.centre.z};
}

spintype GetSpintypeForIdentity() { return {{0.0, 0.0, 0.0}, {1.0, 0.0, 0.0}, 0.0}; }

fcomplex ReflectAroundLine(fcomplex a, fcomplex b, fcomplex p) {
  const fcomplex u = Cnormalize(Csub(a, b));
  const double k = Cdot_product(Csub(p, a), u);
  return Csub(Cadd(RCmul(2.0 * k, u), RCmul(2.0, a)), p);
}

void SpinIt(double p[3], double t) { TurnPair(&p[0], &p[1], t); }

void LatitudeIt(double p[3], double t) { TurnPair(&p[2], &p[1], t); }

void LongitudeIt(double p[3], double t) { TurnPair(&p[2], &p[0], t); }
