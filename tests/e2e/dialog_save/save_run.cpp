#include "save_run.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

std::string NewDir() {
  char dir[] = "/tmp/gyrelle-save-XXXXXX";
  return mkdtemp(dir) ? dir : "";
}

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

int Shell(const std::string& command, std::string* out) {
  FILE* p = popen(command.c_str(), "r");
  if (!p) return -1;
  std::string text;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
  const int raw = pclose(p);
  if (out) *out = text;
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

bool HaveTool(const char* name) { return Shell(std::string("command -v ") + name + " >/dev/null 2>&1", nullptr) == 0; }

void RemoveDir(const std::string& dir) {
  if (dir.rfind("/tmp/gyrelle-save-", 0) == 0) std::system(("rm -rf '" + dir + "'").c_str());
}

SaveRun RunGyrelle(const std::string& args, const std::string& dir, const std::string& env) {
  SaveRun r;
  r.dir = dir.empty() ? NewDir() : dir;
  std::string text = args, vars = env;
  for (std::string* t : {&text, &vars})
    for (size_t at; (at = t->find("$DIR")) != std::string::npos;) t->replace(at, 4, r.dir);
  const std::string home = r.dir + "/home";
  ::mkdir(home.c_str(), 0755);
  const std::string cmd = "cd '" + r.dir + "' && env -u DISPLAY -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME='" + home +
                          "' " + vars + " '" + GYRELLE_EXE + "' -q " + text +
                          " '" + GYRELLE_SOURCE_DIR + "/resources/default_panorama.png' '" + r.dir + "/out.png' 2>'" +
                          r.dir + "/err.txt'";
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.err = Slurp(r.dir + "/err.txt");
  return r;
}
