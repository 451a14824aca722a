#include "host/cli/setting_keys.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "export/mode_names_tables.h"
#include "frame/base/layout_names.h"
#include "frame/settings/enum_codes.h"
#include "host/cli/setting_names.h"

namespace gyhost {

namespace {

using T = SettingType;

// In the order the plug-in records them. Ranges and defaults are the plug-in's
// own: a value outside is what the plug-in would put back to its default.
constexpr SettingKey kKeys[] = {
    {"Vers", T::Integer, 0, 0, 47, false, 47, "settings version; below 47 the whole-number angle keys set the angles"},
    {"0001", T::Colour, 0, 0, 255, false, 215, "colour A, red (tabs, region marks)"},
    {"0002", T::Colour, 0, 0, 255, false, 172, "colour A, green"},
    {"0003", T::Colour, 0, 0, 255, false, 220, "colour A, blue"},
    {"0004", T::Colour, 0, 0, 255, false, 255, "colour B, red (background)"},
    {"0005", T::Colour, 0, 0, 255, false, 255, "colour B, green"},
    {"0006", T::Colour, 0, 0, 255, false, 255, "colour B, blue"},
    {"Fiky", T::Enumerated, kEnumTypeInputMode, 0, 0, false, 1, "input mode: how the picture covers the sphere"},
    {"0008", T::Integer, 0, -90, 90, false, 0, "tilt in whole degrees (old settings; 0034 wins)"},
    {"0009", T::Integer, 0, -180, 180, false, 0, "spin in whole degrees (old settings; 0036 wins)"},
    {"Foky", T::Enumerated, kEnumTypeOutputMode, 0, 0, false, 1, "output mode: the layout rendered"},
    {"0011", T::Boolean, 0, 0, 1, false, 0, "mirror the input left to right"},
    {"hqpr", T::Boolean, 0, 0, 1, false, 0, "high-quality preview"},
    {"0012", T::Integer, 0, -180, 180, false, 0, "turn in whole degrees (old settings; 0035 wins)"},
    {"0013", T::Integer, 0, 0, 100, false, 33, "tab size in whole percent (old settings; 0038 wins)"},
    {"0014", T::Integer, 0, kViewAngleAbove, kViewAngleMost, true, 120, "view angle in whole degrees (old settings; 0037 wins)"},
    {"GLUE", T::Enumerated, kEnumTypeGlueMode, 0, 0, false, 1, "glue mode: how the result is blended with the input"},
    {"0017", T::Boolean, 0, 0, 1, false, 0, "false colours on polyhedral layouts"},
    {"0018", T::Integer, 0, 3, 150, false, 20, "layers of the brick sphere"},
    {"0019", T::Boolean, 0, 0, 1, false, 1, "brick sphere: write the building plan"},
    {"0020", T::Boolean, 0, 0, 1, false, 1, "brick sphere: write the statistics page"},
    {"0021", T::Integer, 0, 2, 30000, false, 256, "cube-map export: face size in pixels"},
    {"0022", T::Boolean, 0, 0, 1, false, 0, "brick sphere: write the LDraw model"},
    {"0023", T::Boolean, 0, 0, 1, false, 0, "brick sphere: error diffusion"},
    {"0024", T::Integer, 0, 0, 4095, false, 63, "brick sphere: palette, one bit per brick colour"},
    {"0025", T::Boolean, 0, 0, 1, false, 0, "brick sphere: plates instead of bricks"},
    {"0026", T::Integer, 0, 2, 30000, false, 500, "faces export: size in pixels"},
    {"0027", T::Integer, 0, 0, 100, false, 30, "sharpening in whole percent (old settings; 0039 wins)"},
    {"0028", T::Boolean, 0, 0, 1, false, 1, "leave the void (no picture) transparent"},
    {"0029", T::Boolean, 0, 0, 1, false, 0, "draw the edges between regions"},
    {"0030", T::Boolean, 0, 0, 1, false, 0, "anamorphic rendering"},
    {"0031", T::Boolean, 0, 0, 1, false, 0, "Gaussian sampling kernel"},
    {"Fgky", T::Enumerated, kEnumTypeGraticule, 0, 0, false, 1, "graticule: latitude and longitude lines"},
    {"0032", T::Recorded, 0, 1, 3, false, 2, "preview quality (recorded only; a replay ignores it)"},
    {"0033", T::Boolean, 0, 0, 1, false, 0, "draw Tissot circles"},
    {"0034", T::Float, 0, -90, 90, false, 0, "tilt of the sphere, degrees"},
    {"0035", T::Float, 0, -180, 180, false, 0, "turn of the sphere about the vertical axis, degrees"},
    {"0036", T::Float, 0, -180, 180, false, 0, "spin of the sphere, degrees"},
    {"0037", T::Float, 0, kViewAngleAbove, kViewAngleMost, true, 120, "view angle, degrees (above 0)"},
    {"0038", T::Float, 0, 0, 100, false, 33, "tab size, percent"},
    {"0039", T::Float, 0, 0, 100, false, 30, "sharpening, percent"},
};
static_assert(sizeof kKeys / sizeof kKeys[0] == 41, "every recorded key");

std::string Number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

const char* TypeName(const SettingKey& k) {
  switch (k.type) {
    case T::Integer:
    case T::Colour:
      return "integer";
    case T::Boolean:
      return "boolean";
    case T::Enumerated:
      return "code";
    case T::Float:
      return "number";
    case T::Recorded:
      return "integer";
  }
  return "";
}

std::string RangeText(const SettingKey& k) {
  switch (k.type) {
    case T::Boolean:
      return "true/false (or 1/0)";
    case T::Enumerated:
      return "a code of gyrelle --list";
    default:
      break;
  }
  return (k.openBelow ? "above " + Number(k.lo) + " to " : Number(k.lo) + " to ") + Number(k.hi);
}

std::string KeyName(const SettingKey& k) { return std::string(k.key) + " (" + k.meaning + ")"; }

// The candidates closest to `given`: one that differs only in case, else
// those one edit away (at most four).
std::string Nearest(const std::string& given, const std::vector<std::string>& candidates) {
  for (const std::string& c : candidates)
    if (LowerCase(c) == LowerCase(given)) return c;
  if (given.size() == 4) {
    // Letters typed for the digits they look like: Fo4S for Fo45.
    std::string digits = given;
    for (size_t i = 2; i < 4; ++i) {
      switch (digits[i]) {
        case 'O': case 'o': digits[i] = '0'; break;
        case 'I': case 'l': case 'i': digits[i] = '1'; break;
        case 'Z': case 'z': digits[i] = '2'; break;
        case 'S': case 's': digits[i] = '5'; break;
        case 'G': digits[i] = '6'; break;
        case 'B': digits[i] = '8'; break;
        default: break;
      }
    }
    for (const std::string& c : candidates)
      if (c == digits) return c;
    // A number without a code: the codes just below and above it.
    if (std::isdigit(uint8_t(given[2])) && std::isdigit(uint8_t(given[3]))) {
      const int n = std::stoi(given.substr(2));
      std::string below, above;
      int belowN = -1, aboveN = 1000;
      for (const std::string& c : candidates) {
        if (c.compare(0, 2, given, 0, 2) != 0 || !std::isdigit(uint8_t(c[2])) || !std::isdigit(uint8_t(c[3]))) continue;
        const int m = std::stoi(c.substr(2));
        if (m < n && m > belowN) belowN = m, below = c;
        if (m > n && m < aboveN) aboveN = m, above = c;
      }
      if (!below.empty() || !above.empty()) return below + (below.empty() || above.empty() ? "" : " or ") + above;
    }
  }
  std::string out;
  int found = 0;
  for (const std::string& c : candidates) {
    if (EditDistance(given, c) != 1 || found == 4) continue;
    out += (found++ ? ", " : "") + c;
  }
  return out;
}

std::vector<std::string> CodesOf(FourCC type) {
  std::vector<std::string> codes;
  const EnumCodeTable t = EnumCodesOfType(type);
  for (int32_t i = 0; i < t.count; ++i) codes.push_back(FormatFourCC(t.entries[i].code));
  return codes;
}

std::string GivenText(const DescEntry& e) {
  switch (e.kind) {
    case DescKind::Integer:
    case DescKind::Count:
      return std::to_string(e.integer);
    case DescKind::Float:
    case DescKind::UnitFloat:
      return Number(e.real);
    case DescKind::Boolean:
      return e.integer ? "true" : "false";
    case DescKind::Enumerated:
      return FormatFourCC(e.value);
    default:
      return "a value of another kind";
  }
}

bool InRange(const SettingKey& k, double v) {
  if (!std::isfinite(v)) return false;
  return (k.openBelow ? v > k.lo : v >= k.lo) && v <= k.hi;
}

SettingCheck Refuse(const SettingKey& k, const DescEntry& e, const std::string& valid, std::string* message) {
  *message = KeyName(k) + ": \"" + GivenText(e) + "\" is not valid; " + valid;
  return SettingCheck::Refused;
}

SettingCheck CheckEnumerated(const SettingKey& k, DescEntry* e, std::string* message) {
  if (e->kind != DescKind::Enumerated) {
    // An example the user can recognise: Mollweide for the output mode.
    FourCC example = 0;
    zor_ValueToEnum(k.enumType == kEnumTypeOutputMode ? 46 : 2, k.enumType, &example);
    return Refuse(k, *e,
                  "it needs a code such as " + FormatFourCC(example) + " or a name such as \"" +
                      EnumValueName(k.enumType, k.enumType == kEnumTypeOutputMode ? 46 : 2) +
                      "\" (gyrelle --list shows them all)",
                  message);
  }
  int32_t value = 0;
  if (e->code != 0 && e->code != k.enumType) {
    return Refuse(k, *e, "its codes are of type " + FormatFourCC(k.enumType) + ", not " + FormatFourCC(e->code),
                  message);
  }
  e->code = k.enumType;
  if (zor_EnumToValue(k.enumType, e->value, &value)) return SettingCheck::Accepted;
  std::string near = Nearest(FormatFourCC(e->value), CodesOf(k.enumType));
  if (near.empty()) near = NearestNames(k.enumType, FormatFourCC(e->value));  // a name of four letters
  return Refuse(k, *e,
                "no such code" + (near.empty() ? std::string() : "; did you mean " + near + "?") +
                    " (gyrelle --list shows them all)",
                message);
}

}  // namespace

int32_t SettingKeyCount() { return int32_t(sizeof kKeys / sizeof kKeys[0]); }

const SettingKey& SettingKeyAt(int32_t index) { return kKeys[index]; }

const SettingKey* FindSettingKey(FourCC key) {
  for (const SettingKey& k : kKeys)
    if (FormatFourCC(key) == k.key) return &k;
  return nullptr;
}

const char* InputModeName(int32_t mode) { return InputModeNameOf(mode); }

const char* GraticuleName(int32_t graticule) { return GraticuleNameOf(graticule); }

SettingCheck CheckSetting(DescEntry* e, std::string* message) {
  const SettingKey* k = FindSettingKey(e->key);
  if (!k) {
    std::vector<std::string> keys;
    for (const SettingKey& key : kKeys) keys.push_back(key.key);
    const std::string near = Nearest(FormatFourCC(e->key), keys);
    *message = "unknown setting key \"" + FormatFourCC(e->key) + "\"" +
               (near.empty() ? std::string() : "; did you mean " + near + "?") + " (gyrelle --list shows every key)";
    return SettingCheck::Refused;
  }
  double value = 0.0;
  switch (k->type) {
    case T::Enumerated:
      return CheckEnumerated(*k, e, message);
    case T::Boolean:
      if (e->kind == DescKind::Integer && (e->integer == 0 || e->integer == 1)) e->kind = DescKind::Boolean;
      if (e->kind != DescKind::Boolean) return Refuse(*k, *e, "it needs true or false (or 1 or 0)", message);
      return SettingCheck::Accepted;
    case T::Float:
      if (e->kind == DescKind::Integer) {
        e->kind = DescKind::Float;
        e->real = double(e->integer);
      }
      if (e->kind != DescKind::Float) return Refuse(*k, *e, "it needs a number from " + RangeText(*k), message);
      value = e->real;
      break;
    case T::Integer:
    case T::Colour:
    case T::Recorded:
      if (e->kind != DescKind::Integer) return Refuse(*k, *e, "it needs a whole number, " + RangeText(*k), message);
      value = double(e->integer);
      break;
  }
  if (InRange(*k, value)) return SettingCheck::Accepted;
  *message = KeyName(*k) + ": " + GivenText(*e) + " is out of range (" + RangeText(*k) + "); the default " +
             Number(k->fallback) + " is used";
  if (e->kind == DescKind::Float)
    e->real = k->fallback;
  else
    e->integer = int64_t(k->fallback);
  return SettingCheck::Replaced;
}

std::string KeyListLine(const SettingKey& k) {
  std::string fallback = Number(k.fallback);
  if (k.type == T::Boolean) fallback = k.fallback != 0 ? "true" : "false";
  if (k.type == T::Enumerated) {
    FourCC code = 0;
    zor_ValueToEnum(int32_t(k.fallback), k.enumType, &code);
    fallback = FormatFourCC(code);
  }
  char line[256];
  std::snprintf(line, sizeof line, "  %-4s %-8s %-24s %-6s %s\n", k.key, TypeName(k), RangeText(k).c_str(),
                fallback.c_str(), k.meaning);
  return line;
}

}  // namespace gyhost
