#include "host/cli/setting_names.h"

#include <algorithm>
#include <cctype>

#include "export/mode_names.h"
#include "frame/settings/enum_codes.h"
#include "host/cli/setting_keys.h"

namespace gyhost {

namespace {

// The sampling qualities the preview may use, by their number.
constexpr const char* kQualityNames[3] = {"fast", "anisotropic", "deluxe"};

struct NamedKey {
  FourCC key;
  FourCC type;
};

constexpr NamedKey kNamedKeys[] = {
    {MakeFourCC("Foky"), kEnumTypeOutputMode}, {MakeFourCC("Fiky"), kEnumTypeInputMode},
    {MakeFourCC("GLUE"), kEnumTypeGlueMode},   {MakeFourCC("Fgky"), kEnumTypeGraticule},
    {kQualityKey, kEnumTypeQuality},
};

// Every value of the type that has both a code and a name, in value order.
std::vector<std::pair<int32_t, std::string>> NamedValues(FourCC type) {
  std::vector<std::pair<int32_t, std::string>> out;
  const EnumCodeTable t = EnumCodesOfType(type);
  for (int32_t i = 0; i < t.count; ++i) {
    const char* name = EnumValueName(type, t.entries[i].value);
    if (name[0]) out.emplace_back(t.entries[i].value, name);
  }
  return out;
}

std::string JoinChoices(const std::vector<std::string>& names) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() ? " or " : ", ";
    out += names[i];
  }
  return out;
}

}  // namespace

int EditDistance(const std::string& a, const std::string& b) {
  std::vector<int> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = int(j);
  for (size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = int(i);
    for (size_t j = 1; j <= b.size(); ++j) {
      const int up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

std::string LowerCase(std::string s) {
  for (char& c : s) c = char(std::tolower(uint8_t(c)));
  return s;
}

std::string NameKey(const std::string& name) {
  std::string out;
  for (char c : name)
    if (c != ' ' && c != '_') out += char(std::tolower(uint8_t(c)));
  return out;
}

const char* EnumValueName(FourCC type, int32_t value) {
  switch (type) {
    case kEnumTypeOutputMode:
      return GyrelleOutputModeName(value);
    case kEnumTypeInputMode:
      return InputModeName(value);
    case kEnumTypeGlueMode:
      return GlueModeKeyword(value);
    case kEnumTypeGraticule:
      return GraticuleName(value);
    case kEnumTypeQuality:
      return value >= 1 && value <= 3 ? kQualityNames[value - 1] : "";
    default:
      return "";
  }
}

const char* EnumTypeNoun(FourCC type) {
  switch (type) {
    case kEnumTypeOutputMode:
      return "output mode";
    case kEnumTypeInputMode:
      return "input mode";
    case kEnumTypeGlueMode:
      return "glue mode";
    case kEnumTypeGraticule:
      return "graticule";
    case kEnumTypeQuality:
      return "preview quality";
    default:
      return "value";
  }
}

FourCC NamedTypeOfKey(FourCC key) {
  for (const NamedKey& k : kNamedKeys)
    if (k.key == key) return k.type;
  return 0;
}

bool FindEnumValueByName(FourCC type, const std::string& name, int32_t* value) {
  const std::string wanted = NameKey(name);
  if (wanted.empty()) return false;
  for (const auto& [v, n] : NamedValues(type)) {
    if (NameKey(n) == wanted) {
      *value = v;
      return true;
    }
  }
  return false;
}

std::string NearestNames(FourCC type, const std::string& given) {
  const std::string wanted = NameKey(given);
  if (wanted.empty()) return "";
  // A slip of a letter or two in a long name; one in a short one.
  const int allowed = wanted.size() <= 4 ? 1 : (wanted.size() <= 8 ? 2 : 3);
  int best = allowed + 1;
  std::vector<std::string> near, containing;
  for (const auto& [v, n] : NamedValues(type)) {
    const std::string key = NameKey(n);
    const int d = EditDistance(wanted, key);
    if (d < best) {
      best = d;
      near.clear();
    }
    if (d == best && near.size() < 4 && std::find(near.begin(), near.end(), n) == near.end()) near.push_back(n);
    if (wanted.size() >= 3 && key.find(wanted) != std::string::npos &&
        std::find(containing.begin(), containing.end(), n) == containing.end())
      containing.push_back(n);
  }
  if (!near.empty()) return JoinChoices(near);
  // A part of a name: "winkel" for "Winkel Tripel".
  if (containing.empty() || containing.size() > 4) return "";
  return JoinChoices(containing);
}

bool ParseSettingByName(const std::string& arg, DescEntry* entry, std::string* error) {
  const size_t eq = arg.find('=');
  FourCC key = 0;
  const FourCC type = eq == std::string::npos || !ParseFourCC(arg.substr(0, eq), &key) ? 0 : NamedTypeOfKey(key);
  if (type == 0) {
    if (ParseSetting(arg, entry, error)) return true;
    if (eq != std::string::npos) *error += " (gyrelle --list shows what each key takes)";
    return false;
  }
  const std::string value = arg.substr(eq + 1);
  FourCC code = 0;
  int32_t number = 0;
  const bool isCode = ParseFourCC(value, &code) && zor_EnumToValue(type, code, &number);
  if (!isCode && FindEnumValueByName(type, value, &number)) zor_ValueToEnum(number, type, &code);
  if (isCode || code != 0) {
    *entry = DescEntry{};
    entry->key = key;
    if (type == kEnumTypeQuality) {
      entry->kind = DescKind::Integer;
      entry->integer = number;
    } else {
      entry->kind = DescKind::Enumerated;
      entry->code = type;
      entry->value = code;
    }
    return true;
  }
  // Numbers and four-character codes go on to the key's own check, which
  // says what the key takes and which codes are near.
  if (ParseSetting(arg, entry, error)) return true;
  const std::string near = NearestNames(type, value);
  *error = std::string("no ") + EnumTypeNoun(type) + " is named \"" + value + "\"" +
           (near.empty() ? std::string() : "; did you mean " + near + "?") +
           " (gyrelle --list shows every name and code)";
  return false;
}

}  // namespace gyhost
