// The in-memory JPEG coder: sizes, quality rows and their tables, grey and
// colour decoding, and the bounds it keeps whatever it is handed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "export/jpeg/jpeg_coder.h"
#include "export/jpeg/jpeg_tables.h"
#include "export/preset_preview.h"
#include "frame/globals.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "tests/support/settings_host.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Picture {
  PyramidDescriptor p{};
  Picture(int w, int h, int kind = PyramidDataKind_Packed8) {
    InitPyramidProcs(&p, nullptr, nullptr);
    EXPECT_TRUE(TryToAllocatePyramid_2006(&p, w, h, kind, 0));
  }
  ~Picture() { DisposePyramidData(&p); }
};

Bytes Compress(const PyramidDescriptor* source, int w, int h, int16_t quality, uint8_t library = 0) {
  Bytes buffer(200000);
  uint32_t length = 0;
  const Rect area{0, 0, int16_t(h), int16_t(w)};
  EXPECT_EQ(CompressJPEG(source, &area, buffer.data(), uint32_t(buffer.size()), quality, library, &length, 0,
                         nullptr, nullptr, nullptr),
            kJpegOK);
  buffer.resize(length);
  return buffer;
}

// What libjpeg itself reads from a stream's header.
struct Header {
  int width = 0, height = 0, components = 0, lumaH = 0, lumaV = 0;
  bool progressive = true;
  unsigned luma[64] = {}, chroma[64] = {};
};

Header ReadHeader(const Bytes& jpeg) {
  Header h;
  jpeg_decompress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_decompress(&c);
  jpeg_mem_src(&c, jpeg.data(), jpeg.size());
  if (jpeg_read_header(&c, TRUE) == JPEG_HEADER_OK) {
    h.width = int(c.image_width);
    h.height = int(c.image_height);
    h.components = c.num_components;
    h.lumaH = c.comp_info[0].h_samp_factor;
    h.lumaV = c.comp_info[0].v_samp_factor;
    h.progressive = c.progressive_mode;
    for (int i = 0; i < 64; ++i) {
      h.luma[i] = c.quant_tbl_ptrs[0]->quantval[i];
      h.chroma[i] = c.quant_tbl_ptrs[1] ? c.quant_tbl_ptrs[1]->quantval[i] : 0;
    }
  }
  jpeg_destroy_decompress(&c);
  return h;
}

// The rows of the tables as printed for the coder, checked against what
// the generator committed.
TEST(JpegTables, HoldThePrintedRowsAndRanges) {
  const struct {
    const uint32_t (*table)[64];
    int row;
    uint32_t begins[8];
    uint32_t lo, hi;
  } rows[] = {
      {qtable0, 0, {20, 17, 26, 41, 51, 39, 34, 17}, 12, 51},
      {qtable0, 5, {13, 7, 7, 13, 15, 18, 20, 17}, 7, 20},
      {qtable0, 9, {1, 1, 1, 1, 2, 2, 2, 3}, 1, 8},
      {qtable1, 0, {21, 26, 33, 34, 20, 20, 17, 17}, 12, 34},
      {qtable1, 9, {1, 1, 2, 4, 7, 8, 8, 8}, 1, 8},
  };
  for (const auto& r : rows) {
    const uint32_t* row = r.table[r.row];
    EXPECT_TRUE(std::equal(r.begins, r.begins + 8, row)) << r.row;
    EXPECT_EQ(*std::min_element(row, row + 64), r.lo) << r.row;
    EXPECT_EQ(*std::max_element(row, row + 64), r.hi) << r.row;
  }
  EXPECT_EQ(*std::min_element(qtable0[10], qtable0[10] + 64), 1u);
  EXPECT_EQ(*std::max_element(qtable0[10], qtable0[10] + 64), 3u);
  // Coarse to fine: no value grows from one row to the next.
  for (const auto* table : {qtable0, qtable1})
    for (int r = 0; r + 1 < kJpegQualityRows; ++r)
      for (int i = 0; i < 64; ++i) EXPECT_GE(table[r][i], table[r + 1][i]) << r << " " << i;
  for (int r = 0; r < kJpegQualityRows; ++r) EXPECT_EQ(hvsample0[r].horizontal, r < 5 ? 2 : 1);
}

// Each quality tenth codes with its own row and sampling; quality clamps.
TEST(JpegCoder, QualityPicksTheRow) {
  Picture pic(32, 32);
  for (const int quality : {0, 9, 45, 50, 80, 99, 100, 250, -5}) {
    const int row = std::clamp(quality, 0, 99) / 10;
    const Header h = ReadHeader(Compress(&pic.p, 32, 32, int16_t(quality)));
    EXPECT_FALSE(h.progressive);
    EXPECT_EQ(h.lumaH, row < 5 ? 2 : 1) << quality;
    EXPECT_EQ(h.lumaV, row < 5 ? 2 : 1) << quality;
    EXPECT_TRUE(std::equal(h.luma, h.luma + 64, qtable0[row])) << quality;
    EXPECT_TRUE(std::equal(h.chroma, h.chroma + 64, qtable1[row])) << quality;
  }
  EXPECT_EQ(Compress(&pic.p, 32, 32, 100), Compress(&pic.p, 32, 32, 99));
  // The library's own scaling is the other choice; it is not our table.
  const Header lib = ReadHeader(Compress(&pic.p, 32, 32, 50, 1));
  EXPECT_FALSE(std::equal(lib.luma, lib.luma + 64, qtable0[5]));
}

TEST(JpegCoder, SmallAreasGrowTo16WithTheirEdgesRepeated) {
  Picture pic(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) set_pyramid_sample_point4(x, y, &pic.p, 0, 40 * x + 10, 100 * y + 20, 200, 255);
  const Bytes jpeg = Compress(&pic.p, 5, 3, 99);
  const Header h = ReadHeader(jpeg);
  EXPECT_EQ(h.width, 16);
  EXPECT_EQ(h.height, 16);

  Picture back(16, 16);
  const Rect area{0, 0, 16, 16};
  ASSERT_EQ(DecompressJPEG(&back.p, &area, jpeg.data(), uint32_t(jpeg.size())), kJpegOK);
  auto at = [&back](int x, int y, int k) {
    int32_t c[4];
    get_pyramid_sample_point4(x, y, &back.p, 0, &c[0], &c[1], &c[2], &c[3]);
    return c[k];
  };
  for (const auto& [x, y, sx, sy] : {std::array{15, 0, 4, 0}, std::array{15, 15, 4, 2}, std::array{2, 15, 2, 2}}) {
    EXPECT_NEAR(at(x, y, 0), 40 * sx + 10, 8) << x << "," << y;
    EXPECT_NEAR(at(x, y, 1), 100 * sy + 20, 8) << x << "," << y;
    EXPECT_EQ(at(x, y, 3), 255);
  }
}

Bytes GreyJpeg(int w, int h, uint8_t value) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = 1;
  c.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(size_t(w), value);
  while (c.next_scanline < c.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes bytes(out, out + size);
  std::free(out);
  return bytes;
}

TEST(JpegCoder, GreyAndColourDecodeIntoEitherKindOfTarget) {
  const Bytes grey = GreyJpeg(8, 8, 100);
  Picture four(8, 8), one(8, 8, PyramidDataKind_Byte);
  const Rect area{0, 0, 8, 8};
  ASSERT_EQ(DecompressJPEG(&four.p, &area, grey.data(), uint32_t(grey.size())), kJpegOK);
  int32_t r, g, b, a;
  get_pyramid_sample_point4(3, 3, &four.p, 0, &r, &g, &b, &a);
  EXPECT_NEAR(r, 100, 1);
  EXPECT_EQ(r, g);
  EXPECT_EQ(g, b);
  EXPECT_EQ(a, 255);
  ASSERT_EQ(DecompressJPEG(&one.p, &area, grey.data(), uint32_t(grey.size())), kJpegOK);

  Picture red(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) set_pyramid_sample_point4(x, y, &red.p, 0, 250, 0, 0, 255);
  const Bytes colour = Compress(&red.p, 8, 8, 95);
  ASSERT_EQ(DecompressJPEG(&one.p, &area, colour.data(), uint32_t(colour.size())), kJpegOK);
  uint8_t v = *static_cast<uint8_t*>(PyramidPixelAddress(&one.p, 0, 4, 4));
  EXPECT_NEAR(v, (77 * 250) >> 8, 4);
  Picture floats(8, 8, PyramidDataKind_FourFloat);
  EXPECT_EQ(DecompressJPEG(&floats.p, &area, colour.data(), uint32_t(colour.size())), kJpegFailed);
}

// A buffer one byte too small fails cleanly and nothing beyond it is touched;
// damaged and cut streams fail; nothing ends the process.
TEST(JpegCoder, BoundsHoldForBuffersAndStreams) {
  Picture pic(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) set_pyramid_sample_point4(x, y, &pic.p, 0, x * 4, (x ^ y) * 4, y * 4, 255);
  const Bytes good = Compress(&pic.p, 64, 64, 80);
  const Rect area{0, 0, 64, 64};
  for (const uint32_t size : {uint32_t(good.size()) - 1, 100u, 0u}) {
    Bytes buffer(size + 64, 0xCD);
    uint32_t length = 77;
    EXPECT_EQ(CompressJPEG(&pic.p, &area, buffer.data(), size, 80, 0, &length, 0, nullptr, nullptr, nullptr),
              kJpegFailed)
        << size;
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(std::all_of(buffer.begin() + size, buffer.end(), [](uint8_t b) { return b == 0xCD; })) << size;
  }
  Bytes exact(good.size());
  uint32_t length = 0;
  EXPECT_EQ(CompressJPEG(&pic.p, &area, exact.data(), uint32_t(exact.size()), 80, 0, &length, 0, nullptr, nullptr,
                         nullptr),
            kJpegOK);
  EXPECT_EQ(exact, good);

  Picture target(64, 64);
  Bytes damaged = good;
  for (size_t i = good.size() / 2; i < good.size(); i += 7) damaged[i] = uint8_t(i);
  const Bytes garbage(5000, 0x42);
  for (const Bytes* stream : {&garbage, static_cast<const Bytes*>(&damaged)}) {
    // A damaged stream may still decode to something; it must not crash.
    DecompressJPEG(&target.p, &area, stream->data(), uint32_t(stream->size()));
  }
  EXPECT_EQ(DecompressJPEG(&target.p, &area, garbage.data(), uint32_t(garbage.size())), kJpegFailed);
  for (const size_t cut : {size_t(0), size_t(2), size_t(200), good.size() - 3})
    EXPECT_EQ(DecompressJPEG(&target.p, &area, good.data(), uint32_t(cut)), kJpegFailed) << cut;
  EXPECT_EQ(DecompressJPEG(nullptr, &area, good.data(), uint32_t(good.size())), kJpegFailed);
  PyramidDescriptor empty{};
  EXPECT_EQ(CompressJPEG(&empty, &area, exact.data(), 10, 80, 0, &length, 0, nullptr, nullptr, nullptr),
            kJpegFailed);
}

TEST(JpegCoder, TheCommentAndIccProfileFollowTheHeader) {
  Picture pic(16, 16);
  Bytes icc(70000);
  for (size_t i = 0; i < icc.size(); ++i) icc[i] = uint8_t(i * 13);
  Bytes buffer(300000);
  uint32_t length = 0;
  const Rect area{0, 0, 16, 16};
  ASSERT_EQ(CompressJPEG(&pic.p, &area, buffer.data(), uint32_t(buffer.size()), 80, 0, &length, uint32_t(icc.size()),
                         icc.data(), nullptr, nullptr),
            kJpegOK);
  buffer.resize(length);
  const Bytes comment{0xFF, 0xFE, 0x00, 0x1E};
  const auto at = std::search(buffer.begin(), buffer.end(), comment.begin(), comment.end());
  ASSERT_NE(at, buffer.end());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&*(at + 4))), kJpegComment);

  jpeg_decompress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_decompress(&c);
  jpeg_mem_src(&c, buffer.data(), buffer.size());
  jpeg_save_markers(&c, JPEG_APP0 + 2, 0xFFFF);
  ASSERT_EQ(jpeg_read_header(&c, TRUE), JPEG_HEADER_OK);
  JOCTET* profile = nullptr;
  unsigned int profileLength = 0;
  ASSERT_TRUE(jpeg_read_icc_profile(&c, &profile, &profileLength));
  EXPECT_EQ(Bytes(profile, profile + profileLength), icc);
  std::free(profile);
  jpeg_destroy_decompress(&c);
}

TEST(PresetPreview, BlankRampAndCopiesBothWays) {
  SettingsHost host;
  Build_blank_preview(host.globals);
  for (const int y : {0, 1, 64, 127}) {
    int32_t r, g, b, a;
    get_pyramid_sample_point4(77, y, &host.globals->previewPyramid, 0, &r, &g, &b, &a);
    EXPECT_EQ(r, 255 - y);
    EXPECT_EQ(b, 255 - y);
    EXPECT_EQ(a, 255);
  }
  Picture small(32, 32);
  CopyPreviewIntoPyramid(host.globals, &small.p);
  int32_t r, g, b, a;
  get_pyramid_sample_point4(5, 31, &small.p, 0, &r, &g, &b, &a);
  EXPECT_NEAR(r, 255 - 125.5, 1.0);  // the mean of rows 124 to 127
  Picture same(128, 128);
  CopyPreviewIntoPyramid(host.globals, &same.p);
  get_pyramid_sample_point4(5, 100, &same.p, 0, &r, &g, &b, &a);
  EXPECT_EQ(r, 155);

  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) set_pyramid_sample_point4(x, y, &small.p, 0, 8 * x, 0, 0, 255);
  CopyPyramidIntoPreview(host.globals, &small.p);
  get_pyramid_sample_point4(127, 0, &host.globals->previewPyramid, 0, &r, &g, &b, &a);
  EXPECT_EQ(r, 8 * 31);
  // Without a preview nothing happens, and nothing fails.
  SettingsHost bare(false);
  Build_blank_preview(bare.globals);
  CopyPyramidIntoPreview(bare.globals, &small.p);
  CopyPreviewIntoPyramid(bare.globals, &small.p);
}

}  // namespace
