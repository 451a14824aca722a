// gyrelle through the real row loop, with a test build of the plug-in whose
// row renderer writes full scale minus the input: the result is what
// ImageMagick's -negate gives, with and without a selection mask (the
// negative composited over the input through the same mask); progress
// reaches the host's bar at rows 0, 32, 64, ...; an abort ends the run with
// nothing written and nothing left allocated.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e_run.h"

namespace gyhost_e2e {
namespace {

constexpr const char* kSize = "-size 13x9 xc: ";
constexpr const char* kColours =
    "-channel R -fx 'i/w' -channel G -fx 'j/h' -channel B -fx '(i+1)*(j+1)/((w+1)*(h+1))' +channel ";
constexpr const char* kAlpha = "-alpha set -channel A -fx '0.2+0.7*i/w' +channel ";
constexpr const char* kGrey = "-fx '(i+3*j)/(w+3*h)' -colorspace Gray ";
// Full, empty and partial selection, changing along both axes, so that
// the four-row mask band of every row is read at its right offset.
constexpr const char* kMask = "-size 13x9 xc: -fx '(i%3==0) ? 1 : ((j%4==1) ? 0 : (i+j)/(w+h))' -colorspace Gray ";

struct Case {
  const char* name;
  std::string make;
  const char* input;
  const char* map;
  int depth;
  uint32_t tolerance;
  bool masked;
};

std::vector<Case> Cases() {
  return {
      {"8-bit RGB", std::string(kSize) + kColours + "-depth 8 -define png:color-type=2", "in.png", "rgb", 8, 0, false},
      {"8-bit RGBA", std::string(kSize) + kColours + kAlpha + "-depth 8 -define png:color-type=6", "in.png", "rgba", 8,
       0, false},
      {"8-bit grey", std::string(kSize) + kGrey + "-depth 8 -define png:color-type=0", "in.png", "gray", 8, 0, false},
      {"16-bit RGB", std::string(kSize) + kColours + "-depth 16", "in.tif", "rgb", 16, 1, false},
      {"float RGB", std::string(kSize) + kColours + "-depth 32 -define quantum:format=floating-point -compress zip", "in.tif", "rgb",
       16, 1, false},
      {"8-bit RGB, masked", std::string(kSize) + kColours + "-depth 8 -define png:color-type=2", "in.png", "rgb", 8, 1,
       true},
      {"8-bit grey, masked", std::string(kSize) + kGrey + "-depth 8 -define png:color-type=0", "in.png", "gray", 8, 1,
       true},
      {"16-bit RGB, masked", std::string(kSize) + kColours + "-depth 16", "in.tif", "rgb", 8, 1, true},
  };
}

TEST(DriverThroughHost, NegativeMatchesImageMagickWithAndWithoutMask) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    const std::string in = dir / c.input, out = dir / "out.tif", ref = dir / "ref.tif";
    Convert(c.make + " " + Quote(in), dir);
    std::vector<std::string> args;
    if (c.masked) {
      const std::string mask = dir / "mask.png";
      const std::string negative = dir / "negative.tif";
      Convert(std::string(kMask) + "-depth 8 " + Quote(mask), dir);
      Convert(Quote(in) + " -channel RGB -negate " + Quote(negative), dir);
      ASSERT_EQ(RunCommand("composite " + Quote(negative) + " " + Quote(in) + " " + Quote(mask) + " " + Quote(ref), dir)
                    .status,
                0);
      args = {"--mask", mask};
    } else {
      Convert(Quote(in) + " -channel RGB -negate " + Quote(ref), dir);
    }
    args.push_back(in);
    args.push_back(out);
    const RunResult r = RunGyrelle(args, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<uint32_t> got = Samples(out, c.map, c.depth, dir);
    const std::vector<uint32_t> want = Samples(ref, c.map, c.depth, dir);
    ASSERT_EQ(got.size(), want.size());
    ASSERT_GE(got.size(), 13u * 9u);
    for (size_t i = 0; i < got.size(); ++i) {
      ASSERT_LE(std::abs(int64_t(got[i]) - int64_t(want[i])), int64_t(c.tolerance))
          << "sample " << i << " got " << got[i] << " want " << want[i];
    }
  }
}

// The percentages the host's progress bar showed, in order.
std::vector<int> BarPercents(const std::string& err) {
  std::vector<int> percents;
  for (size_t at = err.find("] "); at != std::string::npos; at = err.find("] ", at + 1)) {
    const size_t end = err.find('%', at);
    if (end == std::string::npos) break;
    percents.push_back(std::atoi(err.substr(at + 2, end - at - 2).c_str()));
  }
  return percents;
}

// 100 rows, so the bar's percentages are the rows reported; the image's
// intake reports 1 of 100 first.
TEST(DriverThroughHost, ProgressAtRowsZeroThen32And64And96) {
  ScratchDir dir;
  const std::string in = dir / "in.png", out = dir / "out.png";
  Convert("-size 3x100 gradient: -depth 8 " + Quote(in), dir);
  const RunResult r = RunCommand(Quote(GYRELLE_EXE) + " --plugin " + Quote(GYRELLE_NEGATE_PLUGIN) + " " + Quote(in) +
                                     " " + Quote(out),
                                 dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(BarPercents(r.err), (std::vector<int>{1, 0, 32, 64, 96})) << r.err;
}

TEST(DriverThroughHost, AbortAtThe64thPollLeavesNothingBehind) {
  ScratchDir dir;
  const std::string in = dir / "in.png", out = dir / "out.png";
  Convert("-size 3x100 gradient: -depth 8 " + Quote(in), dir);
  WriteFile(out, "untouched");
  // The host is asked on every 32nd poll: its second answer is the 64th poll.
  const RunResult r = RunGyrelle({"--abort-after", "1", "--memory-report", in, out}, dir);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("cancelled"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("0 outstanding"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("rectangles at the end: empty"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("warning"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(out), "untouched");
}

}  // namespace
}  // namespace gyhost_e2e
