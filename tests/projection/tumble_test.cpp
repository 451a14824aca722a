#include "projection/tumble.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "geom_test_util.h"
#include "projection/rotation.h"
#include "projection/scalar_math.h"
#include "projection/sphere_convention.h"
#include "projection/inverse/stereographic.h"

namespace {

constexpr float kDeg = kPiF / 180.0f;

struct TumbleAngles {
  float x, y, spin;  // radians
};

constexpr TumbleAngles kAngleCases[] = {
    {0.3f, 0.0f, 0.0f}, {0.0f, -1.2f, 0.0f}, {0.0f, 0.0f, 2.0f}, {0.4f, 1.1f, -0.7f}, {-2.9f, 0.25f, 3.1f},
};

// Grid directions on 10-degree steps, poles included.
template <typename F>
void ForGridDirections(F f) {
  for (int lat = -90; lat <= 90; lat += 10) {
    for (int lon = -180; lon < 180; lon += 10) {
      double p[3];
      RectangularToSphericalD(lon / 360.0 + 0.5, 0.5 - lat / 180.0, p);
      f(p, lon, lat);
    }
  }
}

void Transpose(const double M[4][4], double T[4][4]) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) T[i][j] = M[j][i];
}

TEST(Tumble, ZeroAnglesLeaveEveryPoint) {
  tumbletype t;
  InitTwirlTranformation(&t, 0, 0, 0);
  ForGridDirections([&](const double* p, int lon, int lat) {
    float q[3] = {float(p[0]), float(p[1]), float(p[2])};
    const float before[3] = {q[0], q[1], q[2]};
    TwirlTransform(&t, 46, q);
    EXPECT_TRUE(Near3(q, before, 0)) << lon << ", " << lat;
  });
}

// Hides a value from the compiler, which folds NaN arithmetic with other
// signs than the FPU gives at run time.
float AtRunTime(float x) {
  volatile float v = x;
  return v;
}

uint32_t Bits(float x) {
  uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

// The identity tumble skips its products for ordinary points; whatever it
// gives must be the products' bits, signs of zeros and NaN included, for
// every mix of the values where x·1 + y·0 + z·0 is not simply x.
TEST(Tumble, IdentityGivesTheProductsBits) {
  tumbletype t;
  InitTwirlTranformation(&t, 0, 0, 0);
  EXPECT_EQ(t.identity, 1);
  tumbletype products = t;  // the same matrices, always multiplied by
  products.identity = 0;
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float tiny = std::numeric_limits<float>::denorm_min();
  const float values[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.6f, -0.8f, 1e-30f, tiny, -tiny, inf, -inf, nan, 3e38f};
  for (float x : values) {
    for (float y : values) {
      for (float z : values) {
        float fast[3] = {AtRunTime(x), AtRunTime(y), AtRunTime(z)};
        TwirlTransform(&t, 0, fast);
        float slow[3] = {AtRunTime(x), AtRunTime(y), AtRunTime(z)};
        TwirlTransform(&products, 0, slow);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(Bits(fast[i]), Bits(slow[i])) << x << " " << y << " " << z << " lane " << i;
      }
    }
  }
}

// Any angle that leaves a matrix off the identity turns every point.
TEST(Tumble, OnlyZeroAnglesAreTheIdentity) {
  for (const TumbleAngles& a : kAngleCases) {
    tumbletype t;
    InitTwirlTranformation(&t, a.x, a.y, a.spin);
    EXPECT_EQ(t.identity, 0) << a.x << " " << a.y << " " << a.spin;
  }
  tumbletype tiny;
  InitTwirlTranformation(&tiny, 1e-3f, 0, 0);
  EXPECT_EQ(tiny.identity, 0);
  float p[3] = {0.0f, 0.6f, 0.8f};
  TwirlTransform(&tiny, 0, p);
  EXPECT_NE(p[1], 0.6f);
}

TEST(Tumble, EdgeValues) {
  tumbletype t;
  InitTwirlTranformation(&t, kPiF / 2, 0, 0);
  const float up[3] = {0, 1, 0};
  EXPECT_TRUE(Near3(t.spinAxis, up, 1e-7));
  float p[3] = {0, 0, 1};
  TwirlTransform(&t, 0, p);
  EXPECT_TRUE(Near3(p, up, 1e-7));

  InitTwirlTranformationForGyrelle(10, 20, 30, &t);  // Y first, then X
  EXPECT_EQ(t.angleX, 20 * kPiF / 180);
  EXPECT_EQ(t.angleY, 10 * kPiF / 180);
  EXPECT_EQ(t.angleSpin, 30 * kPiF / 180);
  const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, z[3] = {0, 0, 1};
  EXPECT_TRUE(Near3(t.axisX, x, 0));
  EXPECT_TRUE(Near3(t.axisY, y, 0));
  EXPECT_TRUE(Near3(t.axisZ, z, 0));
}

// The tumble is the turn about x, then about y, then about the front axis as
// those two turns left it, each by minus its angle (right-handed), checked
// against Rodrigues' formula in double.
TEST(Tumble, ComposesTheThreeTurns) {
  for (const TumbleAngles& a : kAngleCases) {
    tumbletype t;
    InitTwirlTranformation(&t, a.x, a.y, a.spin);
    const double ex[3] = {1, 0, 0}, ey[3] = {0, 1, 0}, ez[3] = {0, 0, 1};
    double spin[3], tmp[3];
    RodriguesTurn(ez, ex, -a.x, tmp);
    RodriguesTurn(tmp, ey, -a.y, spin);
    EXPECT_TRUE(Near3(t.spinAxis, spin, 3e-7));
    ForGridDirections([&](const double* p, int lon, int lat) {
      double s1[3], s2[3], want[3];
      RodriguesTurn(p, ex, -a.x, s1);
      RodriguesTurn(s1, ey, -a.y, s2);
      RodriguesTurn(s2, spin, -a.spin, want);
      float q[3] = {float(p[0]), float(p[1]), float(p[2])};
      TwirlTransform(&t, 0, q);
      EXPECT_TRUE(Near3(q, want, 1e-6)) << lon << ", " << lat;
    });
  }
}

// The turn is the three row-vector products, rounded as they round, to the
// bit (rendered outputs are compared byte for byte), signed zeros and
// non-finite points included.
TEST(Tumble, TurnsExactlyAsTheThreeProducts) {
  const float odd[][3] = {{0.0f, -0.0f, 1.0f}, {-0.0f, 0.0f, -0.0f}, {1e-30f, -1e-38f, 1.0f},
                          {INFINITY, 0.0f, 0.5f}, {NAN, 0.2f, 0.3f}, {3e38f, -3e38f, 1.0f}};
  for (const TumbleAngles& a : kAngleCases) {
    tumbletype t;
    InitTwirlTranformation(&t, a.x, a.y, a.spin);
    const auto check = [&](const float p[3]) {
      float want[3] = {p[0], p[1], p[2]}, got[3] = {p[0], p[1], p[2]};
      MultiplyRowVectorBy3x3(want, t.rotateX, want);
      MultiplyRowVectorBy3x3(want, t.rotateY, want);
      MultiplyRowVectorBy3x3(want, t.rotateSpin, want);
      TwirlTransform(&t, 0, got);
      for (int i = 0; i < 3; ++i) {
        if (std::isnan(want[i])) {
          EXPECT_TRUE(std::isnan(got[i]));
        } else {
          EXPECT_EQ(std::signbit(got[i]), std::signbit(want[i])) << p[0] << ", " << p[1] << ", " << p[2];
          EXPECT_EQ(got[i], want[i]) << p[0] << ", " << p[1] << ", " << p[2];
        }
      }
    };
    ForGridDirections([&](const double* p, int, int) {
      const float q[3] = {float(p[0]), float(p[1]), float(p[2])};
      check(q);
    });
    for (const auto& p : odd) check(p);
  }
}

// Undoing the tumble (the transposed matrices in reverse order) returns every
// direction: to 1e-12 with the matrices built in double, to 1e-6 in float.
TEST(Tumble, InverseReturnsEveryDirection) {
  for (const TumbleAngles& a : kAngleCases) {
    tumbletype t;
    InitTwirlTranformation(&t, a.x, a.y, a.spin);
    double Rx[4][4], Ry[4][4], Rs[4][4], Tx[4][4], Ty[4][4], Ts[4][4];
    const double ex[3] = {1, 0, 0}, ey[3] = {0, 1, 0};
    double spin[3] = {0, 0, 1};
    MatrixFromAxisAngleD(ex, a.x, Rx);
    MatrixFromAxisAngleD(ey, a.y, Ry);
    MultiplyRowVectorBy3x3D(spin, Rx, spin);
    MultiplyRowVectorBy3x3D(spin, Ry, spin);
    MatrixFromAxisAngleD(spin, a.spin, Rs);
    Transpose(Rx, Tx);
    Transpose(Ry, Ty);
    Transpose(Rs, Ts);
    float Txf[4][4], Tyf[4][4], Tsf[4][4];
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) {
        Txf[i][j] = t.rotateX[j][i];
        Tyf[i][j] = t.rotateY[j][i];
        Tsf[i][j] = t.rotateSpin[j][i];
      }
    }
    ForGridDirections([&](const double* p, int lon, int lat) {
      double q[3] = {p[0], p[1], p[2]};
      for (const auto* M : {&Rx, &Ry, &Rs}) MultiplyRowVectorBy3x3D(q, *M, q);
      for (const auto* M : {&Ts, &Ty, &Tx}) MultiplyRowVectorBy3x3D(q, *M, q);
      EXPECT_TRUE(Near3(q, p, 1e-12)) << lon << ", " << lat;

      float f[3] = {float(p[0]), float(p[1]), float(p[2])};
      TwirlTransform(&t, 0, f);
      for (const auto* M : {&Tsf, &Tyf, &Txf}) MultiplyRowVectorBy3x3(f, *M, f);
      EXPECT_TRUE(Near3(f, p, 1e-6)) << lon << ", " << lat;
    });
  }
}

TEST(Tumble, HemisphereModesOpenTheFrontFirst) {
  tumbletype t;
  InitTwirlTranformation(&t, 0.3f, -0.2f, 0.5f);
  for (int mode : {134, 142, 143}) {
    ForGridDirections([&](const double* p, int lon, int lat) {
      float viaMode[3] = {float(p[0]), float(p[1]), float(p[2])};
      float viaSteps[3] = {viaMode[0], viaMode[1], viaMode[2]};
      TwirlTransform(&t, mode, viaMode);
      uint8_t outside = 0;
      SubstituteSphereSegment(viaSteps, 0.5, &outside);
      TwirlTransform(&t, 0, viaSteps);
      EXPECT_TRUE(Near3(viaMode, viaSteps, 0)) << mode << ": " << lon << ", " << lat;
    });
  }
  float front[3] = {0, 0, 1}, plain[3] = {0, 0, 1};
  TwirlTransform(&t, 134, front);
  TwirlTransform(&t, 0, plain);
  EXPECT_TRUE(Near3(front, plain, 1e-7));  // the front stays where it is
}

}  // namespace
