// The brick sphere: its grid, shell and visibility, its colours from the
// input, the march of the preview views, and the LDraw model and statistics
// page written through the save dispatcher, read back by a small LDraw
// reader and held against the ball the brick preview builds.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <sstream>
#include <unistd.h>

#include "export/brick/brick_march.h"
#include "export/brick/ldraw_writer.h"
#include "export/brick/lego_build.h"
#include "export/brick/lego_colour.h"
#include "export/brick/lego_stats_page.h"
#include "export/safe_output.h"
#include "frame/globals.h"
#include "frame/save_dispatch.h"
#include "model_scratch.h"
#include "projection/tumble.h"
#include "render/routes/routes_brick.h"
#include "render/vort.h"
#include "support/row_render_harness.h"

using namespace models_test;

namespace {

constexpr int kW = 64, kH = 32;

// An invocation whose input is one colour (with alpha), upper half `top`,
// lower half `bottom`.
struct BrickHost {
  explicit BrickHost(const float top[4], const float bottom[4]) : h(kW, kH, 1) {
    h.PaintInput([&](int, int y, float c[4]) {
      for (int i = 0; i < 4; ++i) c[i] = y < kH / 2 ? top[i] : bottom[i];
    });
    h.globals()->savedFilterRect = Rect{0, 0, kH, kW};
  }
  Globals* g() { return h.globals(); }
  TParameters* p() { return h.Settings(); }
  RowRenderHarness h;
};

struct Ball {
  Ball(Globals* g, int32_t layers, int32_t plates, int32_t dither, int32_t mask) : g(g) {
    CreateLegoBall(&b, g, layers, plates, dither, mask);
  }
  ~Ball() { DestroyLegoBall(&b, g); }
  void Build() {
    tumbletype t;
    LegoTumbleFromSettings(g, &t);
    BuildLegoball(&b, g, &t);
  }
  Globals* g;
  LegoStructure b;
};

int32_t Code(const LegoStructure& b, int x, int y, int z) { return LegoCellAt(&b, x, y, z)->code & kCellColourMask; }

constexpr float kRed[4] = {1, 0, 0, 1}, kYellow[4] = {251 / 255.f, 225 / 255.f, 11 / 255.f, 1},
                kClear[4] = {0, 0, 0, 0};

// A small LDraw reader: meta lines, steps, and type-1 part lines.
struct LDrawModel {
  std::vector<std::string> layers;
  int steps = 0;
  std::string header, last;
  struct Part {
    int colour, x, y, z;
    std::string matrix, file;
  };
  std::vector<Part> parts;
  bool allCRLF = true;
};

LDrawModel ReadLDraw(const std::string& text) {
  LDrawModel m;
  const std::vector<std::string> lines = SplitLines(text, '\n');
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (line.empty() || line.back() != '\r') m.allCRLF = false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (i == 0) m.header = line;
    m.last = line;
    std::istringstream in(line);
    int type;
    in >> type;
    if (type == 0) {
      std::string word;
      in >> word;
      if (word == "STEP") ++m.steps;
      if (word == "Layer") m.layers.push_back(line);
    } else if (type == 1) {
      LDrawModel::Part p;
      in >> p.colour >> p.x >> p.y >> p.z;
      for (int k = 0; k < 9; ++k) {
        std::string v;
        in >> v;
        p.matrix += (k ? " " : "") + v;
      }
      in >> p.file;
      m.parts.push_back(p);
    }
  }
  return m;
}

}  // namespace

TEST(BrickSphere, GridSizesByLayersAndPlates) {
  struct Case {
    int32_t layers, plates, width;
  } cases[] = {{20, 0, 24}, {20, 1, 8}, {3, 0, 3}, {10, 1, 4}, {150, 0, 180}, {7, 1, 2}};
  for (const Case& c : cases) EXPECT_EQ(LegoBallWidth(c.layers, c.plates), c.width) << c.layers;
  const float grey[4] = {0.5f, 0.5f, 0.5f, 1};
  BrickHost host(grey, grey);
  Ball bricks(host.g(), 20, 0, 0, 63), plates(host.g(), 20, 1, 0, 63);
  ASSERT_TRUE(bricks.b.cells && plates.b.cells);
  EXPECT_EQ(bricks.b.width * bricks.b.depth * bricks.b.layers, 24 * 24 * 20);
  EXPECT_EQ(plates.b.width * plates.b.depth * plates.b.layers, 8 * 8 * 20);
  EXPECT_EQ(bricks.b.layerHeight, 24);
  EXPECT_EQ(plates.b.layerHeight, 8);
}

TEST(BrickSphere, HollowShellWhoseVisibleCellsFaceAnEmptyNeighbour) {
  BrickHost host(kRed, kYellow);
  Ball ball(host.g(), 20, 0, 0, 63);
  ball.Build();
  const LegoStructure& b = ball.b;
  int filled = 0, visible = 0, hidden = 0;
  for (int z = 0; z < b.layers; ++z)
    for (int y = 0; y < b.depth; ++y)
      for (int x = 0; x < b.width; ++x) {
        const uint8_t code = LegoCellAt(&b, x, y, z)->code;
        if (!(code & kCellColourMask)) continue;
        ++filled;
        // Every shell cell has an empty cell among its 26 neighbours in the
        // solid ball; so it cannot be interior, that is one is empty now.
        bool emptyNear = false;
        for (int dz = -1; dz <= 1; ++dz)
          for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
              if (!LegoInGrid(&b, x + dx, y + dy, z + dz) || !Code(b, x + dx, y + dy, z + dz)) emptyNear = true;
        ASSERT_TRUE(emptyNear) << x << "," << y << "," << z;
        EXPECT_TRUE(code & kCellNearShell);
        if (code & kCellVisible) ++visible; else ++hidden;
        // Red above the horizon, yellow below: the layer axis is vertical.
        const int32_t want = z >= b.layers / 2 ? 4 : 6;
        if (z != b.layers / 2 && z != b.layers / 2 - 1) {
          EXPECT_EQ(code & kCellColourMask, want) << z;
        }
      }
  EXPECT_GT(filled, 1000);
  EXPECT_GT(visible, 0);
  EXPECT_GT(hidden, 0) << "cells with only a diagonal empty neighbour are kept but hidden";
  int32_t counts[13], seen[13];
  CountBrickKinds(&b, counts, seen);
  EXPECT_EQ(counts[4] + counts[6], filled);
  EXPECT_EQ(seen[4] + seen[6], visible);
}

TEST(BrickSphere, FallbackGreyForTransparentInputAndAnEmptyPalette) {
  struct Case {
    const float* colour;
    int32_t mask, dither;
  } cases[] = {{kClear, 63, 0}, {kRed, 0, 0}, {kRed, 0, 1}};
  for (const Case& c : cases) {
    BrickHost host(c.colour, c.colour);
    Ball ball(host.g(), 8, 0, c.dither, c.mask);
    ball.Build();
    int32_t counts[13], seen[13];
    CountBrickKinds(&ball.b, counts, seen);
    int32_t filled = 0;
    for (int i = 1; i <= 12; ++i) filled += counts[i];
    EXPECT_GT(filled, 0);
    EXPECT_EQ(counts[7], filled) << "mask " << c.mask << " dither " << c.dither;
  }
  BrickHost host(kClear, kClear);
  Ball ball(host.g(), 8, 0, 0, 63);
  ball.Build();
  LegoSampling s{};
  s.input = &host.g()->pyramids[kPyramidMain];
  s.inputMode = 1;
  s.imageAspect = 0.5f;
  InitTwirlTranformationForGyrelle(0, 0, 0, &s.tumble);
  EXPECT_EQ(ChooseLegoColor(&ball.b, &s, 4, 4, 4), 7);
  EXPECT_EQ(ball.b.sampleRed, 193);
  EXPECT_EQ(ball.b.sampleBlue, 193);
}

TEST(BrickSphere, NearestColourTiesKeepTheLowerCode) {
  struct Case {
    int32_t mask, r, g, b, want;
  } cases[] = {
      {0xfff, 0, 0, 0, 1},         {0xfff, 255, 255, 255, 5},  {0xfff, 193, 193, 193, 7},
      {0xfff, 139, 172, 150, 12},  {0, 10, 10, 10, 7},          {1 << 4, 0, 0, 0, 5},
      // Halfway between black (1) and dark grey (8) on every channel... and
      // black is nearer; exactly between white and light grey keeps white? no:
      {(1 << 0) | (1 << 4), 128, 128, 128, 5},  // 127² x3 < 128² x3: white
      {(1 << 0) | (1 << 4), 127, 128, 127, 1},  // equal distances: the lower code
  };
  for (const Case& c : cases)
    EXPECT_EQ(NearestBrickColour(c.mask, c.r, c.g, c.b), c.want) << c.r << "," << c.g << "," << c.b;
}

TEST(BrickSphere, MarchMissesOutsideAndShadesFaces) {
  const float grey[4] = {0.5f, 0.5f, 0.5f, 1};
  BrickHost host(grey, grey);
  Ball ball(host.g(), 20, 0, 0, 63);
  ball.Build();
  int32_t region = 0;
  for (int v = -1; v <= 4; ++v) {
    LegoMarchRequest corner{v, 1.0f, 1.0f}, centre{v, 0.0f, 0.0f};
    EXPECT_EQ(LegoMarch_yielding_region(&ball.b, &corner, &region), 1) << v;
    EXPECT_EQ(region, kBrickNoHit);
    EXPECT_EQ(LegoMarch_yielding_region(&ball.b, &centre, &region), 0) << v;
    EXPECT_GE(region, 6);
    EXPECT_LT(region, 13 * 6);
  }
  LegoStructure none{};
  LegoMarchRequest any{0, 0, 0};
  EXPECT_EQ(LegoMarch_yielding_region(&none, &any, &region), 1);
  EXPECT_EQ(region, kBrickNoHit);

  struct Shade {
    int32_t region;
    float rgb[3];
  } shades[] = {{45, {52, 52, 52}}, {42, {210, 210, 210}}, {43, {178, 178, 178}}, {26, {178, 0, 0}},
                {77, {76, 94, 82}}};
  for (const Shade& s : shades) {
    float c[4] = {9, 9, 9, 9};
    LegoRegionCodeToShadedColor(s.region, c);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(c[i] * 255.0f, s.rgb[i], 1e-3) << s.region;
    EXPECT_EQ(c[3], 1.0f);
  }
  float untouched[4] = {9, 9, 9, 9};
  LegoRegionCodeToShadedColor(-5, untouched);
  EXPECT_EQ(untouched[0], 9.0f);
}

TEST(BrickSphere, LDrawAndStatisticsAgreeWithThePreviewBall) {
  BrickHost host(kRed, kYellow);
  host.p()->brickLayers = 20;
  host.p()->brickPalette = 63;
  Scratch dir;
  FSRef ldr = dir.MadeFile("LDraw file.ldr"), stats = dir.MadeFile("Sphere statistics.html");
  ASSERT_EQ(DoSaveThings(host.g(), &ldr, 0, SaveKind_LDraw), 0);
  ASSERT_EQ(DoSaveThings(host.g(), &stats, 0, SaveKind_BrickStats), 0);

  const LDrawModel m = ReadLDraw(ReadWhole(ldr.path));
  EXPECT_TRUE(m.allCRLF);
  EXPECT_EQ(m.header.rfind("0 Lego sphere generated by Gyrelle 2 on ", 0), 0u) << m.header;
  EXPECT_EQ(m.last, "0");
  ASSERT_EQ(m.layers.size(), 20u);
  EXPECT_EQ(m.layers[0], "0 Layer 1 of 20");
  EXPECT_EQ(m.layers[19], "0 Layer 20 of 20");
  EXPECT_EQ(m.steps, 19);
  std::map<int, int> perColour;
  const std::map<int, int> ldrawToCode = {{0, 1}, {1, 2}, {2, 3}, {4, 4}, {15, 5}, {14, 6},
                                          {7, 7}, {8, 8}, {6, 9}, {12, 10}, {13, 11}, {10, 12}};
  for (const auto& p : m.parts) {
    ASSERT_TRUE(ldrawToCode.count(p.colour)) << "colour " << p.colour;
    EXPECT_EQ(p.file, "3005.DAT");
    EXPECT_EQ(p.matrix, "1 0 0 0 1 0 0 0 1");
    EXPECT_EQ((p.x + 240) % 20, 0);
    EXPECT_EQ((240 - p.z) % 20, 0);
    EXPECT_EQ((240 - p.y) % 24, 0);
    EXPECT_GE(p.x, -240);
    EXPECT_LE(p.y, 240);
    ++perColour[ldrawToCode.at(p.colour)];
  }

  // The ball the brick preview builds for its pass.
  vort view{};
  view.legoBall = &host.g()->storage->brickSphere;
  InitTwirlTranformationForGyrelle(host.p()->twirlY, host.p()->twirlX, host.p()->twirlSpin, &view.tumble);
  ASSERT_TRUE(SetUpBrickView(host.g(), *host.p(), &view));
  EXPECT_EQ(view.legoMode, 1);
  int32_t counts[13], seen[13];
  CountBrickKinds(view.legoBall, counts, seen);
  DestroyLegoBall(view.legoBall, host.g());
  int32_t total = 0;
  for (int c = 1; c <= 12; ++c) {
    EXPECT_EQ(perColour[c], counts[c]) << "colour " << c;
    total += counts[c];
  }
  EXPECT_EQ(int32_t(m.parts.size()), total);
  EXPECT_GT(counts[4], 0);
  EXPECT_GT(counts[6], 0);

  const std::string page = ReadWhole(stats.path);
  EXPECT_EQ(page, LegoStatsText(20, counts, seen));
  EXPECT_NE(page.find("Cell count for 20-layer sphere:<br>\r"), std::string::npos);
  char red[64];
  std::snprintf(red, sizeof red, "red        %5d     %5d<br>\r", counts[4], seen[4]);
  EXPECT_NE(page.find(red), std::string::npos) << page;
}

TEST(BrickSphere, PlatesOneLayerAndEmptyBall) {
  const float grey[4] = {0.5f, 0.5f, 0.5f, 1};
  BrickHost host(grey, grey);
  {
    Ball ball(host.g(), 20, 1, 0, 63);
    ball.Build();
    const LDrawModel m = ReadLDraw(LDrawText(&ball.b));
    ASSERT_FALSE(m.parts.empty());
    for (const auto& p : m.parts) {
      EXPECT_EQ(p.file, "3024.DAT");
      EXPECT_EQ((p.x + 80) % 20, 0);
      EXPECT_EQ((80 - p.y) % 8, 0);
    }
  }
  {
    // A one-layer ball of one cell, at the very centre: one brick, no step.
    Ball ball(host.g(), 1, 0, 0, 63);
    ball.Build();
    const LDrawModel m = ReadLDraw(LDrawText(&ball.b));
    EXPECT_EQ(m.steps, 0);
    ASSERT_EQ(m.layers.size(), 1u);
    ASSERT_EQ(m.parts.size(), 1u);
    EXPECT_EQ(m.parts[0].y, 0);
  }
  const int32_t zeros[13] = {};
  const std::string page = LegoStatsText(20, zeros, zeros);
  EXPECT_EQ(page.rfind("<html><head><title>Sphere statistics</title></head><body><pre>Cell count", 0), 0u);
  EXPECT_NE(page.find("(A 2x4 brick counts as 8 cells)<br>\r<br>\r<br>\rcolor      total   visible<br>\r<br>\r"
                      "black          0         0<br>\r"),
            std::string::npos);
  EXPECT_NE(page.find("green-gray     0         0<br>\r</pre></body></html><br>\r"), std::string::npos);
  LegoStructure none{};
  std::string out;
  EXPECT_EQ(GenerateOneLayerOfLDRAW(&none, &out), 99);
}

TEST(BrickSphere, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  BrickHost host(kRed, kRed);
  host.p()->brickLayers = 6;
  Scratch dir;
  FSRef ldr = dir.MadeFile("old.ldr");
  WriteWhole(ldr.path, "old model\r\n");
  FailNextExportCommits(1);
  EXPECT_NE(DoSaveThings(host.g(), &ldr, 0, SaveKind_LDraw), 0);
  EXPECT_EQ(ReadWhole(ldr.path), "old model\r\n");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"old.ldr"});
  // A folder that cannot be written to: the same.
  ASSERT_EQ(std::system(("chmod a-w '" + dir.path() + "'").c_str()), 0);
  if (::access(dir.path().c_str(), W_OK) != 0) {  // root writes anyway
    EXPECT_NE(DoSaveThings(host.g(), &ldr, 0, SaveKind_LDraw), 0);
    EXPECT_EQ(ReadWhole(ldr.path), "old model\r\n");
  }
  std::system(("chmod u+w '" + dir.path() + "'").c_str());
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"old.ldr"});
  EXPECT_EQ(DoSaveThings(host.g(), &ldr, 0, SaveKind_LDraw), 0);
  EXPECT_NE(ReadWhole(ldr.path), "old model\r\n");
}
