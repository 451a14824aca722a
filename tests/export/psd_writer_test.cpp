// Layered documents end to end with the real renderer: what the reader
// finds in every section, the composite against the in-place result, the
// cube's six files, and that a cancelled or failed export changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "export/metadata/iptc.h"
#include "export/psd/psd_doc.h"
#include "export/psd/psd_writer.h"
#include "frame/globals.h"
#include "frame/base/result_codes.h"
#include "frame/save_dispatch.h"
#include "export_host.h"
#include "psd_reader.h"
#include "scratch.h"

namespace {

using Configure = std::function<void(TParameters*)>;

void Tumbled(TParameters* p) {
  p->outputMode = 1;
  p->twirlX = 30.0f;
  p->twirlY = 20.0f;
}

// The in-place result of the settings, as the host keeps it.
std::vector<uint8_t> InPlace(int w, int h, int depth, const Configure& configure) {
  ExportHost host(w, h, depth);
  EXPECT_EQ(host.Call(kSelectorPrepare), 0);
  configure(host.Settings());
  EXPECT_EQ(host.RunInvocation(), 0);
  return host.output;
}

struct Export {
  int16_t result = 0;
  uint8_t cancelled = 0;
};

// Writes through WriteImageFile from an open invocation, as the dialog's
// export commands do.
Export WriteWith(ExportHost& host, const Configure& configure, const std::string& path, int32_t format) {
  Export out;
  EXPECT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* g = host.OpenInvocation();
  // After the invocation's set-up, which resets the export kind.
  configure(host.Settings());
  const FSRef file = ScratchFolder::Ref(path);
  out.result = WriteImageFile(g, &file, &out.cancelled, format);
  host.CloseInvocation();
  EXPECT_TRUE(host.buffers.empty()) << "every buffer handed back";
  return out;
}

PsdFile Parse(const std::string& path) {
  PsdFile f;
  const std::string e = ReadPsd(ReadWholeFile(path), &f);
  EXPECT_EQ(e, "") << path;
  return f;
}

uint32_t Big16(const std::vector<uint8_t>& plane, size_t i) { return uint32_t(plane[2 * i]) << 8 | plane[2 * i + 1]; }

TEST(PsdWriter, ResultDocumentMatchesTheInPlaceResult) {
  constexpr int W = 48, H = 24;
  for (int depth : {8, 16}) {
    SCOPED_TRACE(depth);
    const std::vector<uint8_t> expected = InPlace(W, H, depth, Tumbled);
    ScratchFolder dir;
    ExportHost host(W, H, depth);
    const Export e = WriteWith(host, [](TParameters* p) {
      Tumbled(p);
      p->exportKind = 3;
    }, dir.Path("r.psd"),
                               kImageFormatPSD);
    ASSERT_EQ(e.result, 0);
    EXPECT_EQ(e.cancelled, 0);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"r.psd"});
    const PsdFile f = Parse(dir.Path("r.psd"));
    EXPECT_EQ(f.width, uint32_t(W));
    EXPECT_EQ(f.height, uint32_t(H));
    EXPECT_EQ(f.depth, depth);
    EXPECT_EQ(f.mode, 3);
    EXPECT_EQ(f.channels, depth == 16 ? 4 : 3);
    EXPECT_EQ(f.layerBlockKey, depth == 16 ? "Lr16" : "");
    ASSERT_EQ(f.layers.size(), 1u);
    const PsdLayer& L = f.layers[0];
    EXPECT_EQ(L.name, "Layer 1");
    EXPECT_EQ(L.opacity, 255);
    EXPECT_EQ(L.flags, 40);
    EXPECT_EQ(L.bottom, H);
    EXPECT_EQ(L.right, W);
    ASSERT_EQ(L.channels.size(), 4u);
    EXPECT_EQ(L.channels[0].first, -1);
    EXPECT_EQ(L.channels[0].second, uint32_t(W * H * depth / 8 + 2));
    ASSERT_NE(FindResource(f, 1024), nullptr);
    EXPECT_EQ(FindResource(f, 1024)->data, (std::vector<uint8_t>{0, 1}));
    ASSERT_NE(FindResource(f, 1028), nullptr);
    ASSERT_NE(FindResource(f, 1058), nullptr);
    EXPECT_EQ(FindResource(f, 1058)->data.size(), 100u);
    ASSERT_NE(FindResource(f, 1035), nullptr);
    int worst = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        for (int c = 0; c < 3; ++c) {
          const size_t i = size_t(y) * W + x;
          const int want = int(host.Sample(expected, x, y, c));
          const int composite = depth == 8 ? f.composite[c][i] : int(Big16(f.composite[c], i)) / 2;
          const int layer = depth == 8 ? L.data[c + 1][i] : int(Big16(L.data[c + 1], i)) / 2;
          worst = std::max({worst, std::abs(composite - want), std::abs(layer - want)});
        }
    EXPECT_LE(worst, 1) << "composite and layer against the in-place result";
    if (depth == 16) {
      for (size_t i = 0; i < size_t(W * H); ++i) ASSERT_EQ(Big16(f.composite[3], i), 65535u);
    }
  }
}

TEST(PsdWriter, FloatDocumentKeepsTheResultsFloats) {
  constexpr int W = 24, H = 12;
  ExportHost reference(W, H, 32);
  ASSERT_EQ(reference.Call(kSelectorPrepare), 0);
  Tumbled(reference.Settings());
  ASSERT_EQ(reference.RunInvocation(), 0);
  ScratchFolder dir;
  ExportHost host(W, H, 32);
  const Export e = WriteWith(host,
                             [](TParameters* p) {
                               Tumbled(p);
                               p->exportKind = 3;
                             },
                             dir.Path("f.psd"), kImageFormatPSD);
  ASSERT_EQ(e.result, 0);
  const PsdFile f = Parse(dir.Path("f.psd"));
  EXPECT_EQ(f.depth, 32);
  EXPECT_EQ(f.channels, 3);
  EXPECT_EQ(f.colourModeData.size(), 74u);
  EXPECT_EQ(f.layerBlockKey, "Lr32");
  ASSERT_EQ(f.layers.size(), 1u);
  EXPECT_EQ(f.layers[0].flags, 8);
  ASSERT_NE(FindResource(f, 1069), nullptr);
  ASSERT_NE(FindResource(f, 1072), nullptr);
  EXPECT_EQ(FindResource(f, 1072)->data, std::vector<uint8_t>{1});
  float worst = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      for (int c = 0; c < 3; ++c) {
        const size_t i = 4 * (size_t(y) * W + x);
        const uint32_t bits = uint32_t(f.composite[c][i]) << 24 | uint32_t(f.composite[c][i + 1]) << 16 |
                              uint32_t(f.composite[c][i + 2]) << 8 | f.composite[c][i + 3];
        float v;
        std::memcpy(&v, &bits, 4);
        worst = std::max(worst, std::fabs(v - reference.FloatSample(reference.output, x, y, c)));
      }
  EXPECT_LE(worst, 1e-5f);
}

// The smallest document: a 1 x 1 result has an image data section of 2 + 3
// bytes and four channel blocks of 3 bytes each, with no pad byte.
TEST(PsdWriter, OnePixelDocument) {
  ScratchFolder dir;
  ExportHost host(8, 4);
  const Export e = WriteWith(host,
                             [](TParameters* p) {
                               p->exportKind = 6;
                               p->sizedExportWidth = p->sizedExportHeight = 1;
                             },
                             dir.Path("one.psd"), kImageFormatPSD);
  ASSERT_EQ(e.result, 0);
  const std::vector<uint8_t> bytes = ReadWholeFile(dir.Path("one.psd"));
  const PsdFile f = Parse(dir.Path("one.psd"));
  ASSERT_EQ(f.layers.size(), 1u);
  for (const auto& ch : f.layers[0].channels) EXPECT_EQ(ch.second, 3u);
  // The layer section: its length (L + 4), the layer info and the empty
  // global mask; L holds 12 bytes of channel data.
  const size_t layerInfo = 4 + 2 + (16 + 2 + 24 + 12 + 4 + 4 + 44 + 8) + 12;
  EXPECT_EQ(f.layerSectionLength, layerInfo + 4);
  EXPECT_EQ(bytes.size() % 2, 1u) << "ends with 2 + 3 bytes of image data";
}

TEST(PsdWriter, OverwritingALongerFileLeavesNoTail) {
  ScratchFolder dir;
  ScratchFolder::Write(dir.Path("old.psd"), std::string(1 << 20, 'x'));
  ExportHost host(16, 8);
  ASSERT_EQ(WriteWith(host, [](TParameters* p) { p->exportKind = 3; }, dir.Path("old.psd"), kImageFormatPSD).result,
            0);
  Parse(dir.Path("old.psd"));  // fails on bytes after the composite
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"old.psd"});
}

// A float document of 30000 x 30000 holds 14.4 GB of layer samples, past
// the 32-bit length of its section: refused before anything is written,
// with the size and the limit in the message.
TEST(PsdWriter, ADocumentPastTheFormatsLengthsIsRefusedWithItsSize) {
  ScratchFolder dir;
  ScratchFolder::Write(dir.Path("huge.psd"), "old");
  ExportHost host(16, 8, 32);
  const Export e = WriteWith(host,
                             [](TParameters* p) {
                               p->exportKind = 6;
                               p->sizedExportWidth = 30000;
                               p->sizedExportHeight = 30000;
                             },
                             dir.Path("huge.psd"), kImageFormatPSD);
  const std::string said = ExportRefusalText();
  EXPECT_EQ(e.result, kDocumentTooLarge);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"huge.psd"});
  EXPECT_EQ(ScratchFolder::Read(dir.Path("huge.psd")), "old");
  for (const char* words : {"1 layer of 30000 x 30000 pixels at 32 bits need 14400000", "at most 4294967295 bytes"})
    EXPECT_NE(said.find(words), std::string::npos) << words << " in: " << said;
}

TEST(PsdWriter, CubeMapIsSixTaggedFiles) {
  ScratchFolder dir;
  // The chosen name only names the faces: a file under it (here the
  // user's own picture) is neither replaced nor removed.
  ScratchFolder::Write(dir.Path("sky.psd"), "the user's sky");
  ExportHost host(64, 32);
  const Export e = WriteWith(host,
                             [](TParameters* p) {
                               p->exportKind = 1;
                               p->cubeFaceSize = 20;
                               p->twirlX = 45.0f;  // the faces ignore the user's tumble
                             },
                             dir.Path("sky.psd"), kImageFormatPSD);
  ASSERT_EQ(e.result, 0);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"sky.psd", "sky_b.psd", "sky_d.psd", "sky_f.psd", "sky_l.psd",
                                                   "sky_r.psd", "sky_u.psd"}));
  EXPECT_EQ(ScratchFolder::Read(dir.Path("sky.psd")), "the user's sky");
  const PsdFile left = Parse(dir.Path("sky_l.psd"));
  EXPECT_EQ(left.width, 20u);
  EXPECT_EQ(left.height, 20u);
  EXPECT_EQ(left.layerSectionLength, 8u);
  EXPECT_TRUE(left.layers.empty());
  EXPECT_EQ(FindResource(left, 1024), nullptr);
  EXPECT_EQ(FindResource(left, 1026), nullptr);
  const PsdResource* iptc = FindResource(left, 1028);
  ASSERT_NE(iptc, nullptr);
  const std::string text(iptc->data.begin(), iptc->data.end());
  for (const char* word : {"panorama", "cubemap", "left", "270"}) EXPECT_NE(text.find(word), std::string::npos) << word;
  EXPECT_EQ(text.find("front"), std::string::npos);
}

TEST(PsdWriter, FaceGroupsGiveOneLayerEach) {
  ScratchFolder dir;
  ExportHost host(64, 32);
  const Export e = WriteWith(host,
                             [](TParameters* p) {
                               p->exportKind = 2;
                               p->outputMode = 7;  // the cube: six groups
                               p->facesExportSize = 40;
                             },
                             dir.Path("faces.psd"), kImageFormatPSD);
  ASSERT_EQ(e.result, 0);
  const PsdFile f = Parse(dir.Path("faces.psd"));
  ASSERT_EQ(f.layers.size(), 6u);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(f.layers[k].name, "face " + std::to_string(k + 1));
  // The planned layout is as tall as the size when taller than wide, else
  // as wide; the faces with their glue tabs are about square.
  EXPECT_EQ(std::max(f.width, f.height), 40u);
  EXPECT_GE(std::min(f.width, f.height), 30u);
}

// A layer the renderer refuses (a mode it cannot draw yet) fails the export
// with the refusal instead of writing an empty document, and the
// invocation goes on.
TEST(PsdWriter, RefusedLayerWritesNothing) {
  ScratchFolder dir;
  ExportHost host(64, 32);
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* g = host.OpenInvocation();
  TParameters* p = host.Settings();
  p->exportKind = 3;
  p->outputMode = 5000;  // no such mode
  const FSRef file = ScratchFolder::Ref(dir.Path("map.psd"));
  uint8_t cancelled = 0;
  EXPECT_EQ(WriteImageFile(g, &file, &cancelled, kImageFormatPSD), kRefused);
  EXPECT_EQ(WriteImageFile(g, &file, &cancelled, kImageFormatJPEG), kRefused);
  EXPECT_EQ(g->result, 0) << "the dialog goes on";
  host.CloseInvocation();
  EXPECT_TRUE(dir.Names().empty());
}

// An abort during the render: nothing of the export is left and the file
// that was there stays as it was; the invocation itself goes on.
TEST(PsdWriter, CancelledExportChangesNothing) {
  for (int32_t kind : {3, 1}) {
    SCOPED_TRACE(kind);
    ScratchFolder dir;
    ScratchFolder::Write(dir.Path("keep.psd"), "old contents");
    ExportHost host(64, 64);
    host.abortAfterPolls = 0;
    const Export e = WriteWith(host,
                               [kind](TParameters* p) {
                                 p->exportKind = kind;
                                 p->cubeFaceSize = 64;
                               },
                               dir.Path("keep.psd"), kImageFormatPSD);
    EXPECT_EQ(e.cancelled, 1);
    EXPECT_EQ(e.result, kUserCancelled);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.psd"});
    const std::vector<uint8_t> kept = ReadWholeFile(dir.Path("keep.psd"));
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "old contents");
  }
}

TEST(PsdWriter, FailuresWriteNothing) {
  ScratchFolder dir;
  ScratchFolder::Write(dir.Path("keep.psd"), "old contents");
  const struct {
    const char* what;
    Configure configure;
    std::string path;
    int16_t result;
  } cases[] = {
      {"a size no canvas can have", [](TParameters* p) {
         p->exportKind = 6;
         p->sizedExportWidth = 40000;
       },
       dir.Path("keep.psd"), kCanvasRefused},
      {"face groups of a mode without a solid",
       [](TParameters* p) {
         p->exportKind = 2;
         p->outputMode = 1;
       },
       dir.Path("keep.psd"), kCanvasRefused},
      {"a folder that does not exist", [](TParameters* p) { p->exportKind = 3; }, dir.Path("no/such.psd"),
       kFolderNotFound},
  };
  for (const auto& c : cases) {
    ExportHost host(16, 8);
    EXPECT_EQ(WriteWith(host, c.configure, c.path, kImageFormatPSD).result, c.result) << c.what;
  }
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.psd"});
  const std::vector<uint8_t> kept = ReadWholeFile(dir.Path("keep.psd"));
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "old contents");
  ExportHost host(16, 8);
  EXPECT_EQ(WriteWith(host, [](TParameters*) {}, dir.Path("x.psd"), 7).result, 7) << "no such format";
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.psd"});
}

TEST(PsdWriter, SaveDispatcherWritesTheLayeredDocument) {
  ScratchFolder dir;
  ExportHost host(16, 8);
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* g = host.OpenInvocation();
  host.Settings()->exportKind = 3;
  const FSRef file = ScratchFolder::Ref(dir.Path("saved.psd"));
  EXPECT_EQ(DoSaveThings(g, &file, 0, SaveKind_PSD), 0);
  host.CloseInvocation();
  EXPECT_EQ(Parse(dir.Path("saved.psd")).layers.size(), 1u);
}

}  // namespace
