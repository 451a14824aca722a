// gyrelle's own behaviour around the plug-in: errors and exit codes, the
// output file left alone on failure, fault injection, the descriptor record
// and replay, and several invocations in one process.
#include <gtest/gtest.h>

#include "e2e_run.h"

namespace gyhost_e2e {
namespace {

constexpr const char* kMakeInput =
    "-size 7x5 xc: -channel R -fx 'i/w' -channel G -fx 'j/h' +channel -depth 8 -define png:color-type=2 ";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class HostRun : public ::testing::Test {
 protected:
  void SetUp() override {
    in_ = dir_ / "in.png";
    Convert(std::string(kMakeInput) + Quote(in_), dir_);
  }
  // The negated input, as the reference every successful run is held to.
  std::vector<uint32_t> Negated() {
    std::vector<uint32_t> v = Samples(in_, "rgb", 8, dir_);
    for (uint32_t& s : v) s = 255 - s;
    return v;
  }
  ScratchDir dir_;
  std::string in_;
};

TEST_F(HostRun, InputsThatAreNotImagesAreReported) {
  const std::string text = dir_ / "notes.png";
  WriteFile(text, "these are not pixels\n");
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{text, dir_ / "o.png"}, 3, "not a PNG, JPEG, TIFF or OpenEXR image"},
      {{dir_ / "missing.png", dir_ / "o.png"}, 3, "No such file or directory"},
      {{in_, dir_ / "o.bmp"}, 2, "cannot tell the output format"},
      {{in_}, 2, "an input and an output file are needed"},
      {{"--plugin", dir_ / "nothing.so", in_, dir_ / "o.png"}, 5, "cannot load the plug-in"},
      {{"--plugin", text, in_, dir_ / "o.png"}, 5, "cannot load the plug-in"},
  };
  for (const Case& c : cases) {
    const RunResult r = RunGyrelle(c.args, dir_);
    EXPECT_EQ(r.status, c.status) << c.message << "\n" << r.err;
    EXPECT_TRUE(Contains(r.err, c.message)) << r.err;
    EXPECT_FALSE(Exists(dir_ / "o.png"));
  }
}

TEST_F(HostRun, AbortLeavesTheOutputAbsentOrUnchanged) {
  const std::string out = dir_ / "out.png";
  RunResult r = RunGyrelle({"--abort-after", "2", in_, out}, dir_);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "cancelled; ")) << r.err;
  EXPECT_FALSE(Exists(out));

  WriteFile(out, "an earlier result");
  r = RunGyrelle({"--abort-after", "0", in_, out}, dir_);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(ReadFile(out), "an earlier result");
  // No temporary file is left behind either.
  for (const std::string& name : dir_.Entries()) EXPECT_TRUE(name == "in.png" || name == "out.png") << name;

  // A run that succeeds replaces the earlier file.
  r = RunGyrelle({in_, out}, dir_);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Samples(out, "rgb", 8, dir_), Negated());
}

// A real Ctrl-C: gyrelle's handler turns it into abortProc's answer.
TEST_F(HostRun, CtrlCCancelsThroughAbortProc) {
  const std::string out = dir_ / "out.png";
  WriteFile(out, "an earlier result");
  for (const char* extra : {"--threads=2", "--no-advance-state"}) {
    const RunResult r = RunGyrelle({extra, "--set", "Intr=2", in_, out}, dir_);
    EXPECT_EQ(r.status, 130) << extra << "\n" << r.err;
    EXPECT_TRUE(Contains(r.err, "cancelled; ")) << extra << "\n" << r.err;
    EXPECT_FALSE(Contains(r.err, "selector")) << extra << "\n" << r.err;
    EXPECT_EQ(ReadFile(out), "an earlier result") << extra;
  }
}

struct FaultCase {
  std::vector<std::string> args;
  int status;
  std::vector<const char*> stderrHas;
  const char* stdoutHas;
};

TEST_F(HostRun, FaultsReachThePlugIn) {
  const FaultCase cases[] = {
      {{"--multichannel"}, 1, {"the filter refused the image", "rectangles at the end: empty"}, nullptr},
      {{"--refuse-buffers"}, 0, {"0 allocated, 0 freed, 0 outstanding, 1 refused"}, nullptr},
      {{"--refuse-buffer-lock"}, 0, {"1 allocated, 1 freed, 0 outstanding, 0 refused, 1 never locked"}, nullptr},
      {{"--buffer-suite-version", "3"}, 0, {"0 allocated"}, nullptr},
      {{"--buffer-suite-count", "4"}, 0, {"0 allocated"}, nullptr},
      {{"--handle-suite-version", "2"}, 0, {"host handles: 0 created"}, nullptr},
      {{"--handle-suite-count", "7"}, 0, {"host handles: 0 created"}, nullptr},
      {{},
       0,
       {"1 allocated, 1 freed, 0 outstanding", "host handles: 1 created, 0 disposed", "at the end: empty"},
       nullptr},
      // The data handle takes the one system allocation allowed; the scratch row finds none.
      {{"--refuse-buffers", "--system-alloc-budget", "1"}, 1, {"out of memory; "}, nullptr},
      {{"--system-alloc-budget", "0"}, 1, {"out of memory; "}, nullptr},
      {{"--no-advance-state", "--no-display-pixels"}, 0, {"0 outstanding"}, nullptr},
      {{"--host-sig", "8BIM", "--threads", "1"}, 0, {}, nullptr},
      {{"--invocations", "3"}, 0, {"3 allocated, 3 freed, 0 outstanding"}, nullptr},
      {{"--selector", "6"}, 1, {}, "selector 6 (unknown): result -30100 bad selector; data word set"},
      {{"--selector", "0"},
       0,
       {},
       "selector 0 (about): no result written; data word unchanged; parameters handle unchanged"},
  };
  for (const FaultCase& c : cases) {
    const std::string out = dir_ / "out.png";
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--memory-report", in_, out});
    const RunResult r = RunGyrelle(args, dir_);
    const std::string label = c.args.empty() ? "(no fault)" : c.args[0];
    EXPECT_EQ(r.status, c.status) << label << "\n" << r.err;
    for (const char* part : c.stderrHas) EXPECT_TRUE(Contains(r.err, part)) << label << "\n" << r.err;
    if (c.stdoutHas) {
      EXPECT_TRUE(Contains(r.out, c.stdoutHas)) << label << "\n" << r.out;
    }
    EXPECT_FALSE(Contains(r.err, "warning")) << label << "\n" << r.err;
    if (c.status == 0 && !c.stdoutHas) {
      EXPECT_EQ(Samples(out, "rgb", 8, dir_), Negated()) << label;
    } else {
      EXPECT_FALSE(Exists(out)) << label;
    }
    std::remove(out.c_str());
  }
}

TEST_F(HostRun, DescriptorIsRecordedAndReplayed) {
  const std::string out = dir_ / "out.png";
  const std::string record = dir_ / "settings.txt";
  RunResult r = RunGyrelle({"--record", record, in_, out}, dir_);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(record),
            "gyrelle-descriptor 1\n"
            "Vers integer 1\n"
            "Pass boolean false\n"
            "Rows integer 5\n"
            "Gain float 1\n"
            "Mode enum NGty NG01\n");

  // Replaying the record negates as before; 'Pass' given by --set on top copies.
  struct Case {
    std::vector<std::string> args;
    bool negated;
  };
  const Case cases[] = {
      {{"--descriptor", record}, true},
      {{"--set", "Pass=1"}, false},  // an integer read with the boolean getter
      {{"--set", "Pass=true"}, false},
      {{"--set", "Pass=0.0"}, true},
      {{"--descriptor", record, "--set", "Pass=true"}, false},
      {{"--set", "Pass=Fo45"}, true},  // no boolean in an enumeration: the plug-in keeps its default
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {in_, out});
    r = RunGyrelle(args, dir_);
    ASSERT_EQ(r.status, 0) << c.args[1] << "\n" << r.err;
    EXPECT_EQ(Samples(out, "rgb", 8, dir_), c.negated ? Negated() : Samples(in_, "rgb", 8, dir_)) << c.args[1];
  }

  WriteFile(record, "Pass boolean true\n");
  r = RunGyrelle({"--descriptor", record, in_, out}, dir_);
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "line 1: expected \"gyrelle-descriptor 1\"")) << r.err;
}

}  // namespace
}  // namespace gyhost_e2e
