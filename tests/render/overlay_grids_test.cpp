// The graticule and Tissot overlays of one pixel against the contour they
// should draw: which line, at which level, from which corner values.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "render/rows/column_record.h"
#include "render/overlays/overlay_grids.h"
#include "render/overlays/overlays.h"
#include "render/vort.h"

namespace {

constexpr int32_t kNow = 1, kNext = 0;  // pixel row 1 draws into slots 1 and 0
constexpr float kTolerance = 1e-5f;

using Quad = std::array<float, 4>;  // upper-left, upper-right, lower-left, lower-right

struct Contour {
  Quad values;
  float level;
};

std::vector<ColumnRecord> Records(int32_t count) {
  std::vector<ColumnRecord> r(size_t(count) + 1);
  ResetColumnRecords(r.data(), int32_t(r.size()));
  return r;
}

void ExpectSameCoverage(const std::vector<ColumnRecord>& got, const std::vector<ColumnRecord>& want,
                        CoverageCells cells, const char* what) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    for (int s = 0; s < 2; ++s)
      EXPECT_NEAR((got[i].*cells)[s], (want[i].*cells)[s], kTolerance) << what << ": record " << i << " slot " << s;
  }
}

bool Blank(const std::vector<ColumnRecord>& r, CoverageCells cells) {
  for (const ColumnRecord& rec : r)
    if ((rec.*cells)[0] != 0.0f || (rec.*cells)[1] != 0.0f) return false;
  return true;
}

constexpr Quad Flat(float a) { return {a, a, a, a}; }
constexpr Quad Across(float left, float right) { return {left, right, left, right}; }
constexpr Quad Down(float upper, float lower) { return {upper, upper, lower, lower}; }

TEST(Graticule, DrawsOneLineOfTheRightFamilyAtTheRightLevel) {
  constexpr int32_t kWidth = 4, kX = 1, kRow = 5;
  constexpr float kMid = 0.3f;  // latitude band 10 of 36: every meridian is drawn
  struct Case {
    const char* what;
    int32_t graticule;
    Quad u, v;
    std::vector<Contour> lines;  // none: nothing is drawn
  };
  const std::vector<Case> cases = {
      {"one longitude and one latitude cell", 2, Flat(0.06f), Flat(kMid), {}},
      {"meridian 20 degrees east of the seam", 2, Across(0.055f, 0.0561f), Flat(kMid),
       {{Across(0.055f, 0.0561f), 4.0f / 72}}},
      {"parallel at the equator", 2, Flat(0.3f), Down(0.499f, 0.501f), {{Down(0.499f, 0.501f), 0.5f}}},
      {"a meridian and a parallel", 4, Across(0.24f, 0.26f), Down(0.33f, 0.34f),
       {{Across(0.24f, 0.26f), 9.0f / 36}, {Down(0.33f, 0.34f), 6.0f / 18}}},
      {"corners three cells apart draw the middle line only", 2, Across(0.04f, 0.0834f), Flat(kMid),
       {{Across(0.04f, 0.0834f), 5.0f / 72}}},
      // Across the seam the far corners come round by a whole turn and the
      // seam meridian (level 0) is drawn, not one through the map's middle.
      {"straddling the seam", 2, Across(0.998f, 0.004f), Flat(kMid), {{Across(-0.002f, 0.004f), 0.0f}}},
      {"straddling the seam, other way round", 2, Across(0.004f, 0.998f), Flat(kMid),
       {{Across(0.004f, -0.002f), 0.0f}}},
      // Inside the first and last latitude bands only every 90 degrees.
      {"polar band hides the 5-degree meridians", 2, Across(0.055f, 0.0561f), Flat(0.01f), {}},
      {"polar band keeps the 90-degree meridians", 2, Across(0.249f, 0.251f), Flat(0.01f),
       {{Across(0.249f, 0.251f), 0.25f}}},
      {"last band likewise", 2, Across(0.055f, 0.0561f), Flat(0.99f), {}},
      {"a corner without longitude draws no meridian", 2, {-1.0f, 0.0561f, 0.055f, 0.0561f}, Flat(kMid), {}},
      {"a corner without latitude draws no parallel", 2, Flat(0.3f), {0.499f, 0.499f, -1.0f, 0.501f}, {}},
      {"graticule off", 1, Across(0.055f, 0.0561f), Down(0.499f, 0.501f), {}},
      {"graticule 0", 0, Across(0.055f, 0.0561f), Down(0.499f, 0.501f), {}},
      {"graticule 8", 8, Across(0.055f, 0.0561f), Down(0.499f, 0.501f), {}},
      {"graticule -7", -7, Across(0.055f, 0.0561f), Down(0.499f, 0.501f), {}},
  };
  for (const Case& c : cases) {
    auto got = Records(kWidth);
    thegrid(c.u.data(), c.v.data(), kRow, kX, kWidth, kNow, kNext, c.graticule, got.data());
    auto want = Records(kWidth);
    for (const Contour& l : c.lines)
      mystery_dot(l.values[0], l.values[1], l.values[2], l.values[3], l.level, want.data(),
                  &ColumnRecord::gridCoverage, kX, kNow, kNext, 1.0f);
    ExpectSameCoverage(got, want, &ColumnRecord::gridCoverage, c.what);
    if (!c.lines.empty()) {
      EXPECT_FALSE(Blank(got, &ColumnRecord::gridCoverage)) << c.what;
    }
  }
}

// Settings 2 to 7 put lines every 5, 6, 10, 15, 30 and 45 degrees.
TEST(Graticule, SpacingBySetting) {
  const int32_t bands[] = {36, 30, 18, 12, 6, 4};
  for (int32_t g = 2; g <= 7; ++g) {
    const int32_t n = bands[g - 2];
    EXPECT_EQ(GraticuleLinesPerTurn(g), n);
    const float meridian = 3.0f / float(2 * n), parallel = 1.0f / float(n);
    for (const bool drawn : {true, false}) {
      // A pixel across the third meridian draws; one between lines does not.
      const float lo = drawn ? meridian - 0.001f : meridian + 0.001f;
      auto got = Records(4);
      const Quad u = Across(lo, meridian + 0.002f), v = Flat(0.5f + 0.1f * parallel);
      thegrid(u.data(), v.data(), 3, 1, 4, kNow, kNext, g, got.data());
      EXPECT_EQ(Blank(got, &ColumnRecord::gridCoverage), !drawn) << "graticule " << g;
    }
  }
  for (const int32_t g : {1, 0, 8, 100, -2}) EXPECT_EQ(GraticuleLinesPerTurn(g), 0);
}

// The outermost corner columns belong to one pixel only; those pixels take
// their inner corners' values and draw no line there.
TEST(Graticule, EdgeColumnsTakeTheInnerCorners) {
  const Quad u = Across(0.4f, 0.0561f), v = Flat(0.3f);
  struct Case {
    int32_t x, width;
    bool drawn;
  };
  const Case cases[] = {{0, 4, false}, {1, 4, true}, {2, 4, true}, {3, 4, false}, {0, 1, false}};
  for (const Case& c : cases) {
    auto got = Records(c.width);
    thegrid(u.data(), v.data(), 3, c.x, c.width, kNow, kNext, 2, got.data());
    EXPECT_EQ(Blank(got, &ColumnRecord::gridCoverage), !c.drawn) << "x " << c.x << " of " << c.width;
  }
}

struct TissotCorner {
  int32_t region;
  float field;
};

TEST(Tissot, InvalidCornersTakeTheirNeighboursValues) {
  constexpr int32_t kSlot = 1;  // the newest corner row; the upper one is slot 0
  constexpr int32_t kX = 1;
  constexpr int32_t S = kRegionSurface, N = kRegionNothing, A = kRegionColorA, V = kRegionVoid;
  constexpr float in = 0.004f, out = 0.006f, far = 1.0f;
  struct Case {
    const char* what;
    std::array<TissotCorner, 4> corners;  // upper-left, upper-right, lower-left, lower-right
    int32_t legoMode;
    std::vector<Quad> drawn;  // the values the contour is drawn from; none: nothing
  };
  const std::vector<Case> cases = {
      {"valid corners across the ring", {{{S, in}, {S, out}, {S, in}, {S, out}}}, 0, {{in, out, in, out}}},
      {"all inside a circle", {{{S, in}, {S, in}, {S, in}, {S, in}}}, 0, {}},
      {"all outside", {{{S, out}, {S, far}, {S, out}, {S, out}}}, 0, {}},
      {"transparent corner starts no circle", {{{N, far}, {S, in}, {S, in}, {S, in}}}, 0, {}},
      {"painted corner starts no circle", {{{A, far}, {S, in}, {S, in}, {S, in}}}, 0, {}},
      {"a void corner keeps its value", {{{V, out}, {S, in}, {S, in}, {S, in}}}, 0, {{out, in, in, in}}},
      {"upper-right takes upper-left", {{{S, out}, {N, far}, {S, in}, {S, in}}}, 0, {{out, out, in, in}}},
      {"both upper take lower-left", {{{N, far}, {A, far}, {S, in}, {S, out}}}, 0, {{in, in, in, out}}},
      {"both upper take lower-right when lower-left is invalid too",
       {{{N, far}, {N, far}, {N, out}, {S, in}}}, 0, {}},
      {"lower-left takes lower-right", {{{S, out}, {S, out}, {A, far}, {S, in}}}, 0, {{out, out, in, in}}},
      {"lower-right takes lower-left", {{{S, in}, {S, out}, {S, in}, {N, far}}}, 0, {{in, out, in, in}}},
      {"both lower take the upper-left", {{{S, in}, {S, out}, {N, far}, {N, far}}}, 0, {{in, out, in, in}}},
      {"four invalid corners draw nothing", {{{N, in}, {A, out}, {N, out}, {A, in}}}, 0, {}},
      {"brick sphere: no circles", {{{S, in}, {S, out}, {S, in}, {S, out}}}, 1, {}},
  };
  for (const Case& c : cases) {
    auto got = Records(3);
    const TissotCorner* k = c.corners.data();
    got[kX].reply[kSlot ^ 1].regionCode = k[0].region, got[kX].reply[kSlot ^ 1].tissotField = k[0].field;
    got[kX + 1].reply[kSlot ^ 1].regionCode = k[1].region, got[kX + 1].reply[kSlot ^ 1].tissotField = k[1].field;
    got[kX].reply[kSlot].regionCode = k[2].region, got[kX].reply[kSlot].tissotField = k[2].field;
    got[kX + 1].reply[kSlot].regionCode = k[3].region, got[kX + 1].reply[kSlot].tissotField = k[3].field;
    vort view{};
    view.legoMode = c.legoMode;
    thetissotgrid(kSlot, kX, kNow, kNext, got.data(), view, TissotPass_Circles);
    auto want = Records(3);
    for (const Quad& q : c.drawn)
      mystery_dot(q[0], q[1], q[2], q[3], 0.005f, want.data(), &ColumnRecord::tissotCoverage, kX, kNow, kNext, 1.0f);
    ExpectSameCoverage(got, want, &ColumnRecord::tissotCoverage, c.what);
    EXPECT_EQ(Blank(got, &ColumnRecord::tissotCoverage), c.drawn.empty()) << c.what;
  }
}

// The scissor-mark pass draws the second field at level 0 with weight 0.7,
// only where the lower-right corner has it.
TEST(Tissot, ScissorMarkPass) {
  constexpr int32_t kSlot = 0, kX = 0;
  const Quad spot = {-0.1f, 0.2f, -0.1f, 0.2f};
  for (const int32_t valid : {0, 1}) {
    auto got = Records(2);
    ColumnRecord* r = got.data();
    TransformationReply* corner[4] = {&r[kX].reply[1], &r[kX + 1].reply[1], &r[kX].reply[0], &r[kX + 1].reply[0]};
    for (int k = 0; k < 4; ++k) {
      corner[k]->regionCode = kRegionSurface;
      corner[k]->spotField = spot[k];
      corner[k]->tissotField = k & 1 ? 0.004f : 0.006f;  // a circle the pass must not draw
    }
    corner[3]->spotFieldValid = valid;
    vort view{};
    thetissotgrid(kSlot, kX, kNow, kNext, got.data(), view, TissotPass_ScissorMarks);
    auto want = Records(2);
    if (valid)
      mystery_dot(spot[0], spot[1], spot[2], spot[3], 0.0f, want.data(), &ColumnRecord::tissotCoverage, kX, kNow,
                  kNext, 0.7f);
    ExpectSameCoverage(got, want, &ColumnRecord::tissotCoverage, valid ? "marks" : "no marks");
    EXPECT_EQ(Blank(got, &ColumnRecord::tissotCoverage), valid == 0);
  }
}

}  // namespace
