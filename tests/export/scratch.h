// A fresh folder under /tmp for one test's files, removed afterwards.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"

struct ScratchFolder {
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string Path(const std::string& name) const { return path + "/" + name; }
  // Every name in the folder, hidden ones included, sorted.
  std::vector<std::string> Names() const;
  static FSRef Ref(const std::string& path);
  static void Write(const std::string& path, const std::string& bytes);
  // The whole file; empty when it cannot be read.
  static std::string Read(const std::string& path);
  std::string path;
};
