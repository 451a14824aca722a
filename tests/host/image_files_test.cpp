// What a file brings besides its pixels, and files that lie: metadata kept
// through every format, compression kept for TIFF, damaged and oversized
// files refused before anything large is allocated.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tiffio.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/io/image_io.h"
#include "host/io/xmp_panorama.h"

namespace gyhost {
namespace {

std::string Scratch(const std::string& name) {
  static const std::string folder = [] {
    char pattern[] = "/tmp/gyrelle-files-XXXXXX";
    return std::string(mkdtemp(pattern));
  }();
  return folder + "/" + name;
}

std::vector<uint8_t> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void PutBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void Put32(std::vector<uint8_t>* v, uint32_t x) {
  for (int i = 3; i >= 0; --i) v->push_back(uint8_t(x >> (8 * i)));
}

// A small but well-formed display profile: header, white point and a
// description, as colour-managed readers check them.
std::vector<uint8_t> SmallIccProfile() {
  auto s15 = [](std::vector<uint8_t>* v, double d) { Put32(v, uint32_t(int32_t(std::lround(d * 65536)))); };
  std::vector<uint8_t> xyz = {'X', 'Y', 'Z', ' ', 0, 0, 0, 0};
  s15(&xyz, 0.9642), s15(&xyz, 1.0), s15(&xyz, 0.8249);
  std::vector<uint8_t> desc = {'d', 'e', 's', 'c', 0, 0, 0, 0};
  Put32(&desc, 5);
  for (char c : std::string("test")) desc.push_back(uint8_t(c));
  desc.resize(desc.size() + 1 + 4 + 4 + 2 + 1 + 67, 0);
  std::vector<uint8_t> body;
  Put32(&body, 2);
  const uint32_t first = 128 + 4 + 24;
  uint32_t second = first + uint32_t(xyz.size());
  second = (second + 3) & ~3u;
  body.insert(body.end(), {'w', 't', 'p', 't'});
  Put32(&body, first), Put32(&body, uint32_t(xyz.size()));
  body.insert(body.end(), {'d', 'e', 's', 'c'});
  Put32(&body, second), Put32(&body, uint32_t(desc.size()));
  body.insert(body.end(), xyz.begin(), xyz.end());
  body.resize(second - 128, 0);
  body.insert(body.end(), desc.begin(), desc.end());
  std::vector<uint8_t> p;
  Put32(&p, uint32_t(128 + body.size()));
  p.insert(p.end(), {'n', 'o', 'n', 'e'});
  Put32(&p, 0x02100000);
  for (const char* t : {"mntr", "RGB ", "XYZ "}) p.insert(p.end(), t, t + 4);
  p.resize(p.size() + 12, 0);
  p.insert(p.end(), {'a', 'c', 's', 'p', 'A', 'P', 'P', 'L'});
  Put32(&p, 0);
  p.insert(p.end(), {'n', 'o', 'n', 'e', 'n', 'o', 'n', 'e'});
  p.resize(p.size() + 8, 0);
  Put32(&p, 0);
  s15(&p, 0.9642), s15(&p, 1.0), s15(&p, 0.8249);
  p.insert(p.end(), {'n', 'o', 'n', 'e'});
  p.resize(128, 0);
  p.insert(p.end(), body.begin(), body.end());
  return p;
}

HostImage SmallPicture() {
  HostImage image;
  EXPECT_TRUE(ResizeHostImageZeroed(&image, 48, 32, 3, false, SampleType::U8));
  for (int32_t y = 0; y < image.height; ++y)
    for (int32_t x = 0; x < image.width; ++x) {
      uint8_t* p = PixelAddress(image, x, y);
      p[0] = uint8_t(x * 5), p[1] = uint8_t(y * 7), p[2] = uint8_t((x * y) & 255);
    }
  return image;
}

// A minimal TIFF-structured EXIF block: little-endian, one IFD with Artist.
std::vector<uint8_t> SmallExif() {
  return {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x3B, 0x01, 2, 0, 4, 0, 0, 0, 'G', 'y', 'r', 0, 0, 0, 0, 0};
}

TEST(FileMetadata, ProfileExifAndXmpSurviveEveryFormat) {
  const struct {
    const char* file;
    bool exif;  // the format holds EXIF as written here
  } cases[] = {{"m.png", true}, {"m.jpg", true}, {"m.tif", false}, {"m.exr", true}};
  HostImage image = SmallPicture();
  image.meta.icc = SmallIccProfile();
  image.meta.exif = SmallExif();
  const std::string xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF/></x:xmpmeta>";
  image.meta.xmp.assign(xmp.begin(), xmp.end());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::string error;
    ASSERT_TRUE(WriteImageFile(Scratch(c.file), FormatFromExtension(c.file), image, &error)) << error;
    HostImage back;
    ASSERT_TRUE(ReadImageFile(Scratch(c.file), &back, &error)) << error;
    EXPECT_EQ(back.meta.icc, image.meta.icc);
    EXPECT_EQ(back.meta.xmp, image.meta.xmp);
    if (c.exif) {
      EXPECT_EQ(back.meta.exif, image.meta.exif);
    }
  }
}

// Profiles that break libpng's rules exist in the wild (written by other
// programs): a version 4 profile of odd length, a header length that
// disagrees with the data. They are carried as they are, never refused,
// dropped or padded, and the file still opens elsewhere.
TEST(FileMetadata, OddProfilesSurvivePng) {
  const struct {
    const char* what;
    int extra;        // bytes after the length the header states
    int headerExtra;  // the header's length minus the real one, before `extra`
  } cases[] = {{"version 4, odd length", 0, 0}, {"a padding byte the header omits", 1, 0},
               {"the header claims more", 0, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HostImage image = SmallPicture();
    image.meta.icc = SmallIccProfile();
    image.meta.icc[8] = 4;
    image.meta.icc.push_back(0x55);
    const uint32_t n = uint32_t(image.meta.icc.size()) + uint32_t(c.headerExtra);
    for (int i = 0; i < 4; ++i) image.meta.icc[size_t(i)] = uint8_t(n >> (24 - 8 * i));
    image.meta.icc.resize(image.meta.icc.size() + size_t(c.extra), 0);
    std::string error;
    ASSERT_TRUE(WriteImageFile(Scratch("odd.png"), ImageFormat::Png, image, &error)) << error;
    HostImage back;
    ASSERT_TRUE(ReadImageFile(Scratch("odd.png"), &back, &error)) << error;
    EXPECT_EQ(back.meta.icc, image.meta.icc);
    for (int32_t y = 0; y < image.height; ++y)
      ASSERT_EQ(std::memcmp(PixelAddress(back, 0, y), PixelAddress(image, 0, y), size_t(image.width) * 3), 0);
    if (std::system("command -v identify >/dev/null 2>&1") == 0) {
      EXPECT_EQ(std::system(("identify '" + Scratch("odd.png") + "' >/dev/null 2>&1").c_str()), 0);
    }
  }
}

TEST(FileMetadata, PanoramaPropertiesAloneLeaveTheXmp) {
  const std::string ns = "http://ns.google.com/photos/1.0/panorama/";
  const struct {
    const char* what;
    std::string xmp;
    std::string kept;  // must still be there
  } cases[] = {
      {"attributes",
       "<rdf:Description rdf:about='' xmlns:GPano='" + ns + "' xmlns:dc='http://purl.org/dc/elements/1.1/'\n"
       "   GPano:ProjectionType=\"equirectangular\" GPano:UsePanoramaViewer='True' dc:format=\"image/png\"/>",
       "dc:format=\"image/png\""},
      {"elements", "<rdf:Description xmlns:GPano=\"" + ns + "\" xmlns:xmp='x'>\n <GPano:ProjectionType>equirectangular"
                   "</GPano:ProjectionType>\n <GPano:CroppedAreaLeftPixels/>\n <xmp:Rating>3</xmp:Rating>\n"
                   "</rdf:Description>",
       "<xmp:Rating>3</xmp:Rating>"},
      {"another prefix", "<rdf:Description xmlns:pano='" + ns + "' pano:ProjectionType='equirectangular' a:b='c'/>",
       "a:b='c'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> in(c.xmp.begin(), c.xmp.end());
    const std::vector<uint8_t> out = XmpWithoutPanorama(in);
    const std::string text(out.begin(), out.end());
    EXPECT_EQ(text.find("ProjectionType"), std::string::npos) << text;
    EXPECT_EQ(text.find("CroppedArea"), std::string::npos) << text;
    EXPECT_EQ(text.find("UsePanorama"), std::string::npos) << text;
    EXPECT_EQ(text.find(ns), std::string::npos) << text;
    EXPECT_NE(text.find(c.kept), std::string::npos) << text;
  }
  const std::string plain = "<x:xmpmeta><rdf:RDF/></x:xmpmeta>";
  const std::vector<uint8_t> none(plain.begin(), plain.end());
  EXPECT_EQ(XmpWithoutPanorama(none), none);
}

// A camera's EXIF block in big-endian order: IFD0 with the artist and the
// pointers, an EXIF IFD (exposure time, original date) and a GPS IFD
// (latitude), each value out of line where it does not fit four bytes.
std::vector<uint8_t> CameraExif() {
  std::vector<uint8_t> b = {'M', 'M', 0, 42, 0, 0, 0, 8};
  auto be = [&b](uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
  };
  auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value, bool shortValue = false) {
    be(tag, 2), be(type, 2), be(count, 4);
    if (shortValue) be(value, 2), be(0, 2);
    else be(value, 4);
  };
  // IFD0 at 8: 3 entries -> 2 + 36 + 4 = 42 bytes; its text at 50.
  be(3, 2);
  entry(0x013B, 2, 8, 50);               // Artist "Gyrelle"
  entry(0x8769, 4, 1, 58);               // EXIF IFD
  entry(0x8825, 4, 1, 58 + 2 + 24 + 4 + 8 + 20);  // GPS IFD
  be(0, 4);
  for (const char c : std::string("Gyrelle")) b.push_back(uint8_t(c));
  b.push_back(0);
  // EXIF IFD at 58: ExposureTime 1/250 (out of line at 88), DateTimeOriginal.
  be(2, 2);
  entry(0x829A, 5, 1, 88);
  entry(0x9003, 2, 20, 96);
  be(0, 4);
  be(1, 4), be(250, 4);
  for (const char c : std::string("2024:06:01 12:00:00")) b.push_back(uint8_t(c));
  b.push_back(0);
  // GPS IFD at 116: LatitudeRef "N", Latitude 48/1 51/1 30/1 at 146.
  be(2, 2);
  entry(0x0001, 2, 2, uint32_t('N') << 24);
  entry(0x0002, 5, 3, 146);
  be(0, 4);
  for (uint32_t v : {48u, 1u, 51u, 1u, 30u, 1u}) be(v, 4);
  return b;
}

TEST(FileMetadata, TiffKeepsExifAndGps) {
  HostImage image = SmallPicture();
  image.meta.exif = CameraExif();
  std::string error;
  ASSERT_TRUE(WriteImageFile(Scratch("cam.tif"), ImageFormat::Tiff, image, &error)) << error;
  if (std::system("command -v exiftool >/dev/null 2>&1") == 0) {
    std::string out;
    if (FILE* p = popen(("exiftool -s -Artist -ExposureTime -DateTimeOriginal -GPSLatitude -GPSLatitudeRef '" +
                         Scratch("cam.tif") + "'").c_str(), "r")) {
      char buf[512];
      for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
      pclose(p);
    }
    for (const char* want : {"Gyrelle", "1/250", "2024:06:01 12:00:00", "48 deg 51' 30.00\"", "North"})
      EXPECT_NE(out.find(want), std::string::npos) << want << " in\n" << out;
  }
  // Read back, the block carries the same values (in this file's order), and
  // a second round gives the same bytes.
  HostImage back;
  ASSERT_TRUE(ReadImageFile(Scratch("cam.tif"), &back, &error)) << error;
  ASSERT_FALSE(back.meta.exif.empty());
  const std::string text(back.meta.exif.begin(), back.meta.exif.end());
  for (const char* want : {"Gyrelle", "2024:06:01 12:00:00"}) EXPECT_NE(text.find(want), std::string::npos) << want;
  ASSERT_TRUE(WriteImageFile(Scratch("cam2.tif"), ImageFormat::Tiff, back, &error)) << error;
  HostImage again;
  ASSERT_TRUE(ReadImageFile(Scratch("cam2.tif"), &again, &error)) << error;
  EXPECT_EQ(again.meta.exif, back.meta.exif);
  // A damaged block costs the EXIF, never the image.
  image.meta.exif.resize(40);
  EXPECT_TRUE(WriteImageFile(Scratch("cut.tif"), ImageFormat::Tiff, image, &error)) << error;
  EXPECT_TRUE(ReadImageFile(Scratch("cut.tif"), &back, &error)) << error;
}

TEST(FileMetadata, TiffKeepsTheInputsCompressionUnlessAsked) {
  const struct {
    uint16_t input;
    uint16_t asked;
    uint16_t written;
  } cases[] = {
      {COMPRESSION_NONE, 0, COMPRESSION_NONE},
      {COMPRESSION_LZW, 0, COMPRESSION_LZW},
      {COMPRESSION_ADOBE_DEFLATE, 0, COMPRESSION_ADOBE_DEFLATE},
      {0, 0, COMPRESSION_LZW},  // not from a TIFF
      {COMPRESSION_NONE, COMPRESSION_LZW, COMPRESSION_LZW},
      {COMPRESSION_LZW, COMPRESSION_NONE, COMPRESSION_NONE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.input) + " asked " + std::to_string(c.asked));
    HostImage image = SmallPicture();
    image.meta.tiffCompression = c.input;
    WriteOptions options;
    options.tiffCompression = c.asked;
    std::string error;
    ASSERT_TRUE(WriteImageFile(Scratch("c.tif"), ImageFormat::Tiff, image, &error, options)) << error;
    HostImage back;
    ASSERT_TRUE(ReadImageFile(Scratch("c.tif"), &back, &error)) << error;
    EXPECT_EQ(back.meta.tiffCompression, c.written);
    EXPECT_EQ(std::vector<uint8_t>(back.data.begin(), back.data.end()),
              std::vector<uint8_t>(image.data.begin(), image.data.end()));
  }
}

TEST(FileMetadata, PngLevelsGiveTheSamePixels) {
  const HostImage image = SmallPicture();
  for (int level : {-1, 0, 1, 9}) {
    WriteOptions options;
    options.pngLevel = level;
    std::string error;
    ASSERT_TRUE(WriteImageFile(Scratch("l.png"), ImageFormat::Png, image, &error, options)) << error;
    HostImage back;
    ASSERT_TRUE(ReadImageFile(Scratch("l.png"), &back, &error)) << error;
    EXPECT_TRUE(back.data == image.data) << level;
  }
}

// A damaged JPEG decodes "successfully" with grey where data is missing;
// it must be refused with the library's message instead.
TEST(DamagedFiles, JpegWithMissingOrBrokenDataIsRefused) {
  const HostImage image = SmallPicture();
  std::string error;
  ASSERT_TRUE(WriteImageFile(Scratch("good.jpg"), ImageFormat::Jpeg, image, &error)) << error;
  const std::vector<uint8_t> good = Bytes(Scratch("good.jpg"));
  HostImage back;
  ASSERT_TRUE(ReadImageFile(Scratch("good.jpg"), &back, &error)) << error;
  // The entropy-coded data starts after the last header segment (SOS).
  size_t sos = 0;
  for (size_t i = 0; i + 1 < good.size(); ++i)
    if (good[i] == 0xFF && good[i + 1] == 0xDA) sos = i;
  ASSERT_GT(sos, 0u);
  const size_t middle = (sos + good.size()) / 2;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> truncated(good.begin(), good.begin() + std::ptrdiff_t(middle));
  std::vector<uint8_t> earlyEnd = good;
  earlyEnd[middle] = 0xFF, earlyEnd[middle + 1] = 0xD9;
  const Case cases[] = {{"truncated", truncated}, {"an end marker inside the data", earlyEnd}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutBytes(Scratch("bad.jpg"), c.bytes);
    EXPECT_FALSE(ReadImageFile(Scratch("bad.jpg"), &back, &error));
    EXPECT_NE(error.find("JPEG: "), std::string::npos) << error;
  }
}

void PutChunk(std::vector<uint8_t>* png, const char* type, const std::vector<uint8_t>& data) {
  Put32(png, uint32_t(data.size()));
  std::vector<uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  png->insert(png->end(), typed.begin(), typed.end());
  Put32(png, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

// A few bytes of PNG whose header claims the size given.
std::vector<uint8_t> PngClaiming(uint32_t width, uint32_t height) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> ihdr;
  Put32(&ihdr, width), Put32(&ihdr, height);
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  PutChunk(&png, "IHDR", ihdr);
  std::vector<uint8_t> raw(1 + 3 * 16, 0), z(128);
  uLongf zn = z.size();
  compress(z.data(), &zn, raw.data(), raw.size());
  z.resize(zn);
  PutChunk(&png, "IDAT", z);
  PutChunk(&png, "IEND", {});
  return png;
}

TEST(DamagedFiles, OversizedHeadersAreRefusedByTheirSize) {
  std::string error;
  HostImage image;
  PutBytes(Scratch("wide.png"), PngClaiming(40000, 10));
  EXPECT_FALSE(ReadImageFile(Scratch("wide.png"), &image, &error));
  EXPECT_NE(error.find("40000x10 pixels is larger than 32767 pixels a side"), std::string::npos) << error;

  // The largest size a host holds: refused at once, without first
  // allocating and zeroing gigabytes.
  PutBytes(Scratch("huge.png"), PngClaiming(32767, 32767));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ReadImageFile(Scratch("huge.png"), &image, &error));
  EXPECT_NE(error.find("far too short for the 32767x32767 pixels its header claims"), std::string::npos) << error;
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 3.0);

  TIFF* tif = TIFFOpen(Scratch("wide.tif").c_str(), "w");
  ASSERT_NE(tif, nullptr);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 40000u);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 1u);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_MINISBLACK));
  std::vector<uint8_t> row(40000, 7);
  TIFFWriteScanline(tif, row.data(), 0, 0);
  TIFFClose(tif);
  EXPECT_FALSE(ReadImageFile(Scratch("wide.tif"), &image, &error));
  EXPECT_NE(error.find("larger than 32767 pixels a side"), std::string::npos) << error;
}

// Under a memory limit, a size the machine cannot hold is named with the
// limit before anything is allocated.
TEST(DamagedFiles, SizesBeyondAvailableMemoryAreRefused) {
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizer holds terabytes of address space already: under the limit
  // the child cannot map even the few bytes its messages take, depending on
  // what its allocator kept from the parent.
  GTEST_SKIP() << "an address-space limit means nothing under AddressSanitizer";
#endif
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = rlim_t(2) << 30;
    setrlimit(RLIMIT_AS, &limit);
    std::string error;
    const bool refused = !CheckImageSize(20000, 20000, 4, 2, &error) &&
                         error.find("20000x20000 pixels needs 6.40 GB") != std::string::npos &&
                         error.find("2.15 GB of memory is available") != std::string::npos;
    const bool fine = CheckImageSize(2000, 1000, 4, 2, &error);
    _exit(refused && fine ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace gyhost
