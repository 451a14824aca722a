// Values by name: every name --list shows sets its own code, a slip is met
// with the nearest names, and what reaches the filter is still the code.
// Also the --list filter and where a batch puts each input's result.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "frame/settings/enum_codes.h"
#include "host/cli/batch.h"
#include "host/cli/setting_keys.h"
#include "host/cli/setting_names.h"
#include "host/cli/settings_list.h"
#include "tests/support/scratch_folder.h"

namespace gyhost {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Upper(std::string s) {
  for (char& c : s) c = char(std::toupper(uint8_t(c)));
  return s;
}

struct NamedType {
  FourCC type;
  const char* key;
};

constexpr NamedType kTypes[] = {{kEnumTypeOutputMode, "Foky"},
                                {kEnumTypeInputMode, "Fiky"},
                                {kEnumTypeGlueMode, "GLUE"},
                                {kEnumTypeGraticule, "Fgky"},
                                {kEnumTypeQuality, "0032"}};

// A name shared by two numbers (a variant of a mode) sets the first; every
// other name sets exactly its own value, in lower and upper case alike.
TEST(SettingNames, EveryListedNameSetsItsCode) {
  for (const NamedType& t : kTypes) {
    const EnumCodeTable table = EnumCodesOfType(t.type);
    int32_t named = 0;
    for (int32_t i = 0; i < table.count; ++i) {
      const std::string name = EnumValueName(t.type, table.entries[i].value);
      if (name.empty()) continue;
      ++named;
      int32_t first = 0;
      for (int32_t j = 0; j < table.count && first == 0; ++j)
        if (EnumValueName(t.type, table.entries[j].value) == name) first = table.entries[j].value;
      for (const std::string& spelling : {LowerCase(name), Upper(name), name}) {
        SCOPED_TRACE(std::string(t.key) + "=" + spelling);
        DescEntry e;
        std::string error;
        ASSERT_TRUE(ParseSettingByName(std::string(t.key) + "=" + spelling, &e, &error)) << error;
        std::string message;
        ASSERT_NE(CheckSetting(&e, &message), SettingCheck::Refused) << message;
        int32_t value = 0;
        if (t.type == kEnumTypeQuality) {
          ASSERT_EQ(e.kind, DescKind::Integer);  // recorded as a number
          value = int32_t(e.integer);
        } else {
          ASSERT_EQ(e.kind, DescKind::Enumerated);
          EXPECT_EQ(e.code, t.type);
          ASSERT_TRUE(zor_EnumToValue(t.type, e.value, &value));
        }
        EXPECT_EQ(value, first);
      }
    }
    EXPECT_GT(named, 2) << t.key;
  }
}

TEST(SettingNames, SlipsAreMetWithTheNearestNames) {
  const struct {
    const char* setting;
    const char* says;
  } cases[] = {
      {"Foky=molweide", "did you mean Mollweide?"},
      {"Foky=Mollwiede", "did you mean Mollweide?"},
      {"Foky=winkel", "did you mean Winkel Tripel?"},
      {"Foky=half_polr", "did you mean half-polar?"},
      {"Foky=cubr", "did you mean cube?"},  // four letters: taken for a code first
      {"Fiky=mirrorbal", "did you mean mirror ball?"},
      {"GLUE=multipy", "did you mean multiply?"},
      {"Fgky=every 10 degree", "did you mean every 10 degrees?"},
      {"0032=delux", "did you mean deluxe?"},
      {"Foky=xyzzyq", "gyrelle --list shows every name and code"},
      {"Foky=45", "a name such as \"Mollweide\""},
      {"0035=sideways", "gyrelle --list shows what each key takes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    DescEntry e;
    std::string message;
    if (ParseSettingByName(c.setting, &e, &message)) {
      ASSERT_EQ(CheckSetting(&e, &message), SettingCheck::Refused) << message;
    }
    EXPECT_TRUE(Contains(message, c.says)) << message;
  }
}

TEST(SettingsList, AFilterShowsWhatMatchesAndOneModeInFull) {
  const struct {
    const char* filter;
    bool found;
    std::vector<const char*> has, hasNot;
  } cases[] = {
      {"mollweide", true, {"  Fo45    46  Mollweide\n", "  Fi07     7  Mollweide\n", "synonym: none"}, {"Hammer"}},
      {"Fo45", true, {"Fo45, output mode 46: Mollweide", "polyhedron: no"}, {"Input modes"}},
      {"TW46", true, {"output mode 35: Winkel Tripel", "synonym: globe"}, {}},
      {"46", true, {"  Fo45    46  Mollweide\n", "  GL46    46  wax\n"}, {"  Fo46 "}},
      {"cube", true, {"  Fo07     7  cube\n", "polyhedron: yes; --save faces, obj and polymap apply", "0038  tab size"},
       {"curvy cube"}},
      {"rectilinear", true, {"0037  view angle"}, {"0038"}},
      {"gnomonic", true, {"  Fo14    14  rectilinear\n", "synonym: gnomonic"}, {}},
      {"gores", true, {"gores 12", "gores multi", "gores 6 of 12"}, {"synonym:", "Mollweide"}},
      {"Fr93", true, {"[not drawable", "not drawable: its shape has no faces"}, {}},
      {"0037", true, {"  0037 number"}, {"Output modes"}},
      {"brick preview", true, {"0018  layers of the brick sphere", "ldraw and brickstats"}, {}},
      {"deluxe", true, {"  IQr3     3  deluxe\n", "--set 0032=3"}, {}},
      {"molweide", false, {"did you mean output mode Mollweide"}, {}},
      {"zzzzzz", false, {"nothing in the list matches \"zzzzzz\""}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    std::string text;
    EXPECT_EQ(FilteredListText(c.filter, &text), c.found);
    for (const char* part : c.has) EXPECT_TRUE(Contains(text, part)) << part << "\n" << text;
    for (const char* part : c.hasNot) EXPECT_FALSE(Contains(text, part)) << part << "\n" << text;
  }
  // The whole list marks the mode that cannot be drawn on its own line.
  EXPECT_TRUE(Contains(SettingsListText(), "  Fr93   291  VivoIcosahedron  [not drawable"));
  EXPECT_TRUE(Contains(SettingsListText(), "Preview qualities"));
}

TEST(BatchPlan, EveryInputGetsItsOwnOutputOrAReason) {
  ScratchFolder dir;
  mkdir((dir / "a").c_str(), 0755);
  mkdir((dir / "b").c_str(), 0755);
  mkdir((dir / "out").c_str(), 0755);
  const std::string a = dir / "a/x.png", b = dir / "b/x.png", c = dir / "c.tif", folder = dir / "a";
  const struct {
    std::vector<std::string> inputs;
    std::string target, format;
    std::vector<std::string> outputs;  // "" where a problem is expected
  } cases[] = {
      {{a, c}, dir / "out", "", {dir / "out/x.png", dir / "out/c.tif"}},
      {{a, c}, dir / "out", "jpg", {dir / "out/x.jpg", dir / "out/c.jpg"}},
      {{a, b, c}, dir / "out", "", {dir / "out/x.png", "", dir / "out/c.tif"}},  // a second x.png
      {{a, a}, dir / "out/", "", {dir / "out/x.png", ""}},                        // the same input twice
      {{a, c}, dir / "a", "", {"", dir / "a/c.tif"}},                              // x.png onto itself
      {{c, a}, dir / "./a/../a", "", {dir / "./a/../a/c.tif", ""}},                // however it is spelt
      {{a, c}, dir / "out/{name}_m.exr", "png", {dir / "out/x_m.exr", dir / "out/c_m.exr"}},
      {{a, c}, dir / "out/{name}_m", "", {dir / "out/x_m.png", dir / "out/c_m.tif"}},
      {{a, b}, dir / "out/{name}.png", "", {dir / "out/x.png", ""}},
      {{folder, c}, dir / "out", "", {"", dir / "out/c.tif"}},
  };
  PutText(a, "not read here");
  for (size_t n = 0; n < std::size(cases); ++n) {
    SCOPED_TRACE(n);
    const auto& k = cases[n];
    const std::vector<BatchItem> items = PlanBatch(k.inputs, k.target, k.format);
    ASSERT_EQ(items.size(), k.inputs.size());
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].input, k.inputs[i]);
      EXPECT_EQ(items[i].output, k.outputs[i]);
      EXPECT_EQ(items[i].problem.empty(), !k.outputs[i].empty()) << items[i].problem;
    }
  }
}

}  // namespace
}  // namespace gyhost
