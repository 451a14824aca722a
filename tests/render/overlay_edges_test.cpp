// The region-edge overlay of one pixel: which segments each arrangement of
// corner regions draws between the boundary positions on its sides.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "render/rows/adaptive_sampling.h"
#include "render/rows/column_record.h"
#include "render/overlays/overlay_edges.h"
#include "render/overlays/overlays.h"

namespace {

constexpr int32_t kX = 1, kNow = 0, kNext = 1;
// Boundary positions on the top, bottom, left and right sides, all
// different so that every segment is told apart by where it lies.
constexpr float T = 0.3f, B = 0.6f, L = 0.2f, R = 0.7f;

struct Segment {
  float x0, y0, x1, y1;
};

std::vector<ColumnRecord> Records() {
  std::vector<ColumnRecord> r(3);
  ResetColumnRecords(r.data(), 3);
  return r;
}

TEST(EdgeDot, CaseTable) {
  struct Case {
    const char* what;
    int32_t ul, ur, ll, lr;  // corner regions: upper-left, upper-right, lower-left, lower-right
    std::vector<Segment> segments;
  };
  const std::vector<Case> cases = {
      {"one region", 4, 4, 4, 4, {}},
      {"upper-left alone", 1, 0, 0, 0, {{0, L, T, 0}}},
      {"upper-right alone", 0, 1, 0, 0, {{T, 0, 1, R}}},
      {"upper pair over lower pair", 1, 1, 0, 0, {{0, L, 1, R}}},
      // Two regions above one: the boundary between the upper two runs from
      // the top side down to the horizontal edge.
      {"two regions over one", 1, 2, 0, 0, {{0, L, 1, R}, {T, 0, T, (L + R) / 2}}},
      {"lower-left alone", 0, 0, 1, 0, {{0, L, B, 1}}},
      {"left pair beside right pair", 1, 0, 1, 0, {{T, 0, B, 1}}},
      {"two regions beside one", 1, 0, 2, 0, {{T, 0, B, 1}, {0, L, (T + B) / 2, L}}},
      {"diagonal pairs", 0, 1, 1, 0, {{0, L, B, 1}, {T, 0, 1, R}}},
      {"lower-right alone", 1, 1, 1, 0, {{B, 1, 1, R}}},
      {"one region over two", 1, 1, 2, 0, {{0, L, 1, R}, {B, (L + R) / 2, B, 1}}},
      {"left region beside two", 1, 2, 1, 0, {{T, 0, B, 1}, {(T + B) / 2, R, 1, R}}},
      {"four regions", 1, 2, 3, 0, {{T, 0, B, 1}, {0, L, 1, R}}},
      {"diagonal pair between two others", 1, 2, 2, 0, {{0, L, T, 0}, {B, 1, 1, R}}},
  };
  for (const Case& c : cases) {
    EdgeDot dot{{c.lr, c.ll, c.ur, c.ul}, {T, B, L, R}};
    auto got = Records();
    draw_edge_dot(dot, got.data(), kX, kNow, kNext, false);
    auto want = Records();
    for (const Segment& s : c.segments)
      draw_Wu_segment(s.x0, s.y0, s.x1, s.y1, want.data(), &ColumnRecord::edgeCoverage, kX, kNow, kNext, 1.0f);
    float total = 0.0f;
    for (size_t i = 0; i < got.size(); ++i) {
      for (int s = 0; s < 2; ++s) {
        EXPECT_FLOAT_EQ(got[i].edgeCoverage[s], want[i].edgeCoverage[s]) << c.what << ": record " << i;
        total += got[i].edgeCoverage[s];
        EXPECT_EQ(got[i].gridCoverage[s] + got[i].tissotCoverage[s], 0.0f) << c.what;
      }
    }
    EXPECT_EQ(total > 0.0f, !c.segments.empty()) << c.what;
  }
}

// On the equirectangular poly-map every negative region is region 0, so the
// void, the transparent region and face 0 draw no edge between them.
TEST(EdgeDot, VoidAsRegionZero) {
  const EdgeDot dot{{0, 0, kRegionVoid, kRegionNothing}, {T, B, L, R}};
  for (const bool flag : {false, true}) {
    auto r = Records();
    draw_edge_dot(dot, r.data(), kX, kNow, kNext, flag);
    const float total = r[kX].edgeCoverage[0] + r[kX].edgeCoverage[1] + r[kX + 1].edgeCoverage[0] +
                        r[kX + 1].edgeCoverage[1];
    EXPECT_EQ(total > 0.0f, !flag);
  }
}

// What the sampler found reaches the dot unchanged.
TEST(EdgeDot, TakenFromTheSamplerReply) {
  SuperSamplerReply ssr{};
  const int32_t regions[4] = {3, -5, -10001, 7};
  const float crossings[4] = {0.1f, 0.2f, 0.3f, 0.4f};
  for (int k = 0; k < 4; ++k) ssr.cornerRegion[k] = regions[k], ssr.edgeCrossings[k] = crossings[k];
  const EdgeDot dot = EdgeDotOf(ssr);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(dot.cornerRegion[k], regions[k]);
    EXPECT_EQ(dot.crossings[k], crossings[k]);
  }
}

}  // namespace
