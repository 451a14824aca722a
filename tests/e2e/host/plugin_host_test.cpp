// The real plug-in driven by gyrelle: the promises a host relies on, from
// selector handling to cleaning up after refusals, aborts and repeated runs.
#include <gtest/gtest.h>

#include "e2e_run.h"

namespace gyhost_e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class RealPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    // Tall enough that the abort poll, which asks the host on every 32nd
    // row only, reaches it twice.
    in_ = dir_ / "in.png";
    Convert("-size 24x80 xc: -channel R -fx 'i/w' -channel G -fx 'j/h' +channel -depth 8 " + Quote(in_), dir_);
  }
  RunResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--plugin", GYRELLE_PLUGIN, "--memory-report"});
    return RunGyrelle(args, dir_);
  }
  ScratchDir dir_;
  std::string in_;
};

TEST_F(RealPlugin, SelectorsOutsideAnInvocation) {
  RunResult r = Run({"--selector", "0", in_, dir_ / "o.png"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "no result written; data word unchanged; parameters handle unchanged")) << r.out;
  EXPECT_TRUE(Contains(r.err, "0 allocated")) << r.err;

  r = Run({"--selector", "6", in_, dir_ / "o.png"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(Contains(r.out, "result -30100 bad selector; data word set")) << r.out;
}

struct FailureCase {
  std::vector<std::string> args;
  const char* message;
};

// Every failure leaves nothing allocated, asks for no more rectangles, and
// leaves the existing output file as it was.
TEST_F(RealPlugin, FailuresCleanUpAndLeaveTheOutputAlone) {
  const FailureCase cases[] = {
      {{"--multichannel"}, "the filter refused the image"},
      {{"--abort-after", "1"}, "cancelled; "},
      {{"--no-advance-state"}, "the filter refused the image"},
      {{"--refuse-buffers", "--system-alloc-budget", "0"}, "out of memory"},
  };
  const std::string out = dir_ / "out.png";
  for (const FailureCase& c : cases) {
    WriteFile(out, "earlier");
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {in_, out});
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, 1) << c.args[0] << "\n" << r.err;
    EXPECT_TRUE(Contains(r.err, c.message)) << c.args[0] << "\n" << r.err;
    EXPECT_TRUE(Contains(r.err, " 0 outstanding")) << c.args[0] << "\n" << r.err;
    EXPECT_TRUE(Contains(r.err, "rectangles at the end: empty")) << c.args[0] << "\n" << r.err;
    EXPECT_EQ(ReadFile(out), "earlier") << c.args[0];
  }
}

// However the host serves the plug-in, the result is the same bytes.
TEST_F(RealPlugin, SameResultWhateverTheHostOffers) {
  const std::vector<std::vector<std::string>> variants = {
      {},
      {"--threads", "1"},
      {"--no-display-pixels"},
      {"--refuse-buffers"},
      {"--buffer-suite-version", "3", "--handle-suite-count", "7"},
      {"--invocations", "3"},
      {"--host-sig", "8BIM"},
  };
  std::vector<uint32_t> first;
  for (const auto& v : variants) {
    const std::string label = v.empty() ? "(plain)" : v[0];
    std::vector<std::string> args = v;
    const std::string out = dir_ / "out.png";
    args.insert(args.end(), {in_, out});
    const RunResult r = Run(args);
    ASSERT_EQ(r.status, 0) << label << "\n" << r.err;
    EXPECT_TRUE(Contains(r.err, " 0 outstanding")) << label << "\n" << r.err;
    EXPECT_FALSE(Contains(r.err, "warning")) << label << "\n" << r.err;
    const std::vector<uint32_t> pixels = Samples(out, "rgb", 8, dir_);
    ASSERT_EQ(pixels.size(), 24u * 80u * 3u) << label;
    if (first.empty()) {
      first = pixels;
    } else {
      EXPECT_EQ(pixels, first) << label;
    }
  }
}

}  // namespace
}  // namespace gyhost_e2e
