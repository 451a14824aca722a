#include "support/scratch_dir.h"

#include <stdlib.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/gyrelle-driver-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  path = made ? made : "/tmp";
}

ScratchDir::~ScratchDir() {
  if (path != "/tmp") std::system(("rm -rf '" + path + "'").c_str());
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool RunConvert(const std::string& args) { return std::system(("convert " + args).c_str()) == 0; }
