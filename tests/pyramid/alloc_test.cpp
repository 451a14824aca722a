// Pyramid layout, allocation and release: the level-size rule, the tile
// table, clean failure, and the 64-bit byte counts of large images.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "support/fake_host.h"
#include "frame/globals.h"
#include "frame/base/result_codes.h"
#include "platform/memory.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid_test_util.h"

namespace {

// System allocations refused for the life of the guard.
struct NoSystemMemory {
  NoSystemMemory() { SetSystemAllocationBudget(0); }
  ~NoSystemMemory() { SetSystemAllocationBudget(-1); }
};

TEST(PyramidAlloc, LevelSizes) {
  struct Case {
    int32_t width, height;
    std::vector<int32_t> widths, heights;
  } cases[] = {
      {1, 1, {1, 1}, {1, 1}},
      {2, 2, {2, 1}, {2, 1}},
      {5, 5, {5, 4, 2, 1}, {5, 4, 2, 1}},
      {50, 50, {50, 26, 14, 8, 4, 2, 1}, {50, 26, 14, 8, 4, 2, 1}},
      {128, 128, {128, 64, 32, 16, 8, 4, 2, 1}, {128, 64, 32, 16, 8, 4, 2, 1}},
      {513, 1, {513, 258, 130, 66, 34, 18, 10, 6, 4, 2, 1}, std::vector<int32_t>(11, 1)},
      {1000, 3, {1000, 500, 250, 126, 64, 32, 16, 8, 4, 2, 1}, {3, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {2, 1000, {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {1000, 500, 250, 126, 64, 32, 16, 8, 4, 2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    PyramidPtr p = MakePyramid(c.width, c.height, PyramidDataKind_Packed8);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->topLevel, int32_t(c.widths.size()) - 1);
    int64_t pixels = 0;
    for (int32_t L = 0; L <= p->topLevel; ++L) {
      EXPECT_EQ(p->levelWidth[L], c.widths[L]) << "level " << L;
      EXPECT_EQ(p->levelHeight[L], c.heights[L]) << "level " << L;
      EXPECT_EQ(p->scaleWidth[L], c.widths[L]);
      EXPECT_EQ(p->levelClampX[L], c.widths[L] - 1);
      EXPECT_EQ(p->levelLastY[L], float(c.heights[L] - 1));
      EXPECT_EQ(p->pixelStepX[L], 1.0f / float(c.widths[L]));
      pixels += int64_t(c.widths[L]) * c.heights[L];
    }
    EXPECT_EQ(p->totalBytes, pixels * 4);
    EXPECT_EQ(p->baseWidth, c.width);
    EXPECT_EQ(p->overhangMode, 3);
    EXPECT_EQ(p->cacheId, 0);
  }
}

TEST(PyramidAlloc, TilesCoverEveryLevelRowByRow) {
  PyramidPtr p = MakePyramid(1100, 600, PyramidDataKind_FourFloat);
  ASSERT_TRUE(p);
  // Level 0: 3 x 2 tiles, the last column 76 wide and the last row 88 high.
  EXPECT_EQ(p->levelTilesPerRow[0], 3);
  EXPECT_EQ(p->levelFirstTile[0], 0);
  EXPECT_EQ(p->levelLastTile[0], 5);
  const PyramidTile& last = p->tileTable[5];
  EXPECT_EQ(last.left, 1024);
  EXPECT_EQ(last.top, 512);
  EXPECT_EQ(last.width, 76);
  EXPECT_EQ(last.height, 88);
  EXPECT_EQ(p->levelFirstTile[1], 6);  // 550 x 300: 2 x 1 tiles
  EXPECT_EQ(p->levelLastTile[1], 7);
  EXPECT_EQ(p->levelLastTile[p->topLevel], p->tileCount - 1);
  for (int32_t L = 0; L <= p->topLevel; ++L) {
    int64_t covered = 0;
    for (int32_t i = p->levelFirstTile[L]; i <= p->levelLastTile[L]; ++i) covered += PixelsInTile(p.get(), i);
    EXPECT_EQ(covered, int64_t(p->levelWidth[L]) * p->levelHeight[L]) << "level " << L;
  }
  // Pixel addressing lands in the tile that holds the pixel.
  EXPECT_EQ(&PyramidTileOf(p.get(), 0, 1099, 599), &p->tileTable[5]);
  EXPECT_EQ(PyramidPixelAddress(p.get(), 0, 1024 + 3, 512 + 2),
            static_cast<uint8_t*>(p->tileTable[5].pixels) + (3 + 2 * 76) * 16);
}

TEST(PyramidAlloc, DataKinds) {
  struct Case {
    int32_t kind, bytesPerPixel, channels, bytesPerChannel;
    uint32_t toUnitBits;
    float fromUnit;
  } cases[] = {
      {0, 1, 1, 1, 0x3B808081u, 255.0f}, {1, 2, 1, 2, 0x38000000u, 32768.0f},
      {2, 2, 1, 2, 0x3F800000u, 1.0f},   {3, 4, 4, 1, 0x3B808081u, 255.0f},
      {4, 8, 4, 2, 0x38000000u, 32768.0f}, {5, 4, 1, 4, 0x3F800000u, 1.0f},
      {7, 6, 3, 2, 0x3F800000u, 1.0f},   {9, 16, 4, 4, 0x3F800000u, 1.0f},
  };
  for (const Case& c : cases) {
    PyramidPtr p = MakePyramid(3, 3, c.kind);
    ASSERT_TRUE(p) << "kind " << c.kind;
    EXPECT_EQ(p->dataKind, c.kind);
    EXPECT_EQ(p->bytesPerPixel, c.bytesPerPixel) << "kind " << c.kind;
    EXPECT_EQ(p->channels, c.channels) << "kind " << c.kind;
    EXPECT_EQ(p->bytesPerChannel, c.bytesPerChannel) << "kind " << c.kind;
    EXPECT_EQ(std::bit_cast<uint32_t>(p->toUnitScale), c.toUnitBits) << "kind " << c.kind;
    EXPECT_EQ(p->fromUnitScale, c.fromUnit) << "kind " << c.kind;
  }
  // Kinds that do not exist would make tiles of no bytes: refused.
  for (int32_t kind : {6, 8, -1, 10}) {
    PyramidDescriptor p{};
    InitPyramidProcs(&p, nullptr, nullptr);
    EXPECT_EQ(AllocatePyramidWithStatus(&p, 4, 4, kind, 0), PyramidAlloc_BadRequest) << kind;
    EXPECT_EQ(p.tileTable, nullptr);
  }
}

TEST(PyramidAlloc, RefusedRequestsTouchNothing) {
  PyramidPtr p = MakePyramid(10, 10, PyramidDataKind_Packed8);
  ASSERT_TRUE(p);
  p->cacheId = 7;
  PyramidTile* table = p->tileTable;
  struct Case {
    int32_t width, height;
    PyramidAllocStatus status;
  } cases[] = {{0, 5, PyramidAlloc_BadRequest}, {5, -1, PyramidAlloc_BadRequest},
               {32768, 1, PyramidAlloc_TooLarge}, {1, 40000, PyramidAlloc_TooLarge}};
  for (const Case& c : cases) {
    EXPECT_EQ(AllocatePyramidWithStatus(p.get(), c.width, c.height, PyramidDataKind_Packed8, 0), c.status)
        << c.width << " x " << c.height;
    EXPECT_EQ(p->tileTable, table);
    EXPECT_EQ(p->levelWidth[0], 10);
    EXPECT_EQ(p->cacheId, 7);
  }
  EXPECT_EQ(AllocatePyramidWithStatus(nullptr, 4, 4, 3, 0), PyramidAlloc_BadRequest);
  EXPECT_EQ(PyramidByteCount(32768, 1, 3), -1);
  EXPECT_TRUE(TryToAllocatePyramid_2006(p.get(), 32767, 1, PyramidDataKind_Byte, 0));
}

TEST(PyramidAlloc, FailureAtTheLastTileLeavesNothingBehind) {
  FakeHost host(4, 4, kImageModeRGB, 8, 3, false);
  PyramidDescriptor& p = host.globals->pyramids[1];
  ASSERT_TRUE(TryToAllocatePyramid_2006(&p, 600, 40, PyramidDataKind_Packed8, 0));
  EXPECT_EQ(host.outstandingBuffers, 1 + p.tileCount);  // the table and every tile
  // The last tile allocated is the 1 x 1 top level: 4 bytes short.
  const int64_t bytes = host.outstandingBytes;
  const int32_t tiles = p.tileCount;
  DisposePyramidData(&p);
  EXPECT_EQ(host.outstandingBuffers, 0);

  NoSystemMemory refuse;
  p.cacheId = 5;
  host.byteBudget = bytes - 1;
  const int64_t before = host.allocations;
  EXPECT_EQ(AllocatePyramidWithStatus(&p, 600, 40, PyramidDataKind_Packed8, 0), PyramidAlloc_OutOfMemory);
  EXPECT_EQ(host.allocations - before, tiles);  // the table and all tiles but the last
  EXPECT_EQ(p.tileTable, nullptr);
  EXPECT_EQ(p.tileCount, 0);
  EXPECT_EQ(p.cacheId, 0);
  EXPECT_EQ(host.outstandingBuffers, 0);
  // A smaller pyramid fits in what is left.
  EXPECT_TRUE(TryToAllocatePyramid_2006(&p, 100, 40, PyramidDataKind_Packed8, 0));
  DisposePyramidData(&p);
  EXPECT_EQ(host.outstandingBuffers, 0);
}

TEST(PyramidAlloc, ReallocationReleasesTheOldBlocks) {
  FakeHost host(4, 4, kImageModeRGB, 8, 3, false);
  PyramidDescriptor& p = host.globals->pyramids[1];
  ASSERT_TRUE(TryToAllocatePyramid_2006(&p, 1030, 20, PyramidDataKind_FourFloat, 1));
  ASSERT_TRUE(TryToAllocatePyramid_2006(&p, 1030, 20, PyramidDataKind_FourFloat, 1));
  EXPECT_EQ(host.outstandingBuffers, 1 + p.tileCount);
  EXPECT_EQ(host.outstandingBytes, p.totalBytes + int64_t(sizeof(PyramidTile)) * p.tileCount);
  DisposePyramidData(&p);
  DisposePyramidData(&p);  // a second release only clears the mark
  DisposePyramidData(nullptr);
  EXPECT_EQ(host.outstandingBuffers, 0);
}

// A 16384 x 8192 float image with its levels needs 2,863,311,536 bytes:
// beyond 32 bits. Without the memory it fails cleanly with -108.
TEST(PyramidAlloc, LargeFloatImageCountsIn64BitsAndFailsCleanly) {
  EXPECT_EQ(PyramidByteCount(16384, 8192, PyramidDataKind_FourFloat), int64_t(2863311536));
  EXPECT_EQ(PyramidByteCount(32767, 32767, PyramidDataKind_FourFloat) > (int64_t(1) << 34), true);

  FakeHost host(4, 4, kImageModeRGB96, 32, 3, false);
  host.byteBudget = int64_t(64) << 20;
  NoSystemMemory refuse;
  EXPECT_EQ(AllocateColorPyramids(16384, 8192, host.globals), kOutOfMemory);
  const PyramidDescriptor& p = host.globals->pyramids[kPyramidMain];
  EXPECT_EQ(p.tileTable, nullptr);
  EXPECT_EQ(p.tileCount, 0);
  EXPECT_EQ(host.outstandingBuffers, 0);
  EXPECT_GT(host.allocations, 10);  // it got some way before memory ran out
}

TEST(PyramidAlloc, ColourPyramidKindFollowsTheHost) {
  struct Case {
    int16_t mode, depth;
    int32_t kind;
  } cases[] = {{kImageModeRGB, 8, 3}, {kImageModeGray, 8, 3}, {kImageModeRGB48, 16, 4},
               {kImageModeGray16, 16, 4}, {kImageModeRGB96, 32, 9}, {kImageModeGray32, 32, 9}};
  for (const Case& c : cases) {
    FakeHost host(3, 2, c.mode, c.depth, 3, false);
    EXPECT_EQ(AllocateColorPyramids(3, 2, host.globals), kOK);
    EXPECT_EQ(host.globals->pyramids[kPyramidMain].dataKind, c.kind) << c.mode << "/" << c.depth;
    EXPECT_EQ(host.globals->pyramids[kPyramidMain].wrapMode, 0);
  }
}

TEST(PyramidAlloc, CanvasChannelCountsPickKinds) {
  struct Case {
    int32_t channels, kind;
  } cases[] = {{1, 0}, {2, 2}, {3, 3}, {4, 3}, {0, 3}};
  for (const Case& c : cases) {
    PyramidDescriptor p{};
    InitPyramidProcs(&p, nullptr, nullptr);
    ASSERT_TRUE(TryToAllocateCanvas_old(&p, 8, 8, c.channels, 0));
    EXPECT_EQ(p.dataKind, c.kind) << c.channels << " channels";
    DisposePyramidData(&p);
  }
}

TEST(PyramidAlloc, RectangleQueries) {
  PyramidPtr p = MakePyramid(600, 5, PyramidDataKind_Packed8);
  ASSERT_TRUE(p);
  Rect r;
  GetBoundingRectOfPyrLevel(p.get(), 1, &r);
  EXPECT_EQ(r.bottom, 4);
  EXPECT_EQ(r.right, 300);
  GetBoundingRectOfPyrLevel(p.get(), p->topLevel + 1, &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 0);
  GetBoundingRectOfPyrLevel(nullptr, 0, &r);
  EXPECT_EQ(r.right, 0);
  GetRectOfTile(p.get(), 1, &r);
  EXPECT_EQ(r.left, 512);
  EXPECT_EQ(r.right, 600);
  EXPECT_EQ(r.bottom, 5);
  EXPECT_EQ(PixelsInTile(p.get(), 1), 88 * 5);
  EXPECT_EQ(PixelsInTile(p.get(), p->tileCount), 0);
  GetRectOfTile(p.get(), p->tileCount, &r);
  EXPECT_EQ(r.right, 0);

  PyramidPtr same = MakePyramid(600, 5, PyramidDataKind_GreyFloat);
  PyramidPtr wider = MakePyramid(601, 5, PyramidDataKind_Packed8);
  PyramidPtr deeper = MakePyramid(600, 5, PyramidDataKind_FourFloat);
  EXPECT_TRUE(PyramidsAreSimilar(p.get(), same.get()));  // both 4 bytes a pixel
  EXPECT_FALSE(PyramidsAreSimilar(p.get(), wider.get()));
  EXPECT_FALSE(PyramidsAreSimilar(p.get(), deeper.get()));
  EXPECT_TRUE(PyramidsAreSimilarSizeAtLevel0(p.get(), deeper.get()));
}

TEST(PyramidAlloc, DumpAnyCorpusReleasesOnlyTheCubeFaces) {
  FakeHost host(4, 4, kImageModeRGB, 8, 3, false);
  for (PyramidDescriptor& p : host.globals->pyramids) ASSERT_TRUE(TryToAllocatePyramid_2006(&p, 8, 8, 3, 0));
  host.globals->pyramids[8].cacheId = 101;
  DumpAnyCorpus(host.globals);
  for (int i = 0; i < kPyramidSlots; ++i)
    EXPECT_EQ(host.globals->pyramids[i].tileTable != nullptr, i < kPyramidFirstCubeFace) << i;
  EXPECT_EQ(host.globals->pyramids[8].cacheId, 0);
}

}  // namespace
