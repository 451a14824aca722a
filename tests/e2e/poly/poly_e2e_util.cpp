#include "poly_e2e_util.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "host/io/image_io.h"

namespace polye2e {

namespace {

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

Scratch::Scratch() {
  char pattern[] = "/tmp/gyrelle-poly-e2e-XXXXXX";
  const char* made = mkdtemp(pattern);
  path = made ? made : "";
}

Scratch::~Scratch() {
  std::error_code ignored;
  if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

int RunGyrelle(const Scratch& dir, const std::vector<std::string>& sets, const std::string& in,
               const std::string& out, int32_t threads) {
  std::string cmd = "XDG_CONFIG_HOME=" + Quote(dir / "config") + " " + Quote(GYRELLE_EXE) + " --quiet --threads " +
                    std::to_string(threads) + " --plugin " + Quote(GYRELLE_PLUGIN);
  for (const std::string& s : sets) cmd += " --set " + Quote(s);
  cmd += " " + Quote(in) + " " + Quote(out) + " >/dev/null 2>&1";
  const int raw = std::system(cmd.c_str());
  return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

gyhost::HostImage Read(const std::string& path) {
  gyhost::HostImage image;
  std::string error;
  EXPECT_TRUE(gyhost::ReadImageFile(path, &image, &error)) << path << ": " << error;
  return image;
}

double At(const gyhost::HostImage& im, int32_t x, int32_t y, int32_t c) {
  return *(gyhost::PixelAddress(im, x, y) + c);
}

}  // namespace polye2e
