// Worker tasks search one shared net at once, each through hints of its
// own: the answers must be the very bytes a single task gives, band by band,
// whichever task takes which band.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "netproj_fixture.h"
#include "projection/input/input_mapping.h"
#include "projection/inverse/mollweide.h"
#include "projection/nets/net_projection.h"
#include "projection/nets/net_projection_lists.h"

namespace {

constexpr int kColumns = 96, kRows = 64, kRowsPerBand = 8;

struct Answer {
  float point[3];
  uint8_t outside;
  uint8_t tabHit;
  int32_t lastFace;
  float u, v;
  uint8_t inputOutside;
  int32_t layer;
};

// One band of rows, as one task renders it: both hints rebuilt for the
// band, then every point mapped out through the net and back in through it.
void RenderBand(const polyhedron* poly, int band, renderhinttype* outputHint, renderhinttype* inputHint,
                Answer* answers) {
  const float* nb = poly->netBounds;
  const float dx = (nb[1] - nb[0]) / (kColumns - 1), dy = (nb[3] - nb[2]) / (kRows - 1);
  const int r0 = band * kRowsPerBand, r1 = r0 + kRowsPerBand;
  PrepareShortTriList(poly, nb[2] + dy * r0, nb[2] + dy * (r1 - 1), -1, dx, outputHint, nb[0] - dx,
                      nb[0] + dx * kColumns, true);
  PrepareShortTriList(poly, 0.0f, 0.0f, -1, 0.0f, inputHint, 0.0f, 0.0f, false);
  for (int r = r0; r < r1; ++r)
    for (int c = 0; c < kColumns; ++c) {
      Answer& a = answers[r * kColumns + c];
      std::memset(&a, 0, sizeof a);
      a.point[2] = 1.0f;
      DoPolyhedralTransforms(a.point, poly, nb[0] + dx * c, nb[2] + dy * r, &a.outside, outputHint);
      a.tabHit = outputHint->tabHit;
      a.lastFace = outputHint->lastFace;
      int32_t face;
      float weight = 0;
      // The input side reads the same net; the direction may be anything.
      const float d[3] = {a.point[0] + 0.3f, a.point[1] - 0.2f, a.point[2] + 0.1f};
      TransformSphereToInput(InputMode_PolyhedronNet, 0, 1.0f, d, &a.u, &a.v, &a.inputOutside,
                             MollweideThetaTable(), &face, &a.layer, &weight, const_cast<polyhedron*>(poly),
                             inputHint);
    }
}

TEST(NetProjectionThreads, TasksWithHintsOfTheirOwnGiveTheSingleTaskBytes) {
  const PolyPtr p = UnfoldedPoly(BuildTruncatedIcosahedron);
  constexpr int kBands = kRows / kRowsPerBand;
  std::vector<Answer> alone(kColumns * kRows), together(kColumns * kRows);
  {
    HintPtr out = NewHint(), in = NewHint();
    for (int band = 0; band < kBands; ++band) RenderBand(p.get(), band, out.get(), in.get(), alone.data());
  }
  constexpr int kTasks = 4;
  std::vector<std::thread> tasks;
  for (int k = 0; k < kTasks; ++k)
    tasks.emplace_back([&, k] {
      HintPtr out = NewHint(), in = NewHint();
      // Every task takes every fourth band, from the last one backwards.
      for (int band = kBands - 1 - k; band >= 0; band -= kTasks)
        RenderBand(p.get(), band, out.get(), in.get(), together.data());
    });
  for (std::thread& t : tasks) t.join();
  int inside = 0;
  for (size_t i = 0; i < alone.size(); ++i) {
    ASSERT_EQ(std::memcmp(&alone[i], &together[i], sizeof(Answer)), 0) << "point " << i;
    inside += alone[i].outside == 0;
  }
  EXPECT_GT(inside, kColumns * kRows / 5);
}

}  // namespace
