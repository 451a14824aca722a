#include "host/cli/save_requests.h"

#include <algorithm>
#include <filesystem>

namespace gyhost {

namespace {

struct SaveKindRow {
  const char* name;
  const char* options;  // the options the kind takes, comma-separated
  const char* what;
};

const SaveKindRow kKinds[] = {
    {"settings", "", "the settings file (.q2q) with its preview"},
    {"psd", "size,width,height", "the layered result; size=image|proportional|custom, width=, height="},
    {"jpeg", "", "the result as a JPEG file with its metadata"},
    {"faces", "size", "the polyhedron's face groups, one layer each; size= the longer side"},
    {"obj", "size", "the polyhedron as OBJ, MTL, texture and STL; size= the texture side"},
    {"polymap", "size", "the equirectangular polyhedron map; size= its height"},
    {"cubemap", "face", "six cube-face files named from PATH; face= pixels a side"},
    {"ldraw", "layers,plates,dither,plan", "the brick sphere as an LDraw model; layers=3..150, plates=0|1,\n"
                                           "                      dither=0|1, plan=FILE also writes its layer plan (PSD)"},
    {"brickstats", "layers,plates,dither,plan", "the brick sphere's statistics page (HTML); options as ldraw"},
    {"presets", "folder", "the page of the presets in folder= (default: PATH's folder)"},
    {"modes-gallery", "", "the page of the image in every gallery output mode"},
    {"dots-gallery", "", "the page of the image under each memory dot"},
};

// What the layer underneath carries for a path, and what one name may hold.
constexpr size_t kMaxPathBytes = 1023, kMaxNameBytes = 255;

const SaveKindRow* FindKind(const std::string& name) {
  for (const SaveKindRow& k : kKinds)
    if (name == k.name) return &k;
  return nullptr;
}

std::vector<std::string> Split(const char* list) {
  std::vector<std::string> out;
  std::string item;
  for (const char* c = list;; ++c) {
    if (*c == ',' || !*c) {
      if (!item.empty()) out.push_back(item);
      item.clear();
      if (!*c) break;
    } else {
      item += *c;
    }
  }
  return out;
}

size_t Distance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

// "; did you mean X?" for the closest name at most two edits (or a prefix)
// away, else nothing.
std::string Suggestion(const std::string& given, const std::vector<std::string>& names) {
  std::string best;
  size_t bestDistance = 3;
  for (const std::string& n : names) {
    const size_t d = (n.rfind(given, 0) == 0 && !given.empty()) ? 1 : Distance(given, n);
    if (d < bestDistance) best = n, bestDistance = d;
  }
  return best.empty() ? "" : "; did you mean " + best + "?";
}

std::string Listed(const std::vector<std::string>& names) {
  std::string s;
  for (const std::string& n : names) s += (s.empty() ? "" : ", ") + n;
  return s;
}

bool IsOptionName(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < 'a' || c > 'z') return false;
  return true;
}

bool IsCount(const std::string& v) {
  if (v.empty() || v.size() > 6) return false;
  for (char c : v)
    if (c < '0' || c > '9') return false;
  return true;
}

// A name the layer underneath can carry whole, made absolute.
bool UsablePath(const std::string& what, const std::string& given, std::string* path, std::string* error) {
  if (given.empty()) {
    *error = what + " needs a file name";
    return false;
  }
  if (given.find('\0') != std::string::npos) {
    *error = what + ": a file name cannot hold a NUL byte";
    return false;
  }
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(given, ec);
  *path = ec ? given : p.lexically_normal().string();
  if (path->size() > kMaxPathBytes) {
    *error = what + ": the path is " + std::to_string(path->size()) + " bytes long; at most " +
             std::to_string(kMaxPathBytes) + " can be used";
    return false;
  }
  for (const auto& part : std::filesystem::path(*path))
    if (part.string().size() > kMaxNameBytes) {
      *error = what + ": a name in the path is " + std::to_string(part.string().size()) +
               " bytes long; the file system takes at most " + std::to_string(kMaxNameBytes);
      return false;
    }
  return true;
}

bool CheckOptionValue(const SaveRequest& r, const std::string& name, const std::string& v, std::string* error) {
  const std::string what = "--save " + r.kind + ": " + name;
  if (name == "size" && r.kind == "psd") {
    if (v == "image" || v == "proportional" || v == "custom") return true;
    *error = "--save psd: size is image, proportional or custom, not \"" + v + "\"";
    return false;
  }
  if (name == "plates" || name == "dither") {
    if (v == "0" || v == "1") return true;
    *error = what + " needs 0 or 1, not \"" + v + "\"";
    return false;
  }
  if (IsCount(v)) return true;
  *error = what + " needs a whole number, not \"" + v + "\"";
  return false;
}

bool ParseSave(const std::string& value, SaveRequest* r, std::string* error) {
  std::vector<std::string> kindNames;
  for (const SaveKindRow& row : kKinds) kindNames.push_back(row.name);
  const size_t eq = value.find('=');
  if (eq == std::string::npos) {
    *error = "--save needs KIND=PATH, e.g. --save settings=out.q2q; the kinds: " + Listed(kindNames);
    return false;
  }
  r->kind = value.substr(0, eq);
  const SaveKindRow* k = FindKind(r->kind);
  if (!k) {
    *error = "--save: unknown kind \"" + r->kind + "\"" + Suggestion(r->kind, kindNames) + " (the kinds: " +
             Listed(kindNames) + ")";
    return false;
  }
  // PATH may hold commas; an option starts at a comma followed by a lower-case
  // word and '='. A word the kind does not take is refused, not glued onto
  // the name.
  const std::string rest = value.substr(eq + 1);
  size_t cut = std::string::npos;
  for (size_t at = rest.find(','); at != std::string::npos; at = rest.find(',', at + 1)) {
    const size_t e = rest.find('=', at);
    if (e != std::string::npos && IsOptionName(rest.substr(at + 1, e - at - 1))) {
      cut = at;
      break;
    }
  }
  if (!UsablePath("--save " + r->kind, rest.substr(0, cut), &r->path, error)) return false;
  const std::vector<std::string> takes = Split(k->options);
  while (cut != std::string::npos) {
    // A value runs to the next ",word=": a folder's or plan's name may hold commas.
    size_t next = std::string::npos;
    for (size_t at = rest.find(',', cut + 1); at != std::string::npos; at = rest.find(',', at + 1)) {
      const size_t e = rest.find('=', at);
      if (e != std::string::npos && IsOptionName(rest.substr(at + 1, e - at - 1))) {
        next = at;
        break;
      }
    }
    const std::string item = rest.substr(cut + 1, next == std::string::npos ? std::string::npos : next - cut - 1);
    const size_t e = item.find('=');
    const std::string name = item.substr(0, e), v = item.substr(e + 1);
    if (std::find(takes.begin(), takes.end(), name) == takes.end()) {
      *error = "--save " + r->kind + ": unknown option \"" + name + "\"" + Suggestion(name, takes) +
               (takes.empty() ? " (" + r->kind + " takes no options)" : " (" + r->kind + " takes " + Listed(takes) + ")");
      return false;
    }
    std::string stored = v;
    if (name == "folder" || name == "plan") {
      if (!UsablePath("--save " + r->kind + ": " + name, v, &stored, error)) return false;
    } else if (!CheckOptionValue(*r, name, v, error)) {
      return false;
    }
    r->options.emplace_back(name, stored);
    cut = next;
  }
  return true;
}


std::string Sibling(const std::string& path, const std::string& tagAndExtension, bool keepExtension) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  const bool hasDot = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasDot ? path.substr(0, dot) : path;
  const std::string extension = hasDot ? path.substr(dot) : "";
  return stem + tagAndExtension + (keepExtension ? extension : "");
}

}  // namespace

bool ParseSaveRequest(const std::string& value, SaveRequest* r, std::string* error) {
  *r = SaveRequest{};
  return ParseSave(value, r, error);
}

bool ParseLoadRequest(const std::string& value, SaveRequest* r, std::string* error) {
  *r = SaveRequest{};
  r->load = true;
  if (value.empty()) {
    *error = "--load needs a settings file";
    return false;
  }
  return UsablePath("--load", value, &r->path, error);
}

std::string SaveOption(const SaveRequest& r, const char* name) {
  for (const auto& o : r.options)
    if (o.first == name) return o.second;
  return "";
}

std::string SaveKindsUsageText() {
  std::string s;
  for (const SaveKindRow& k : kKinds) {
    std::string name = std::string("    ") + k.name;
    name.resize(20, ' ');
    s += name + k.what + "\n";
  }
  return s;
}

std::vector<PlannedWrite> SaveRequestTargets(const SaveRequest& r) {
  if (r.load) return {};
  const std::string what = "--save " + r.kind;
  std::vector<PlannedWrite> out;
  if (r.kind == "cubemap") {
    for (const char* tag : {"_d", "_u", "_l", "_b", "_r", "_f"}) out.push_back({what, Sibling(r.path, tag, true)});
    return out;
  }
  if (r.kind == "obj") {
    out.push_back({what, r.path});
    for (const char* extension : {".jpg", ".mtl", ".stl"}) out.push_back({what, Sibling(r.path, extension, false)});
    return out;
  }
  if (!SaveOption(r, "plan").empty()) out.push_back({what + " plan", SaveOption(r, "plan")});
  out.push_back({what, r.path});
  return out;
}

}  // namespace gyhost
