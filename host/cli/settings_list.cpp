#include "host/cli/settings_list.h"

#include <cstdio>
#include <vector>

#include "export/mode_names.h"
#include "frame/settings/enum_codes.h"
#include "host/cli/setting_keys.h"
#include "host/cli/mode_keys_table.h"
#include "host/cli/setting_names.h"
#include "polyhedron/mode_polyhedron_table.h"

namespace gyhost {

namespace {

// The brick sphere is drawn by its own route and has its own keys.
constexpr int32_t kBrickSphereMode = 45;

struct Section {
  const char* title;
  FourCC type;
  const char* key;
};

constexpr Section kSections[] = {
    {"Output modes (--set Foky=CODE or NAME): code, number, name", kEnumTypeOutputMode, "Foky"},
    {"Input modes (--set Fiky=CODE or NAME): code, number, name", kEnumTypeInputMode, "Fiky"},
    {"Glue modes (--set GLUE=CODE or NAME): code, number, name", kEnumTypeGlueMode, "GLUE"},
    {"Graticules (--set Fgky=CODE or NAME): code, number, name", kEnumTypeGraticule, "Fgky"},
    {"Preview qualities (--set 0032=CODE or NAME; recorded only): code, number, name", kEnumTypeQuality, "0032"},
};

enum class Match { None, Part, Whole };

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

Match MatchValue(FourCC type, const EnumCodeEntry& e, const std::string& filter) {
  const std::string code = FormatFourCC(e.code);
  const std::string name = EnumValueName(type, e.value);
  const std::string synonym = type == kEnumTypeOutputMode ? GyrelleOutputModeNameSynonym(e.value) : "";
  const std::string wanted = NameKey(filter);
  if (LowerCase(filter) == LowerCase(code) || filter == std::to_string(e.value) || wanted == NameKey(name) ||
      (!synonym.empty() && wanted == NameKey(synonym)))
    return Match::Whole;
  if (Contains(NameKey(name), wanted) || (!synonym.empty() && Contains(NameKey(synonym), wanted)) ||
      Contains(LowerCase(code), LowerCase(filter)))
    return Match::Part;
  return Match::None;
}

Match MatchKey(const SettingKey& k, const std::string& filter) {
  if (LowerCase(filter) == LowerCase(k.key)) return Match::Whole;
  return Contains(LowerCase(k.meaning), LowerCase(filter)) ? Match::Part : Match::None;
}

std::string ValueLine(FourCC type, const EnumCodeEntry& e) {
  const char* name = EnumValueName(type, e.value);
  char line[160];
  std::snprintf(line, sizeof line, "  %-4s %5d  %s", FormatFourCC(e.code).c_str(), int(e.value),
                name[0] ? name : "(no name)");
  std::string out = line;
  if (type == kEnumTypeOutputMode)
    if (const char* why = OutputModeNotDrawable(e.value)) out += std::string("  [not drawable: ") + why + "]";
  return out + "\n";
}

std::string KeyNames(const std::vector<const char*>& keys) {
  std::string out;
  for (const char* key : keys) {
    FourCC code = 0;
    const SettingKey* k = ParseFourCC(key, &code) ? FindSettingKey(code) : nullptr;
    out += std::string("    ") + key + "  " + (k ? k->meaning : "") + "\n";
  }
  return out;
}

// What a user needs to know of one output mode beyond its line.
std::string OutputModeDetail(const EnumCodeEntry& e) {
  const int32_t mode = e.value;
  const std::string code = FormatFourCC(e.code);
  const std::string name = GyrelleOutputModeName(mode);
  const std::string synonym = GyrelleOutputModeNameSynonym(mode);
  std::string out = "\n" + code + ", output mode " + std::to_string(mode) + ": " + (name.empty() ? "(no name)" : name) +
                    "\n  synonym: " + (synonym.empty() ? "none" : synonym) + "\n  --set Foky=" + code;
  if (!name.empty()) out += " or --set Foky=\"" + name + "\"";
  out += "\n";
  if (const char* why = OutputModeNotDrawable(mode)) out += std::string("  not drawable: ") + why + "\n";
  if (IsExportablePolyhedron(mode))
    out += "  polyhedron: yes; --save faces, obj and polymap apply, as psd, jpeg and cubemap do\n";
  else if (IsPolyhedron(mode))
    out += "  polyhedron: yes, laid flat (a sheet, tiling or floret): --save polymap applies, faces and obj do not;"
           " psd, jpeg and cubemap do\n";
  else if (mode == kBrickSphereMode)
    out += "  polyhedron: no, a brick sphere: --save ldraw and brickstats apply (0019, 0020 and 0022 choose\n"
           "  what its export writes), as psd, jpeg and cubemap do\n";
  else
    out += "  polyhedron: no; --save faces, obj and polymap need one; psd, jpeg and cubemap apply\n";
  std::vector<const char*> keys;
  for (const ModeKeysRow& row : kModeKeys) {
    if (row.mode != mode) continue;
    if (row.viewAngle) keys.push_back("0037");
    if (row.tabSize) keys.push_back("0038");
    if (row.falseColours) keys.push_back("0017");
  }
  if (IsExportablePolyhedron(mode)) keys.push_back("0026");
  if (mode == kBrickSphereMode)
    for (const char* k : {"0018", "0023", "0024", "0025"}) keys.push_back(k);
  out += "  keys that change it, beyond those every mode takes (the tumble 0034 0035 0036, 0011, Fgky, GLUE,\n"
         "  0028 0029 0030 0031 0033 0039 and the colours):\n";
  out += keys.empty() ? "    none\n" : KeyNames(keys);
  return out;
}

std::string OtherValueDetail(FourCC type, const char* key, const EnumCodeEntry& e) {
  const std::string code = FormatFourCC(e.code);
  const std::string name = EnumValueName(type, e.value);
  std::string out = "\n" + code + ", " + EnumTypeNoun(type) + " " + std::to_string(e.value) + ": " + name + "\n  --set " +
                    key + "=" + (type == kEnumTypeQuality ? std::to_string(e.value) : code);
  if (!name.empty()) out += " or --set " + std::string(key) + "=\"" + name + "\"";
  return out + "\n";
}

// The list, or the lines of it `filter` matches (whole matches before parts:
// "cube" finds the cube, not every name holding the word).
std::string ListText(const std::string& filter, int32_t* lines) {
  const bool all = filter.empty();
  Match wanted = Match::Whole;
  if (!all) {
    bool whole = false;
    for (const Section& s : kSections) {
      const EnumCodeTable t = EnumCodesOfType(s.type);
      for (int32_t i = 0; i < t.count; ++i) whole |= MatchValue(s.type, t.entries[i], filter) == Match::Whole;
    }
    for (int32_t i = 0; i < SettingKeyCount(); ++i) whole |= MatchKey(SettingKeyAt(i), filter) == Match::Whole;
    wanted = whole ? Match::Whole : Match::Part;
  }
  std::string out, details;
  std::vector<std::pair<const Section*, EnumCodeEntry>> matched;
  *lines = 0;
  for (const Section& s : kSections) {
    const EnumCodeTable t = EnumCodesOfType(s.type);
    std::string body;
    for (int32_t i = 0; i < t.count; ++i) {
      if (!all && MatchValue(s.type, t.entries[i], filter) != wanted) continue;
      body += ValueLine(s.type, t.entries[i]);
      matched.emplace_back(&s, t.entries[i]);
    }
    if (body.empty()) continue;
    out += std::string(s.title) + "\n" + body;
    if (all && s.type == kEnumTypeOutputMode) {
      out += "  Named modes without a code, reached only through settings files:";
      for (int32_t i = 0; i < OutputModeNameCount(); ++i) {
        const int32_t mode = OutputModeNumberAt(i);
        FourCC code = 0;
        zor_ValueToEnum(mode, kEnumTypeOutputMode, &code);
        if (code == kEnumCodeNone) out += " " + std::to_string(mode) + " (" + GyrelleOutputModeName(mode) + ")";
      }
      out += "\n";
    }
    out += "\n";
  }
  std::string keys;
  for (int32_t i = 0; i < SettingKeyCount(); ++i)
    if (all || MatchKey(SettingKeyAt(i), filter) == wanted) keys += KeyListLine(SettingKeyAt(i));
  if (!keys.empty()) out += "Keys (--set KEY=VALUE): key, type, range, default, meaning\n" + keys;
  *lines = int32_t(matched.size()) + (keys.empty() ? 0 : 1);
  // A few matches are told in full: "--list mollweide" finds the output and
  // the input mode of that name.
  if (!all && !matched.empty() && matched.size() <= 3) {
    for (const auto& [s, e] : matched)
      details += s->type == kEnumTypeOutputMode ? OutputModeDetail(e) : OtherValueDetail(s->type, s->key, e);
  }
  if (!details.empty() && out.size() >= 2 && out.compare(out.size() - 2, 2, "\n\n") == 0) out.pop_back();
  return out + details;
}

}  // namespace

const char* OutputModeNotDrawable(int32_t mode) {
  // The curved icosahedron's shape is defined without faces.
  return mode == 291 ? "its shape has no faces, so the filter refuses it" : nullptr;
}

std::string SettingsListText() {
  int32_t lines = 0;
  return ListText("", &lines);
}

bool FilteredListText(const std::string& filter, std::string* text) {
  int32_t lines = 0;
  *text = ListText(filter, &lines);
  if (lines > 0) return true;
  std::string near;
  for (const Section& s : kSections) {
    const std::string n = NearestNames(s.type, filter);
    if (!n.empty()) near += (near.empty() ? "" : "; ") + std::string(EnumTypeNoun(s.type)) + " " + n;
  }
  *text = "nothing in the list matches \"" + filter + "\"" + (near.empty() ? "" : "; did you mean " + near + "?") +
          " (gyrelle --list shows it all)";
  return false;
}

}  // namespace gyhost
