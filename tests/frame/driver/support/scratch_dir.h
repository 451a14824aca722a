// A scratch folder for files a test hands to ImageMagick, removed with the
// object, and the few file and shell helpers those tests share.
#pragma once

#include <string>

struct ScratchDir {
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  std::string path;
};

std::string ReadWholeFile(const std::string& path);
// Runs ImageMagick's convert with the arguments; true when it succeeded.
bool RunConvert(const std::string& args);
