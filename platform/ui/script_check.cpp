#include "platform/ui/script_check.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/ui/event_loop.h"

namespace {

constexpr float kMostCoordinate = 32767.0f;

// Steps read their words one by one; numbers must be whole tokens.
std::vector<std::string> WordsOf(const std::string& line) {
  std::istringstream in(line.substr(0, line.find('#')));
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The text after the first `skip` words, spaces inside kept.
std::string RestAfter(const std::string& raw, size_t skip) {
  const std::string line = raw.substr(0, raw.find('#'));
  size_t at = 0;
  for (size_t k = 0; k < skip; ++k) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string::npos) return "";
    at = line.find_first_of(" \t", at);
    if (at == std::string::npos) return "";
  }
  at = line.find_first_not_of(" \t", at);
  if (at == std::string::npos) return "";
  const size_t end = line.find_last_not_of(" \t");
  return line.substr(at, end - at + 1);
}

bool WholeNumber(const std::string& word, int64_t lo, int64_t hi, int32_t* out) {
  if (word.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(word.c_str(), &end, 10);
  if (errno != 0 || *end != 0 || v < lo || v > hi) return false;
  *out = int32_t(v);
  return true;
}

bool RealNumber(const std::string& word, double lo, double hi, double* out) {
  if (word.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(word.c_str(), &end);
  if (*end != 0 || !std::isfinite(v) || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool IsModifier(const std::string& w) { return w == "option" || w == "control" || w == "shift" || w == "command"; }

uint32_t ModifierBitsOf(const std::vector<std::string>& words, size_t from) {
  uint32_t m = 0;
  for (size_t i = from; i < words.size(); ++i) {
    if (words[i] == "option") m |= kUiOptionKeyBit;
    if (words[i] == "control") m |= kUiControlKeyBit;
    if (words[i] == "shift") m |= kUiShiftKeyBit;
    if (words[i] == "command") m |= kUiCommandKeyBit;
  }
  return m;
}

struct NamedKey {
  const char* name;
  int32_t key;
};
constexpr NamedKey kKeys[] = {{"return", kUiKeyReturn},   {"escape", kUiKeyEscape},     {"tab", kUiKeyTab},
                              {"backspace", kUiKeyBackspace}, {"delete", kUiKeyDelete}, {"up", kUiKeyUp},
                              {"down", kUiKeyDown},       {"left", kUiKeyLeft},         {"right", kUiKeyRight},
                              {"home", kUiKeyHome},       {"end", kUiKeyEnd},           {"pageup", kUiKeyPageUp},
                              {"pagedown", kUiKeyPageDown}};

int32_t KeyNamed(const std::string& name) {
  for (const NamedKey& k : kKeys)
    if (name == k.name) return k.key;
  if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') return name[0];
  return 0;
}

// What is wrong with one step, or the empty string. Only the form of the
// step is checked here; what it meets in the windows is checked as it runs.
std::string Check(const std::string& raw) {
  const std::vector<std::string> w = WordsOf(raw);
  if (w.empty()) return "";
  const std::string& verb = w[0];
  const size_t n = w.size();
  int32_t i = 0;
  double d = 0;
  auto item = [&](size_t at) { return at < n && WholeNumber(w[at], 0, 32767, &i); };
  auto coordinate = [&](size_t at) { return at < n && RealNumber(w[at], -kMostCoordinate, kMostCoordinate, &d); };
  auto modifiersFrom = [&](size_t at) {
    for (size_t k = at; k < n; ++k)
      if (!IsModifier(w[k])) return false;
    return true;
  };
  const std::string points = " (numbers from -32767 to 32767)";
  if (verb == "window" || verb == "type" || verb == "echo" || verb == "drop-folder" || verb == "settle") return "";
  if (verb == "chooser-answer") return n == 1 ? "" : "chooser-answer takes no words: the answers come from the host";
  if (verb == "screenshot" || verb == "chooser")
    return n >= 2 ? "" : verb + " needs " + (verb == "chooser" ? "PATH, cancel or window" : "a PATH");
  if (verb == "click" || verb == "focus")
    return item(1) && modifiersFrom(2) ? "" : verb + " needs an item number" + (verb == "click" ? std::string(" [MODIFIERS]") : "");
  if (verb == "click-at") return coordinate(1) && coordinate(2) && modifiersFrom(3) ? "" : "click-at needs X Y [MODIFIERS]" + points;
  if (verb == "move") return n == 3 && coordinate(1) && coordinate(2) ? "" : "move needs X Y" + points;
  if (verb == "drag") {
    if (n < 5 || (n - 1) % 2 != 0) return "a drag needs two points at least, as X Y pairs";
    for (size_t k = 1; k < n; ++k)
      if (!coordinate(k)) return "drag needs X Y pairs" + points;
    return "";
  }
  if (verb == "slide")
    return n == 3 && item(1) && WholeNumber(w[2], -32768, 32767, &i) ? "" : "slide needs ITEM VALUE (whole numbers)";
  if (verb == "popup" || verb == "menu")
    return n == 3 && item(1) && WholeNumber(w[2], 1, 32767, &i) ? "" : verb + " needs ITEM VALUE (whole numbers, the value from 1)";
  if (verb == "menu-pick") return n == 2 && WholeNumber(w[1], 1, 32767, &i) ? "" : "menu-pick needs VALUE (a whole number from 1)";
  if (verb == "fill") return item(1) ? "" : "fill needs ITEM TEXT";
  if (verb == "check") return n == 3 && item(1) && (w[2] == "0" || w[2] == "1") ? "" : "check needs ITEM 0|1";
  if (verb == "key") {
    bool ok = n >= 2 && KeyNamed(w[n - 1]) != 0;
    for (size_t k = 1; ok && k + 1 < n; ++k) ok = IsModifier(w[k]);
    return ok ? "" : "key needs [MODIFIERS] NAME: a named key or a letter";
  }
  if (verb == "advance")
    return n == 2 && RealNumber(w[1], 0, 1e300, &d) ? "" : "advance needs a number of milliseconds, 0 or more";
  if (verb == "resize")
    return n == 3 && WholeNumber(w[1], 1, 16384, &i) && WholeNumber(w[2], 1, 16384, &i) ? ""
                                                                                           : "resize needs WIDTH HEIGHT (whole numbers of pixels)";
  if (verb == "seed") return n == 2 && RealNumber(w[1], 0, 1.8e19, &d) && w[1].find_first_not_of("0123456789") == std::string::npos
                                 ? ""
                                 : "seed needs a whole number";
  if (verb == "picker") {
    if (n == 2 && w[1] == "cancel") return "";
    for (size_t k = 1; k < 4; ++k)
      if (k >= n || !WholeNumber(w[k], 0, 65535, &i)) return "picker needs R G B (0..65535) or cancel";
    return n == 4 ? "" : "picker needs R G B (0..65535) or cancel";
  }
  if (verb == "drop-file") {
    const std::string path = RestAfter(raw, 3);
    if (!coordinate(1) || !coordinate(2) || path.empty()) return "drop-file needs X Y PATH" + points;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return "drop-file: there is no file " + path;
    if (!S_ISREG(st.st_mode)) return "drop-file: " + path + " is not a file";
    return "";
  }
  if (verb == "expect") {
    const std::string what = n > 1 ? w[1] : "";
    if (what == "command-ok") return "";
    if (what == "window") return n > 2 ? "" : "expect window needs a NAME";
    if (what == "pixel") {
      if (n != 7 && n != 8) return "expect pixel needs X Y R G B [TOLERANCE]";
      if (!WholeNumber(w[2], 0, 32767, &i) || !WholeNumber(w[3], 0, 32767, &i)) return "expect pixel needs X Y from 0";
      for (size_t k = 4; k < n; ++k)
        if (!WholeNumber(w[k], 0, 255, &i)) return "expect pixel needs R G B [TOLERANCE] from 0 to 255";
      return "";
    }
    if (what == "value") return n == 4 && item(2) && WholeNumber(w[3], INT32_MIN, INT32_MAX, &i) ? "" : "expect value needs ITEM N";
    if (what == "text") return item(2) ? "" : "expect text needs ITEM TEXT";
    if (what == "active") return n == 4 && item(2) && (w[3] == "0" || w[3] == "1") ? "" : "expect active needs ITEM 0|1";
    if (what == "colour") {
      if (n != 6 || !item(2)) return "expect colour needs ITEM R G B";
      for (size_t k = 3; k < 6; ++k)
        if (!WholeNumber(w[k], 0, 65535, &i)) return "expect colour needs ITEM R G B (0..65535)";
      return "";
    }
    return "unknown expectation \"" + what + "\"";
  }
  return "unknown step \"" + verb + "\"";
}

}  // namespace

std::vector<std::string> UiScriptWords(const std::string& line) { return WordsOf(line); }
uint32_t UiScriptModifierBits(const std::vector<std::string>& words, size_t from) { return ModifierBitsOf(words, from); }
int32_t UiScriptKeyNamed(const std::string& name) { return KeyNamed(name); }

bool UiReadScriptFile(const char* path, std::string* text, std::string* error) {
  text->clear();
  std::FILE* f = path && *path ? std::fopen(path, "rb") : nullptr;
  if (!f) {
    *error = std::string("cannot read the dialog script ") + (path ? path : "");
    return false;
  }
  // Read as a stream: a device or a pipe that never ends stops at the limit.
  char buffer[65536];
  bool tooLarge = false;
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
    if (int64_t(text->size() + got) > kUiScriptMaxBytes) {
      tooLarge = true;
      break;
    }
    text->append(buffer, got);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (tooLarge) {
    *error = std::string("the dialog script ") + path + " is larger than " + std::to_string(kUiScriptMaxBytes) +
             " bytes: it is not read";
    return false;
  }
  if (failed) {
    *error = std::string("cannot read the dialog script ") + path;
    return false;
  }
  return true;
}

bool UiCheckScript(const std::string& text, const char* name, std::string* error) {
  const std::string where = name ? name : "script";
  size_t lineNumber = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t end = std::min(text.find('\n', at), text.size());
    ++lineNumber;
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string prefix = where + ":" + std::to_string(lineNumber) + ": ";
    if (line.find('\0') != std::string::npos) {
      *error = prefix + "the line holds a NUL byte: a script is text";
      return false;
    }
    if (line.size() > size_t(kUiScriptMaxLine)) {
      *error = prefix + "the line is longer than " + std::to_string(kUiScriptMaxLine) + " bytes";
      return false;
    }
    const std::string problem = Check(line);
    if (!problem.empty()) {
      *error = prefix + problem;
      return false;
    }
  }
  return true;
}

