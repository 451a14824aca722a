#include "projection/ray_geometry.h"

#include <cmath>

#include "projection/complex_math.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"

namespace {

constexpr double kEdgeOnDet = 1e-6;
// Within this distance of a pole, in v, a point has no longitude.
constexpr double kPolarV = 0.001;

float TripleProductAsFloat(const double p[3], const double q[3], const double d[3]) {
  double c[3];
  Cross3D(p, q, c);
  return static_cast<float>(Dot3D(c, d));
}

bool HasNoLongitude(double v) { return v < kPolarV || v > 1.0 - kPolarV; }

// Of the two candidates, the one whose v is nearer to `v` gets weight 1; the
// second candidate wins a tie.
void RestoreNearer(double v, double vFirst, double vSecond, float* wFirst, float* wSecond) {
  if (std::fabs(vFirst - v) < std::fabs(vSecond - v)) {
    *wFirst = 1.0f;
  } else {
    *wSecond = 1.0f;
  }
}

void LinearPoint(const double* P[3], const float b[3], double out[3]) {
  for (int i = 0; i < 3; ++i) out[i] = b[0] * P[0][i] + b[1] * P[1][i] + b[2] * P[2][i];
}

}  // namespace

bool DoesIntersect(const double a[3], const double b[3], const double c[3], const double d[3]) {
  return TripleProductAsFloat(b, a, d) >= 0.0f && TripleProductAsFloat(c, b, d) >= 0.0f &&
         TripleProductAsFloat(a, c, d) >= 0.0f;
}

int intersect_triangle2(const double o[3], const double d[3], const double T0[3], const double T1[3],
                        const double T2[3], double* t, double* u, double* v) {
  double e1[3], e2[3], p[3], s[3], q[3];
  Sub3D(T1, T0, e1);
  Sub3D(T2, T0, e2);
  Cross3D(d, e2, p);
  const double det = Dot3D(e1, p);
  Sub3D(o, T0, s);
  Cross3D(s, e1, q);
  double uu, vv;
  if (det > kEdgeOnDet) {
    uu = Dot3D(s, p);
    if (uu < 0.0 || uu > det) return 0;
    vv = Dot3D(d, q);
    if (vv < 0.0 || uu + vv > det) return 0;
  } else if (det < -kEdgeOnDet) {
    uu = Dot3D(s, p);
    if (uu > 0.0 || uu < det) return 0;
    vv = Dot3D(d, q);
    if (vv > 0.0 || uu + vv < det) return 0;
  } else {
    return 0;
  }
  const double inv = 1.0 / det;
  *t = Dot3D(e2, q) * inv;
  *u = uu * inv;
  *v = vv * inv;
  return 1;
}

void XY_and_3points_to_barycentrics(double x, double y, double x1, double y1, double x2, double y2, double x3,
                                    double y3, double* a, double* b, double* c) {
  const double inv = 1.0 / ((x2 - x1) * (y3 - y1) - (x3 - x1) * (y2 - y1));
  *a = ((x2 - x) * (y3 - y) - (x3 - x) * (y2 - y)) * inv;
  *b = ((x3 - x) * (y1 - y) - (y3 - y) * (x1 - x)) * inv;
  *c = ((y2 - y) * (x1 - x) - (x2 - x) * (y1 - y)) * inv;
}

void D_Gets_Barycentric_of_A_B_C(double a, double b, double c, const double A[3], const double B[3],
                                 const double C[3], double D[3]) {
  for (int i = 0; i < 3; ++i) D[i] = a * A[i] + b * B[i] + c * C[i];
}

void Get3DPointFromCornersAndBarys(const double A[3], const double B[3], const double C[3], float b0, float b1,
                                   float b2, int fancyPointMode, double out[3]) {
  const double* corner[3] = {A, B, C};
  const float bary[3] = {b0, b1, b2};
  if (fancyPointMode == 0) {
    LinearPoint(corner, bary, out);
    return;
  }
  double u[3], v[3];
  float w[3];
  for (int k = 0; k < 3; ++k) {
    double p[3] = {corner[k][0], corner[k][1], corner[k][2]};
    NormalizeVectorD(p);
    SphericalToRectangularD(p, &u[k], &v[k]);
    w[k] = HasNoLongitude(v[k]) ? 0.0f : 1.0f;
  }
  // With at most one corner left that knows its longitude, lend weight back
  // to the corners nearest in latitude.
  if (w[0] + w[1] + w[2] <= 1.0f) {
    if (w[0] != 0.0f) RestoreNearer(v[0], v[1], v[2], &w[1], &w[2]);
    if (w[1] != 0.0f) RestoreNearer(v[1], v[2], v[0], &w[2], &w[0]);
    if (w[2] != 0.0f) RestoreNearer(v[2], v[0], v[1], &w[0], &w[1]);
  }
  // A triangle across the u = 0/1 seam has corners in the first and last
  // quarters only: move the first-quarter ones up by a whole turn.
  double quarter[3];
  bool anyFirst = false, anyLast = false, onlyEnds = true;
  for (int k = 0; k < 3; ++k) {
    quarter[k] = std::trunc((u[k] - std::floor(u[k])) * 4.0 * w[k]);
    anyFirst = anyFirst || quarter[k] == 0.0;
    anyLast = anyLast || quarter[k] == 3.0;
    onlyEnds = onlyEnds && (quarter[k] == 0.0 || quarter[k] == 3.0);
  }
  if (onlyEnds && anyFirst && anyLast) {
    for (int k = 0; k < 3; ++k) {
      if (quarter[k] == 0.0) u[k] += 1.0;
    }
  }
  float s[3];
  for (int k = 0; k < 3; ++k) s[k] = static_cast<float>(bary[k] * w[k]);
  const float sum = s[0] + s[1] + s[2];
  double uu = 0.0;
  if (sum != 0.0f) {
    const float n = 1.0f / sum;
    for (int k = 0; k < 3; ++k) uu += static_cast<float>(s[k] * n) * u[k];
  } else {
    // All the weight sits on corners at a pole (the point is the pole
    // itself), where any longitude names the same direction.
    for (int k = 0; k < 3; ++k) uu += bary[k] * u[k];
  }
  const double vv = b0 * v[0] + b1 * v[1] + b2 * v[2];
  RectangularToSphericalD(uu, vv, out);
}

double Normalize_and_RectangularizeD(double p[3]) {
  NormalizeVectorD(p);
  double u, v;
  SphericalToRectangularD(p, &u, &v);
  p[0] = u;
  p[1] = v;
  p[2] = 0.0;
  return HasNoLongitude(v) ? 0.0 : 1.0;
}

int IntersectRayWithQuadricSurface(const double ray[6], const double centre[3], double s, double nearOut[6],
                                   double farOut[6], int kind) {
  const double* o = ray;
  const double* d = ray + 3;
  double P[3];
  for (int i = 0; i < 3; ++i) P[i] = (o[i] - centre[i]) / s;
  double a, b, c;
  switch (kind) {
    case kQuadricSphere:
      a = Dot3D(d, d);
      b = 2.0 * Dot3D(P, d);
      c = Dot3D(P, P) - 1.0;
      break;
    case kQuadricCylinder:
      a = d[0] * d[0] + d[1] * d[1];
      b = 2.0 * (P[0] * d[0] + P[1] * d[1]);
      c = P[0] * P[0] + P[1] * P[1] - 1.0;
      break;
    case kQuadricCone:
      a = d[0] * d[0] + d[1] * d[1] - d[2] * d[2];
      b = 2.0 * (P[0] * d[0] + P[1] * d[1] - P[2] * d[2]);
      c = P[0] * P[0] + P[1] * P[1] - P[2] * P[2];
      break;
    default:
      return 0;
  }
  double tNear, tFar;
  if (a == 0.0) {
    // The quadratic has lost its leading term: one crossing, or none when the
    // ray runs along the surface or parallel to a cylinder's axis.
    if (b == 0.0) return 0;
    tNear = tFar = -c / b;
  } else {
    const double disc = b * b - 4.0 * a * c;
    if (disc < 0.0) return 0;
    const double r = SqrtQuakeyDouble(disc);
    const double t1 = (r - b) / (2.0 * a);
    const double t2 = (-b - r) / (2.0 * a);
    tNear = std::fmin(t1, t2);
    tFar = std::fmax(t1, t2);
  }
  // t is measured in the quadric's units; s·t is the distance along d in the
  // caller's units.
  double* out[2] = {nearOut, farOut};
  const double tt[2] = {s * tNear, s * tFar};
  for (int h = 0; h < 2; ++h) {
    if (out[h] == nullptr) continue;
    double* hit = out[h];
    for (int i = 0; i < 3; ++i) hit[i] = o[i] + tt[h] * d[i];
    if (kind == kQuadricSphere || kind == kQuadricCylinder) {
      hit[3] = hit[0] - centre[0];
      hit[4] = hit[1] - centre[1];
      hit[5] = kind == kQuadricSphere ? hit[2] - centre[2] : 0.0;
      NormalizeVectorSlowlyD(hit + 3);
    }
  }
  return 1;
}
