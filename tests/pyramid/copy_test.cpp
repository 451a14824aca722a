// Whole-pyramid copies, the rescale into an 8-bit canvas, the mask into
// alpha, solid and test-pattern fills, and the picture of a level.
#include <gtest/gtest.h>

#include <bit>

#include "platform/memory.h"
#include "platform/picture.h"
#include "pyramid/pyramid_copy.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_picture.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_reads.h"
#include "pyramid_test_util.h"

namespace {

void Fill(PyramidDescriptor* p, int32_t level, int32_t v) {
  PaintLevelSolidColor(p, level, v, v, v, 255);
}

int32_t Red(const PyramidDescriptor* p, int32_t x, int32_t y, int32_t level = 0) {
  int32_t c[4];
  get_pyramid_sample_pointColorcall(x, y, p, level, &c[0], &c[1], &c[2], &c[3]);
  return c[0];
}

int32_t Alpha(const PyramidDescriptor* p, int32_t x, int32_t y, int32_t level = 0) {
  int32_t c[4];
  get_pyramid_sample_pointColorcall(x, y, p, level, &c[0], &c[1], &c[2], &c[3]);
  return c[3];
}

TEST(PyramidCopy, RawCopyNeedsTheSameLayout) {
  struct Case {
    int32_t kindA, kindB;
    bool copies;
  } cases[] = {{3, 5, true}, {3, 3, true}, {3, 4, false}, {9, 9, true}};
  for (const Case& c : cases) {
    PyramidPtr a = MakePyramid(600, 100, c.kindA);
    PyramidPtr b = MakePyramid(600, 100, c.kindB);
    for (int32_t L = 0; L <= a->topLevel; ++L)
      for (int32_t i = a->levelFirstTile[L]; i <= a->levelLastTile[L]; ++i)
        std::memset(a->tileTable[i].pixels, 0x11 * (L + 1), size_t(PixelsInTile(a.get(), i)) * a->bytesPerPixel);
    for (int32_t i = 0; i < b->tileCount; ++i)
      std::memset(b->tileTable[i].pixels, 0, size_t(PixelsInTile(b.get(), i)) * b->bytesPerPixel);
    CopyPyrAToB(a.get(), b.get());
    const bool same = LevelBytes(a.get(), 0) == LevelBytes(b.get(), 0) &&
                      LevelBytes(a.get(), a->topLevel) == LevelBytes(b.get(), b->topLevel);
    EXPECT_EQ(same, c.copies) << c.kindA << " to " << c.kindB;
  }
  PyramidPtr a = MakePyramid(10, 10, 3);
  PyramidDescriptor unallocated{};
  CopyPyrAToB(a.get(), &unallocated);
  CopyPyrAToB(&unallocated, a.get());
}

TEST(PyramidCopy, LevelToLevelCopiesTheOverlapOfOneKind) {
  PyramidPtr a = MakePyramid(8, 4, PyramidDataKind_Four16);
  PyramidPtr b = MakePyramid(5, 6, PyramidDataKind_Four16);
  PaintLevelSolidColor(a.get(), 0, 1000, 2000, 3000, 32768);
  PaintLevelSolidColor(b.get(), 0, 7, 7, 7, 7);
  CopyLevelToLevelSlowly(a.get(), b.get(), 0, 0);
  EXPECT_EQ(Red(b.get(), 4, 3), 1000);
  EXPECT_EQ(Alpha(b.get(), 0, 0), 32768);
  EXPECT_EQ(Red(b.get(), 4, 4), 7);  // below a's last row
  PyramidPtr c = MakePyramid(5, 6, PyramidDataKind_Packed8);
  Fill(c.get(), 0, 9);
  CopyLevelToLevelSlowly(a.get(), c.get(), 0, 0);
  EXPECT_EQ(Red(c.get(), 0, 0), 9);
}

TEST(PyramidCopy, PartOfAToBConvertsThroughUnitColour) {
  PyramidPtr cross = MakePyramid(12, 9, PyramidDataKind_Packed8);
  for (int32_t y = 0; y < 9; ++y)
    for (int32_t x = 0; x < 12; ++x) set_pyramid_sample_pointColor(x, y, cross.get(), 0, x * 20, y * 20, 0, 255);
  PyramidPtr face = MakePyramid(3, 3, PyramidDataKind_FourFloat);
  const Rect cell{3, 6, 6, 9};
  CopyPartOfAtoB(cross.get(), &cell, face.get(), 0, 0, 0);
  float c[4];
  get_intcoord_unitary_color(2, 1, face.get(), 0, c);
  EXPECT_FLOAT_EQ(c[0], 160.0f / 255.0f);
  EXPECT_FLOAT_EQ(c[1], 80.0f / 255.0f);
  EXPECT_EQ(c[3], 1.0f);
}

// Level 0 and level 1 hold different flat colours, so the value read tells
// which levels the rescale blended.
TEST(PyramidCopy, RescaleChoosesItsLevelFromTheWidths) {
  struct Case {
    int32_t sourceSize, targetSize, wantLow, wantHigh;
  } cases[] = {
      {128, 64, 99, 101},  // log2(2) - 0.5: level 0 and 1 half and half
      {32, 128, 40, 40},   // magnification reads level 0 alone
      {256, 32, 200, 200}, // log2(8) - 0.5 = 2.5: levels 2 and 3, both 200 here
  };
  for (const Case& c : cases) {
    PyramidPtr source = MakePyramid(c.sourceSize, c.sourceSize, PyramidDataKind_Packed8);
    Fill(source.get(), 0, c.sourceSize == 32 ? 40 : 0);
    for (int32_t L = 1; L <= source->topLevel; ++L) Fill(source.get(), L, 200);
    PyramidPtr target = MakePyramid(c.targetSize, c.targetSize, PyramidDataKind_Packed8);
    for (int32_t L = 0; L <= target->topLevel; ++L) Fill(target.get(), L, 0);
    CopyOrScalePyrToPyr(source.get(), target.get());
    const int32_t red = Red(target.get(), c.targetSize / 2, 3);
    EXPECT_GE(red, c.wantLow) << c.sourceSize << " to " << c.targetSize;
    EXPECT_LE(red, c.wantHigh) << c.sourceSize << " to " << c.targetSize;
    EXPECT_EQ(Alpha(target.get(), 0, 0), 255);
    // The target's levels are rebuilt (each a little brighter than the last).
    EXPECT_NEAR(Red(target.get(), 0, 0, target->topLevel), red, 8);
  }
}

TEST(PyramidCopy, SameSizeCopyRebuildsTheLevels) {
  PyramidPtr a = MakePyramid(16, 16, PyramidDataKind_FourFloat);
  PyramidPtr b = MakePyramid(16, 16, PyramidDataKind_FourFloat);
  const float unit[4] = {0.5f, 0.25f, 1.0f, 1.0f};
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) set_unitary_color(x, y, a.get(), 0, unit);
  CopyOrScalePyrToPyr(a.get(), b.get());
  float c[4];
  get_intcoord_unitary_color(0, 0, b.get(), b->topLevel, c);
  EXPECT_EQ(c[0], 0.5f);
  EXPECT_EQ(c[1], 0.25f);
}

TEST(PyramidCopy, MaskIntoAlpha) {
  struct Case {
    int32_t maskSize;
  } cases[] = {{64}, {128}};
  for (const Case& c : cases) {
    PyramidPtr mask = MakePyramid(c.maskSize, c.maskSize, PyramidDataKind_Byte);
    for (int32_t y = 0; y < c.maskSize; ++y)
      for (int32_t x = 0; x < c.maskSize; ++x) set_pyramid_sample_point1(x, y, mask.get(), 0, (x + y) & 127);
    PyramidPtr target = MakePyramid(128, 128, PyramidDataKind_Packed8);
    PaintLevelSolidColor(target.get(), 0, 10, 20, 30, 255);
    Copy1ToAlpha4(mask.get(), target.get(), 0);
    for (int32_t y = 0; y < 128; y += 7)
      for (int32_t x = 0; x < 128; x += 5) {
        const bool masked = x < c.maskSize && y < c.maskSize;
        EXPECT_EQ(Alpha(target.get(), x, y), masked ? (x + y) & 127 : 255) << x << ", " << y;
        EXPECT_EQ(Red(target.get(), x, y), 10);
      }
  }
  // Wrong kinds change nothing.
  PyramidPtr notMask = MakePyramid(8, 8, PyramidDataKind_Packed8);
  PyramidPtr target = MakePyramid(8, 8, PyramidDataKind_Packed8);
  Fill(notMask.get(), 0, 0);
  Fill(target.get(), 0, 50);
  Copy1ToAlpha4(notMask.get(), target.get(), 0);
  EXPECT_EQ(Alpha(target.get(), 3, 3), 255);
}

TEST(PyramidCopy, SolidAndTestPatternFills) {
  PyramidPtr k4 = MakePyramid(600, 3, PyramidDataKind_Four16);
  PaintTestPattern(k4.get());
  int32_t c[4];
  get_pyramid_sample_pointColorcall(0, 0, k4.get(), 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 0);
  EXPECT_EQ(c[1], 10880);
  EXPECT_EQ(c[2], 21760);
  EXPECT_EQ(c[3], 32640);
  get_pyramid_sample_pointColorcall(513, 2, k4.get(), 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], ((513 ^ 2) % 256) * 128);

  PyramidPtr k3 = MakePyramid(8, 8, PyramidDataKind_Packed8);
  PaintTestPattern(k3.get());
  get_pyramid_sample_pointColorcall(3, 5, k3.get(), 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 6);
  EXPECT_EQ(c[1], 91);
  EXPECT_EQ(c[2], 176);
  EXPECT_EQ(c[3], 255);

  PyramidPtr k9 = MakePyramid(4, 4, PyramidDataKind_FourFloat);
  PaintTestPattern(k9.get());
  float f[4];
  get_pyramid_sample_point128bitcall(1, 0, k9.get(), 0, &f[0], &f[1], &f[2], &f[3]);
  EXPECT_EQ(f[0], 1.0f / 255.0f);
  EXPECT_EQ(f[3], f[2]);

  PaintLevelSolidColor(k3.get(), 1, 1, 2, 3, 4);
  uint32_t word;
  EXPECT_EQ(*get_pyramid_sample_point4_raw(3, 3, k3.get(), 1, &word), 0x01020304u);
  PaintLevelSolidColor(k4.get(), 1, 5, 6, 7, 8);
  get_pyramid_sample_pointColorcall(299, 1, k4.get(), 1, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[3], 8);
}

TEST(PyramidCopy, PictureOfALevel) {
  PyramidPtr p = MakePyramid(6, 4, PyramidDataKind_Packed8);
  PaintTestPattern(p.get());
  RGBPicture* picture = MakePictFromPyr(p.get(), 1);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->width, 4);  // level 1 of 6 x 4 is 4 x 2
  EXPECT_EQ(picture->height, 2);
  EXPECT_EQ(picture->frame.right, 4);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) {
      int32_t c[4];
      get_pyramid_sample_point4call(x, y, p.get(), 1, &c[0], &c[1], &c[2], &c[3]);
      const RGBColorPI got = RGBPictureGetPixel(picture, x, y);
      EXPECT_EQ(got.red, c[0] << 8);
      EXPECT_EQ(got.blue, c[2] << 8);
    }
  DisposeRGBPicture(picture);

  PyramidPtr floats = MakePyramid(6, 4, PyramidDataKind_FourFloat);
  EXPECT_EQ(MakePictFromPyr(floats.get(), 0), nullptr);
  EXPECT_EQ(MakePictFromPyr(p.get(), p->topLevel + 1), nullptr);
  SetSystemAllocationBudget(1);  // the record, not its pixels
  EXPECT_EQ(MakePictFromPyr(p.get(), 0), nullptr);
  SetSystemAllocationBudget(-1);
}

}  // namespace
