// The host's image read into the main colour pyramid and written back from
// level 0 through gyrelle comes out identical to the input (ImageMagick
// `compare -metric AE` counts no differing pixel) for every host format, and
// the intake asks the host for exactly one request per level-0 tile.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 600, kHeight = 400;

struct Scratch {
  Scratch() {
    char pattern[] = "/tmp/gyrelle_pyramid_XXXXXX";
    path = mkdtemp(pattern) ? pattern : "/tmp";
  }
  ~Scratch() { std::system(("rm -rf '" + path + "'").c_str()); }
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  std::string path;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs a shell command; its stderr comes back in *err.
int RunShell(const std::string& command, const Scratch& dir, std::string* err) {
  const std::string errFile = dir / "stderr.txt";
  const int status = std::system((command + " > /dev/null 2> '" + errFile + "'").c_str());
  *err = ReadFile(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

uint32_t Noise(uint32_t x, uint32_t y, uint32_t c) {
  uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 1) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 13;
  return h;
}

// 16-bit values the host keeps through its 0..32768 scale and back: the
// images of host values.
uint32_t HostExact16(uint32_t n) {
  const uint32_t host = n % 32769u;
  return host >= 32768u ? 65535u : (host * 65535u + 16384u) / 32768u;
}

// A binary PNM or PAM image of noise: `channels` 1 (grey), 3 (RGB) or 4
// (RGBA), samples of 8 bits or of 16 bits.
void WriteNetpbm(const std::string& path, int channels, bool sixteen) {
  std::ofstream out(path, std::ios::binary);
  const char* tuple = channels == 1 ? "GRAYSCALE" : (channels == 3 ? "RGB" : "RGB_ALPHA");
  out << "P7\nWIDTH " << kWidth << "\nHEIGHT " << kHeight << "\nDEPTH " << channels << "\nMAXVAL "
      << (sixteen ? 65535 : 255) << "\nTUPLTYPE " << tuple << "\nENDHDR\n";
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < channels; ++c) {
        const uint32_t n = Noise(uint32_t(x), uint32_t(y), uint32_t(c));
        if (sixteen) {
          const uint32_t v = HostExact16(n);
          out.put(char(v >> 8)).put(char(v & 255u));
        } else {
          out.put(char(n & 255u));
        }
      }
}

struct Case {
  const char* name;
  int channels;
  bool sixteen;
  const char* convert;  // how the input file is made from the PAM
  const char* file;
};

TEST(PyramidEndToEnd, LevelZeroWrittenBackEqualsTheInput) {
  const Case cases[] = {
      {"8-bit RGB PNG", 3, false, "-depth 8 -define png:color-type=2", "in.png"},
      {"8-bit RGBA PNG", 4, false, "-depth 8 -define png:color-type=6", "in.png"},
      {"8-bit grey PNG", 1, false, "-depth 8 -define png:color-type=0", "in.png"},
      {"16-bit RGB PNG", 3, true, "-depth 16 -define png:color-type=2", "in.png"},
      {"float RGB TIFF", 3, true, "-depth 32 -define quantum:format=floating-point -compress zip", "in.tif"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    const std::string pam = dir / "in.pam", in = dir / c.file;
    const std::string outFile = dir / ("out" + std::string(c.file).substr(2));  // same format as the input
    WriteNetpbm(pam, c.channels, c.sixteen);
    std::string err;
    ASSERT_EQ(RunShell("convert '" + pam + "' " + c.convert + " '" + in + "'", dir, &err), 0) << err;
    ASSERT_EQ(RunShell(std::string("'") + GYRELLE_EXE + "' --plugin '" + GYRELLE_ECHO_PLUGIN + "' --quiet --threads 3 '" +
                      in + "' '" + outFile + "'",
                  dir, &err),
              0)
        << err;
    std::vector<std::string> requests;
    std::istringstream lines(err);
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("pyramid-request ", 0) == 0) requests.push_back(line.substr(16));
    EXPECT_EQ(requests, (std::vector<std::string>{"0 0 400 512", "0 512 400 600"}));

    RunShell("compare -metric AE '" + in + "' '" + outFile + "' null:", dir, &err);
    EXPECT_EQ(std::atof(err.c_str()), 0.0) << "compare said: " << err;
    EXPECT_FALSE(err.empty());
  }
}

}  // namespace
