// The checks every --set and --descriptor value passes before any work, and
// the --list text against the code tables and the mode names.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "frame/settings/enum_codes.h"
#include "host/descriptor.h"
#include "host/cli/setting_keys.h"
#include "host/cli/settings_list.h"

namespace gyhost {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct CheckCase {
  const char* setting;
  SettingCheck verdict;
  const char* messageHas;  // "" for an accepted value
};

TEST(SettingChecks, CommandLineValuesAreRefusedReplacedOrAccepted) {
  const CheckCase cases[] = {
      {"foky=Fo45", SettingCheck::Refused, "did you mean Foky?"},
      {"Zzzz=1", SettingCheck::Refused, "unknown setting key \"Zzzz\""},
      {"Foky=Fo4S", SettingCheck::Refused, "did you mean Fo45?"},
      {"Foky=Fo34", SettingCheck::Refused, "did you mean Fo33 or Fo35?"},
      {"GLUE=GL99", SettingCheck::Refused, "did you mean GL62?"},
      {"Foky=45", SettingCheck::Refused, "needs a code such as Fo45"},
      {"Fiky=true", SettingCheck::Refused, "needs a code"},
      {"0029=2", SettingCheck::Refused, "needs true or false"},
      {"0018=20.5", SettingCheck::Refused, "needs a whole number"},
      {"0035=270", SettingCheck::Replaced, "270 is out of range (-180 to 180); the default 0 is used"},
      {"0037=200", SettingCheck::Replaced, "the default 120 is used"},
      {"0037=0", SettingCheck::Replaced, "0 is out of range (above 0 to 180)"},
      {"0035=nan", SettingCheck::Replaced, "nan is out of range"},
      {"0036=inf", SettingCheck::Replaced, "inf is out of range"},
      {"0018=1000", SettingCheck::Replaced, "the default 20 is used"},
      {"0001=300", SettingCheck::Replaced, "the default 215 is used"},
      {"Foky=Fo45", SettingCheck::Accepted, ""},
      {"Foky=TW46", SettingCheck::Accepted, ""},
      {"0029=1", SettingCheck::Accepted, ""},
      {"0029=true", SettingCheck::Accepted, ""},
      {"0035=-180", SettingCheck::Accepted, ""},
      {"0037=0.5", SettingCheck::Accepted, ""},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.setting);
    DescEntry e;
    std::string error;
    ASSERT_TRUE(ParseSetting(c.setting, &e, &error)) << error;
    std::string message;
    EXPECT_EQ(CheckSetting(&e, &message), c.verdict) << message;
    EXPECT_TRUE(Contains(message, c.messageHas)) << message;
    if (c.verdict == SettingCheck::Refused) {
      // The message names the key and what was given.
      const std::string setting = c.setting;
      EXPECT_TRUE(Contains(message, setting.substr(0, setting.find('=')))) << message;
    }
  }
}

// What the plug-in reads must arrive in the kind it reads it as.
TEST(SettingChecks, ValuesArriveInTheKindTheFilterReads) {
  const struct {
    const char* setting;
    DescKind kind;
    double value;
  } cases[] = {
      {"0029=1", DescKind::Boolean, 1}, {"0029=0", DescKind::Boolean, 0}, {"0035=90", DescKind::Float, 90},
      {"0035=400", DescKind::Float, 0}, {"0037=nan", DescKind::Float, 120}, {"0018=30", DescKind::Integer, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    DescEntry e;
    std::string text;
    ASSERT_TRUE(ParseSetting(c.setting, &e, &text));
    CheckSetting(&e, &text);
    EXPECT_EQ(e.kind, c.kind);
    EXPECT_EQ(e.kind == DescKind::Float ? e.real : double(e.integer), c.value);
  }
  DescEntry e;
  std::string text;
  ASSERT_TRUE(ParseSetting("Foky=Fo45", &e, &text));
  CheckSetting(&e, &text);
  EXPECT_EQ(e.code, kEnumTypeOutputMode);
}

// A descriptor file's NaN and a huge number are treated as --set's are.
TEST(SettingChecks, DescriptorFileValuesFollowTheSameRule) {
  Descriptor d;
  std::string error;
  ASSERT_TRUE(ParseDescriptorText("gyrelle-descriptor 1\n0035 float nan\n0034 float 1e9\nFoky enum Foty Fo99\n"
                                  "Foky enum Foty Fo45\nGLUE enum Foty GL01\n",
                                  &d, &error))
      << error;
  ASSERT_EQ(d.size(), 5u);
  std::string message;
  EXPECT_EQ(CheckSetting(&d[0], &message), SettingCheck::Replaced);
  EXPECT_EQ(d[0].real, 0.0);
  EXPECT_EQ(CheckSetting(&d[1], &message), SettingCheck::Replaced);
  EXPECT_TRUE(Contains(message, "1e+09 is out of range")) << message;
  EXPECT_EQ(CheckSetting(&d[2], &message), SettingCheck::Accepted);  // Fo99 exists (mode 98)
  EXPECT_EQ(CheckSetting(&d[3], &message), SettingCheck::Accepted);
  EXPECT_EQ(CheckSetting(&d[4], &message), SettingCheck::Refused);  // a glue code under the output type
  EXPECT_TRUE(Contains(message, "type GLty")) << message;
}

std::vector<std::pair<int, std::string>> WrittenNames() {
  std::ifstream in(std::string(GYRELLE_SOURCE_DIR) + "/tools/mode_names/names.txt");
  std::stringstream s;
  s << in.rdbuf();
  const std::string text = s.str();
  std::vector<std::pair<int, std::string>> out;
  for (size_t i = 0; i < text.size();) {
    const size_t open = text.find('"', i);
    if (open == std::string::npos) break;
    const size_t close = text.find('"', open + 1);
    size_t start = text.rfind(',', open);
    start = start == std::string::npos ? 0 : start + 1;
    out.emplace_back(std::stoi(text.substr(start, open - start)), text.substr(open + 1, close - open - 1));
    i = close + 1;
  }
  return out;
}

// Every code of every table is listed with its number and name; every key
// with its meaning.
TEST(SettingsList, ListsEveryCodeNumberNameAndKey) {
  const std::string list = SettingsListText();
  std::map<int, std::string> names;
  for (const auto& [mode, name] : WrittenNames()) names[mode] = name;
  ASSERT_EQ(names.size(), 301u);
  const FourCC types[] = {kEnumTypeOutputMode, kEnumTypeInputMode, kEnumTypeGlueMode, kEnumTypeGraticule};
  std::set<int> listedOutputModes;
  for (FourCC type : types) {
    const EnumCodeTable t = EnumCodesOfType(type);
    ASSERT_GT(t.count, 0);
    for (int32_t i = 0; i < t.count; ++i) {
      char head[32];
      std::snprintf(head, sizeof head, "  %-4s %5d  ", FormatFourCC(t.entries[i].code).c_str(),
                    int(t.entries[i].value));
      const size_t at = list.find(head);
      ASSERT_NE(at, std::string::npos) << head;
      const size_t end = list.find('\n', at);
      std::string name = list.substr(at + std::strlen(head), end - at - std::strlen(head));
      name = name.substr(0, name.find("  [not drawable"));
      if (type == kEnumTypeOutputMode) {
        const int mode = t.entries[i].value;
        EXPECT_EQ(name, names.count(mode) ? names[mode] : "(no name)") << head;
        listedOutputModes.insert(mode);
      } else {
        EXPECT_FALSE(name.empty() || name == "(no name)") << head;
      }
    }
  }
  // Named modes without a code are listed too.
  for (const auto& [mode, name] : names) {
    if (!listedOutputModes.count(mode)) EXPECT_TRUE(Contains(list, std::to_string(mode) + " (" + name + ")")) << mode;
  }
  EXPECT_TRUE(Contains(list, "  GL62    62  screendim\n"));
  EXPECT_TRUE(Contains(list, "  Fo45    46  Mollweide\n"));
  for (int32_t i = 0; i < SettingKeyCount(); ++i) {
    const SettingKey& k = SettingKeyAt(i);
    EXPECT_TRUE(Contains(list, std::string("  ") + k.key + " ")) << k.key;
    EXPECT_TRUE(Contains(list, k.meaning)) << k.key;
  }
}

}  // namespace
}  // namespace gyhost
