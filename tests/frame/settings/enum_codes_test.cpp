// The scripting codes of the enumerated settings: every code round-trips, the
// output-mode table matches an expansion of its runs made by a separate
// script (tools/expand_output_mode_codes.py), and unknown values and codes
// answer '<NO>' and false.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>

#include "frame/settings/enum_codes.h"

namespace {

FourCC Code(const std::string& s) {
  return (FourCC(uint8_t(s[0])) << 24) | (FourCC(uint8_t(s[1])) << 16) | (FourCC(uint8_t(s[2])) << 8) |
         FourCC(uint8_t(s[3]));
}

std::string Text(FourCC c) {
  return std::string{char(c >> 24), char(c >> 16), char(c >> 8), char(c)};
}

TEST(EnumCodes, EveryCodeRoundTrips) {
  const struct {
    FourCC type;
    int32_t count;
  } types[] = {
      {kEnumTypeOutputMode, 299}, {kEnumTypeInputMode, 30}, {kEnumTypeGraticule, 7},
      {kEnumTypeGlueMode, 62},    {kEnumTypeQuality, 3},
  };
  for (const auto& t : types) {
    SCOPED_TRACE(Text(t.type));
    const EnumCodeTable table = EnumCodesOfType(t.type);
    ASSERT_EQ(table.count, t.count);
    std::set<FourCC> codes;
    for (int32_t i = 0; i < table.count; ++i) {
      const EnumCodeEntry& e = table.entries[i];
      FourCC code = 0;
      zor_ValueToEnum(e.value, t.type, &code);
      EXPECT_EQ(code, e.code) << e.value;
      int32_t value = -1;
      EXPECT_TRUE(zor_EnumToValue(t.type, code, &value)) << Text(code);
      EXPECT_EQ(value, e.value) << Text(code);
      codes.insert(code);
    }
    EXPECT_EQ(int32_t(codes.size()), t.count) << "codes repeat";
  }
  // The small tables are plain runs.
  for (int32_t v = 1; v <= 62; ++v) {
    FourCC code = 0;
    zor_ValueToEnum(v, kEnumTypeGlueMode, &code);
    EXPECT_EQ(Text(code), "GL" + std::string(v < 10 ? "0" : "") + std::to_string(v));
  }
  for (int32_t v = 1; v <= 30; ++v) {
    FourCC code = 0;
    zor_ValueToEnum(v, kEnumTypeInputMode, &code);
    const int32_t n = v <= 16 ? v : v + 1;
    EXPECT_EQ(Text(code), "Fi" + std::string(n < 10 ? "0" : "") + std::to_string(n));
  }
}

TEST(EnumCodes, OutputModesMatchTheIndependentExpansion) {
  std::ifstream in(std::string(GYRELLE_TEST_DATA) + "/output_mode_codes.txt");
  ASSERT_TRUE(in) << "run tools/expand_output_mode_codes.py";
  std::map<int32_t, std::string> expected;
  int32_t value = 0;
  std::string code;
  while (in >> value >> code) expected[value] = code;
  ASSERT_EQ(expected.size(), 299u);
  for (int32_t v = -5; v <= 1100; ++v) {
    FourCC got = 0;
    zor_ValueToEnum(v, kEnumTypeOutputMode, &got);
    const auto it = expected.find(v);
    EXPECT_EQ(Text(got), it == expected.end() ? "<NO>" : it->second) << "output mode " << v;
  }
}

TEST(EnumCodes, KnownAndUnknownCases) {
  const struct {
    FourCC type;
    int32_t value;
    const char* code;
  } toCode[] = {
      {kEnumTypeOutputMode, 16, "Fo70"},   {kEnumTypeOutputMode, 35, "TW46"},  {kEnumTypeOutputMode, 137, "TW45"},
      {kEnumTypeOutputMode, 1043, "Fp##"}, {kEnumTypeOutputMode, 1044, "<NO>"}, {kEnumTypeOutputMode, 1045, "<NO>"},
      {kEnumTypeOutputMode, 1048, "<NO>"}, {kEnumTypeOutputMode, 0, "<NO>"},   {kEnumTypeInputMode, 17, "Fi18"},
      {kEnumTypeInputMode, 31, "<NO>"},    {kEnumTypeGlueMode, 0, "<NO>"},     {kEnumTypeGlueMode, 63, "<NO>"},
      {kEnumTypeGraticule, 7, "Fgr7"},     {kEnumTypeQuality, 3, "IQr3"},     {Code("Zzzz"), 1, "<NO>"},
  };
  for (const auto& c : toCode) {
    FourCC code = 0;
    zor_ValueToEnum(c.value, c.type, &code);
    EXPECT_EQ(Text(code), c.code) << Text(c.type) << " " << c.value;
  }
  const struct {
    FourCC type;
    const char* code;
    bool known;
    int32_t value;
  } toValue[] = {
      {kEnumTypeOutputMode, "Fo70", true, 16},  {kEnumTypeOutputMode, "Fo34", false, 0},
      {kEnumTypeOutputMode, "Fp45", false, 0},  {kEnumTypeOutputMode, "Fp46", false, 0},
      {kEnumTypeOutputMode, "fo01", false, 0},  {kEnumTypeOutputMode, "Fi01", false, 0},
      {kEnumTypeInputMode, "Fi17", false, 0},   {kEnumTypeInputMode, "Fi31", true, 30},
      {kEnumTypeGlueMode, "GL62", true, 62},    {kEnumTypeGraticule, "Fgr8", false, 0},
      {kEnumTypeQuality, "IQr1", true, 1},      {Code("Zzzz"), "Fo01", false, 0},
      {kEnumTypeOutputMode, "<NO>", false, 0},
  };
  for (const auto& c : toValue) {
    int32_t value = -1;
    EXPECT_EQ(zor_EnumToValue(c.type, Code(c.code), &value), c.known) << c.code;
    EXPECT_EQ(value, c.value) << c.code;
  }
}

}  // namespace
