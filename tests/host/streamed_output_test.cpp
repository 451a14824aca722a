// The file coded while the rows come back is the file coded at the end, or
// nothing: every way the rows can come that the stream cannot vouch for
// gives the end's coding instead.
#include "host/streamed_output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/io/jpeg_io.h"
#include "host/io/png_io.h"

namespace gyhost {
namespace {

constexpr int32_t kWidth = 64, kHeight = 40;

uint8_t Sample(int32_t x, int32_t y, int32_t c, int32_t salt) { return uint8_t(x * 7 + y * 13 + c * 50 + salt); }

std::vector<uint8_t> CodedAtTheEnd(ImageFormat format, const HostImage& image) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* f = open_memstream(&buffer, &size);
  std::string error;
  const bool ok = format == ImageFormat::Png ? WritePng(f, image, -1, &error) : WriteJpeg(f, image, &error);
  std::fclose(f);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  EXPECT_TRUE(ok) << error;
  return bytes;
}

struct Stream {
  HostImage picture;
  ImageMetadata meta;
  StreamedOutput out;
  explicit Stream(ImageFormat format, bool alpha = false)
      : meta(ImageMetadata{{}, {}, {'x', 'm', 'p'}, 0}), out(format, meta, WriteOptions{}) {
    EXPECT_TRUE(ResizeHostImageZeroed(&picture, kWidth, kHeight, 3, alpha, SampleType::U8));
    picture.meta = meta;
    out.Begin(&picture);
  }
  // What the host does for one rectangle the filter hands back.
  void Commit(int32_t top, int32_t bottom, int32_t left, int32_t right, int32_t salt) {
    out.Writing(top, bottom, left, right);
    for (int32_t y = top; y < bottom; ++y)
      for (int32_t x = left; x < right; ++x)
        for (int32_t c = 0; c < PlaneCount(picture); ++c) PixelAddress(picture, x, y)[c] = Sample(x, y, c, salt);
    out.Wrote(top, bottom, left, right);
  }
};

// The last pass as the filter runs it: a pixel handed back while the
// image is read, row 0 twice as the pass starts, then row after row (and
// a band of rows); the file is the one coded from the finished picture.
TEST(StreamedOutput, RowsInTurnGiveTheFileCodedAtTheEnd) {
  for (ImageFormat format : {ImageFormat::Png, ImageFormat::Jpeg}) {
    for (bool alpha : {false, true}) {
      Stream s(format, alpha);
      s.Commit(0, 1, 0, 1, 3);
      s.Commit(0, 1, 0, kWidth, 0);
      s.Commit(0, 1, 0, kWidth, 1);
      for (int32_t y = 1; y < 30; ++y) s.Commit(y, y + 1, 0, kWidth, 1);
      s.Commit(30, kHeight, 0, kWidth, 1);
      std::vector<uint8_t> bytes;
      ASSERT_TRUE(s.out.Finish(s.meta, &bytes));
      EXPECT_EQ(bytes, CodedAtTheEnd(format, s.picture)) << (format == ImageFormat::Png ? "PNG" : "JPEG");
    }
  }
}

// Every way the stream cannot vouch for: it answers false, and the host
// codes the finished picture instead.
TEST(StreamedOutput, AnyOtherOrderIsLeftToTheEnd) {
  struct Case {
    const char* what;
    void (*rows)(Stream* s);
    bool sameMeta;
  };
  const Case cases[] = {
      {"a coded row written again",
       [](Stream* s) {
         for (int32_t y = 0; y < kHeight; ++y) s->Commit(y, y + 1, 0, kWidth, 1);
         s->Commit(5, 6, 10, 20, 9);
       },
       true},
      {"the last row never written",
       [](Stream* s) {
         for (int32_t y = 0; y + 1 < kHeight; ++y) s->Commit(y, y + 1, 0, kWidth, 1);
       },
       true},
      {"rows out of turn",
       [](Stream* s) {
         for (int32_t y = kHeight - 1; y >= 0; --y) s->Commit(y, y + 1, 0, kWidth, 1);
       },
       true},
      {"only part of a row",
       [](Stream* s) {
         for (int32_t y = 0; y < kHeight; ++y) s->Commit(y, y + 1, 0, y == 7 ? kWidth - 1 : kWidth, 1);
       },
       true},
      {"other metadata at the end",
       [](Stream* s) {
         for (int32_t y = 0; y < kHeight; ++y) s->Commit(y, y + 1, 0, kWidth, 1);
       },
       false},
  };
  for (const Case& c : cases) {
    Stream s(ImageFormat::Png);
    c.rows(&s);
    ImageMetadata meta = s.meta;
    if (!c.sameMeta) meta.xmp.clear();
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(s.out.Finish(meta, &bytes)) << c.what;
    EXPECT_TRUE(bytes.empty()) << c.what;
  }
}

// A run that stops (a failed or cancelled filter) leaves a coder waiting
// for rows: dropping the stream, or letting it go, ends it at once.
TEST(StreamedOutput, StoppingLeavesNoCoderWaiting) {
  {
    Stream s(ImageFormat::Jpeg);
    s.Commit(0, 3, 0, kWidth, 1);
    s.Commit(3, 4, 0, kWidth, 1);
    s.out.Drop();
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(s.out.Finish(s.meta, &bytes));
  }
  { Stream s(ImageFormat::Png); }
  // Formats that code in parallel at the end are never streamed.
  HostImage picture;
  ASSERT_TRUE(ResizeHostImageZeroed(&picture, kWidth, kHeight, 3, false, SampleType::U8));
  StreamedOutput tiff(ImageFormat::Tiff, ImageMetadata{}, WriteOptions{});
  tiff.Begin(&picture);
  tiff.Wrote(0, kHeight, 0, kWidth);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(tiff.Finish(ImageMetadata{}, &bytes));
}

}  // namespace
}  // namespace gyhost
