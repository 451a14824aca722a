// Small helpers of the model and page tests: a scratch folder, whole-file
// reads, running a command and keeping its output.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"

namespace models_test {

class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }
  // A reference to the file, made (empty) as the save dialog makes it.
  FSRef MadeFile(const std::string& name) const;
  // Every name in the folder, hidden ones included, sorted.
  std::vector<std::string> Names(const std::string& sub = "") const;

 private:
  std::string path_;
};

std::string ReadWhole(const std::string& path);
void WriteWhole(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// Exit status and everything the command wrote to stdout and stderr.
int RunCommand(const std::string& command, std::string* output);
bool HaveTool(const char* name);
std::vector<std::string> SplitLines(const std::string& text, char end);

}  // namespace models_test
