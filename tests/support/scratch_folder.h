// A fresh folder under /tmp for a test's files, removed with everything in
// it afterwards; and whole files written and read as text.
#pragma once

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ScratchFolder {
  std::string path;
  ScratchFolder() {
    char name[] = "/tmp/gyrelle-out-XXXXXX";
    path = mkdtemp(name);
    // The path the system names it by (through /proc, say), links resolved.
    char real[PATH_MAX];
    if (realpath(path.c_str(), real)) path = real;
  }
  ~ScratchFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string operator/(const std::string& n) const { return path + "/" + n; }
  std::vector<std::string> Entries() const {
    std::vector<std::string> out;
    DIR* d = opendir(path.c_str());
    while (const dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") out.push_back(e->d_name);
    closedir(d);
    return out;
  }
};

inline void PutText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string GetText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
