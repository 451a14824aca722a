// The small pictures around the exports: the file icon with its drop
// shadow and its 'icns' bytes, the settings preview taken from the host's
// output, and the photo hand-off's file name and script; the platform
// services they end in answer that they are missing here.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "export/finder_icon.h"
#include "export/photo_handoff.h"
#include "export/preset_preview.h"
#include "frame/globals.h"
#include "platform/finder_icon.h"
#include "platform/md5.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "support/fake_host.h"

namespace {

struct Pyramid {
  Pyramid(int w, int h, int32_t kind) { ok = TryToAllocatePyramid_2006(&p, w, h, kind, 0); }
  ~Pyramid() { DisposePyramidData(&p); }
  PyramidDescriptor p{};
  bool ok = false;
};

int32_t Mask(Pyramid& m, int x, int y) { return *PyramidPixelAddress(&m.p, 0, x, y); }

// A 1000 x 500 picture fits as 116 x 58 at (6, 35); the mask is 255 on it,
// and falls off over ten pixels around it, two pixels lower than the box.
TEST(FileIcon, ShadowAroundTheFittedPicture) {
  int32_t w = 0, h = 0;
  FitIconPicture(1000, 500, &w, &h);
  EXPECT_EQ(w, 116);
  EXPECT_EQ(h, 58);
  Pyramid mask(kIconSide, kIconSide, PyramidDataKind_Byte);
  ASSERT_TRUE(mask.ok);
  const Rect box{35, 6, 93, 122};
  PaintRectShadow(&mask.p, 3.0f, &box);
  const int midY = 60;
  EXPECT_EQ(Mask(mask, 6, midY), 255);
  EXPECT_EQ(Mask(mask, 5, midY), 91) << "one pixel left of the picture";
  EXPECT_EQ(Mask(mask, 1, midY), 0) << "five pixels left";
  EXPECT_EQ(Mask(mask, 60, 34), 30) << "one pixel above";
  EXPECT_EQ(Mask(mask, 60, 33), 9) << "two pixels above";
  const int below[] = {163, 127, 91, 58, 30, 9};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(Mask(mask, 60, 93 + k), below[k]) << k + 1 << " below";
}

TEST(FileIcon, IcnsFamilyOfThePicture) {
  Pyramid source(1000, 500, PyramidDataKind_Packed8);
  Pyramid icon(kIconSide, kIconSide, PyramidDataKind_Packed8);
  ASSERT_TRUE(source.ok && icon.ok);
  for (int y = 0; y < 500; ++y)
    for (int x = 0; x < 1000; ++x) set_pyramid_sample_point4(x, y, &source.p, 0, 200, 40, 10, 255);
  PaintLovelyPreview(&source.p, &icon.p);
  std::vector<uint8_t> icns(kIcnsBytes);
  BuildIcnsResource(&icon.p, icns.data());
  auto big32 = [&](size_t at) {
    return uint32_t(icns[at]) << 24 | uint32_t(icns[at + 1]) << 16 | uint32_t(icns[at + 2]) << 8 | icns[at + 3];
  };
  EXPECT_EQ(std::memcmp(icns.data(), "icns", 4), 0);
  EXPECT_EQ(big32(4), kIcnsBytes);
  EXPECT_EQ(std::memcmp(&icns[8], "it32", 4), 0);
  EXPECT_EQ(big32(12), 65544u);
  EXPECT_EQ(std::memcmp(&icns[65552], "t8mk", 4), 0);
  EXPECT_EQ(big32(65556), 16392u);
  const size_t inside = size_t(60) * kIconSide + 60;
  const size_t px = 16 + 4 * inside;
  EXPECT_EQ(icns[px], 0xFF) << "opaque";
  EXPECT_NEAR(icns[px + 1], 200, 3) << "the picture's colour, resampled";
  EXPECT_NEAR(icns[px + 2], 40, 3);
  EXPECT_NEAR(icns[px + 3], 10, 3);
  EXPECT_EQ(icns[65560 + inside], 255);
  EXPECT_EQ(icns[65560 + 60 * kIconSide + 5], 91) << "the shadow is the icon's mask";
  EXPECT_EQ(icns[65560 + 0], 0);
}

// A scratch cache for the icon store, taken away again with the test.
struct ScratchCache {
  ScratchCache() {
    char templ[] = "/tmp/gyrelle-icons-XXXXXX";
    dir = ::mkdtemp(templ) ? templ : "";
    const char* old = std::getenv("XDG_CACHE_HOME");
    hadOld = old != nullptr;
    if (old) oldValue = old;
    ::setenv("XDG_CACHE_HOME", (dir + "/cache").c_str(), 1);
  }
  ~ScratchCache() {
    if (hadOld) ::setenv("XDG_CACHE_HOME", oldValue.c_str(), 1);
    else ::unsetenv("XDG_CACHE_HOME");
    if (dir.rfind("/tmp/gyrelle-icons-", 0) == 0) std::system(("rm -rf '" + dir + "'").c_str());
  }
  std::string dir, oldValue;
  bool hadOld = false;
};

TEST(FileIcon, StoredUnderTheNameTheFileWillHave) {
  ScratchCache cache;
  Pyramid source(1000, 500, PyramidDataKind_Packed8);
  ASSERT_TRUE(source.ok);
  FSRef temp{}, target{};
  std::snprintf(temp.path, sizeof temp.path, "%s/.r.psd.partial", cache.dir.c_str());
  std::snprintf(target.path, sizeof target.path, "%s/r.psd", cache.dir.c_str());
  std::FILE* f = std::fopen(temp.path, "wb");
  ASSERT_TRUE(f);
  std::fputs("not much of a document", f);
  std::fclose(f);
  EXPECT_EQ(MaybeAddOSXIcon(&source.p, &temp, &target), 0);
  char expected[kFSRefPathBytes + 64];
  ASSERT_TRUE(ThumbnailPathOf(target.path, expected, sizeof expected));
  EXPECT_EQ(std::string(expected).rfind(cache.dir + "/cache/thumbnails/normal/", 0), 0u) << expected;
  struct stat st;
  EXPECT_EQ(::stat(expected, &st), 0) << "the thumbnail is the target's";
  char ofTemp[kFSRefPathBytes + 64];
  ASSERT_TRUE(ThumbnailPathOf(temp.path, ofTemp, sizeof ofTemp));
  EXPECT_NE(::stat(ofTemp, &st), 0) << "and not the temporary's";
  FSRef missing{};
  std::snprintf(missing.path, sizeof missing.path, "%s/missing.psd", cache.dir.c_str());
  EXPECT_NE(MaybeAddOSXIcon(&source.p, &missing), 0) << "no file, no icon";
  EXPECT_NE(PlatformStoreCustomIcon(&temp, reinterpret_cast<const uint8_t*>("icns"), 4), 0) << "no family, no icon";
}

// The names file managers look thumbnails up by: the path made absolute and
// plain, every byte outside the path's safe set escaped.
TEST(FileIcon, ThumbnailURIs) {
  struct Case {
    const char* path;
    const char* uri;
  } cases[] = {
      {"/tmp/a b.psd", "file:///tmp/a%20b.psd"},
      {"/tmp/\xC3\xA9t\xC3\xA9.q2q", "file:///tmp/%C3%A9t%C3%A9.q2q"},
      {"/tmp/50%#1?.jpg", "file:///tmp/50%25%231%3F.jpg"},
      {"/tmp/it's (1)+2&3=4,$@:~!*-_.jpg", "file:///tmp/it's%20(1)+2&3=4,$@:~!*-_.jpg"},
      {"/tmp/[a];{b}|c\"<d>^`\\.jpg", "file:///tmp/%5Ba%5D%3B%7Bb%7D%7Cc%22%3Cd%3E%5E%60%5C.jpg"},
      {"/tmp//x/./y/../z.jpg", "file:///tmp/x/z.jpg"},
      {"/../a.jpg", "file:///a.jpg"},
  };
  for (const Case& c : cases) {
    char uri[512];
    ASSERT_TRUE(ThumbnailURIOfPath(c.path, uri, sizeof uri)) << c.path;
    EXPECT_STREQ(uri, c.uri) << c.path;
  }
  char small[12];
  EXPECT_FALSE(ThumbnailURIOfPath("/tmp/a b.psd", small, sizeof small)) << "a URI that does not fit";
}

TEST(FileIcon, StoreFolderFromTheEnvironment) {
  ScratchCache cache;
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  char folder[kFSRefPathBytes];
  ASSERT_TRUE(ThumbnailFolder(folder, sizeof folder));
  EXPECT_EQ(std::string(folder), cache.dir + "/cache/thumbnails/normal");
  ::setenv("XDG_CACHE_HOME", "relative/cache", 1);
  ::setenv("HOME", "/home/someone", 1);
  ASSERT_TRUE(ThumbnailFolder(folder, sizeof folder));
  EXPECT_STREQ(folder, "/home/someone/.cache/thumbnails/normal") << "a relative cache is no cache";
  ::unsetenv("XDG_CACHE_HOME");
  ::unsetenv("HOME");
  EXPECT_FALSE(ThumbnailFolder(folder, sizeof folder));
  if (!home.empty()) ::setenv("HOME", home.c_str(), 1);
}

TEST(FileIcon, MD5OfKnownTexts) {
  struct Case {
    const char* text;
    const char* md5;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},  // past one block
      {"0123456789012345678901234567890123456789012345678901234", "6e7a4fc92eb1c3f6e652425bcc8d44b5"},  // fills one
      {"01234567890123456789012345678901234567890123456789012345", "8af270b2847610e742b0791b53648c09"},  // its length spills
  };
  for (const Case& c : cases) {
    char hex[33];
    MD5Hex(c.text, std::strlen(c.text), hex);
    EXPECT_STREQ(hex, c.md5) << '"' << c.text << '"';
  }
}

// A 300 x 100 output gives the preview of its centred 100 x 100 square.
TEST(SettingsPreview, FromTheCentredSquareOfTheOutput) {
  FakeHost host(300, 100, kImageModeRGB, 8, 3, false);
  Globals* g = host.globals;
  ASSERT_TRUE(TryToAllocatePyramid_2006(&g->previewPyramid, 128, 128, PyramidDataKind_Packed8, 0));
  std::vector<uint8_t> out(300 * 100 * 3);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 300; ++x) {
      uint8_t* px = &out[(size_t(y) * 300 + x) * 3];
      px[0] = x < 100 ? 10 : x < 200 ? 120 : 250;  // three bands: only the middle one is seen
      px[1] = uint8_t(y * 2);
      px[2] = 7;
    }
  host.record.outRect = Rect{0, 0, 100, 300};
  host.record.outData = out.data();
  host.record.outRowBytes = 300 * 3;
  Build_preview(g);
  int32_t c[4];
  for (int x : {2, 64, 125}) {
    get_pyramid_sample_point4(x, 64, &g->previewPyramid, 0, &c[0], &c[1], &c[2], &c[3]);
    EXPECT_NEAR(c[0], 120, 2) << x;
    EXPECT_NEAR(c[2], 7, 2);
    EXPECT_EQ(c[3], 255);
  }
  get_pyramid_sample_point4(64, 2, &g->previewPyramid, 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_LT(c[1], 12) << "top rows from the top of the output";
  // Without advanceState the ramp stays.
  host.record.advanceState = nullptr;
  Build_preview(g);
  get_pyramid_sample_point4(64, 10, &g->previewPyramid, 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 120) << "untouched";
  DisposePyramidData(&g->previewPyramid);
}

TEST(SettingsPreview, SixteenBitOutputReducedToBytes) {
  FakeHost host(4, 4, kImageModeRGB48, 16, 3, false);
  ASSERT_TRUE(TryToAllocatePyramid_2006(&host.globals->previewPyramid, 4, 4, PyramidDataKind_Packed8, 0));
  const uint16_t samples[3] = {32768, 127, 0};
  std::vector<uint16_t> out(4 * 4 * 3);
  for (size_t i = 0; i < out.size(); ++i) out[i] = samples[i % 3];
  host.record.outData = out.data();
  host.record.outRowBytes = 4 * 3 * 2;
  const Rect area{0, 0, 4, 4};
  CopyPartOfOutrectIntoPyr(host.globals, &area, &host.globals->previewPyramid);
  int32_t c[4];
  get_pyramid_sample_point4(3, 3, &host.globals->previewPyramid, 0, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(c[0], 255);
  EXPECT_EQ(c[1], 1);
  EXPECT_EQ(c[2], 0);
  DisposePyramidData(&host.globals->previewPyramid);
}

TEST(PhotoHandoff, NameScriptAndTheMissingService) {
  char name[128];
  HandoffFileName(name, sizeof name, 2026, 3, 4, 5, 6, 7);
  EXPECT_STREQ(name, "from Gyrelle 2 2026 03 04 05 06 07.psd");
  char script[256];
  HandoffScript(script, sizeof script, "/tmp/a b.psd");
  EXPECT_STREQ(script, "  tell application \"iPhoto\"  \nactivate\nimport from \"/tmp/a b.psd\"  \nend tell\n");
  char result[16] = "x";
  EXPECT_EQ(LowRunAppleScript(script, uint32_t(std::strlen(script)), result, sizeof result), -50);
  EXPECT_STREQ(result, "");
  EXPECT_EQ(SimpleRunAppleScript(script), -50);
}

}  // namespace
