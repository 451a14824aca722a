#include "host/dialog_save.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
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
    {"ldraw", "layers,plates,dither,plan", "the brick sphere as an LDraw model; layers=3..150, plates=0|1,\n"
                                           "                      dither=0|1, plan=FILE also writes its layer plan (PSD)"},
    {"brickstats", "layers,plates,dither,plan", "the brick sphere's statistics page (HTML); options as ldraw"},
    {"presets", "folder", "the page of the presets in folder= (default: PATH's folder)"},
    {"modes-gallery", "", "the page of the image in every gallery output mode"},
    {"dots-gallery", "", "the page of the image under each memory dot"},
};

// An exportable polyhedron, named where an export needs one.
constexpr const char* kPolyhedralExample = "the cube (--set Foky=Fo07)";
// What the layer underneath carries for a path, and what one name may hold.
constexpr size_t kMaxPathBytes = 1023, kMaxNameBytes = 255;

struct SaveRequest {
  bool load = false;
  std::string kind, path;
  std::vector<std::pair<std::string, std::string>> options;
};

std::vector<SaveRequest> g_requests;
std::vector<std::string> g_answers;  // the choosers' answers of the steps made last
std::vector<const char*> g_answerList;
// Which request each line of the steps belongs to (-1: the tail), and where
// the tail starts.
std::vector<int> g_lineOwner;
size_t g_tailStart = 0;
std::string g_tailName;
int g_said = 0;
bool g_tailFailed = false;

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

std::string Option(const SaveRequest& r, const char* name) {
  for (const auto& o : r.options)
    if (o.first == name) return o.second;
  return "";
}

// The steps of one request; its paths go to `answers` in the order its
// choosers open.
std::string Steps(const SaveRequest& r, std::vector<std::string>* answers) {
  std::string s = "window xparams\n";
  auto line = [&s](const std::string& text) { s += text + "\n"; };
  auto answer = [&](const std::string& path) {
    answers->push_back(path);
    line("chooser-answer");
  };
  auto sheetEnd = [&]() {
    answer(r.path);
    line("click 1");
    line("window xparams");
  };
  if (r.load) {
    answer(r.path);
    line("click 35");
  } else if (r.kind == "settings") {
    answer(r.path);
    line("click 26");
  } else if (r.kind == "jpeg") {
    answer(r.path);
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
    const std::string plan = Option(r, "plan");
    line("expect active 64 1");
    line("expect command-ok");
    line("click 64");
    line("window brick sphere");
    line(std::string("check 8 ") + (plan.empty() ? "0" : "1"));
    line(std::string("check 9 ") + (r.kind == "brickstats" ? "1" : "0"));
    line(std::string("check 10 ") + (r.kind == "ldraw" ? "1" : "0"));
    if (!Option(r, "layers").empty()) line("fill 3 " + Option(r, "layers"));
    if (!Option(r, "plates").empty()) line("check 35 " + Option(r, "plates"));
    if (!Option(r, "dither").empty()) line("check 6 " + Option(r, "dither"));
    // The sheet asks for the plan first, then for the page or the model.
    if (!plan.empty()) answers->push_back(plan), line("chooser-answer");
    sheetEnd();
  } else if (r.kind == "presets") {
    const std::string folder = Option(r, "folder");
    answer(folder.empty() ? std::filesystem::path(r.path).parent_path().string() : folder);
    answer(r.path);
    line("click 15");
  } else if (r.kind == "modes-gallery") {
    answer(r.path);
    line("click 63");
  } else if (r.kind == "dots-gallery") {
    answer(r.path);
    line("click 98 option");
  }
  line("settle");
  line("expect command-ok");
  return s;
}

std::string Sibling(const std::string& path, const std::string& tagAndExtension, bool keepExtension) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  const bool hasDot = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasDot ? path.substr(0, dot) : path;
  const std::string extension = hasDot ? path.substr(dot) : "";
  return stem + tagAndExtension + (keepExtension ? extension : "");
}

// "dialog steps:N: text" split into N and text; false for another message.
bool StepMessage(const std::string& message, size_t* line, std::string* text) {
  static const std::string prefix = "dialog steps:";
  if (message.rfind(prefix, 0) != 0) return false;
  size_t at = prefix.size(), n = 0;
  if (at >= message.size() || message[at] < '0' || message[at] > '9') return false;
  while (at < message.size() && message[at] >= '0' && message[at] <= '9') n = n * 10 + size_t(message[at++] - '0');
  if (message.compare(at, 2, ": ") != 0) return false;
  *line = n;
  *text = message.substr(at + 2);
  return true;
}

std::string RequestName(const SaveRequest& r) {
  return r.load ? "--load " + r.path : "--save " + r.kind + "=" + r.path;
}

void Say(const std::string& text) {
  std::fprintf(stderr, "gyrelle: %s\n", text.c_str());
  ++g_said;
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
    if (value.empty()) *error = "--load needs a settings file";
    else UsablePath("--load", value, &r.path, error);
  } else {
    ParseSave(value, &r, error);
  }
  if (error->empty()) g_requests.push_back(r);
  return true;
}

bool HaveDialogSaves() { return !g_requests.empty(); }

std::string DialogSaveSteps(const std::string& tail, const std::string& tailName) {
  g_answers.clear();
  g_lineOwner.assign(1, -1);  // lines count from 1
  std::string s;
  auto own = [](const std::string& text, int owner) {
    for (char c : text)
      if (c == '\n') g_lineOwner.push_back(owner);
  };
  for (size_t i = 0; i < g_requests.size(); ++i) {
    const std::string steps = Steps(g_requests[i], &g_answers);
    own(steps, int(i));
    s += steps;
  }
  s += "window xparams\n";
  own("\n", -1);
  g_tailStart = g_lineOwner.size();
  g_tailName = tailName;
  g_answerList.clear();
  for (const std::string& a : g_answers) g_answerList.push_back(a.c_str());
  g_answerList.push_back(nullptr);
  return s + tail;
}

const char* const* DialogSaveChooserAnswers() { return g_answerList.data(); }

std::string DialogSaveUsageText() {
  std::string s =
      "  --save KIND=PATH[,OPTION=VALUE...]\n"
      "                      runs the dialog's own save or export command for KIND,\n"
      "                      answering its save chooser with PATH, then renders as\n"
      "                      usual; may be repeated; a save that fails stops the run\n"
      "                      (exit 1) and leaves any file at PATH as it was; the\n"
      "                      settings a later run starts from stay as they were. KIND:\n";
  for (const SaveKindRow& k : kKinds) {
    std::string name = std::string("    ") + k.name;
    name.resize(20, ' ');
    s += name + k.what + "\n";
  }
  s += "  --load FILE         loads a settings file (.q2q, any version) with the\n"
       "                      dialog's load command before the saves and the render\n"
       "  --dialog-script FILE\n"
       "                      drives the dialog with the steps in FILE (click, fill,\n"
       "                      popup, chooser, screenshot, expect ...), then renders\n"
       "                      what its OK accepted; a step that fails: exit 1\n";
  return s;
}

std::vector<PlannedWrite> DialogSaveTargets() {
  std::vector<PlannedWrite> out;
  for (const SaveRequest& r : g_requests) {
    if (r.load) continue;
    const std::string what = "--save " + r.kind;
    if (r.kind == "cubemap") {
      for (const char* tag : {"_d", "_u", "_l", "_b", "_r", "_f"}) out.push_back({what, Sibling(r.path, tag, true)});
      continue;
    }
    if (r.kind == "obj") {
      out.push_back({what, r.path});
      for (const char* extension : {".jpg", ".mtl", ".stl"}) out.push_back({what, Sibling(r.path, extension, false)});
      continue;
    }
    if (!Option(r, "plan").empty()) out.push_back({what + " plan", Option(r, "plan")});
    out.push_back({what, r.path});
  }
  return out;
}

std::string DialogSaveOntoNonFile() {
  for (const PlannedWrite& w : DialogSaveTargets()) {
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(w.path, ec);
    if (ec || !std::filesystem::exists(st)) continue;
    if (std::filesystem::is_directory(st)) return w.what + "=" + w.path + " is a folder; a folder is never replaced";
    if (!std::filesystem::is_regular_file(st))
      return w.what + "=" + w.path + " is a device or a pipe, not a file; it is never replaced";
  }
  return "";
}

void SayDialogMessage(const char* raw) {
  const std::string message = raw ? raw : "";
  size_t line = 0;
  std::string text;
  if (!StepMessage(message, &line, &text)) {
    // After a failure was told, the windows the stopped steps leave open
    // are cancelled and their remaining steps skipped: nothing to act on.
    if (g_said > 0 && (message.rfind("the dialog input ended while", 0) == 0 ||
                       (message.rfind("dialog steps: ", 0) == 0 && message.find(" were not run") != std::string::npos)))
      return;
    return Say(message);
  }
  if (line >= g_tailStart) {
    g_tailFailed = true;
    return Say(g_tailName + ":" + std::to_string(line - g_tailStart + 1) + ": " + text);
  }
  // A stop after a failure already told says nothing new.
  if (text.rfind("a command or step failed", 0) == 0 && g_said > 0) return;
  const int owner = line < g_lineOwner.size() ? g_lineOwner[line] : -1;
  if (owner < 0) return Say("the dialog could not take the saves: " + text);
  const SaveRequest& r = g_requests[size_t(owner)];
  if (text.find("is dimmed") != std::string::npos && (r.kind == "faces" || r.kind == "obj" || r.kind == "polymap"))
    return Say(RequestName(r) + ": the export needs a polyhedral output mode, such as " + kPolyhedralExample +
               "; the output mode set is flat");
  Say(RequestName(r) + ": the dialog could not do it (" + text + ")");
}

int DialogSaveMessagesSaid() { return g_said; }
bool DialogScriptStepFailed() { return g_tailFailed; }

}  // namespace gyhost
