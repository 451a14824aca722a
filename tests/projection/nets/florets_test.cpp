#include "projection/nets/florets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "projection/render_hint.h"
#include "tests/projection/inverse/views_test_util.h"

namespace {

FloretBasis Basis(int32_t mode) {
  FloretBasis b;
  b.petalCount = 12345;
  GetBasisOfWarpyPolyprojection(mode, &b);
  return b;
}

struct Mapped {
  double p[3];
  uint8_t outside;
  int32_t petalIndex;
  int32_t quadrant;
};

Mapped MapFloret(const FloretBasis& b, double x, double y, const FloretNet* net = nullptr) {
  static renderhinttype hint;
  hint.petalIndex = -77;
  hint.quadrant = -77;
  Mapped m{{7, 7, 7}, 9, 0, 0};
  CopsInTroubleCore({x, y}, &m.outside, m.p, &b, net, &hint);
  m.petalIndex = hint.petalIndex;
  m.quadrant = hint.quadrant;
  return m;
}

TEST(FloretTable, DefaultsAndRows) {
  const FloretBasis none = Basis(100);
  EXPECT_EQ(none.kind, FloretKind_None);
  EXPECT_EQ(none.petalCount, 12345) << "not written for a mode that is not a floret";
  EXPECT_EQ(none.polyhedronId, -1);
  EXPECT_EQ(none.canvasMax.re, 1000.0);
  EXPECT_EQ(none.spin.re, 1.0);
  EXPECT_FALSE(IsProjectionAFloret(100));

  const FloretBasis clover = Basis(108);
  EXPECT_EQ(clover.kind, FloretKind_Circle);
  EXPECT_EQ(clover.petalCount, 2);
  EXPECT_DOUBLE_EQ(clover.finalSpin, -M_PI / 2);
  // Its canvas frames the plane box (-1, -0.5) to (1, 0.5).
  EXPECT_DOUBLE_EQ(clover.canvasMin.re * 0.001 - 0.5, -1.0);
  EXPECT_DOUBLE_EQ(clover.canvasMax.re * 0.001 - 0.5, 1.0);
  EXPECT_DOUBLE_EQ(clover.canvasMax.im * 0.001 - 0.5, 0.5);

  const FloretBasis trident = Basis(151);
  EXPECT_EQ(trident.turnFraction, 2.0);
  EXPECT_DOUBLE_EQ(trident.finalLongitude, M_PI);
  EXPECT_EQ(Basis(152).turnFraction, 1.0);
  EXPECT_EQ(Basis(152).finalLongitude, 0.0);

  // Literals kept as written, not the nearest multiples of pi.
  EXPECT_EQ(Basis(162).spin.re, std::cos(-0.5235987755));
  EXPECT_EQ(Basis(247).spin.im, std::sin(1.41371669385));
  EXPECT_EQ(Basis(252).finalSpin, -1.6929693744344996);
  const FloretBasis x1043 = Basis(1043);
  EXPECT_EQ(x1043.spin.re, 1.0);
  EXPECT_EQ(x1043.spin.im, 0.0);
  EXPECT_EQ(x1043.polyhedronId, 49);
  EXPECT_EQ(x1043.polyhedronParam, 2);
  EXPECT_EQ(Basis(1040).kind, FloretKind_Ellipse);
}

TEST(FloretTable, Predicates) {
  const std::vector<int32_t> netModes = {145, 151, 152, 153, 154, 155, 156, 157, 158, 161, 162, 163, 166, 247, 1043};
  const std::vector<int32_t> plainModes = {51,  108, 109, 110, 111, 112, 130, 131, 132, 133,
                                           146, 147, 148, 149, 164, 165, 251, 252, 1040};
  for (int32_t m : netModes) {
    EXPECT_TRUE(IsProjectionAFloret(m)) << m;
    EXPECT_TRUE(IsFloretWithPolyhedronBasis(m)) << m;
  }
  for (int32_t m : plainModes) {
    EXPECT_TRUE(IsProjectionAFloret(m)) << m;
    EXPECT_FALSE(IsFloretWithPolyhedronBasis(m)) << m;
  }
  for (int32_t m : {0, 1, 50, 107, 113, 150, 159, 253, 1042, 1044}) {
    EXPECT_FALSE(IsProjectionAFloret(m)) << m;
    EXPECT_FALSE(IsFloretWithPolyhedronBasis(m)) << m;
  }
}

TEST(FloretCore, NotAFloretIsOutsideEverywhere) {
  const FloretBasis none = Basis(100);  // petalCount never written
  for (double x : {-0.3, 0.0, 0.2}) {
    EXPECT_EQ(MapFloret(none, x, 0.1).outside, 1);
  }
  FloretBasis noPetals = Basis(110);
  noPetals.petalCount = 0;
  EXPECT_EQ(MapFloret(noPetals, 0.1, 0.1).outside, 1);
  EXPECT_EQ(MapFloret(Basis(110), NAN, 0.1).outside, 1);
}

TEST(FloretCore, OriginAndPetalBoundaries) {
  // The origin: atan2(0, 0) = 0 picks petal trunc(0.75 n + 0.5) mod n and
  // the power takes it to w = 0, the edge of the circle petal.
  const Mapped o = MapFloret(Basis(110), 0.0, 0.0);
  EXPECT_EQ(o.outside, 0);
  EXPECT_EQ(o.petalIndex, 0);
  EXPECT_NEAR(std::hypot(o.p[0], o.p[1], o.p[2]), 1.0, 1e-12);
  // Petals meet continuously: points a hair either side of a petal boundary
  // of the 4-clover (rays at 45 degrees once the spin is undone) map close.
  const FloretBasis b = Basis(110);
  for (double r : {0.1, 0.25}) {
    for (int j = 0; j < 4; ++j) {
      const double a = M_PI / 4 + j * M_PI / 2 - std::atan2(b.spin.im, b.spin.re);
      const Mapped u = MapFloret(b, r * std::cos(a + 1e-7), r * std::sin(a + 1e-7));
      const Mapped v = MapFloret(b, r * std::cos(a - 1e-7), r * std::sin(a - 1e-7));
      ASSERT_EQ(u.outside, v.outside);
      if (!u.outside) {
        EXPECT_TRUE(Near3(u.p, v.p, 1e-5)) << r << " " << j;
      }
    }
  }
}

TEST(FloretCore, KindsThatStayOutside) {
  FloretBasis b = Basis(110);
  b.kind = 17;
  EXPECT_EQ(MapFloret(b, 0.1, 0.05).outside, 1);
  EXPECT_EQ(MapFloret(b, 0.1, 0.05).petalIndex, 0);
  b.kind = 4242;
  EXPECT_EQ(MapFloret(b, 0.1, 0.05).outside, 1);
  // Net kinds without a net to read.
  EXPECT_EQ(MapFloret(Basis(145), 0.1, 0.05).outside, 1);
  FloretNet empty{nullptr, nullptr, 0.0f, 0.0f};
  EXPECT_EQ(MapFloret(Basis(161), 0.1, 0.05, &empty).outside, 1);
}

TEST(FloretCore, CirclePetal) {
  const struct {
    double re, im;
    uint8_t outside;
  } cases[] = {
      {0.5, 0.0, 0},                                  // the petal's centre
      {0.0, 0.0, 0},                                  // on its rim: z exactly 0 is inside
      {1.0, 0.0, 0},  {0.5, 0.49, 0}, {1.2, 0.0, 1},  // beyond the rim: the southern half
      {-0.3, 0.2, 1},
  };
  for (const auto& c : cases) {
    double p[3];
    uint8_t out = 0;
    PreFloret_Circle({c.re, c.im}, &out, p);
    EXPECT_EQ(out, c.outside) << c.re << " " << c.im;
    EXPECT_NEAR(std::hypot(p[0], p[1], p[2]), 1.0, 1e-12);
  }
  double p[3];
  uint8_t out = 0;
  PreFloret_Circle({0.5, 0.0}, &out, p);
  const double centre[3] = {0, 0, 1};
  EXPECT_TRUE(Near3(p, centre, 1e-15));
}

TEST(FloretCore, ThornPetalStopsWhenOffTheNet) {
  const FloretBasis b = Basis(51);
  const Mapped far = MapFloret(b, 0.45, 0.45);
  EXPECT_EQ(far.outside, 1);
  EXPECT_TRUE(far.p[0] == 7 && far.p[1] == 7 && far.p[2] == 7) << "no stretch or turn after the thorn view";
  // The spun thorn writes the quadrant of the petal point.
  FloretBasis spun = b;
  spun.kind = FloretKind_ThornSpun;
  for (double x = -0.2; x <= 0.2; x += 0.05) {
    const Mapped m = MapFloret(spun, x, 0.03);
    if (m.outside) continue;
    EXPECT_GE(m.quadrant, 0);
    EXPECT_LE(m.quadrant, 3);
  }
}

// A stand-in for the net search: records the plane point it is asked for.
struct NetProbe {
  float x = 0, y = 0;
  int calls = 0;
};
void ProbeTransform(const void* ctx, float x, float y, float point[3], uint8_t* outside, renderhinttype*) {
  auto* probe = static_cast<NetProbe*>(const_cast<void*>(ctx));
  probe->x = x;
  probe->y = y;
  ++probe->calls;
  *outside = 0;
  point[0] = 0.0f;
  point[1] = 0.0f;
  point[2] = 1.0f;
}

TEST(FloretCore, NetKindsReadTheNetAtTheirPetalPoint) {
  NetProbe probe;
  const FloretNet net{ProbeTransform, &probe, 0.25f, -0.5f};
  const FloretBasis burst = Basis(158);  // sunburst: (w^(5/6)) + vertex 0
  const Mapped m = MapFloret(burst, 0.0, 0.0, &net);
  EXPECT_EQ(m.outside, 0);
  EXPECT_EQ(probe.calls, 1);
  EXPECT_FLOAT_EQ(probe.x, 0.25f);
  EXPECT_FLOAT_EQ(probe.y, -0.5f);
  // Net kinds report the petal under the point.
  const FloretBasis shark = Basis(157);
  int seen = 0;
  for (int j = 0; j < 4; ++j) {
    const double a = j * M_PI / 2 + 0.3;
    const Mapped q = MapFloret(shark, 0.2 * std::cos(a), 0.2 * std::sin(a), &net);
    ASSERT_EQ(q.outside, 0);
    seen |= 1 << q.petalIndex;
  }
  EXPECT_EQ(seen, 0xF) << "four points a quarter turn apart lie on four petals";
}

// The petals of a floret tile the sphere: mapped over a fine grid of its
// canvas, no direction is reached twice, and all but a thin band along the
// seams is reached.
// The petal a plane point falls in, counted as the floret counts them.
int PetalOf(const FloretBasis& b, double x, double y) {
  const double re = x * b.spin.re - y * b.spin.im, im = x * b.spin.im + y * b.spin.re;
  const double n = b.petalCount;
  const double v = (std::atan2(re, im) - M_PI / 2) * n / (2 * M_PI) + n + 0.5;
  return static_cast<int>(v) % b.petalCount;
}

struct CoverCase {
  int32_t mode;
  bool reachAll;  // false: the canvas shows only part of the sphere
};
void PrintTo(const CoverCase& c, std::ostream* os) { *os << "mode " << c.mode; }

class FloretCover : public ::testing::TestWithParam<CoverCase> {};

TEST_P(FloretCover, PetalsCoverTheSphereOnce) {
  const FloretBasis b = Basis(GetParam().mode);
  const double x0 = b.canvasMin.re * 0.001 - 0.5, x1 = b.canvasMax.re * 0.001 - 0.5;
  const double y0 = b.canvasMin.im * 0.001 - 0.5, y1 = b.canvasMax.im * 0.001 - 0.5;
  constexpr int G = 180;
  std::vector<Dir> v((G + 1) * (G + 1));
  std::vector<uint8_t> in((G + 1) * (G + 1));
  std::vector<int> petal((G + 1) * (G + 1));
  for (int i = 0; i <= G; ++i) {
    for (int j = 0; j <= G; ++j) {
      const Mapped m = MapFloret(b, x0 + (x1 - x0) * i / G, y0 + (y1 - y0) * j / G);
      in[i * (G + 1) + j] = !m.outside;
      petal[i * (G + 1) + j] = PetalOf(b, x0 + (x1 - x0) * i / G, y0 + (y1 - y0) * j / G);
      if (!m.outside) v[i * (G + 1) + j] = Unit(m.p[0], m.p[1], m.p[2]);
    }
  }
  // Cells that straddle two petals stretch across the sphere; only small
  // cells within one petal count.
  SphereCover cover;
  auto add = [&](int a, int c, int d) {
    if (!in[a] || !in[c] || !in[d]) return;
    if (petal[a] != petal[c] || petal[a] != petal[d]) return;
    // A cell whose corners lie on the petal but whose middle does not (a
    // notch of the Lagrange petal) spans the gap.
    if (Angle(v[a], v[c]) > 0.15 || Angle(v[c], v[d]) > 0.15 || Angle(v[d], v[a]) > 0.15) return;
    cover.Add(v[a], v[c], v[d]);
  };
  for (int i = 0; i < G; ++i) {
    for (int j = 0; j < G; ++j) {
      const int a = i * (G + 1) + j;
      add(a, a + G + 1, a + 1);
      add(a + G + 1, a + G + 2, a + 1);
    }
  }
  // The petals' tips all meet at one direction, the far pole of the petal
  // lunes, where the map has no derivative and the canvas cuts the tips;
  // the reach check keeps away from it and from the centre's image.
  const Mapped centre = MapFloret(b, 0.0, 0.0);
  const Dir c0 = Unit(centre.p[0], centre.p[1], centre.p[2]);
  const Dir c1 = {-c0[0], -c0[1], -c0[2]};
  int more = 0, unreached = 0, checked = 0;
  for (const Dir& d : TestDirections(800)) {
    if (cover.Count(d) > 1) ++more;
    if (!GetParam().reachAll || Angle(d, c0) < 0.45 || Angle(d, c1) < 0.45) continue;
    ++checked;
    // Reached: from the nearest grid point, Gauss-Newton on the plane point
    // closes in on the direction.
    int best = -1;
    double bestDot = -2.0;
    for (size_t i = 0; i < v.size(); ++i) {
      if (!in[i]) continue;
      const double dot = v[i][0] * d[0] + v[i][1] * d[1] + v[i][2] * d[2];
      if (dot > bestDot) {
        bestDot = dot;
        best = static_cast<int>(i);
      }
    }
    double x = x0 + (x1 - x0) * (best / (G + 1)) / G, y = y0 + (y1 - y0) * (best % (G + 1)) / G;
    double err = 10.0;
    for (int it = 0; it < 30 && err > 1e-9; ++it) {
      const Mapped m = MapFloret(b, x, y);
      if (m.outside) break;
      const double h = 1e-7;
      const Mapped mx = MapFloret(b, x + h, y), my = MapFloret(b, x, y + h);
      double r[3], jx[3], jy[3];
      for (int k = 0; k < 3; ++k) {
        r[k] = d[k] - m.p[k];
        jx[k] = (mx.p[k] - m.p[k]) / h;
        jy[k] = (my.p[k] - m.p[k]) / h;
      }
      err = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
      const double a = jx[0] * jx[0] + jx[1] * jx[1] + jx[2] * jx[2];
      const double bb = jx[0] * jy[0] + jx[1] * jy[1] + jx[2] * jy[2];
      const double c = jy[0] * jy[0] + jy[1] * jy[1] + jy[2] * jy[2];
      const double gx = jx[0] * r[0] + jx[1] * r[1] + jx[2] * r[2];
      const double gy = jy[0] * r[0] + jy[1] * r[1] + jy[2] * r[2];
      const double det = a * c - bb * bb;
      if (!(std::fabs(det) > 0)) break;
      x += (c * gx - bb * gy) / det;
      y += (a * gy - bb * gx) / det;
    }
    if (err > 1e-6) ++unreached;
  }
  EXPECT_EQ(more, 0) << "directions reached by two petals";
  // Gauss-Newton may stall in the thin tips near the far pole.
  EXPECT_LE(unreached, checked / 100) << "directions no petal reaches, of " << checked;
}

// The Malta crosses show the part of their floret that their route's
// half-sphere stretch keeps; their canvas cuts the rest. The 6-clover's
// canvas cuts the tips of its petals (radius 0.55 in a box of half-width 0.5).
INSTANTIATE_TEST_SUITE_P(Modes, FloretCover,
                         ::testing::Values(CoverCase{51, true}, CoverCase{108, true}, CoverCase{109, true},
                                           CoverCase{110, true}, CoverCase{111, true}, CoverCase{112, false},
                                           CoverCase{130, false}, CoverCase{131, false}, CoverCase{132, false},
                                           CoverCase{133, false}, CoverCase{146, true}, CoverCase{147, true},
                                           CoverCase{148, true}, CoverCase{149, true}, CoverCase{164, true},
                                           CoverCase{165, true}, CoverCase{251, true}, CoverCase{252, true},
                                           CoverCase{1040, true}));

}  // namespace
