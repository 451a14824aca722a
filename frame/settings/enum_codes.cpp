#include "frame/settings/enum_codes.h"

#include <array>

namespace {

// A run pairs the values first..last with codes counting up from `code`: its
// trailing digits step in decimal, keeping their width. Rows stand in value
// order, as the numbers were handed out over the years.
struct CodeRun {
  int32_t first, last;
  char code[5];
};

constexpr CodeRun kOutputModeRuns[] = {
    {1, 15, "Fo01"},       {16, 16, "Fo70"},      {17, 34, "Fo16"},      {35, 35, "TW46"},
    {36, 55, "Fo35"},      {56, 69, "Fo56"},      {70, 98, "Fo71"},      {99, 105, "Fp00"},
    {106, 116, "Fp08"},    {117, 117, "Fp41"},    {118, 120, "Fp29"},    {121, 121, "Fp33"},
    {122, 123, "Fp38"},    {124, 124, "Fp20"},    {125, 125, "Fp32"},    {126, 126, "Fp40"},
    {127, 127, "Fp21"},    {128, 133, "Fp23"},    {134, 136, "Fp42"},    {137, 137, "TW45"},
    {138, 142, "Fp47"},    {143, 144, "Fp53"},    {145, 145, "Fp56"},    {146, 149, "Fp58"},
    {150, 150, "Fp55"},    {151, 151, "Fp57"},    {152, 163, "Fp62"},    {164, 174, "Fp76"},
    {175, 176, "Fp89"},    {177, 198, "Fq00"},    {199, 201, "Fr00"},    {202, 202, "Fr30"},
    {203, 203, "Fr40"},    {204, 204, "Fr03"},    {205, 205, "Fr31"},    {206, 209, "Fr04"},
    {210, 210, "Fr32"},    {211, 211, "Fr41"},    {212, 212, "Fr08"},    {213, 213, "Fr33"},
    {214, 214, "Fr42"},    {215, 219, "Fr09"},    {220, 220, "Fr34"},    {221, 221, "Fr43"},
    {222, 222, "Fr14"},    {223, 223, "Fr35"},    {224, 224, "Fr44"},    {225, 225, "Fr15"},
    {226, 226, "Fr36"},    {227, 232, "Fr16"},    {233, 233, "Fr37"},    {234, 234, "Fr45"},
    {235, 235, "Fr22"},    {236, 236, "Fr38"},    {237, 237, "Fr46"},    {238, 238, "Fr23"},
    {239, 239, "Fr39"},    {240, 240, "Fr47"},    {241, 246, "Fr24"},    {247, 254, "Fr48"},
    {255, 262, "Fr62"},    {263, 267, "Fr56"},    {268, 291, "Fr70"},    {1038, 1041, "Fp34"},
    {1042, 1042, "Fp88"},  {1043, 1043, "Fp##"},  {1046, 1046, "Fo55"},  {1047, 1047, "Fp87"},
};

// There is no 'Fi17'.
constexpr CodeRun kInputModeRuns[] = {{1, 16, "Fi01"}, {17, 30, "Fi18"}};
constexpr CodeRun kGraticuleRuns[] = {{1, 7, "Fgr1"}};
constexpr CodeRun kGlueModeRuns[] = {{1, 62, "GL01"}};
constexpr CodeRun kQualityRuns[] = {{1, 3, "IQr1"}};

template <size_t N>
constexpr int32_t CountOf(const CodeRun (&runs)[N]) {
  int32_t n = 0;
  for (const CodeRun& r : runs) n += r.last - r.first + 1;
  return n;
}

constexpr FourCC CodeAt(const CodeRun& run, int32_t step) {
  char c[4] = {run.code[0], run.code[1], run.code[2], run.code[3]};
  int width = 0;
  while (width < 2 && c[3 - width] >= '0' && c[3 - width] <= '9') ++width;
  int number = 0;
  for (int i = 4 - width; i < 4; ++i) number = number * 10 + (c[i] - '0');
  number += step;
  for (int i = 3; i >= 4 - width; --i) {
    c[i] = char('0' + number % 10);
    number /= 10;
  }
  return (FourCC(uint8_t(c[0])) << 24) | (FourCC(uint8_t(c[1])) << 16) | (FourCC(uint8_t(c[2])) << 8) |
         FourCC(uint8_t(c[3]));
}

template <int32_t Count, size_t N>
constexpr std::array<EnumCodeEntry, Count> Expand(const CodeRun (&runs)[N]) {
  std::array<EnumCodeEntry, Count> out{};
  int32_t k = 0;
  for (const CodeRun& r : runs)
    for (int32_t v = r.first; v <= r.last; ++v) out[size_t(k++)] = EnumCodeEntry{v, CodeAt(r, v - r.first)};
  return out;
}

// A run must not step its digits past their width ("Fo99" + 1).
constexpr bool DigitsStayInWidth(const CodeRun& r) {
  int width = 0;
  while (width < 2 && r.code[3 - width] >= '0' && r.code[3 - width] <= '9') ++width;
  int number = 0, limit = 1;
  for (int i = 4 - width; i < 4; ++i) {
    number = number * 10 + (r.code[i] - '0');
    limit *= 10;
  }
  return number + (r.last - r.first) < limit;
}

template <size_t N>
constexpr bool RunsWellFormed(const CodeRun (&runs)[N]) {
  for (const CodeRun& r : runs)
    if (r.last < r.first || !DigitsStayInWidth(r)) return false;
  return true;
}

template <size_t N>
constexpr bool ValuesAscendAndCodesUnique(const std::array<EnumCodeEntry, N>& t) {
  for (size_t i = 0; i < N; ++i) {
    if (i > 0 && t[i].value <= t[i - 1].value) return false;
    for (size_t j = i + 1; j < N; ++j)
      if (t[i].code == t[j].code) return false;
  }
  return true;
}

static_assert(RunsWellFormed(kOutputModeRuns) && RunsWellFormed(kInputModeRuns) &&
              RunsWellFormed(kGraticuleRuns) && RunsWellFormed(kGlueModeRuns) && RunsWellFormed(kQualityRuns));

constexpr auto kOutputModeCodes = Expand<CountOf(kOutputModeRuns)>(kOutputModeRuns);
constexpr auto kInputModeCodes = Expand<CountOf(kInputModeRuns)>(kInputModeRuns);
constexpr auto kGraticuleCodes = Expand<CountOf(kGraticuleRuns)>(kGraticuleRuns);
constexpr auto kGlueModeCodes = Expand<CountOf(kGlueModeRuns)>(kGlueModeRuns);
constexpr auto kQualityCodes = Expand<CountOf(kQualityRuns)>(kQualityRuns);

static_assert(kOutputModeCodes.size() == 299 && kInputModeCodes.size() == 30 && kGraticuleCodes.size() == 7 &&
              kGlueModeCodes.size() == 62 && kQualityCodes.size() == 3);
static_assert(ValuesAscendAndCodesUnique(kOutputModeCodes) && ValuesAscendAndCodesUnique(kInputModeCodes) &&
              ValuesAscendAndCodesUnique(kGraticuleCodes) && ValuesAscendAndCodesUnique(kGlueModeCodes) &&
              ValuesAscendAndCodesUnique(kQualityCodes));
static_assert(kOutputModeCodes[15].value == 16 && kOutputModeCodes[15].code == MakeFourCC("Fo70"));
static_assert(kOutputModeCodes[298].value == 1047 && kOutputModeCodes[298].code == MakeFourCC("Fp87"));

template <size_t N>
constexpr EnumCodeTable TableOf(const std::array<EnumCodeEntry, N>& t) {
  return EnumCodeTable{t.data(), int32_t(N)};
}

}  // namespace

EnumCodeTable EnumCodesOfType(FourCC type) {
  switch (type) {
    case kEnumTypeOutputMode: return TableOf(kOutputModeCodes);
    case kEnumTypeInputMode: return TableOf(kInputModeCodes);
    case kEnumTypeGraticule: return TableOf(kGraticuleCodes);
    case kEnumTypeGlueMode: return TableOf(kGlueModeCodes);
    case kEnumTypeQuality: return TableOf(kQualityCodes);
    default: return EnumCodeTable{nullptr, 0};
  }
}

void zor_ValueToEnum(int32_t value, FourCC type, FourCC* code) {
  const EnumCodeTable t = EnumCodesOfType(type);
  *code = kEnumCodeNone;
  for (int32_t i = 0; i < t.count; ++i) {
    if (t.entries[i].value == value) {
      *code = t.entries[i].code;
      return;
    }
  }
}

bool zor_EnumToValue(FourCC type, FourCC code, int32_t* value) {
  const EnumCodeTable t = EnumCodesOfType(type);
  for (int32_t i = 0; i < t.count; ++i) {
    if (t.entries[i].code == code) {
      *value = t.entries[i].value;
      return true;
    }
  }
  *value = 0;
  return false;
}
