// The pass preroll: its tables, the row counters and caches it resets, the
// cube-cross faces it cuts (against ImageMagick crops of the expected
// cells), the rebuild of the main pyramid's levels when the edge rules
// change, and the input solid's life.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "frame/globals.h"
#include "frame/invocation.h"
#include "frame/preroll.h"
#include "frame/preroll_cubecross.h"
#include "frame/render_passes.h"
#include "pyramid/pyramid_pixels.h"
#include "render/rows/column_record.h"
#include "support/driver_host.h"
#include "support/scratch_dir.h"

namespace {

TEST(PrerollTables, TriangleWaveRisesThenFalls) {
  DriverHost host(4, 4, 3);
  Globals* g = host.OpenInvocation();
  MakeTriangleWave(g);
  const int32_t* t = g->storage->triangleWave;
  const int checks[][2] = {{0, 0}, {1, 2}, {127, 254}, {128, 255}, {129, 253}, {254, 3}, {255, 1}};
  for (const auto& c : checks) EXPECT_EQ(t[c[0]], c[1]) << "entry " << c[0];
  host.CloseInvocation();
}

TEST(PrerollTables, OddsTableIsPOverOneMinusP) {
  float odds[256];
  MakeOddsTable(odds);
  EXPECT_EQ(odds[0], 0.0f);
  EXPECT_EQ(odds[255], 1e8f);
  EXPECT_NEAR(odds[51], 0.25f, 1e-6f);  // p = 0.2
  EXPECT_NEAR(odds[204], 4.0f, 1e-5f);  // p = 0.8
  for (int i = 1; i < 255; ++i) {
    // p and 1 - p give reciprocal odds; the odds grow with p.
    EXPECT_NEAR(odds[i] * odds[255 - i], 1.0f, 2e-6f) << i;
    if (i > 1) {
      EXPECT_GT(odds[i], odds[i - 1]) << i;
    }
  }
}

TEST(PrerollPass, SetsCountersCachesAndColumnRecords) {
  DriverHost host(9, 5, 3);
  Globals* g = host.OpenInvocation();
  g->currentRow = 7;
  g->passPhase = 0;
  g->moreToDo = 0;
  g->progressDone = 3;
  g->storage->inverseParameterCache[0] = 1.5f;
  g->storage->mollweideThetaCache[0] = 2.5f;
  host.record.inRect = host.record.filterRect;
  CalcTemporaryDimensions(g, &host.record.filterRect, 1);
  // Records past the ones the pass uses keep what they hold.
  FixBuffersThatDependOnOutputDimensions(g);
  ASSERT_GE(g->columnRecordCount, g->outputWidth + 3);
  for (int32_t i = 0; i < g->columnRecordCount; ++i) g->columnRecords[i].reply[1].regionCode = 77;

  PrerollManipulation(g);
  EXPECT_EQ(g->result, 0);
  EXPECT_EQ(g->currentRow, 0);
  EXPECT_EQ(g->passPhase, 1);
  EXPECT_EQ(g->moreToDo, 1);
  EXPECT_EQ(g->wantMask, 1);
  EXPECT_EQ(g->progressTotal, 5);
  EXPECT_EQ(g->progressDone, 0);
  EXPECT_EQ(g->storage->inverseParameterCache[0], 999.0f);
  EXPECT_EQ(g->storage->mollweideThetaCache[0], 999.0f);
  for (int32_t i = 0; i < g->outputWidth + 2; ++i) {
    for (const TransformationReply& r : g->columnRecords[i].reply) {
      EXPECT_EQ(r.regionCode, -5) << i;
      EXPECT_EQ(r.inputU, -1.0f) << i;
      EXPECT_EQ(r.gridV, -1.0f) << i;
      EXPECT_EQ(r.inputFace, -1) << i;
      EXPECT_EQ(r.sheetCell, -1) << i;
      EXPECT_EQ(r.glueMark, -1) << i;
    }
  }
  EXPECT_EQ(g->columnRecords[g->outputWidth + 2].reply[1].regionCode, 77);
  host.CloseInvocation();
}

// Level 1 of the main pyramid is rebuilt only when the input mode's edge
// rules differ from the ones the levels were built with.
TEST(PrerollPass, RebuildsLevelsOnlyWhenEdgeRulesChange) {
  struct Case {
    int32_t from, to;
    bool rebuilt;
  } cases[] = {
      {1, 24, false},  // both wrap x with overhang 7
      {1, 5, true},    // overhang 7 becomes 4
      {1, 11, true},   // wrap x becomes wrap x and y
      {2, 3, false},   // no rule of their own: both 0 and 3
  };
  for (const Case& c : cases) {
    DriverHost host(40, 20, 3);
    Globals* g = host.OpenInvocation();
    host.Settings()->inputMode = c.from;
    MaybeAllocatePyramids(g);
    PyramidDescriptor* main = &g->pyramids[kPyramidMain];
    ASSERT_GE(main->topLevel, 1);
    set_pyramid_sample_point4(0, 0, main, 1, 1, 2, 3, 4);
    host.Settings()->inputMode = c.to;
    PrerollManipulation(g);
    int32_t r, gr, b, a;
    get_pyramid_sample_point4(0, 0, main, 1, &r, &gr, &b, &a);
    EXPECT_EQ(r != 1 || a != 4, c.rebuilt) << c.from << " to " << c.to;
    host.CloseInvocation();
  }
}

// A solid left from an earlier pass is freed before the next is made, and
// the end of the pass frees it.
TEST(PrerollPass, InputSolidLivesForOnePass) {
  DriverHost host(8, 4, 3);
  Globals* g = host.OpenInvocation();
  host.Settings()->inputMode = 29;
  const int64_t before = host.OutstandingBuffers();
  PrerollManipulation(g);
  ASSERT_NE(g->inputPolyhedron, nullptr);
  EXPECT_EQ(host.OutstandingBuffers(), before + 1);
  PrerollManipulation(g);
  EXPECT_NE(g->inputPolyhedron, nullptr);
  EXPECT_EQ(host.OutstandingBuffers(), before + 1);
  Postroll(g);
  EXPECT_EQ(g->inputPolyhedron, nullptr);
  EXPECT_EQ(g->inputPolyhedronBufferID, 0u);
  EXPECT_EQ(host.OutstandingBuffers(), before);

  host.Settings()->inputMode = 1;
  PrerollManipulation(g);
  EXPECT_EQ(g->inputPolyhedron, nullptr);
  host.CloseInvocation();
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

// ---- Cube crosses ----

// Cells of w x h pixels, every one of the columns x rows cells its own
// colour, plus a leftover margin right and below in white.
std::vector<uint8_t> CrossImage(int columns, int rows, int w, int h, int width, int height) {
  std::vector<uint8_t> rgb(size_t(width) * height * 3, 255);
  for (int y = 0; y < rows * h; ++y)
    for (int x = 0; x < columns * w; ++x) {
      const int cell = (y / h) * columns + x / w;
      uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
      p[0] = uint8_t(20 * cell);
      p[1] = uint8_t(250 - 15 * cell);
      p[2] = uint8_t((cell * 97) % 256);
    }
  return rgb;
}

// The cell ImageMagick crops out of the cross, as raw RGB.
std::string CropWithImageMagick(const ScratchDir& dir, const std::vector<uint8_t>& rgb, int width, int height, int w,
                                int h, int column, int row) {
  const std::string ppm = dir / "cross.ppm";
  std::ofstream out(ppm, std::ios::binary);
  out << "P6\n" << width << " " << height << "\n255\n";
  out.write(reinterpret_cast<const char*>(rgb.data()), std::streamsize(rgb.size()));
  out.close();
  const std::string raw = dir / "cell.rgb";
  char geometry[64];
  std::snprintf(geometry, sizeof geometry, "%dx%d+%d+%d", w, h, column * w, row * h);
  const std::string args = "'" + ppm + "' -crop " + geometry + " +repage -depth 8 'rgb:" + raw + "'";
  EXPECT_TRUE(RunConvert(args)) << args;
  return ReadWholeFile(raw);
}

std::string FaceBytes(const PyramidDescriptor* face) {
  std::string bytes;
  for (int32_t y = 0; y < face->levelHeight[0]; ++y)
    for (int32_t x = 0; x < face->levelWidth[0]; ++x) {
      int32_t r, g, b, a;
      get_pyramid_sample_point4(x, y, face, 0, &r, &g, &b, &a);
      bytes += char(r);
      bytes += char(g);
      bytes += char(b);
    }
  return bytes;
}

struct CrossCase {
  const char* name;
  int32_t inputMode;
  int columns, rows;
  int32_t mark;
  int cells[6][2];  // column, row of pyramids 3 .. 8
};

constexpr CrossCase kCrosses[] = {
    {"4 x 3", 27, 4, 3, 101, {{3, 1}, {2, 1}, {1, 2}, {1, 1}, {0, 1}, {1, 0}}},
    {"3 x 4", 28, 3, 4, 102, {{1, 3}, {2, 1}, {1, 2}, {1, 1}, {0, 1}, {1, 0}}},
};

TEST(PrerollCubeCross, FacesAreTheCellsAsImageMagickCropsThem) {
  ScratchDir dir;
  constexpr int w = 5, h = 4;
  for (const CrossCase& c : kCrosses) {
    SCOPED_TRACE(c.name);
    // Widths and heights that are not whole multiples: the leftover is never read.
    const int width = c.columns * w + c.columns - 1, height = c.rows * h + c.rows - 1;
    DriverHost host(width, height, 3);
    host.image = CrossImage(c.columns, c.rows, w, h, width, height);
    Globals* g = host.OpenInvocation();
    host.Settings()->inputMode = c.inputMode;
    MaybeAllocatePyramids(g);
    PrerollManipulation(g);
    for (int i = 0; i < 6; ++i) {
      const PyramidDescriptor* face = &g->pyramids[3 + i];
      ASSERT_EQ(face->levelWidth[0], w) << "pyramid " << 3 + i;
      ASSERT_EQ(face->levelHeight[0], h) << "pyramid " << 3 + i;
      EXPECT_EQ(face->cacheId, c.mark) << "pyramid " << 3 + i;
      EXPECT_EQ(face->overhangMode, 3) << "pyramid " << 3 + i;
      EXPECT_EQ(face->wrapMode, 0) << "pyramid " << 3 + i;
      EXPECT_EQ(FaceBytes(face),
                CropWithImageMagick(dir, host.image, width, height, w, h, c.cells[i][0], c.cells[i][1]))
          << "pyramid " << 3 + i;
    }
    host.CloseInvocation();
  }
}

// Cut once per layout; a new layout cuts again; any other input mode frees.
TEST(PrerollCubeCross, CutOncePerLayoutAndFreedAfterwards) {
  constexpr int w = 4, h = 4;
  DriverHost host(12, 16, 3);
  host.image = CrossImage(3, 4, w, h, 12, 16);
  Globals* g = host.OpenInvocation();
  host.Settings()->inputMode = 27;
  MaybeAllocatePyramids(g);
  PrerollManipulation(g);
  PyramidDescriptor* back = &g->pyramids[3];
  ASSERT_EQ(back->cacheId, 101);
  EXPECT_EQ(back->levelWidth[0], 3);
  set_pyramid_sample_point4(0, 0, back, 0, 1, 2, 3, 4);
  PrerollManipulation(g);
  int32_t r, gr, b, a;
  get_pyramid_sample_point4(0, 0, back, 0, &r, &gr, &b, &a);
  EXPECT_EQ(r, 1) << "the second pass with the same cross must not cut again";

  host.Settings()->inputMode = 28;
  PrerollManipulation(g);
  EXPECT_EQ(back->cacheId, 102);
  EXPECT_EQ(back->levelWidth[0], 4);
  const int64_t withFaces = host.OutstandingBuffers();

  host.Settings()->inputMode = 1;
  PrerollManipulation(g);
  for (int i = 3; i < 9; ++i) {
    EXPECT_EQ(g->pyramids[i].tileTable, nullptr) << i;
    EXPECT_EQ(g->pyramids[i].cacheId, 0) << i;
  }
  EXPECT_LT(host.OutstandingBuffers(), withFaces);
  host.CloseInvocation();
  EXPECT_EQ(host.OutstandingBuffers(), 0);
}

}  // namespace
