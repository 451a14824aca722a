// Image files: format detection, sample conversions, and each format written
// and read back.
#include "host/io/image_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace gyhost {
namespace {

// One scratch directory for the suite, removed when the program ends.
struct ScratchFolder {
  ScratchFolder() {
    char pattern[] = "/tmp/gyrelle-io-XXXXXX";
    const char* made = mkdtemp(pattern);
    path = made ? made : "";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  std::string path;
};

std::string TempPath(const std::string& name) {
  static const ScratchFolder folder;
  return folder.path + "/" + name;
}

void Fill(HostImage* image) {
  const int32_t planes = PlaneCount(*image);
  for (int32_t y = 0; y < image->height; ++y) {
    for (int32_t x = 0; x < image->width; ++x) {
      for (int32_t p = 0; p < planes; ++p) {
        const int32_t k = (y * image->width + x) * planes + p;
        uint8_t* at = PixelAddress(*image, x, y) + p * BytesPerSample(image->type);
        if (image->type == SampleType::U8) *at = uint8_t((k * 37) & 255);
        if (image->type == SampleType::U16) {
          const uint16_t v = uint16_t((k * 1237) % (kHost16Max + 1));
          std::memcpy(at, &v, 2);
        }
        if (image->type == SampleType::F32) {
          const float v = float(k) / 7.0f - 0.5f;  // also below 0 and above 1
          std::memcpy(at, &v, 4);
        }
      }
    }
  }
}

TEST(ImageSamples, SixteenBitFilesMapToHostScaleWithinOneStep) {
  EXPECT_EQ(File16ToHost(0), 0);
  EXPECT_EQ(File16ToHost(65535), kHost16Max);
  EXPECT_EQ(HostToFile16(kHost16Max), 65535);
  EXPECT_EQ(HostToFile16(40000), 65535);  // beyond full scale clamps
  for (uint32_t v = 0; v <= 65535; ++v) {
    const int back = HostToFile16(File16ToHost(uint16_t(v)));
    ASSERT_LE(std::abs(back - int(v)), 1) << v;
  }
  for (uint32_t h = 0; h <= kHost16Max; ++h) ASSERT_EQ(File16ToHost(HostToFile16(uint16_t(h))), h) << h;
  EXPECT_EQ(FloatToFile8(std::nanf("")), 0);
  EXPECT_EQ(FloatToFile8(2.0f), 255);
  EXPECT_EQ(FloatToFile16(0.5f), 32768);
}

TEST(ImageFiles, FormatsComeFromSignatureAndName) {
  const unsigned char png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  const unsigned char text[] = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_EQ(FormatFromSignature(png, sizeof png), ImageFormat::Png);
  EXPECT_EQ(FormatFromSignature(png, 4), ImageFormat::Unknown);
  EXPECT_EQ(FormatFromSignature(text, sizeof text), ImageFormat::Unknown);
  EXPECT_EQ(FormatFromExtension("a/b.JPEG"), ImageFormat::Jpeg);
  EXPECT_EQ(FormatFromExtension("x.tif"), ImageFormat::Tiff);
  EXPECT_EQ(FormatFromExtension("x.exr"), ImageFormat::Exr);
  EXPECT_EQ(FormatFromExtension("dir.png/noext"), ImageFormat::Unknown);
  EXPECT_EQ(FormatFromExtension("x.gif"), ImageFormat::Unknown);
}

struct RoundTripCase {
  const char* file;
  ImageFormat format;
  int32_t colors;
  bool alpha;
  SampleType written;
  SampleType readBack;
  double tolerance;  // in units of the read-back samples
};

double SampleAt(const HostImage& image, size_t i) {
  const uint8_t* p = image.data.data() + i * size_t(BytesPerSample(image.type));
  if (image.type == SampleType::U8) return *p;
  if (image.type == SampleType::U16) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
  }
  float v;
  std::memcpy(&v, p, 4);
  return v;
}

TEST(ImageFiles, EachFormatReadsBackWhatWasWritten) {
  const RoundTripCase cases[] = {
      {"g8.png", ImageFormat::Png, 1, false, SampleType::U8, SampleType::U8, 0},
      {"ga8.png", ImageFormat::Png, 1, true, SampleType::U8, SampleType::U8, 0},
      {"rgb8.png", ImageFormat::Png, 3, false, SampleType::U8, SampleType::U8, 0},
      {"rgba16.png", ImageFormat::Png, 3, true, SampleType::U16, SampleType::U16, 0},
      {"g16.tif", ImageFormat::Tiff, 1, false, SampleType::U16, SampleType::U16, 0},
      {"rgba8.tif", ImageFormat::Tiff, 3, true, SampleType::U8, SampleType::U8, 0},
      {"rgbf.tif", ImageFormat::Tiff, 3, false, SampleType::F32, SampleType::F32, 0},
      {"gaf.tif", ImageFormat::Tiff, 1, true, SampleType::F32, SampleType::F32, 0},
      {"rgbaf.exr", ImageFormat::Exr, 3, true, SampleType::F32, SampleType::F32, 0},
      {"gf.exr", ImageFormat::Exr, 1, false, SampleType::F32, SampleType::F32, 0},
      {"g8.jpg", ImageFormat::Jpeg, 1, false, SampleType::U8, SampleType::U8, 40},
  };
  for (const RoundTripCase& c : cases) {
    HostImage image;
    ASSERT_TRUE(ResizeHostImage(&image, 5, 3, c.colors, c.alpha, c.written));
    Fill(&image);
    std::string error;
    const std::string path = TempPath(c.file);
    ASSERT_TRUE(WriteImageFile(path, c.format, image, &error)) << c.file << ": " << error;
    HostImage back;
    ASSERT_TRUE(ReadImageFile(path, &back, &error)) << c.file << ": " << error;
    EXPECT_EQ(back.width, 5) << c.file;
    EXPECT_EQ(back.height, 3) << c.file;
    EXPECT_EQ(back.colorPlanes, c.colors) << c.file;
    EXPECT_EQ(back.hasAlpha, c.alpha) << c.file;
    ASSERT_EQ(back.type, c.readBack) << c.file;
    const size_t n = size_t(5 * 3 * PlaneCount(image));
    for (size_t i = 0; i < n; ++i)
      EXPECT_NEAR(SampleAt(back, i), SampleAt(image, i), c.tolerance) << c.file << " " << i;
  }
}

std::string FileBytes(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
    std::fclose(f);
  }
  return bytes;
}

// Large TIFFs are coded and decoded strip by strip on several threads: the
// file must be the one a single thread writes, byte for byte, and read back
// whole, with a short last strip and extra samples. The tall ones have
// strips enough to be coded several to a run, the last run short.
TEST(ImageFiles, TiffStripsCodedSideBySideMatchOneThread) {
  struct Case {
    const char* compression;
    int32_t colors;
    bool alpha;
    SampleType type;
    int32_t height = 97;
  };
  const Case cases[] = {
      {"lzw", 3, true, SampleType::U8},  {"lzw", 1, false, SampleType::U16}, {"deflate", 3, false, SampleType::F32},
      {"deflate", 1, true, SampleType::U8}, {"none", 3, false, SampleType::U16},
      {"lzw", 3, false, SampleType::U8, 1999}, {"deflate", 1, false, SampleType::U16, 1999},
  };
  for (const Case& c : cases) {
    const std::string name = std::string(c.compression) + std::to_string(c.colors) + (c.alpha ? "a" : "") +
                             std::to_string(int(c.type)) + "_" + std::to_string(c.height);
    HostImage image;
    ASSERT_TRUE(ResizeHostImage(&image, 301, c.height, c.colors, c.alpha, c.type));
    Fill(&image);
    std::string error;
    WriteOptions one, many;
    one.tiffCompression = many.tiffCompression = TiffCompressionFromName(c.compression);
    one.threads = 1;
    many.threads = 5;
    const std::string a = TempPath(name + "_1.tif"), b = TempPath(name + "_5.tif");
    ASSERT_TRUE(WriteImageFile(a, ImageFormat::Tiff, image, &error, one)) << name << ": " << error;
    ASSERT_TRUE(WriteImageFile(b, ImageFormat::Tiff, image, &error, many)) << name << ": " << error;
    EXPECT_EQ(FileBytes(a), FileBytes(b)) << name;
    HostImage back1, back5;
    ASSERT_TRUE(ReadImageFile(b, &back1, &error, 1)) << name << ": " << error;
    ASSERT_TRUE(ReadImageFile(b, &back5, &error, 5)) << name << ": " << error;
    EXPECT_EQ(back1.data, image.data) << name;
    EXPECT_EQ(back5.data, image.data) << name;
  }
}

WriteOptions TiffOptions(const char* compression, int32_t threads) {
  WriteOptions options;
  options.tiffCompression = TiffCompressionFromName(compression);
  options.threads = threads;
  return options;
}

// A TIFF goes to its file through a buffer, so a write the system refuses
// (a full disk; here a file-size limit) shows only as the buffer goes out:
// that must fail the write, not pass for a file written whole.
TEST(ImageFiles, TiffTheSystemRefusesFails) {
  HostImage image;
  ASSERT_TRUE(ResizeHostImage(&image, 301, 97, 3, false, SampleType::U8));
  uint32_t noise = 99;  // little for LZW to shorten
  for (uint8_t& v : image.data) v = uint8_t((noise = noise * 1664525u + 1013904223u) >> 24);
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  for (const char* compression : {"none", "lzw"}) {
    for (int32_t threads : {1, 5}) {
      const WriteOptions options = TiffOptions(compression, threads);
      std::string error;
      EXPECT_FALSE(WriteImageFile(TempPath("refused.tif"), ImageFormat::Tiff, image, &error, options))
          << compression << " on " << threads;
      EXPECT_FALSE(error.empty()) << compression << " on " << threads;
    }
  }
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, oldHandler);
}

// The process's write calls so far, as the kernel counts them; -1 where it
// does not say.
long long WriteCalls() {
  FILE* io = std::fopen("/proc/self/io", "r");
  if (!io) return -1;
  long long calls = -1;
  char line[128];
  while (std::fgets(line, sizeof line, io)) {
    if (std::sscanf(line, "syscw: %lld", &calls) == 1) break;
  }
  std::fclose(io);
  return calls;
}

// A TIFF of hundreds of strips reaches its file in a few large writes:
// libtiff seeks to the file's end before every strip, and a seek that
// reached the stream, or a buffer the C library did not take, made each
// strip a write of its own (with a size query, a seek and a read beside
// it).
TEST(ImageFiles, TiffStripsGoOutInLargeWrites) {
  if (WriteCalls() < 0) GTEST_SKIP() << "the kernel does not count write calls here";
  HostImage image;
  ASSERT_TRUE(ResizeHostImage(&image, 640, 2000, 3, false, SampleType::U8));
  Fill(&image);
  for (const char* compression : {"none", "lzw"}) {
    for (int32_t threads : {1, 5}) {
      const WriteOptions options = TiffOptions(compression, threads);
      std::string error;
      const std::string path = TempPath("strips.tif");
      const long long before = WriteCalls();
      ASSERT_TRUE(WriteImageFile(path, ImageFormat::Tiff, image, &error, options)) << error;
      EXPECT_LT(WriteCalls() - before, 24) << compression << " on " << threads;
      HostImage back;
      ASSERT_TRUE(ReadImageFile(path, &back, &error)) << error;
      EXPECT_EQ(back.data, image.data) << compression << " on " << threads;
    }
  }
}

TEST(ImageFiles, DamagedTiffStripsFailOnEveryThreadCount) {
  HostImage image;
  ASSERT_TRUE(ResizeHostImage(&image, 301, 97, 3, false, SampleType::U8));
  uint32_t noise = 12345;  // little for LZW to shorten
  for (uint8_t& v : image.data) v = uint8_t((noise = noise * 1664525u + 1013904223u) >> 24);
  std::string error;
  WriteOptions options;
  options.tiffCompression = TiffCompressionFromName("lzw");
  const std::string path = TempPath("damaged.tif");
  ASSERT_TRUE(WriteImageFile(path, ImageFormat::Tiff, image, &error, options)) << error;
  // Strip data in the middle of the file overwritten with codes LZW cannot
  // decode; the directory after the strips stays whole.
  std::string bytes = FileBytes(path);
  ASSERT_GT(bytes.size(), 60000u);
  for (size_t i = 20000; i < 40000; ++i) bytes[i] = char(0xFF);
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  for (int32_t threads : {1, 5}) {
    HostImage back;
    error.clear();
    EXPECT_FALSE(ReadImageFile(path, &back, &error, threads)) << threads;
    EXPECT_FALSE(error.empty()) << threads;
  }
}

TEST(ImageFiles, EightBitSamplesWidenForExr) {
  HostImage image;
  ASSERT_TRUE(ResizeHostImage(&image, 2, 1, 1, false, SampleType::U8));
  image.data = {0, 255};
  std::string error;
  const std::string path = TempPath("widen.exr");
  ASSERT_TRUE(WriteImageFile(path, ImageFormat::Exr, image, &error)) << error;
  HostImage back;
  ASSERT_TRUE(ReadImageFile(path, &back, &error)) << error;
  ASSERT_EQ(back.type, SampleType::F32);
  EXPECT_EQ(SampleAt(back, 0), 0.0);
  EXPECT_EQ(SampleAt(back, 1), 1.0);
}

TEST(ImageFiles, ClearErrorsForWhatIsNotAnImage) {
  std::string error;
  HostImage image;
  EXPECT_FALSE(ReadImageFile(TempPath("does-not-exist.png"), &image, &error));
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;

  const std::string text = TempPath("note.png");
  std::FILE* f = std::fopen(text.c_str(), "w");
  std::fputs("just some words\n", f);
  std::fclose(f);
  EXPECT_FALSE(ReadImageFile(text, &image, &error));
  EXPECT_EQ(error, "not a PNG, JPEG, TIFF or OpenEXR image");

  // A PNG signature followed by garbage fails inside the decoder.
  const std::string broken = TempPath("broken.png");
  f = std::fopen(broken.c_str(), "wb");
  const unsigned char head[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 1, 2};
  std::fwrite(head, 1, sizeof head, f);
  std::fclose(f);
  EXPECT_FALSE(ReadImageFile(broken, &image, &error));
  EXPECT_EQ(error.rfind("PNG: ", 0), 0u) << error;
}

}  // namespace
}  // namespace gyhost
