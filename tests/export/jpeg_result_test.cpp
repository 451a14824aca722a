// JPEG result files: the stream's marker segments in order, the metadata
// in them, the picture against the in-place result, and what an
// independent decoder and metadata reader make of the file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "export/jpeg/jpeg_coder.h"
#include "export/psd/psd_writer.h"
#include "frame/globals.h"
#include "frame/base/result_codes.h"
#include "export_host.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "psd_reader.h"
#include "scratch.h"

namespace {

struct Segment {
  uint8_t marker;
  std::vector<uint8_t> data;
};

// The segments before the first scan.
std::vector<Segment> Segments(const std::vector<uint8_t>& b) {
  std::vector<Segment> out;
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return out;
  size_t at = 2;
  while (at + 4 <= b.size() && b[at] == 0xFF) {
    const uint8_t m = b[at + 1];
    const size_t n = size_t(b[at + 2]) << 8 | b[at + 3];
    if (n < 2 || at + 2 + n > b.size()) break;
    out.push_back({m, std::vector<uint8_t>(b.begin() + long(at + 4), b.begin() + long(at + 2 + n))});
    if (m == 0xDA) break;
    at += 2 + n;
  }
  return out;
}

bool Starts(const std::vector<uint8_t>& d, const char* text, size_t n) {
  return d.size() >= n && std::memcmp(d.data(), text, n) == 0;
}

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

bool Have(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

struct Written {
  std::vector<uint8_t> expected;  // the in-place result
  int16_t result;
};

constexpr int W = 64, H = 32;

Written WriteJpeg(const std::string& path) {
  Written w;
  {
    ExportHost host(W, H);
    EXPECT_EQ(host.Call(kSelectorPrepare), 0);
    host.Settings()->outputMode = 16;
    EXPECT_EQ(host.RunInvocation(), 0);
    w.expected = host.output;
  }
  ExportHost host(W, H);
  EXPECT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* g = host.OpenInvocation();
  host.Settings()->outputMode = 16;
  host.Settings()->exportKind = 3;
  const FSRef file = ScratchFolder::Ref(path);
  uint8_t cancelled = 0;
  w.result = WriteImageFile(g, &file, &cancelled, kImageFormatJPEG);
  host.CloseInvocation();
  return w;
}

TEST(JpegResult, MarkersInOrderWithTheirBlocks) {
  ScratchFolder dir;
  const Written w = WriteJpeg(dir.Path("r.jpg"));
  ASSERT_EQ(w.result, 0);
  const std::vector<uint8_t> bytes = ReadWholeFile(dir.Path("r.jpg"));
  std::vector<uint8_t> order;
  const Segment *exif = nullptr, *iptc = nullptr;
  const std::vector<Segment> segments = Segments(bytes);
  for (const Segment& s : segments) {
    if (s.marker == 0xFE || s.marker == 0xE1 || s.marker == 0xE2 || s.marker == 0xED) order.push_back(s.marker);
    if (s.marker == 0xE1) exif = &s;
    if (s.marker == 0xED) iptc = &s;
  }
  EXPECT_EQ(order, (std::vector<uint8_t>{0xFE, 0xE1, 0xED})) << "comment, EXIF, IPTC (no profile from this host)";
  ASSERT_NE(exif, nullptr);
  EXPECT_EQ(exif->data.size(), 106u);
  EXPECT_TRUE(Starts(exif->data, "Exif\0\0MM\0\x2A", 10));
  ASSERT_NE(iptc, nullptr);
  EXPECT_TRUE(Starts(iptc->data, "Photoshop 3.0\0008BIM\x04\x04", 20));
  const std::string text(iptc->data.begin(), iptc->data.end());
  EXPECT_NE(text.find("panorama"), std::string::npos);

  // The picture decodes to the in-place result within the coding's loss.
  PyramidDescriptor decoded{};
  ASSERT_TRUE(TryToAllocatePyramid_2006(&decoded, W, H, PyramidDataKind_Packed8, 0));
  const Rect area{0, 0, H, W};
  ASSERT_EQ(DecompressJPEG(&decoded, &area, bytes.data(), uint32_t(bytes.size())), kJpegOK);
  double se = 0;
  ExportHost shape(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      int32_t c[4];
      get_pyramid_sample_point4(x, y, &decoded, 0, &c[0], &c[1], &c[2], &c[3]);
      for (int k = 0; k < 3; ++k) {
        const double d = double(c[k]) - shape.Sample(w.expected, x, y, k);
        se += d * d;
      }
    }
  DisposePyramidData(&decoded);
  const double psnr = 10 * std::log10(255.0 * 255.0 / (se / (W * H * 3) + 1e-12));
  EXPECT_GT(psnr, 30.0);
}

TEST(JpegResult, IndependentReadersAgree) {
  if (!Have("exiftool") || !Have("djpeg")) GTEST_SKIP() << "exiftool or djpeg missing";
  ScratchFolder dir;
  ASSERT_EQ(WriteJpeg(dir.Path("r.jpg")).result, 0);
  const std::string q = "'" + dir.Path("r.jpg") + "'";
  EXPECT_NE(Shell("djpeg -pnm " + q + " | head -c 2"), "") << "djpeg decodes";
  const std::string tags = Shell("exiftool -s -Keywords -Software -Source -Caption-Abstract -DateCreated " + q);
  EXPECT_NE(tags.find("Gyrelle 2, panorama"), std::string::npos) << tags;
  EXPECT_NE(tags.find("Software                        : Gyrelle 2"), std::string::npos) << tags;
  EXPECT_NE(tags.find("Made with Gyrelle 2"), std::string::npos) << tags;
  const std::string validate = Shell("exiftool -validate -warning -a " + q);
  EXPECT_NE(validate.find("Validate                        : OK"), std::string::npos) << validate;
}

TEST(JpegResult, LayeredDocumentReadByOtherTools) {
  ScratchFolder dir;
  ExportHost host(W, H);
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* g = host.OpenInvocation();
  host.Settings()->exportKind = 3;
  const FSRef file = ScratchFolder::Ref(dir.Path("r.psd"));
  uint8_t cancelled = 0;
  ASSERT_EQ(WriteImageFile(g, &file, &cancelled, kImageFormatPSD), 0);
  host.CloseInvocation();
  const std::string q = "'" + dir.Path("r.psd") + "'";
  if (Have("identify")) {
    const std::string id = Shell("identify " + q + " 2>&1");
    EXPECT_NE(id.find("PSD 64x32"), std::string::npos) << id;
  }
  if (Have("exiftool")) {
    const std::string t = Shell("exiftool -s -Keywords -LayerCount -LayerNames " + q);
    EXPECT_NE(t.find("LayerCount                      : 1"), std::string::npos) << t;
    EXPECT_NE(t.find("Layer 1"), std::string::npos) << t;
  }
}

}  // namespace
