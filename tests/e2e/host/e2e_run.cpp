#include "e2e_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace gyhost_e2e {

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/gyrelle-e2e-XXXXXX";
  const char* made = mkdtemp(pattern);
  EXPECT_NE(made, nullptr);
  path_ = made ? made : "/tmp";
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  if (path_ != "/tmp") std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchDir::Entries() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename().string());
  return names;
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary);
  out << contents;
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

RunResult RunCommand(const std::string& command, const ScratchDir& dir) {
  const std::string out = dir / ".stdout", err = dir / ".stderr";
  const int raw = std::system((command + " >" + Quote(out) + " 2>" + Quote(err)).c_str());
  RunResult r;
  r.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return r;
}

RunResult RunGyrelle(const std::vector<std::string>& args, const ScratchDir& dir) {
  // Settings the user's own runs cached stay out of the tests' runs; a test
  // that sets its own configuration folder keeps it.
  std::string command = std::getenv("XDG_CONFIG_HOME") ? std::string()
                                                       : "XDG_CONFIG_HOME=" + Quote(dir.path() + "/config") + " ";
  command += Quote(GYRELLE_EXE) + " --quiet";
  bool namesPlugin = false;
  for (const std::string& a : args) namesPlugin = namesPlugin || a == "--plugin";
  if (!namesPlugin) command += " --plugin " + Quote(GYRELLE_NEGATE_PLUGIN);
  for (const std::string& a : args) command += " " + Quote(a);
  RunResult r = RunCommand(command, dir);
  // In a sanitizer build a report may come with any exit status.
  for (const char* report : {"AddressSanitizer", "LeakSanitizer", "runtime error:"}) {
    EXPECT_EQ(r.err.find(report), std::string::npos) << command << "\n" << r.err;
  }
  return r;
}

void Convert(const std::string& args, const ScratchDir& dir) {
  const RunResult r = RunCommand("convert " + args, dir);
  ASSERT_EQ(r.status, 0) << "convert " << args << "\n" << r.err;
}

std::vector<uint32_t> Samples(const std::string& image, const std::string& map, int depth, const ScratchDir& dir) {
  const std::string raw = dir / ".raw";
  Convert(Quote(image) + " -depth " + std::to_string(depth) + " -endian MSB " + map + ":" + Quote(raw), dir);
  const std::string bytes = ReadFile(raw);
  std::filesystem::remove(raw);
  std::vector<uint32_t> samples;
  if (depth == 8) {
    for (unsigned char c : bytes) samples.push_back(c);
  } else {
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {  // -endian MSB above
      samples.push_back(uint32_t(uint8_t(bytes[i])) << 8 | uint8_t(bytes[i + 1]));
    }
  }
  return samples;
}

}  // namespace gyhost_e2e
