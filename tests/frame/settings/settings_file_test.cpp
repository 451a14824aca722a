// The settings file: round trips, its layout, the embedded JPEG preview,
// and what damaged or truncated files do to the record (nothing).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "export/jpeg/jpeg_tables.h"
#include "frame/base/file_layer.h"
#include "frame/globals.h"
#include "frame/settings/persistence.h"
#include "frame/settings/settings_file.h"
#include "frame/settings/settings_file_reader.h"
#include "pyramid/pyramid_copy.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "settings_fields.h"
#include "tests/support/settings_host.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kJpegBlockOffset = 336;  // after slot 84
constexpr size_t kFileBytesWithoutPreview = 84 * 4 + 4 + 5 * 4 + 6 * 4;

// A value of every file field that no default has, that a reader keeps, and
// that the file form keeps exactly (the triples are whole hundredths).
void FillDistinct(TParameters* p) {
  int32_t n = 0;
  ForEachFileField(p, [&n](const FieldRef& f) {
    ++n;
    const auto plausible = PlausibleSettings().find(f.name);
    if (plausible != PlausibleSettings().end()) {
      if (f.type == FieldType::Int) *static_cast<int32_t*>(f.address) = int32_t(plausible->second);
      if (f.type == FieldType::Single) *static_cast<float*>(f.address) = float(plausible->second);
      return;
    }
    switch (f.type) {
      case FieldType::Int: *static_cast<int32_t*>(f.address) = (n % 2 ? -1 : 1) * (1000 + 37 * n); break;
      case FieldType::Channel: *static_cast<uint16_t*>(f.address) = uint16_t(0x8000 + 611 * n); break;
      case FieldType::Single: *static_cast<float*>(f.address) = float(n) * 1.0625f - 300.0f; break;
      case FieldType::Tenths: *static_cast<float*>(f.address) = float(n % 7) * 0.25f - 1.5f; break;
    }
  });
  p->settingsVersion = kSettingsFileVersion;
  // The two fixed-point placeholders after it always overwrite this one.
  p->legacyInt136 = 0;
}

void Scramble(TParameters* p) {
  ForEachFileField(p, [](const FieldRef& f) {
    switch (f.type) {
      case FieldType::Int: *static_cast<int32_t*>(f.address) = -7; break;
      case FieldType::Channel: *static_cast<uint16_t*>(f.address) = 7; break;
      case FieldType::Single:
      case FieldType::Tenths: *static_cast<float*>(f.address) = -7.0f; break;
    }
  });
}

void ExpectSame(const TParameters& a, const TParameters& b) {
  std::string where;
  EXPECT_TRUE(SameSettings(a, b, &where)) << where;
}

struct SettingsFileTest : testing::Test {
  ScratchFolders folders;
  std::string path = folders.Path("s.q2q");

  int32_t Write(SettingsHost& host) {
    const FSRef ref = MakeFile(path);
    return WriteSettingsFile_ref(host.globals, &ref);
  }
  int32_t Read(SettingsHost& host, int32_t mode = SettingsRead_All, uint8_t* previewRead = nullptr) {
    const FSRef ref = RefOf(path);
    return ReadSettingsFileSwitchably(host.globals, &ref, 0, mode, previewRead);
  }
};

TEST_F(SettingsFileTest, DefaultsAndDistinctValuesComeBackBitForBit) {
  for (const bool distinct : {false, true}) {
    for (const bool withPreview : {false, true}) {
      SettingsHost host(withPreview);
      TParameters* p = host.Settings();
      if (distinct) FillDistinct(p);
      ASSERT_EQ(Write(host), 0);
      TParameters written;
      std::memcpy(&written, p, sizeof written);
      Scramble(p);
      uint8_t previewRead = 9;
      ASSERT_EQ(Read(host, SettingsRead_All, &previewRead), 0);
      EXPECT_EQ(previewRead, withPreview ? 1 : 0);
      ExpectSame(*p, written);
    }
  }
}

TEST_F(SettingsFileTest, LayoutWithoutAPreview) {
  SettingsHost host(false);
  host.Settings()->anamorphic = 0x01020304;
  host.Settings()->edgesOn = 5;
  ASSERT_EQ(Write(host), 0);
  const Bytes bytes = ReadWholeFile(path);
  ASSERT_EQ(bytes.size(), kFileBytesWithoutPreview);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0, 0, 0, 47}));
  EXPECT_EQ(Bytes(bytes.begin() + 332, bytes.begin() + 344), (Bytes{0, 0, 0, 5, 0, 0, 0, 0, 1, 2, 3, 4}));
  // Slot 66 (the uncompressed preview) is a lone 0, slots 70 and 71 are -1.
  EXPECT_EQ(Bytes(bytes.begin() + 260, bytes.begin() + 264), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(Bytes(bytes.begin() + 276, bytes.begin() + 284), Bytes(8, 0xFF));
}

TEST_F(SettingsFileTest, RewritingAShorterFileLeavesNoOldTail) {
  SettingsHost host(false);
  WriteWholeFile(path, Bytes(100000, 0xEE));
  ASSERT_EQ(Write(host), 0);
  EXPECT_EQ(ReadWholeFile(path).size(), kFileBytesWithoutPreview);
}

// The JPEG block as it stands in the file: flag, width, height, length, data.
struct JpegBlock {
  int32_t flag = 0, width = 0, height = 0, length = 0;
  Bytes data;
};

int32_t Big32(const Bytes& b, size_t at) {
  return int32_t(uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3]);
}

JpegBlock CutOutPreview(const Bytes& file) {
  JpegBlock block;
  block.flag = Big32(file, kJpegBlockOffset);
  block.width = Big32(file, kJpegBlockOffset + 4);
  block.height = Big32(file, kJpegBlockOffset + 8);
  block.length = Big32(file, kJpegBlockOffset + 12);
  const size_t start = kJpegBlockOffset + 16;
  block.data.assign(file.begin() + long(start), file.begin() + long(start + size_t(block.length)));
  return block;
}

void PaintPattern(Globals* g) {
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) set_pyramid_sample_point4(x, y, &g->previewPyramid, 0, 2 * x, 2 * y, 128, 255);
}

TEST_F(SettingsFileTest, ThePreviewIsABaseline128JpegWithOurQuality80Tables) {
  SettingsHost host;
  PaintPattern(host.globals);
  ASSERT_EQ(Write(host), 0);
  const Bytes file = ReadWholeFile(path);
  const JpegBlock block = CutOutPreview(file);
  EXPECT_EQ(block.flag, 1);
  EXPECT_EQ(block.width, 128);
  EXPECT_EQ(block.height, 128);
  ASSERT_GT(block.length, 0);
  ASSERT_LE(block.length, kSettingsPreviewMaxBytes);
  EXPECT_EQ(file.size(), kFileBytesWithoutPreview + 12 + size_t(block.length));

  jpeg_decompress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_decompress(&c);
  jpeg_mem_src(&c, block.data.data(), block.data.size());
  ASSERT_EQ(jpeg_read_header(&c, TRUE), JPEG_HEADER_OK);
  EXPECT_EQ(c.image_width, 128u);
  EXPECT_EQ(c.image_height, 128u);
  EXPECT_EQ(c.num_components, 3);
  EXPECT_FALSE(c.progressive_mode);
  EXPECT_FALSE(c.arith_code);
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(c.quant_tbl_ptrs[0]->quantval[i], qtable0[8][i]) << i;
    EXPECT_EQ(c.quant_tbl_ptrs[1]->quantval[i], qtable1[8][i]) << i;
  }
  EXPECT_EQ(c.comp_info[0].h_samp_factor, 1);
  jpeg_destroy_decompress(&c);

  // The stand-alone decoder agrees: a baseline frame (SOF0) of 128 x 128.
  const std::string jpg = folders.Path("preview.jpg");
  WriteWholeFile(jpg, block.data);
  const std::string command = "djpeg -verbose -verbose '" + jpg + "' 2>&1 >/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char chunk[512];
  while (size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) out.append(chunk, n);
  if (::pclose(pipe) != 0 && out.find("not found") != std::string::npos) GTEST_SKIP() << "no djpeg";
  EXPECT_NE(out.find("Start Of Frame 0xc0: width=128, height=128, components=3"), std::string::npos) << out;
  // Its first quantisation table, in natural order, is row 8 of ours.
  std::istringstream lines(out.substr(out.find("Define Quantization Table 0")));
  std::string skip;
  std::getline(lines, skip);
  for (int i = 0; i < 64; ++i) {
    uint32_t v = 0;
    lines >> v;
    EXPECT_EQ(v, qtable0[8][i]) << i;
  }
}

TEST_F(SettingsFileTest, PreviewOnlyReadsLeaveTheSettingsAlone) {
  SettingsHost writer;
  PaintPattern(writer.globals);
  FillDistinct(writer.Settings());
  ASSERT_EQ(Write(writer), 0);

  SettingsHost reader;
  TParameters before;
  std::memcpy(&before, reader.Settings(), sizeof before);
  uint8_t previewRead = 0;
  ASSERT_EQ(Read(reader, SettingsRead_PreviewOnly, &previewRead), 0);
  EXPECT_EQ(previewRead, 1);
  ExpectSame(*reader.Settings(), before);
  EXPECT_EQ(reader.globals->previewWidth, 128);
  int32_t r, g, b, a;
  get_pyramid_sample_point4(100, 20, &reader.globals->previewPyramid, 0, &r, &g, &b, &a);
  EXPECT_NEAR(r, 200, 6);
  EXPECT_NEAR(g, 40, 6);
  EXPECT_NEAR(b, 128, 6);
  EXPECT_EQ(a, 255);
}

// Any prefix of a good file is a damaged file: the reader says so and the
// record keeps every value it had.
TEST_F(SettingsFileTest, EveryTruncationIsAnErrorAndChangesNothing) {
  SettingsHost writer;
  PaintPattern(writer.globals);
  FillDistinct(writer.Settings());
  ASSERT_EQ(Write(writer), 0);
  const Bytes whole = ReadWholeFile(path);

  SettingsHost reader;
  TParameters before;
  std::memcpy(&before, reader.Settings(), sizeof before);
  for (size_t n = 0; n < whole.size(); n += (n < 400 || n + 40 > whole.size()) ? 1 : 37) {
    WriteWholeFile(path, Bytes(whole.begin(), whole.begin() + long(n)));
    const int32_t e = Read(reader);
    EXPECT_NE(e, 0) << n;
    if (n == 0) {
      EXPECT_EQ(e, kSettingsFileEmpty);
    }
    ExpectSame(*reader.Settings(), before);
  }
  EXPECT_EQ(FSOpenForkCount(), 0);
}

TEST_F(SettingsFileTest, DamagedHeadersAreRefused) {
  SettingsHost writer(false);
  ASSERT_EQ(Write(writer), 0);
  const Bytes good = ReadWholeFile(path);
  auto withWord = [&good](size_t at, uint32_t v) {
    Bytes b = good;
    b[at] = uint8_t(v >> 24);
    b[at + 1] = uint8_t(v >> 16);
    b[at + 2] = uint8_t(v >> 8);
    b[at + 3] = uint8_t(v);
    return b;
  };
  Bytes negativeLength = good;
  const Bytes header{0, 0, 0, 1, 0, 0, 0, 128, 0, 0, 0, 128, 0xFF, 0xFF, 0xFF, 0xF0};
  negativeLength.erase(negativeLength.begin() + kJpegBlockOffset, negativeLength.begin() + kJpegBlockOffset + 4);
  negativeLength.insert(negativeLength.begin() + kJpegBlockOffset, header.begin(), header.end());
  // Slot 66 holds the uncompressed preview block: give it a header.
  auto withUncompressed = [&good](int32_t width, int32_t height) {
    Bytes b = good;
    Bytes header;
    for (int32_t v : {1, width, height})
      for (int k = 3; k >= 0; --k) header.push_back(uint8_t(uint32_t(v) >> (8 * k)));
    b.erase(b.begin() + 260, b.begin() + 264);
    b.insert(b.begin() + 260, header.begin(), header.end());
    return b;
  };
  const struct {
    const char* what;
    Bytes bytes;
    int32_t expected;
  } cases[] = {
      {"uncompressed preview of 2^31 x 2^31", withUncompressed(INT32_MAX, INT32_MAX), kEndOfFile},
      {"uncompressed preview of negative width", withUncompressed(-3, 2), kSettingsFileDamaged},
      {"version 48", withWord(0, 48), kSettingsFileUnknownVersion},
      {"version -1", withWord(0, 0xFFFFFFFF), kSettingsFileUnknownVersion},
      {"negative JPEG length", negativeLength, kSettingsFileDamaged},
      {"a stray tail is fine", [&good] { Bytes b = good; b.push_back(1); return b; }(), 0},
  };
  for (const auto& c : cases) {
    SettingsHost reader(false);
    TParameters before;
    std::memcpy(&before, reader.Settings(), sizeof before);
    WriteWholeFile(path, c.bytes);
    EXPECT_EQ(Read(reader), c.expected) << c.what;
    if (c.expected != 0) {
      ExpectSame(*reader.Settings(), before);
    }
  }
}

// An older file's uncompressed preview: read whole, it fills the preview,
// scaled up, and the preview's coarser levels follow it; cut short inside
// the block, the preview is the blank ramp, whatever it showed before.
TEST_F(SettingsFileTest, AnUncompressedPreviewFillsThePreviewOrLeavesItBlank) {
  SettingsHost writer(false);
  ASSERT_EQ(Write(writer), 0);
  const Bytes good = ReadWholeFile(path);
  Bytes block;
  for (int32_t v : {1, 2, 2})
    for (int k = 3; k >= 0; --k) block.push_back(uint8_t(uint32_t(v) >> (8 * k)));
  for (int i = 0; i < 4; ++i) block.insert(block.end(), {200, 40, 10});
  // Slot 66 is where the block stands (in the good file a lone 0); a file of
  // version 39 has it and no JPEG block after it.
  Bytes whole = good;
  whole[3] = 39;
  whole.erase(whole.begin() + 260, whole.begin() + 264);
  whole.insert(whole.begin() + 260, block.begin(), block.end());
  const Bytes cut(whole.begin(), whole.begin() + 260 + 12 + 5);

  for (const bool complete : {true, false}) {
    SettingsHost reader;
    PyramidDescriptor* preview = &reader.globals->previewPyramid;
    PaintLevelSolidColor(preview, 0, 0, 0, 255, 255);
    WriteWholeFile(path, complete ? whole : cut);
    uint8_t previewRead = 9;
    const int32_t e = Read(reader, SettingsRead_PreviewOnly, &previewRead);
    EXPECT_EQ(e == 0, complete) << e;
    EXPECT_EQ(previewRead, complete ? 1 : 0);
    EXPECT_EQ(reader.globals->previewWidth, complete ? 2 : 0);
    const struct {
      int32_t level, x, y;
    } points[] = {{0, 64, 0}, {0, 64, 127}, {preview->topLevel, 0, 0}};
    for (const auto& at : points) {
      int32_t r, g, b, a;
      get_pyramid_sample_point4(at.x, at.y, preview, at.level, &r, &g, &b, &a);
      if (complete) {
        // Each reduction may round a step away.
        const int32_t slack = 1 + at.level;
        EXPECT_NEAR(r, 200, slack) << at.level << " " << at.y;
        EXPECT_NEAR(g, 40, slack) << at.level << " " << at.y;
        EXPECT_NEAR(b, 10, slack) << at.level << " " << at.y;
      } else if (at.level == 0) {
        EXPECT_EQ(r, 255 - at.y) << at.y;
        EXPECT_EQ(b, 255 - at.y) << at.y;
      }
    }
  }
}

// An oversized JPEG (wider and taller than the preview) and one that is not
// a JPEG at all: the settings are read either way; only the first gives a
// preview, cut to what fits.
TEST_F(SettingsFileTest, OddJpegBlocksNeverOverrunThePreview) {
  SettingsHost writer(false);
  ASSERT_EQ(Write(writer), 0);
  const Bytes file = ReadWholeFile(path);  // its JPEG block is the lone flag 0

  // A 300 x 200 JPEG, coded by libjpeg itself.
  std::vector<uint8_t> rgb(300 * 200 * 3, 90);
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&c, &out, &outSize);
  c.image_width = 300;
  c.image_height = 200;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = &rgb[c.next_scanline * 900];
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  const Bytes bigJpeg(out, out + outSize);
  std::free(out);

  for (const bool garbage : {false, true}) {
    Bytes edited(file.begin(), file.begin() + kJpegBlockOffset);
    const Bytes data = garbage ? Bytes(1000, 0x5A) : bigJpeg;
    for (int32_t v : {1, 300, 200, int32_t(data.size())})
      for (int k = 3; k >= 0; --k) edited.push_back(uint8_t(uint32_t(v) >> (8 * k)));
    edited.insert(edited.end(), data.begin(), data.end());
    edited.insert(edited.end(), file.begin() + kJpegBlockOffset + 4, file.end());
    WriteWholeFile(path, edited);
    SettingsHost reader;
    reader.Settings()->tissotOn = 12345;
    uint8_t previewRead = 9;
    ASSERT_EQ(Read(reader, SettingsRead_All, &previewRead), 0) << garbage;
    EXPECT_EQ(reader.Settings()->tissotOn, 0) << garbage;
    EXPECT_EQ(previewRead, garbage ? 0 : 1);
    if (!garbage) {
      EXPECT_EQ(reader.globals->previewWidth, 128);
      int32_t r, g, b, a;
      get_pyramid_sample_point4(127, 127, &reader.globals->previewPyramid, 0, &r, &g, &b, &a);
      EXPECT_NEAR(r, 90, 3);
    }
  }
}

TEST_F(SettingsFileTest, OutOfRangeValuesFromAFileGoBackToTheirDefaults) {
  SettingsHost writer(false);
  writer.Settings()->outputMode = 9999;
  writer.Settings()->glueMode = 0;
  writer.Settings()->viewAngle = std::bit_cast<float>(0x7FC00000u);  // NaN
  writer.Settings()->legacyInt80 = -123456;  // kept only for files: any value
  ASSERT_EQ(Write(writer), 0);
  SettingsHost reader(false);
  ASSERT_EQ(Read(reader), 0);
  EXPECT_EQ(reader.Settings()->outputMode, 1);
  EXPECT_EQ(reader.Settings()->glueMode, 1);
  EXPECT_EQ(reader.Settings()->viewAngle, 120.0f);
  EXPECT_EQ(reader.Settings()->legacyInt80, -123456);
}

TEST_F(SettingsFileTest, WriteFailuresAreReported) {
  SettingsHost host(false);
  const FSRef ref = MakeFile(path);
  int16_t fork = 0;
  ASSERT_EQ(OpenAFileRef(&ref, &fork, 0, FileKind_Reading), 0);
  EXPECT_EQ(ParametersOutToFile(host.globals, fork), kWritePermission);
  ZorCloseFile(fork);
  // A folder where the file should be cannot be written either.
  ::mkdir(folders.Path("folder.q2q").c_str(), 0755);
  const FSRef folder = RefOf(folders.Path("folder.q2q"));
  EXPECT_EQ(WriteSettingsFile_ref(host.globals, &folder), kNotAFile);
}

}  // namespace
