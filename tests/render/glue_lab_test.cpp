// The Lab tables (made by tools/make_lab_tables.py) and their tetrahedral
// lookup, and the four Lab glue modes.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "render/output/glue_lab.h"
#include "render/output/glue_lab_tables.h"
#include "render/output/glue_modes.h"

namespace {

using Triple = std::array<int32_t, 3>;

Triple Node(const uint8_t* table, int32_t i, int32_t j, int32_t k) {
  const int32_t at = 3 * i + 48 * j + 768 * k;
  return {table[at], table[at + 1], table[at + 2]};
}

std::string Str(const Triple& t) {
  return std::to_string(t[0]) + "," + std::to_string(t[1]) + "," + std::to_string(t[2]);
}

TEST(GlueLabTables, CarryTheFixedNodes) {
  struct Row {
    const uint8_t* table;
    Triple node, want;
  };
  const Row rows[] = {
      {RGB_to_Lab_table, {0, 0, 0}, {0, 128, 128}},    {RGB_to_Lab_table, {15, 15, 15}, {255, 128, 128}},
      {RGB_to_Lab_table, {7, 7, 7}, {147, 128, 128}},  {RGB_to_Lab_table, {8, 8, 8}, {163, 128, 128}},
      {RGB_to_Lab_table, {15, 0, 0}, {144, 208, 208}}, {RGB_to_Lab_table, {0, 15, 0}, {214, 51, 207}},
      {RGB_to_Lab_table, {0, 0, 15}, {104, 158, 33}},  {Lab_to_RGB_table, {0, 0, 0}, {0, 0, 181}},
      {Lab_to_RGB_table, {15, 0, 0}, {0, 255, 255}},   {Lab_to_RGB_table, {0, 15, 0}, {28, 0, 182}},
      {Lab_to_RGB_table, {0, 0, 15}, {0, 0, 0}},       {Lab_to_RGB_table, {7, 7, 7}, {71, 96, 106}},
      {Lab_to_RGB_table, {8, 8, 8}, {125, 104, 95}},   {Lab_to_RGB_table, {15, 15, 15}, {255, 7, 7}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Node(row.table, row.node[0], row.node[1], row.node[2]), row.want)
        << (row.table == RGB_to_Lab_table ? "RGB_to_Lab" : "Lab_to_RGB") << " node " << Str(row.node);
  }
}

// The forward table is a colour space: lightness grows along the gray axis
// and every gray node is neutral within a level.
TEST(GlueLabTables, GrayAxisIsNeutralAndRising) {
  int32_t last = -1;
  for (int32_t n = 0; n < kLabTableNodes; ++n) {
    const Triple lab = Node(RGB_to_Lab_table, n, n, n);
    EXPECT_GT(lab[0], last) << n;
    EXPECT_NEAR(lab[1], 128, 1) << n;
    EXPECT_NEAR(lab[2], 128, 1) << n;
    last = lab[0];
  }
}

// Tetrahedral interpolation written out once more: walk from the base node
// of the cell along the axes by falling fraction, each step weighted by the
// drop in fraction.
Triple OracleLookup(const Triple& in, const uint8_t* table, float step) {
  int32_t cell[3], frac[3];
  for (int32_t i = 0; i < 3; ++i) {
    const float v = static_cast<float>(in[i]);
    cell[i] = std::min(static_cast<int32_t>(v / step), 14);
    frac[i] = static_cast<int32_t>(v - static_cast<float>(cell[i]) * step);
  }
  std::array<int32_t, 3> axes = {0, 1, 2};
  std::stable_sort(axes.begin(), axes.end(), [&](int32_t x, int32_t y) { return frac[x] > frac[y]; });
  int32_t at[3] = {cell[0], cell[1], cell[2]};
  const int32_t total = static_cast<int32_t>(step - static_cast<float>(frac[axes[0]])) + frac[axes[0]];
  Triple sum = {0, 0, 0};
  auto add = [&](int32_t weight) {
    const Triple node = Node(table, at[0], at[1], at[2]);
    for (int32_t k = 0; k < 3; ++k) sum[k] += weight * node[k];
  };
  add(total - frac[axes[0]]);
  for (int32_t s = 0; s < 3; ++s) {
    ++at[axes[s]];
    add(frac[axes[s]] - (s < 2 ? frac[axes[s + 1]] : 0));
  }
  for (int32_t k = 0; k < 3; ++k) sum[k] /= 17;
  return sum;
}

Triple Lookup(const Triple& in, const uint8_t* table, float step) {
  Triple out;
  tetrahedral_lookup(in.data(), out.data(), table, step);
  return out;
}

TEST(GlueLabLookup, MatchesTheWrittenOutInterpolation) {
  for (const uint8_t* table : {RGB_to_Lab_table, Lab_to_RGB_table}) {
    for (int32_t r = 0; r < 256; r += 3) {
      for (int32_t g = 0; g < 256; g += 5) {
        for (int32_t b : {0, 1, 16, 17, 18, g, r, 128, 254, 255}) {
          const Triple in = {r, g, b};
          ASSERT_EQ(Lookup(in, table, 17.0f), OracleLookup(in, table, 17.0f)) << Str(in);
        }
      }
    }
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> any(0, 32768);
    const float step16 = 32768.0f / 15.0f;
    for (int32_t i = 0; i < 50000; ++i) {
      const int32_t v = any(rng);
      const Triple in = i % 3 ? Triple{any(rng), any(rng), any(rng)} : Triple{v, any(rng), v};
      ASSERT_EQ(Lookup(in, table, step16), OracleLookup(in, table, step16)) << Str(in);
    }
  }
}

TEST(GlueLabLookup, NodesEndsAndTies) {
  int32_t L, a, b;
  RGB_to_LAB(0, 0, 0, L, a, b, 1);
  EXPECT_EQ((Triple{L, a, b}), (Triple{0, 128, 128}));
  RGB_to_LAB(255, 255, 255, L, a, b, 1);
  EXPECT_EQ((Triple{L, a, b}), (Triple{255, 128, 128}));
  // An input on a node returns the node's bytes.
  RGB_to_LAB(17, 34, 51, L, a, b, 1);
  EXPECT_EQ((Triple{L, a, b}), Node(RGB_to_Lab_table, 1, 2, 3));
  // 16-bit full scale is the far corner of cell 14, at 2184 of 2184.53.
  RGB_to_LAB(32768, 32768, 32768, L, a, b, 0);
  EXPECT_EQ((Triple{L, a, b}), (Triple{255 * 2184 / 17, 128 * 2184 / 17, 128 * 2184 / 17}));
  EXPECT_LT(L, 32768);
  // Equal fractions on two axes: either order of the two gives the same
  // value, so swapping the two channels of a symmetric node pair is exact.
  for (int32_t f = 0; f <= 17; ++f) {
    Triple x = Lookup({34 + f, 34 + f, 100}, RGB_to_Lab_table, 17.0f);
    Triple y = OracleLookup({34 + f, 34 + f, 100}, RGB_to_Lab_table, 17.0f);
    EXPECT_EQ(x, y) << f;
  }
  // Inputs beyond the table read its edge instead of memory beyond it.
  EXPECT_EQ(Lookup({-40, 300, 255}, RGB_to_Lab_table, 17.0f), Lookup({0, 255, 255}, RGB_to_Lab_table, 17.0f));
}

struct Px {
  int32_t r, g, b;
};

Px Glue(int32_t mode, GlueForm form, Px res, Px unf) {
  GlueFunctionFor(mode, form)(res.r, res.g, res.b, unf.r, unf.g, unf.b);
  return res;
}

Px RoundTrip(Px p, int32_t flag) {
  int32_t L, a, b;
  RGB_to_LAB(p.r, p.g, p.b, L, a, b, flag);
  Px out;
  LAB_to_RGB(L, a, b, out.r, out.g, out.b, flag);
  const int32_t full = flag ? 255 : 32768;
  return {std::clamp(out.r, 0, full), std::clamp(out.g, 0, full), std::clamp(out.b, 0, full)};
}

bool Same(Px p, Px q, int32_t tol = 0) {
  return std::abs(p.r - q.r) <= tol && std::abs(p.g - q.g) <= tol && std::abs(p.b - q.b) <= tol;
}

// The Lab blends written out: x1 the result's Lab channel, x2 the
// unfiltered pixel's; the 16-bit form on the 32768 scale.
Px ExpectLab(int32_t mode, Px p, Px q, int32_t flag) {
  const int32_t whole = flag ? 255 : 32768;
  const int32_t mid = flag ? 127 : 16383;
  const int32_t shift8 = flag ? 8 : 15, shift7 = flag ? 7 : 14;
  auto pin = [&](int32_t x, int32_t y) { return x > mid ? std::max(2 * x - whole, y) : std::min(2 * x, y); };
  auto hard = [&](int32_t x, int32_t y) {
    return x > mid ? whole - (((whole - x) * (whole - y)) >> shift7) : (x * y) >> shift7;
  };
  Triple x1, x2, blend;
  RGB_to_LAB(p.r, p.g, p.b, x1[0], x1[1], x1[2], flag);
  RGB_to_LAB(q.r, q.g, q.b, x2[0], x2[1], x2[2], flag);
  switch (mode) {
    case GlueMode_Parietal:
      blend = {(x1[0] * x2[0]) >> shift8, hard(x2[1], x1[1]), hard(x2[2], x1[2])};
      break;
    case GlueMode_Temporal:
      blend = {whole - (((whole - x1[0]) * (whole - x2[0])) >> shift8), hard(x2[1], x1[1]), hard(x2[2], x1[2])};
      break;
    case GlueMode_Occipital:
      blend = {pin(x1[0], x2[0]), pin(x1[1], x2[1]), pin(x1[2], x2[2])};
      break;
    default:
      blend = {pin(x2[0], x1[0]), pin(x2[1], x1[1]), pin(x2[2], x1[2])};
      break;
  }
  Px out;
  LAB_to_RGB(blend[0], blend[1], blend[2], out.r, out.g, out.b, flag);
  const int32_t full = flag ? 255 : 32768;
  return {std::clamp(out.r, 0, full), std::clamp(out.g, 0, full), std::clamp(out.b, 0, full)};
}

TEST(GlueLabModes, BlendRulesInLab) {
  std::mt19937 rng(3);
  for (GlueForm form : {GlueForm::Bits8, GlueForm::Bits16}) {
    const int32_t full = GlueFullScale(form);
    const int32_t flag = form == GlueForm::Bits8 ? 1 : 0;
    std::uniform_int_distribution<int32_t> any(0, full);
    for (int32_t i = 0; i < 20000; ++i) {
      const Px p = {any(rng), any(rng), any(rng)};
      const Px q = {any(rng), any(rng), any(rng)};
      // pin(x, x) = x: pin light of a pixel with itself is just the trip
      // through Lab and back.
      ASSERT_TRUE(Same(Glue(GlueMode_Occipital, form, p, p), RoundTrip(p, flag)));
      // Spin light is pin light with the pixels' parts exchanged.
      ASSERT_TRUE(Same(Glue(GlueMode_Limbic, form, p, q), Glue(GlueMode_Occipital, form, q, p)));
      for (int32_t mode : {GlueMode_Parietal, GlueMode_Temporal, GlueMode_Occipital, GlueMode_Limbic}) {
        ASSERT_TRUE(Same(Glue(mode, form, p, q), ExpectLab(mode, p, q, flag))) << "mode " << mode;
      }
    }
  }
}

}  // namespace
