#include "host/dialog/dialog_save.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace gyhost {

namespace {

// An exportable polyhedron, named where an export needs one.
constexpr const char* kPolyhedralExample = "the cube (--set Foky=Fo07)";

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
    const std::string size = SaveOption(r, "size"), w = SaveOption(r, "width"), h = SaveOption(r, "height");
    const std::string choice = size == "proportional" ? "2" : size == "custom" || (size.empty() && (!w.empty() || !h.empty())) ? "3" : "1";
    line("popup 7 " + choice);
    if (!w.empty()) line("fill 3 " + w);
    if (!h.empty()) line("fill 4 " + h);
    sheetEnd();
  } else if (r.kind == "cubemap") {
    line("click 65");
    line("window cubemap");
    if (!SaveOption(r, "face").empty()) line("fill 3 " + SaveOption(r, "face"));
    sheetEnd();
  } else if (r.kind == "faces" || r.kind == "obj" || r.kind == "polymap") {
    // A layout without a polyhedron to export dims the button.
    line("expect active 83 1");
    line("expect command-ok");
    line("click 83");
    line("expect command-ok");
    line("window Export polyhedron");
    line(std::string("popup 7 ") + (r.kind == "faces" ? "1" : r.kind == "obj" ? "2" : "3"));
    if (!SaveOption(r, "size").empty()) line("fill 3 " + SaveOption(r, "size"));
    sheetEnd();
  } else if (r.kind == "ldraw" || r.kind == "brickstats") {
    const std::string plan = SaveOption(r, "plan");
    line("expect active 64 1");
    line("expect command-ok");
    line("click 64");
    line("window brick sphere");
    line(std::string("check 8 ") + (plan.empty() ? "0" : "1"));
    line(std::string("check 9 ") + (r.kind == "brickstats" ? "1" : "0"));
    line(std::string("check 10 ") + (r.kind == "ldraw" ? "1" : "0"));
    if (!SaveOption(r, "layers").empty()) line("fill 3 " + SaveOption(r, "layers"));
    if (!SaveOption(r, "plates").empty()) line("check 35 " + SaveOption(r, "plates"));
    if (!SaveOption(r, "dither").empty()) line("check 6 " + SaveOption(r, "dither"));
    // The sheet asks for the plan first, then for the page or the model.
    if (!plan.empty()) answers->push_back(plan), line("chooser-answer");
    sheetEnd();
  } else if (r.kind == "presets") {
    const std::string folder = SaveOption(r, "folder");
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
  if (name == "--load" ? ParseLoadRequest(value, &r, error) : ParseSaveRequest(value, &r, error))
    g_requests.push_back(r);
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
  s += SaveKindsUsageText();
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
    const std::vector<PlannedWrite> each = SaveRequestTargets(r);
    out.insert(out.end(), each.begin(), each.end());
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
  const size_t dimmed = text.find("is dimmed");
  if (dimmed != std::string::npos && (r.kind == "faces" || r.kind == "obj" || r.kind == "polymap")) {
    // The dialog tells why its button is dimmed after a colon; that is the
    // user's reason too, the item number is not.
    const size_t colon = text.find(": ", dimmed);
    const std::string why = colon == std::string::npos ? "the output mode set is flat" : text.substr(colon + 2);
    return Say(RequestName(r) + ": the export needs a polyhedral output mode, such as " + kPolyhedralExample + "; " + why);
  }
  Say(RequestName(r) + ": the dialog could not do it (" + text + ")");
}

int DialogSaveMessagesSaid() { return g_said; }
bool DialogScriptStepFailed() { return g_tailFailed; }

}  // namespace gyhost
