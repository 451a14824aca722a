#include "projection/complex_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "geom_test_util.h"

namespace {

constexpr double kPi = 3.141592653589793;

struct ComplexCase {
  const char* name;
  fcomplex got;
  fcomplex want;
  double tol;
};

TEST(ComplexMath, EdgeValues) {
  const double asinh2 = std::log(2.0 + std::sqrt(3.0));
  const ComplexCase cases[] = {
      {"Cpow of zero to 2", Cpow({0, 0}, 2.0), {0, 0}, 0},
      {"Cpow of zero to -1", Cpow({0, 0}, -1.0), {0, 0}, 0},
      {"Cpow of zero to 0", Cpow({0, 0}, 0.0), {0, 0}, 0},
      {"principal root of -1", Cpow({-1, 0}, 0.5), {std::cos(kPi / 2), std::sin(kPi / 2)}, 0},
      {"Cdiv by a pure imaginary", Cdiv({1, 0}, {0, 2}), {0, -0.5}, 0},
      {"Cdiv, larger real divisor", Cdiv({1, 2}, {4, 1}), {6.0 / 17.0, 7.0 / 17.0}, 1e-16},
      {"Carcsin of 0", Carcsin({0, 0}), {0, 0}, 0},
      {"Carcsin of 1", Carcsin({1, 0}), {kPi / 2, 0}, 0},
      {"Carcsin of 2 takes the lower branch", Carcsin({2, 0}), {kPi / 2, -asinh2}, 1e-15},
      {"automorphicDisk of a onto 0", automorphicDisk({0.3, -0.4}, {0.3, -0.4}), {0, 0}, 0},
      {"automorphicDisk about 0", automorphicDisk({0.3, -0.4}, {0, 0}), {0.3, -0.4}, 0},
      {"Cspun of pi/2 keeps cos's rounding", Cspun(kPi / 2), {std::cos(kPi / 2), 1}, 0},
      {"Cnormalize", Cnormalize({3, -4}), {0.6, -0.8}, 2e-16},
      {"Cnormalize of zero has no direction", Cnormalize({0, 0}), {0, 0}, 0},
      {"Csquare", Csquare({1, 2}), {-3, 4}, 0},
      {"Caddthree", Caddthree({1, 2}, {3, 4}, {5, 6}), {9, 12}, 0},
      {"RCmul", RCmul(2, {1.5, -3}), {3, -6}, 0},
  };
  for (const ComplexCase& c : cases) EXPECT_TRUE(NearC(c.got, c.want, c.tol)) << c.name;
  EXPECT_NE(Cspun(kPi / 2).re, 0.0);
}

TEST(ComplexMath, ProductKeepsItsThreeMultiplicationRounding) {
  // ar·bi + ai·br would give exactly 0.13 here; the three-product form gives
  // one unit in the last place more, and mapped points depend on it.
  const fcomplex p = Cmul({0.1, 0.2}, {0.3, 0.7});
  EXPECT_EQ(p.im, 0x1.0a3d70a3d70a6p-3);
  EXPECT_EQ(p.re, -0x1.c28f5c28f5c28p-4);
  EXPECT_NE(p.im, 0.1 * 0.7 + 0.2 * 0.3);
}

TEST(ComplexMath, ScalarMeasures) {
  EXPECT_EQ(Cmag({3, 4}), 5.0);
  EXPECT_EQ(Cdist({1, 1}, {4, 5}), 5.0);
  EXPECT_EQ(Cdot_product({1, 2}, {3, -4}), -5.0);
}

// Off its cuts the arcsine agrees with the standard library's principal
// branch, and whatever the branch, sin(arcsin z) = z. Division and powers
// invert products.
TEST(ComplexMath, InverseRelationsOnAGrid) {
  for (double x = -2.75; x <= 2.75; x += 0.5) {
    for (double y = -2.75; y <= 2.75; y += 0.5) {
      const fcomplex z{x, y};
      const std::complex<double> zs(x, y);
      const fcomplex a = Carcsin(z);
      const std::complex<double> ref = std::asin(zs);
      EXPECT_TRUE(NearC(a, {ref.real(), ref.imag()}, 1e-12)) << x << ", " << y;
      const std::complex<double> back = std::sin(std::complex<double>(a.re, a.im));
      EXPECT_TRUE(NearC({back.real(), back.imag()}, z, 1e-12)) << x << ", " << y;

      const fcomplex w{0.5 - y, x + 0.25};
      EXPECT_TRUE(NearC(Cmul(Cdiv(z, w), w), z, 1e-14)) << x << ", " << y;
      EXPECT_TRUE(NearC(Cpow(Cpow(z, 0.5), 2.0), z, 1e-14)) << x << ", " << y;
      const std::complex<double> p3 = std::pow(zs, 3.0);
      EXPECT_TRUE(NearC(Cpow(z, 3.0), {p3.real(), p3.imag()}, 1e-12)) << x << ", " << y;
    }
  }
}

// The disk automorphism keeps the unit circle and is undone by the
// automorphism of -a.
TEST(ComplexMath, DiskAutomorphismKeepsTheCircle) {
  const fcomplex a{0.35, -0.2};
  for (int i = 0; i < 16; ++i) {
    const fcomplex onCircle = Cspun(i * kPi / 8);
    EXPECT_NEAR(Cmag(automorphicDisk(onCircle, a)), 1.0, 1e-15) << i;
    const fcomplex inside = RCmul(0.7, onCircle);
    EXPECT_TRUE(NearC(automorphicDisk(automorphicDisk(inside, a), {-a.re, -a.im}), inside, 1e-15)) << i;
  }
}

struct TriplexCase {
  const char* name;
  triplex got;
  triplex want;
};

TEST(TriplexMath, Operations) {
  const triplex p{1, -2, 3};
  const triplex q{4, 0, -1};
  const TriplexCase cases[] = {
      {"Tnormalize of zero", Tnormalize({0, 0, 0}), {0, 0, 0}},
      {"TMakeLength of zero", TMakeLength({0, 0, 0}, 5), {0, 0, 0}},
      {"TUnitVectorFromTo of equal points", TUnitVectorFromTo(p, p), {0, 0, 0}},
      {"TUnitVectorFromTo", TUnitVectorFromTo({1, 1, 1}, {1, 1, 4}), {0, 0, 1}},
      {"TMakeLength", TMakeLength({0, 3, 4}, 10), {0, 6, 8}},
      {"Tcross_product of x and y", Tcross_product({1, 0, 0}, {0, 1, 0}), {0, 0, 1}},
      {"Tcross_product", Tcross_product(p, q), {2, 13, 8}},
      {"TVectorFromTo", TVectorFromTo(p, q), {3, 2, -4}},
      {"Tmidpoint", Tmidpoint(p, q), {2.5, -1, 1}},
      {"Tlerp", Tlerp(0.25, p, q), {1.75, -1.5, 2}},
      {"Taddthree", Taddthree(p, q, {1, 1, 1}), {6, -1, 3}},
      {"RTmul", RTmul(-2, p), {-2, 4, -6}},
  };
  for (const TriplexCase& c : cases) EXPECT_TRUE(NearT(c.got, c.want, 1e-15)) << c.name;
  EXPECT_EQ(Tdot_product(p, q), 1.0);
  EXPECT_EQ(Tmagsquared(p), 14.0);
  EXPECT_EQ(Tdist({1, 2, 2}, {0, 0, 0}), 3.0);

  const float f[3] = {0.1f, 0.2f, 0.3f};
  const triplex widened = TFromVECTOR3(f);
  EXPECT_EQ(widened.x, static_cast<double>(0.1f));
  double v[3];
  VECTOR3DfromT(p, v);
  EXPECT_TRUE(NearT(TFromVECTOR3D(v), p, 0));
}

}  // namespace
