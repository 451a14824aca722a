#include "scratch.h"

#include <dirent.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

ScratchFolder::ScratchFolder() {
  char pattern[] = "/tmp/gyrelle-export-XXXXXX";
  if (const char* made = mkdtemp(pattern)) path = made;
}

ScratchFolder::~ScratchFolder() {
  if (!path.empty()) std::system(("rm -rf '" + path + "'").c_str());
}

std::vector<std::string> ScratchFolder::Names() const {
  std::vector<std::string> names;
  if (DIR* d = opendir(path.c_str())) {
    while (dirent* e = readdir(d))
      if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, "..")) names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

FSRef ScratchFolder::Ref(const std::string& path) {
  FSRef r{};
  std::snprintf(r.path, sizeof r.path, "%s", path.c_str());
  return r;
}

std::string ScratchFolder::Read(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
    std::fclose(f);
  }
  return bytes;
}

void ScratchFolder::Write(const std::string& path, const std::string& bytes) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}
