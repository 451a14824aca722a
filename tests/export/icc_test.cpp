// The host's colour profile kept byte for byte: in a JPEG result's APP2
// segments (split as the profile format prescribes for large profiles) and
// in a layered document's profile resource, even of odd length.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "export/psd/psd_writer.h"
#include "frame/globals.h"
#include "export_host.h"
#include "psd_reader.h"
#include "scratch.h"

namespace {

// A profile-shaped block: its size in the first word, the signature at 36,
// an empty tag table at 128.
std::vector<uint8_t> Profile(size_t n) {
  std::vector<uint8_t> p(n);
  for (size_t i = 0; i < n; ++i) p[i] = uint8_t(i * 31 + 7);
  p[0] = uint8_t(n >> 24), p[1] = uint8_t(n >> 16), p[2] = uint8_t(n >> 8), p[3] = uint8_t(n);
  std::memcpy(&p[36], "acsp", 4);
  std::memset(&p[128], 0, 4);
  p[131] = 0;
  return p;
}

std::string Write(const std::vector<uint8_t>& icc, const ScratchFolder& dir, const char* name, int32_t format) {
  ExportHost host(32, 16);
  host.SetIccProfile(icc);
  EXPECT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* g = host.OpenInvocation();
  host.Settings()->exportKind = 3;
  const std::string path = dir.Path(name);
  const FSRef file = ScratchFolder::Ref(path);
  uint8_t cancelled = 0;
  EXPECT_EQ(WriteImageFile(g, &file, &cancelled, format), 0);
  host.CloseInvocation();
  return path;
}

// The APP2 "ICC_PROFILE" chunks in sequence order, joined.
std::vector<uint8_t> JpegProfile(const std::vector<uint8_t>& b) {
  std::vector<std::vector<uint8_t>> chunks;
  size_t at = 2;
  while (at + 4 <= b.size() && b[at] == 0xFF && b[at + 1] != 0xDA) {
    const size_t n = size_t(b[at + 2]) << 8 | b[at + 3];
    if (b[at + 1] == 0xE2 && n > 16 && std::memcmp(&b[at + 4], "ICC_PROFILE\0", 12) == 0) {
      const size_t seq = b[at + 16];
      if (chunks.size() < b[at + 17]) chunks.resize(b[at + 17]);
      if (seq >= 1 && seq <= chunks.size()) chunks[seq - 1].assign(b.begin() + long(at + 18), b.begin() + long(at + 2 + n));
    }
    at += 2 + n;
  }
  std::vector<uint8_t> joined;
  for (const auto& c : chunks) joined.insert(joined.end(), c.begin(), c.end());
  return joined;
}

TEST(IccProfile, KeptByteForByte) {
  for (size_t n : {size_t(1001), size_t(150000)}) {
    SCOPED_TRACE(n);
    const std::vector<uint8_t> icc = Profile(n);
    ScratchFolder dir;
    EXPECT_EQ(JpegProfile(ReadWholeFile(Write(icc, dir, "r.jpg", kImageFormatJPEG))), icc);
    PsdFile f;
    ASSERT_EQ(ReadPsd(ReadWholeFile(Write(icc, dir, "r.psd", kImageFormatPSD)), &f), "")
        << "an odd profile is padded so the blocks after it stay in step";
    const PsdResource* r = FindResource(f, 1039);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->data, icc);
    if (n == 1001 && std::system("command -v exiftool >/dev/null 2>&1") == 0) {
      const std::string out = dir.Path("extracted.icc");
      std::system(("exiftool -q -q -b -ICC_Profile '" + dir.Path("r.jpg") + "' > '" + out + "'").c_str());
      EXPECT_EQ(ReadWholeFile(out), icc) << "as another reader extracts it";
    }
  }
}

TEST(IccProfile, NoneWhenTheHostHandsNone) {
  ScratchFolder dir;
  ExportHost host(32, 16);
  host.SetIccProfile(Profile(200));
  host.record.canUseICCProfiles = 0;
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* g = host.OpenInvocation();
  host.Settings()->exportKind = 3;
  const FSRef file = ScratchFolder::Ref(dir.Path("r.psd"));
  uint8_t cancelled = 0;
  ASSERT_EQ(WriteImageFile(g, &file, &cancelled, kImageFormatPSD), 0);
  host.CloseInvocation();
  PsdFile f;
  ASSERT_EQ(ReadPsd(ReadWholeFile(dir.Path("r.psd")), &f), "");
  EXPECT_EQ(FindResource(f, 1039), nullptr);
}

}  // namespace
