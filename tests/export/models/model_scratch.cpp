#include "model_scratch.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace models_test {

Scratch::Scratch() {
  char templ[] = "/tmp/gyrelle-models-XXXXXX";
  const char* made = ::mkdtemp(templ);
  path_ = made ? made : "/tmp";
}

Scratch::~Scratch() {
  if (path_.rfind("/tmp/gyrelle-models-", 0) == 0 && !std::getenv("GYRELLE_KEEP_SCRATCH"))
    std::system(("chmod -R u+w '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'").c_str());
}

FSRef Scratch::MadeFile(const std::string& name) const {
  WriteWhole(Path(name), "");
  FSRef ref{};
  std::snprintf(ref.path, sizeof ref.path, "%s", Path(name).c_str());
  return ref;
}

std::vector<std::string> Scratch::Names(const std::string& sub) const {
  std::vector<std::string> names;
  DIR* d = ::opendir(sub.empty() ? path_.c_str() : Path(sub).c_str());
  if (!d) return names;
  while (dirent* e = ::readdir(d)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

int RunCommand(const std::string& command, std::string* output) {
  output->clear();
  FILE* p = ::popen((command + " 2>&1").c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) output->append(buf, n);
  const int status = ::pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveTool(const char* name) {
  std::string out;
  return RunCommand(std::string("command -v ") + name, &out) == 0;
}

std::vector<std::string> SplitLines(const std::string& text, char end) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == end) {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

}  // namespace models_test
