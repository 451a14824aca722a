#include "tests/e2e/dialog/script_run.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

ScriptRun RunDialogScript(const std::string& dir, const std::string& script, const std::string& sets,
                          const std::string& output) {
  std::ofstream(dir + "/steps.txt") << script;
  const std::string cmd = "cd '" + dir + "' && env -u DISPLAY -u XDG_CONFIG_HOME HOME='" + dir + "' '" + GYRELLE_EXE +
                          "' -q " + sets + " --dialog-script '" + dir + "/steps.txt' --record '" + dir +
                          "/rec.txt' '" + GYRELLE_SOURCE_DIR + "/resources/default_panorama.png' '" + dir + "/" +
                          output + "' 2>'" + dir + "/err.txt'";
  ScriptRun run;
  const int raw = std::system(cmd.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::stringstream err;
  err << std::ifstream(dir + "/err.txt").rdbuf();
  run.err = err.str();
  std::ifstream in(dir + "/rec.txt");
  std::string key, type;
  while (in >> key >> type) {
    std::string rest;
    std::getline(in >> std::ws, rest);
    run.recorded[key] = rest;
  }
  return run;
}

void ScriptDirTest::SetUp() {
  char dir[] = "/tmp/gyrelle-dialog-XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  dir_ = dir;
}

void ScriptDirTest::TearDown() {
  if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
}

bool ScriptDirTest::Wrote() const {
  struct stat st;
  return ::stat((dir_ + "/result.png").c_str(), &st) == 0 && st.st_size > 0;
}
