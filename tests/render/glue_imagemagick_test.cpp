// The standard blend modes against ImageMagick's compose operators, over
// every pair of 8-bit values: the result is a horizontal ramp (the source
// laid on top), the unfiltered image a vertical ramp (the destination).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/output/glue_modes.h"

namespace {

constexpr int32_t kSide = 256;

bool WritePgm(const std::filesystem::path& path, bool horizontal) {
  std::ofstream out(path, std::ios::binary);
  out << "P5\n" << kSide << " " << kSide << "\n255\n";
  for (int32_t y = 0; y < kSide; ++y)
    for (int32_t x = 0; x < kSide; ++x) out.put(static_cast<char>(horizontal ? x : y));
  return static_cast<bool>(out);
}

// Reads an 8-bit binary PGM of kSide x kSide (no comments, as convert writes it).
std::vector<uint8_t> ReadPgm(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int32_t w = 0, h = 0, maxval = 0;
  in >> magic >> w >> h >> maxval;
  in.get();
  if (!in || magic != "P5" || w != kSide || h != kSide || maxval != 255) return {};
  std::vector<uint8_t> pixels(kSide * kSide);
  in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
  return in ? pixels : std::vector<uint8_t>{};
}

class GlueVersusImageMagick : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "convert is not installed";
    dir_ = std::filesystem::temp_directory_path() / ("gyrelle_glue_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    ASSERT_TRUE(WritePgm(dir_ / "result.pgm", true));
    ASSERT_TRUE(WritePgm(dir_ / "unfiltered.pgm", false));
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  std::vector<uint8_t> Compose(const std::string& op) {
    const std::filesystem::path out = dir_ / (op + ".pgm");
    const std::string cmd = "convert '" + (dir_ / "unfiltered.pgm").string() + "' '" + (dir_ / "result.pgm").string() +
                            "' -compose " + op + " -composite -depth 8 '" + out.string() + "'";
    if (std::system(cmd.c_str()) != 0) return {};
    return ReadPgm(out);
  }

  std::filesystem::path dir_;
};

TEST_F(GlueVersusImageMagick, StandardModesAgreeWithinTwoLevels) {
  struct Row {
    int32_t mode;
    const char* op;
    int32_t tolerance;
  };
  const Row rows[] = {
      {GlueMode_Multiply, "Multiply", 2},
      {GlueMode_Screen, "Screen", 2},
      {GlueMode_Overlay, "Overlay", 2},
      {GlueMode_Darken, "Darken", 2},
      {GlueMode_Lighten, "Lighten", 2},
      {GlueMode_HardLight, "HardLight", 2},
      // "difference" blends as a + b - 2ab (the exclusion rule); the plain
      // absolute difference is "hard diff".
      {GlueMode_HardDiff, "Difference", 2},
      {GlueMode_Difference, "Exclusion", 2},
      // Soft light is the continuous 2ab + b^2 (1 - 2a), which ImageMagick
      // calls pegtop light (its SoftLight uses a square root above mid-scale).
      // The integer form, with its 130 and 258 offsets, falls up to three
      // levels short of it near a = 250, b = 13.
      {GlueMode_SoftLight, "PegtopLight", 3},
      {GlueMode_LinearLight, "LinearLight", 2},
      {GlueMode_PinLight, "PinLight", 2},
      {GlueMode_Add, "Plus", 2},
      {GlueMode_Subtract, "MinusDst", 2},
  };
  for (const Row& row : rows) {
    const std::vector<uint8_t> im = Compose(row.op);
    ASSERT_EQ(im.size(), static_cast<size_t>(kSide * kSide)) << row.op;
    const GlueFunction glue = GlueFunctionFor(row.mode, GlueForm::Bits8);
    int32_t worst = 0, worstA = 0, worstB = 0;
    for (int32_t b = 0; b < kSide; ++b) {
      for (int32_t a = 0; a < kSide; ++a) {
        int32_t r = a, g = a, bl = a;
        glue(r, g, bl, b, b, b);
        const int32_t diff = std::abs(r - im[b * kSide + a]);
        if (diff > worst) {
          worst = diff;
          worstA = a;
          worstB = b;
        }
      }
    }
    EXPECT_LE(worst, row.tolerance) << row.op << " at a=" << worstA << " b=" << worstB;
  }
}

}  // namespace
