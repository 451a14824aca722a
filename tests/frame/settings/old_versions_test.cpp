// Old settings files and an outside reader of new ones: the fixtures in
// data/ and the parser are both made by make_old_settings.py, which is written
// from the file format's slot table rather than from this code.
#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "frame/globals.h"
#include "frame/settings/persistence.h"
#include "frame/settings/settings_file_reader.h"
#include "settings_fields.h"
#include "tests/support/settings_host.h"

namespace {

using Expectations = std::map<std::string, std::string>;

Expectations ParseLines(std::istream& in) {
  Expectations e;
  std::string name, value;
  while (in >> name >> value) e[name] = value;
  return e;
}

std::string Shown(const FieldRef& f) {
  switch (f.type) {
    case FieldType::Int: return std::to_string(*static_cast<int32_t*>(f.address));
    case FieldType::Channel: return std::to_string(*static_cast<uint16_t*>(f.address));
    case FieldType::Single:
    case FieldType::Tenths: {
      char text[16];
      std::snprintf(text, sizeof text, "f:%08x", std::bit_cast<uint32_t>(*static_cast<float*>(f.address)));
      return text;
    }
  }
  return "";
}

class OldVersion : public testing::TestWithParam<int> {};

TEST_P(OldVersion, ReadsWithEveryUpgrade) {
  char stem[16];
  std::snprintf(stem, sizeof stem, "v%02d", GetParam());
  const std::string base = std::string(GYRELLE_TEST_DATA) + "/" + stem;
  std::ifstream in(base + ".expect");
  ASSERT_TRUE(in) << base;
  Expectations expect = ParseLines(in);

  ScratchFolders folders;
  SettingsHost host;
  const FSRef ref = RefOf(base + ".q2q");
  uint8_t previewRead = 9;
  EXPECT_EQ(std::to_string(ReadSettingsFileSwitchably(host.globals, &ref, 0, SettingsRead_All, &previewRead)),
            expect["result"]);
  EXPECT_EQ(std::to_string(previewRead), expect["previewRead"]);
  EXPECT_EQ(std::to_string(host.globals->previewWidth), expect["previewWidth"]);
  EXPECT_EQ(std::to_string(host.globals->previewHeight), expect["previewHeight"]);
  for (const char* k : {"result", "previewRead", "previewWidth", "previewHeight"}) expect.erase(k);

  int checked = 0;
  ForEachFileField(host.Settings(), [&](const FieldRef& f) {
    const auto it = expect.find(f.name);
    if (it == expect.end()) return;
    EXPECT_EQ(Shown(f), it->second) << stem << " " << f.name;
    expect.erase(it);
    ++checked;
  });
  EXPECT_TRUE(expect.empty()) << stem << ": " << expect.begin()->first << " is not a file field";
  EXPECT_GT(checked, 30);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, OldVersion, testing::Values(0, 7, 14, 20, 24, 27, 30, 34, 44, 46),
                         [](const testing::TestParamInfo<int>& i) { return "v" + std::to_string(i.param); });

// The examples the format's description gives, against the fixtures.
TEST(OldVersionExamples, TheDocumentedUpgradesHold) {
  ScratchFolders folders;
  const struct {
    int version;
    const char* field;
    int32_t value;
  } cases[] = {
      {20, "inputMode", 10},    // 3 / 0.3 in double precision
      {27, "outputMode", 33},   // 30 + 1 + 1 + 1
      {44, "outputMode", 38},   // 35 becomes 38 ...
      {44, "viewAngleInt", 33}, // ... with a view angle of 33
      {46, "twirlXInt", 12},
      {30, "viewAngleInt", 53}, // mode 14: 90 degrees rescaled, not flattened to 0
  };
  for (const auto& c : cases) {
    char name[64];
    std::snprintf(name, sizeof name, "%s/v%02d.q2q", GYRELLE_TEST_DATA, c.version);
    SettingsHost host;
    const FSRef ref = RefOf(name);
    ASSERT_EQ(ReadSettingsFile_ref(host.globals, &ref, 0), 0) << name;
    bool found = false;
    ForEachFileField(host.Settings(), [&](const FieldRef& f) {
      if (f.name != c.field) return;
      found = true;
      EXPECT_EQ(*static_cast<int32_t*>(f.address), c.value) << name << " " << c.field;
    });
    EXPECT_TRUE(found);
    if (c.version == 46 || c.version == 30) {
      EXPECT_EQ(host.Settings()->twirlX, float(host.Settings()->twirlXInt));
    }
  }
}

// The outside parser reads what we write, field by field.
TEST(OutsideParser, ReadsAVersion47FileAsWeMeantIt) {
  if (std::system("python3 -c pass >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  ScratchFolders folders;
  SettingsHost host;
  TParameters* p = host.Settings();
  int n = 0;
  ForEachFileField(p, [&n](const FieldRef& f) {
    ++n;
    if (f.type == FieldType::Int) *static_cast<int32_t*>(f.address) = 100 * n - 3;
    if (f.type == FieldType::Channel) *static_cast<uint16_t*>(f.address) = uint16_t(0xF000 + n);
    if (f.type == FieldType::Single) *static_cast<float*>(f.address) = float(n) / 3.0f;
    if (f.type == FieldType::Tenths) *static_cast<float*>(f.address) = float(n) / 4.0f;
  });
  const std::string path = folders.Path("out.q2q");
  const FSRef ref = MakeFile(path);
  ASSERT_EQ(WriteSettingsFile_ref(host.globals, &ref), 0);

  const std::string command =
      "python3 '" + std::string(GYRELLE_SOURCE_DIR) + "/tests/frame/settings/make_old_settings.py' parse '" + path + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char chunk[4096];
  while (size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) out.append(chunk, got);
  ASSERT_EQ(::pclose(pipe), 0) << out;
  std::istringstream lines(out);
  Expectations parsed = ParseLines(lines);

  EXPECT_EQ(parsed["preview.flag"], "1");
  EXPECT_EQ(parsed["preview.width"], "128");
  EXPECT_EQ(parsed["uncompressed.flag"], "0");
  EXPECT_EQ(parsed["placeholder"], "0");
  EXPECT_EQ(parsed["fixed"], "-1");
  EXPECT_EQ(parsed["colorF.0.first"], parsed["legacyColorF.0"]);
  ForEachFileField(p, [&](const FieldRef& f) {
    std::string expected = Shown(f);
    if (f.type == FieldType::Tenths) expected = std::to_string(int32_t(*static_cast<float*>(f.address) * 100.0f));
    EXPECT_EQ(parsed[f.name], expected) << f.name;
  });
}

}  // namespace
