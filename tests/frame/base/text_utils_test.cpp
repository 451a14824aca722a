// The string routines: number extraction and parsing, the two string forms,
// name cleaning and case-blind search.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include "frame/base/text_utils.h"

namespace {

TEST(TextUtils, NumberCharactersAreKept) {
  struct {
    const char* in;
    bool keepDecimal;
    const char* out;
  } cases[] = {
      {" 1 2,5 e-3", false, "125-3"},
      {"-0.5 deg", true, "-0.5"},
      {"-0.5 deg", false, "-05"},
      {"+12.75%", true, "+12.75"},
      {"", false, ""},
      {"abc", true, ""},
  };
  for (const auto& c : cases) {
    char buf[64];
    std::strcpy(buf, c.in);
    if (c.keepDecimal)
      deSpaceCString_keeping_decimal(buf);
    else
      deSpaceCString(buf);
    EXPECT_STREQ(buf, c.out) << '"' << c.in << '"';
  }
  deSpaceCString(nullptr);
}

TEST(TextUtils, NumberExtractionCutsLongInputSafely) {
  // 300 digits: only the first 255 are looked at, and nothing overflows.
  std::string digits(300, '7');
  digits[254] = '1';
  digits[255] = '2';
  deSpaceCString(digits.data());
  EXPECT_EQ(std::strlen(digits.c_str()), 255u);
  EXPECT_EQ(digits[254], '1');
}

TEST(TextUtils, NumbersAreReadInTheCLocaleWhateverTheProcessLocale) {
  // A locale with a decimal comma must not change how "2.5" reads.
  const bool haveCommaLocale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  struct {
    const char* in;
    int32_t asInt;
    double asDouble;
  } cases[] = {
      {"42", 42, 42.0},
      {"  -17", -17, -17.0},
      {"+8", 8, 8.0},
      {"2.5", 2, 2.5},
      {"-0.25e2", 0, -25.0},
      {".5", 0, 0.5},
      {"12abc", 12, 12.0},
      {"abc", 0, 0.0},
      {"", 0, 0.0},
      {"-", 0, 0.0},
      {"inf", 0, 0.0},
      {"nan", 0, 0.0},
      {"99999999999", INT32_MAX, 99999999999.0},
      {"-99999999999", INT32_MIN, -99999999999.0},
      {"-2147483648", INT32_MIN, -2147483648.0},
      {"1e999", 1, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MacCStringToNum(c.in), c.asInt) << '"' << c.in << '"';
    EXPECT_DOUBLE_EQ(MacCStringToFloat(c.in), c.asDouble) << '"' << c.in << '"';
  }
  EXPECT_EQ(MacCStringToNum(nullptr), 0);
  EXPECT_EQ(MacCStringToFloat(nullptr), 0.0);
  if (haveCommaLocale) std::setlocale(LC_NUMERIC, "C");
}

TEST(TextUtils, LengthPrefixedStringsConvertBothWays) {
  // 300 characters become a 255-character length-prefixed string.
  char buf[512];
  std::memset(buf, 'x', 300);
  buf[0] = 'a';
  buf[254] = 'z';
  buf[300] = '\0';
  Cstring2Str255(buf);
  EXPECT_EQ(static_cast<unsigned char>(buf[0]), 255);
  EXPECT_EQ(buf[1], 'a');
  EXPECT_EQ(buf[255], 'z');

  unsigned char p[256];
  std::memset(p, 'q', sizeof p);
  p[0] = 200;
  ZorStr2552Cstring(p);
  EXPECT_EQ(std::strlen(reinterpret_cast<char*>(p)), 200u);

  // A short string in a small buffer: nothing is touched past its end.
  char hello[7];
  std::strcpy(hello, "hello");
  Cstring2Str255(hello);
  EXPECT_EQ(hello[0], 5);
  char back[16];
  CopyPascalToC(reinterpret_cast<unsigned char*>(hello), back);
  EXPECT_STREQ(back, "hello");
  ZorStr2552Cstring(reinterpret_cast<unsigned char*>(hello));
  EXPECT_STREQ(hello, "hello");
}

TEST(TextUtils, LengthCopyAndAppend) {
  EXPECT_EQ(zor_PIstrlen(nullptr), 0);
  EXPECT_EQ(zor_PIstrlen(""), 0);
  EXPECT_EQ(zor_PIstrlen("abc"), 3);
  std::string huge(40000, 'a');
  EXPECT_EQ(zor_PIstrlen(huge.c_str()), kMaxCStringLength);

  char buf[64] = "";
  PIstrcpy(buf, "name");
  PIstrcat(buf, " 1");
  AppendCharToCString(buf, '!');
  EXPECT_STREQ(buf, "name 1!");
  SpacesToScores(buf);
  EXPECT_STREQ(buf, "name_1!");
  AppendJPG(buf);
  EXPECT_STREQ(buf, "name_1!.jpg");
  AppendBreak(buf);
  EXPECT_STREQ(buf, "name_1!.jpg<br>\r");
  AppendCharToCString(nullptr, 'x');
  EXPECT_EQ(PIstrcpy(buf, nullptr), buf);
}

TEST(TextUtils, NamesAreCleanedForPagesAndModels) {
  struct {
    std::string in;
    bool forObj;
    std::string out;
  } cases[] = {
      {"a/b:c", false, "a_b_c"},
      {"back\\slash", false, "back_slash"},
      {std::string("x\x8Ey"), false, "x_y"},  // 142 folds to a point, shown as "_"
      {std::string("\xC1"), false, "a"},      // 193 folds to "a"
      {std::string("\xE0"), false, std::string("\x80")},  // 224 stays high
      {std::string("tab\there"), false, "tab here"},
      {"two words/here", true, "two_words_here"},
      {std::string("ctl\x01"), true, "ctl "},
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    if (c.forObj)
      MakeNameNonWeirdForOBJ(s.data());
    else
      MakeCFilenameNonWeirdForHTMLDisplay(s.data());
    EXPECT_EQ(s, c.out) << '"' << c.in << '"';
  }
}

TEST(TextUtils, CaseBlindMatchAndSearch) {
  struct {
    const char *a, *b;
    int32_t caseBlind, at;
  } finds[] = {
      {"abc", "xxABC", 1, 2},   {"abc", "xxABC", 0, -1}, {"", "abc", 1, -1},   {"abc", "", 1, -1},
      {"abcd", "abc", 1, -1},   {"q2q", "name.Q2Q", 1, 5}, {"ab", "abab", 0, 0}, {nullptr, "abc", 1, -1},
      {"abc", nullptr, 1, -1},  {"\xC1", "\xE1", 1, -1},  // only A-Z fold
  };
  for (const auto& f : finds)
    EXPECT_EQ(findAinB(f.a, f.b, f.caseBlind), f.at) << (f.a ? f.a : "(null)") << " in " << (f.b ? f.b : "(null)");

  EXPECT_EQ(AMatchesB_nocase("JPG", "name.jpg", 3, 5), 1);
  EXPECT_EQ(AMatchesB_nocase("JPG", "name.jpe", 3, 5), 0);
  EXPECT_EQ(AMatchesB_nocase("x", "y", 0, 0), 1);
  EXPECT_EQ(AMatchesB_nocase("[", "{", 1, 0), 0);
}

}  // namespace
