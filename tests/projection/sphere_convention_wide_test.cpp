#include "projection/sphere_convention_wide.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "projection/sphere_convention.h"

namespace {

// Equal bits, or both not a number: which NaN an addition of two passes on
// is the compiler's choice of operand order, and no caller reads it.
bool Same(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b) || (a != a && b != b); }

struct Points {
  std::vector<float> x, y, z;
  void Add(float a, float b, float c) {
    x.push_back(a);
    y.push_back(b);
    z.push_back(c);
  }
};

// Runs the points through both paths, at every start offset into a group of
// eight (so each point passes through every lane and through the tail), and
// counts the points whose u or v differs from the scalar function's.
int64_t Differences(const Points& p, std::string* first) {
  const int32_t n = int32_t(p.x.size());
  std::vector<float> u(n), v(n);
  int64_t differ = 0;
  for (int32_t start = 0; start < 8 && start < n; ++start) {
    const int32_t m = n - start;
    SphericalToRectangularRun(p.x.data() + start, p.y.data() + start, p.z.data() + start, m, u.data(), v.data());
    for (int32_t i = 0; i < m; ++i) {
      const float q[3] = {p.x[start + i], p.y[start + i], p.z[start + i]};
      float su, sv;
      SphericalToRectangular(q, &su, &sv);
      if (!Same(u[i], su) || !Same(v[i], sv)) {
        if (differ++ == 0 && first)
          *first = "point (" + std::to_string(q[0]) + ", " + std::to_string(q[1]) + ", " + std::to_string(q[2]) +
                   ")";
      }
    }
  }
  return differ;
}

// Directions over the whole sphere, as the renderer hands them over, with
// the axes, the poles, the seam and both signs of zero among them.
TEST(SphericalWide, DirectionsGiveTheScalarBits) {
  Points p;
  for (int32_t j = 0; j <= 180; ++j) {
    for (int32_t i = 0; i <= 360; ++i) {
      float q[3];
      RectangularToSpherical(float(i) / 360.0f, float(j) / 180.0f, q);
      p.Add(q[0], q[1], q[2]);
    }
  }
  const float s = std::sqrt(0.5f);
  const float axes[][3] = {{0, 0, 1},   {0, 0, -1}, {1, 0, 0},  {-1, 0, 0},   {0, 1, 0},  {0, -1, 0},
                           {-0.0f, 0, 1}, {0, 0, -0.0f}, {-0.0f, 0, -1}, {s, 0, s}, {-s, 0, -s}, {s, 0, -s},
                           {0, 1.0000001f, 0}, {0, -1.0000001f, 0}, {1, 0, 1}};
  for (const auto& q : axes) p.Add(q[0], q[1], q[2]);
  std::string first;
  EXPECT_EQ(Differences(p, &first), 0) << first;
}

// Coordinates of any bits (the arctangent's special arguments, huge and tiny
// ratios, NaN), and ratios a few ulps either side of each edge of the
// argument reduction.
TEST(SphericalWide, AnyFloatsGiveTheScalarBits) {
  Points p;
  std::mt19937 random(20261211);
  for (int i = 0; i < 400000; ++i) {
    const float a = std::bit_cast<float>(uint32_t(random()));
    const float c = std::bit_cast<float>(uint32_t(random()));
    // Near exponents as often as far ones: the lanes' main path.
    const float near = std::ldexp(float(random() % 2000000) / 1000000.0f - 1.0f, int(random() % 9) - 4);
    const float y = std::ldexp(float(random() % 2000001) / 1000000.0f - 1.0f, int(random() % 3) - 1);
    p.Add(i & 1 ? a : near, y, i & 2 ? c : std::ldexp(near + 0.5f, int(random() % 7) - 3));
  }
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  const float specials[] = {0.0f, -0.0f, 1.0f, -1.0f, inf, -inf, nan, 1e-40f, -1e-40f, 3e38f, 0x1p-70f, 0x1p70f};
  for (float a : specials) {
    for (float c : specials) p.Add(a, a, c);
  }
  const uint32_t edges[] = {0x31000000u, 0x3ee00000u, 0x3f300000u, 0x3f980000u, 0x401c0000u, 0x4c000000u};
  for (uint32_t edge : edges) {
    for (uint32_t d = 0; d < 32; ++d) {
      for (float sign : {1.0f, -1.0f}) {
        // Over 2, the quotient is the ratio itself.
        p.Add(sign * 2.0f * std::bit_cast<float>(edge + d), 0.25f, 2.0f);
        p.Add(2.0f * std::bit_cast<float>(edge - d), 0.25f, sign * 2.0f);
        // Over 1, which the scalar arctangent takes a path of its own for.
        p.Add(sign * std::bit_cast<float>(edge + d), 0.25f, 1.0f);
      }
    }
  }
  std::string first;
  EXPECT_EQ(Differences(p, &first), 0) << first;
}

}  // namespace
