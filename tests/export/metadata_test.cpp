// The IPTC and EXIF blocks byte by byte, the keyword rules, and the words
// the task and the settings add.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "export/metadata/exif.h"
#include "export/metadata/iptc.h"
#include "export/metadata/keywords.h"
#include "export/maker.h"
#include "export/psd/psd_doc.h"
#include "frame/base/dates.h"
#include "frame/globals.h"
#include "support/fake_host.h"

namespace {

// 2026-03-04 05:06:07 UTC
constexpr int64_t kFixedTime = 1772600767;

std::vector<std::string> Keywords(const TIPTCThing& t) {
  std::vector<std::string> out;
  for (int k = 0; k < t.keywordCount; ++k) out.push_back(t.keywords[k]);
  return out;
}

struct FixedClock {
  FixedClock() { ZorFixClock(kFixedTime); }
  ~FixedClock() { ZorUnfixClock(); }
};

TEST(Iptc, DatasetLengthsAndBlockLayout) {
  FixedClock clock;
  TIPTCThing t;
  InitIPTC(&t);
  EXPECT_EQ(append_all_iptc_tags(&t, 1), 90u);
  EXPECT_EQ(build_IPTC_resource(&t, 0, 1), 102u);
  EXPECT_EQ(build_IPTC_resource(&t, 1, 1), 116u);
  EXPECT_EQ(t.buffer, nullptr) << "the size pass allocates nothing";
  ASSERT_EQ(build_IPTC_resource(&t, 0, 0), 102u);
  const uint8_t* b = t.buffer;
  EXPECT_EQ(std::memcmp(b, "8BIM\x04\x04\x00\x00\x00\x00\x00\x5A", 12), 0);
  EXPECT_EQ(std::memcmp(b + 12, "\x1C\x02\x00\x00\x02\x00\x02", 7), 0);
  EXPECT_EQ(std::memcmp(b + 19, "\x1C\x02\x73\x00\x1B", 5), 0);
  EXPECT_EQ(std::memcmp(b + 24, kMakerWebAddress, 27), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 51 + 5), 8), "20260304");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 64 + 5), 19), "Made with Gyrelle 2");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 88 + 5), 9), "Gyrelle 2");
  EXPECT_EQ(build_IPTC_resource(&t, 0, 0), 0u) << "a builder holding a block builds nothing";
  dispose_IPTC_resource_memory(&t, 0);
  EXPECT_EQ(t.buffer, nullptr);
  dispose_IPTC_resource_memory(nullptr, 0);
  EXPECT_EQ(build_IPTC_resource(nullptr, 0, 0), 0u);
}

TEST(Iptc, KeywordsAddDatasetsAndPadToEven) {
  FixedClock clock;
  const struct {
    std::vector<const char*> words;
    uint32_t datasets;
  } cases[] = {
      {{"polar"}, 100},       // 90 + 10
      {{"ab"}, 98},           // 90 + 7, padded
      {{"polar", "ab"}, 108}, // 90 + 10 + 7, padded
  };
  for (const auto& c : cases) {
    TIPTCThing t;
    InitIPTC(&t);
    for (const char* w : c.words) AddIPTCKeyword(&t, w);
    EXPECT_EQ(append_all_iptc_tags(&t, 1), c.datasets) << c.words[0];
    const uint32_t n = build_IPTC_resource(&t, 1, 0);
    EXPECT_EQ(n, 14 + 12 + c.datasets);
    EXPECT_EQ(std::memcmp(t.buffer, "Photoshop 3.0\0008BIM", 18), 0);
    dispose_IPTC_resource_memory(&t, 0);
  }
}

TEST(Iptc, KeywordRules) {
  TIPTCThing t;
  InitIPTC(&t);
  AddIPTCKeyword(&t, "cubemap");
  AddIPTCKeyword(&t, "cube");     // a prefix of an earlier word
  AddIPTCKeyword(&t, "CUBEMAP");  // equal but for case
  AddIPTCKeyword(&t, "");
  AddIPTCKeyword(&t, nullptr);
  AddIPTCKeyword(&t, std::string(50, 'x').c_str());
  AddIPTCKeyword(&t, std::string(49, 'y').c_str());
  EXPECT_EQ(Keywords(t), (std::vector<std::string>{"cubemap", std::string(49, 'y')}));
  TIPTCThing u;
  InitIPTC(&u);
  AddIPTCKeyword(&u, "cube");
  AddIPTCKeyword(&u, "cubemap");
  EXPECT_EQ(Keywords(u), (std::vector<std::string>{"cube", "cubemap"}));
  TIPTCThing v;
  InitIPTC(&v);
  for (int k = 0; k < 25; ++k) AddIPTCKeyword(&v, ("w" + std::to_string(k)).c_str());
  ASSERT_EQ(v.keywordCount, 19) << "the 20th keyword is refused";
  EXPECT_STREQ(v.keywords[18], "w18");
  EXPECT_EQ(v.keywords[19][0], '\0');
}

// Nineteen keywords of 49 characters need more than the usual 1000 bytes:
// the block holds them all (the sanitizer builds see any overrun).
TEST(Iptc, LongKeywordsFitTheirBlock) {
  TIPTCThing t;
  InitIPTC(&t);
  for (int k = 0; k < 19; ++k) AddIPTCKeyword(&t, (std::string(1, char('a' + k)) + std::string(48, 'k')).c_str());
  const uint32_t expected = 12 + 90 + 19 * 54;
  EXPECT_EQ(build_IPTC_resource(&t, 0, 1), expected);
  EXPECT_EQ(build_IPTC_resource(&t, 0, 0), expected);
  EXPECT_EQ(t.buffer[expected - 1], 'k');
  dispose_IPTC_resource_memory(&t, 0);
}

// The block read back as a TIFF structure: every entry in tag order, each
// value where its offset says, the text last.
TEST(Exif, BlockInBothForms) {
  const auto u16 = [](const uint8_t* p) { return uint32_t(p[0] << 8 | p[1]); };
  const auto u32 = [](const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; };
  struct Want {
    uint32_t tag, type, count, value;  // value: the short itself, or the rational's numerator
  };
  const Want want[] = {{0x011A, 5, 1, 72}, {0x011B, 5, 1, 72}, {0x0128, 3, 1, 2}, {0x0131, 2, 10, 0}, {0x0213, 3, 1, 1}};
  for (uint8_t header : {0, 1}) {
    TEXIFThing e;
    InitEXIF(&e);
    const int32_t size = header ? 106 : 100;
    EXPECT_EQ(build_EXIF_resource(&e, header, 1), size);
    ASSERT_EQ(build_EXIF_resource(&e, header, 0), size);
    ASSERT_EQ(e.length, uint32_t(size));
    if (header) EXPECT_EQ(std::memcmp(e.buffer, "Exif\0\0", 6), 0);
    const uint8_t* t = e.buffer + (header ? 6 : 0);
    EXPECT_EQ(std::memcmp(t, "MM\0\x2A\0\0\0\x08", 8), 0);
    ASSERT_EQ(u16(t + 8), 5u);
    for (int k = 0; k < 5; ++k) {
      const uint8_t* entry = t + 10 + 12 * k;
      SCOPED_TRACE(want[k].tag);
      EXPECT_EQ(u16(entry), want[k].tag);
      EXPECT_EQ(u16(entry + 2), want[k].type);
      EXPECT_EQ(u32(entry + 4), want[k].count);
      if (want[k].type == 3) EXPECT_EQ(u16(entry + 8), want[k].value);
      if (want[k].type == 5) {
        const uint32_t at = u32(entry + 8);
        ASSERT_LE(at + 8, 100u);
        EXPECT_EQ(u32(t + at), want[k].value);
        EXPECT_EQ(u32(t + at + 4), 1u);
      }
      if (want[k].type == 2) {
        const uint32_t at = u32(entry + 8);
        ASSERT_EQ(at + 10, 100u);
        EXPECT_STREQ(reinterpret_cast<const char*>(t + at), "Gyrelle 2");
      }
    }
    EXPECT_EQ(u32(t + 70), 0u) << "no next IFD";
    EXPECT_EQ(build_EXIF_resource(&e, header, 0), 0);
    dispose_EXIF_resource_memory(&e, 1);
    EXPECT_NE(e.buffer, nullptr) << "kept when asked";
    dispose_EXIF_resource_memory(&e, 0);
    EXPECT_EQ(e.buffer, nullptr);
  }
  EXPECT_EQ(build_EXIF_resource(nullptr, 1, 0), 0);
}

PSDdoc Doc(int32_t kind, int32_t layer = -1, int32_t bytesPerChannel = 1) {
  PSDdoc d{};
  d.exportKind = kind;
  d.outputMode = -1;
  d.currentLayer = layer;
  d.bytesPerChannel = bytesPerChannel;
  return d;
}

TEST(Keywords, FromTheTask) {
  const struct {
    const char* what;
    PSDdoc doc;
    bool withDoc;
    int32_t task;
    std::vector<std::string> words;
  } cases[] = {
      {"cube file 3", Doc(ExportKind_CubeFaces, 3), true, ExportKind_CubeFaces,
       {"panorama", "cube", "cubemap", "left", "270"}},
      {"cube file 1", Doc(ExportKind_CubeFaces, 1), true, ExportKind_CubeFaces,
       {"panorama", "cube", "cubemap", "bottom"}},
      {"float result", Doc(ExportKind_ResultImage, -1, 4), true, ExportKind_ResultImage,
       {"HDR", "high dynamic range", "panorama"}},
      {"bricks", Doc(ExportKind_Bricks), true, ExportKind_Bricks, {"panorama", "lego", "sphere"}},
      {"faces", Doc(ExportKind_PolyhedronFaces), true, ExportKind_PolyhedronFaces, {"panorama", "polyhedron"}},
      {"texture document", Doc(ExportKind_ObjTexture), true, ExportKind_ObjTexture,
       {"panorama", "3D", "texturemap", "obj"}},
      {"JPEG texture", Doc(0), false, ExportKind_ObjTexture, {"panorama", "texturemap", "3D", "obj"}},
      {"gallery", Doc(0), false, 5, {"panorama", "gallery", "preset"}},
      {"JPEG result", Doc(0), false, ExportKind_ResultImage, {"panorama"}},
  };
  for (const auto& c : cases) {
    TIPTCThing t;
    InitIPTC(&t);
    AddTaskSpecificKeywords(&t, c.withDoc ? &c.doc : nullptr, c.task);
    EXPECT_EQ(Keywords(t), c.words) << c.what;
  }
  AddTaskSpecificKeywords(nullptr, nullptr, 3);
}

TEST(Keywords, FromTheSettings) {
  FakeHost host(4, 4, kImageModeRGB, 8, 3, false);
  TParameters* p = host.Settings();
  const struct {
    const char* what;
    int32_t exportKind, outputMode, glueMode, grid, anamorphic, plates;
    std::vector<std::string> words;
  } cases[] = {
      {"Peirce quincunx faces", 2, 94, 1, 1, 0, 0, {"Peirce quincunx", "conformal"}},
      {"cube export names no mode", 1, 94, 1, 1, 0, 0, {}},
      {"plates", 0, 1, 1, 1, 0, 1, {"plates"}},
      {"bricks, grid, anamorphic", 0, 1, 1, 2, 1, 0, {"bricks", "grid", "graticule", "anamorphic"}},
      {"screendim result", 3, 1, 62, 1, 0, 0, {"equirectangular", "screendim"}},
      {"glue out of range", 3, 139, 63, 1, 0, 0, {"Quick globe", "orthographic"}},
  };
  for (const auto& c : cases) {
    p->exportKind = c.exportKind;
    p->outputMode = c.outputMode;
    p->glueMode = c.glueMode;
    p->gridLegacy = c.grid;
    p->anamorphic = c.anamorphic;
    p->brickPlates = c.plates;
    TIPTCThing t;
    InitIPTC(&t);
    AddSettingsSpecificKeywords(&t, host.globals);
    EXPECT_EQ(Keywords(t), c.words) << c.what;
  }
}

}  // namespace
