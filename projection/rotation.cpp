#include "projection/rotation.h"

#include <cmath>

#include "projection/complex_math.h"
#include "projection/scalar_math.h"

namespace {

constexpr double kParallelDot = 0.9999999;

// acos of a dot product of unit vectors; rounding can push the product a
// hair past ±1, which must mean "parallel", not NaN.
double ClampedAcos(double c) {
  if (c > 1.0) c = 1.0;
  if (c < -1.0) c = -1.0;
  return std::acos(c);
}

// The minimal rotation carrying `from` onto `to` (after Moeller and Hughes),
// valid while the two are not (anti)parallel.
void FromToBlock(const double from[3], const double to[3], double M[4][4]) {
  const double e = Dot3D(from, to);
  double c[3];
  Cross3D(to, from, c);
  const double h = 1.0 / (1.0 + e);
  M[0][0] = e + h * c[0] * c[0];
  M[0][1] = h * c[0] * c[1] - c[2];
  M[0][2] = c[1] + h * c[0] * c[2];
  M[1][0] = h * c[0] * c[1] + c[2];
  M[1][1] = e + h * c[1] * c[1];
  M[1][2] = h * c[1] * c[2] - c[0];
  M[2][0] = h * c[0] * c[2] - c[1];
  M[2][1] = c[0] + h * c[1] * c[2];
  M[2][2] = e + h * c[2] * c[2];
}

}  // namespace

void MatrixFromAxisAngleD(const double axis[3], double angle, double M[4][4]) {
  const double w = std::cos(angle / 2.0);
  const double s = std::sin(angle / 2.0);
  const double x = s * axis[0];
  const double y = s * axis[1];
  const double z = s * axis[2];
  M[0][0] = 1.0 - (2.0 * y * y + 2.0 * z * z);
  M[0][1] = 2.0 * x * y - 2.0 * w * z;
  M[0][2] = 2.0 * w * y + 2.0 * x * z;
  M[0][3] = 0.0;
  M[1][0] = 2.0 * w * z + 2.0 * x * y;
  M[1][1] = 1.0 - (2.0 * z * z + 2.0 * x * x);
  M[1][2] = 2.0 * y * z - 2.0 * w * x;
  M[1][3] = 0.0;
  M[2][0] = 2.0 * x * z - 2.0 * w * y;
  M[2][1] = 2.0 * w * x + 2.0 * y * z;
  M[2][2] = 1.0 - (2.0 * x * x + 2.0 * y * y);
  M[2][3] = 0.0;
  M[3][0] = 0.0;
  M[3][1] = 0.0;
  M[3][2] = 0.0;
  M[3][3] = 1.0;
}

void MatrixFromAxisAngle(const float axis[3], float angle, float M[4][4]) {
  const double axisD[3] = {axis[0], axis[1], axis[2]};
  double m[4][4];
  MatrixFromAxisAngleD(axisD, angle, m);
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 3; ++j) M[i][j] = static_cast<float>(m[i][j]);
  }
}

void Multiply3x3D(const double A[4][4], const double B[4][4], double M[4][4]) {
  double r[3][3];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) r[i][j] = A[i][0] * B[0][j] + A[i][1] * B[1][j] + A[i][2] * B[2][j];
  }
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) M[i][j] = r[i][j];
  }
}

void MultiplyRowVectorBy3x3(const float p[3], const float M[4][4], float out[3]) {
  // Three named results, not an array copied out: every mapped point passes
  // here three times, and the array's copy stalled on its own stores.
  const float r0 = p[0] * M[0][0] + p[1] * M[1][0] + p[2] * M[2][0];
  const float r1 = p[0] * M[0][1] + p[1] * M[1][1] + p[2] * M[2][1];
  const float r2 = p[0] * M[0][2] + p[1] * M[1][2] + p[2] * M[2][2];
  out[0] = r0, out[1] = r1, out[2] = r2;
}

void MultiplyRowVectorBy3x3D(const double p[3], const double M[4][4], double out[3]) {
  double r[3];
  for (int j = 0; j < 3; ++j) r[j] = p[0] * M[0][j] + p[1] * M[1][j] + p[2] * M[2][j];
  out[0] = r[0], out[1] = r[1], out[2] = r[2];
}

void FromToBuildRotationD(const double from[3], const double to[3], double M[4][4]) {
  if (std::fabs(Dot3D(from, to)) <= kParallelDot) {
    FromToBlock(from, to, M);
    return;
  }
  // Too close to (anti)parallel for the direct block: go through a direction
  // m away from both. The midpoint serves for nearly opposite pairs; for
  // nearly equal ones it lies on them, so a permutation of `from` replaces it.
  double m[3];
  for (int i = 0; i < 3; ++i) m[i] = (to[i] - from[i]) * 0.5 + from[i];
  if (Dot3D(m, m) > kParallelDot) {
    m[0] = from[1], m[1] = from[2], m[2] = from[0];
  }
  if (Dot3D(m, m) == 0.0 && std::fabs(from[2]) > 0.5) {
    // Exactly opposite along z: the usual fallback (0, 0, 1) would lie on the
    // pair itself and make both blocks degenerate, so take a perpendicular.
    const double xAxis[3] = {1.0, 0.0, 0.0};
    Cross3D(xAxis, from, m);
  }
  NormalizeVectorD(m);
  double A[4][4];
  double B[4][4];
  FromToBlock(to, m, A);
  FromToBlock(m, from, B);
  Multiply3x3D(A, B, M);
}

void FromToBuildRotation(const float from[3], const float to[3], float M[4][4]) {
  const double f[3] = {from[0], from[1], from[2]};
  const double t[3] = {to[0], to[1], to[2]};
  double m[4][4];
  FromToBuildRotationD(f, t, m);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) M[i][j] = static_cast<float>(m[i][j]);
  }
}

void crazy_new_FromToBuildRotationD(const double a[3], const double b[3], double M[4][4]) {
  double na[3] = {a[0], a[1], a[2]};
  double nb[3] = {b[0], b[1], b[2]};
  NormalizeVectorD(na);
  NormalizeVectorD(nb);
  const double angle = ClampedAcos(Dot3D(na, nb));
  double axis[3];
  Cross3D(a, b, axis);
  NormalizeVectorD(axis);
  MatrixFromAxisAngleD(axis, angle, M);
}

void CGetsAngularInterpolantOfAB(const double a[3], const double b[3], double out[3], double t) {
  if (t == 0.0) {
    out[0] = a[0], out[1] = a[1], out[2] = a[2];
    return;
  }
  double axis[3];
  Cross3D(b, a, axis);
  NormalizeVectorD(axis);
  double M[4][4];
  MatrixFromAxisAngleD(axis, ClampedAcos(Dot3D(a, b)) * t, M);
  MultiplyRowVectorBy3x3D(a, M, out);
  NormalizeVectorD(out);
}
