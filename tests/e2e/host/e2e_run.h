// Running the gyrelle binary and ImageMagick from end-to-end tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gyhost_e2e {

struct RunResult {
  int status = -1;  // exit status, or -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// A fresh directory under /tmp, removed when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

// Runs a shell command with stdout and stderr captured in `dir`.
RunResult RunCommand(const std::string& command, const ScratchDir& dir);

// gyrelle with the test plug-in (unless args name one) and --quiet.
RunResult RunGyrelle(const std::vector<std::string>& args, const ScratchDir& dir);

// ImageMagick's `convert` with the given arguments; fails the test on error.
void Convert(const std::string& args, const ScratchDir& dir);

// The pixels of an image file as ImageMagick reads them, as unsigned samples
// of `depth` bits (8 or 16) in the channel order of `map` ("gray", "rgb", "rgba").
std::vector<uint32_t> Samples(const std::string& image, const std::string& map, int depth, const ScratchDir& dir);

std::string Quote(const std::string& s);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& contents);
bool Exists(const std::string& path);

}  // namespace gyhost_e2e
