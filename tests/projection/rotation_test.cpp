#include "projection/rotation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geom_test_util.h"
#include "projection/scalar_math.h"

namespace {

void Unit(double v[3]) { NormalizeVectorD(v); }

// The 3x3 block is a proper rotation: orthonormal rows, determinant +1.
::testing::AssertionResult IsRotation(const double M[4][4], double tol) {
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const double d = M[i][0] * M[j][0] + M[i][1] * M[j][1] + M[i][2] * M[j][2];
      if (std::fabs(d - (i == j ? 1.0 : 0.0)) > tol) return ::testing::AssertionFailure() << "rows " << i << j;
    }
  }
  const double det = M[0][0] * (M[1][1] * M[2][2] - M[1][2] * M[2][1]) -
                     M[0][1] * (M[1][0] * M[2][2] - M[1][2] * M[2][0]) +
                     M[0][2] * (M[1][0] * M[2][1] - M[1][1] * M[2][0]);
  if (std::fabs(det - 1.0) > tol) return ::testing::AssertionFailure() << "determinant " << det;
  return ::testing::AssertionSuccess();
}

TEST(Rotation, AxisAngleTurnsByMinusTheAngle) {
  const double z[3] = {0, 0, 1};
  double M[4][4];
  MatrixFromAxisAngleD(z, kPi / 2, M);
  const double x[3] = {1, 0, 0};
  const double want[3] = {0, -1, 0};
  double out[3];
  MultiplyRowVectorBy3x3D(x, M, out);
  EXPECT_TRUE(Near3(out, want, 3e-16));
  EXPECT_EQ(M[3][3], 1.0);
  EXPECT_EQ(M[0][3], 0.0);

  // Against Rodrigues' right-handed turn by minus the angle, for assorted
  // axes and angles.
  const double axes[][3] = {{1, 0, 0}, {0, 1, 0}, {1, 2, 3}, {-0.3, 0.1, 0.9}};
  for (const auto& a : axes) {
    double axis[3] = {a[0], a[1], a[2]};
    Unit(axis);
    for (double angle : {-2.5, -0.3, 0.7, 3.0}) {
      MatrixFromAxisAngleD(axis, angle, M);
      ASSERT_TRUE(IsRotation(M, 1e-15));
      const double p[3] = {0.2, -0.7, 0.5};
      double got[3], ref[3];
      MultiplyRowVectorBy3x3D(p, M, got);
      RodriguesTurn(p, axis, -angle, ref);
      EXPECT_TRUE(Near3(got, ref, 1e-15)) << angle;
    }
  }
}

TEST(Rotation, FloatMatrixLeavesTheFourthColumn) {
  float M[4][4];
  for (auto& row : M)
    for (float& e : row) e = 7.0f;
  const float axis[3] = {0, 1, 0};
  MatrixFromAxisAngle(axis, 0.5f, M);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(M[i][3], 7.0f) << i;
  EXPECT_EQ(M[3][0], 0.0f);
  EXPECT_FLOAT_EQ(M[0][0], std::cos(0.5f));
}

TEST(Rotation, ProductsMayWriteOverTheirInputs) {
  double A[4][4], B[4][4], want[4][4];
  const double ax[3] = {0, 0.6, 0.8}, bx[3] = {1, 0, 0};
  MatrixFromAxisAngleD(ax, 0.4, A);
  MatrixFromAxisAngleD(bx, -1.1, B);
  Multiply3x3D(A, B, want);
  Multiply3x3D(A, B, A);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(A[i][j], want[i][j]);

  double p[3] = {1, 2, 3}, q[3];
  MultiplyRowVectorBy3x3D(p, B, q);
  MultiplyRowVectorBy3x3D(p, B, p);
  EXPECT_TRUE(Near3(p, q, 0));
}

struct FromToCase {
  const char* name;
  double from[3];
  double to[3];
  double tol;  // on from·M = to
};

TEST(Rotation, FromToCarriesFromOntoTo) {
  const FromToCase cases[] = {
      {"x to y", {1, 0, 0}, {0, 1, 0}, 1e-15},
      {"general", {1, 2, -2}, {-3, 0, 4}, 1e-15},
      {"equal", {0.48, 0.6, 0.64}, {0.48, 0.6, 0.64}, 1e-15},
      {"nearly equal", {0, 0, 1}, {1e-5, 0, 1}, 2e-5},
      {"opposite", {0.48, 0.6, 0.64}, {-0.48, -0.6, -0.64}, 1e-15},
      {"nearly opposite", {0, 1, 0}, {1e-5, -1, 0}, 2e-5},
      {"opposite along z", {0, 0, 1}, {0, 0, -1}, 1e-15},
      {"opposite along -z", {0, 0, -1}, {0, 0, 1}, 1e-15},
      {"opposite, mostly z", {0.1, 0, 0.99}, {-0.1, 0, -0.99}, 1e-15},
  };
  for (const FromToCase& c : cases) {
    double from[3] = {c.from[0], c.from[1], c.from[2]};
    double to[3] = {c.to[0], c.to[1], c.to[2]};
    Unit(from);
    Unit(to);
    double M[4][4];
    FromToBuildRotationD(from, to, M);
    EXPECT_TRUE(IsRotation(M, 1e-14)) << c.name;
    double out[3];
    MultiplyRowVectorBy3x3D(from, M, out);
    EXPECT_TRUE(Near3(out, to, c.tol)) << c.name;

    float ff[3] = {float(from[0]), float(from[1]), float(from[2])};
    float tf[3] = {float(to[0]), float(to[1]), float(to[2])};
    float Mf[4][4];
    FromToBuildRotation(ff, tf, Mf);
    float outf[3];
    MultiplyRowVectorBy3x3(ff, Mf, outf);
    EXPECT_TRUE(Near3(outf, tf, c.tol + 3e-7)) << c.name;
  }
  double v[3] = {0.48, 0.6, 0.64}, M[4][4];
  FromToBuildRotationD(v, v, M);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(M[i][j], i == j ? 1.0 : 0.0, 1e-15);
}

TEST(Rotation, CrazyFromToCarriesTheSecondOntoTheFirst) {
  const double a[3] = {1, 0, 0}, b[3] = {0, 1, 0};
  double M[4][4], out[3];
  crazy_new_FromToBuildRotationD(a, b, M);
  MultiplyRowVectorBy3x3D(b, M, out);
  EXPECT_TRUE(Near3(out, a, 1e-15));

  const double c[3] = {2, -1, 0.5}, d[3] = {-1, 3, 2};  // not unit
  crazy_new_FromToBuildRotationD(c, d, M);
  double dn[3] = {d[0], d[1], d[2]}, cn[3] = {c[0], c[1], c[2]};
  Unit(dn);
  Unit(cn);
  MultiplyRowVectorBy3x3D(dn, M, out);
  EXPECT_TRUE(Near3(out, cn, 1e-15));

  // (1, 1, 1) normalised has a dot product with itself of 1 + 2^-52: that
  // means parallel (the identity), not an arccosine of nothing.
  const double e[3] = {1, 1, 1};
  crazy_new_FromToBuildRotationD(e, e, M);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(M[i][j], i == j ? 1.0 : 0.0);
}

TEST(Rotation, AngularInterpolant) {
  const double a[3] = {1, 0, 0}, b[3] = {0, 0, 1};
  double out[3];
  const double nearlyUnit[3] = {1.0000001, 0, 0};
  CGetsAngularInterpolantOfAB(nearlyUnit, b, out, 0.0);
  EXPECT_EQ(out[0], nearlyUnit[0]);  // t = 0 copies a bit for bit
  CGetsAngularInterpolantOfAB(a, b, out, 1.0);
  EXPECT_TRUE(Near3(out, b, 1e-15));
  CGetsAngularInterpolantOfAB(a, b, out, 0.5);
  const double half[3] = {std::sqrt(0.5), 0, std::sqrt(0.5)};
  EXPECT_TRUE(Near3(out, half, 1e-15));
  CGetsAngularInterpolantOfAB(a, b, out, 1.0 / 3);
  const double third[3] = {std::cos(kPi / 6), 0, std::sin(kPi / 6)};
  EXPECT_TRUE(Near3(out, third, 1e-15));

  double e[3] = {1, 1, 1};
  Unit(e);
  CGetsAngularInterpolantOfAB(e, e, out, 0.5);
  EXPECT_TRUE(Near3(out, e, 1e-15));
}

}  // namespace
