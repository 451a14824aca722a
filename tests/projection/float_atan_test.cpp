#include "projection/float_atan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace {

// Equal bits, or both not a number.
bool Same(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b) || (a != a && b != b); }

float FromBits(uint32_t u) { return std::bit_cast<float>(u); }

// The output bytes stay as they were only if the inline arctangent gives
// the C library's bits. Every 997th float, both signs, and a few ulps
// either side of each edge of the argument reduction.
TEST(FloatAtan, AtanGivesTheLibrarysBits) {
  int64_t differ = 0;
  uint32_t first = 0;
  const auto check = [&](uint32_t u) {
    const float x = FromBits(u);
    if (!Same(AtanF(x), std::atan(x))) {
      if (differ++ == 0) first = u;
    }
  };
  for (uint64_t u = 0; u <= 0xffffffffu; u += 997) check(uint32_t(u));
  const uint32_t edges[] = {0x31000000u, 0x3ee00000u, 0x3f300000u, 0x3f800000u, 0x3f980000u,
                            0x401c0000u, 0x4c000000u, 0x7f800000u, 0x00000000u, 0x00800000u};
  for (uint32_t edge : edges) {
    for (uint32_t d = 0; d < 64; ++d) {
      for (uint32_t sign : {0u, 0x80000000u}) {
        check((edge + d) | sign);
        check((edge - d) | sign);
      }
    }
  }
  EXPECT_EQ(differ, 0) << "first at bits 0x" << std::hex << first;
}

TEST(FloatAtan, Atan2GivesTheLibrarysBits) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float tiny = std::numeric_limits<float>::denorm_min();
  const float specials[] = {0.0f, -0.0f, 1.0f, -1.0f, inf, -inf, nan, tiny, -tiny, 3.0e38f, -3.0e38f, 0.5f, -2.5f};
  for (float y : specials) {
    for (float x : specials) EXPECT_PRED2(Same, Atan2F(y, x), std::atan2(y, x)) << "y " << y << " x " << x;
  }
  // Pairs of every sign and of exponents near each other (the sphere's
  // coordinates), and pairs whose quotient overflows the reduction's
  // thresholds either way.
  std::mt19937_64 random(20261211);
  int64_t differ = 0;
  for (int i = 0; i < 2000000; ++i) {
    const uint64_t r = random();
    float y, x;
    if (i % 2 == 0) {
      y = std::ldexp(float(r & 0xffffff) / 16777216.0f, int((r >> 24) % 12) - 6) * ((r >> 40) & 1 ? -1.0f : 1.0f);
      x = std::ldexp(float((r >> 41) & 0xffffff) / 16777216.0f, int((r >> 20) % 12) - 6) * (r >> 63 ? -1.0f : 1.0f);
    } else {
      const int ey = int((r >> 23) % 254) + 1;
      const int ex = std::clamp(ey - (int((r >> 50) % 160) - 80), 1, 254);
      y = FromBits((uint32_t(r) & 0x807fffffu) | uint32_t(ey) << 23);
      x = FromBits((uint32_t(r >> 32) & 0x807fffffu) | uint32_t(ex) << 23);
    }
    if (!Same(Atan2F(y, x), std::atan2(y, x))) {
      if (differ++ == 0) ADD_FAILURE() << "first at y " << std::hexfloat << y << " x " << x;
    }
  }
  EXPECT_EQ(differ, 0);
}

}  // namespace
