#include "host/dialog_save.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

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
    {"ldraw", "layers,plates,dither", "the brick sphere as an LDraw model; layers=3..150, plates=0|1, dither=0|1"},
    {"brickstats", "layers,plates,dither", "the brick sphere's statistics page (HTML)"},
    {"presets", "folder", "the page of the presets in folder= (default: PATH's folder)"},
    {"modes-gallery", "", "the page of the image in every gallery output mode"},
    {"dots-gallery", "", "the page of the image under each memory dot"},
};

struct SaveRequest {
  bool load = false;
  std::string kind, path;
  std::vector<std::pair<std::string, std::string>> options;
};

std::vector<SaveRequest> g_requests;

const SaveKindRow* FindKind(const std::string& name) {
  for (const SaveKindRow& k : kKinds)
    if (name == k.name) return &k;
  return nullptr;
}

bool TakesOption(const SaveKindRow& k, const std::string& option) {
  const std::string list = std::string(",") + k.options + ",";
  return !option.empty() && list.find("," + option + ",") != std::string::npos;
}

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

bool IsCount(const std::string& v) {
  if (v.empty() || v.size() > 6) return false;
  for (char c : v)
    if (c < '0' || c > '9') return false;
  return true;
}

bool ParseSave(const std::string& value, SaveRequest* r, std::string* error) {
  const size_t eq = value.find('=');
  if (eq == std::string::npos) {
    *error = "--save needs KIND=PATH, e.g. --save settings=out.q2q";
    return false;
  }
  r->kind = value.substr(0, eq);
  const SaveKindRow* k = FindKind(r->kind);
  if (!k) {
    *error = "--save: unknown kind \"" + r->kind + "\"; the kinds are";
    for (const SaveKindRow& row : kKinds) *error += std::string(" ") + row.name;
    return false;
  }
  // PATH may hold commas; an option starts at a comma followed by a name
  // this kind takes and '='.
  std::string rest = value.substr(eq + 1);
  size_t cut = std::string::npos;
  for (size_t at = rest.find(','); at != std::string::npos; at = rest.find(',', at + 1)) {
    const size_t e = rest.find('=', at);
    if (e != std::string::npos && TakesOption(*k, rest.substr(at + 1, e - at - 1))) {
      cut = at;
      break;
    }
  }
  r->path = rest.substr(0, cut);
  if (r->path.empty()) {
    *error = "--save " + r->kind + " needs a file name after '='";
    return false;
  }
  r->path = Absolute(r->path);
  while (cut != std::string::npos) {
    const size_t next = rest.find(',', cut + 1);
    const std::string item = rest.substr(cut + 1, next == std::string::npos ? std::string::npos : next - cut - 1);
    const size_t e = item.find('=');
    const std::string name = item.substr(0, e), v = e == std::string::npos ? "" : item.substr(e + 1);
    if (!TakesOption(*k, name) || e == std::string::npos) {
      *error = "--save " + r->kind + ": unknown option \"" + item + "\"" +
               (*k->options ? std::string(" (it takes ") + k->options + ")" : std::string(" (it takes none)"));
      return false;
    }
    const bool flag = name == "plates" || name == "dither";
    if (name == "size" && r->kind == "psd") {
      if (v != "image" && v != "proportional" && v != "custom") {
        *error = "--save psd: size is image, proportional or custom, not \"" + v + "\"";
        return false;
      }
    } else if (name == "folder") {
      if (v.empty()) {
        *error = "--save presets: folder needs a folder name";
        return false;
      }
    } else if (flag ? (v != "0" && v != "1") : !IsCount(v)) {
      *error = "--save " + r->kind + ": " + name + " needs " + (flag ? "0 or 1" : "a whole number") + ", not \"" + v + "\"";
      return false;
    }
    r->options.emplace_back(name, name == "folder" ? Absolute(v) : v);
    cut = next;
  }
  return true;
}

std::string Option(const SaveRequest& r, const char* name) {
  for (const auto& o : r.options)
    if (o.first == name) return o.second;
  return "";
}

std::string Steps(const SaveRequest& r) {
  std::string s = "# " + std::string(r.load ? "--load " : "--save " + r.kind + "=") + r.path + "\nwindow xparams\n";
  auto line = [&s](const std::string& text) { s += text + "\n"; };
  auto sheetEnd = [&]() {
    line("chooser " + r.path);
    line("click 1");
    line("window xparams");
  };
  if (r.load) {
    line("chooser " + r.path);
    line("click 35");
  } else if (r.kind == "settings") {
    line("chooser " + r.path);
    line("click 26");
  } else if (r.kind == "jpeg") {
    line("chooser " + r.path);
    line("click 40 option");
  } else if (r.kind == "psd") {
    line("click 40");
    line("window Export PSD with size");
    const std::string size = Option(r, "size"), w = Option(r, "width"), h = Option(r, "height");
    const std::string choice = size == "proportional" ? "2" : size == "custom" || (size.empty() && (!w.empty() || !h.empty())) ? "3" : "1";
    line("popup 7 " + choice);
    if (!w.empty()) line("fill 3 " + w);
    if (!h.empty()) line("fill 4 " + h);
    sheetEnd();
  } else if (r.kind == "cubemap") {
    line("click 65");
    line("window cubemap");
    if (!Option(r, "face").empty()) line("fill 3 " + Option(r, "face"));
    sheetEnd();
  } else if (r.kind == "faces" || r.kind == "obj" || r.kind == "polymap") {
    // A layout without a polyhedron to export dims the button.
    line("expect active 83 1");
    line("expect command-ok");
    line("click 83");
    line("expect command-ok");
    line("window Export polyhedron");
    line(std::string("popup 7 ") + (r.kind == "faces" ? "1" : r.kind == "obj" ? "2" : "3"));
    if (!Option(r, "size").empty()) line("fill 3 " + Option(r, "size"));
    sheetEnd();
  } else if (r.kind == "ldraw" || r.kind == "brickstats") {
    line("expect active 64 1");
    line("expect command-ok");
    line("click 64");
    line("window brick sphere");
    line("check 8 0");
    line(std::string("check 9 ") + (r.kind == "brickstats" ? "1" : "0"));
    line(std::string("check 10 ") + (r.kind == "ldraw" ? "1" : "0"));
    if (!Option(r, "layers").empty()) line("fill 3 " + Option(r, "layers"));
    if (!Option(r, "plates").empty()) line("check 35 " + Option(r, "plates"));
    if (!Option(r, "dither").empty()) line("check 6 " + Option(r, "dither"));
    sheetEnd();
  } else if (r.kind == "presets") {
    const std::string folder = Option(r, "folder");
    line("chooser " + (folder.empty() ? std::filesystem::path(r.path).parent_path().string() : folder));
    line("chooser " + r.path);
    line("click 15");
  } else if (r.kind == "modes-gallery") {
    line("chooser " + r.path);
    line("click 63");
  } else if (r.kind == "dots-gallery") {
    line("chooser " + r.path);
    line("click 98 option");
  }
  line("settle");
  line("expect command-ok");
  return s;
}

}  // namespace

bool ParseDialogSaveOption(int argc, const char* const* argv, int* i, std::string* error) {
  const std::string arg = argv[*i];
  std::string name;
  for (const char* n : {"--save", "--load"})
    if (arg.rfind(n, 0) == 0 && (arg.size() == 6 || arg[6] == '=')) name = n;
  if (name.empty()) return false;
  std::string value;
  if (arg.size() > name.size()) {
    value = arg.substr(name.size() + 1);
  } else if (*i + 1 < argc) {
    value = argv[++*i];
  } else {
    *error = name + " needs a value";
    return true;
  }
  SaveRequest r;
  if (name == "--load") {
    r.load = true;
    r.path = value.empty() ? value : Absolute(value);
    if (r.path.empty()) *error = "--load needs a settings file";
  } else {
    ParseSave(value, &r, error);
  }
  if (error->empty()) g_requests.push_back(r);
  return true;
}

bool HaveDialogSaves() { return !g_requests.empty(); }

std::string DialogSaveSteps(const std::string& tail) {
  std::string s;
  for (const SaveRequest& r : g_requests) s += Steps(r);
  return s + "window xparams\n" + tail;
}

std::string DialogSaveUsageText() {
  std::string s =
      "  --save KIND=PATH[,OPTION=VALUE...]\n"
      "                      runs the dialog's own save or export command for KIND,\n"
      "                      answering its save chooser with PATH, then renders as\n"
      "                      usual; may be repeated; a save that fails stops the run\n"
      "                      (exit 1) and leaves any file at PATH as it was. KIND:\n";
  for (const SaveKindRow& k : kKinds) {
    std::string name = std::string("    ") + k.name;
    name.resize(20, ' ');
    s += name + k.what + "\n";
  }
  s += "  --load FILE         loads a settings file (.q2q, any version) with the\n"
       "                      dialog's load command before the saves and the render\n";
  return s;
}

}  // namespace gyhost
